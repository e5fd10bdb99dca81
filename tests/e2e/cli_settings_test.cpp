// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli settings: every table field by key; the file changes only when
// every assignment of the command was accepted.
#include "support/Paths.h"
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/CliRun.h"
#include "data/DataFile.h"
#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "editors/features/FeatureFields.h"
#include "editors/forms/FieldSets.h"
#include "editors/messages/MessageFields.h"
#include "editors/testfreq/TestFreqFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"
#include "support/FieldSetNames.h"
#include "support/Registered.h"

namespace {

using vb420::test::CliRun;
using vb420::test::RunCli;

class CliSettings : public vb420::test::NewFileTest {};

TEST_F(CliSettings, AssignmentsAreStoredByTheWindowRulesAndListed) {
  const CliRun set = RunCli("settings --clamp " + file_ +
                            " zone.2.ch.4.rxf=146.52 zone.2.ch.4.name=depot zone.2.header.7=5000 zone.2.header.8=");
  ASSERT_EQ(set.exitCode, 0) << set.err;
  // Each assignment answers with the text the window shows afterwards:
  // the receive frequency copied, the number clamped, the empty entry "Off".
  EXPECT_EQ(set.out,
            "zone.2.ch.4.rxf=146.52000\nzone.2.ch.4.name=depot\nzone.2.header.7=1200\nzone.2.header.8=Off\n");
  const CliRun get = RunCli("settings " + file_ + " zone.2.ch.4.txf zone.2.ch.4.scramblecode");
  ASSERT_EQ(get.exitCode, 0) << get.err;
  // Field 19 is disabled without system type 1 and says so.
  EXPECT_EQ(get.out, "zone.2.ch.4.txf=146.52000\nzone.2.ch.4.scramblecode=1\t[disabled]\n");
  const CliRun list = RunCli("settings " + file_ + " --editor channel");
  ASSERT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out.rfind("zone.2.ch.4.rxf=146.52000\nzone.2.ch.4.txf=146.52000\nzone.2.ch.4.rxtone=Off\n", 0), 0u)
      << list.out;
  EXPECT_EQ(list.out.find("header"), std::string::npos);  // only the channel editor's fields
}

// A name longer than its field keeps the characters that fit whole: the
// last euro sign does not fit and is left out, not cut in half.
TEST_F(CliSettings, ALongNameIsCutBetweenCharacters) {
  const CliRun r = RunCli("settings " + file_ + " zone.1.ch.1.rxf=146.52 'zone.1.ch.1.name=AB\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC'");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "zone.1.ch.1.rxf=146.52000\nzone.1.ch.1.name=AB\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\n");
}

// vb420cli knows every field set, in the order of the one registration.
TEST_F(CliSettings, EveryFieldSetIsAnEditor) {
  const CliRun r = RunCli("settings " + file_ + " --editor nosuch");
  EXPECT_EQ(r.exitCode, 10);
  std::string expected;
  for (const std::string& name : vb420::testsupport::AllFieldSetNames()) expected += (expected.empty() ? "" : ", ") + name;
  EXPECT_NE(r.err.find("(editors: " + expected + ")"), std::string::npos) << r.err;
  EXPECT_EQ(vb420::RegisteredFieldSetNames(), vb420::testsupport::AllFieldSetNames());
}

TEST_F(CliSettings, ARefusedAssignmentSavesNothing) {
  ASSERT_EQ(RunCli("settings " + file_ + " zone.2.ch.4.rxf=146.52").exitCode, 0);
  const std::string before = FileBytes();
  struct Case {
    const char* args;
    int exitCode;
    const char* says;
  } cases[] = {
      {" zone.2.ch.4.name=OK zone.2.ch.4.nosuch=1", 10, "no such setting"},
      {" zone.2.ch.4.name=OK zone.9.rep.1.rxf=151", 10, "no such setting"},  // repeaters never make a zone
      {" zone.2.ch.4.name=OK zone.9.group.1.name=x", 11, "cannot be changed"},  // a group name waits for its group
      {" zone.2.ch.4.name=OK zone.2.ch.4.scramblecode=3", 11, "cannot be changed"},
      {" zone.2.ch.4.name=OK zone.2.ch.4.power=Medium", 12, "not one of its choices"},
      {" --editor nosuch", 10, "no editor named"},
  };
  for (const Case& c : cases) {
    const CliRun r = RunCli("settings " + file_ + c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(FileBytes(), before) << c.args;
    // The accepted name was not saved: it is not printed as if it were.
    EXPECT_EQ(r.out, "") << c.args;
  }
  // Only reading never saves either, even when every key is good.
  ASSERT_EQ(RunCli("settings " + file_ + " zone.2.ch.4.name").exitCode, 0);
  EXPECT_EQ(FileBytes(), before);
}

// The disk takes no more (here: a file size limit of 4 KB): every assignment
// was accepted but none is saved, and standard output stays empty.
TEST_F(CliSettings, ValuesArePrintedOnlyOnceTheyAreSaved) {
#ifdef _WIN32
  GTEST_SKIP() << "the file size limit is set by a POSIX shell (ulimit -f)";
#endif
  const std::string before = FileBytes();
  const CliRun r = RunCli("settings " + file_ + " zone.2.ch.4.rxf=146.52 zone.2.ch.4.name=depot",
                          "trap '' XFSZ; ulimit -f 8; ");
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("File too large"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(FileBytes(), before);
}

// A frequency the zone memory cannot take (the limit of 512 channels and
// groups, a text that is no frequency): the window's message, exit 13, and
// the file as it was.
TEST_F(CliSettings, AFrequencyTheMemoryRefusesSavesNothing) {
  {
    vb420::RadioData data;
    ASSERT_EQ(vb420::LoadDatFile(file_, data).result, vb420::kFileOk);
    data.buffers.AcceptScratch();
    data.SyncCodecs();
    vb420::CZoneMemory zones(data);
    for (int z = 0; z < 3; ++z) {
      ASSERT_EQ(zones.CreateZone(z, '0'), 1);
      for (int g = 0; g < (z < 2 ? 250 : 12); ++g) ASSERT_EQ(zones.InsertRecord(z, g), 1);
    }
    ASSERT_EQ(vb420::SaveDatFile(file_, data).result, vb420::kFileOk);
  }
  vb420::TextTable english;
  ASSERT_EQ(english.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English"), vb420::TextTable::LoadResult::Ok);
  const std::string before = FileBytes();
  for (const char* arg : {" zone.5.ch.2.rxf=146.54", " zone.1.group.1.name=X zone.5.ch.2.rxf=146.54"}) {
    const CliRun r = RunCli("settings " + file_ + arg);
    EXPECT_EQ(r.exitCode, 13) << arg;
    EXPECT_NE(r.err.find(english.Text(299)), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("nothing was saved"), std::string::npos) << r.err;
    EXPECT_EQ(FileBytes(), before) << arg;
  }
}

// The bench editors' keys: the listing shows the windows' texts, and an
// assignment leaves the bytes the window would.
class CliBenchSettings : public CliSettings {
 protected:
  void Load(vb420::RadioData& data) {
    ASSERT_EQ(vb420::LoadDatFile(file_, data).result, vb420::kFileOk);
    data.buffers.AcceptScratch();
    data.SyncCodecs();
  }
};

TEST_F(CliBenchSettings, TestFrequenciesListAndStoreAsTheGrid) {
  vb420::RadioData copy;
  Load(copy);
  const CliRun list = RunCli("settings " + file_ + " --editor testfreq");
  ASSERT_EQ(list.exitCode, 0) << list.err;
  std::string want;
  for (int slot = 0; slot < vb420::kTestFreqSlots; ++slot)
    for (int col = 0; col < 2; ++col) {
      const bool usable = col == 0 || vb420::TestFreqSet(copy, slot, 0);
      want += "testfreq." + std::to_string(slot + 1) + (col ? ".tx=" : ".rx=") + vb420::TestFreqText(copy, slot, col) +
              (usable ? "" : "\t[disabled]") + "\n";
    }
  EXPECT_EQ(list.out, want);
  EXPECT_NE(list.out.find("testfreq.1.rx=1"), std::string::npos);  // the defaults are there

  const CliRun set = RunCli("settings " + file_ + " testfreq.3.rx=150.1 testfreq.9.rx=151.25");
  ASSERT_EQ(set.exitCode, 0) << set.err;
  vb420::StoreTestFreq(copy, 2, 0, "150.1");
  vb420::StoreTestFreq(copy, 8, 0, "151.25");
  EXPECT_EQ(set.out, "testfreq.3.rx=" + vb420::TestFreqText(copy, 2, 0) + "\ntestfreq.9.rx=" +
                         vb420::TestFreqText(copy, 8, 0) + "\n");
  vb420::RadioData saved;
  Load(saved);
  EXPECT_EQ(saved.buffers.ImageBytes(), copy.buffers.ImageBytes());
  EXPECT_EQ(saved.buffers.ExtBytes(), copy.buffers.ExtBytes());

  // Outside the band: stored, and the grid's warning on stderr.
  vb420::TextTable english;
  ASSERT_EQ(english.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English"), vb420::TextTable::LoadResult::Ok);
  const CliRun warned = RunCli("settings " + file_ + " testfreq.4.tx=470");
  ASSERT_EQ(warned.exitCode, 14) << warned.err;  // stored as the band's limit
  EXPECT_NE(warned.err.find("testfreq.4.tx: " + english.Text(284)), std::string::npos) << warned.err;
}

TEST_F(CliBenchSettings, RefusedBenchValuesLeaveTheFileUnchanged) {
  const std::string before = FileBytes();
  struct Case {
    const char* args;
    int exitCode;
  } cases[] = {
      {" message.1=ok testfreq.3.rx=abc", 13},        {" testfreq.3.rx=1234567890", 13},
      {" testfreq.12.tx=151", 11},                    {" testfreq.17.rx=151", 10},
      {" passmessage.password=1234567", 13},          {" 'message.2=tab\there'", 13},
      {" passmessage.1=ok message.3=x", 10},
  };
  for (const Case& c : cases) {
    const CliRun r = RunCli("settings " + file_ + c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args << r.err;
    EXPECT_NE(r.err.find("nothing was saved"), std::string::npos) << r.err;
    EXPECT_EQ(FileBytes(), before) << c.args;
  }
}

TEST_F(CliBenchSettings, MessageLinesAreCutAndStoredAsTheWindowStoresThem) {
  const std::string forty = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcd";
  const CliRun set = RunCli("settings " + file_ + " 'message.1=" + forty + "' 'message.2=AB   ' " +
                            "'passmessage.1=BENCH 4' passmessage.password=4711");
  ASSERT_EQ(set.exitCode, 0) << set.err;
  EXPECT_EQ(set.out, "message.1=" + forty.substr(0, 32) + "\nmessage.2=AB\npassmessage.1=BENCH 4\n"
                     "passmessage.password=4711\n");
  vb420::RadioData saved;
  Load(saved);
  const auto* line1 = saved.Image().ptr(vb420::img::kEmbeddedMessage, 64);
  // The full line has no terminator; the short one is zero-filled.
  EXPECT_EQ(std::string(line1, line1 + 32), forty.substr(0, 32));
  EXPECT_EQ(std::string(line1 + 32, line1 + 64), std::string("AB") + std::string(30, '\0'));
  EXPECT_EQ(vb420::MessageLineText(saved.Ext(), vb420::ext::kMessageLine1), "BENCH 4");
  EXPECT_EQ(vb420::MessagePassword(saved.Ext()), "4711");
  const CliRun list = RunCli("settings " + file_ + " --editor passmessage");
  ASSERT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out, "passmessage.1=BENCH 4\npassmessage.2=\npassmessage.password=4711\n");
}

}  // namespace

namespace {

// The radio-wide editors' keys: the listing of a new VT-1600 and VT-1602 is
// the field sets' own listing, line by line, and an assignment answers with
// the text the window then shows.
TEST_F(CliSettings, FeaturesAreListedAndSetByKey) {
  for (const char* model : {"VT-1600", "VT-1602"}) {
    ASSERT_EQ(RunCli("new -o " + file_ + " --model " + model).exitCode, 0);
    const CliRun list = RunCli("settings " + file_ + " --editor features");
    ASSERT_EQ(list.exitCode, 0) << list.err;
    vb420::TextTable text;
    ASSERT_EQ(text.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English"), vb420::TextTable::LoadResult::Ok);
    vb420::RadioData data(&text);
    ASSERT_TRUE(vb420::LoadDatFile(file_, data).ok());
    data.buffers.AcceptScratch();
    data.SyncCodecs();
    (void)vb420::FeatureFieldTable();
    std::vector<vb420::forms::SettingLine> lines;
    ASSERT_EQ(vb420::forms::ListSettings(data, text, "features", lines), vb420::forms::SettingStatus::Ok);
    std::string expected;
    for (const auto& l : lines) expected += l.key + "=" + l.text + (l.enabled ? "" : "\t[disabled]") + "\n";
    EXPECT_EQ(list.out, expected) << model;
    // No data board on a new programming, none at all on the second generation.
    EXPECT_NE(list.out.find("features.data.emergencyreport=\t[disabled]\n"), std::string::npos);
    EXPECT_NE(list.out.find("features.common.displaychars=Off\n"), std::string::npos);
  }
  const CliRun set = RunCli("settings --clamp " + file_ + " features.1.2=35 features.0.0=12 keys.3.press=\"Direct Channel 1\"");
  ASSERT_EQ(set.exitCode, 0) << set.err;
  EXPECT_EQ(set.out, "features.1.2=31\nfeatures.0.0=8\nkeys.3.press=Direct Channel 1\n");
}

}  // namespace
