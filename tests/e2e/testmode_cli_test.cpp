// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli test-mode against the simulated radio: the start sequence on the
// line, the commands the options ask for, and test mode left in every case.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/CliRun.h"
#include "support/SimProcess.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"

namespace vb420 {
namespace {

using test::CliRun;
using test::RunCli;
using testing::Contains;
using testing::CountOf;
using testing::ReadTrace;
using testing::SimProcess;
using testing::TraceBytes;
using Bytes = std::vector<uint8_t>;

bool Has(const std::vector<std::string>& notes, const std::string& what) {
  for (const auto& n : notes)
    if (n == what) return true;
  return false;
}

class TestModeCli : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--trace", trace};
    args.insert(args.end(), extra.begin(), extra.end());
    sim = std::make_unique<SimProcess>(args);
    ASSERT_TRUE(sim->Started());
  }
  CliRun Run(const std::string& options) { return RunCli("test-mode --port " + sim->Device() + " " + options); }
  std::vector<std::string> NotesNow() {
    EXPECT_TRUE(testing::WaitForHangUp(trace));
    sim->Stop();
    return testing::TraceNotes(trace);
  }

  std::string trace = testing::TempPath("testmode-trace");
  std::unique_ptr<SimProcess> sim;
};

TEST_F(TestModeCli, ChannelSignallingTransmitAndChecksum) {
  Start({"--model", "VT-1400", "--firmware-checksum", "0xBEEF"});
  const CliRun r = Run("--channel 3 --signalling 17 --tx on --checksum");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("VT-1400"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Test Channel 3: RX Frequency "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Signalling: 17"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("TX: on"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Check Sum: BEEF"), std::string::npos) << r.out;
  const std::vector<std::string> notes = NotesNow();
  // The whole start sequence, then the options' commands, then the end.
  std::vector<std::string> want = {"tuning-call", "identify", "version"};
  for (int ch = 1; ch <= 16; ++ch) want.push_back("test-channel " + std::to_string(ch));
  want.insert(want.end(), {"tuning-block", "test-channel 1", "signalling 1", "test-channel 3", "signalling 17",
                           "transmit on", "checksum", "transmit off", "end"});
  // A portable: no prefix setting. A keyed radio is unkeyed before the end.
  EXPECT_EQ(notes, want);
  const Bytes in = TraceBytes(ReadTrace(trace), false);
  EXPECT_TRUE(Contains(in, {0x10, 0x03}));
  EXPECT_TRUE(Contains(in, {0x11, 0x11}));
  EXPECT_TRUE(Contains(in, {0x08, 0x0D}));
  EXPECT_EQ(testing::Tail(in), Bytes{'E'});
}

TEST_F(TestModeCli, MobileGetsItsPrefixSettingAndAFileIsCheckedToo) {
  RadioData data;
  data.model.SetModel(ModelNumberOfName("VT-2600"));
  data.model.SetBandCode(0x06);
  data.SyncCodecs();
  InitNewImage(data, false);
  const std::string file = testing::TempPath("bench.dat");
  ASSERT_EQ(SaveDatFile(file, data).result, kFileOk);
  Start({"--image", file});
  const CliRun r = Run(file + " --tx off");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> notes = NotesNow();
  EXPECT_TRUE(Has(notes, "prefix set 0x08"));
  EXPECT_TRUE(Has(notes, "transmit off"));
  EXPECT_EQ(testing::Tail(notes), std::vector<std::string>{"end"});

  // The same file against a radio of another model: 273, and out of test mode.
  Start({"--model", "VT-1600"});
  const CliRun other = Run(file);
  EXPECT_EQ(other.exitCode, 6);
  EXPECT_NE(other.err.find("differs from the model"), std::string::npos) << other.err;
  const std::vector<std::string> n2 = NotesNow();
  EXPECT_EQ(n2, (std::vector<std::string>{"tuning-call", "identify", "end"}));
}

TEST_F(TestModeCli, TestChannelMismatchEndsWith272AndLeavesTestMode) {
  Start({"--fault", "differ@testchannel=3"});
  const CliRun r = Run("--tx on");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("test channel data in the radio differ"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  const std::vector<std::string> notes = NotesNow();
  EXPECT_EQ(testing::Tail(notes, 2), (std::vector<std::string>{"test-channel 3", "end"}));
  EXPECT_FALSE(Has(notes, "transmit on"));
}

TEST_F(TestModeCli, TuningMismatchEndsWith324) {
  Start({"--fault", "differ@tuning"});
  const CliRun r = Run("");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("tuning frequencies in the radio differ"), std::string::npos) << r.err;
  const std::vector<std::string> notes = NotesNow();
  EXPECT_EQ(testing::Tail(notes, 2), (std::vector<std::string>{"tuning-block", "end"}));
}

TEST_F(TestModeCli, UnansweredCommandIsRetriedOrGivenUpWithTheEnd) {
  Start({"--fault", "noanswer@test=0x08"});
  const CliRun r = Run("--tx on --retries 1");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("Communication error"), std::string::npos);
  std::vector<std::string> notes = NotesNow();
  EXPECT_TRUE(Has(notes, "no answer to 0x08"));
  EXPECT_TRUE(Has(notes, "transmit on"));
  EXPECT_EQ(testing::Tail(notes), std::vector<std::string>{"end"});

  // Every try unanswered: given up, and still out of test mode.
  Start({"--fault", "silence@test=0x08"});
  const CliRun gone = Run("--tx on --retries 1");
  EXPECT_EQ(gone.exitCode, 5);
  notes = NotesNow();
  EXPECT_FALSE(Has(notes, "transmit on"));
  EXPECT_EQ(testing::Tail(notes), std::vector<std::string>{"end"});
}

TEST_F(TestModeCli, BadOptionsAreRefusedBeforeTheRadioIsCalled) {
  Start();
  EXPECT_EQ(Run("--channel 17").exitCode, 2);
  EXPECT_EQ(Run("--channel x").exitCode, 2);
  EXPECT_EQ(Run("--tx maybe").exitCode, 2);
  EXPECT_EQ(RunCli("test-mode").exitCode, 2);
  EXPECT_TRUE(NotesNow().empty());
  // A port that does not exist.
  EXPECT_EQ(RunCli("test-mode --port /nonexistent/tty").exitCode, 4);
}

}  // namespace
}  // namespace vb420
