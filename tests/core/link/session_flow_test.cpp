// SPDX-License-Identifier: GPL-3.0-or-later
// The read, write and radio-information conversations step by step against a
// radio played in the test: progress, retries, password rounds, what reaches
// which buffer.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "FakeRadio.h"
#include "ScriptedPrompter.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "link/RadioInfoSession.h"
#include "link/ReadSession.h"
#include "link/WriteSession.h"

namespace vb420 {
namespace {

using testing::FakeRadioLink;
using testing::ScriptedPrompter;
using Bytes = std::vector<uint8_t>;

struct Recorder {
  std::vector<int> progress;
  int pumps = 0;
  SessionCallbacks Callbacks() {
    SessionCallbacks cb;
    cb.pump = [this] { ++pumps; };
    cb.progress = [this](int done, int total) {
      EXPECT_EQ(total, 264);
      progress.push_back(done);
    };
    return cb;
  }
};

class ReadFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    InitNewImage(data, true);
    before = data.buffers.ImageBytes();
  }
  TransferResult Run() {
    ReadSession s(radio, data.buffers, prompter, rec.Callbacks());
    return s.Run();
  }
  FakeRadioLink radio;
  RadioData data;
  ScriptedPrompter prompter;
  Recorder rec;
  std::vector<uint8_t> before;
};

TEST_F(ReadFlow, FillsOnlyTheScratchCopyWithProgressOver264Steps) {
  radio.model = {'M', '2', '6', '0', '0', 0x06, 0xFF, 0x00};
  ASSERT_EQ(Run(), TransferResult::kOk);
  std::vector<int> want{0};
  for (int i = 1; i <= 264; ++i) want.push_back(i);
  want.push_back(264);
  EXPECT_EQ(rec.progress, want);
  EXPECT_GE(rec.pumps, 264);
  EXPECT_EQ(data.buffers.ImageBytes(), before);
  ByteArea scratch = data.buffers.ScratchImage();
  EXPECT_TRUE(scratch.equals(0x3000, radio.memory.data() + 0x3000, 0x100));
  // The model bytes are the identification answer, not what block 1 held.
  EXPECT_TRUE(scratch.equals(0x120, radio.model.data(), 8));
  ByteArea ext = data.buffers.ScratchExt();
  EXPECT_TRUE(ext.equals(0x000, radio.ext.data(), 0x640));
  for (size_t i = 0x640; i <= 0x646; ++i) EXPECT_EQ(ext.u8(i), 0xFF);
  EXPECT_TRUE(ext.equals(0x647, radio.ext.data() + 0x647, kExtSize - 0x647));
  EXPECT_TRUE(prompter.asked.empty());
  EXPECT_FALSE(radio.IsOpen());
}

TEST_F(ReadFlow, BlockFailureRetryStartsAgainFromBlockZero) {
  int misses = 3;  // all three attempts at block 100, once
  radio.silentBlockRead = [&](int b) { return b == 100 && misses-- > 0; };
  prompter.answers = {true};
  ASSERT_EQ(Run(), TransferResult::kOk);
  EXPECT_EQ(prompter.asked, (std::vector<int>{270}));
  EXPECT_EQ(radio.CountWrites({0x00, 0x00}), 2);  // block 0 asked for twice
  EXPECT_EQ(radio.CountWrites({0x00, 100}), 4);
  EXPECT_EQ(std::count(rec.progress.begin(), rec.progress.end(), 0), 2);
}

TEST_F(ReadFlow, CancelAfterAFailedPieceEndsProgramModeAndKeepsTheImage) {
  radio.silentAreaRead = [](int offset) { return offset == 0x800; };
  ASSERT_EQ(Run(), TransferResult::kFailed);
  EXPECT_EQ(prompter.asked, (std::vector<int>{270}));
  EXPECT_EQ(radio.writes.back(), (Bytes{'E'}));
  EXPECT_FALSE(radio.IsOpen());
  EXPECT_EQ(data.buffers.ImageBytes(), before);
}

TEST_F(ReadFlow, PasswordRoundCountsWrongAnswersAndShowsTheMessage) {
  radio.model[6] = 0xFE;  // read password set
  radio.memory[0x9A0] = 'H';
  radio.memory[0x9A1] = 'I';
  radio.memory[0x9A2] = 0xFF;
  std::string line1, line2;
  struct P : ScriptedPrompter {
    std::string* l1;
    std::string* l2;
    bool AskPassword(int label, const std::string& a, const std::string& b, std::string& d) override {
      *l1 = a;
      *l2 = b;
      return ScriptedPrompter::AskPassword(label, a, b, d);
    }
  } p;
  p.l1 = &line1;
  p.l2 = &line2;
  p.passwords = {"99", "1", "12"};
  ReadSession s(radio, data.buffers, p, rec.Callbacks());
  ASSERT_EQ(s.Run(), TransferResult::kOk);
  EXPECT_EQ(p.passwordLabels, (std::vector<int>{695, 695, 695}));
  EXPECT_EQ(p.asked, (std::vector<int>{276, 276}));
  EXPECT_EQ(line1, "HI");
  EXPECT_EQ(line2.size(), 32u);
  EXPECT_EQ(radio.CountWrites({0x04, '1', '2', 0, 0, 0, 0}), 1);
  // Block 9 first, then the password, then the main loop from block 0.
  EXPECT_EQ(radio.CountWrites({0x00, 0x09}), 2);
}

TEST_F(ReadFlow, ThreeWrongPasswordsEndTheRead) {
  radio.model[6] = 0xFE;
  prompter.passwords = {"1", "2", "3", "12"};
  ASSERT_EQ(Run(), TransferResult::kFailed);
  EXPECT_EQ(prompter.passwordLabels.size(), 3u);
  EXPECT_EQ(prompter.asked, (std::vector<int>{276, 276, 276}));
  EXPECT_EQ(radio.CountWrites({0x00, 0x00}), 0);
  EXPECT_EQ(radio.writes.back(), (Bytes{'E'}));
}

TEST_F(ReadFlow, UnansweredPasswordRetrySendsTheSameDigits) {
  radio.model[6] = 0xFE;
  radio.silentPasswords = 1;
  prompter.passwords = {"12"};
  prompter.answers = {true};
  ASSERT_EQ(Run(), TransferResult::kOk);
  EXPECT_EQ(prompter.asked, (std::vector<int>{270}));
  EXPECT_EQ(radio.CountWrites({0x04, '1', '2', 0, 0, 0, 0}), 2);
  EXPECT_EQ(prompter.passwordLabels.size(), 1u);
}

TEST_F(ReadFlow, RadioThatDoesNotLeaveProgramModeGivesResultTwo) {
  radio.endAnswers = false;
  EXPECT_EQ(Run(), TransferResult::kEndFailed);
  EXPECT_EQ(radio.CountWrites({'E'}), 2);  // at 19200, then at 9600
}

// ---- write ---------------------------------------------------------------------

class WriteFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    InitNewImage(data, true);
    radio.model = data.model.Bytes();
    ByteArea image = data.Image();
    for (size_t i = 0x2000; i < 0x2100; ++i) image.setU8(i, static_cast<uint8_t>(i));
    image.fill(0x100, 0x20, 0x00);  // the identification block is rewritten by the write
  }
  TransferResult Run(bool adjustTime = true) {
    WriteSession s(radio, data, prompter, rec.Callbacks());
    s.SetAdjustTime(adjustTime);
    return s.Run();
  }
  FakeRadioLink radio;
  RadioData data;
  ScriptedPrompter prompter;
  Recorder rec;
};

TEST_F(WriteFlow, WritesTheIdentificationBlockThenEveryBlockAndPiece) {
  ASSERT_EQ(Run(), TransferResult::kOk);
  const Bytes ident{'V', 'B', '4', '2', '0', 0, 0, 'V', '1', '.', '2', '0'};
  EXPECT_TRUE(data.Image().equals(0x100, ident.data(), ident.size()));
  EXPECT_TRUE(data.Image().equals(0x110, "VB-420 V1.20", 12));
  EXPECT_TRUE(std::equal(radio.memory.begin(), radio.memory.end(), data.buffers.ImageBytes().begin()));
  // The piece requests in order.
  std::vector<int> offsets;
  for (const auto& w : radio.writes)
    if (w.size() == 4 && w[0] == 'X') offsets.push_back(((w[1] << 8) | w[2]) * 1000 + w[3]);
  std::vector<int> want;
  for (int o = 0x100; o < 0x1200; o += 0x40) {
    if (o == 0x600) continue;
    want.push_back(o == 0x640 ? 0x650 * 1000 + 48 : o * 1000 + 64);
  }
  EXPECT_EQ(offsets, want);
  EXPECT_EQ(radio.CountFirst(0x5F, 7), 1);
  EXPECT_EQ(rec.progress.front(), 0);
  EXPECT_EQ(rec.progress.back(), 264);
  EXPECT_EQ(rec.progress.size(), 1u + 264 + 1);
  EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(WriteFlow, DeclinedPasswordWarningOpensNothing) {
  data.model.SetReadPasswordBit(true);
  EXPECT_EQ(Run(), TransferResult::kFailed);
  EXPECT_EQ(prompter.asked, (std::vector<int>{223}));
  EXPECT_TRUE(radio.writes.empty());
  EXPECT_FALSE(radio.IsOpen());
}

TEST_F(WriteFlow, OverwritePasswordRoundBeforeTheBlocks) {
  radio.model[6] = 0xFD;  // the radio holds an overwrite password
  prompter.answers = {true};  // 274: the model bytes differ in byte 6
  prompter.passwords = {"34"};
  ASSERT_EQ(Run(), TransferResult::kOk);
  EXPECT_EQ(prompter.asked, (std::vector<int>{274}));
  EXPECT_EQ(prompter.passwordLabels, (std::vector<int>{696}));
  EXPECT_EQ(radio.CountWrites({0x03, '3', '4', 0, 0, 0, 0}), 1);
}

TEST_F(WriteFlow, SecondGenerationAndAdjustTimeOffSendNoDateStamp) {
  ASSERT_EQ(Run(false), TransferResult::kOk);
  EXPECT_EQ(radio.CountFirst(0x5F, 7), 0);
  radio.writes.clear();
  data.model.SetModel(ModelNumberOfName("VT-1602"));
  radio.model = data.model.Bytes();
  ASSERT_EQ(Run(true), TransferResult::kOk);
  EXPECT_EQ(radio.CountFirst(0x5F, 7), 0);
}

TEST_F(WriteFlow, FailedPieceRetryWritesEveryBlockAgain) {
  int misses = 1;
  radio.silentAreaWrite = [&](int o) { return o == 0x1000 && misses-- > 0; };
  prompter.answers = {true};
  ASSERT_EQ(Run(), TransferResult::kOk);
  EXPECT_EQ(prompter.asked, (std::vector<int>{270}));
  EXPECT_EQ(radio.CountWrites({0x00, 0xBF}), 2);  // the last block went twice
  EXPECT_EQ(radio.CountWrites({'X', 0x01, 0x00, 0x40}), 2);
}

// ---- radio information -------------------------------------------------------------------

TEST(RadioInfoFlow, RetriesRestartWhereTheirStepSays) {
  FakeRadioLink radio;
  ScriptedPrompter prompter;
  radio.failedInfoQueries = 1;  // Retry starts again with the identification
  radio.silentChecksums = 1;    // Retry repeats only the checksum
  radio.passportAnswers = false;
  prompter.answers = {true, true};
  RadioInfoSession s(radio, prompter);
  ASSERT_EQ(s.Run(), TransferResult::kOk);
  EXPECT_EQ(prompter.asked, (std::vector<int>{270, 270}));
  EXPECT_EQ(radio.CountWrites({cmd::kIdentify}), 2);
  EXPECT_EQ(radio.CountWrites({'U', 'R', 'K'}), 2);
  EXPECT_EQ(radio.CountWrites({cmd::kFirmwareChecksum}), 2);
  EXPECT_EQ(s.Info().checksum, 0x12AB);
  EXPECT_FALSE(s.Info().hasPassport);
  const RadioInfoLines l = FormatRadioInfo(s.Info());
  EXPECT_EQ(l.modelType, "  VT-1600:K");
  EXPECT_EQ(l.passport, "  ");
  EXPECT_EQ(l.version, "  V3.05 ");
  EXPECT_FALSE(radio.IsOpen());
}

TEST(RadioInfoFlow, UnknownModelAsks271AndCancelEnds) {
  FakeRadioLink radio;
  ScriptedPrompter prompter;
  radio.model = {'X', 'X', '9', '9', '9', 0x04, 0xFF, 0xFF};
  RadioInfoSession s(radio, prompter);
  EXPECT_EQ(s.Run(), TransferResult::kFailed);
  EXPECT_EQ(prompter.asked, (std::vector<int>{271}));
  EXPECT_EQ(radio.CountWrites({'U', 'R', 'K'}), 0);
  EXPECT_EQ(radio.writes.back(), (Bytes{'E'}));
}

// ---- the line while a conversation holds it -------------------------------------------

TEST_F(ReadFlow, LineIsExclusiveForTheWholeTransferAndGivenBackAfter) {
  EXPECT_FALSE(radio.LineExclusive());
  ASSERT_EQ(Run(), TransferResult::kOk);
  EXPECT_GT(radio.writes.size(), 264u);
  EXPECT_TRUE(radio.exclusiveAtEveryWrite);
  EXPECT_FALSE(radio.IsOpen());
  EXPECT_FALSE(radio.LineExclusive());
}

TEST_F(ReadFlow, PortHeldByAnotherProgramIsReportedAsBusyNamingTheDevice) {
  const std::string device = radio.DeviceName();
  const int other = ::open(device.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(Run(), TransferResult::kFailed);
  ::close(other);
  EXPECT_EQ(prompter.asked, (std::vector<int>{285}));
  EXPECT_EQ(prompter.busyDevices, (std::vector<std::string>{device}));
  EXPECT_TRUE(radio.writes.empty());
  EXPECT_FALSE(radio.IsOpen());
  EXPECT_FALSE(radio.LineExclusive());
}

TEST_F(WriteFlow, GivenUpMidwayTheRadioIsSaidToHoldAPartlyWrittenProgramming) {
  radio.silentBlockWrite = [](int block) { return block == 40; };
  prompter.answers = {true};  // one Retry, then Cancel
  EXPECT_EQ(Run(), TransferResult::kFailed);
  // The failure is asked about on each try; the partial write is told once,
  // after the last Cancel, with the port already closed.
  EXPECT_EQ(prompter.asked, (std::vector<int>{270, 270, 289}));
  EXPECT_FALSE(radio.IsOpen());
  EXPECT_EQ(radio.writes.back(), (Bytes{'E'}));
}

TEST_F(WriteFlow, NoPartialWriteNoticeBeforeTheFirstBlockOrAfterTheLast) {
  // Refused at the identification: nothing of the radio's memory changed.
  radio.model = {'P', '1', '4', '0', '0', 0x04, 0xFF, 0xFF};
  EXPECT_EQ(Run(), TransferResult::kFailed);
  EXPECT_EQ(prompter.asked, (std::vector<int>{271}));
  // Every block and piece written, then the date stamp cancelled: the
  // programming in the radio is whole.
  radio.model = data.model.Bytes();
  prompter.asked.clear();
  radio.writes.clear();
  WriteSession s(radio, data, prompter, rec.Callbacks());
  radio.silentDateStamps = 1;
  EXPECT_EQ(s.Run(), TransferResult::kFailed);
  EXPECT_EQ(prompter.asked, (std::vector<int>{270}));
  EXPECT_FALSE(s.PartlyWritten());
  EXPECT_EQ(radio.CountWrites({0x00, 0xBF}), 1);
}

TEST(Sessions, PortThatOpensButCannotBeSetUpIsNotKeptOpen) {
  // A device that is no serial line opens, but its line settings fail: the
  // conversation says so and lets go of it, rather than holding it (locked)
  // until the next radio command.
  FakeRadioLink radio;
  radio.SetDevicePath("/dev/null");
  ScriptedPrompter prompter;
  RadioInfoSession s(radio, prompter);
  EXPECT_EQ(s.Run(), TransferResult::kFailed);
  EXPECT_EQ(prompter.asked, (std::vector<int>{269}));
  EXPECT_FALSE(radio.IsOpen());
  EXPECT_TRUE(radio.writes.empty());
}

TEST(Sessions, PortThatCannotBeOpenedShows269) {
  FakeRadioLink radio;
  radio.SetDevicePath("/nonexistent/tty");
  ScriptedPrompter prompter;
  RadioData data;
  ReadSession s(radio, data.buffers, prompter);
  EXPECT_EQ(s.Run(), TransferResult::kFailed);
  EXPECT_EQ(prompter.asked, (std::vector<int>{269}));
  EXPECT_TRUE(radio.writes.empty());
}

}  // namespace
}  // namespace vb420
