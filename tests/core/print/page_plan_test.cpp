// SPDX-License-Identifier: GPL-3.0-or-later
// The page plan against counts worked out here from the image bytes (zone
// table, zone headers, area directory), and the print options' rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../zones/ZoneTestUtil.h"
#include "PrintTestUtil.h"
#include "editors/messages/MessageFields.h"
#include "editors/testfreq/TestFreqFields.h"
#include "editors/zones/ZoneFields.h"
#include "print/core/PagePlan.h"
#include "print/core/PrintOptions.h"

namespace vb420::testing {
namespace {

using print::BuildPagePlan;
using print::PageCount;
using print::PageEntry;
using print::PrintOptions;
using print::ZonePageKind;

// Pages of one zone, read from the bytes: the table word, the type byte and
// the count bytes of the header.
int ZonePagesFromBytes(ByteArea image, int zone, bool landscape) {
  const uint16_t word = image.u16le(0xA00 + 2 * static_cast<size_t>(zone));
  if (word == 0xFFFF) return 0;
  const uint8_t type = image.u8(word + 1u);
  int records = image.u8(word + 4u);
  if (records == 0xFF) records = 0;
  const int parts = (records + 11) / 12;
  const int perPage = landscape ? 2 : 3;
  const int listPages = (parts + perPage - 1) / perPage;
  if (type == '0') {
    const int reps = image.u8(word + 5u) == 0xFF ? 0 : image.u8(word + 5u);
    return (reps > 0 ? 3 : 2) + listPages;
  }
  if (type == '5') return (landscape ? 2 : 1) + listPages;
  return ((landscape && type >= '2') ? 2 : 1) + listPages;
}

class PagePlanTest : public ZoneFixture {
 protected:
  PagePlanTest() {
    (void)zonefields::Fields(ZoneTable::Channel);
    (void)TestFreqFieldTable();
    (void)MessageFieldTable();
  }
  int Pages(int option, bool landscape) { return PageCount(data, Only(option), landscape); }
  void SetDirectoryCounts(int ids, int statuses) {
    image().setU16le(0x9EE, static_cast<uint16_t>(ids));
    image().setU16le(0x9F2, static_cast<uint16_t>(statuses));
  }
  int DirectoryPages(bool landscape) {
    // A landscape page holds 30 rows at a legible size (not 50).
    const int rows = landscape ? 30 : 60;
    const int ids = image().u16le(0x9EE), statuses = image().u16le(0x9F2);
    return 5 + (ids + rows - 1) / rows + (statuses + rows - 1) / rows;
  }
};

// The fixed sections, by model kind and generation, in both orientations.
TEST_F(PagePlanTest, FixedSectionsByModelAndOrientation) {
  struct Case {
    int model;
    uint8_t band;
    bool voting;
    // sections 1, 2, 3, 4, 5, 7, 8, 9, 10, 13: portrait, then landscape
    std::vector<int> portrait, landscape;
  };
  const Case cases[] = {
      {0, 0x04, false, {8, 2, 1, 2, 6, 8, 1, 2, 1, 1}, {9, 3, 1, 3, 4, 8, 1, 3, 1, 1}},
      {0, 0x04, true, {8, 2, 1, 2, 6, 8, 1, 2, 1, 1}, {9, 3, 2, 3, 4, 8, 1, 3, 1, 1}},
      // second generation: one page less of features; no voting whatever the switch
      {2, 0x04, true, {7, 2, 1, 2, 6, 8, 1, 2, 1, 1}, {8, 3, 1, 3, 4, 8, 1, 3, 1, 1}},
      {7, 0x06, false, {7, 2, 1, 2, 6, 8, 1, 2, 1, 1}, {8, 3, 1, 3, 4, 8, 1, 3, 1, 1}},
      // portables: one page of option board in both orientations
      {8, 0x04, false, {8, 2, 1, 2, 6, 8, 1, 1, 1, 1}, {9, 3, 1, 3, 4, 8, 1, 1, 1, 1}},
      {9, 0x06, true, {8, 2, 1, 2, 6, 8, 1, 1, 1, 1}, {9, 3, 2, 3, 4, 8, 1, 1, 1, 1}},
  };
  const int sections[] = {1, 2, 3, 4, 5, 7, 8, 9, 10, 13};
  for (const Case& c : cases) {
    SetModel(c.model, c.band);
    data.votingSwitch = c.voting;
    for (size_t i = 0; i < std::size(sections); ++i) {
      EXPECT_EQ(Pages(sections[i], false), c.portrait[i]) << "model " << c.model << " section " << sections[i];
      EXPECT_EQ(Pages(sections[i], true), c.landscape[i]) << "model " << c.model << " section " << sections[i];
    }
  }
  data.votingSwitch = false;
}

// Landscape: one more page for sections 1, 2, 4 and the mobile's 9, two
// fewer for section 5.
TEST_F(PagePlanTest, LandscapeDifferences) {
  for (int s : {1, 2, 4, 9}) EXPECT_EQ(Pages(s, true), Pages(s, false) + 1) << s;
  EXPECT_EQ(Pages(5, true), Pages(5, false) - 2);
}

TEST_F(PagePlanTest, DataSignallingFollowsTheDirectoryCounts) {
  struct Case {
    int ids, statuses, portrait, landscape;
  };
  const Case cases[] = {{100, 90, 5 + 2 + 2, 5 + 4 + 3}, {0, 0, 5, 5},  {60, 61, 5 + 1 + 2, 5 + 2 + 3},
                        {50, 50, 5 + 1 + 1, 5 + 2 + 2},   {1, 0, 6, 6}, {120, 101, 5 + 2 + 2, 5 + 4 + 4},
                        {180, 150, 5 + 3 + 3, 5 + 6 + 5}};
  for (const Case& c : cases) {
    SetDirectoryCounts(c.ids, c.statuses);
    EXPECT_EQ(Pages(6, false), c.portrait) << c.ids << "/" << c.statuses;
    EXPECT_EQ(Pages(6, true), c.landscape) << c.ids << "/" << c.statuses;
    EXPECT_EQ(Pages(6, false), DirectoryPages(false));
    EXPECT_EQ(Pages(6, true), DirectoryPages(true));
  }
}

// A damaged directory cannot make the report print rows that are not in the
// image: the count is cut to the records that lie inside it.
TEST_F(PagePlanTest, DamagedDirectoryCountIsCutToTheImage) {
  image().setU16le(0x9EC, 0xBFF0);  // one 16-byte record left before the end
  image().setU16le(0x9EE, 0xFFFF);
  image().setU16le(0x9F2, 0);
  EXPECT_EQ(Pages(6, false), 5 + 1);
  image().setU16le(0x9EC, 0xC000);  // outside the image: no rows
  EXPECT_EQ(Pages(6, false), 5);
}

// Zones of every kind, against the pages worked out from their bytes.
TEST_F(PagePlanTest, ZonesByKindWithSettingsAndListPages) {
  data.votingSwitch = true;
  std::vector<int> many;
  for (int c = 1; c <= 37; ++c) many.push_back(c);
  MakeConv(0, many);                        // 37 channels: 4 parts
  MakeConv(1, {1, 2, 3, 4, 5}, '3');        // voting type: two landscape settings pages
  ASSERT_EQ(zm.CreateZone(3, '0'), 1);      // LTR without repeaters, 13 groups
  for (int g = 0; g < 13; ++g) ASSERT_EQ(zm.InsertRecord(3, g), 1);
  ASSERT_EQ(zm.CreateZone(4, '0'), 1);      // LTR with repeaters, no groups
  ASSERT_EQ(zm.InsertRepeater(4, 0), 1);
  ASSERT_EQ(zm.CreateZone(9, '5'), 1);      // PassPort, 25 groups
  for (int g = 0; g < 25; ++g) ASSERT_EQ(zm.InsertRecord(9, g), 1);
  MakeConv(127, {250});                     // the last zone, one channel

  for (bool landscape : {false, true}) {
    int expected = 0;
    for (int z = 0; z < 128; ++z) expected += ZonePagesFromBytes(image(), z, landscape);
    EXPECT_EQ(Pages(14, landscape), expected) << landscape;
  }
  // Worked by hand as well: portrait 1+2 | 1+1 | 2+1 | 3 | 1+1 | 1+1 = 15,
  // landscape 1+2 | 2+1 | 2+1 | 3 | 2+2 | 1+1 = 18.
  EXPECT_EQ(Pages(14, false), 15);
  EXPECT_EQ(Pages(14, true), 18);

  // The range: zones 2 to 5 only, and the pages in zone order.
  PrintOptions o = Only(14);
  o.SetFirstZone(2);
  o.SetLastZone(5);
  const auto plan = BuildPagePlan(data, o, false);
  const std::vector<PageEntry> want = {
      {14, 0, 1, ZonePageKind::Settings, 0}, {14, 1, 1, ZonePageKind::List, 0},
      {14, 2, 3, ZonePageKind::Settings, 0}, {14, 3, 3, ZonePageKind::Settings, 1},
      {14, 4, 3, ZonePageKind::List, 0},     {14, 5, 4, ZonePageKind::Settings, 0},
      {14, 6, 4, ZonePageKind::Settings, 1}, {14, 7, 4, ZonePageKind::Settings, 2}};
  EXPECT_EQ(plan, want);
  data.votingSwitch = false;
}

// The largest zone: 250 channels are 21 parts, 7 portrait pages, 11 landscape.
TEST_F(PagePlanTest, FullZoneListPages) {
  std::vector<int> all;
  for (int c = 1; c <= 250; ++c) all.push_back(c);
  MakeConv(5, all);
  PrintOptions o = Only(14);
  EXPECT_EQ(PageCount(data, o, false), 1 + 7);
  EXPECT_EQ(PageCount(data, o, true), 1 + 11);
}

// A full programming: every section, both orientations, against the sum of
// the fixed counts and the counts from the bytes.
TEST_F(PagePlanTest, FullProgrammingBothOrientations) {
  MakeConv(0, {1, 2, 3});
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(1, 0), 1);
  ASSERT_EQ(zm.CreateZone(2, '5'), 1);
  SetDirectoryCounts(100, 90);
  for (bool landscape : {false, true}) {
    int zonesPages = 0;
    for (int z = 0; z < 128; ++z) zonesPages += ZonePagesFromBytes(image(), z, landscape);
    const int fixed = landscape ? 9 + 3 + 1 + 3 + 4 + 8 + 1 + 3 + 1 + 1 : 8 + 2 + 1 + 2 + 6 + 8 + 1 + 2 + 1 + 1;
    const int expected = fixed + DirectoryPages(landscape) + zonesPages;
    EXPECT_EQ(PageCount(data, PrintOptions::Defaults(), landscape), expected);
    const auto plan = BuildPagePlan(data, PrintOptions::Defaults(), landscape);
    ASSERT_EQ(static_cast<int>(plan.size()), expected);
    // Sections in print order, each starting at index 0 and counting up.
    int last = 0, index = -1;
    for (const PageEntry& e : plan) {
      ASSERT_GE(e.section, last);
      index = e.section == last ? index + 1 : 0;
      last = e.section;
      EXPECT_EQ(e.index, index);
    }
    EXPECT_EQ(plan.front().section, 1);
    EXPECT_EQ(plan.back().section, 14);
  }
}

TEST_F(PagePlanTest, EmptyPlanHasOnePage) {
  PrintOptions o = PrintOptions::Defaults();
  o.SetAll(false);
  EXPECT_EQ(PageCount(data, o, false), 1);
  ASSERT_EQ(BuildPagePlan(data, o, true).size(), 1u);
  EXPECT_EQ(BuildPagePlan(data, o, true)[0].section, 0);
  // Only header blocks chosen: still nothing but the one page.
  o.Set(print::kOptModelBlock, true);
  EXPECT_EQ(PageCount(data, o, false), 1);
  // Zones chosen but none in use in the range.
  EXPECT_EQ(PageCount(data, Only(14), false), 1);
}

TEST(PrintOptionsTest, ZoneFieldsKeepTheirRangeAndOrder) {
  PrintOptions o = PrintOptions::Defaults();
  EXPECT_EQ(o.FirstZone(), 1);
  EXPECT_EQ(o.LastZone(), 128);
  EXPECT_EQ(o.values[15], 0);
  o.SetLastZone(20);
  o.SetFirstZone(print::ZoneFieldValue("200"));  // typing 200 gives 128 and moves the last zone up
  EXPECT_EQ(o.FirstZone(), 128);
  EXPECT_EQ(o.LastZone(), 128);
  o.SetLastZone(print::ZoneFieldValue("7"));  // a last zone below the first moves the first down
  EXPECT_EQ(o.FirstZone(), 7);
  EXPECT_EQ(o.LastZone(), 7);
  o.SetLastZone(print::ZoneFieldValue("0"));
  EXPECT_EQ(o.LastZone(), 1);
  EXPECT_EQ(o.FirstZone(), 1);
  struct {
    const char* text;
    int value;
  } const texts[] = {{"", 1}, {"0", 1}, {"1", 1}, {"128", 128}, {"129", 128}, {" 12", 12}, {"x", 1}, {"99999999", 128}};
  for (const auto& t : texts) EXPECT_EQ(print::ZoneFieldValue(t.text), t.value) << t.text;
}

TEST(PrintOptionsTest, BoxesAndSectionLists) {
  PrintOptions o = PrintOptions::Defaults();
  EXPECT_TRUE(o.AnyChecked());
  o.SetAll(false);
  EXPECT_FALSE(o.AnyChecked());
  o.Set(print::kOptPassMessageBlock, true);
  EXPECT_TRUE(o.AnyChecked());

  std::string bad;
  PrintOptions p = PrintOptions::Defaults();
  ASSERT_TRUE(print::ParseSectionList("1, 10,14,model", p, bad));
  std::vector<int> on;
  for (int i = 0; i < print::kCheckBoxCount; ++i)
    if (p.On(i)) on.push_back(i);
  EXPECT_EQ(on, (std::vector<int>{0, 1, 10, 14}));
  EXPECT_FALSE(print::ParseSectionList("1,11", p, bad));
  EXPECT_EQ(bad, "11");
  EXPECT_FALSE(print::ParseSectionList("", p, bad));
  EXPECT_EQ(on.size(), 4u);  // a refused list leaves the options as they were
  ASSERT_TRUE(print::ParseSectionList("all", p, bad));
  EXPECT_EQ(p.values, PrintOptions::Defaults().values);
  // Text entries of the boxes and section titles.
  EXPECT_EQ(print::CheckBoxTextEntry(0), 196);
  EXPECT_EQ(print::CheckBoxTextEntry(14), 352);
  EXPECT_EQ(print::SectionTitleEntry(10), 348);
  EXPECT_EQ(print::SectionTitleEntry(11), -1);
}

}  // namespace
}  // namespace vb420::testing
