// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli read / write / radio-info against the simulated radio: what moves
// over the line, what ends up in the files and in the radio, and the exit
// codes a script sees.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

constexpr size_t kExtInFile = kHeaderSize + kImageSize;  // file offset of ext 0x100

// Position of `needle` in `hay` from `from` on; npos when absent.
size_t Find(const Bytes& hay, const Bytes& needle, size_t from = 0) {
  if (from > hay.size()) return std::string::npos;
  const auto it = std::search(hay.begin() + static_cast<long>(from), hay.end(), needle.begin(), needle.end());
  return it == hay.end() ? std::string::npos : static_cast<size_t>(it - hay.begin());
}

using testsupport::FileBytes;

// A programming with every kind of block: uniform ones, patterned ones, and
// extension bytes that differ everywhere (the message password included).
void FillPattern(RadioData& data, uint8_t seed) {
  ByteArea image = data.Image();
  for (size_t i = 0x3000; i < 0x3400; ++i) image.setU8(i, static_cast<uint8_t>(i * 7 + seed));
  image.fill(0x4000, 0x100, 0x00);
  ByteArea extArea = data.Ext();
  for (size_t i = 0x100; i < kExtSize; ++i) extArea.setU8(i, static_cast<uint8_t>((i * 13 + seed) | 0x01));
}

std::string MakeFile(const std::string& path, const char* model, const char* band, uint8_t seed) {
  RadioData data;
  data.model.SetModel(ModelNumberOfName(model));
  data.model.SetBandCode(static_cast<uint8_t>(BandCodeOfText(band)));
  InitNewImage(data, false);
  FillPattern(data, seed);
  EXPECT_EQ(SaveDatFile(path, data).result, kFileOk);
  return path;
}

class RwCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vb420-rw-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    trace_ = Path("trace.txt");
  }
  void TearDown() override {
    sim_.reset();
    std::filesystem::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Start(std::vector<std::string> args) {
    args.insert(args.end(), {"--trace", trace_, "--save", Path("radio.dat")});
    sim_ = std::make_unique<SimProcess>(args);
    ASSERT_TRUE(sim_->Started());
  }
  // Stops the radio and answers its memory as it saved it.
  Bytes StopAndSave() {
    EXPECT_TRUE(testing::WaitForHangUp(trace_));
    sim_->Stop();
    return FileBytes(Path("radio.dat"));
  }
  // The whole conversation as the radio saw it: the program has ended, so
  // the radio is given the time to read the last bytes it was sent.
  std::vector<testing::TraceByte> Trace() {
    EXPECT_TRUE(testing::WaitForHangUp(trace_));
    return ReadTrace(trace_);
  }
  Bytes Sent() { return TraceBytes(Trace(), false); }
  std::string Port() const { return " --port " + sim_->Device(); }

  std::filesystem::path dir_;
  std::string trace_;
  std::unique_ptr<SimProcess> sim_;
};

// ---- read -------------------------------------------------------------------

TEST_F(RwCli, ReadEqualsRadioMemoryExceptMessagePassword) {
  const std::string image = MakeFile(Path("radio-in.dat"), "VT-2600", "450-520", 3);
  Start({"--image", image});
  const CliRun r = RunCli("read" + Port() + " -o " + Path("read.dat"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const Bytes radio = StopAndSave();
  const Bytes got = FileBytes(Path("read.dat"));
  ASSERT_EQ(got.size(), kDatFileSize);
  ASSERT_EQ(radio.size(), kDatFileSize);
  for (size_t i = 0; i < got.size(); ++i) {
    const size_t extOffset = i >= kExtInFile ? i - kExtInFile + kExtBlockOffset : 0;
    if (extOffset >= 0x640 && extOffset <= 0x646) {
      EXPECT_EQ(got[i], 0xFF) << "ext " << std::hex << extOffset;
      EXPECT_NE(radio[i], 0xFF);
    } else {
      ASSERT_EQ(got[i], radio[i]) << "file offset " << std::hex << i;
    }
  }
  // 192 block requests and 72 piece requests, and no password round.
  const Bytes sent = Sent();
  EXPECT_EQ(CountOf(sent, {'R', 0x00, 0x00}), 1u);
  EXPECT_TRUE(Contains(sent, {'R', 0x00, 0xBF}));
  EXPECT_TRUE(Contains(sent, {'S', 0x11, 0xC0, 0x40}));
  // Between the version query's closing ACK and block 0 nothing else is sent.
  const size_t version = Find(sent, {0x50, 0x06});
  ASSERT_NE(version, std::string::npos);
  EXPECT_EQ(Find(sent, {'R', 0x00, 0x00}), version + 2);
}

TEST_F(RwCli, ReadKeepsABackupOfEveryRead) {
  Start({"--model", "VT-1400", "--band", "136-174"});
  ASSERT_EQ(RunCli("read" + Port() + " -o " + Path("one.dat")).exitCode, 0);
  ASSERT_EQ(RunCli("read" + Port() + " -o " + Path("two.dat")).exitCode, 0);
  const std::filesystem::path folder = dir_ / "data" / "vb420" / "backups";
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().string());
  ASSERT_EQ(names.size(), 2u);
  for (const auto& n : names) {
    EXPECT_NE(n.find("VT-1400"), std::string::npos) << n;
    EXPECT_EQ(FileBytes(n), FileBytes(Path("one.dat")));
  }
}

TEST_F(RwCli, ReadWithoutPasswordSendsNoBlock9First) {
  Start({"--model", "VT-1600", "--band", "136-174"});
  ASSERT_EQ(RunCli("read" + Port() + " -o " + Path("r.dat")).exitCode, 0);
  const Bytes sent = Sent();
  // The first block asked for is block 0, and block 9 is asked for once.
  const size_t first = Find(sent, {'R'});
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(Bytes(sent.begin() + static_cast<long>(first), sent.begin() + static_cast<long>(first) + 3),
            (Bytes{'R', 0x00, 0x00}));
  EXPECT_EQ(CountOf(sent, {'R', 0x00, 0x09}), 1u);
}

TEST_F(RwCli, ReadPasswordRoundReadsBlock9AndSendsTheDigits) {
  Start({"--model", "VT-1600", "--band", "136-174", "--read-password", "4711"});
  const CliRun r = RunCli("read" + Port() + " -o " + Path("r.dat") + " --password 4711");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const Bytes sent = Sent();
  const size_t block9 = Find(sent, {'R', 0, 9});
  const size_t pw = Find(sent, {0x04, '4', '7', '1', '1', 0, 0});
  const size_t block0 = Find(sent, {'R', 0, 0});
  ASSERT_NE(pw, std::string::npos);
  EXPECT_LT(block9, pw);
  EXPECT_LT(pw, block0);
  // The image records that the radio holds a read password.
  const Bytes got = FileBytes(Path("r.dat"));
  EXPECT_EQ(got[kHeaderSize + 0x126] & 0x01, 0);
}

TEST_F(RwCli, WrongPasswordThreeTimesEndsTheTransfer) {
  Start({"--model", "VT-1600", "--band", "136-174", "--read-password", "4711"});
  std::ofstream(Path("keep.dat")) << "old";
  const CliRun r = RunCli("read" + Port() + " -o " + Path("keep.dat") + " --password 1234");
  EXPECT_EQ(r.exitCode, 1);
  const Bytes sent = Sent();
  EXPECT_EQ(CountOf(sent, {0x04, '1', '2', '3', '4', 0, 0}), 3u);
  EXPECT_FALSE(Contains(sent, {'R', 0x00, 0x00}));
  EXPECT_EQ(testing::Tail(sent), Bytes{'E'});
  EXPECT_EQ(FileBytes(Path("keep.dat")), (Bytes{'o', 'l', 'd'}));
  EXPECT_NE(r.err.find("The password is incorrect."), std::string::npos);
}

TEST_F(RwCli, PasswordNeededButNotGivenIsCancelled) {
  Start({"--model", "VT-1600", "--band", "136-174", "--read-password", "4711"});
  const CliRun r = RunCli("read" + Port() + " -o " + Path("r.dat"));
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_FALSE(std::filesystem::exists(Path("r.dat")));
}

TEST_F(RwCli, PlatformCodeOnReadIsRefused) {
  Start({"--identity", "M9300"});
  const CliRun r = RunCli("read" + Port() + " -o " + Path("r.dat"));
  EXPECT_EQ(r.exitCode, 6);
  EXPECT_NE(r.err.find("The radio has no model data"), std::string::npos) << r.err;
  const Bytes sent = Sent();
  // Identified, acknowledged, and program mode ended at once.
  EXPECT_NE(Find(sent, {0x02, 0x06, 'E'}), std::string::npos);
  EXPECT_FALSE(Contains(sent, {'R', 0x00, 0x00}));
  EXPECT_EQ(testing::Tail(sent), Bytes{'E'});
}

TEST_F(RwCli, ExtensionFailureWithRetryReadsAllBlocksAgain) {
  Start({"--model", "VT-2600", "--band", "450-520", "--fault", "silence@ext=0x400"});
  const CliRun r = RunCli("read" + Port() + " -o " + Path("r.dat") + " --retries 1");
  EXPECT_EQ(r.exitCode, 5);
  const Bytes sent = Sent();
  // Block 0 is asked for again after the piece at 0x400 failed.
  const size_t piece = Find(sent, {'S', 0x04, 0x00});
  ASSERT_NE(piece, std::string::npos);
  const Bytes again{'R', 0x00, 0x00};
  EXPECT_NE(Find(sent, again, piece), std::string::npos);
  // Once in the first pass; then the silent radio gets three attempts at
  // block 0 before the last Cancel.
  EXPECT_EQ(CountOf(sent, again), 4u);
}

TEST_F(RwCli, SilentRadioGivesCommunicationErrorAndLeavesTheFile) {
  Start({"--model", "VT-2600", "--band", "450-520", "--fault", "silence@block=40"});
  std::ofstream(Path("keep.dat")) << "previous";
  const CliRun r = RunCli("read" + Port() + " -o " + Path("keep.dat") + " --retries 0");
  EXPECT_EQ(r.exitCode, 5);
  EXPECT_NE(r.err.find("Communication error."), std::string::npos);
  EXPECT_EQ(FileBytes(Path("keep.dat")), (Bytes{'p', 'r', 'e', 'v', 'i', 'o', 'u', 's'}));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "data" / "vb420" / "backups"));
}

TEST_F(RwCli, PortThatCannotBeOpened) {
  const CliRun r = RunCli("read --port " + Path("no-such-tty") + " -o " + Path("r.dat"));
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("cannot be opened"), std::string::npos);
  EXPECT_EQ(RunCli("read -o x.dat").exitCode, 2);
  EXPECT_EQ(RunCli("read --port COM1 -o x.dat --password 12ab").exitCode, 2);
}

// ---- radios that misbehave on the line -------------------------------------

// The program's own bytes, each with the line speed it went at.
std::vector<std::pair<uint8_t, long>> SentWithSpeed(const std::vector<testing::TraceByte>& trace) {
  std::vector<std::pair<uint8_t, long>> out;
  for (const auto& t : trace)
    if (!t.fromRadio) out.push_back({t.byte, t.baud});
  return out;
}

size_t Occurrences(const std::string& hay, const std::string& needle) {
  size_t n = 0;
  for (size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1)) ++n;
  return n;
}

TEST_F(RwCli, GarbledAnswerToEndIsRetriedAt9600AndTheReadIsKept) {
  const std::string image = MakeFile(Path("radio-in.dat"), "VT-2600", "450-520", 9);
  Start({"--image", image, "--fault", "garbled@end"});
  const CliRun r = RunCli("read" + Port() + " -o " + Path("read.dat") + " --retries 0");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("Communication error."), std::string::npos) << r.err;
  const Bytes radio = StopAndSave();
  ASSERT_EQ(radio.size(), kDatFileSize);  // the radio saved all of its memory
  const Bytes got = FileBytes(Path("read.dat"));
  ASSERT_EQ(got.size(), kDatFileSize);
  EXPECT_TRUE(std::equal(got.begin() + kHeaderSize, got.begin() + kExtInFile, radio.begin() + kHeaderSize));
  // The last two bytes of the conversation: 'E' at 19200, answered garbled,
  // and 'E' again at 9600.
  const auto sent = SentWithSpeed(Trace());
  EXPECT_EQ(testing::Tail(sent, 2), (std::vector<std::pair<uint8_t, long>>{{'E', 19200}, {'E', 9600}}));
  const Bytes answered = TraceBytes(Trace(), true);
  ASSERT_GE(answered.size(), 2u);
  EXPECT_EQ(Bytes(answered.end() - 2, answered.end()), (Bytes{0xF8, 0x06}));
}

TEST_F(RwCli, GarbledAnswerToEndStillShowsRadioInformation) {
  Start({"--model", "VT-2600", "--band", "450-520", "--fault", "garbled@end"});
  const CliRun r = RunCli("radio-info" + Port() + " --retries 0");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find(":  VT-2600:K"), std::string::npos) << r.out;
}

TEST_F(RwCli, ConfirmationSentBeforeTheSwitchIsCalledAgainAt19200) {
  const std::string image = MakeFile(Path("radio-in.dat"), "VT-1600", "136-174", 4);
  Start({"--image", image, "--fault", "early-ack@entry"});
  const CliRun r = RunCli("read" + Port() + " -o " + Path("read.dat") + " --retries 0");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const Bytes radio = StopAndSave();
  ASSERT_EQ(radio.size(), kDatFileSize);  // the radio saved all of its memory
  const Bytes got = FileBytes(Path("read.dat"));
  ASSERT_EQ(got.size(), kDatFileSize);
  EXPECT_TRUE(std::equal(got.begin() + kHeaderSize, got.begin() + kExtInFile, radio.begin() + kHeaderSize));
  // The garbled confirmation fails the call at 9600; the call at 19200 finds
  // the radio already there.
  EXPECT_EQ(testing::TraceSpeedsOf(Trace(), "VB420PP"), (std::vector<long>{9600, 19200}));
  const Bytes answered = TraceBytes(Trace(), true);
  ASSERT_GE(answered.size(), 4u);
  EXPECT_EQ(Bytes(answered.begin(), answered.begin() + 4), (Bytes{0x16, 0xF8, 0x16, 0x06}));
}

TEST_F(RwCli, StrayByteBetweenBlocksIsNotTakenForAnAnswer) {
  // Block 0x30 is patterned in the file, so its stray byte follows a full
  // 'W' answer; block 0x40 is all zeros and its stray follows a fill answer.
  const std::string image = MakeFile(Path("radio-in.dat"), "VT-2600", "450-520", 6);
  Start({"--image", image, "--fault", "stray@block=0x30", "--fault", "stray@block=0x40"});
  const CliRun r = RunCli("read" + Port() + " -o " + Path("read.dat") + " --retries 0");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const Bytes radio = StopAndSave();
  ASSERT_EQ(radio.size(), kDatFileSize);  // the radio saved all of its memory
  const Bytes got = FileBytes(Path("read.dat"));
  ASSERT_EQ(got.size(), kDatFileSize);
  EXPECT_TRUE(std::equal(got.begin() + kHeaderSize, got.begin() + kExtInFile, radio.begin() + kHeaderSize));
  // The stray bytes went out, and every block was asked for once: no
  // attempt failed.
  EXPECT_EQ(CountOf(TraceBytes(Trace(), true), {0x06, 0xF8}), 2u);
  EXPECT_EQ(CountOf(Sent(), {'R', 0x00, 0x31}), 1u);
  EXPECT_EQ(CountOf(Sent(), {'R', 0x00, 0x41}), 1u);
}

TEST_F(RwCli, StrayByteBetweenWrittenBlocksLeavesTheWriteWhole) {
  const std::string file = MakeFile(Path("new.dat"), "VT-1600", "136-174", 8);
  Start({"--model", "VT-1600", "--band", "136-174", "--fault", "stray@block=0x30", "--fault", "stray@block=0x40"});
  const CliRun r = RunCli("write " + file + Port() + " --retries 0");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const Bytes radio = StopAndSave();
  ASSERT_EQ(radio.size(), kDatFileSize);  // the radio saved all of its memory
  const Bytes wanted = FileBytes(file);
  // Blocks 2 onwards are exactly the file's (blocks 0 and 1 carry the
  // identification the write puts in).
  EXPECT_TRUE(std::equal(radio.begin() + kHeaderSize + 0x200, radio.begin() + kExtInFile,
                         wanted.begin() + kHeaderSize + 0x200));
  EXPECT_EQ(CountOf(TraceBytes(Trace(), true), {0x06, 0xF8}), 2u);
  EXPECT_EQ(CountOf(Sent(), {'W', 0x00, 0x31}), 1u);
}

TEST_F(RwCli, WriteThatFailsMidwaySaysSoOnceAndWhatToDo) {
  const std::string file = MakeFile(Path("new.dat"), "VT-1600", "136-174", 5);
  Start({"--model", "VT-1600", "--band", "136-174", "--fault", "silence@block=40"});
  const CliRun r = RunCli("write " + file + Port());
  EXPECT_EQ(r.exitCode, 5);
  EXPECT_EQ(Occurrences(r.err, "Communication error."), 1u) << r.err;
  EXPECT_EQ(Occurrences(r.err, "retrying ("), 2u) << r.err;
  EXPECT_EQ(Occurrences(r.err, "partly written programming"), 1u) << r.err;
  const std::string folder = (dir_ / "data" / "vb420" / "backups").string();
  EXPECT_NE(r.err.find("Write the data to the radio again, or write a backup"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(folder), std::string::npos) << r.err;
  // The partial-write notice comes last, after the final failure.
  EXPECT_GT(r.err.find("partly written"), r.err.rfind("retrying"));
}

TEST_F(RwCli, WriteRefusedBeforeAnyBlockSaysNothingOfAPartialWrite) {
  const std::string file = MakeFile(Path("new.dat"), "VT-1600", "136-174", 5);
  Start({"--model", "VT-1400", "--band", "136-174"});  // a portable will not take a mobile's data
  const CliRun r = RunCli("write " + file + Port() + " --retries 0");
  EXPECT_EQ(r.exitCode, 6);
  EXPECT_EQ(r.err.find("partly written"), std::string::npos) << r.err;
}

TEST_F(RwCli, PortHeldByAnotherProgramIsNamedInItsOwnMessage) {
  Start({"--model", "VT-1600", "--band", "136-174"});
  const int other = ::open(sim_->Device().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  const CliRun r = RunCli("read" + Port() + " -o " + Path("r.dat"));
  ::close(other);
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("The communication port " + sim_->Device() + " is in use by another program."),
            std::string::npos)
      << r.err;
  EXPECT_EQ(r.err.find("cannot be opened"), std::string::npos) << r.err;
  EXPECT_TRUE(Sent().empty());
  // Once the other program lets go the port opens as before.
  EXPECT_EQ(RunCli("read" + Port() + " -o " + Path("r.dat")).exitCode, 0);
}

// ---- write ------------------------------------------------------------------

TEST_F(RwCli, WriteLeavesRadioEqualToFileExceptTheAreasNeverSent) {
  const std::string radioIn = MakeFile(Path("radio-in.dat"), "VT-2600", "450-520", 3);
  const std::string file = MakeFile(Path("new.dat"), "VT-2600", "450-520", 77);
  Start({"--image", radioIn});
  const CliRun r = RunCli("write " + file + Port());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const Bytes radio = StopAndSave();
  const Bytes before = FileBytes(radioIn);
  const Bytes wanted = FileBytes(file);
  ASSERT_EQ(radio.size(), kDatFileSize);
  for (size_t i = kHeaderSize; i < radio.size(); ++i) {
    const size_t extOffset = i >= kExtInFile ? i - kExtInFile + kExtBlockOffset : 0;
    const bool kept = extOffset >= 0x600 && extOffset < 0x650;
    ASSERT_EQ(radio[i], kept ? before[i] : wanted[i]) << "file offset " << std::hex << i;
  }
  EXPECT_NE(before[kExtInFile + 0x640 - 0x100], wanted[kExtInFile + 0x640 - 0x100]);
  const Bytes sent = Sent();
  EXPECT_TRUE(Contains(sent, {'X', 0x06, 0x50, 48}));
  EXPECT_FALSE(Contains(sent, {'X', 0x06, 0x40}));
  EXPECT_FALSE(Contains(sent, {'X', 0x06, 0x00}));
  EXPECT_FALSE(Contains(sent, {'X', 0x00, 0xC0}));
  EXPECT_TRUE(Contains(sent, {'X', 0x01, 0x00, 0x40}));
  EXPECT_TRUE(Contains(sent, {'X', 0x11, 0xC0, 0x40}));
  // The file on disk is not touched by the write.
  EXPECT_EQ(FileBytes(file), wanted);
}

TEST_F(RwCli, ExtensionFailureOnWriteWithRetryWritesAllBlocksAgain) {
  const std::string file = MakeFile(Path("new.dat"), "VT-1600", "136-174", 5);
  Start({"--model", "VT-1600", "--band", "136-174", "--fault", "silence@ext=0x400"});
  const CliRun r = RunCli("write " + file + Port() + " --retries 1");
  EXPECT_EQ(r.exitCode, 5);
  const Bytes sent = Sent();
  const size_t piece = Find(sent, {'X', 0x04, 0x00, 0x40});
  ASSERT_NE(piece, std::string::npos);
  // Block 0 goes again after the failed piece (the silent radio then ends it).
  const size_t again = std::min(Find(sent, {'Z', 0x00, 0x00}, piece), Find(sent, {'W', 0x00, 0x00}, piece));
  EXPECT_NE(again, std::string::npos);
  EXPECT_EQ(CountOf(sent, {'Z', 0x00, 0x00}) + CountOf(sent, {'W', 0x00, 0x00}), 2u);
}

TEST_F(RwCli, UniformBlockGoesAsZAndDateStampEndsTheWrite) {
  const std::string file = MakeFile(Path("new.dat"), "VT-1600", "136-174", 5);
  Start({"--model", "VT-1600", "--band", "136-174"});
  ASSERT_EQ(RunCli("write " + file + Port()).exitCode, 0);
  const Bytes sent = Sent();
  EXPECT_TRUE(Contains(sent, {'Z', 0x00, 0x40, 0x00}));  // block 0x40 is 256 zeros
  EXPECT_TRUE(Contains(sent, {'W', 0x00, 0x30}));        // a patterned block goes in full
  ASSERT_EQ(testing::Tail(sent, 8).size(), 8u);
  EXPECT_EQ(testing::Tail(sent, 8)[0], 0x5F);
  EXPECT_EQ(testing::Tail(sent), Bytes{'E'});
}

TEST_F(RwCli, NoAdjustTimeSendsNoDateStamp) {
  const std::string file = MakeFile(Path("new.dat"), "VT-1600", "136-174", 5);
  Start({"--model", "VT-1600", "--band", "136-174"});
  ASSERT_EQ(RunCli("write " + file + Port() + " --no-adjust-time --no-verify").exitCode, 0);
  const Bytes sent = Sent();
  // After the last piece come only the end of program mode.
  const Bytes last{'X', 0x11, 0xC0, 0x40};
  const size_t at = Find(sent, last);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(sent.size() - at, 4u + 64 + 1);
  EXPECT_EQ(testing::Tail(sent), Bytes{'E'});
}

TEST_F(RwCli, SecondGenerationModelNeverGetsDateStamp) {
  const std::string file = MakeFile(Path("new.dat"), "VT-1602", "136-174", 5);
  Start({"--model", "VT-1602", "--band", "136-174"});
  ASSERT_EQ(RunCli("write " + file + Port() + " --no-verify").exitCode, 0);
  const Bytes sent = Sent();
  const Bytes last{'X', 0x11, 0xC0, 0x40};
  const size_t at = Find(sent, last);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(sent.size() - at, 4u + 64 + 1);
}

TEST_F(RwCli, PowerBitAloneAsksNothingOtherDifferencesAsk274) {
  const std::string file = MakeFile(Path("new.dat"), "VT-2600", "450-520", 5);
  Start({"--model", "VT-2600H", "--band", "450-520"});
  CliRun r = RunCli("write " + file + Port());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("differs"), std::string::npos);
  sim_.reset();

  Start({"--model", "VT-2600", "--band", "400-470"});
  r = RunCli("write " + file + Port());
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.err.find("The model information of the radio differs"), std::string::npos);
  EXPECT_FALSE(Contains(Sent(), {'W', 0x00, 0x00}));
  sim_.reset();

  Start({"--model", "VT-2600", "--band", "400-470"});
  r = RunCli("write " + file + Port() + " --yes");
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(RwCli, WrongKindOfRadioIsRefused) {
  const std::string file = MakeFile(Path("new.dat"), "VT-2600", "450-520", 5);
  Start({"--model", "VT-2400", "--band", "450-520"});
  const CliRun r = RunCli("write " + file + Port() + " --retries 1");
  EXPECT_EQ(r.exitCode, 6);
  // Asking the same radio again cannot change its model: identified once,
  // refused, nothing written.
  EXPECT_EQ(CountOf(Sent(), {0x02}), 1u);
  EXPECT_FALSE(Contains(Sent(), {'W', 0x00, 0x00}));
}

TEST_F(RwCli, OverwritePasswordAndPasswordWarning) {
  // A file whose data carry an overwrite password asks before writing.
  RadioData data;
  data.model.SetModel(ModelNumberOfName("VT-1600"));
  data.model.SetBandCode(0x04);
  InitNewImage(data, false);
  data.model.SetOverwritePasswordBit(true);
  ASSERT_EQ(SaveDatFile(Path("pw.dat"), data).result, kFileOk);
  Start({"--model", "VT-1600", "--band", "136-174", "--overwrite-password", "99"});
  CliRun r = RunCli("write " + Path("pw.dat") + Port() + " --password 99");
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.err.find("\"Overwrite Password\""), std::string::npos) << r.err;
  EXPECT_TRUE(Sent().empty());

  r = RunCli("write " + Path("pw.dat") + Port() + " --password 99 --yes");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(Sent(), {0x03, '9', '9', 0, 0, 0, 0}));
}

TEST_F(RwCli, ValidationRefusesBeforeAnythingIsSent) {
  RadioData data;
  InitNewImage(data, true);
  data.Image().setU8(0x770, 5);  // dispatcher fleet without its ID
  data.Image().setU8(0x6A0, '0');  // a priority channel that names no channel: the zone code's check
  ASSERT_EQ(SaveDatFile(Path("bad.dat"), data).result, kFileOk);
  Start({});
  const CliRun r = RunCli("write " + Path("bad.dat") + Port());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Check the following settings:\n\"Priority 1 Zone/Channel\"\n\"Dispatcher ID\""), std::string::npos)
      << r.err;
  EXPECT_TRUE(Sent().empty());
}

TEST_F(RwCli, PortNumbersGoThroughTheEnvironmentAndTheSettingsFile) {
  Start({});
  std::filesystem::create_directories(dir_ / "config" / "MARDEKO");
  std::ofstream(dir_ / "config" / "MARDEKO" / "vb420.conf") << "[Backup]\nComPort=9\n\n[Ports]\nCOM9=" << sim_->Device()
                                                            << "\nCOM10=/dev/null-not-here\n";
  setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  EXPECT_EQ(RunCli("radio-info --port COM9").exitCode, 0);
  EXPECT_EQ(RunCli("radio-info --port COM10").exitCode, 4);
  // The environment wins over the settings file.
  setenv("VB420_COM10", sim_->Device().c_str(), 1);
  EXPECT_EQ(RunCli("radio-info --port com10").exitCode, 0);
  unsetenv("VB420_COM10");
  unsetenv("XDG_CONFIG_HOME");
}

// ---- radio-info -----------------------------------------------------------------

TEST_F(RwCli, RadioInfoShowsTheSixLines) {
  Start({"--model", "VT-2400", "--band", "400-470", "--serial", "123456789012", "--firmware-checksum", "0A5F",
         "--firmware-version", "V9.87"});
  const CliRun r = RunCli("radio-info" + Port());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "Model Type:  VT-2400:K2\n"
            "Frequency:  400-470 MHz\n"
            "Serial Number:  123456789012\n"
            "Version:  V9.87 \n"
            "Check Sum:  0A5F\n"
            "PassPort Version:  PP V2.01    \n");
}

TEST_F(RwCli, RadioInfoWithoutPassPortAnswerAndBlankSerial) {
  Start({"--fault", "nopassport", "--serial", ""});
  const CliRun r = RunCli("radio-info" + Port());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("Serial Number:              \n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("PassPort Version:  \n"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace vb420
