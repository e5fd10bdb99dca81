// SPDX-License-Identifier: GPL-3.0-or-later
// The test-frequency table as its editor changes it: complete rows, the
// defaults when the last row goes, and Copy/Paste/Delete of rows.
#include <gtest/gtest.h>

#include <vector>

#include "data/NewImage.h"
#include "editors/testfreq/TestFreqFields.h"

namespace vb420 {
namespace {

using Bytes = std::vector<uint8_t>;

class TestFreqTable : public ::testing::Test {
 protected:
  void SetUp() override {
    InitNewImage(data, true);
    data.SyncCodecs();
    defaults = Slots();
  }
  Bytes Slot(int s) {
    const auto* p = data.Image().ptr(img::kTestFreqs + s * 10, 10);
    return Bytes(p, p + 10);
  }
  Bytes Slots() {
    const auto* p = data.Image().ptr(img::kTestFreqs, 160);
    return Bytes(p, p + 160);
  }
  RadioData data;
  Bytes defaults;
};

TEST_F(TestFreqTable, RowsAreAlwaysCompleteOrEmpty) {
  ASSERT_TRUE(TestFreqSet(data, 0, 0));
  ASSERT_FALSE(TestFreqSet(data, 10, 0));
  // The transmit frequency of an empty row starts as the receive one.
  EXPECT_EQ(StoreTestFreq(data, 10, 0, "151.5").result, TestFreqStore::kStored);
  EXPECT_EQ(TestFreqText(data, 10, 0), TestFreqText(data, 10, 1));
  const Bytes row = Slot(10);
  EXPECT_TRUE(std::equal(row.begin(), row.begin() + 4, row.begin() + 4));
  EXPECT_EQ(row[8], row[9]);
  EXPECT_EQ(StoreTestFreq(data, 10, 1, "152.5").result, TestFreqStore::kStored);
  EXPECT_NE(TestFreqText(data, 10, 0), TestFreqText(data, 10, 1));
  // Clearing either frequency clears the whole row.
  const TestFreqStoreResult cleared = StoreTestFreq(data, 10, 1, "");
  EXPECT_EQ(cleared.result, TestFreqStore::kCleared);
  EXPECT_FALSE(cleared.defaultsLoaded);
  EXPECT_EQ(Slot(10), Bytes(10, 0xFF));
  // Outside the band: stored all the same, with the warning.
  EXPECT_EQ(StoreTestFreq(data, 11, 0, "460").result, TestFreqStore::kOutOfRange);
  EXPECT_TRUE(TestFreqSet(data, 11, 0));
  // Out of the table: nothing.
  EXPECT_EQ(StoreTestFreq(data, 16, 0, "151").result, TestFreqStore::kCleared);
  EXPECT_EQ(Slot(15), Bytes(10, 0xFF));
}

TEST_F(TestFreqTable, ClearingTheLastFrequencyBringsTheDefaultsBack) {
  for (int s = 0; s < kTestFreqSlots; ++s) data.Image().fill(img::kTestFreqs + s * 10, 10, 0xFF);
  EXPECT_EQ(StoreTestFreq(data, 3, 0, "150.0").result, TestFreqStore::kStored);
  const TestFreqStoreResult r = StoreTestFreq(data, 3, 0, "");
  EXPECT_TRUE(r.defaultsLoaded);
  EXPECT_EQ(Slots(), defaults);
  EXPECT_FALSE(DeleteTestFreqs(data, 0, 3));  // rows 5.. are still set
  EXPECT_TRUE(DeleteTestFreqs(data, 0, 15));
  EXPECT_EQ(Slots(), defaults);
}

TEST_F(TestFreqTable, CopyPasteAndDeleteRows) {
  TestFreqCopyBuffer buf;
  CopyTestFreqs(data, 1, 2, buf);
  ASSERT_EQ(buf.slots.size(), 2u);
  const Bytes one = Slot(1), two = Slot(2);
  EXPECT_TRUE(PasteTestFreqs(data, 14, 0, buf));
  EXPECT_EQ(Slot(14), one);
  EXPECT_EQ(Slot(15), two);
  // Only as far as there are rows.
  data.Image().fill(img::kTestFreqs + 14 * 10, 20, 0xFF);
  EXPECT_TRUE(PasteTestFreqs(data, 15, 0, buf));
  EXPECT_EQ(Slot(15), one);
  EXPECT_EQ(Slot(14), Bytes(10, 0xFF));
  // Never more rows than were kept, nor than asked for.
  const Bytes ten = Slot(10);
  EXPECT_TRUE(PasteTestFreqs(data, 8, 3, buf));
  EXPECT_EQ(Slot(8), one);
  EXPECT_EQ(Slot(9), two);
  EXPECT_EQ(Slot(10), ten);
  EXPECT_TRUE(PasteTestFreqs(data, 12, 1, buf));
  EXPECT_EQ(Slot(12), one);
  EXPECT_NE(Slot(13), two);
  EXPECT_FALSE(PasteTestFreqs(data, 16, 0, buf));
  EXPECT_FALSE(PasteTestFreqs(data, 0, 0, TestFreqCopyBuffer{}));
  EXPECT_FALSE(DeleteTestFreqs(data, 8, 10));
  EXPECT_EQ(Slot(9), Bytes(10, 0xFF));
  EXPECT_EQ(Slot(0), defaults.size() ? Bytes(defaults.begin(), defaults.begin() + 10) : Bytes());
}

}  // namespace
}  // namespace vb420
