// SPDX-License-Identifier: GPL-3.0-or-later
// The test-frequency grid reached by key (testfreq.N.rx|tx): the same texts
// and the same bytes as typing into the grid, and what the grid would not
// take is refused without a change.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "data/NewImage.h"
#include "editors/forms/FieldSets.h"
#include "editors/testfreq/TestFreqFields.h"
#include "lang/TextTable.h"
#include "support/Registered.h"

namespace vb420 {
namespace {

using Bytes = std::vector<uint8_t>;
using forms::SettingLine;
using forms::SettingStatus;

class TestFreqSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)TestFreqFieldTable();
    InitNewImage(data, true);
    data.SyncCodecs();
    InitNewImage(copy, true);
    copy.SyncCodecs();
  }
  SettingStatus Set(const std::string& key, const std::string& value) {
    message = 0;
    return forms::SetSetting(data, text, key, value, shown, message);
  }
  Bytes Image(RadioData& d) const { return d.buffers.ImageBytes(); }
  Bytes Slots(RadioData& d) const {
    const auto* p = d.Image().ptr(img::kTestFreqs, 160);
    return Bytes(p, p + 160);
  }
  TextTable text;
  RadioData data;
  RadioData copy;  // the same edits through the grid's store function
  SettingLine shown;
  int message = 0;
};

TEST_F(TestFreqSettings, ListingShowsEverySlotAsTheGridDoes) {
  std::vector<SettingLine> lines;
  ASSERT_EQ(forms::ListSettings(data, text, "testfreq", lines), SettingStatus::Ok);
  ASSERT_EQ(lines.size(), 32u);
  for (int slot = 0; slot < kTestFreqSlots; ++slot) {
    for (int col = 0; col < 2; ++col) {
      const SettingLine& l = lines[static_cast<size_t>(slot * 2 + col)];
      EXPECT_EQ(l.key, "testfreq." + std::to_string(slot + 1) + (col ? ".tx" : ".rx"));
      EXPECT_EQ(l.text, TestFreqText(data, slot, col)) << l.key;
      // The transmit cell of an empty row cannot be typed into.
      EXPECT_EQ(l.enabled, col == 0 || TestFreqSet(data, slot, 0)) << l.key;
    }
  }
  // A fresh image holds the defaults in its first rows and nothing after.
  EXPECT_FALSE(lines[0].text.empty());
  EXPECT_TRUE(lines[31].text.empty());
}

TEST_F(TestFreqSettings, TypedTextsStoreTheGridsBytes) {
  ASSERT_EQ(Set("testfreq.3.rx", "150.1"), SettingStatus::Ok);
  StoreTestFreq(copy, 2, 0, "150.1");
  EXPECT_EQ(Image(data), Image(copy));
  EXPECT_EQ(shown.text, TestFreqText(copy, 2, 0));
  EXPECT_EQ(message, 0);

  // An empty row takes its receive frequency first, and then both are set.
  SettingLine l;
  ASSERT_EQ(forms::GetSetting(data, text, "testfreq.12.tx", l), SettingStatus::Ok);
  EXPECT_FALSE(l.enabled);
  EXPECT_EQ(Set("testfreq.12.tx", "151"), SettingStatus::Disabled);
  EXPECT_EQ(Image(data), Image(copy));
  ASSERT_EQ(Set("testfreq.12.rx", " 151.0125 "), SettingStatus::Ok);
  StoreTestFreq(copy, 11, 0, "151.0125");
  ASSERT_EQ(Set("testfreq.12.tx", "152"), SettingStatus::Ok);
  StoreTestFreq(copy, 11, 1, "152");
  EXPECT_EQ(Slots(data), Slots(copy));
  EXPECT_EQ(Image(data), Image(copy));

  // Outside the model's range: stored all the same, with the column's warning.
  ASSERT_EQ(Set("testfreq.12.rx", "460"), SettingStatus::Ok);
  EXPECT_EQ(message, 283);
  ASSERT_EQ(Set("testfreq.12.tx", "470"), SettingStatus::Ok);
  EXPECT_EQ(message, 284);
  StoreTestFreq(copy, 11, 0, "460");
  StoreTestFreq(copy, 11, 1, "470");
  EXPECT_EQ(Image(data), Image(copy));

  // Clearing the transmit frequency clears the row.
  ASSERT_EQ(Set("testfreq.12.tx", ""), SettingStatus::Ok);
  EXPECT_EQ(shown.text, "");
  const auto* row = data.Image().ptr(img::kTestFreqs + 11 * 10, 10);
  EXPECT_EQ(Bytes(row, row + 10), Bytes(10, 0xFF));
}

TEST_F(TestFreqSettings, ClearingTheLastRowBringsTheDefaultsBack) {
  const Bytes defaults = Slots(data);
  std::vector<SettingLine> lines;
  forms::ListSettings(data, text, "testfreq", lines);
  int set = 0;
  for (const SettingLine& l : lines)
    if (l.key.size() > 3 && l.key.substr(l.key.size() - 3) == ".rx" && !l.text.empty()) ++set;
  ASSERT_GE(set, 2);
  // Every row but the last set one goes; the table is then one row only.
  for (int slot = 0; slot < set - 1; ++slot) ASSERT_EQ(Set("testfreq." + std::to_string(slot + 1) + ".rx", ""), SettingStatus::Ok);
  ASSERT_NE(Slots(data), defaults);
  ASSERT_EQ(Set("testfreq." + std::to_string(set) + ".rx", ""), SettingStatus::Ok);
  EXPECT_EQ(Slots(data), defaults);
  EXPECT_EQ(shown.text, TestFreqText(data, set - 1, 0));
  EXPECT_FALSE(shown.text.empty());
}

TEST_F(TestFreqSettings, WhatTheGridWouldNotTakeIsRefusedUnchanged) {
  const Bytes before = Image(data);
  for (const char* bad : {"abc", "150.1MHz", "-150", "1234567890", "150,1;", "15 0"}) {
    EXPECT_EQ(Set("testfreq.3.rx", bad), SettingStatus::Refused) << bad;
    EXPECT_EQ(Image(data), before) << bad;
  }
  SettingLine l;
  for (const char* key : {"testfreq.0.rx", "testfreq.17.rx", "testfreq.03.rx", "testfreq.3.both", "testfreq.rx",
                          "testfreq.3", "testfreq.3.rx.1", "testfreq.x.rx"}) {
    EXPECT_EQ(forms::GetSetting(data, text, key, l), SettingStatus::UnknownKey) << key;
    EXPECT_EQ(Set(key, "150"), SettingStatus::UnknownKey) << key;
  }
  EXPECT_EQ(Image(data), before);
  // The codec's own separator is a frequency character too.
  data.freq.SetDecimalSeparator(',');
  EXPECT_TRUE(TestFreqTypable(data, "150,1"));
  EXPECT_TRUE(TestFreqTypable(data, "150.1"));
  EXPECT_FALSE(TestFreqTypable(data, "150;1"));
}

// Damaged slots (step codes and frequency fields of any value) are shown and
// typed over without a crash and without a byte changing outside the table.
TEST_F(TestFreqSettings, DamagedSlotsStayInsideTheTable) {
  std::mt19937 rng(77);
  for (int round = 0; round < 20; ++round) {
    for (size_t i = 0; i < 160; ++i) data.Image().setU8(img::kTestFreqs + i, static_cast<uint8_t>(rng()));
    const Bytes image = Image(data);
    const Bytes ext = data.buffers.ExtBytes();
    std::vector<SettingLine> lines;
    ASSERT_EQ(forms::ListSettings(data, text, "testfreq", lines), SettingStatus::Ok);
    for (int op = 0; op < 40; ++op) {
      const std::string key = "testfreq." + std::to_string(1 + rng() % 16) + (rng() % 2 ? ".rx" : ".tx");
      const char* values[] = {"", "150.1", "999.99999", "0", "460.5", "151"};
      (void)Set(key, values[rng() % 6]);
    }
    const Bytes& after = data.buffers.ImageBytes();
    for (size_t i = 0; i < after.size(); ++i) {
      if (i < img::kTestFreqs || i >= img::kTestFreqs + 160) {
        ASSERT_EQ(after[i], image[i]) << std::hex << i;
      }
    }
    EXPECT_EQ(data.buffers.ExtBytes(), ext);
  }
}

}  // namespace
}  // namespace vb420
