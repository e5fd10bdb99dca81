// SPDX-License-Identifier: GPL-3.0-or-later
// The channel plan as text: the exact bytes of an export, the reader's rules
// (vocabulary, columns in any order, first-record clearing, skipped records,
// line ends, foreign encodings, a cut-off file) and the round trip of a full
// programming.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/plan/ItmFile.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"
#include "support/Registered.h"

namespace vb420 {
namespace {

TextTable& Texts() {
  static TextTable table = [] {
    TextTable t;
    std::string lng = "*Language,English\n";
    for (int i = 0; i < TextTable::kEntryCount; ++i) {
      std::string s = "T" + std::to_string(i);
      if (i == 3) s = "Version 1.20";
      if (i == 176) s = "\"%s: %s applied, %s skipped\"";
      lng += "^#" + TextTable::IdentifierOf(i) + "," + s + "\n";
    }
    t.LoadText(lng, "English");
    return t;
  }();
  return table;
}

const std::string kHead =
    "MARDEKO ZEL\r\n[Export Info]=VB-420 Version 1.20\r\n[Radio Type]=LTR\r\n[Radio Band]=VHF\r\n[Language]=English\r\n";

class Itm : public ::testing::Test {
 protected:
  Itm() : data(&Texts()), zm(data) { Fresh(data); }
  static void Fresh(RadioData& d) {
    d.buffers.Clear();
    InitNewImage(d, true);
    d.SyncCodecs();
    // The stand-in list set of itm_lists_test keeps its rows outside the
    // image: they start empty here too.
    forms::SettingLine out;
    int message = 0;
    for (int n = 1; n <= 100; ++n) {
      (void)forms::SetSetting(d, Texts(), "idlist." + std::to_string(n) + ".fleet", "", out, message);
      (void)forms::SetSetting(d, Texts(), "status." + std::to_string(n) + ".sts", "", out, message);
    }
  }
  bool Set(RadioData& d, const std::string& key, const std::string& value) {
    forms::SettingLine out;
    int message = 0;
    return forms::SetSetting(d, Texts(), key, value, out, message) == forms::SettingStatus::Ok;
  }
  std::string Get(RadioData& d, const std::string& key) {
    forms::SettingLine out;
    return forms::GetSetting(d, Texts(), key, out) == forms::SettingStatus::Ok ? out.text : "?";
  }
  ImportResult Import(RadioData& d, const std::string& file, bool accept = true) {
    warning.clear();
    return ImportItmText(file, d, Texts(), [&](const std::string& w) { warning = w; return accept; }, summary);
  }
  std::string Export(RadioData& d) { return BuildItmText(d, Texts()); }
  // A field no set knows yet is written empty.
  std::string Shown(const std::string& key) {
    const std::string t = Get(data, key);
    return t == "?" ? std::string() : t;
  }

  RadioData data;
  CZoneMemory zm;
  ItmImportSummary summary;
  std::string warning;
};

// ---- export ------------------------------------------------------------------

TEST_F(Itm, EmptyProgrammingWritesTheHeaderOnly) {
  EXPECT_EQ(Export(data), kHead);
  EXPECT_EQ(Export(data).find("// Conventional Data"), std::string::npos);
}

TEST_F(Itm, ExportLinesAreExactAndQuoteCommasAndQuotes) {
  ASSERT_TRUE(Set(data, "zone.2.ch.7.rxf", "146.52"));
  ASSERT_TRUE(Set(data, "zone.2.ch.7.txf", "147.12"));
  ASSERT_TRUE(Set(data, "zone.2.ch.7.name", "A,B"));
  ASSERT_TRUE(Set(data, "zone.2.ch.3.rxf", "150"));
  ASSERT_TRUE(Set(data, "zone.2.ch.3.name", "\"Q\""));
  ASSERT_EQ(zm.CreateZone(4, '0'), 1);
  ASSERT_TRUE(Set(data, "zone.5.group.9.encode", "12"));
  ASSERT_TRUE(Set(data, "zone.5.group.9.decode", "13"));
  ASSERT_TRUE(Set(data, "zone.5.group.9.name", "GRP"));
  ASSERT_TRUE(Set(data, "zone.5.group.10.encode", "14"));  // no decode ID: left out
  ASSERT_TRUE(Set(data, "zone.5.rep.2.rxf", "146.0"));
  const std::string rx3 = Get(data, "zone.2.ch.3.rxf");
  const std::string tx3 = Get(data, "zone.2.ch.3.txf");
  const std::string tone = Get(data, "zone.2.ch.3.rxtone");
  const std::string tel = Get(data, "zone.5.rep.2.telephone");
  const std::string expected =
      kHead + "\r\n// Conventional Data\r\n$$,CNVDATA,ZN,CH,RXF,TXF,RXSIG,TXSIG,NAME\r\n" +
      "$,,2,3," + rx3 + "," + tx3 + "," + tone + "," + Get(data, "zone.2.ch.3.txtone") + ",\"\"\"Q\"\"\"\r\n" +
      "$,,2,7,146.52000,147.12000," + Get(data, "zone.2.ch.7.rxtone") + "," + Get(data, "zone.2.ch.7.txtone") +
      ",\"A,B\"\r\n" + "\r\n// Trunking System\r\n$$,LTRDATA,ZN,GID,ENCID,DECID,NAME\r\n$,,5,9,12,13,GRP\r\n" +
      "\r\n// LTR Repeater Data\r\n$$,REPDATA,ZN,NUM,RXF,TXF,TEL,AREA,HOME\r\n$,,5,2,146.00000,151.00000," + tel +
      "," + Shown("zone.5.header.area") + "," + Shown("zone.5.header.home") + "\r\n";
  EXPECT_EQ(rx3, "150.00000");
  EXPECT_EQ(Export(data), expected);
}

TEST_F(Itm, ExportWritesThroughATemporaryFileAndNeverLeavesAPartOne) {
  char dir[] = "/tmp/itm_export_XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/plan.itm";
  { std::ofstream(path) << "old contents"; }
  ASSERT_TRUE(Set(data, "zone.1.ch.1.rxf", "146.52"));
  ExportStatus st = ExportItmFile(path, data, Texts());
  ASSERT_TRUE(st.ok());
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  EXPECT_EQ(ss.str(), Export(data));
  // A folder in the way: the export fails and nothing is left beside it.
  const std::string folder = std::string(dir) + "/sub.itm";
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  st = ExportItmFile(folder, data, Texts());
  EXPECT_FALSE(st.ok());
  EXPECT_EQ(st.result, ExportResult::CannotCreate);
  struct stat info {};
  EXPECT_NE(::stat((folder + ".tmp~").c_str(), &info), 0);
  // A missing folder: cannot be created, the existing file stays.
  st = ExportItmFile(std::string(dir) + "/none/x.itm", data, Texts());
  EXPECT_EQ(st.result, ExportResult::CannotCreate);
  std::remove(path.c_str());
  ::rmdir(folder.c_str());
  ::rmdir(dir);
}

// ---- import: header --------------------------------------------------------------

TEST_F(Itm, AFileThatIsNotOursChangesNothing) {
  ASSERT_TRUE(Set(data, "zone.1.ch.1.rxf", "146.52"));
  const auto before = data.buffers.ImageBytes();
  EXPECT_EQ(Import(data, "MARDEKO ZEL2\r\n$$,CNVDATA,ZN,CH,RXF\r\n$,,3,3,150\r\n"), ImportResult::Refused);
  EXPECT_EQ(Import(data, ""), ImportResult::Refused);
  EXPECT_EQ(data.buffers.ImageBytes(), before);
}

TEST_F(Itm, BandAndLanguageMismatchAsk) {
  const std::string file = "MARDEKO ZEL\n[Radio Band]=UHF\n[Language]=Spanish\n$$,CNVDATA,ZN,CH,RXF\n$,,3,3,150\n";
  const auto before = data.buffers.ImageBytes();
  EXPECT_EQ(Import(data, file, false), ImportResult::Refused);
  EXPECT_EQ(data.buffers.ImageBytes(), before);
  EXPECT_EQ(warning, "T122\n\n\"T124\"\n\"T125 : Spanish\"\n\nT123");
  EXPECT_EQ(Import(data, file, true), ImportResult::Ok);
  EXPECT_EQ(Get(data, "zone.3.ch.3.rxf"), "150.00000");
  // Matching band and language, other keys and lines without "=" are no reason to ask.
  EXPECT_EQ(Import(data, "MARDEKO ZEL\n[Radio Band]=VHF\n[Language]=English\n[Radio Type]=X\njunk\n", false),
            ImportResult::Ok);
  EXPECT_TRUE(warning.empty());
}

// ---- import: records ---------------------------------------------------------------

TEST_F(Itm, ColumnsInAnyOrderAndTheFirstRecordClearsAllZones) {
  ASSERT_EQ(zm.CreateZone(9, '0'), 1);
  ASSERT_TRUE(Set(data, "zone.10.group.1.encode", "5"));
  const std::string file =
      "MARDEKO ZEL\r\n$$,CNVDATA,NAME,TXSIG,RXSIG,TXF,RXF,CH,ZN\r\n$,,\"X,Y\",,,,146.5,4,10\r\n"
      "$,,NOTX,D023N,D023N,,147.0,5,10\r\n";
  ASSERT_EQ(Import(data, file), ImportResult::Ok);
  // Zone 10 was an LTR zone: the clearing before the first record made room for it.
  EXPECT_EQ(zm.ZoneClass(9), kClassConv);
  EXPECT_EQ(zm.ZoneType(9), '1');
  EXPECT_EQ(Get(data, "zone.10.ch.4.name"), "X,Y");
  EXPECT_EQ(Get(data, "zone.10.ch.4.rxf"), "146.50000");
  // An empty TXF leaves the transmit tone off whatever the file says.
  EXPECT_EQ(Get(data, "zone.10.ch.5.rxtone"), "D023N");
  EXPECT_EQ(summary.sections[itm::kSecConv].applied, 2);
  EXPECT_EQ(summary.sections[itm::kSecConv].skipped, 0);
}

TEST_F(Itm, SkippedRecordsAreCountedAndTheRestApplies) {
  const std::string file =
      "MARDEKO ZEL\n$$,LTRDATA,ZN,GID,ENCID,DECID,NAME\n$,,2,1,7,8,LTR\n"
      "$$,CNVDATA,ZN,CH,RXF\n"
      "$,,2,1,146.52\n"    // zone 2 is trunked now: skipped
      "$,,129,1,146.52\n"  // zone out of range
      "$,,1,251,146.52\n"  // channel out of range
      "$,,1,1,\n"          // no receive frequency
      "$,,1,1,146.52\n"
      "$$,5TONESEL,CODE,MSG\n$,,1,2\n"
      "$$,FLTLIST,NUM,FLEET\n$,,101,200\n"
      "just a comment line\n";
  ASSERT_EQ(Import(data, file), ImportResult::Ok);
  EXPECT_EQ(summary.sections[itm::kSecLtr].applied, 1);
  EXPECT_EQ(summary.sections[itm::kSecConv].applied, 1);
  EXPECT_EQ(summary.sections[itm::kSecConv].skipped, 4);
  EXPECT_EQ(summary.sections[itm::kSecIdList].skipped, 1);
  EXPECT_EQ(summary.fiveToneIgnored, 1);
  EXPECT_EQ(zm.ZoneClass(1), kClassLtr);
  EXPECT_EQ(Get(data, "zone.2.group.1.decode"), "8");
  EXPECT_EQ(Get(data, "zone.1.ch.1.rxf"), "146.52000");
  EXPECT_EQ(ItmSummaryText(summary, Texts()), "T175\nT530: 1 applied, 4 skipped\nT529: 1 applied, 0 skipped\nT995: 0 applied, 1 skipped\nT1252\n5");
}

// Channel and group 250 are the last numbers a zone holds: they are applied,
// 251 is skipped.
TEST_F(Itm, ChannelAndGroup250AreTheLastAccepted) {
  const std::string file =
      "MARDEKO ZEL\n$$,CNVDATA,ZN,CH,RXF\n$,,1,250,146.52\n$,,1,251,146.52\n"
      "$$,LTRDATA,ZN,GID,ENCID,DECID\n$,,2,250,7,8\n$,,2,251,9,9\n";
  ASSERT_EQ(Import(data, file), ImportResult::Ok);
  EXPECT_EQ(summary.sections[itm::kSecConv].applied, 1);
  EXPECT_EQ(summary.sections[itm::kSecConv].skipped, 1);
  EXPECT_EQ(summary.sections[itm::kSecLtr].applied, 1);
  EXPECT_EQ(summary.sections[itm::kSecLtr].skipped, 1);
  EXPECT_EQ(Get(data, "zone.1.ch.250.rxf"), "146.52000");
  EXPECT_EQ(Get(data, "zone.2.group.250.decode"), "8");
  EXPECT_EQ(summary.Skipped(), 2);
}

TEST_F(Itm, GroupColumnsUseThePreviousZoneAndGroupUntilNamed) {
  // NAME before ZN and GID: the first record names zone 1, group 1.
  const std::string file =
      "MARDEKO ZEL\n$$,LTRDATA,NAME,ZN,GID,ENCID,DECID\n$,,,1,1,3,4\n$,,FIRST,3,2,5,6\n$,,SECOND,0,2,5,6\n";
  ASSERT_EQ(Import(data, file), ImportResult::Ok);
  EXPECT_EQ(Get(data, "zone.1.group.1.encode"), "3");
  EXPECT_EQ(Get(data, "zone.1.group.1.name"), "FIRST");  // named by the second line, before its ZN
  EXPECT_EQ(Get(data, "zone.3.group.2.name"), "SECOND");
  EXPECT_EQ(summary.sections[itm::kSecLtr].applied, 2);
  EXPECT_EQ(summary.sections[itm::kSecLtr].skipped, 1);  // zone 0 ends the third record
}

// The column that makes a record (a group's ENCID, a repeater's RXF) is
// stored before the other values of its record wherever it stands.
TEST_F(Itm, TheColumnThatMakesARecordGoesFirstInAnyColumnOrder) {
  const std::string file =
      "MARDEKO ZEL\n$$,LTRDATA,ZN,GID,DECID,ENCID,NAME\n$,,1,1,7,8,ONE\n"
      // A name before ZN still belongs to the group before it; the encode ID
      // of this record does not go there.
      "$$,LTRDATA,NAME,ZN,GID,DECID,ENCID\n$,,NEW,3,2,6,5\n"
      "$$,REPDATA,ZN,NUM,TXF,TEL,RXF\n$,,1,2,151.0," + Texts().Text(372) + ",146.0\n";
  ASSERT_EQ(Import(data, file), ImportResult::Ok);
  EXPECT_EQ(summary.sections[itm::kSecLtr].applied, 2);
  EXPECT_EQ(summary.sections[itm::kSecRep].applied, 1);
  EXPECT_EQ(summary.Skipped(), 0);
  EXPECT_EQ(Get(data, "zone.1.group.1.encode"), "8");
  EXPECT_EQ(Get(data, "zone.1.group.1.decode"), "7");
  EXPECT_EQ(Get(data, "zone.1.group.1.name"), "NEW");
  EXPECT_EQ(Get(data, "zone.3.group.2.encode"), "5");
  EXPECT_EQ(Get(data, "zone.3.group.2.decode"), "6");
  EXPECT_EQ(Get(data, "zone.1.rep.2.rxf"), "146.00000");
  EXPECT_EQ(Get(data, "zone.1.rep.2.txf"), "151.00000");
  EXPECT_EQ(Get(data, "zone.1.rep.2.telephone"), Texts().Text(372));
}

// Zones and lists are cleared only when a record is applied: a plan whose
// records all fail changes no byte, and one that applies only list records
// leaves the zones alone.
TEST_F(Itm, AnImportThatAppliesNothingChangesNothing) {
  ASSERT_TRUE(Set(data, "zone.1.ch.1.rxf", "146.52"));
  ASSERT_TRUE(Set(data, "zone.2.group.1.encode", "3"));
  ASSERT_TRUE(Set(data, "idlist.1.fleet", "200"));
  ASSERT_TRUE(Set(data, "idlist.1.id", "1500"));
  ASSERT_TRUE(Set(data, "status.1.sts", "20"));
  const auto image = data.buffers.ImageBytes();
  const auto ext = data.buffers.ExtBytes();
  const std::string failing[] = {
      "$$,CNVDATA,ZN,CH,RXF,TXF,RXSIG,TXSIG,NAME\n$,,Zone 1,1,146.52,146.52,Off,Off,A\n",
      "$$,LTRDATA,ZN,GID,ENCID,DECID,NAME\n$,,0,1,5,5,A\n",
      // Fails after its first values were stored.
      "$$,FLTLIST,NUM,FLEET,ID,NAME,INH\n$,,1,201,1501,X,MAYBE\n",
      "$$,FLTST,NUM,STS,INH\n$,,1,30,MAYBE\n",
      "$$,REPDATA,ZN,NUM,RXF,TEL\n$,,2,1,146.0,MAYBE\n",
      "$$,5TONESEL,CODE,MSG\n$,,1,2\n",
      "",
  };
  for (const std::string& body : failing) {
    ASSERT_EQ(Import(data, "MARDEKO ZEL\n" + body), ImportResult::Ok) << body;
    EXPECT_TRUE(summary.NothingApplied()) << body;
    EXPECT_TRUE(data.buffers.ImageBytes() == image) << body;
    EXPECT_TRUE(data.buffers.ExtBytes() == ext) << body;
    EXPECT_NE(ItmSummaryText(summary, Texts()).find("T1249"), std::string::npos) << body;
  }
  // The failing channel does not clear the zones for the ID-list record after it.
  ASSERT_EQ(Import(data, "MARDEKO ZEL\n" + failing[0] + "$$,FLTLIST,NUM,FLEET,ID\n$,,2,210,1600\n"), ImportResult::Ok);
  EXPECT_EQ(summary.Applied(), 1);
  EXPECT_EQ(ItmSummaryText(summary, Texts()).find("T1249"), std::string::npos);
  EXPECT_EQ(Get(data, "zone.1.ch.1.rxf"), "146.52000");
  EXPECT_EQ(Get(data, "zone.2.group.1.encode"), "3");
  EXPECT_EQ(Get(data, "idlist.1.fleet"), "");  // the list was cleared by the record applied
  EXPECT_EQ(Get(data, "idlist.2.fleet"), "210");
  // A failing first channel, then one that applies: now the zones go.
  ASSERT_EQ(Import(data, "MARDEKO ZEL\n" + failing[0] + "$,,4,1,147.0\n"), ImportResult::Ok);
  EXPECT_EQ(summary.sections[itm::kSecConv].applied, 1);
  EXPECT_FALSE(zm.ZoneExists(0));
  EXPECT_FALSE(zm.ZoneExists(1));
  EXPECT_EQ(Get(data, "zone.4.ch.1.rxf"), "147.00000");
}

TEST_F(Itm, ConventionalZoneRefusesGroupsAndRepeatersNeedAnLtrZone) {
  const std::string file =
      "MARDEKO ZEL\n$$,CNVDATA,ZN,CH,RXF\n$,,1,1,146.52\n$$,LTRDATA,ZN,GID,ENCID,DECID,NAME\n$,,1,1,3,4,X\n"
      "$$,REPDATA,ZN,NUM,RXF,TXF,TEL\n$,,1,1,146.0,,\n$,,2,1,146.0,,\n";
  ASSERT_EQ(Import(data, file), ImportResult::Ok);
  EXPECT_EQ(zm.ZoneClass(0), kClassConv);
  EXPECT_EQ(zm.RecordCount(0), 1);
  EXPECT_EQ(summary.sections[itm::kSecLtr].skipped, 1);
  EXPECT_EQ(summary.sections[itm::kSecRep].skipped, 2);
}

TEST_F(Itm, AnIdListOnlyImportLeavesTheZonesAlone) {
  ASSERT_TRUE(Set(data, "zone.1.ch.1.rxf", "146.52"));
  const auto zonesBefore = Export(data);
  ASSERT_EQ(Import(data, "MARDEKO ZEL\n$$,FLTLIST,NUM,FLEET,ID,NAME,INH\n$,,1,200,1500,A,\n"), ImportResult::Ok);
  EXPECT_EQ(Get(data, "zone.1.ch.1.rxf"), "146.52000");
  EXPECT_EQ(summary.sections[itm::kSecIdList].applied + summary.sections[itm::kSecIdList].skipped, 1);
}

TEST_F(Itm, LineEndsAndACutOffLastLine) {
  const std::string lf = "MARDEKO ZEL\n$$,CNVDATA,ZN,CH,RXF,NAME\n$,,1,1,146.52,\"A,B\"\n$,,1,2,147.0,C\n";
  std::string crlf;
  for (char c : lf) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  RadioData other(&Texts());
  Fresh(other);
  ASSERT_EQ(Import(data, lf), ImportResult::Ok);
  ASSERT_EQ(Import(other, crlf), ImportResult::Ok);
  EXPECT_EQ(data.buffers.ImageBytes(), other.buffers.ImageBytes());
  EXPECT_EQ(data.buffers.ExtBytes(), other.buffers.ExtBytes());
  EXPECT_EQ(Get(other, "zone.1.ch.1.name"), "A,B");

  // Cut in the middle of the last record: the complete records apply, the
  // rest is reported.
  RadioData cut(&Texts());
  Fresh(cut);
  const std::string partial = lf.substr(0, lf.size() - 4);  // "$,,1,2,147.0" without its end
  ASSERT_EQ(Import(cut, partial), ImportResult::Ok);
  EXPECT_TRUE(summary.cutOff);
  EXPECT_EQ(summary.sections[itm::kSecConv].applied, 1);
  EXPECT_EQ(summary.sections[itm::kSecConv].skipped, 1);
  EXPECT_EQ(Get(cut, "zone.1.ch.1.name"), "A,B");
  EXPECT_EQ(Get(cut, "zone.1.ch.2.rxf"), "");
  EXPECT_NE(ItmSummaryText(summary, Texts()).find("T177"), std::string::npos);
}

TEST_F(Itm, Latin1NamesDoNotDisturbTheOtherFields) {
  const std::string file = "MARDEKO ZEL\r\n$$,CNVDATA,ZN,CH,RXF,TXF,NAME\r\n$,,1,1,146.52,147.0,Pe\xf1" "a \xe9\xe8\r\n"
                           "$,,1,2,148.0,,\xff\xfe\r\n";
  ASSERT_EQ(Import(data, file), ImportResult::Ok);
  EXPECT_EQ(summary.sections[itm::kSecConv].applied + summary.sections[itm::kSecConv].skipped, 2);
  EXPECT_EQ(Get(data, "zone.1.ch.1.rxf"), "146.52000");
  EXPECT_EQ(Get(data, "zone.1.ch.1.txf"), "147.00000");
  EXPECT_EQ(Get(data, "zone.1.ch.2.rxf"), "148.00000");
  EXPECT_EQ(Get(data, "zone.1.ch.1.name").substr(0, 2), "Pe");
}

// ---- round trip ---------------------------------------------------------------------

// 512 records: four conventional zones of every conventional type, two LTR
// zones with groups and repeaters.
void FillFullPlan(Itm& t, RadioData& d, CZoneMemory& zm, const std::function<bool(const std::string&, const std::string&)>& set) {
  const uint8_t types[4] = {'1', '2', '3', '4'};
  for (int z = 0; z < 4; ++z) {
    ASSERT_EQ(zm.CreateZone(z, types[z]), 1);
    for (int c = 1; c <= 24; ++c) {
      const std::string p = "zone." + std::to_string(z + 1) + ".ch." + std::to_string(c * 10 % 251);
      char f[32];
      std::snprintf(f, sizeof f, "%.5f", 140.0 + 0.0125 * (z * 24 + c));
      ASSERT_TRUE(set(p + ".rxf", f)) << p;
      if (c % 3) { ASSERT_TRUE(set(p + ".txf", "150.5")); }
      if (c % 2) { ASSERT_TRUE(set(p + ".rxtone", "D754N")); }
      ASSERT_TRUE(set(p + ".name", c % 4 ? "CH,\"" + std::to_string(c) : "N" + std::to_string(c)));
    }
  }
  (void)t;
  for (int z = 4; z < 6; ++z) {
    ASSERT_EQ(zm.CreateZone(z, '0'), 1);
    for (int g = 1; g <= 208; ++g) {
      const std::string p = "zone." + std::to_string(z + 1) + ".group." + std::to_string(g);
      ASSERT_TRUE(set(p + ".encode", std::to_string(g % 250 + 1))) << p;
      ASSERT_TRUE(set(p + ".decode", std::to_string((g * 7) % 250 + 1)));
      ASSERT_TRUE(set(p + ".name", "G" + std::to_string(g)));
    }
    for (int r = 1; r <= (z == 4 ? 10 : 6); ++r) {
      const std::string p = "zone." + std::to_string(z + 1) + ".rep." + std::to_string(r * 2);
      char f[32];
      std::snprintf(f, sizeof f, "%.4f", 150.0 + 0.025 * r);
      ASSERT_TRUE(set(p + ".rxf", f)) << p;
      if (r % 2) { ASSERT_TRUE(set(p + ".telephone", Texts().Text(372))); }
    }
  }
  ASSERT_EQ(zm.TotalChannels(), 512);
}

TEST_F(Itm, AFullPlanComesBackTheSame) {
  auto set = [&](const std::string& k, const std::string& v) { return Set(data, k, v); };
  FillFullPlan(*this, data, zm, set);
  const std::string first = Export(data);
  RadioData other(&Texts());
  Fresh(other);
  ASSERT_EQ(Import(other, first), ImportResult::Ok);
  EXPECT_EQ(summary.Skipped(), 0);
  EXPECT_EQ(summary.sections[itm::kSecConv].applied, 96);
  EXPECT_EQ(summary.sections[itm::kSecLtr].applied, 416);
  EXPECT_EQ(summary.sections[itm::kSecRep].applied, 16);
  EXPECT_EQ(Export(other), first);
  // Zone types 2 to 4 are not in the file: they come back as plain conventional zones.
  EXPECT_EQ(CZoneMemory(other).ZoneType(1), '1');
}

TEST_F(Itm, ASpreadsheetReadsTheSameRows) {
  if (std::system("python3 -c 'import csv' >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
  ASSERT_TRUE(Set(data, "zone.1.ch.1.rxf", "146.52"));
  ASSERT_TRUE(Set(data, "zone.1.ch.1.name", "A,\"B\""));
  ASSERT_TRUE(Set(data, "zone.1.ch.2.rxf", "146.54"));
  ASSERT_TRUE(Set(data, "zone.1.ch.2.name", "\"Q"));
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  ASSERT_TRUE(Set(data, "zone.2.group.1.encode", "1"));
  ASSERT_TRUE(Set(data, "zone.2.group.1.decode", "2"));
  ASSERT_TRUE(Set(data, "zone.2.group.1.name", "x,y"));
  ASSERT_TRUE(Set(data, "zone.2.rep.1.rxf", "146.0"));
  char dir[] = "/tmp/itm_csv_XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/plan.itm";
  ASSERT_TRUE(ExportItmFile(path, data, Texts()).ok());
  const std::string out = std::string(dir) + "/rows.txt";
  const std::string cmd = "python3 -c \"import csv,sys\nwith open(sys.argv[1], newline='') as f:\n"
                          "  for row in csv.reader(f): print('|'.join(row))\" " + path + " > " + out;
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::ifstream in(out);
  std::vector<std::string> rows;
  for (std::string line; std::getline(in, line);) rows.push_back(line);
  const auto has = [&](const std::string& r) { return std::find(rows.begin(), rows.end(), r) != rows.end(); };
  const std::string ch1 = "$||1|1|146.52000|146.52000|" + Get(data, "zone.1.ch.1.rxtone") + "|" +
                          Get(data, "zone.1.ch.1.txtone") + "|A,\"B\"";
  EXPECT_TRUE(has(ch1)) << ch1;
  EXPECT_TRUE(has("$||1|2|146.54000|146.54000|" + Get(data, "zone.1.ch.2.rxtone") + "|" +
                  Get(data, "zone.1.ch.2.txtone") + "|\"Q"));
  EXPECT_TRUE(has("$$|CNVDATA|ZN|CH|RXF|TXF|RXSIG|TXSIG|NAME"));
  EXPECT_TRUE(has("$||2|1|1|2|x,y"));
  EXPECT_TRUE(has("$$|REPDATA|ZN|NUM|RXF|TXF|TEL|AREA|HOME"));
  EXPECT_TRUE(has("MARDEKO ZEL"));
  // Our reader reads back what the spreadsheet read.
  RadioData other(&Texts());
  Fresh(other);
  std::ifstream whole(path, std::ios::binary);
  std::stringstream ss;
  ss << whole.rdbuf();
  ASSERT_EQ(Import(other, ss.str()), ImportResult::Ok);
  EXPECT_EQ(Get(other, "zone.1.ch.1.name"), "A,\"B\"");
  EXPECT_EQ(Get(other, "zone.1.ch.2.name"), "\"Q");
  EXPECT_EQ(Get(other, "zone.2.group.1.name"), "x,y");
  std::remove(path.c_str());
  std::remove(out.c_str());
  ::rmdir(dir);
}

}  // namespace
}  // namespace vb420
