// SPDX-License-Identifier: GPL-3.0-or-later
// The PassPort mobile ID names and site lists: rows placed by the area
// directory, brought into being by their first field, cleared by an empty
// one, and cut to the image when the directory points past it.
#include <gtest/gtest.h>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/passport/PassPortLists.h"
#include "lang/TextTable.h"
#include "support/Registered.h"

namespace vb420 {
namespace {

using forms::SettingLine;
using forms::SettingStatus;

class PassPortLists : public ::testing::Test {
 protected:
  PassPortLists() : data(&text) {
    std::string lng = "*Language,English\n";
    for (int i = 0; i < TextTable::kEntryCount; ++i) lng += "^#" + TextTable::IdentifierOf(i) + ",T" + std::to_string(i) + "\n";
    text.LoadText(lng, "English");
    data.buffers.Clear();
    InitNewImage(data, true);
  }
  SettingStatus Set(const std::string& key, const std::string& value, std::string* shown = nullptr) {
    SettingLine l;
    int m = 0;
    const SettingStatus s = forms::SetSetting(data, text, key, value, l, m);
    if (shown) *shown = l.text;
    return s;
  }
  std::vector<uint8_t> Row(pplist::Kind kind, int row) {
    const DirectoryList rows = pplist::Rows(data, kind);
    std::vector<uint8_t> v(16);
    data.Image().read(rows.Row(static_cast<size_t>(row)), v.data(), 16);
    return v;
  }
  TextTable text;
  RadioData data;
};

TEST_F(PassPortLists, MobileRowsComeWithTheirMinAndGoWithAnEmptyOne) {
  ASSERT_EQ(pplist::Rows(data, pplist::Kind::MobileIds).offset, 0x9700u);
  ASSERT_EQ(pplist::Rows(data, pplist::Kind::MobileIds).count, 80u);
  EXPECT_EQ(Set("ppmobile.3.name", "DISPATCH"), SettingStatus::Disabled);  // no row yet
  std::string shown;
  ASSERT_EQ(Set("ppmobile.3.min", "70000", &shown), SettingStatus::Ok);
  EXPECT_EQ(shown, "65500");
  ASSERT_EQ(Set("ppmobile.3.name", "DISPATCH ONE", &shown), SettingStatus::Ok);
  EXPECT_EQ(Row(pplist::Kind::MobileIds, 2),
            (std::vector<uint8_t>{0xDC, 0xFF, 'D', 'I', 'S', 'P', 'A', 'T', 'C', 'H', ' ', 'O', 'N', 'E', 0xFF, 0xFF}));
  ASSERT_EQ(Set("ppmobile.3.min", ""), SettingStatus::Ok);
  EXPECT_EQ(Row(pplist::Kind::MobileIds, 2), std::vector<uint8_t>(16, 0xFF));
  EXPECT_FALSE(pplist::RowUsed(data, pplist::Kind::MobileIds, 2));
}

TEST_F(PassPortLists, SiteRowsStartWithNsidZeroAndNoChannel) {
  std::string shown;
  ASSERT_EQ(Set("ppsite.1.asid", "12"), SettingStatus::Ok);
  std::vector<uint8_t> expect(16, 0x00);
  expect[0] = 12;
  expect[14] = expect[15] = 0xFF;
  EXPECT_EQ(Row(pplist::Kind::Sites, 0), expect);
  ASSERT_EQ(Set("ppsite.1.channel", "1791", &shown), SettingStatus::Ok);
  EXPECT_EQ(Row(pplist::Kind::Sites, 0)[14], 0xFF);
  EXPECT_EQ(Row(pplist::Kind::Sites, 0)[15], 0xDF);  // 1791 << 5 with bits 0-4 kept
  ASSERT_EQ(Set("ppsite.1.channel", "", &shown), SettingStatus::Ok);
  EXPECT_EQ(shown, "");
  ASSERT_EQ(Set("ppsite.1.nsid", "9", &shown), SettingStatus::Ok);
  EXPECT_EQ(shown, "3");
  pplist::ClearRows(data, pplist::Kind::Sites, 0, 5);
  EXPECT_EQ(Row(pplist::Kind::Sites, 0), std::vector<uint8_t>(16, 0xFF));
}

TEST_F(PassPortLists, ADirectoryPastTheImageGivesNoRows) {
  data.Image().setU16le(dir::OffsetWord(2), 0xBFF8);  // one row would cross the end
  EXPECT_EQ(pplist::Rows(data, pplist::Kind::Sites).count, 0u);
  SettingLine l;
  EXPECT_EQ(forms::GetSetting(data, text, "ppsite.1.asid", l), SettingStatus::UnknownKey);
  data.Image().setU16le(dir::CountWord(1), 500);  // more rows than the lists hold
  EXPECT_EQ(pplist::Rows(data, pplist::Kind::MobileIds).count, 80u);
}

}  // namespace
}  // namespace vb420
