// SPDX-License-Identifier: GPL-3.0-or-later
// What the report's pages say: the header blocks, the sections filled from
// the editors' field sets, the zone pages and the test-mode page.
#include "support/Paths.h"
#include <cctype>
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "../zones/ZoneTestUtil.h"
#include "PrintTestUtil.h"
#include "editors/forms/FieldSets.h"
#include "editors/features/OptBoardFields.h"
#include "editors/messages/MessageFields.h"
#include "editors/testfreq/TestFreqFields.h"
#include "editors/zones/ZoneFields.h"
#include "print/core/PassPortSettings.h"
#include "print/core/ReportContent.h"

namespace vb420::testing {
namespace {

using print::Block;
using print::BlockKind;
using print::PageContent;
using print::PrintOptions;
using print::ReportBuilder;

std::string Setting(RadioData& data, const std::string& key) {
  forms::SettingLine l;
  EXPECT_EQ(forms::GetSetting(data, NumberedTexts(), key, l), forms::SettingStatus::Ok) << key;
  return l.text;
}

void Set(RadioData& data, const std::string& key, const std::string& value) {
  forms::SettingLine l;
  int msg = 0;
  ASSERT_EQ(forms::SetSetting(data, NumberedTexts(), key, value, l, msg), forms::SettingStatus::Ok) << key;
}

bool HasSet(const char* name) {
  for (const auto& s : forms::FieldSets())
    if (s.name == name) return true;
  return false;
}

// Every text of a page, for "does it say X anywhere" checks.
std::string AllText(const PageContent& p) {
  std::string s = p.header.pageNumber + "|" + p.header.dateLine + "|" + p.header.title + "|" + p.header.modelText +
                  "|" + p.header.message1 + "|" + p.header.message2 + "|" + p.header.passMessage1 + "|" +
                  p.header.passMessage2 + "|" + p.sectionTitle + "|";
  for (const Block& b : p.blocks) {
    s += b.text + "|";
    for (const auto& [l, v] : b.pairs) s += l + "=" + v + "|";
    for (const auto& c : b.columns) s += c + "|";
    for (const auto& r : b.rows)
      for (const auto& c : r) s += c + "|";
  }
  return s;
}

class ReportContentTest : public ZoneFixture {
 protected:
  ReportContentTest() {
    (void)zonefields::Fields(ZoneTable::Channel);
    (void)TestFreqFieldTable();
    (void)MessageFieldTable();
  }
  PageContent Page(const PrintOptions& o, int index, bool landscape = false) {
    return ReportBuilder(data, text(), o, landscape, "12/07/26 10:11:12").Page(index);
  }
};

TEST_F(ReportContentTest, HeaderBlocksFollowTheOptions) {
  Set(data, "message.1", "DEALER RADIO SHOP");
  Set(data, "message.2", "555-0100");
  Set(data, "passmessage.1", "PROTECTED LINE");
  Set(data, "passmessage.password", "SECRET");
  PrintOptions o = Only(10);
  o.Set(print::kOptModelBlock, true);
  o.Set(print::kOptMessageBlock, true);
  o.Set(print::kOptPassMessageBlock, true);
  PageContent p = Page(o, 0);
  EXPECT_EQ(p.header.pageNumber, "1");
  EXPECT_EQ(p.header.dateLine, "T134   12/07/26 10:11:12 :");
  EXPECT_EQ(p.header.title, "MARDEKO VB-420 T131");
  EXPECT_TRUE(p.header.modelBlock);
  EXPECT_EQ(p.header.modelLabel, "T129");
  EXPECT_EQ(p.header.modelText, data.model.ShortDescription(text()));
  EXPECT_EQ(p.header.bandText, "136-174 MHz");
  EXPECT_EQ(p.header.messageLabel, "T211");
  EXPECT_EQ(p.header.message1, "DEALER RADIO SHOP");
  EXPECT_EQ(p.header.message2, "555-0100");
  EXPECT_EQ(p.header.passMessageLabel, "T349");
  EXPECT_EQ(p.header.passMessage1, "PROTECTED LINE");
  // The password of the protected message is never printed.
  EXPECT_EQ(AllText(p).find("SECRET"), std::string::npos);

  o.Set(print::kOptModelBlock, false);
  o.Set(print::kOptMessageBlock, false);
  o.Set(print::kOptPassMessageBlock, false);
  p = Page(o, 0);
  EXPECT_FALSE(p.header.modelBlock || p.header.messageBlock || p.header.passMessageBlock);
  EXPECT_EQ(AllText(p).find("DEALER"), std::string::npos);
}

// The test-frequency section as its example layout gives it: 16 numbered
// rows, receive and transmit frequency, dashes for an empty value.
TEST_F(ReportContentTest, TestFrequencySection) {
  Set(data, "testfreq.3.rx", "151.5");
  const PageContent p = Page(Only(10), 0);
  EXPECT_EQ(p.sectionTitle, "T348");
  ASSERT_EQ(p.blocks.size(), 1u);
  const Block& t = p.blocks[0];
  ASSERT_EQ(t.kind, BlockKind::Table);
  EXPECT_EQ(t.columns, (std::vector<std::string>{"T359", "T360", "T361"}));
  ASSERT_EQ(t.rows.size(), 16u);
  EXPECT_EQ(t.rows[0][0], " 1");
  EXPECT_EQ(t.rows[15][0], "16");
  EXPECT_EQ(t.rows[2][1], Setting(data, "testfreq.3.rx"));
  EXPECT_NE(t.rows[2][1].find("151.5"), std::string::npos);
  for (int r = 0; r < 16; ++r) {
    if (Setting(data, "testfreq." + std::to_string(r + 1) + ".tx").empty()) {
      EXPECT_EQ(t.rows[r][2], "--------------");
    }
  }
}

// Every section prints its editor's fields under its title: every set is
// registered, so no section is left saying its editor is missing (the
// technician section prints the technician setting's bytes).
TEST_F(ReportContentTest, EverySectionPrintsItsFields) {
  struct {
    int section;
    const char* set;
  } const sections[] = {{1, "features"}, {2, "keys"}, {4, "dtmf"}, {8, "emergency"}, {13, "special"}};
  for (const auto& s : sections) {
    ASSERT_TRUE(HasSet(s.set)) << s.set;
    const PageContent first = Page(Only(s.section), 0);
    EXPECT_EQ(first.sectionTitle, "T" + std::to_string(print::SectionTitleEntry(s.section)));
    EXPECT_FALSE(first.blocks.empty()) << s.set;
    EXPECT_EQ(AllText(first).find("T182"), std::string::npos) << s.set;
  }
}

// A conventional zone: its settings page with the zone line and the header
// fields, its list pages three parts of 12 channels at a time.
TEST_F(ReportContentTest, ConventionalZonePages) {
  std::vector<int> channels;
  for (int c = 1; c <= 37; ++c) channels.push_back(c);
  MakeConv(4, channels);
  Set(data, "zone.5.ch.37.rxf", "155.25");
  PrintOptions o = Only(14);
  const PageContent settings = Page(o, 0);
  EXPECT_EQ(settings.sectionTitle, "T352");
  EXPECT_TRUE(settings.zonePage);
  ASSERT_GE(settings.blocks.size(), 2u);
  EXPECT_EQ(settings.blocks[0].pairs.at(0).first, "T378   5");
  EXPECT_EQ(settings.blocks[0].pairs.at(0).second, print::ZoneNameText(data, 4));
  EXPECT_EQ(print::ZoneNameText(data, 4), "5");  // the new zone's name is its number
  const std::string s = AllText(settings);
  // The zone name field as the window shows it.
  EXPECT_NE(s.find("T462=" + Setting(data, "zone.5.header.0")), std::string::npos);

  const PageContent list0 = Page(o, 1);
  ASSERT_EQ(list0.blocks.size(), 1u + 3u);  // the zone line and three parts
  const Block& part = list0.blocks[1];
  EXPECT_EQ(part.columns, (std::vector<std::string>{"T359", "T382", "T383", "T385", "T384", "T386", "T387", "T388",
                                                    "T389", "T390"}));
  ASSERT_EQ(part.rows.size(), 12u);
  EXPECT_EQ(part.rows[0][0], "1");
  EXPECT_EQ(part.rows[0][1], Setting(data, "zone.5.ch.1.rxf"));
  EXPECT_EQ(list0.blocks[3].rows.back()[0], "36");
  const PageContent list1 = Page(o, 2);
  ASSERT_EQ(list1.blocks.size(), 2u);
  ASSERT_EQ(list1.blocks[1].rows.size(), 1u);
  EXPECT_EQ(list1.blocks[1].rows[0][0], "37");
  EXPECT_NE(list1.blocks[1].rows[0][1].find("155.25"), std::string::npos);
}

TEST_F(ReportContentTest, TrunkedZoneRepeaterPage) {
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(0, 0), 1);
  ASSERT_EQ(zm.InsertRepeater(0, 0), 1);
  ASSERT_EQ(zm.InsertRepeater(0, 4), 1);
  const PrintOptions o = Only(14);
  // Settings 1 and 2 share the header fields (the name is the first); 3
  // lists the repeaters.
  const PageContent s1 = Page(o, 0), reps = Page(o, 2), groups = Page(o, 3);
  ASSERT_GE(s1.blocks.size(), 2u);
  EXPECT_EQ(s1.blocks[1].pairs.at(0).first, "T462");
  EXPECT_EQ(s1.blocks[1].pairs.at(0).second, Setting(data, "zone.1.header.0"));
  ASSERT_EQ(reps.blocks.size(), 2u);
  ASSERT_EQ(reps.blocks[1].kind, BlockKind::Table);
  ASSERT_EQ(reps.blocks[1].rows.size(), 2u);
  EXPECT_EQ(reps.blocks[1].rows[1][0], "5");
  ASSERT_EQ(groups.blocks.size(), 2u);
  EXPECT_EQ(groups.blocks[1].rows.size(), 1u);
  EXPECT_EQ(groups.blocks[1].columns.at(1), "T392");  // the LTR grid's columns
}

// The captions the LTR zone window shows over its two priority groups,
// whose fields have no label of their own, head them in the report too.
TEST_F(ReportContentTest, LtrPriorityGroupsKeepTheirCaptions) {
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(0, 0), 1);
  const PrintOptions o = Only(14);
  const std::string settings = AllText(Page(o, 0)) + AllText(Page(o, 1));
  EXPECT_NE(settings.find("T499"), std::string::npos);
  EXPECT_NE(settings.find("T500"), std::string::npos);
}

TEST_F(ReportContentTest, PassPortZoneSettings) {
  ASSERT_EQ(zm.CreateZone(2, '5'), 1);
  const size_t at = static_cast<size_t>(zm.ZoneOffset(2));
  image().setU8(at + 27, 42);              // ASID
  image().setU16le(at + 28, 1234);         // MIN
  image().setU16le(at + 73, 10);           // MIN limits
  image().setU16le(at + 75, 2000);
  image().setU8(at + 79, 0x01);            // companded interconnect only
  image().setU8(at + 18, 40);              // data delay
  ext().setU8(0x570, 0xFF & ~(1 << 2));    // scrambler on selective call for zone 3
  ext().setU8(0x580 + 2, 7);
  const auto lines = print::PassPortSettingLines(data, text(), 2);
  ASSERT_EQ(lines.size(), 32u);
  auto value = [&](const char* label) {
    for (const auto& [l, v] : lines)
      if (l == label) return v;
    return std::string("?");
  };
  EXPECT_EQ(value("ASID"), "42");
  EXPECT_EQ(value("MIN"), "1234");
  EXPECT_EQ(value("Selective Call MIN Limits"), "10 - 2000");
  EXPECT_EQ(value("T188"), "T370");  // companded interconnect, line 1 of the second label entry
  EXPECT_EQ(value("Interconnect EOT Tone"), "T371");
  EXPECT_EQ(value("Tx Data Delay Time"), "40 ms");
  EXPECT_EQ(value("Scambler on Selective Call Enable"), "T370     Code: 7");
  EXPECT_EQ(value("T187"), "3");  // the zone name, under line 1 of its label entry
  EXPECT_EQ(lines.back().first, "Primary Scan alert Tone");

  // Landscape: the last three lines on a second page under "(Continued)".
  const PrintOptions o = Only(14);
  const PageContent p1 = Page(o, 0, true), p2 = Page(o, 1, true);
  ASSERT_EQ(p2.blocks.size(), 3u);
  EXPECT_EQ(p2.blocks[1].text, "T463 T186");
  ASSERT_EQ(p2.blocks[2].pairs.size(), 3u);
  EXPECT_EQ(p2.blocks[2].pairs[0].first, "RSSI in Sub-Display");
  EXPECT_EQ(p1.blocks[1].pairs.size(), 29u);
  EXPECT_EQ(Page(o, 0, false).blocks[1].pairs.size(), 32u);
}

// A PassPort zone's talk-group list: its own columns, switches as Enabled
// or Disabled; an unset primary talk group prints as the window's empty box.
TEST_F(ReportContentTest, PassPortTalkGroupListAndUnsetPrimaryGroup) {
  ASSERT_EQ(zm.CreateZone(0, '5'), 1);
  Set(data, "zone.1.group.1.id", "101");
  Set(data, "zone.1.group.1.name", "TALK1");
  Set(data, "zone.1.group.1.call", "T372");  // ticked
  Set(data, "zone.1.group.1.scan", "T373");
  const PrintOptions o = Only(14);
  const PageContent list = Page(o, 1);
  ASSERT_EQ(list.blocks.size(), 2u);
  const Block& t = list.blocks[1];
  EXPECT_EQ(t.columns, (std::vector<std::string>{"T359", "T1289", "T1290", "T1193", "T1222", "T365", "T1194", "T1195",
                                                 "T435", "T395", "T828"}));
  ASSERT_EQ(t.rows.size(), 1u);
  EXPECT_EQ(t.rows[0][1], "101");
  EXPECT_EQ(t.rows[0][2], "TALK1");
  EXPECT_EQ(t.rows[0][3], "T642");
  EXPECT_EQ(t.rows[0][5], "T1292");
  for (size_t c = 4; c < t.rows[0].size(); ++c)
    if (c != 8) EXPECT_TRUE(t.rows[0][c] == "T642" || t.rows[0][c] == "T1292") << c;
  // The talk group's scrambler code and talk-back switch: the channel tables'
  // entries of its global channel number.
  Set(data, "zone.1.group.2.id", "102");
  ext().setU8(0x1000 + 1, 5);                // scrambler code of the zone's second record
  ext().setU8(0x6B0, 0xFF & ~(1 << 1));      // talk back on for it
  const PageContent list2 = Page(o, 1);
  ASSERT_EQ(list2.blocks.size(), 2u);
  const Block& t2 = list2.blocks[1];
  ASSERT_EQ(t2.rows.size(), 2u);
  EXPECT_EQ(t2.rows[1][10], "T642");
  EXPECT_EQ(t2.rows[0][10], "T1292");

  const size_t at = static_cast<size_t>(zm.ZoneOffset(0));
  EXPECT_EQ(print::PassPortSettingLines(data, text(), 0).at(4).second, "101");
  image().setU16le(at + 30, 0xFFFF);
  EXPECT_EQ(print::PassPortSettingLines(data, text(), 0).at(4).second, "");
}

// The printed date follows the program's language: month first in English,
// day first in Spanish.
TEST(ReportDate, ShortDateInTheLanguagesOrder) {
  std::tm tm{};
  tm.tm_mday = 7;
  tm.tm_mon = 11;
  tm.tm_year = 126;
  EXPECT_EQ(print::ShortDate(tm, "English"), "12/7/26");
  EXPECT_EQ(print::ShortDate(tm, "Spanish"), "7/12/26");
  tm.tm_year = 100;
  EXPECT_EQ(print::ShortDate(tm, "Spanish"), "7/12/00");
}

// The PassPort labels and units come from the language file, in Spanish too.
TEST_F(ReportContentTest, PassPortSettingsInTheProgramsLanguage) {
  ASSERT_EQ(zm.CreateZone(0, '5'), 1);
  const size_t at = static_cast<size_t>(zm.ZoneOffset(0));
  image().setU8(at + 52, 9);
  ext().setU8(0x570, 0xFE);
  ext().setU8(0x580, 3);
  TextTable spanish;
  ASSERT_EQ(spanish.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "Spanish"), TextTable::LoadResult::Ok);
  const auto es = print::PassPortSettingLines(data, spanish, 0);
  ASSERT_EQ(es.size(), 32u);
  EXPECT_EQ(es[0].first, "Nombre de zona");
  EXPECT_EQ(es[4].first, "Grupo primario");
  EXPECT_EQ(es[21].first, "Tiempo de reanudación del escaneo");
  EXPECT_EQ(es[21].second, "9 s");
  EXPECT_EQ(es[27].second, "Activado     Código: 3");
  EXPECT_EQ(es[31].first, "Tono de alerta del escaneo primario");
  TextTable english;
  ASSERT_EQ(english.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English"), TextTable::LoadResult::Ok);
  const auto en = print::PassPortSettingLines(data, english, 0);
  EXPECT_EQ(en[21].first, "Scan Resume Time");
  EXPECT_EQ(en[21].second, "9 sec");
  EXPECT_EQ(en[27].first, "Scambler on Selective Call Enable");
  EXPECT_EQ(en[27].second, "On     Code: 3");
  for (size_t i = 0; i < 32; ++i) EXPECT_FALSE(es[i].first.empty() || (i > 3 && es[i].first == en[i].first)) << i;
}

// A window's form as a section: captions over their fields, the values as
// the window shows them, and the radio's passwords never on paper.
TEST_F(ReportContentTest, FormSectionsPrintWhatTheWindowShowsButNoPassword) {
  using forms::ControlKind;
  using forms::Encoding;
  auto field = [](const char* key, int label, ControlKind kind, uint32_t offset) {
    forms::FieldDescriptor d;
    d.key = key;
    d.labelEntry = label;
    d.kind = kind;
    if (kind != ControlKind::Caption) {
      d.field = forms::ImageByte(offset);
      d.encoding = Encoding::Number;
      d.maximum = 255;
    }
    return d;
  };
  static const std::vector<forms::FieldDescriptor> fields = {
      field("cap", 700, ControlKind::Caption, 0),      field("level", 701, ControlKind::EditSpin, 0x800),
      field("high", -1, ControlKind::EditSpin, 0x801),  // the second box of a pair: no label of its own
      field("read", 702, ControlKind::Text, 0x149),    // the read password's length byte
      field("cap2", 703, ControlKind::Caption, 0),     // nothing under it
  };
  struct Record : forms::BoundRecord {
    Record(RadioData& d, TextTable& t) : ctx(d, t) {}
    forms::FormContext& Context() override { return ctx; }
    forms::FormContext ctx;
  };
  forms::FieldSet set;
  // In place of the technician setting's own set for this test (put back at
  // the end).
  set.name = "special";
  set.fields = &fields;
  set.records = [](RadioData&) { return std::vector<forms::FieldSetRecord>{{"special", {}}}; };
  set.parse = [](RadioData&, const std::string& p, forms::RecordCursor&) { return p == "special"; };
  set.bind = [](RadioData& d, TextTable& t, forms::RecordCursor) -> std::unique_ptr<forms::BoundRecord> {
    return std::make_unique<Record>(d, t);
  };
  forms::RegisterFieldSet(set);
  image().setU8(0x800, 42);
  image().setU8(0x801, 43);
  image().setU8(0x149, 77);
  const PageContent p = Page(Only(13), 0);
  ASSERT_EQ(p.blocks.size(), 2u);
  EXPECT_EQ(p.blocks[0].kind, BlockKind::Subheading);
  EXPECT_EQ(p.blocks[0].text, "T700");
  ASSERT_EQ(p.blocks[1].pairs.size(), 1u);
  // The unlabelled box prints beside the labelled one, never under its key.
  EXPECT_EQ(p.blocks[1].pairs[0], (std::pair<std::string, std::string>{"T701", "42  43"}));
  EXPECT_EQ(AllText(p).find("T702"), std::string::npos);
  EXPECT_EQ(AllText(p).find("77"), std::string::npos);

  // A further page of the same window ("special-...") with a row per
  // record prints as a table after it, each row under its number.
  struct Row : forms::BoundRecord {
    Row(RadioData& d, TextTable& t, forms::RecordCursor c) : ctx(d, t, false, c) {}
    forms::FormContext& Context() override { return ctx; }
    forms::FormContext ctx;
  };
  static const std::vector<forms::FieldDescriptor> rowFields = [] {
    forms::FieldDescriptor d;
    d.key = "v";
    d.labelEntry = 710;
    d.kind = ControlKind::Text;
    d.encoding = Encoding::Custom;
    d.customShow = [](const forms::FormContext& c) { return "row" + std::to_string(c.cursor.record * 10); };
    return std::vector<forms::FieldDescriptor>{d};
  }();
  forms::FieldSet rows;
  rows.name = "special-rows";
  rows.fields = &rowFields;
  rows.records = [](RadioData&) {
    std::vector<forms::FieldSetRecord> r;
    for (int i = 1; i <= 3; ++i) r.push_back({"tech.row." + std::to_string(i), {-1, i}});
    return r;
  };
  rows.parse = [](RadioData&, const std::string&, forms::RecordCursor&) { return false; };
  rows.bind = [](RadioData& d, TextTable& t, forms::RecordCursor c) -> std::unique_ptr<forms::BoundRecord> {
    return std::make_unique<Row>(d, t, c);
  };
  forms::RegisterFieldSet(rows);
  const PageContent q = Page(Only(13), 0);
  ASSERT_EQ(q.blocks.size(), 3u);
  const Block& t = q.blocks[2];
  ASSERT_EQ(t.kind, BlockKind::Table);
  EXPECT_EQ(t.columns, (std::vector<std::string>{"T359", "T710"}));
  ASSERT_EQ(t.rows.size(), 3u);
  EXPECT_EQ(t.rows[2], (std::vector<std::string>{"3", "row30"}));
  RegisterOptBoardFieldSets();
}

// Landscape with voting: the scan settings on the first page, the voting
// settings on the second, each once.
TEST_F(ReportContentTest, LandscapeVotingSettingsPrintOnceOnTheirOwnPage) {
  data.votingSwitch = true;
  ASSERT_TRUE(data.model.VotingCapable(data.votingSwitch));
  const forms::FieldSet* voting = nullptr;
  for (const forms::FieldSet& s : forms::FieldSets())
    if (s.name == "scan-voting") voting = &s;
  ASSERT_NE(voting, nullptr);
  std::string label;
  for (const forms::FieldDescriptor& d : *voting->fields)
    if (d.labelEntry > 0 && d.kind != forms::ControlKind::Caption) {
      label = "|T" + std::to_string(d.labelEntry);
      break;
    }
  ASSERT_FALSE(label.empty());
  auto count = [&label](const std::string& s) {
    size_t n = 0;
    for (size_t at = s.find(label); at != std::string::npos; at = s.find(label, at + 1))
      if (!std::isdigit(static_cast<unsigned char>(s[at + label.size()]))) ++n;
    return n;
  };
  const std::string first = AllText(Page(Only(3), 0, true));
  const std::string second = AllText(Page(Only(3), 1, true));
  EXPECT_EQ(count(first), 0u) << first;
  EXPECT_EQ(count(second), 1u) << second;
}

// A damaged zone area: the zone whose header cannot be trusted still gets its
// pages, with what can be read, and nothing reads outside the image.
TEST_F(ReportContentTest, DamagedZonesPrintWhatCanBeRead) {
  MakeConv(126, {1, 2});
  MakeConv(127, {});
  // The last zone claims to be a PassPort zone: its 96-byte header would run
  // past the end of the blocks.
  image().setU8(static_cast<size_t>(zm.ZoneOffset(127)) + 1, '5');
  // And the zone before it claims 200 channels.
  image().setU8(static_cast<size_t>(zm.ZoneOffset(126)) + 4, 200);
  for (bool landscape : {false, true}) {
    const ReportBuilder r(data, text(), Only(14), landscape, "x");
    ASSERT_GT(r.PageCount(), 0);
    for (int i = 0; i < r.PageCount(); ++i) {
      const PageContent p = r.Page(i);
      EXPECT_EQ(p.sectionTitle, "T352");
      ASSERT_FALSE(p.blocks.empty());
    }
  }
}

TEST_F(ReportContentTest, TestModePage) {
  print::TestReportInput in;
  in.modelNumber = 0;
  in.channel = 2;
  in.channelRx = "151.50000";
  in.signalling = 4;
  for (int i = 0; i < 149; ++i) in.block.push_back(static_cast<unsigned char>(i * 7));
  const PageContent p = print::BuildTestModePage(data, text(), in, "d t");
  EXPECT_EQ(p.sectionTitle, "T183");
  ASSERT_EQ(p.blocks.size(), 3u);
  const auto& id = p.blocks[0].pairs;
  ASSERT_EQ(id.size(), 5u);
  EXPECT_EQ(id[0].second, ModelRecord::DisplayNameOf(0, text()));
  EXPECT_EQ(id[1].second, "3");
  EXPECT_EQ(id[2].second, "151.50000");
  EXPECT_EQ(id[3].second, "--------------");
  EXPECT_EQ(id[4].second, "5");
  EXPECT_EQ(p.blocks[1].text, "T184");  // numbered texts have no "%d" to fill
  const Block& hex = p.blocks[2];
  ASSERT_EQ(hex.columns.size(), 17u);
  EXPECT_EQ(hex.columns[1], "+0");
  EXPECT_EQ(hex.columns[16], "+F");
  ASSERT_EQ(hex.rows.size(), 10u);  // 149 bytes: 9 full rows and 5 bytes
  EXPECT_EQ(hex.rows[9][0], "090");
  EXPECT_EQ(hex.rows[1][1], "70");  // byte 16 = 112
  EXPECT_EQ(hex.rows[9][5], "0C");  // byte 148 = 1036 & 0xFF
  EXPECT_EQ(hex.rows[9][6], "");
}

TEST_F(ReportContentTest, OutOfRangePageIsEmpty) {
  const ReportBuilder r(data, text(), PrintOptions::Defaults(), false, "x");
  EXPECT_TRUE(r.Page(r.PageCount()).blocks.empty());
  EXPECT_TRUE(r.Page(-1).sectionTitle.empty());
}

}  // namespace
}  // namespace vb420::testing
