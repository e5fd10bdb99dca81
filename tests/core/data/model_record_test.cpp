// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "data/ModelRecord.h"
#include "data/RadioData.h"
#include "lang/TextTable.h"

using namespace vb420;

namespace {
ModelBytes ModelCode(const char* code, uint8_t band, uint8_t b6) {
  ModelBytes b{};
  for (int i = 0; i < 5; ++i) b[i] = static_cast<uint8_t>(code[i]);
  b[5] = band;
  b[6] = b6;
  b[7] = 0xFF;
  return b;
}
}  // namespace

TEST(ModelRecord, PowerBitSelectsTheHighPowerModel) {
  EXPECT_EQ(ModelRecord::ModelNumberOf(ModelCode("M1600", 0x04, 0xFB)), 1);  // VT-1600H
  EXPECT_EQ(ModelRecord::ModelNumberOf(ModelCode("M1600", 0x04, 0xFF)), 0);  // VT-1600
  EXPECT_EQ(ModelRecord::ModelNumberOf(ModelCode("M2602", 0x06, 0xF8)), 7);  // password bits do not matter
  EXPECT_EQ(ModelRecord::ModelNumberOf(ModelCode("P2400", 0x06, 0xFB)), -1); // no high-power portable
  EXPECT_EQ(ModelRecord::ModelNumberOf(ModelCode("X1600", 0x04, 0xFF)), -1);
}

TEST(ModelRecord, KnownModelNeedsAnAllowedBand) {
  EXPECT_FALSE(ModelRecord::IsKnownModel(ModelCode("M2600", 0x04, 0xFF)));
  EXPECT_TRUE(ModelRecord::IsKnownModel(ModelCode("M2600", 0x06, 0xFF)));
  EXPECT_TRUE(ModelRecord::IsKnownModel(ModelCode("M2600", 0x07, 0xFF)));
  EXPECT_FALSE(ModelRecord::IsKnownModel(ModelCode("M1600", 0x06, 0xFF)));
  EXPECT_FALSE(ModelRecord::IsKnownModel(ModelCode("ZZZZZ", 0x04, 0xFF)));
  EXPECT_TRUE(ModelRecord::IsSelectableBand(0x07));
  EXPECT_FALSE(ModelRecord::IsSelectableBand(0x05));
}

TEST(ModelRecord, KindGenerationAndPowerOfEveryModel) {
  const int kinds[kModelCount] = {2, 2, 2, 2, 2, 2, 2, 2, 1, 1};
  const bool second[kModelCount] = {false, false, true, true, false, false, true, true, false, false};
  const bool high[kModelCount] = {false, true, false, true, false, true, false, true, false, false};
  for (int m = 0; m < kModelCount; ++m) {
    EXPECT_EQ(ModelRecord::KindOf(m), kinds[m]) << m;
    EXPECT_EQ(IsSecondGeneration(m), second[m]) << m;
    EXPECT_EQ(IsFirstGeneration(m), !second[m]) << m;
    EXPECT_EQ(IsHighPower(m), high[m]) << m;
  }
  // Unknown bytes: kind mobile, neither generation.
  EXPECT_EQ(ModelRecord::KindOf(-1), 2);
  EXPECT_FALSE(IsSecondGeneration(-1));
  EXPECT_FALSE(IsFirstGeneration(-1));
}

TEST(ModelRecord, SettingTheModelKeepsThePasswordBits) {
  RadioData d;
  d.model.SetBytes(ModelCode("M1600", 0x04, 0xFC));  // both passwords set
  d.model.SetModel(5);                            // VT-2600H
  d.model.SetBandCode(0x07);
  const ModelBytes b = d.model.Bytes();
  EXPECT_EQ(std::string(b.begin(), b.begin() + 5), "M2600");
  EXPECT_EQ(b[5], 0x07);
  EXPECT_EQ(b[6], 0xF8);  // power bit cleared, password bits kept
  EXPECT_TRUE(d.model.ReadPasswordSet());
  EXPECT_TRUE(d.model.OverwritePasswordSet());
  d.model.SetReadPasswordBit(false);
  d.model.SetOverwritePasswordBit(false);
  EXPECT_EQ(d.model.Bytes()[6], 0xFB);
  EXPECT_EQ(d.model.ModelNumber(), 5);
}

TEST(ModelRecord, BandLimitsAndClass) {
  RadioData d;
  d.model.SetBytes(ModelCode("M2600", 0x06, 0xFF));
  EXPECT_EQ(d.model.LowerLimit(), 450);
  EXPECT_EQ(d.model.UpperLimit(), 520);
  EXPECT_EQ(d.model.BandClass(), 1);
  d.model.SetBandCode(0x07);
  EXPECT_EQ(d.model.LowerLimit(), 400);
  EXPECT_EQ(d.model.UpperLimit(), 470);
  d.model.SetBandCode(0x09);  // outside the table: VHF limits, unknown class
  EXPECT_EQ(d.model.LowerLimit(), 136);
  EXPECT_EQ(d.model.UpperLimit(), 174);
  EXPECT_EQ(d.model.BandClass(), -1);
  d.SyncCodecs();
  EXPECT_EQ(d.freq.Band(), 0);
  EXPECT_DOUBLE_EQ(d.freq.Upper(), 174.0);
}

TEST(ModelRecord, NamesVariantsAndLists) {
  TextTable t;
  std::string file = "*Language,English\n";
  for (int i = 0; i < TextTable::kEntryCount; ++i)
    file += "^#" + TextTable::IdentifierOf(i) + "," + (i == 204 ? "Mobile" : i == 205 ? "Portable" : "x") + "\n";
  ASSERT_EQ(t.LoadText(file, "English"), TextTable::LoadResult::Ok);
  RadioData d;
  d.model.SetBytes(ModelCode("P2400", 0x07, 0xFF));
  EXPECT_EQ(d.model.DisplayName(t), "VT-2400[Portable]");
  EXPECT_EQ(d.model.Description(t), "VT-2400[Portable] UHF : 400-470 MHz");
  EXPECT_EQ(d.model.ShortDescription(t), "VT-2400[Portable] [UHF]");
  const auto models = ModelRecord::ModelList(t);
  ASSERT_EQ(models.size(), 10u);
  EXPECT_EQ(models[3].first, "VT-1602H[Mobile]");
  const auto bands = ModelRecord::BandList(4);
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[1].first, "400-470 MHz");
  EXPECT_EQ(bands[1].second, 0x07);
  EXPECT_EQ(VariantBandText("VT-2400", "K3"), "450-520 MHz");
  EXPECT_EQ(VariantBandText("VT-2400", "K5"), "");
  EXPECT_EQ(ModelNumberOfName("VT-2602H"), 7);
  EXPECT_EQ(BandCodeOfText("400-470"), 0x07);
  EXPECT_EQ(BandCodeOfText("136-174 MHz"), 0x04);
  EXPECT_EQ(BandCodeOfText("300-400"), -1);
}

TEST(ModelRecord, PlatformKindAndVoting) {
  RadioData d;
  d.model.SetBytes(ModelCode("P1400", 0x04, 0xFF));
  EXPECT_TRUE(d.model.SameKindAsPlatform("P9302"));
  EXPECT_FALSE(d.model.SameKindAsPlatform("M9300"));
  EXPECT_TRUE(d.model.VotingCapable(true));
  EXPECT_FALSE(d.model.VotingCapable(false));
  d.model.SetBytes(ModelCode("M1602", 0x04, 0xFF));
  EXPECT_FALSE(d.model.VotingCapable(true));
}

TEST(MemoryBuffers, SnapshotAndModified) {
  MemoryBuffers b;
  b.Clear();
  b.TakeSnapshot();
  EXPECT_FALSE(b.Modified());
  b.Ext().setU8(0x11FF, 0x12);  // the very last extension byte counts
  EXPECT_TRUE(b.Modified());
  b.TakeSnapshot();
  b.Image().setU8(0, 0);
  EXPECT_TRUE(b.Modified());
  // A load waiting in the scratch copy survives the comparison.
  b.ScratchImage().setU8(5, 0x55);
  b.Modified();
  EXPECT_EQ(b.ScratchImage().u8(5), 0x55);
  b.AcceptScratch();
  EXPECT_EQ(b.Image().u8(5), 0x55);
}

TEST(ByteArea, OutOfRangeReadsAreNoneAndWritesAreDropped) {
  std::vector<uint8_t> mem(8, 0);
  ByteArea a(mem.data(), mem.size());
  EXPECT_EQ(a.u16le(7), 0xFFFF);
  EXPECT_EQ(a.u8(8), 0xFF);
  a.setU16le(7, 0x1234);
  a.fill(4, 5, 0xAA);
  EXPECT_EQ(mem, std::vector<uint8_t>(8, 0));
  a.setU16le(6, 0x1234);
  EXPECT_EQ(mem[6], 0x34);
  EXPECT_EQ(mem[7], 0x12);
  EXPECT_EQ(a.ptr(SIZE_MAX - 1, 4), nullptr);
}
