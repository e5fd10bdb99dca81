// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing two programmings: lines by field key, zones and records as such,
// undescribed bytes as ranges; and the words that name an undo step.
#include "support/Paths.h"
#include "editors/compare/ProgramDiff.h"

#include <gtest/gtest.h>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"
#include "support/Registered.h"

namespace vb420::compare {
namespace {

class ProgramDiffTest : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)zonefields::Fields(ZoneTable::Channel);  // registers the zone sets
    ASSERT_EQ(text.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English"), TextTable::LoadResult::Ok);
    InitNewImage(a, true);
    InitNewImage(b, true);
  }
  void Set(RadioData& d, const std::string& key, const std::string& value) {
    forms::SettingLine out;
    int message = 0;
    ASSERT_EQ(forms::SetSetting(d, text, key, value, out, message), forms::SettingStatus::Ok) << key;
  }
  void Both(const std::string& key, const std::string& value) {
    Set(a, key, value);
    Set(b, key, value);
  }
  TextTable text;
  RadioData a{&text};
  RadioData b{&text};
};

TEST_F(ProgramDiffTest, EqualProgrammingsHaveNoLines) { EXPECT_TRUE(DiffProgrammings(a, b, text).empty()); }

TEST_F(ProgramDiffTest, FieldsRecordsAndBytes) {
  Both("zone.1.ch.1.rxf", "146.52");
  Both("zone.1.ch.2.rxf", "146.52");
  Set(b, "zone.1.ch.2.name", "DEPOT");
  Set(b, "zone.4.ch.1.rxf", "150.1");
  b.Ext().setU8(0x660, static_cast<uint8_t>(~a.Ext().u8(0x660)));  // between the message lines and the channel tables
  const auto lines = DiffProgrammings(a, b, text);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(FormatLine(lines[0]), "zone.4: added");
  EXPECT_EQ(lines[1].key, "zone.1.ch.2.name");
  EXPECT_EQ(lines[1].second, "DEPOT");
  EXPECT_EQ(lines[2].kind, DiffLine::Kind::Bytes);
  EXPECT_EQ(FormatLine(lines[2]).substr(0, 12), "ext 0x0660: ");
  EXPECT_EQ(lines[2].from, 0x660u);
  EXPECT_EQ(lines[2].to, 0x660u);
  // Without the bytes only the fields are compared.
  EXPECT_EQ(DiffProgrammings(a, b, text, false).size(), 2u);
}

TEST_F(ProgramDiffTest, ZoneStructureAndFieldPlacesAreDescribed) {
  Both("zone.1.ch.1.rxf", "146.52");
  const auto described = DescribedBytes(a, b, text);
  CZoneMemory zones(a);
  const int rec = zones.FindRecord(0, 0);
  EXPECT_TRUE(described[static_cast<size_t>(rec) + 1]);      // the receive frequency
  EXPECT_TRUE(described[img::kZoneTable]);                    // the zone table
  EXPECT_TRUE(described[kImageSize + ext::kChanBytes + 511]); // a per-channel table
  EXPECT_FALSE(described[0x11F]);                             // the identity block
}

TEST_F(ProgramDiffTest, KeysInWords) {
  Both("zone.3.ch.17.rxf", "146.52");
  const std::string rxf = DescribeKey(a, text, "zone.3.ch.17.rxf");
  EXPECT_EQ(rxf.rfind("Zone 3 Channel 17 ", 0), 0u) << rxf;
  EXPECT_GT(rxf.size(), std::string("Zone 3 Channel 17 ").size());
  EXPECT_EQ(rxf.find('&'), std::string::npos);
  EXPECT_EQ(DescribeKey(a, text, "zone.5"), "Zone 5");
  EXPECT_EQ(DescribeKey(a, text, "zone.3.ch.17"), "Zone 3 Channel 17");
  EXPECT_EQ(DescribeKey(a, text, "nothing.known"), "nothing.known");
  // A change of several fields of one record is named by the first field.
  const std::vector<DiffLine> two = {{DiffLine::Kind::Field, "zone.3.ch.17.rxf", "1", "2", 0, 0},
                                     {DiffLine::Kind::Field, "zone.3.ch.17.txf", "1", "2", 0, 0}};
  EXPECT_EQ(DescribeChange(a, text, two), rxf);
  // Fields of two records, or bytes alone: no words.
  const std::vector<DiffLine> spread = {{DiffLine::Kind::Field, "zone.3.ch.17.rxf", "1", "2", 0, 0},
                                        {DiffLine::Kind::Field, "zone.3.ch.18.rxf", "1", "2", 0, 0}};
  EXPECT_EQ(DescribeChange(a, text, spread), "");
  EXPECT_EQ(DescribeChange(a, text, {{DiffLine::Kind::Bytes, "image", "FF", "00", 5, 5}}), "");
}

}  // namespace
}  // namespace vb420::compare
