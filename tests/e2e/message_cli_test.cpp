// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli write-message against the simulated radio: the two lines reach the
// radio's extension area and nothing else of its memory changes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/CliRun.h"
#include "support/SimProcess.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/messages/MessageFields.h"

namespace vb420 {
namespace {

using test::CliRun;
using test::RunCli;
using testing::Contains;
using testing::ReadTrace;
using testing::SimProcess;
using testing::TraceBytes;
using Bytes = std::vector<uint8_t>;

using testsupport::FileBytes;

class MessageCli : public ::testing::Test {
 protected:
  void SetUp() override {
    // The radio's programming, and a file that differs from it everywhere
    // but holds the message to write.
    RadioData radio;
    InitNewImage(radio, true);
    for (size_t i = 0x100; i < kExtSize; ++i) radio.Ext().setU8(i, static_cast<uint8_t>(i * 7 + 1));
    ASSERT_EQ(SaveDatFile(radioFile, radio).result, kFileOk);
    RadioData mine;
    InitNewImage(mine, true);
    mine.Image().fill(0x3000, 0x100, 0x42);
    mine.Ext().fill(0x100, kExtSize - 0x100, 0x24);
    StoreMessageLine(mine.Ext(), 0x600, "CALL THE BENCH");
    StoreMessageLine(mine.Ext(), 0x620, "EXT 4711");
    StoreMessagePassword(mine.Ext(), "99");
    ASSERT_EQ(SaveDatFile(myFile, mine).result, kFileOk);
  }
  void Start(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--image", radioFile, "--save", savedFile, "--trace", trace};
    args.insert(args.end(), extra.begin(), extra.end());
    sim = std::make_unique<SimProcess>(args);
    ASSERT_TRUE(sim->Started());
  }
  CliRun Write(const std::string& options = "") {
    return RunCli("write-message " + myFile + " --port " + sim->Device() + " " + options);
  }
  // The radio's memory after the conversation, against what it held before:
  // `changed` says whether the message lines were written.
  void ExpectRadio(bool changed) {
    sim->Stop();
    const Bytes before = FileBytes(radioFile), after = FileBytes(savedFile);
    ASSERT_EQ(after.size(), before.size());
    const size_t lines = kHeaderSize + kImageSize + 0x600 - 0x100;
    for (size_t i = 0; i < after.size(); ++i) {
      if (changed && i >= lines && i < lines + 64) continue;
      ASSERT_EQ(after[i], before[i]) << "file offset " << i;
    }
    if (!changed) return;
    const Bytes mine = FileBytes(myFile);
    EXPECT_TRUE(std::equal(after.begin() + lines, after.begin() + lines + 64, mine.begin() + lines));
  }

  std::string radioFile = testing::TempPath("msg-radio.dat");
  std::string myFile = testing::TempPath("msg-mine.dat");
  std::string savedFile = testing::TempPath("msg-saved.dat");
  std::string trace = testing::TempPath("msg-trace");
  std::unique_ptr<SimProcess> sim;
};

TEST_F(MessageCli, RadioWithoutPasswordTakesTheLinesAndNothingElse) {
  Start({"--overwrite-password", "555"});  // the technician password opens the message all the same
  const CliRun r = Write();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("embedded message has been written"), std::string::npos) << r.err;
  const Bytes in = TraceBytes(ReadTrace(trace), false);
  EXPECT_TRUE(Contains(in, {0x2D, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  Bytes request = {'X', 0x06, 0x00, 0x40, 'C', 'A', 'L', 'L'};
  EXPECT_TRUE(Contains(in, request));
  EXPECT_EQ(testing::Tail(in), Bytes{'E'});
  ExpectRadio(true);
}

TEST_F(MessageCli, RadioPasswordIsAskedWhenTheEmptyOneIsRefused) {
  Start({"--tech-password", "1234"});
  const CliRun none = Write();
  EXPECT_EQ(none.exitCode, 3);
  const CliRun wrong = Write("--password 9999");
  EXPECT_EQ(wrong.exitCode, 1);
  EXPECT_NE(wrong.err.find("password is incorrect"), std::string::npos) << wrong.err;
  const CliRun right = Write("--password 1234");
  ASSERT_EQ(right.exitCode, 0) << right.err;
  const Bytes in = TraceBytes(ReadTrace(trace), false);
  EXPECT_TRUE(Contains(in, {0x2D, '1', '2', '3', '4', 0x00, 0x00}));
  ExpectRadio(true);
}

TEST_F(MessageCli, RefusedOrSilentRadioKeepsItsMemory) {
  Start({"--tech-password", "1234"});
  EXPECT_EQ(Write().exitCode, 3);
  ExpectRadio(false);
  // A radio that does not answer the call at all.
  Start({"--fault", "noack@entry=10"});
  EXPECT_EQ(Write("--retries 0").exitCode, 5);
  ExpectRadio(false);
  EXPECT_EQ(RunCli("write-message --port /dev/null").exitCode, 2);
}

}  // namespace
}  // namespace vb420
