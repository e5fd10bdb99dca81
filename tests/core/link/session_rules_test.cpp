// SPDX-License-Identifier: GPL-3.0-or-later
// The rules around a transfer that need no radio: where the extension pieces
// of a write go, the password warning, the pre-write checks, the warnings for
// mobiles, the Radio Information lines and the backups folder.
#include "support/Environment.h"
#include "support/Paths.h"
#include <stdlib.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "lang/Platform.h"
#include "lang/TextTable.h"
#include "link/Backups.h"
#include "link/RadioInfoSession.h"
#include "link/ReadSession.h"
#include "link/WriteSession.h"
#include "link/WriteValidation.h"

namespace vb420 {
namespace {

TextTable& Texts() {
  static TextTable t;
  static bool loaded = false;
  if (!loaded) {
    loaded = true;
    t.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English");
  }
  return t;
}

std::vector<int> Entries(const std::vector<WriteProblem>& ps) {
  std::vector<int> e;
  for (const auto& p : ps) e.push_back(p.entry);
  return e;
}

// ---- extension pieces of a write ----------------------------------------------

TEST(WritePieces, NeverSendsTheProgramsOwnRecordsOrTheMessagePassword) {
  int sentBytes = 0;
  std::vector<bool> covered(kExtSize, false);
  for (int i = 0; i < kExtPieceCount; ++i) {
    const ExtPiece p = WritePieceOf(i);
    if (!p.sent) continue;
    sentBytes += p.length;
    for (int b = p.offset; b < p.offset + p.length; ++b) covered[static_cast<size_t>(b)] = true;
  }
  for (size_t b = 0; b < kExtSize; ++b) {
    const bool never = b < 0x100 || (b >= 0x600 && b < 0x650);
    EXPECT_EQ(covered[b], !never) << std::hex << b;
  }
  EXPECT_EQ(sentBytes, 0x1200 - 0x100 - 0x50);
  EXPECT_EQ(WritePieceOf(25).offset, 0x650);
  EXPECT_EQ(WritePieceOf(25).length, 48);
  EXPECT_FALSE(WritePieceOf(24).sent);
  EXPECT_FALSE(WritePieceOf(3).sent);
  EXPECT_TRUE(WritePieceOf(4).sent);
}

// ---- password warning -----------------------------------------------------------

TEST(PasswordWarning, NamesEachPasswordTheDataCarry) {
  TextTable& t = Texts();
  EXPECT_EQ(PasswordWarningText(t, true, false),
            "The data to be written contains radio passwords:\n\"Read Password\"\n\n"
            "Do you want to continue writing?");
  EXPECT_EQ(PasswordWarningText(t, true, true),
            "The data to be written contains radio passwords:\n\"Read Password\"\n\"Overwrite Password\"\n\n"
            "This password will be required the next time data is written to the radio.\n\n"
            "Do you want to continue writing?");
}

// ---- pre-write checks -------------------------------------------------------------

class Validation : public ::testing::Test {
 protected:
  void SetUp() override { InitNewImage(data, true); }
  ByteArea Img() { return data.Image(); }
  ByteArea Ext() { return data.Ext(); }
  RadioData data;
};

TEST_F(Validation, NewProgrammingPasses) {
  const WriteValidationResult r = ValidateForWrite(data, Texts());
  EXPECT_TRUE(r.Passed()) << ValidationMessage(Texts(), 222, r.problems);
}

TEST_F(Validation, VantelixIdentitiesAndEmergencyTargets) {
  // Emergency by Vantelix: own fleet and ID, emergency fleet and ID needed.
  Img().setU8(0x7F0, '2');
  EXPECT_EQ(Entries(ValidateForWrite(data, Texts()).problems), (std::vector<int>{999, 1000, 811, 812}));
  Img().setU8(0x720, 1);
  Img().setU16le(0x721, 1);
  Img().setU8(0x7FA, 3);
  EXPECT_EQ(Entries(ValidateForWrite(data, Texts()).problems), (std::vector<int>{812}));
  // Emergency by DTMF needs the code.
  Img().setU8(0x7F0, '0');
  EXPECT_EQ(Entries(ValidateForWrite(data, Texts()).problems), (std::vector<int>{810}));
  Img().setU8(0x7F1, 4);
  EXPECT_TRUE(ValidateForWrite(data, Texts()).Passed());
}

TEST_F(Validation, IdListEntryNeedsOwnIdentity) {
  const size_t list = Img().u16le(0x9EC);
  ASSERT_TRUE(Img().InRange(list, 16));
  Img().setU8(list + 16 * 3 + 12, 7);
  EXPECT_EQ(Entries(ValidateForWrite(data, Texts()).problems), (std::vector<int>{999, 1000}));
  // A directory pointing outside the image is not followed.
  Img().setU16le(0x9EC, 0xBFF8);
  Img().setU16le(0x9EE, 500);
  EXPECT_TRUE(ValidateForWrite(data, Texts()).Passed());
}

TEST_F(Validation, GpsAndDispatcherIdentities) {
  Img().setBit(0x76E, 0, false);  // GPS switched on
  EXPECT_EQ(Entries(ValidateForWrite(data, Texts()).problems), (std::vector<int>{1056, 1057}));
  Img().setU8(0x760, 1);
  Img().setU16le(0x761, 2);
  Img().setU16le(0x771, 9);
  EXPECT_EQ(Entries(ValidateForWrite(data, Texts()).problems), (std::vector<int>{1081}));
  Img().setU16le(0x771, 0xFFFF);
  Img().setU8(0x770, 9);
  EXPECT_EQ(Entries(ValidateForWrite(data, Texts()).problems), (std::vector<int>{1082}));
}

TEST_F(Validation, MessageListsEveryProblemQuotedInSlotOrder) {
  Img().setU8(0x770, 9);
  static bool registered = false;
  if (!registered) {
    registered = true;
    // The link judges no priority channel itself: what another part of the
    // program registers in that early slot comes before the link's checks.
    RegisterWriteCheck("test", kSlotPriority1, [](RadioData&, TextTable&, std::vector<WriteProblem>& out) {
      out.push_back({816, {}});
    });
    RegisterWriteCheck("test", kSlotZones431, [](RadioData&, TextTable& t, std::vector<WriteProblem>& out) {
      out.push_back({0, t.Text(431) + "-" + t.Text(995)});
    });
    RegisterWriteCheck("test", kSlotZoneMerge, [](RadioData&, TextTable&, std::vector<WriteProblem>& out) {
      out.push_back({575, {}});
    });
  }
  const WriteValidationResult r = ValidateForWrite(data, Texts());
  TextTable& t = Texts();
  EXPECT_EQ(ValidationMessage(t, 222, r.problems),
            t.Text(222) + "\n\"" + t.Text(816) + "\"\n\"" + t.Text(1082) + "\"\n" + t.Text(431) + "-" + t.Text(995));
  EXPECT_EQ(Entries(r.mergeProblems), (std::vector<int>{575}));
}

// The warnings a write asks about, the same text for the program's question
// and the command line: the doubtful settings under their heading, then the
// frequencies outside the band under theirs, each list cut to a screenful.
TEST_F(Validation, WarningsMessageListsSettingsThenFrequencies) {
  TextTable& t = Texts();
  WriteValidationResult r;
  EXPECT_FALSE(r.HasWarnings());
  r.settingWarnings = {{813, {}}, {1160, {}}};
  EXPECT_TRUE(r.HasWarnings());
  EXPECT_TRUE(r.Passed());
  EXPECT_EQ(WarningsMessage(t, r), t.Text(1269) + "\n\"" + t.Text(813) + "\"\n\"" + t.Text(1160) + "\"");
  r.warnings = {{0, "a"}, {0, "b"}, {0, "c"}};
  EXPECT_EQ(WarningsMessage(t, r, 2), t.Text(1269) + "\n\"" + t.Text(813) + "\"\n\"" + t.Text(1160) + "\"\n\n" +
                                          t.Text(304) + "\na\nb\n... (+1)");
  r.settingWarnings.clear();
  EXPECT_EQ(WarningsQuestion(t, r), t.Text(304) + "\na\nb\nc\n\n" + t.Text(225));
}

TEST_F(Validation, WarningsForMobilesOnly) {
  Img().setU8(0x179, '1');
  Img().setBit(0x19D, 0, false);
  Img().setU16le(0x81E, 0x0100);
  WriteWarnings w = DueWriteWarnings(data, false, false);
  EXPECT_TRUE(w.first);
  EXPECT_TRUE(w.second);
  w = DueWriteWarnings(data, true, false);
  EXPECT_FALSE(w.first);
  EXPECT_TRUE(w.second);
  Img().setU16le(0x81E, 0x00BC);  // bits 2..5 and 7 do not count
  Img().setBit(0x19D, 0, true);
  EXPECT_FALSE(DueWriteWarnings(data, false, false).Any());
  Img().setU16le(0x81E, 0xFFFF);
  data.model.SetModel(ModelNumberOfName("VT-1400"));
  EXPECT_FALSE(DueWriteWarnings(data, false, false).Any());
}

// ---- Radio Information lines ------------------------------------------------------

TEST(RadioInfoText, SixLinesFromTheRecords) {
  RadioInfo info;
  const std::string rec = "VT-2400\xFF\xFF\xFF\xFF\xFFK3\xFF\xFF" "1234\xFF\xFF" "567890";
  ASSERT_EQ(rec.size(), 28u);
  std::copy(rec.begin(), rec.end(), info.record.begin());
  info.checksum = 0xBEEF;
  const std::string v = "V1.02 ";
  std::copy(v.begin(), v.end(), info.version.begin());
  const RadioInfoLines l = FormatRadioInfo(info);
  EXPECT_EQ(l.modelType, "  VT-2400:K3");
  EXPECT_EQ(l.frequency, "  450-520 MHz");
  EXPECT_EQ(l.serialNumber, "  1234  567890");
  EXPECT_EQ(l.version, "  V1.02 ");
  EXPECT_EQ(l.checksum, "  BEEF");
  EXPECT_EQ(l.passport, "  ");
  info.hasPassport = true;
  const std::string pp = "PP V3.00\xFF\xFF\xFF\xFF";
  std::copy(pp.begin(), pp.end(), info.passport.begin());
  EXPECT_EQ(FormatRadioInfo(info).passport, "  PP V3.00    ");
}

TEST(RadioInfoText, UnknownVariantGivesEmptyFrequency) {
  RadioInfo info;
  const std::string rec = "VT-1600     X9  ";
  std::copy(rec.begin(), rec.end(), info.record.begin());
  EXPECT_EQ(FormatRadioInfo(info).frequency, "  ");
}

TEST(EmbeddedMessage, LinesEndAtTheFirstFF) {
  RadioData data;
  ByteArea img = data.buffers.ScratchImage();
  img.fill(0x9A0, 64, 'x');
  img.writeText(0x9A0, "HELLO", 8, 0xFF);
  EXPECT_EQ(ReadSession::MessageLine(img, 0x9A0), "HELLO");
  EXPECT_EQ(ReadSession::MessageLine(img, 0x9C0), std::string(32, 'x'));
}

// ---- backups ------------------------------------------------------------------------

TEST(Backups, DefaultFolderIsBackupsInTheUsersDataFolder) {
  const vb420::testsupport::ScopedEnv xdg("XDG_DATA_HOME", "/x/data");
  const vb420::testsupport::ScopedEnv local("LOCALAPPDATA", "C:\\Users\\tech\\AppData\\Local");
  EXPECT_EQ(DefaultBackupFolder(), kWindowsFolders ? "C:\\Users\\tech\\AppData\\Local\\vb420\\backups"
                                                   : "/x/data/vb420/backups");
}

TEST(Backups, NameAndPruningKeepTheNewest) {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 7;
  t.tm_hour = 8;
  t.tm_min = 5;
  t.tm_sec = 9;
  EXPECT_EQ(BackupFileName(t, "VT-2600H"), "read-20261207-080509-VT-2600H.dat");
  EXPECT_EQ(BackupFileName(t, "a b/c"), "read-20261207-080509-a_b_c.dat");

  const auto dir = std::filesystem::temp_directory_path() / ("vb420-bk-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  // Older backups and a file that is not one.
  for (int i = 0; i < 5; ++i) std::ofstream(dir / ("read-2020010" + std::to_string(i) + "-000000-VT-1600.dat")) << i;
  std::ofstream(dir / "notes.txt") << "keep";
  RadioData data;
  InitNewImage(data, true);
  data.Image().setU8(0x3000, 0x42);
  std::string error;
  const std::string a = SaveBackup(data, dir.string(), error, 3);
  ASSERT_FALSE(a.empty()) << error;
  const std::string b = SaveBackup(data, dir.string(), error, 3);
  ASSERT_FALSE(b.empty()) << error;
  EXPECT_NE(a, b);
  const std::vector<std::string> left = ListBackups(dir.string());
  ASSERT_EQ(left.size(), 3u);
  EXPECT_EQ(std::filesystem::path(left[0]).filename(), "read-20200104-000000-VT-1600.dat");
  EXPECT_EQ(left[1], a);
  EXPECT_EQ(left[2], b);
  EXPECT_TRUE(std::filesystem::exists(dir / "notes.txt"));
  // The backup is a data file holding the programming.
  RadioData back;
  ASSERT_EQ(LoadDatFile(b, back).result, kFileOk);
  EXPECT_EQ(back.buffers.ScratchImage().u8(0x3000), 0x42);
  std::filesystem::remove_all(dir);

  EXPECT_TRUE(SaveBackup(data, "", error).empty());
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vb420
