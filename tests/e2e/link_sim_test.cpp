// SPDX-License-Identifier: GPL-3.0-or-later
// RadioLink against the real vb420sim over a pseudo-terminal.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "../core/link/ScriptedPrompter.h"
#include "support/SimProcess.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "link/RadioLink.h"

namespace vb420 {
namespace {

using testing::ScriptedPrompter;
using testing::SimProcess;
using testing::TempPath;
using testing::ReadTrace;
using testing::TraceBytes;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr uint8_t ACK = 0x06, NAK = 0x15, SYN = 0x16;

double SecondsSince(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// A data file whose blocks are of three kinds: all one byte, a pattern, and
// (block 1) the new-image identification with the model bytes.
std::string MakeImageFile(const char* model, const char* band) {
  RadioData data;
  data.model.SetModel(ModelNumberOfName(model));
  data.model.SetBandCode(static_cast<uint8_t>(BandCodeOfText(band)));
  InitNewImage(data, false);
  ByteArea image = data.Image();
  for (int i = 0; i < 256; ++i) image.setU8(0x3000 + i, static_cast<uint8_t>(i ^ 0x5A));
  image.fill(0x3100, 256, 0x00);
  image.fill(0x3200, 255, 0x11);
  image.setU8(0x32FF, 0x12);
  ByteArea ext = data.Ext();
  for (int i = 0x100; i < 0x1200; i += 7) ext.setU8(i, static_cast<uint8_t>(i >> 3));
  const std::string path = TempPath("image.dat");
  EXPECT_EQ(SaveDatFile(path, data).result, kFileOk);
  return path;
}

class SimTest : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> args) {
    trace = TempPath("trace.txt");
    args.insert(args.end(), {"--trace", trace});
    sim = std::make_unique<SimProcess>(args);
    ASSERT_TRUE(sim->Started());
    link.SetDevicePath(sim->Device());
    ASSERT_EQ(link.SetOpenState(1), 1);
  }
  void Enter() { ASSERT_EQ(link.EnterProgramMode(), LinkResult::kOk); }
  // The conversation as the radio logged it. The line is closed first and the
  // radio's note of the hang-up awaited: the last bytes each way are then in
  // the trace, however late the radio was scheduled to log them.
  std::vector<testing::TraceByte> Trace() {
    link.SetOpenState(0);
    EXPECT_TRUE(testing::WaitForHangUp(trace));
    return ReadTrace(trace);
  }
  void TearDown() override {
    link.SetOpenState(0);
    sim.reset();
    ::unlink(trace.c_str());
  }

  std::unique_ptr<SimProcess> sim;
  RadioLink link;
  std::string trace;
};

// ---------------------------------------------------------------------------

TEST_F(SimTest, BaudHuntFindsRadioAt4800AndTalksAt19200) {
  Start({"--model", "VT-2600", "--band", "450-520", "--baud", "4800"});
  Enter();
  ModelBytes mb{};
  ASSERT_EQ(link.Identify(mb), LinkResult::kOk);
  EXPECT_EQ(Bytes(mb.begin(), mb.end()), (Bytes{'M', '2', '6', '0', '0', 0x06, 0xFF, 0xFF}));
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);
  const auto t = Trace();
  EXPECT_EQ(testing::TraceSpeedsOf(t, "VB420PP"), (std::vector<long>{9600, 19200, 4800}));
  // SYN at the calling rate, ACK at the programming rate.
  std::vector<std::pair<uint8_t, long>> out;
  for (const auto& b : t)
    if (b.fromRadio) out.push_back({b.byte, b.baud});
  ASSERT_GE(out.size(), 2u);
  EXPECT_EQ(out[0], (std::pair<uint8_t, long>{SYN, 4800}));
  EXPECT_EQ(out[1], (std::pair<uint8_t, long>{ACK, 19200}));
}

TEST_F(SimTest, CallUnconfirmedTriesEveryRate) {
  Start({"--fault", "noack@entry=5"});
  link.SetReadTimeout(1000);
  EXPECT_EQ(link.EnterProgramMode(), LinkResult::kFailed);
  EXPECT_EQ(testing::TraceSpeedsOf(Trace(), "VB420PP"),
            (std::vector<long>{9600, 19200, 4800, 2400, 1200, 38400, 57600}));
  EXPECT_EQ(link.ReadTimeout(), 1000u);
}

TEST_F(SimTest, EarlyConfirmationIsSurvivedByCallingAgain) {
  // A radio listening at 4800 confirms at once at 19200: the program, still
  // at 4800, hears garbage and goes on with the slower rates, which the radio
  // (in program mode at 19200 by now) does not hear. The Retry calls again
  // from 9600, and at 19200 the radio answers.
  Start({"--baud", "4800", "--fault", "early-ack@entry"});
  ScriptedPrompter prompter;
  prompter.answers = {true};
  ASSERT_EQ(link.EnterProgramModeWithRetry(prompter, {}), LinkResult::kOk);
  EXPECT_EQ(prompter.asked, (std::vector<int>{270}));
  ModelBytes mb{};
  EXPECT_EQ(link.Identify(mb), LinkResult::kOk);
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);
  EXPECT_EQ(testing::TraceSpeedsOf(Trace(), "VB420PP"),
            (std::vector<long>{9600, 19200, 4800, 2400, 1200, 38400, 57600, 9600, 19200}));
}

TEST_F(SimTest, GarbledEndIsAcknowledgedOnlyAtTheCallingRate) {
  Start({"--fault", "garbled@end"});
  Enter();
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);
  std::vector<std::pair<uint8_t, long>> out;
  for (const auto& b : Trace())
    if (b.fromRadio) out.push_back({b.byte, b.baud});
  const auto last = testing::Tail(out, 2);
  ASSERT_EQ(last.size(), 2u);
  EXPECT_EQ(last[0].first, 0xF8);
  EXPECT_EQ(last[1], (std::pair<uint8_t, long>{ACK, 9600}));
  EXPECT_EQ(testing::TraceSpeedsOf(Trace(), "E"), (std::vector<long>{19200, 9600}));
}

TEST_F(SimTest, WholeImageReadMatchesTheRadiosFile) {
  const std::string file = MakeImageFile("VT-1600", "136-174");
  Start({"--image", file});
  RadioData expect;
  ASSERT_EQ(LoadDatFile(file, expect).result, kFileOk);
  expect.buffers.AcceptScratch();
  Enter();
  Bytes image(kImageSize), ext(kExtSize, 0xFF);
  for (int n = 0; n < kBlockCount; ++n) ASSERT_EQ(link.BlockRead(image.data() + n * kBlockSize, n), BlockReadResult::kOk) << n;
  for (int off = 0; off < static_cast<int>(kExtSize); off += kExtPieceSize)
    ASSERT_EQ(link.AreaRead(ext.data() + off, off, kExtPieceSize), LinkResult::kOk) << off;
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);
  EXPECT_EQ(image, expect.buffers.ImageBytes());
  EXPECT_TRUE(std::equal(ext.begin() + 0x100, ext.end(), expect.buffers.ExtBytes().begin() + 0x100));

  // Equal-byte blocks came as 'Z' and the byte; the pattern block in full.
  const Bytes out = TraceBytes(Trace(), true);
  EXPECT_TRUE(testing::Contains(out, {'Z', 0x00}));
  Bytes full = {'W'};
  full.insert(full.end(), image.begin() + 0x3000, image.begin() + 0x3100);
  full.push_back(Sum8(image.data() + 0x3000, 256));
  EXPECT_TRUE(testing::Contains(out, full));
  ::unlink(file.c_str());
}

TEST_F(SimTest, WrittenBlocksAndAreaComeBackAndAreSaved) {
  const std::string saved = TempPath("saved.dat");
  Start({"--save", saved});
  Enter();
  Bytes pattern(256);
  for (int i = 0; i < 256; ++i) pattern[i] = static_cast<uint8_t>(255 - i);
  Bytes same(256, 0xAB);
  Bytes lastDiffers(256, 0xFF);
  lastDiffers[255] = 0xFE;
  ASSERT_EQ(link.BlockWrite(pattern.data(), 0x40), LinkResult::kOk);
  ASSERT_EQ(link.BlockWrite(same.data(), 0x41), LinkResult::kOk);
  ASSERT_EQ(link.BlockWrite(lastDiffers.data(), 191), LinkResult::kOk);
  const Bytes piece(48, 0x42);
  ASSERT_EQ(link.AreaWrite(piece.data(), 0x650, 48), LinkResult::kOk);

  Bytes back(256);
  ASSERT_EQ(link.BlockRead(back.data(), 0x40), BlockReadResult::kOk);
  EXPECT_EQ(back, pattern);
  ASSERT_EQ(link.BlockRead(back.data(), 0x41), BlockReadResult::kOk);
  EXPECT_EQ(back, same);
  ASSERT_EQ(link.BlockRead(back.data(), 191), BlockReadResult::kOk);
  EXPECT_EQ(back, lastDiffers);
  Bytes area(48);
  ASSERT_EQ(link.AreaRead(area.data(), 0x650, 48), LinkResult::kOk);
  EXPECT_EQ(area, piece);
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);

  const Bytes in = TraceBytes(Trace(), false);
  EXPECT_TRUE(testing::Contains(in, {'Z', 0x00, 0x41, 0xAB}));
  Bytes whole = {'W', 0x00, 0xBF};
  whole.insert(whole.end(), lastDiffers.begin(), lastDiffers.end());
  whole.push_back(Sum8(lastDiffers.data(), 256));
  EXPECT_TRUE(testing::Contains(in, whole));

  EXPECT_EQ(sim->Stop(), 0);
  RadioData data;
  ASSERT_EQ(LoadDatFile(saved, data).result, kFileOk);
  data.buffers.AcceptScratch();
  EXPECT_TRUE(data.Image().equals(0x4000, pattern.data(), 256));
  EXPECT_TRUE(data.Image().equals(0x4100, same.data(), 256));
  EXPECT_TRUE(data.Ext().equals(0x650, piece.data(), 48));
  ::unlink(saved.c_str());
}

TEST_F(SimTest, ReadPasswordGuardsAllButTheMessageBlock) {
  Start({"--read-password", "12", "--overwrite-password", "345"});
  Enter();
  link.SetReadTimeout(100);
  ModelBytes mb{};
  ASSERT_EQ(link.Identify(mb), LinkResult::kOk);
  EXPECT_EQ(mb[6] & 0x03, 0x00);  // both password bits clear
  Bytes block(256);
  EXPECT_EQ(link.BlockRead(block.data(), 9), BlockReadResult::kOk);
  EXPECT_NE(link.BlockRead(block.data(), 10), BlockReadResult::kOk);
  EXPECT_EQ(link.SendReadPassword(PasswordBytes("")), PasswordResult::kWrong);
  EXPECT_EQ(link.SendReadPassword(PasswordBytes("1")), PasswordResult::kWrong);
  EXPECT_EQ(link.SendReadPassword(PasswordBytes("12")), PasswordResult::kOk);
  EXPECT_EQ(link.BlockRead(block.data(), 10), BlockReadResult::kOk);

  const Bytes data(256, 0x77);
  EXPECT_EQ(link.BlockWrite(data.data(), 10), LinkResult::kFailed);
  EXPECT_EQ(link.SendOverwritePassword(PasswordBytes("345")), PasswordResult::kOk);
  EXPECT_EQ(link.BlockWrite(data.data(), 10), LinkResult::kOk);
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);

  const Bytes in = TraceBytes(Trace(), false);
  EXPECT_TRUE(testing::Contains(in, {0x04, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_TRUE(testing::Contains(in, {0x04, '1', '2', 0, 0, 0, 0}));
  EXPECT_TRUE(testing::Contains(in, {0x03, '3', '4', '5', 0, 0, 0}));
}

TEST_F(SimTest, RadioWithoutPasswordsShowsBothBitsSet) {
  Start({"--model", "VT-1400", "--band", "136-174"});
  Enter();
  ModelBytes mb{};
  ASSERT_EQ(link.Identify(mb), LinkResult::kOk);
  EXPECT_EQ(std::string(mb.begin(), mb.begin() + 5), "P1400");
  EXPECT_EQ(mb[6] & 0x03, 0x03);
  EXPECT_EQ(link.SendReadPassword(PasswordBytes("999")), PasswordResult::kOk);
}

TEST_F(SimTest, SilenceTimesOutEveryRequestAfterwards) {
  Start({"--fault", "silence@block=5"});
  Enter();
  link.SetReadTimeout(100);
  Bytes block(256);
  for (int n = 0; n < 5; ++n) ASSERT_EQ(link.BlockRead(block.data(), n), BlockReadResult::kOk);
  const auto t0 = Clock::now();
  EXPECT_EQ(link.BlockRead(block.data(), 5), BlockReadResult::kFailed);
  EXPECT_LT(SecondsSince(t0), 1.0);
  ModelBytes mb{};
  EXPECT_EQ(link.Identify(mb), LinkResult::kFailed);
  EXPECT_EQ(testing::CountOf(TraceBytes(Trace(), false), {'R', 0, 5}), 3u);
}

TEST_F(SimTest, NoAnswerOnceThenTheBlockComes) {
  Start({"--fault", "noanswer@block=2"});
  Enter();
  link.SetReadTimeout(100);
  Bytes block(256);
  EXPECT_EQ(link.BlockRead(block.data(), 2), BlockReadResult::kOk);
  EXPECT_EQ(testing::CountOf(TraceBytes(Trace(), false), {'R', 0, 2}), 2u);
}

TEST_F(SimTest, BadChecksumIsNakedAndReRequested) {
  Start({"--fault", "badsum@block=3", "--fault", "badsum-always@block=4"});
  Enter();
  Bytes block(256);
  EXPECT_EQ(link.BlockRead(block.data(), 3), BlockReadResult::kOk);
  EXPECT_EQ(link.BlockRead(block.data(), 4), BlockReadResult::kFailed);
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);
  const Bytes in = TraceBytes(Trace(), false);
  EXPECT_EQ(testing::CountOf(in, {'R', 0, 3}), 2u);
  EXPECT_EQ(testing::CountOf(in, {'R', 0, 4}), 3u);
  EXPECT_EQ(testing::CountOf(in, {NAK}), 4u);
}

TEST_F(SimTest, NakedWriteIsRepeated) {
  Start({"--fault", "nak@block=4"});
  Enter();
  Bytes block(256);
  for (int i = 0; i < 256; ++i) block[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(link.BlockWrite(block.data(), 4), LinkResult::kOk);
  EXPECT_EQ(testing::CountOf(TraceBytes(Trace(), false), {'W', 0, 4, 0, 1, 2, 3}), 2u);
}

TEST_F(SimTest, ExtensionSilence) {
  Start({"--fault", "silence@ext=0x200"});
  Enter();
  link.SetReadTimeout(100);
  Bytes piece(64);
  EXPECT_EQ(link.AreaRead(piece.data(), 0x1C0, 64), LinkResult::kOk);
  EXPECT_EQ(link.AreaRead(piece.data(), 0x200, 64), LinkResult::kFailed);
  EXPECT_EQ(link.AreaRead(piece.data(), 0x240, 64), LinkResult::kFailed);
}

TEST_F(SimTest, RadioVanishingMidTransferFailsFast) {
  Start({"--fault", "exit@block=7"});
  Enter();
  link.SetReadTimeout(3000);
  Bytes block(256);
  for (int n = 0; n < 7; ++n) ASSERT_EQ(link.BlockRead(block.data(), n), BlockReadResult::kOk);
  const auto t0 = Clock::now();
  EXPECT_NE(link.BlockRead(block.data(), 7), BlockReadResult::kOk);
  EXPECT_LT(SecondsSince(t0), 1.0);
  EXPECT_EQ(sim->Wait(2000), 0);
  ModelBytes mb{};
  EXPECT_EQ(link.Identify(mb), LinkResult::kFailed);
}

TEST_F(SimTest, WrongModelIsRefusedAndPlatformCodeReported) {
  Start({"--identity", "XY123"});
  ScriptedPrompter prompter;
  ASSERT_EQ(link.EnterProgramModeWithRetry(prompter, {}), LinkResult::kOk);
  ModelBytes mb{};
  EXPECT_EQ(link.IdentifyForRadioFunctions(prompter, {}, mb), LinkResult::kFailed);
  EXPECT_EQ(prompter.asked, (std::vector<int>{271}));
  EXPECT_FALSE(link.IsOpen());
  // The wrapper ended program mode before closing.
  EXPECT_EQ(testing::Tail(TraceBytes(Trace(), false)), Bytes{'E'});
}

TEST_F(SimTest, PlatformCodeRefusedForRead) {
  Start({"--identity", "S9300", "--model", "VT-1602"});
  ScriptedPrompter prompter;
  ASSERT_EQ(link.EnterProgramModeWithRetry(prompter, {}), LinkResult::kOk);
  ModelBytes mb{};
  EXPECT_EQ(link.IdentifyForRead(prompter, {}, mb), LinkResult::kFailed);
  EXPECT_EQ(prompter.asked, (std::vector<int>{294}));
}

TEST_F(SimTest, RadioInformationAnswers) {
  Start({"--model", "VT-2400", "--band", "400-470", "--serial", "123456789012", "--firmware-version", "R1.07",
         "--firmware-checksum", "A1B2", "--passport-version", "PP 3.3"});
  Enter();
  std::array<uint8_t, 32> info{};
  ASSERT_EQ(link.InformationQuery(info), LinkResult::kOk);
  EXPECT_EQ(std::string(info.begin(), info.begin() + 7), "VT-2400");
  EXPECT_EQ(info[7], 0xFF);
  EXPECT_EQ(std::string(info.begin() + 12, info.begin() + 14), "K2");
  EXPECT_EQ(VariantBandText("VT-2400", "K2"), "400-470 MHz");
  EXPECT_EQ(std::string(info.begin() + 16, info.begin() + 28), "123456789012");
  uint16_t sum = 0;
  ASSERT_EQ(link.FirmwareChecksum(sum), LinkResult::kOk);
  EXPECT_EQ(ChecksumText(sum), "A1B2");
  std::array<uint8_t, 10> version{};
  ASSERT_EQ(link.VersionQuery(version), LinkResult::kOk);
  EXPECT_EQ(std::string(version.begin(), version.begin() + 6), "R1.07 ");
  std::array<uint8_t, 12> pp{};
  ASSERT_EQ(link.PassPortVersion(pp), LinkResult::kOk);
  EXPECT_EQ(std::string(pp.begin(), pp.end()), "PP 3.3      ");
  ScriptedPrompter prompter;
  EXPECT_EQ(link.DateStampWithRetry(prompter, {}), LinkResult::kOk);
  EXPECT_TRUE(prompter.asked.empty());
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);
}

TEST_F(SimTest, PassPortSilentWhenAsked) {
  Start({"--fault", "nopassport"});
  Enter();
  link.SetReadTimeout(100);
  std::array<uint8_t, 12> pp{};
  EXPECT_EQ(link.PassPortVersion(pp), LinkResult::kFailed);
  ModelBytes mb{};
  link.SetReadTimeout(550);
  EXPECT_EQ(link.Identify(mb), LinkResult::kOk);  // the conversation goes on
}

TEST_F(SimTest, TestModeChannelsTuningAndAdjustments) {
  Start({"--model", "VT-2600", "--band", "450-520"});
  RadioData expect;
  expect.model.SetModel(ModelNumberOfName("VT-2600"));
  expect.model.SetBandCode(0x06);
  InitNewImage(expect, false);
  ASSERT_EQ(link.OpenForTestMode(), LinkResult::kOk);
  ASSERT_EQ(link.EnterTestMode(), LinkResult::kOk);
  ModelBytes mb{};
  ASSERT_EQ(link.Identify(mb), LinkResult::kOk);
  std::array<uint8_t, 10> version{};
  ASSERT_EQ(link.VersionQuery(version), LinkResult::kOk);
  for (uint8_t ch = 1; ch <= 16; ++ch) {
    std::array<uint8_t, 8> f{};
    ASSERT_EQ(link.TestChannel(ch, f), LinkResult::kOk);
    const ByteArea image = expect.Image();
    const size_t rec = img::kTestFreqs + (ch - 1) * 10u;
    // Most significant byte first on the wire; least first in the image.
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(f[k], image.u8(rec + 3 - k)) << int(ch);
      EXPECT_EQ(f[4 + k], image.u8(rec + 7 - k)) << int(ch);
    }
  }
  std::array<uint8_t, 40> tuning{};
  ASSERT_EQ(link.TestReadTuning(tuning), LinkResult::kOk);
  EXPECT_EQ(tuning[0], expect.Image().u8(img::kTuningFreqs + 3));
  EXPECT_EQ(tuning[39], expect.Image().u8(img::kTuningFreqs + 40 + 4));
  ASSERT_EQ(link.TestSet(0x08, 0x08, true), LinkResult::kOk);
  ASSERT_EQ(link.TestSignalling(1), LinkResult::kOk);

  ASSERT_EQ(link.TestSwitch(0xC0, true), LinkResult::kOk);
  ASSERT_EQ(link.TestSet(0xC0, 0x40), LinkResult::kOk);
  ASSERT_EQ(link.TestStep(0xC0, 5), LinkResult::kOk);
  ASSERT_EQ(link.TestStep(0xC0, -1), LinkResult::kOk);
  ASSERT_EQ(link.TestStep(0xC0, 0), LinkResult::kOk);
  uint8_t value = 0;
  ASSERT_EQ(link.TestQuery(0xC0, value), LinkResult::kOk);
  EXPECT_EQ(value, 0x44);
  Bytes values(2);
  ASSERT_EQ(link.TestReadValues(values.data(), 2), LinkResult::kOk);
  EXPECT_EQ(values[0], 0x44);
  ASSERT_EQ(link.TestTransmit(true), LinkResult::kOk);
  ASSERT_EQ(link.TestTransmit(false), LinkResult::kOk);
  ASSERT_EQ(link.TestBandwidth(2), LinkResult::kOk);
  ASSERT_EQ(link.TestMskRate(false), LinkResult::kOk);
  ASSERT_EQ(link.TestAckSwitch(true), LinkResult::kOk);
  ASSERT_EQ(link.TestPrefixedSet(4), LinkResult::kOk);
  Bytes data(149);
  ASSERT_EQ(link.TestReadData(data.data(), data.size()), LinkResult::kOk);
  EXPECT_EQ(data[0], 16);  // the test channel chosen last
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);
  const Bytes in = TraceBytes(Trace(), false);
  EXPECT_TRUE(testing::Contains(in, {0xC0, 0x1A, 0x05}));
  EXPECT_TRUE(testing::Contains(in, {0x08, 0x0D}));
  EXPECT_TRUE(testing::Contains(in, {0x08, 0x0E}));
  EXPECT_EQ(testing::TraceSpeedsOf(Trace(), "TUNING "), (std::vector<long>{9600}));
}

TEST_F(SimTest, OnceEndsWithTheConversation) {
  const std::string linkPath = TempPath("com1");
  Start({"--once", "--link", linkPath});
  char target[256] = {};
  ASSERT_GT(readlink(linkPath.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(std::string(target), sim->Device());
  Enter();
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);
  link.SetOpenState(0);
  const auto t0 = Clock::now();
  EXPECT_EQ(sim->Wait(2000), 0);
  EXPECT_LT(SecondsSince(t0), 1.0);  // it went when the port was closed
  struct stat st;
  EXPECT_NE(lstat(linkPath.c_str(), &st), 0);  // the link is gone with the radio
}

TEST_F(SimTest, ConversationsFollowEachOtherOnReopenedPort) {
  Start({});
  for (int i = 0; i < 3; ++i) {
    link.SetOpenState(0);
    ASSERT_EQ(link.SetOpenState(1), 1);
    Enter();
    ModelBytes mb{};
    ASSERT_EQ(link.Identify(mb), LinkResult::kOk);
    // The port is closed without 'E': the radio starts over anyway.
  }
}

TEST_F(SimTest, SaveOnSignalWhileRunning) {
  const std::string saved = TempPath("usr1.dat");
  Start({"--save", saved});
  Enter();
  const Bytes block(256, 0x3C);
  ASSERT_EQ(link.BlockWrite(block.data(), 100), LinkResult::kOk);
  sim->Signal(SIGUSR1);
  RadioData data;
  for (int i = 0; i < 100 && LoadDatFile(saved, data).result != kFileOk; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(LoadDatFile(saved, data).result, kFileOk);
  data.buffers.AcceptScratch();
  EXPECT_TRUE(data.Image().equals(100 * 256, block.data(), 256));
  EXPECT_TRUE(sim->Running());
  ::unlink(saved.c_str());
}

TEST_F(SimTest, LineRatePacesABlockAtTheLinesSpeed) {
  Start({"--line-rate", "--no-fill"});
  Enter();
  Bytes block(256);
  const auto t0 = Clock::now();
  ASSERT_EQ(link.BlockRead(block.data(), 20), BlockReadResult::kOk);
  const double took = SecondsSince(t0);
  // R hi lo, 'W' 256 sum, ACK, ACK: 263 bytes of 11 bits at 19200 baud. A
  // loaded machine only makes it slower, so the floor holds on wall time.
  const double byteTime = 11.0 / 19200;
  EXPECT_GE(took, 263 * byteTime * 0.95);
  // How fast the radio sent is judged on its own clock: its answer ('W',
  // the block, the sum) went out one byte time apart. A late wake-up is
  // made up by the bytes after it, so the typical spacing is the byte time
  // even when the machine is busy.
  std::vector<double> at;
  for (const auto& b : Trace())
    if (b.fromRadio && (!at.empty() || b.byte == 'W') && at.size() < 258) at.push_back(b.seconds);
  ASSERT_EQ(at.size(), 258u);
  std::vector<double> gaps;
  for (size_t i = 1; i < at.size(); ++i) gaps.push_back(at[i] - at[i - 1]);
  std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
  const double median = gaps[gaps.size() / 2];
  EXPECT_GT(median, byteTime * 0.5);
  EXPECT_LT(median, byteTime * 1.5);
  EXPECT_GE(at.back() - at.front(), 257 * byteTime * 0.95);
}

}  // namespace
}  // namespace vb420
