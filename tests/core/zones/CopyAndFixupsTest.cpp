// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "ZoneTestUtil.h"
#include "data/ModelChange.h"
#include "editors/zones/RecordCopy.h"
#include "editors/zones/ZoneFixups.h"

namespace vb420::testing {
namespace {

using CopyOps = ZoneFixture;

TEST_F(CopyOps, ChannelCopyReplacesAnExistingTarget) {
  MakeConv(0, {1, 2, 4});
  ASSERT_EQ(conv.SetFrequency(0, 3, 3, "151.25", true).result, 1);
  ASSERT_EQ(conv.SetName(0, 3, "SOURCE"), 1);
  ext().setU8(0x1002, 9);         // channel 4's byte
  ext().setBit(0x6B0, 2, false);  // and its field 18
  const std::vector<uint8_t> source = Bytes(zm.FindRecord(0, 3), 48);
  const FieldResult r = ChannelCopy(zm, 0, 3, 1);  // over channel 2
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(zm.RecordCount(0), 3);
  std::vector<uint8_t> expected = source;
  expected[0] = 2;
  EXPECT_EQ(Bytes(zm.FindRecord(0, 1), 48), expected);
  EXPECT_EQ(Bytes(zm.FindRecord(0, 3), 48), source);
  EXPECT_EQ(ext().u8(0x1001), 9);
  EXPECT_FALSE(ext().bit(0x6B0, 1));
  EXPECT_EQ(ext().u8(0x1002), 9);
  // To a free number: inserted in order.
  EXPECT_EQ(ChannelCopy(zm, 0, 0, 2).result, 1);
  EXPECT_EQ(zm.RecordNumbers(0), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(ChannelCopy(zm, 0, 0, 0).result, -1);
  EXPECT_EQ(ChannelCopy(zm, 0, 7, 8).result, -1);
  EXPECT_EQ(ChannelCopy(zm, 0, 0, 250).result, -1);
}

TEST_F(CopyOps, ChannelCopyAtTheLimit) {
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  ASSERT_EQ(zm.CreateZone(2, '0'), 1);
  for (int c = 0; c < 250; ++c) ASSERT_EQ(zm.InsertRecord(0, c), 1);
  for (int c = 0; c < 250; ++c) ASSERT_EQ(zm.InsertRecord(1, c), 1);
  for (int c = 0; c < 12; ++c) ASSERT_EQ(zm.InsertRecord(2, c), 1);
  const FieldResult r = ChannelCopy(zm, 2, 0, 20);
  EXPECT_EQ(r.result, -2);
  EXPECT_EQ(r.message, 299);
  EXPECT_EQ(ChannelCopy(zm, 2, 0, 5).result, 1);  // replacing stays within the limit
}

TEST_F(CopyOps, CopyBufferPasteCreatesTheMissingZone) {
  MakeConv(0, {1, 3});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "146.52", true).result, 1);
  ext().setU8(0x1000, 7);
  // The scrambler tables belong to zones, not to records: a record copy
  // neither takes nor moves them.
  ext().setU8(0x580, 0x33);
  ext().setBit(0x570, 0, false);
  const std::vector<uint8_t> scrambler(ext().ptr(0x570, 0x90), ext().ptr(0x570, 0x90) + 0x90);
  CRecordCopyBuffer buffer;
  buffer.Copy(zm, 0, 0, 2);  // rows 1..3, row 2 empty
  EXPECT_EQ(buffer.Rows(), 3u);
  EXPECT_EQ(buffer.Class(), kClassConv);
  const std::vector<uint8_t> ch1 = Bytes(zm.FindRecord(0, 0), 48);

  const FieldResult r = buffer.Paste(zm, 4, 9);
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(zm.ZoneType(4), '1');
  EXPECT_EQ(zm.RecordNumbers(4), (std::vector<int>{9, 11}));
  std::vector<uint8_t> expected = ch1;
  expected[0] = 10;
  EXPECT_EQ(Bytes(zm.FindRecord(4, 9), 48), expected);
  const int g = zm.GlobalChannel(4, 9);
  EXPECT_EQ(g, 2);
  EXPECT_EQ(ext().u8(0x1000 + g), 7);
  EXPECT_EQ(std::vector<uint8_t>(ext().ptr(0x570, 0x90), ext().ptr(0x570, 0x90) + 0x90), scrambler);

  // An empty buffer row clears an existing target.
  ASSERT_EQ(zm.InsertRecord(4, 10), 1);
  EXPECT_EQ(buffer.Paste(zm, 4, 9).result, 1);
  EXPECT_FALSE(zm.RecordExists(4, 10));
  // Rows past 250 are dropped.
  EXPECT_EQ(buffer.Paste(zm, 4, 248).result, 1);
  EXPECT_EQ(zm.RecordNumbers(4), (std::vector<int>{9, 11, 248}));
  // Another class is refused without a change.
  ASSERT_EQ(zm.CreateZone(6, '0'), 1);
  EXPECT_EQ(buffer.Paste(zm, 6, 0).result, -3);
  EXPECT_EQ(zm.RecordCount(6), 0);
  EXPECT_EQ(buffer.Delete(zm, 4, 0, 249), 3);
  EXPECT_EQ(zm.RecordCount(4), 0);
}

TEST_F(CopyOps, PastedChannelsGetFlagBOffSystemTypeFour) {
  SetModel(8, 0x04);
  SetSystemType(4);
  MakeConv(0, {1});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "143.77", true).result, 1);  // inside portable B window
  EXPECT_FALSE(Flags(0, 0) & 0x40);
  CRecordCopyBuffer buffer;
  buffer.Copy(zm, 0, 0, 0);
  ASSERT_EQ(buffer.Paste(zm, 0, 1).result, 1);
  EXPECT_FALSE(Flags(0, 1) & 0x40);  // left as copied
  SetSystemType(1);
  ASSERT_EQ(buffer.Paste(zm, 0, 2).result, 1);
  EXPECT_TRUE(Flags(0, 2) & 0x40);
}

TEST_F(CopyOps, PastedGroupsLoseReferencesTheFilterForbids) {
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(0, 0), 1);
  ASSERT_EQ(zm.InsertRecord(0, 1), 1);
  image().setU8(zm.FindRecord(0, 0) + 16, '4');
  image().setU8(zm.FindRecord(0, 1) + 16, '1');
  CRecordCopyBuffer buffer;
  buffer.Copy(zm, 0, 0, 1);
  image().setU8(0x180, '1');
  ASSERT_EQ(buffer.Paste(zm, 0, 5).result, 1);
  EXPECT_EQ(image().u8(zm.FindRecord(0, 5) + 16), 0xFF);
  EXPECT_EQ(image().u8(zm.FindRecord(0, 6) + 16), '1');
  image().setU8(0x180, '2');
  ASSERT_EQ(buffer.Paste(zm, 0, 5).result, 1);
  EXPECT_EQ(image().u8(zm.FindRecord(0, 5) + 16), '4');
  EXPECT_EQ(image().u8(zm.FindRecord(0, 6) + 16), 0xFF);
}

TEST_F(CopyOps, JumpTargets) {
  std::string t = "17";
  EXPECT_EQ(JumpTarget(t), 16);
  t = "999";
  EXPECT_EQ(JumpTarget(t), 249);
  EXPECT_EQ(t, "250");
  t = "0";
  EXPECT_EQ(JumpTarget(t), 0);
  t = "  ";
  EXPECT_EQ(JumpTarget(t), -1);
}

using Fixups = ZoneFixture;

TEST_F(Fixups, BandChangeClearsEveryZone) {
  MakeConv(0, {1, 2});
  ASSERT_EQ(zm.CreateZone(5, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(5, 0), 1);
  ext().setU8(0x504, 6);
  ext().setU8(0x1000, 42);
  ModelChangeHooks hooks;
  WireZoneFixups(hooks, data);
  ModelChangeFlags flags;
  flags.band = true;
  ApplyModelChange(data, 4, 0x06, flags, hooks);
  for (int z = 0; z < 128; ++z) EXPECT_FALSE(zm.ZoneExists(z));
  EXPECT_EQ(image().u16le(0x9E0), 0xFFFF);
  EXPECT_EQ(image().u16le(0x9E2), 0xFFFF);
  EXPECT_EQ(zm.FreeBytes(), 18439);
  EXPECT_EQ(ext().u8(0x504), 0xFF);
  EXPECT_EQ(ext().u8(0x1000), 0xFF);
  EXPECT_TRUE(ext().bit(0x6F0, 5));
}

TEST_F(Fixups, KindChangeReencodesAndRemarksChannels) {
  MakeConv(0, {1});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "146.5125", true).result, 1);
  const size_t rec = static_cast<size_t>(zm.FindRecord(0, 0));
  EXPECT_EQ(image().u8(rec + 9), '4');
  EXPECT_TRUE(Flags(0, 0) & 0x80);
  SetModel(8, 0x04);  // to the portable: no 7.5 kHz step
  ReencodeAllChannels(data);
  RecomputeChannelMarks(data);
  EXPECT_EQ(image().u8(rec + 9), '3');
  EXPECT_EQ(image().u8(rec + 10), '3');
  EXPECT_EQ(Field(0, 0, 3), "146.51250");
  // 146.5125 is 21.9 kHz below 1272 x 115200 Hz: outside the window.
  EXPECT_TRUE(Flags(0, 0) & 0x80);
  // Frequencies outside the new band are kept, not clamped.
  image().setU32le(rec + 5, 0x20000000);  // 200.00000 MHz
  ReencodeAllChannels(data);
  EXPECT_EQ(Field(0, 0, 4), "200.00000");
  EXPECT_EQ(image().u8(rec + 10), '3');  // 6.25 kHz divides it
}

TEST_F(Fixups, PowerAndGenerationAndVersion) {
  MakeConv(0, {1});
  MakeConv(1, {});
  ASSERT_EQ(zm.CreateZone(2, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(2, 0), 1);
  ASSERT_EQ(conv.SetHeaderField(0, 7, "1200"), 1);
  ASSERT_EQ(conv.SetHeaderField(1, 7, "500"), 1);
  LowerConventionalPower(data);
  EXPECT_EQ(image().u16le(zm.ZoneOffset(0) + 0x13), 600);
  EXPECT_EQ(image().u16le(zm.ZoneOffset(1) + 0x13), 500);

  ASSERT_EQ(conv.SetName(0, 0, "Harbour pilot"), 1);
  ASSERT_EQ(conv.SetHeaderField(0, 0, "Eastern Hills"), 1);
  SetModel(2, 0x04);
  ZoneGenerationFixup(data);
  const size_t rec = static_cast<size_t>(zm.FindRecord(0, 0));
  EXPECT_EQ(Bytes(rec + 15, 12), std::vector<uint8_t>({'H', 'A', 'R', 'B', 'O', 'U', 'R', 0, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(zm.ZoneOffset(0) + 5, 12),
            std::vector<uint8_t>({'E', 'A', 'S', 'T', 'E', 'R', 'N', 0, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(zm.FindRecord(2, 0) + 3, 12),
            std::vector<uint8_t>({' ', ' ', 'G', 'R', ' ', ' ', ' ', '1', 0, 0, 0, 0}));

  SetModel(8, 0x04);
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "146.52", true).result, 1);
  EXPECT_FALSE(Flags(0, 0) & 0x80);
  SetModel(0, 0x04);
  RecomputeTransmitChecks(data);
  EXPECT_TRUE(Flags(0, 0) & 0x80);
}

// ---------------------------------------------------------------------------
// Damaged zone areas

using DamagedArea = ZoneFixture;

TEST_F(DamagedArea, TableWordThatPointsNowhere) {
  MakeConv(0, {1});
  MakeConv(1, {1});
  image().setU16le(0xA02, 0x0123);
  const auto problems = zm.CheckZoneArea();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].zone, 1);
  // The walk still finds the block; a change rewrites the word.
  EXPECT_EQ(zm.ZoneOffset(1), 0xB50);
  ASSERT_EQ(zm.InsertRecord(0, 1), 1);
  EXPECT_EQ(TableWord(1), 0xB80);
  EXPECT_TRUE(zm.CheckZoneArea().empty());
}

TEST_F(DamagedArea, TypeByteThatNamesNoClass) {
  MakeConv(0, {1});
  MakeConv(3, {1});
  image().setU8(0xB01, 'Z');
  EXPECT_EQ(zm.ZoneClass(0), kClassNone);
  EXPECT_EQ(zm.ZoneSize(0), 0);
  EXPECT_TRUE(zm.ZoneDamaged(0));
  EXPECT_FALSE(zm.CheckZoneArea().empty());
  EXPECT_EQ(zm.InsertRecord(0, 2), -1);
  EXPECT_EQ(zm.RemoveRecord(0, 0), 0);
  EXPECT_EQ(conv.SetFrequency(0, 0, 3, "150", true).result, 0);
  std::string s;
  EXPECT_EQ(conv.RecordFieldText(0, 0, 3, s), 0);
  // Deleting the zone is the way out.
  EXPECT_EQ(zm.ChangeZone(0, kClassNone), 1);
  EXPECT_FALSE(zm.ZoneExists(0));
}

TEST_F(DamagedArea, CountsAboveTheLimitAndBlocksPastTheEnd) {
  MakeConv(0, {1, 2});
  MakeConv(1, {1});
  image().setU8(0xB04, 251);
  EXPECT_TRUE(zm.ZoneDamaged(0));
  EXPECT_EQ(zm.RecordCount(0), 251);
  EXPECT_EQ(zm.InsertRecord(0, 5), -1);
  // Zone 2's block is now read inside zone 1's; nothing runs past the end.
  image().setU8(0xB04, 250);
  image().setU8(0xB00 + 32 + 2 * 48 + 4, 250);  // what zone 2 now reads as its count
  const auto layout = zm.Layout();
  int end = 0;
  for (const auto& z : layout) {
    if (z.exists) end = std::max(end, z.offset + z.size);
  }
  EXPECT_LE(end, 0x5307);
  EXPECT_FALSE(zm.CheckZoneArea().empty());
  EXPECT_GE(zm.FreeBytes(), 0);
  // An LTR zone claiming more repeaters than allowed.
  ClearAllZones(data);
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  image().setU8(0xB05, 200);
  EXPECT_TRUE(zm.ZoneDamaged(0));
  EXPECT_EQ(zm.InsertRepeater(0, 0), 0);
  EXPECT_EQ(zm.ChangeZone(0, kClassNone), 1);
  EXPECT_EQ(zm.FreeBytes(), 18439);
}

TEST_F(DamagedArea, RandomImagesStayInsideTheZoneArea) {
  std::mt19937 rng(420);
  for (int round = 0; round < 60; ++round) {
    // Garbage table words, headers and records.
    for (size_t i = 0xA00; i < 0x5307; ++i) image().setU8(i, static_cast<uint8_t>(rng()));
    for (int z = 0; z < 128; ++z)
      if (rng() % 3) image().setU16le(0xA00 + 2 * z, 0xFFFF);
    for (size_t off = 0xB00; off < 0x5307; off += 1 + rng() % 200) image().setU8(off + 1, '0' + rng() % 6);
    const std::vector<uint8_t> imageBefore(data.buffers.ImageBytes());
    const std::vector<uint8_t> extBefore(data.buffers.ExtBytes());
    (void)zm.CheckZoneArea();
    for (int op = 0; op < 40; ++op) {
      const int z = static_cast<int>(rng() % 130) - 1;
      const int n = static_cast<int>(rng() % 252) - 1;
      std::string s;
      switch (rng() % 9) {
        case 0: (void)zm.InsertRecord(z, n); break;
        case 1: (void)zm.RemoveRecord(z, n); break;
        case 2: (void)zm.ChangeZone(z, static_cast<int>(rng() % 4)); break;
        case 3: (void)zm.InsertRepeater(z, n % 21); break;
        case 4: (void)zm.RemoveRepeater(z, n % 21); break;
        case 5: conv.SetFrequency(z, n, 3 + static_cast<int>(rng() % 2), "151.1", true); break;
        case 6: for (int f = 0; f < 21; ++f) conv.RecordFieldText(z, n, f, s); break;
        case 7: ChannelCopy(zm, z, n, static_cast<int>(rng() % 250)); break;
        default: (void)zm.SetZoneType(z, static_cast<uint8_t>('0' + rng() % 6)); break;
      }
    }
    ReencodeAllChannels(data);
    RecomputeChannelMarks(data);
    ZoneGenerationFixup(data);
    LowerConventionalPower(data);
    // Outside the block-range words, the zone table and the area nothing moved.
    const auto& after = data.buffers.ImageBytes();
    for (size_t i = 0; i < after.size(); ++i) {
      if ((i >= 0x9E0 && i < 0x9E4) || (i >= 0xA00 && i < 0x5307)) continue;
      ASSERT_EQ(after[i], imageBefore[i]) << "image byte " << i << " round " << round;
    }
    // In the extension area only the zone references and zone tables may change.
    const auto& extAfter = data.buffers.ExtBytes();
    for (size_t i = 0; i < extAfter.size(); ++i) {
      const bool zoneTable = (i >= 0x504 && i < 0x508) || (i >= 0x570 && i < 0x600) || (i >= 0x670 && i < 0x700) ||
                             (i >= 0x1000 && i < 0x1200);
      if (!zoneTable) {
        ASSERT_EQ(extAfter[i], extBefore[i]) << "ext byte " << i << " round " << round;
      }
    }
  }
}

}  // namespace
}  // namespace vb420::testing
