// SPDX-License-Identifier: GPL-3.0-or-later
// A signal to vb420cli while it talks to a radio: the radio is left safe
// (transmitter unkeyed, test or program mode ended, port closed) and the tool
// ends as the signal would have ended it (128 + the signal). The radio's
// trace shows what reached it after the signal.
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/CliRun.h"
#include "support/SimProcess.h"

namespace vb420 {
namespace {

using test::CliProcess;
using testing::SimProcess;
using testing::TraceByte;
using Bytes = std::vector<uint8_t>;

// The program's bytes, in order.
Bytes Sent(const std::vector<TraceByte>& t) { return testing::TraceBytes(t, false); }

// True once the program has sent `what`.
auto HasSent(Bytes what) {
  return [what](const std::vector<TraceByte>& t) { return testing::Contains(Sent(t), what); };
}

bool HasNote(const std::string& trace, const std::string& note) {
  const auto notes = testing::TraceNotes(trace);
  return std::find(notes.begin(), notes.end(), note) != notes.end();
}

class SignalStop : public test::NewFileTest {
 protected:
  void StartSim(std::vector<std::string> args) {
    args.insert(args.end(), {"--trace", trace_});
    sim_ = std::make_unique<SimProcess>(args);
    ASSERT_TRUE(sim_->Started());
  }
  // Runs vb420cli against the radio and sends `sig` once `when` holds.
  int RunAndSignal(std::vector<std::string> args, int sig,
                   const std::function<bool(const std::vector<TraceByte>&)>& when) {
    args.insert(args.end(), {"--port", sim_->Device()});
    CliProcess cli(args);
    EXPECT_TRUE(testing::WaitForTrace(trace_, when, 30000)) << "the point to signal at never came";
    cli.Signal(sig);
    const int code = cli.Wait(20000);
    err_ = cli.Err();
    EXPECT_TRUE(testing::WaitForHangUp(trace_)) << "the port was left open";
    return code;
  }

  std::string trace_ = Path("trace.txt");
  std::string err_;
  std::unique_ptr<SimProcess> sim_;
};

TEST_F(SignalStop, InterruptedReadEndsProgramModeAndKeepsNoFile) {
  // Paced at the line's speed, the read lasts long enough to be caught
  // halfway.
  StartSim({"--line-rate"});
  const std::string out = Path("read.dat");
  const int code = RunAndSignal({"read", "-o", out}, SIGINT, HasSent({'R', 0x00, 0x10}));
  EXPECT_EQ(code, 128 + SIGINT) << err_;
  const Bytes sent = Sent(testing::ReadTrace(trace_));
  EXPECT_EQ(testing::Tail(sent), Bytes{'E'});
  // It stopped between blocks: nothing after block 0x20 was asked for.
  EXPECT_FALSE(testing::Contains(sent, {'R', 0x00, 0x20}));
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(SignalStop, TerminatedWriteEndsProgramModeAndSaysTheRadioIsPartlyWritten) {
  StartSim({"--line-rate"});
  // Block 0x10 goes as a full block ('W') or as one repeated byte ('Z').
  const int code = RunAndSignal({"write", file_, "--yes", "--no-verify"}, SIGTERM,
                                [](const std::vector<TraceByte>& t) {
                                  return testing::Contains(Sent(t), {'W', 0x00, 0x10}) ||
                                         testing::Contains(Sent(t), {'Z', 0x00, 0x10});
                                });
  EXPECT_EQ(code, 128 + SIGTERM) << err_;
  const Bytes sent = Sent(testing::ReadTrace(trace_));
  EXPECT_EQ(testing::Tail(sent), Bytes{'E'});
  EXPECT_FALSE(testing::Contains(sent, {'W', 0x00, 0x30}));
  EXPECT_FALSE(testing::Contains(sent, {'Z', 0x00, 0x30}));
  EXPECT_NE(err_.find("partly"), std::string::npos) << err_;
}

TEST_F(SignalStop, HangUpWhileTransmittingUnkeysAndEndsTestMode) {
  // Each answer comes late, so the tool is still in test mode, keyed, when
  // the signal comes.
  StartSim({"--model", "VT-1400", "--latency", "60"});
  const int code = RunAndSignal({"test-mode", "--tx", "on", "--checksum"}, SIGHUP,
                                [this](const std::vector<TraceByte>&) { return HasNote(trace_, "transmit on"); });
  EXPECT_EQ(code, 128 + SIGHUP) << err_;
  const auto notes = testing::TraceNotes(trace_);
  EXPECT_EQ(testing::Tail(notes, 2), (std::vector<std::string>{"transmit off", "end"}));
}

TEST_F(SignalStop, InterruptAtEntryEndsWithoutAConversation) {
  // The radio never confirms the call: the tool is hunting for its rate when
  // the signal comes, and asks no Retry after it.
  StartSim({"--fault", "noack@entry=50"});
  const int code = RunAndSignal({"read", "-o", Path("r.dat"), "--retries", "5"}, SIGINT, HasSent({'V', 'B'}));
  EXPECT_EQ(code, 128 + SIGINT) << err_;
  EXPECT_EQ(err_.find("retrying"), std::string::npos) << err_;
}

TEST_F(SignalStop, TestModeTheRadioNeverEndsSaysItMayStillTransmit) {
  // A radio that goes silent in test mode never confirms the end.
  StartSim({"--model", "VT-1400", "--fault", "silence@test=0x45"});
  test::CliRun r = test::RunCli("test-mode --port " + sim_->Device() + " --tx on --checksum --retries 0");
  EXPECT_EQ(r.exitCode, 5) << r.err;
  EXPECT_NE(r.err.find("transmitting"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Switch the radio off"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace vb420
