// SPDX-License-Identifier: GPL-3.0-or-later
// Safe writes against the simulated radio: the backups a write keeps, the
// read-back that proves the radio holds what was sent, the round trip of
// every model without loss, and fleet writes and reads of several radios at
// once.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../core/link/ScriptedPrompter.h"
#include "support/CliRun.h"
#include "support/SimProcess.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "link/Backups.h"
#include "link/ReadSession.h"
#include "link/WriteSession.h"

namespace vb420 {
namespace {

namespace fs = std::filesystem;
using test::CliRun;
using test::RunCli;
using testing::ScriptedPrompter;
using testing::SimProcess;
using Bytes = std::vector<uint8_t>;

using testsupport::FileBytes;

std::string TextOf(const std::string& path) { return testsupport::FileText(path); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// A programming for `model` with a patterned block at 0x3000 and ext bytes
// that differ everywhere.
void MakeModelFile(const std::string& path, const char* model, const char* band, uint8_t seed) {
  RadioData data;
  data.model.SetModel(ModelNumberOfName(model));
  data.model.SetBandCode(static_cast<uint8_t>(BandCodeOfText(band)));
  InitNewImage(data, false);
  ByteArea image = data.Image();
  for (size_t i = 0x3000; i < 0x3100; ++i) image.setU8(i, static_cast<uint8_t>(i * 7 + seed));
  ByteArea ext = data.Ext();
  for (size_t i = 0x100; i < kExtSize; ++i) ext.setU8(i, static_cast<uint8_t>((i * 13 + seed) | 0x01));
  ASSERT_EQ(SaveDatFile(path, data).result, kFileOk);
}

class SafeWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vb420-safe-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
  }
  void TearDown() override {
    sims_.clear();
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // Starts radio number k (its memory saved to radioK.dat when it stops).
  SimProcess& Start(std::vector<std::string> args) {
    const size_t k = sims_.size();
    args.insert(args.end(), {"--save", Path("radio" + std::to_string(k) + ".dat")});
    SimProcess& sim = *sims_.emplace_back(std::make_unique<SimProcess>(args));
    EXPECT_TRUE(sim.Started());
    return sim;
  }
  Bytes StopAndSave(size_t k) {
    sims_[k]->Stop();
    return FileBytes(Path("radio" + std::to_string(k) + ".dat"));
  }
  std::vector<std::string> Backups() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir_ / "data" / "vb420" / "backups", ec))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string BackupPath(const std::string& name) const {
    return (dir_ / "data" / "vb420" / "backups" / name).string();
  }

  fs::path dir_;
  std::vector<std::unique_ptr<SimProcess>> sims_;
};

// ---- safe writes and verify through the command line ---------------------------

TEST_F(SafeWrite, CleanWriteVerifiesAndKeepsWhatWasWrittenUnderTheSerialNumber) {
  MakeModelFile(Path("plan.dat"), "VT-1600", "136-174", 9);
  SimProcess& sim = Start({"--model", "VT-1600", "--band", "136-174", "--serial", "000000004711"});
  const CliRun r = RunCli("write " + Path("plan.dat") + " --port " + sim.Device());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("written to the radio and verified"), std::string::npos) << r.err;
  const std::vector<std::string> names = Backups();
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0].rfind("written-", 0), 0u) << names[0];
  EXPECT_NE(names[0].find("-VT-1600-000000004711.dat"), std::string::npos) << names[0];
  // The backup is exactly what the radio now holds (the identification block
  // included), apart from the areas a write never sends.
  const Bytes kept = FileBytes(BackupPath(names[0]));
  const Bytes radio = StopAndSave(0);
  ASSERT_EQ(kept.size(), kDatFileSize);
  ASSERT_EQ(radio.size(), kDatFileSize);
  EXPECT_TRUE(std::equal(kept.begin() + kHeaderSize, kept.begin() + kHeaderSize + kImageSize,
                         radio.begin() + kHeaderSize));
}

TEST_F(SafeWrite, SilentlyCorruptedBlockIsNamedAndTheWriteFails) {
  MakeModelFile(Path("plan.dat"), "VT-1600", "136-174", 9);
  SimProcess& sim = Start({"--model", "VT-1600", "--band", "136-174", "--fault", "corrupt@block=48",
                           "--fault", "corrupt@ext=0x2A5"});
  const CliRun r = RunCli("write " + Path("plan.dat") + " --port " + sim.Device());
  EXPECT_EQ(r.exitCode, 7) << r.err;
  // Block 48 is 0x3000..0x30FF; its byte 0x10 was changed; ext 0x2A5 too.
  EXPECT_NE(r.err.find("0x3010, ext 0x02A5"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("verified"), std::string::npos) << r.err;
}

TEST_F(SafeWrite, NoVerifyTrustsTheRadio) {
  MakeModelFile(Path("plan.dat"), "VT-1600", "136-174", 9);
  SimProcess& sim = Start({"--model", "VT-1600", "--band", "136-174", "--fault", "corrupt@block=48", "--trace",
                           Path("trace.txt")});
  const CliRun r = RunCli("write " + Path("plan.dat") + " --port " + sim.Device() + " --no-verify");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const Bytes sent = testing::TraceBytes(testing::ReadTrace(Path("trace.txt")), false);
  EXPECT_EQ(testing::CountOf(sent, {'R', 0x00, 0x30}), 0u);
}

TEST_F(SafeWrite, ReadFirstKeepsWhatTheRadioHeldBeforeItIsOverwritten) {
  MakeModelFile(Path("radio-in.dat"), "VT-2600", "450-520", 3);
  MakeModelFile(Path("plan.dat"), "VT-2600", "450-520", 77);
  SimProcess& sim = Start({"--image", Path("radio-in.dat"), "--serial", "000000000042"});
  const CliRun r = RunCli("write " + Path("plan.dat") + " --port " + sim.Device() + " --read-first");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> names = Backups();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0].rfind("radio-", 0), 0u);
  EXPECT_NE(names[0].find("-VT-2600-000000000042.dat"), std::string::npos) << names[0];
  EXPECT_EQ(names[1].rfind("written-", 0), 0u);
  // The radio's old programming, as a read would have kept it.
  const Bytes before = FileBytes(BackupPath(names[0]));
  const Bytes original = FileBytes(Path("radio-in.dat"));
  ASSERT_EQ(before.size(), kDatFileSize);
  for (size_t i = kHeaderSize; i < kDatFileSize; ++i) {
    const size_t extOffset = i >= kHeaderSize + kImageSize ? i - kHeaderSize - kImageSize + kExtBlockOffset : 0;
    if (extOffset >= 0x640 && extOffset <= 0x646) EXPECT_EQ(before[i], 0xFF);
    else ASSERT_EQ(before[i], original[i]) << "file offset " << std::hex << i;
  }
  EXPECT_NE(FileBytes(BackupPath(names[1])), before);
}

TEST_F(SafeWrite, ReadFirstThatCannotKeepItsBackupWritesNothing) {
  MakeModelFile(Path("plan.dat"), "VT-1600", "136-174", 9);
  SimProcess& sim = Start({"--model", "VT-1600", "--band", "136-174", "--trace", Path("trace.txt")});
  // The backups folder cannot be made: a file stands where it would go.
  fs::create_directories(dir_ / "data" / "vb420");
  std::ofstream(dir_ / "data" / "vb420" / "backups") << "in the way";
  const CliRun r = RunCli("write " + Path("plan.dat") + " --port " + sim.Device() + " --read-first");
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
  const Bytes sent = testing::TraceBytes(testing::ReadTrace(Path("trace.txt")), false);
  EXPECT_EQ(testing::CountOf(sent, {'W', 0x00}) + testing::CountOf(sent, {'Z', 0x00}), 0u);
  EXPECT_EQ(testing::Tail(sent), Bytes{'E'});
}

// ---- round trip of every model ---------------------------------------------------

// A radio of each model holding random bytes everywhere (its model bytes
// apart, with no radio passwords) is read, the reading written back with a
// read-back, and read again: both readings are byte for byte the same but
// for the identification block 0x100..0x11F, which every write sets to this
// program's own. Nothing else changes: the radio keeps its own model bytes
// (0x120..0x127, which a read stores anyway), the extension offsets a write
// never sends (0x000..0x0FF, 0x600..0x64F) hold what they held, and a read
// sets 0x640..0x646 to 0xFF both times.
TEST_F(SafeWrite, RoundTripOfEveryModelLosesNothing) {
  std::mt19937 rng(420);
  for (int model = 0; model < 10; ++model) {
    SCOPED_TRACE(ModelTable(model).name);
    RadioData start;
    start.model.SetModel(model);
    const auto bands = ModelRecord::BandList(model);
    ASSERT_FALSE(bands.empty());
    start.model.SetBandCode(static_cast<uint8_t>(bands.front().second));
    InitNewImage(start, false);
    ModelBytes mb{};
    std::copy_n(start.Image().ptr(img::kModelBytes, 8), 8, mb.begin());
    mb[6] |= 0x03;  // no radio passwords
    for (size_t i = 0; i < kImageSize; ++i) start.Image().setU8(i, static_cast<uint8_t>(rng()));
    for (size_t i = 0; i < kExtSize; ++i) start.Ext().setU8(i, static_cast<uint8_t>(rng()));
    start.Image().write(img::kModelBytes, mb.data(), mb.size());
    const std::string file = Path("random.dat");
    ASSERT_EQ(SaveDatFile(file, start).result, kFileOk);
    SimProcess& sim = Start({"--image", file});

    RadioLink link;
    link.SetDevicePath(sim.Device());
    ScriptedPrompter prompter;
    RadioData first;
    ASSERT_EQ(ReadSession(link, first.buffers, prompter).Run(), TransferResult::kOk);
    first.buffers.AcceptScratch();
    first.SyncCodecs();
    const Bytes firstImage = first.buffers.ImageBytes(), firstExt = first.buffers.ExtBytes();

    WriteSession write(link, first, prompter);
    write.SetVerify(true);
    ASSERT_EQ(write.Run(), TransferResult::kOk);
    EXPECT_EQ(write.Verified(), VerifyOutcome::kVerified);

    RadioData second;
    ASSERT_EQ(ReadSession(link, second.buffers, prompter).Run(), TransferResult::kOk);
    second.buffers.AcceptScratch();
    EXPECT_TRUE(prompter.asked.empty());
    const Bytes& img2 = second.buffers.ImageBytes();
    for (size_t i = 0; i < kImageSize; ++i) {
      if (i >= img::kIdentBlock && i < img::kIdentBlock + 0x20) continue;
      ASSERT_EQ(img2[i], firstImage[i]) << "image 0x" << std::hex << i;
    }
    EXPECT_EQ(second.buffers.ExtBytes(), firstExt);
    // What was written, the program's identification included, is all there.
    EXPECT_EQ(img2, first.buffers.ImageBytes());
    sim.Stop();
  }
}

// ---- fleets ---------------------------------------------------------------------------

class Fleet : public SafeWrite {
 protected:
  // Four radios, each with its own serial number; `extra` adds faults to
  // radio k.
  std::string StartFour(const std::string& model, const std::string& band,
                        const std::vector<std::vector<std::string>>& extra = {}) {
    std::string ports;
    for (size_t k = 0; k < 4; ++k) {
      std::vector<std::string> args = {"--model", model, "--band", band, "--serial", "00000000100" + std::to_string(k)};
      if (k < extra.size()) args.insert(args.end(), extra[k].begin(), extra[k].end());
      ports += " --port " + Start(args).Device();
    }
    return ports;
  }
  std::string Message(const Bytes& radio) {
    RadioData d;
    const std::string path = Path("check.dat");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(radio.data()),
                                                static_cast<std::streamsize>(radio.size()));
    EXPECT_EQ(LoadDatFile(path, d).result, kFileOk);
    return ReadSession::MessageLine(d.buffers.ScratchImage(), img::kEmbeddedMessage);
  }
};

TEST_F(Fleet, FourRadiosEachGetTheirOwnIdentityAndAreVerified) {
  MakeModelFile(Path("plan.dat"), "VT-1600", "136-174", 9);
  const std::string ports = StartFour("VT-1600", "136-174");
  std::ofstream(Path("radios.csv")) << "message.1\nUNIT 101\nUNIT 102\n\"UNIT, 103\"\nUNIT 104\n";
  const CliRun r = RunCli("write " + Path("plan.dat") + ports + " --identities " + Path("radios.csv") +
                          " --log " + Path("fleet.csv"));
  ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
  const std::vector<std::string> out = Lines(r.out);
  ASSERT_EQ(out.size(), 4u) << r.out;
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_NE(out[k].find(",write," + sims_[k]->Device() + ",VT-1600,00000000100" + std::to_string(k) + ","),
              std::string::npos)
        << out[k];
    EXPECT_NE(out[k].find(",written,verified"), std::string::npos) << out[k];
  }
  EXPECT_NE(out[2].find("\"message.1=UNIT, 103\""), std::string::npos) << out[2];
  const std::vector<std::string> log = Lines(TextOf(Path("fleet.csv")));
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[0], "time,verb,port,model,serial,applied,file,result,verify");
  EXPECT_EQ(std::vector<std::string>(log.begin() + 1, log.end()), out);
  const char* wanted[] = {"UNIT 101", "UNIT 102", "UNIT, 103", "UNIT 104"};
  for (size_t k = 0; k < 4; ++k) EXPECT_EQ(Message(StopAndSave(k)), wanted[k]);
  // Every radio's written programming is kept under its own serial number.
  const std::vector<std::string> names = Backups();
  ASSERT_EQ(names.size(), 4u);
  for (size_t k = 0; k < 4; ++k)
    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                            [k](const std::string& n) {
                              return n.find("00000000100" + std::to_string(k) + ".dat") != std::string::npos;
                            }),
              1);
}

TEST_F(Fleet, RowsFoundBySerialNumberAndASilentRadioFailsAlone) {
  MakeModelFile(Path("plan.dat"), "VT-1600", "136-174", 9);
  const std::string ports = StartFour("VT-1600", "136-174", {{}, {}, {"--fault", "silence@block=100"}});
  // Rows in another order than the ports, matched by the serial column.
  std::ofstream(Path("radios.csv")) << "Serial,message.1\n000000001003,D\n000000001001,B\n000000001000,A\n"
                                       "000000001002,C\n";
  const CliRun r = RunCli("write " + Path("plan.dat") + ports + " --identities " + Path("radios.csv") +
                          " --retries 0 --log " + Path("fleet.csv"));
  EXPECT_EQ(r.exitCode, 1);
  const std::vector<std::string> out = Lines(r.out);
  ASSERT_EQ(out.size(), 4u) << r.out;
  for (size_t k = 0; k < 4; ++k) {
    if (k == 2) {
      EXPECT_NE(out[k].find(",failed: "), std::string::npos) << out[k];
      EXPECT_EQ(out[k].find("written"), std::string::npos) << out[k];
    } else {
      EXPECT_NE(out[k].find(",written,verified"), std::string::npos) << out[k];
    }
  }
  EXPECT_NE(r.err.find("[" + sims_[2]->Device() + "] "), std::string::npos) << r.err;
  const char* wanted[] = {"A", "B", "C", "D"};
  for (size_t k = 0; k < 4; ++k)
    if (k != 2) EXPECT_EQ(Message(StopAndSave(k)), wanted[k]);
}

// A radio that reads back other bytes fails as a single write does: exit 7
// when that is the only kind of failure, the addresses on its line.
TEST_F(Fleet, AReadBackDifferenceAloneExits7) {
  MakeModelFile(Path("plan.dat"), "VT-1600", "136-174", 9);
  const std::string ports = StartFour("VT-1600", "136-174", {{}, {"--fault", "corrupt@block=48"}});
  const CliRun r = RunCli("write " + Path("plan.dat") + ports);
  EXPECT_EQ(r.exitCode, 7) << r.err << r.out;
  const std::vector<std::string> out = Lines(r.out);
  ASSERT_EQ(out.size(), 4u) << r.out;
  EXPECT_NE(out[1].find("differs at 0x3010"), std::string::npos) << out[1];
  for (size_t k : {0u, 2u, 3u}) EXPECT_NE(out[k].find(",written,verified"), std::string::npos) << out[k];
}

TEST_F(Fleet, ASpreadsheetsByteOrderMarkBeforeTheHeaderIsSkipped) {
  MakeModelFile(Path("plan.dat"), "VT-1600", "136-174", 9);
  const std::string ports = StartFour("VT-1600", "136-174");
  std::ofstream(Path("radios.csv")) << "\xEF\xBB\xBF"
                                       "Serial,message.1\r\n000000001003,D\r\n000000001001,B\r\n000000001000,A\r\n"
                                       "000000001002,C\r\n";
  const CliRun r = RunCli("write " + Path("plan.dat") + ports + " --identities " + Path("radios.csv"));
  ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
  const char* wanted[] = {"A", "B", "C", "D"};
  for (size_t k = 0; k < 4; ++k) EXPECT_EQ(Message(StopAndSave(k)), wanted[k]);
}

TEST_F(Fleet, BadIdentitiesAreRefusedBeforeAnyRadioIsCalledOrPerRadio) {
  MakeModelFile(Path("plan.dat"), "VT-1600", "136-174", 9);
  const std::string ports = StartFour("VT-1600", "136-174");
  std::ofstream(Path("short.csv")) << "message.1\nA\nB\n";
  CliRun r = RunCli("write " + Path("plan.dat") + ports + " --identities " + Path("short.csv"));
  EXPECT_EQ(r.exitCode, 2) << r.err;
  EXPECT_NE(r.err.find("2 rows for 4 radios"), std::string::npos) << r.err;
  EXPECT_TRUE(r.out.empty());
  // A key no field has: every radio refuses it before a block is written.
  std::ofstream(Path("bad.csv")) << "no.such.key\n1\n2\n3\n4\n";
  r = RunCli("write " + Path("plan.dat") + ports + " --identities " + Path("bad.csv"));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  const std::vector<std::string> out = Lines(r.out);
  ASSERT_EQ(out.size(), 4u);
  for (size_t k = 0; k < 4; ++k)
    EXPECT_NE(out[k].find(",failed: no.such.key=" + std::to_string(k + 1) + ": unknown key,"), std::string::npos)
        << out[k];
}

TEST_F(Fleet, ReadOfSeveralRadiosFillsAFolderBySerialNumber) {
  const std::string ports = StartFour("VT-2600", "450-520");
  const CliRun r = RunCli("read" + ports + " -o " + Path("got") + " --log " + Path("fleet.csv"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> out = Lines(r.out);
  ASSERT_EQ(out.size(), 4u);
  for (size_t k = 0; k < 4; ++k) {
    const std::string file = Path("got/00000000100" + std::to_string(k) + ".dat");
    EXPECT_NE(out[k].find("," + file + ",read,"), std::string::npos) << out[k];
    EXPECT_EQ(FileBytes(file).size(), kDatFileSize);
  }
  EXPECT_EQ(Lines(TextOf(Path("fleet.csv"))).size(), 5u);
}

}  // namespace
}  // namespace vb420
