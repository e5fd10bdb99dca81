// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "data/AreaDefaults.h"
#include "data/ModelChange.h"
#include "data/NewImage.h"

using namespace vb420;
using namespace vb420::test;

using Bytes = std::vector<uint8_t>;

TEST(NewImage, IdentificationBlockAndDirectory) {
  RadioData d;
  d.buffers.Clear();
  InitNewImage(d, true);
  EXPECT_EQ(d.model.Bytes(), kDefaultModelBytes);
  const Bytes ident = {'V', 'B', '4', '2', '0', 0, 0, 'V', '1', '.', '2', '0', 0xFF, 0xFF, 0xFF, 0xFF,
                       'V', 'B', '-', '4', '2', '0', ' ', 'V', '1', '.', '2', '0', 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(Slice(d.Image(), 0x100, 32), ident);
  const Bytes dir = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x97, 80, 0, 0x00, 0x9F, 80, 0,
                     0x00, 0xA7, 100, 0, 0x00, 0xB4, 90, 0};
  EXPECT_EQ(Slice(d.Image(), 0x9E0, 20), dir);
  EXPECT_EQ(d.Image().text(0x860, 12), "Stunned     ");
  EXPECT_EQ(d.Image().text(0x86C, 12), "Killed      ");
  EXPECT_EQ(d.Image().text(0x878, 12), "Searching...");
  EXPECT_EQ(d.Image().text(0x6AC, 8), "    SCAN");
  // Extension defaults; the message lines are zero and the password none.
  EXPECT_EQ(d.Ext().u8(0x501), 5);
  EXPECT_EQ(d.Ext().u8(0x503), 5);
  EXPECT_EQ(d.Ext().u16le(0x508), 180);
  EXPECT_EQ(d.Ext().u16le(0x50A), 180);
  EXPECT_EQ(d.Ext().u16le(0x50D), 0);
  EXPECT_EQ(Slice(d.Ext(), 0x600, 64), Bytes(64, 0x00));
  EXPECT_EQ(Slice(d.Ext(), 0x640, 7), Bytes(7, 0xFF));
}

TEST(NewImage, TestAndTuningFrequenciesOfAVhfMobile) {
  RadioData d;
  SetModel(d, 0, 0x04);
  ResetToNewImage(d);
  // 155.05 is a multiple of 6250 Hz, 155.10 of 7500 Hz.
  EXPECT_EQ(Slice(d.Image(), 0x8C0, 10), (Bytes{0x00, 0x50, 0x50, 0x15, 0x00, 0x00, 0x51, 0x15, '3', '4'}));
  // The seventh row lies above the band and is stored all the same.
  EXPECT_EQ(Slice(d.Image(), 0x8C0 + 60, 10), (Bytes{0x00, 0x50, 0x79, 0x17, 0x00, 0x00, 0x79, 0x17, '3', '4'}));
  EXPECT_EQ(Slice(d.Image(), 0x8C0 + 70, 90), Bytes(90, 0xFF));
  EXPECT_EQ(Slice(d.Image(), 0x960, 10), (Bytes{0x00, 0x50, 0x60, 0x13, 0x00, 0x00, 0x61, 0x13, '4', '3'}));
  EXPECT_EQ(Slice(d.Image(), 0x960 + 40, 10), (Bytes{0x00, 0x50, 0x39, 0x17, 0x00, 0x00, 0x39, 0x17, '3', '3'}));
  // Both password bits are set (no password) after New.
  EXPECT_EQ(d.model.Bytes()[6] & 0x03, 0x03);
  EXPECT_FALSE(d.buffers.Modified());
}

TEST(NewImage, TestAndTuningFrequenciesOfAUhfPortable) {
  RadioData d;
  SetModel(d, 9, 0x06);
  ResetToNewImage(d);
  EXPECT_EQ(Slice(d.Image(), 0x8C0, 10), (Bytes{0x00, 0x50, 0x50, 0x48, 0x00, 0x00, 0x51, 0x48, '6', '6'}));
  EXPECT_EQ(Slice(d.Image(), 0x8C0 + 60, 100), Bytes(100, 0xFF));
  // The portable's second tuning row differs from the mobile's.
  EXPECT_EQ(Slice(d.Image(), 0x96A, 10), (Bytes{0x00, 0x50, 0x90, 0x46, 0x00, 0x00, 0x76, 0x46, '6', '6'}));
}

TEST(NewImage, SecondGenerationMobileOn400) {
  RadioData d;
  SetModel(d, 7, 0x07);
  ResetToNewImage(d);
  EXPECT_EQ(Slice(d.Image(), 0x8C0 + 10, 10), (Bytes{0x00, 0x50, 0x00, 0x40, 0x00, 0x00, 0x01, 0x40, '6', '6'}));
  EXPECT_EQ(Slice(d.Image(), 0x96A, 10), (Bytes{0x00, 0x50, 0x75, 0x41, 0x00, 0x00, 0x76, 0x41, '6', '6'}));
  EXPECT_EQ(d.model.ModelNumber(), 7);
}

TEST(IdentificationCheck, ResetsAForeignImageKeepingItsModel) {
  RadioData d;
  SetModel(d, 5, 0x07);
  ResetToNewImage(d);
  EXPECT_FALSE(IdentificationCheck(d));
  // Only one zero byte after "VB420".
  d.Image().setU8(0x106, 'X');
  d.Image().setU8(0x3000, 0x12);
  EXPECT_TRUE(IdentificationCheck(d));
  EXPECT_EQ(d.Image().u8(0x106), 0);
  EXPECT_EQ(d.Image().u8(0x3000), 0xFF);
  EXPECT_EQ(d.model.ModelNumber(), 5);
  EXPECT_EQ(d.model.BandCode(), 0x07);
}

TEST(VersionRecheck, RecomputesMarksOnlyForTheCurrentVersion) {
  RadioData d;
  SetModel(d, 0, 0x04);
  ResetToNewImage(d);
  int calls = 0;
  VersionRecheck(d, [&] { ++calls; });
  EXPECT_EQ(calls, 1);
  d.Image().writeText(0x107, "V1.10", 5);
  VersionRecheck(d, [&] { ++calls; });
  EXPECT_EQ(calls, 1);
}

TEST(PostLoadAdjustments, NormalisesTheSettingsBytes) {
  RadioData d;
  SetModel(d, 0, 0x04);
  ResetToNewImage(d);
  ByteArea im = d.Image();
  im.setU8(0x81B, '0');
  im.setU8(0x7ED, '1');
  im.setU8(0x6C6, '2');
  im.setU8(0x6C7, '3');
  PostLoadAdjustments(d);
  EXPECT_EQ(im.u8(0x81B), '1');
  EXPECT_EQ(im.u8(0x7ED), '0');
  EXPECT_EQ(im.u8(0x6C7), '2' + 5);
  im.setU8(0x6C6, 'x');
  PostLoadAdjustments(d);
  EXPECT_EQ(im.u8(0x6C7), 0xFF);
  // A value already large enough stays.
  im.setU8(0x6C6, '1');
  im.setU8(0x6C7, '9');
  PostLoadAdjustments(d);
  EXPECT_EQ(im.u8(0x6C7), '9');
  // A damaged scan byte near 0xFF does not wrap the minimum.
  im.setU8(0x6C6, 0xFD);
  im.setU8(0x6C7, 0x10);
  PostLoadAdjustments(d);
  EXPECT_EQ(im.u8(0x6C7), 0x10);
}

class ModelChangeTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadNumberedTable(text); }
  TextTable text;
  RadioData d;
};

TEST_F(ModelChangeTest, FirstToSecondGenerationAsksWith296AndKeepsChannels) {
  SetModel(d, 0, 0x04);
  ResetToNewImage(d);
  const auto plan = PlanModelChange(d, text, 2, 0x04);
  EXPECT_EQ(plan.warning, "T296");
  EXPECT_TRUE(plan.flags.generation);
  EXPECT_FALSE(plan.flags.band || plan.flags.kind || plan.flags.power);
  bool cleared = false, zoneFix = false;
  ModelChangeHooks hooks;
  hooks.clearAllZones = [&] { cleared = true; };
  hooks.zoneGenerationFixup = [&] { zoneFix = true; };
  ByteArea im = d.Image();
  im.writeText(0x160, "LONGNAME1234", 12);
  im.writeText(0x7E0, "ab!cdefghijk", 12);
  im.setU8(0x140, 12);
  im.setU8(0x193, '1');
  im.setU8(0x6A2, '7');
  d.Ext().writeText(0x100, "EXTNAME12345", 12);
  ApplyModelChange(d, 2, 0x04, plan.flags, hooks);
  EXPECT_FALSE(cleared);
  EXPECT_TRUE(zoneFix);
  EXPECT_EQ(d.model.ModelNumber(), 2);
  EXPECT_EQ(Slice(im, 0x160, 12), (Bytes{'L', 'O', 'N', 'G', 'N', 'A', 'M', 'E', 0, 0, 0, 0}));
  EXPECT_EQ(Slice(im, 0x7E0, 12), (Bytes{'A', 'B', ' ', 'C', 'D', 'E', 'F', 'G', 0, 0, 0, 0}));
  EXPECT_EQ(Slice(d.Ext(), 0x100, 12), (Bytes{'E', 'X', 'T', 'N', 'A', 'M', 'E', '1', 0, 0, 0, 0}));
  EXPECT_EQ(im.u8(0x140), 8);
  EXPECT_EQ(im.u8(0x193), 0xFF);
  EXPECT_EQ(im.u8(0x6A2), '0');
}

TEST_F(ModelChangeTest, MobileToPortableOnTheSameBand) {
  SetModel(d, 0, 0x04);
  ResetToNewImage(d);
  const auto plan = PlanModelChange(d, text, 8, 0x04);
  EXPECT_EQ(plan.warning, "T287\nT295");
  EXPECT_TRUE(plan.flags.kind);
  int reencoded = 0, marks = 0;
  ModelChangeHooks hooks;
  hooks.reencodeAllChannels = [&] { ++reencoded; };
  hooks.recomputeChannelMarks = [&] { ++marks; };
  d.Ext().setU16le(0x508, 100);
  d.Ext().setU16le(0x50A, 240);
  d.Image().setU8(0x15B, 0x1C);
  ApplyModelChange(d, 8, 0x04, plan.flags, hooks);
  EXPECT_EQ(reencoded, 1);
  EXPECT_EQ(marks, 1);
  EXPECT_EQ(d.Image().u8(0x15A), 0xFF);
  EXPECT_EQ(d.Image().u8(0x15B), 0x63);
  EXPECT_EQ(Slice(d.Image(), 0x16C, 2), (Bytes{0, 0x1F}));
  EXPECT_EQ(d.Image().u8(0x17E), '1');
  EXPECT_EQ(d.Ext().u16le(0x508), 240);
  EXPECT_EQ(d.Ext().u16le(0x50A), 240);
}

TEST_F(ModelChangeTest, BandChangeClearsZonesAndResetsFrequencies) {
  SetModel(d, 4, 0x06);
  ResetToNewImage(d);
  const auto plan = PlanModelChange(d, text, 4, 0x07);
  EXPECT_EQ(plan.warning, "T286");
  EXPECT_TRUE(plan.flags.band);
  bool cleared = false;
  ModelChangeHooks hooks;
  hooks.clearAllZones = [&] { cleared = true; };
  ApplyModelChange(d, 4, 0x07, plan.flags, hooks);
  EXPECT_TRUE(cleared);
  EXPECT_EQ(d.model.BandCode(), 0x07);
  EXPECT_EQ(Slice(d.Image(), 0x8C0, 4), (Bytes{0x00, 0x50, 0x50, 0x43}));  // 435.05
}

TEST_F(ModelChangeTest, StandardToHighPowerAndNoChange) {
  SetModel(d, 0, 0x04);
  ResetToNewImage(d);
  auto plan = PlanModelChange(d, text, 1, 0x04);
  EXPECT_EQ(plan.warning, "T297");
  EXPECT_TRUE(plan.flags.power);
  plan = PlanModelChange(d, text, 0, 0x04);
  EXPECT_FALSE(plan.flags.Any());
  EXPECT_EQ(plan.warning, "");
  // High to standard power needs no question.
  SetModel(d, 1, 0x04);
  plan = PlanModelChange(d, text, 0, 0x04);
  EXPECT_FALSE(plan.flags.Any());
}
