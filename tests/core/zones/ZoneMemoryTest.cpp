// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>

#include "ZoneTestUtil.h"

namespace vb420::testing {
namespace {

using Bytes_ = std::vector<uint8_t>;

Bytes_ Cat(std::initializer_list<Bytes_> parts) {
  Bytes_ out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
Bytes_ Rep(uint8_t b, size_t n) { return Bytes_(n, b); }
Bytes_ Str(const char* s) { return Bytes_(s, s + std::strlen(s)); }

using ZoneAreaTest = ZoneFixture;

TEST_F(ZoneAreaTest, BlockRangeWordsFollowTheTotalSize) {
  zm.UpdateBlockRange();
  EXPECT_EQ(image().u16le(0x9E0), 0xFFFF);
  EXPECT_EQ(image().u16le(0x9E2), 0xFFFF);

  MakeConv(0, {1});  // 32 + 48 = 80 bytes
  EXPECT_EQ(zm.ZoneSize(0), 80);
  EXPECT_EQ(image().u16le(0x9E0), 0x000B);
  EXPECT_EQ(image().u16le(0x9E2), 0x000B);

  // 176 + 80 = 256 bytes still fit block 11; one repeater more (272) reaches 12.
  ASSERT_EQ(zm.InsertRecord(0, 1), 1);
  ASSERT_EQ(zm.InsertRecord(0, 2), 1);
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(1, 0), 1);
  EXPECT_EQ(zm.FreeBytes(), 0x4807 - 256);
  EXPECT_EQ(image().u16le(0x9E2), 0x000B);
  ASSERT_EQ(zm.InsertRepeater(1, 0), 1);
  EXPECT_EQ(image().u16le(0x9E0), 0x000B);
  EXPECT_EQ(image().u16le(0x9E2), 0x000C);

  ASSERT_EQ(zm.ChangeZone(0, kClassNone), 1);
  ASSERT_EQ(zm.ChangeZone(1, kClassNone), 1);
  EXPECT_EQ(image().u16le(0x9E0), 0xFFFF);
  EXPECT_EQ(image().u16le(0x9E2), 0xFFFF);
  EXPECT_EQ(zm.FreeBytes(), 18439);
}

TEST_F(ZoneAreaTest, NewConventionalZoneHeaderBytes) {
  ASSERT_EQ(zm.CreateZone(0, '1'), 1);
  EXPECT_EQ(TableWord(0), 0x0B00);
  const Bytes_ expected = Cat({{0x01, '1', 0x00, 0x00, 0xFF}, Str("  1"), Rep(0, 9), {0xFF, 0xFF, 0x3C, 0x00},
                               Rep(0xFF, 6), Rep(0xFF, 3), {0xF8, 0xFF}});
  EXPECT_EQ(Bytes(0xB00, 32), expected);
  EXPECT_EQ(image().u8(0xB20), 0xFF);
  EXPECT_EQ(zm.ZoneClass(0), kClassConv);
  EXPECT_EQ(zm.RecordCount(0), 0);
  // The deleted-zone bit is cleared for a zone that exists.
  EXPECT_FALSE(ext().bit(0x6F0, 0));
}

TEST_F(ZoneAreaTest, ConventionalZoneKeepsTheTopBitsOfItsOptionByte) {
  // The gap fill is 0xFF, so bits 6-7 come out set; the pending type is used.
  zm.SetPendingType('4');
  ASSERT_EQ(zm.ChangeZone(5, kClassConv), 1);
  EXPECT_EQ(zm.ZoneType(5), '4');
  EXPECT_EQ(image().u8(0xB00 + 30), 0xF8);
  EXPECT_EQ(Bytes(0xB05, 12), Cat({Str("  6"), Rep(0, 9)}));
}

TEST_F(ZoneAreaTest, NewLtrZoneHeaderBytes) {
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  const Bytes_ expected = Cat({{0x02, '0', 0x00, 0x00, 0xFF, 0x00}, Str("  2"), Rep(0, 9), Rep(0xFF, 14),
                               {0x01, 0x0F, 0xFF, 0xFF, 0x3C, 0x00, 0xB4, 0x00}, Rep(0xFF, 4),
                               {0x7E, 0xF8, 0x01, 0xFF}});
  EXPECT_EQ(Bytes(0xB00, 48), expected);
  EXPECT_EQ(zm.RecordCount(1), 0);
  EXPECT_EQ(zm.RepeaterCount(1), 0);
}

TEST_F(ZoneAreaTest, NewPassPortZoneHeaderBytesOnVhfAndUhf) {
  ASSERT_EQ(zm.CreateZone(2, '5'), 1);
  Bytes_ expected = Cat({{0x03, '5', 0xFF, 0xFF, 0x00, 0xFF}, Str("  3"), Rep(0, 9), {0x0F, 0xFF, 0xFF},
                         Rep(0xFF, 6), {0x01, 0x64, 0x00, 0xFF, 0xFF, 0x00, 0x00},
                         {10, 6, 15, 25, 70, 65, 75, 5, 0, 5, 5, 2, 16, 0xFF, 0, 0, 0, 20, 4}, Rep(0, 16),
                         {0x00, 0x00, 0xF9, 0xFF, 0x01, 0x00, 0xDC, 0xFF, 0x60, 0xC4, 0x80, 0x5F, 0xAE, 0xFF,
                          0xFF},
                         Rep(0xFF, 8), {0x1F, 0x00, 0xFF, 0xFF}});
  ASSERT_EQ(expected.size(), 96u);
  EXPECT_EQ(Bytes(0xB00, 96), expected);

  ASSERT_EQ(zm.ChangeZone(2, kClassNone), 1);
  SetModel(4, 0x06);  // VT-2600 on 450-520 MHz: DFA band 5
  ASSERT_EQ(zm.CreateZone(2, '5'), 1);
  expected[69] = 0x0A;
  EXPECT_EQ(Bytes(0xB00, 96), expected);
}

TEST_F(ZoneAreaTest, DeletingAMiddleZoneMovesTheLaterBlockDown) {
  MakeConv(0, {1, 2});     // 128 bytes at 0xB00
  MakeConv(2, {1, 2, 3});  // 176 bytes at 0xB80
  ASSERT_EQ(zm.CreateZone(8, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(8, 0), 1);  // 80 bytes at 0xC30
  EXPECT_EQ(TableWord(8), 0x0C30);
  const Bytes_ zone9 = Bytes(0xC30, 80);
  const Bytes_ zone1 = Bytes(0xB00, 128);
  // Per-channel bytes of the six records: zone 1 at 0-1, zone 3 at 2-4, zone 9 at 5.
  const uint8_t pattern[] = {10, 11, 20, 21, 22, 30, 40, 41, 42};
  ext().write(0x1000, pattern, sizeof pattern);
  ext().setU8(0x504, 3);  // priority channel 1 in zone 3
  ext().setU8(0x505, 2);
  ext().setU8(0x506, 9);  // priority channel 2 in zone 9 stays
  ext().setU8(0x507, 1);

  ASSERT_EQ(zm.ChangeZone(2, kClassNone), 1);
  EXPECT_FALSE(zm.ZoneExists(2));
  EXPECT_EQ(TableWord(2), 0xFFFF);
  EXPECT_EQ(TableWord(8), 0x0B80);
  EXPECT_EQ(Bytes(0xB00, 128), zone1);
  // The block moved as it was, apart from its first global number (3 now).
  Bytes_ moved = zone9;
  moved[2] = 3;
  moved[3] = 0;
  EXPECT_EQ(Bytes(0xB80, 80), moved);
  const Bytes_ tail = Bytes(0xBD0, 0x5307 - 0xBD0);
  EXPECT_TRUE(std::all_of(tail.begin(), tail.end(), [](uint8_t b) { return b == 0xFF; }));
  EXPECT_EQ(ext().u8(0x1000), 10);
  EXPECT_EQ(ext().u8(0x1001), 11);
  EXPECT_EQ(ext().u8(0x1002), 30);
  EXPECT_EQ(ext().u8(0x1003), 40);
  EXPECT_EQ(ext().u8(0x11FD), 0xFF);
  EXPECT_EQ(ext().u8(0x11FF), 0xFF);
  EXPECT_EQ(ext().u8(0x504), 0xFF);
  EXPECT_EQ(ext().u8(0x505), 0xFF);
  EXPECT_EQ(ext().u8(0x506), 9);
  EXPECT_EQ(ext().u8(0x507), 1);
  EXPECT_TRUE(ext().bit(0x6F0, 2));
  EXPECT_EQ(zm.GlobalChannel(8, 0), 2);
  EXPECT_EQ(image().u16le(0x9E2), 0x000B);
  EXPECT_TRUE(zm.CheckZoneArea().empty());
}

TEST_F(ZoneAreaTest, DeletionCleansUpBeforeTellingTheScanData) {
  MakeConv(0, {1});
  MakeConv(1, {1, 2});
  MakeConv(3, {4});
  ext().setU8(0xF00 + 1, 7);
  ext().setU8(0x506, 2);
  ext().setU8(0x507, 1);
  ext().setBit(0x6B0, 1, false);  // zone 2's first channel
  ext().setBit(0x6B0, 3, false);  // zone 4's channel
  int calls = 0;
  zm.Hooks().zoneDeleted = [&](int zone, int value) {
    ++calls;
    EXPECT_EQ(zone, 1);
    EXPECT_EQ(value, 6);
    // By now the references, the per-channel entries, the block and the
    // table entry are gone and the deleted-zone bit is set.
    EXPECT_EQ(ext().u8(0x506), 0xFF);
    EXPECT_FALSE(ext().bit(0x6B0, 1));  // zone 4's entry moved down to 1
    EXPECT_TRUE(ext().bit(0x6B0, 2));
    EXPECT_EQ(TableWord(1), 0xFFFF);
    EXPECT_EQ(TableWord(3), 0x0B50);
    EXPECT_TRUE(ext().bit(0x6F0, 1));
  };
  ASSERT_EQ(zm.ChangeZone(1, kClassLtr), 1);
  EXPECT_EQ(calls, 1);
  // Recreated with the new class: bit cleared again, LTR header in place.
  EXPECT_FALSE(ext().bit(0x6F0, 1));
  EXPECT_EQ(zm.ZoneType(1), '0');
  EXPECT_EQ(zm.ZoneOffset(1), 0xB50);
  EXPECT_EQ(TableWord(3), 0x0B80);
}

TEST_F(ZoneAreaTest, RecordsAreKeptSortedByNumber) {
  MakeConv(0, {1, 2, 7});
  ASSERT_EQ(zm.InsertRecord(0, 4), 1);  // channel 5
  EXPECT_EQ(zm.RecordNumbers(0), (std::vector<int>{0, 1, 4, 6}));
  EXPECT_EQ(image().u8(0xB20 + 2 * 48), 5);
  EXPECT_EQ(image().u8(0xB20 + 3 * 48), 7);
  EXPECT_EQ(zm.FindRecord(0, 4), 0xB20 + 2 * 48);
  EXPECT_EQ(zm.GlobalChannel(0, 4), 2);
  EXPECT_EQ(zm.GlobalChannel(0, 3), -1);
  EXPECT_EQ(image().u8(0xB04), 4);
  // An existing number is not inserted twice.
  EXPECT_EQ(zm.InsertRecord(0, 4), -1);
  ASSERT_EQ(zm.RemoveRecord(0, 1), 1);
  EXPECT_EQ(zm.RecordNumbers(0), (std::vector<int>{0, 4, 6}));
  EXPECT_EQ(zm.RemoveRecord(0, 1), 0);
}

TEST_F(ZoneAreaTest, NewRecordDefaults) {
  MakeConv(0, {3});
  const Bytes_ ch = Cat({{3}, Rep(0xFF, 14), Str("  CH   3"), Rep(0, 4), Rep(0xFF, 19), {0xFE, 0xFF}});
  EXPECT_EQ(Bytes(0xB20, 48), ch);
  SetModel(2, 0x04);  // second generation: one space less
  ASSERT_EQ(zm.InsertRecord(0, 9), 1);
  EXPECT_EQ(Bytes(0xB50 + 15, 12), Cat({Str(" CH  10"), Rep(0, 5)}));
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(1, 4), 1);
  EXPECT_EQ(Bytes(zm.FindRecord(1, 4), 32), Cat({{5, 0xFF, 0xFF}, Str(" GR   5"), Rep(0, 5), Rep(0xFF, 17)}));
  ASSERT_EQ(zm.CreateZone(2, '5'), 1);
  ASSERT_EQ(zm.InsertRecord(2, 0), 1);
  EXPECT_EQ(Bytes(zm.FindRecord(2, 0), 32), Cat({{1}, Rep(0xFF, 4), Str(" GR   1"), Rep(0, 5), Rep(0xFF, 15)}));
}

TEST_F(ZoneAreaTest, TwoHundredFiftyRecordsFillAZone) {
  ASSERT_EQ(zm.CreateZone(0, '1'), 1);
  for (int c = 249; c >= 0; --c) ASSERT_EQ(zm.InsertRecord(0, c), 1);
  EXPECT_EQ(zm.RecordCount(0), 250);
  EXPECT_EQ(image().u8(0xB04), 250);
  EXPECT_EQ(zm.InsertRecord(0, 250), -1);  // no 251st number
  ASSERT_EQ(zm.RemoveRecord(0, 100), 1);
  ASSERT_EQ(zm.InsertRecord(0, 100), 1);
  EXPECT_EQ(zm.ZoneSize(0), 32 + 250 * 48);
  EXPECT_EQ(zm.InsertRecord(5, 0), -1);  // missing zone
  EXPECT_EQ(zm.InsertRecord(0, -1), -1);
}

TEST_F(ZoneAreaTest, ChannelAndGroupLimitOf512) {
  // 512 channels would not fit the area; LTR groups are smaller.
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  for (int c = 0; c < 250; ++c) ASSERT_EQ(zm.InsertRecord(0, c), 1);
  for (int c = 0; c < 250; ++c) ASSERT_EQ(zm.InsertRecord(1, c), 1);
  ASSERT_EQ(zm.CreateZone(2, '0'), 1);
  for (int g = 0; g < 12; ++g) ASSERT_EQ(zm.InsertRecord(2, g), 1);
  EXPECT_EQ(zm.TotalChannels(), 512);
  EXPECT_EQ(zm.InsertRecord(2, 12), -2);
  ASSERT_EQ(zm.CreateZone(3, '1'), -2);
  // A PassPort zone cannot be created either, but its groups are outside the limit.
  EXPECT_EQ(zm.CreateZone(4, '5'), -2);
  ASSERT_EQ(zm.RemoveRecord(2, 11), 1);
  ASSERT_EQ(zm.CreateZone(4, '5'), 1);
  ASSERT_EQ(zm.InsertRecord(2, 11), 1);
  ASSERT_EQ(zm.InsertRecord(4, 0), 1);
  ASSERT_EQ(zm.InsertRecord(4, 1), 1);
  EXPECT_EQ(zm.TotalChannels(), 512);
  EXPECT_EQ(zm.GlobalChannel(4, 1), 513);
  EXPECT_EQ(image().u16le(zm.ZoneOffset(4) + 2), 513);
}

TEST_F(ZoneAreaTest, PassPortGroupsCountInTheNumbering) {
  ASSERT_EQ(zm.CreateZone(0, '5'), 1);
  MakeConv(1, {1, 2});
  ASSERT_EQ(zm.InsertRecord(0, 0), 1);
  ASSERT_EQ(zm.InsertRecord(0, 5), 1);
  EXPECT_EQ(zm.GlobalChannel(1, 0), 2);
  EXPECT_EQ(image().u16le(zm.ZoneOffset(0) + 2), 1);
  EXPECT_EQ(image().u16le(zm.ZoneOffset(1) + 2), 3);
  EXPECT_EQ(zm.TotalChannels(), 2);
  // A conventional zone that never held a channel keeps its +2 of 0.
  ASSERT_EQ(zm.CreateZone(5, '1'), 1);
  ASSERT_EQ(zm.InsertRecord(0, 7), 1);
  EXPECT_EQ(image().u16le(zm.ZoneOffset(5) + 2), 0);
  EXPECT_EQ(image().u16le(zm.ZoneOffset(1) + 2), 4);
}

TEST_F(ZoneAreaTest, PassPortGroupsKeepThePerChannelTablesAligned) {
  ASSERT_EQ(zm.CreateZone(0, '5'), 1);
  MakeConv(1, {1, 2});
  ext().setU8(0x1000, 51);  // zone 2 channel 1
  ext().setU8(0x1001, 52);  // zone 2 channel 2
  ASSERT_EQ(zm.InsertRecord(0, 0), 1);
  EXPECT_EQ(zm.ReadPerChannel(zm.GlobalChannel(1, 0)).chanByte, 51);
  ASSERT_EQ(zm.RemoveRecord(0, 0), 1);
  EXPECT_EQ(zm.ReadPerChannel(zm.GlobalChannel(1, 0)).chanByte, 51);
  EXPECT_EQ(zm.ReadPerChannel(zm.GlobalChannel(1, 1)).chanByte, 52);
}

TEST_F(ZoneAreaTest, FreeMemoryRunsOut) {
  MakeConv(0, {});
  for (int c = 0; c < 250; ++c) ASSERT_EQ(zm.InsertRecord(0, c), 1);
  MakeConv(1, {});
  for (int c = 0; c < 132; ++c) ASSERT_EQ(zm.InsertRecord(1, c), 1);
  EXPECT_EQ(zm.FreeBytes(), 18439 - 12032 - 6368);  // 39
  EXPECT_EQ(zm.CreateZone(2, '5'), -1);
  EXPECT_EQ(zm.ChangeZone(2, kClassLtr), -1);
  ASSERT_EQ(zm.CreateZone(2, '1'), 1);
  EXPECT_EQ(zm.FreeBytes(), 7);
  EXPECT_EQ(zm.InsertRecord(2, 0), 0);
  // Retyping to a larger class: deleted, no room for the new header.
  ASSERT_EQ(zm.ChangeZone(2, kClassPassPort), -1);
  EXPECT_FALSE(zm.ZoneExists(2));
  EXPECT_EQ(zm.FreeBytes(), 39);
}

// The PassPort selective-call scrambler switch (ext 0x570, one bit per zone)
// and code (ext 0x580 + zone) stay with their zone whatever happens to the
// records before it; deleting the zone puts its entry back to the default.
TEST_F(ZoneAreaTest, ScramblerTablesBelongToTheirZone) {
  MakeConv(0, {1, 2, 3});
  ASSERT_EQ(zm.CreateZone(1, '5'), 1);
  ASSERT_EQ(zm.CreateZone(2, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(2, 0), 1);
  for (int i = 0; i < 128; ++i) ext().setU8(0x580 + i, static_cast<uint8_t>(i % 16 + 1));
  for (int i = 0; i < 16; ++i) ext().setU8(0x570 + i, static_cast<uint8_t>(0x5A ^ i));
  const Bytes_ before = Bytes_(ext().ptr(0x570, 0x90), ext().ptr(0x570, 0x90) + 0x90);
  auto tables = [&] { return Bytes_(ext().ptr(0x570, 0x90), ext().ptr(0x570, 0x90) + 0x90); };
  ASSERT_EQ(zm.InsertRecord(0, 7), 1);
  ASSERT_EQ(zm.RemoveRecord(0, 0), 1);
  ASSERT_EQ(zm.InsertRecord(2, 4), 1);
  ASSERT_EQ(zm.RemoveRecord(2, 0), 1);
  EXPECT_EQ(tables(), before);
  // Deleting zone 1 (records and all) leaves the others' entries alone.
  ASSERT_EQ(zm.ChangeZone(0, kClassNone), 1);
  Bytes_ expected = before;
  expected[0] |= 1;            // zone 1's bit: off
  expected[0x10] = 0xFF;       // zone 1's code: none
  EXPECT_EQ(tables(), expected);
  // Zone 2 itself.
  ASSERT_EQ(zm.ChangeZone(1, kClassNone), 1);
  expected[0] |= 2;
  expected[0x11] = 0xFF;
  EXPECT_EQ(tables(), expected);
}

TEST_F(ZoneAreaTest, DeletingAZoneTakesAllItsPerChannelEntriesOutAtOnce) {
  // Zones of 20, 30 and 10 LTR groups: global entries 0-19, 20-49, 50-59.
  for (auto [zone, groups] : {std::pair{0, 20}, {1, 30}, {2, 10}}) {
    ASSERT_EQ(zm.CreateZone(zone, '0'), 1);
    for (int g = 0; g < groups; ++g) ASSERT_EQ(zm.InsertRecord(zone, g), 1);
  }
  // Known contents: byte n = n, bit n of each table set when n % 3 == 0
  // (table A) or n % 5 == 0 (table B).
  const auto bitA = [](int n) { return n % 3 == 0; };
  const auto bitB = [](int n) { return n % 5 == 0; };
  for (int i = 0; i < 512; ++i) {
    ext().setU8(0x1000 + i, static_cast<uint8_t>(i));
    ext().setBit(0x670 + i / 8, i % 8, bitA(i));
    ext().setBit(0x6B0 + i / 8, i % 8, bitB(i));
  }
  ASSERT_EQ(zm.ChangeZone(1, kClassNone), 1);
  for (int i = 0; i < 512; ++i) {
    // Before the zone: unchanged; after it: 30 entries down; the last 30:
    // unused.
    const int from = i < 20 ? i : i + 30;
    if (from < 512) {
      ASSERT_EQ(ext().u8(0x1000 + i), static_cast<uint8_t>(from)) << i;
      ASSERT_EQ(ext().bit(0x670 + i / 8, i % 8), bitA(from)) << i;
      ASSERT_EQ(ext().bit(0x6B0 + i / 8, i % 8), bitB(from)) << i;
    } else {
      ASSERT_EQ(ext().u8(0x1000 + i), 0xFF) << i;
      ASSERT_TRUE(ext().bit(0x670 + i / 8, i % 8)) << i;
      ASSERT_TRUE(ext().bit(0x6B0 + i / 8, i % 8)) << i;
    }
  }
  EXPECT_EQ(zm.GlobalChannel(2, 0), 20);
  EXPECT_TRUE(zm.CheckZoneArea().empty());
}

TEST_F(ZoneAreaTest, PerChannelTablesShiftOnInsertAtStartMiddleAndEnd) {
  // LTR groups, so that 512 entries fit the area.
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  for (int c = 0; c < 250; ++c) ASSERT_EQ(zm.InsertRecord(0, c), 1);
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  for (int c = 0; c < 250; c += 2) ASSERT_EQ(zm.InsertRecord(1, c), 1);  // 125 groups
  // Known contents: byte n = n, bits alternate per byte.
  for (int i = 0; i < 512; ++i) ext().setU8(0x1000 + i, static_cast<uint8_t>(i));
  for (int i = 0; i < 128; ++i) ext().setU8(0x580 + i, static_cast<uint8_t>(0x80 + i));
  ext().fill(0x670, 64, 0x55);
  ext().fill(0x6B0, 64, 0x00);
  ext().fill(0x570, 16, 0x00);

  // Start: channel 1 of zone 1 removed and put back at global 0.
  ASSERT_EQ(zm.RemoveRecord(0, 0), 1);
  EXPECT_EQ(ext().u8(0x1000), 1);
  EXPECT_EQ(ext().u8(0x11FE), 255);
  EXPECT_EQ(ext().u8(0x11FF), 0xFF);
  EXPECT_EQ(ext().u8(0x670), 0xAA);  // 0x55 shifted down by one bit
  EXPECT_TRUE(ext().bit(0x670 + 63, 7));
  EXPECT_TRUE(ext().bit(0x6B0 + 63, 7));
  ASSERT_EQ(zm.InsertRecord(0, 0), 1);
  EXPECT_EQ(ext().u8(0x1000), 1);  // new entry: byte 1
  EXPECT_EQ(ext().u8(0x1001), 1);
  EXPECT_EQ(ext().u8(0x1002), 2);
  EXPECT_EQ(ext().u8(0x11FF), 255);
  EXPECT_FALSE(ext().bit(0x670, 0));  // field 14 bit 0 for a new channel
  EXPECT_EQ(ext().u8(0x670), 0x54);
  EXPECT_TRUE(ext().bit(0x6B0, 0));
  EXPECT_EQ(ext().u8(0x6B0), 0x01);
  // The per-zone scrambler tables did not move.
  for (int i = 0; i < 128; ++i) ASSERT_EQ(ext().u8(0x580 + i), 0x80 + i) << i;
  for (int i = 0; i < 16; ++i) ASSERT_EQ(ext().u8(0x570 + i), 0x00) << i;

  // Middle: zone 2 channel 4 (between 3 and 5) lands at global 251.
  ASSERT_EQ(zm.InsertRecord(1, 3), 1);
  EXPECT_EQ(zm.GlobalChannel(1, 3), 252);
  EXPECT_EQ(ext().u8(0x1000 + 251), 251);
  EXPECT_EQ(ext().u8(0x1000 + 252), 1);
  EXPECT_EQ(ext().u8(0x1000 + 253), 252);
  EXPECT_TRUE(ext().bit(0x6B0 + 252 / 8, 252 % 8));
  EXPECT_FALSE(ext().bit(0x6B0 + 253 / 8, 253 % 8));
  // Beyond the 128 entries of the small tables nothing moves.
  EXPECT_EQ(ext().u8(0x5FF), 0xFF);
  ASSERT_EQ(zm.RemoveRecord(1, 3), 1);
  EXPECT_EQ(ext().u8(0x1000 + 252), 252);
  EXPECT_EQ(ext().u8(0x11FF), 0xFF);

  // End: fill up to 511 records, the 512th lands on the last entry.
  ASSERT_EQ(zm.CreateZone(2, '0'), 1);
  for (int c = 0; c < 136; ++c) ASSERT_EQ(zm.InsertRecord(2, c), 1);
  EXPECT_EQ(zm.TotalChannels(), 511);
  ext().setU8(0x11FF, 0x77);
  ext().setU8(0x11FE, 0x66);
  ext().setBit(0x6B0 + 63, 7, false);
  ASSERT_EQ(zm.InsertRecord(2, 136), 1);
  EXPECT_EQ(ext().u8(0x11FE), 0x66);
  EXPECT_EQ(ext().u8(0x11FF), 1);
  EXPECT_TRUE(ext().bit(0x6B0 + 63, 7));
  ASSERT_EQ(zm.RemoveRecord(2, 136), 1);
  EXPECT_EQ(ext().u8(0x11FF), 0xFF);
}

TEST_F(ZoneAreaTest, SetZoneTypeWithinTheClassOnly) {
  MakeConv(0, {1, 2});
  MakeConv(1, {1});
  ext().setU8(0x504, 1);
  ext().setU8(0x505, 2);
  ext().setU8(0x506, 2);
  ext().setU8(0x507, 1);
  int dropped = -1;
  zm.Hooks().typeOneReferencesDropped = [&](int zone) { dropped = zone; };
  ASSERT_EQ(zm.SetZoneType(0, '3'), 1);
  EXPECT_EQ(zm.ZoneType(0), '3');
  EXPECT_EQ(zm.RecordCount(0), 2);
  EXPECT_EQ(dropped, 0);
  EXPECT_EQ(ext().u8(0x504), 0xFF);
  EXPECT_EQ(ext().u8(0x505), 0xFF);
  EXPECT_EQ(ext().u8(0x506), 2);  // another zone's reference stays
  // Back to '1' drops nothing; '3' to '4' neither.
  dropped = -1;
  ASSERT_EQ(zm.SetZoneType(0, '4'), 1);
  ASSERT_EQ(zm.SetZoneType(0, '1'), 1);
  EXPECT_EQ(dropped, -1);
  // Another class goes through ChangeZone.
  EXPECT_EQ(zm.SetZoneType(0, '0'), 0);
  EXPECT_EQ(zm.SetZoneType(0, 'x'), 0);
  EXPECT_EQ(zm.ZoneType(0), '1');
  // A missing zone only remembers the type.
  ASSERT_EQ(zm.SetZoneType(9, '2'), 1);
  EXPECT_FALSE(zm.ZoneExists(9));
  EXPECT_EQ(zm.PendingType(), '2');
}

TEST_F(ZoneAreaTest, ConfirmDeleteAsksOnlyForAClassChange) {
  MakeConv(4, {1});
  std::string asked;
  auto ask = [&](const std::string& m) {
    asked = m;
    return false;
  };
  EXPECT_TRUE(zm.ConfirmDelete(4, kClassConv, text(), ask));
  EXPECT_TRUE(asked.empty());
  EXPECT_TRUE(zm.ConfirmDelete(7, kClassLtr, text(), ask));
  EXPECT_FALSE(zm.ConfirmDelete(4, kClassLtr, text(), ask));
  EXPECT_EQ(asked, "T310");
  EXPECT_EQ(CZoneMemory::ZoneTypeName('5', text()), "PassPort System");
  EXPECT_EQ(CZoneMemory::ZoneTypeName('3', text()), "T401");
  EXPECT_EQ(CZoneMemory::ZoneTypeName(0xFF, text()), "T362");
  EXPECT_EQ(zm.OfferedZoneTypes(), (std::vector<uint8_t>{'1', '0', '5'}));
  data.votingSwitch = true;
  EXPECT_EQ(zm.OfferedZoneTypes(), (std::vector<uint8_t>{'1', '0', '2', '3', '4', '5'}));
}

TEST_F(ZoneAreaTest, RepeatersFollowTheGroups) {
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(0, 0), 1);
  ASSERT_EQ(zm.InsertRecord(0, 8), 1);
  ASSERT_EQ(zm.InsertRepeater(0, 4), 1);
  ASSERT_EQ(zm.InsertRepeater(0, 1), 1);
  EXPECT_EQ(zm.RepeaterNumbers(0), (std::vector<int>{1, 4}));
  EXPECT_EQ(zm.FindRepeater(0, 1), 0xB00 + 48 + 64);
  EXPECT_EQ(Bytes(0xB00 + 48 + 64, 16), Cat({{2}, Rep(0xFF, 15)}));
  // Group 5 goes between 1 and 9 and moves the repeaters up by 32.
  ASSERT_EQ(zm.InsertRecord(0, 4), 1);
  EXPECT_EQ(zm.FindRepeater(0, 1), 0xB00 + 48 + 96);
  EXPECT_EQ(image().u8(0xB05), 2);
  // Removing every group leaves the repeaters right after the header.
  for (int g : {0, 4, 8}) ASSERT_EQ(zm.RemoveRecord(0, g), 1);
  EXPECT_EQ(image().u8(0xB04), 0);
  EXPECT_EQ(zm.FindRepeater(0, 1), 0xB00 + 48);
  EXPECT_EQ(zm.InsertRepeater(0, 1), 0);  // exists
  for (int r = 0; r < 20; ++r)
    if (zm.FindRepeater(0, r) < 0) {
      ASSERT_EQ(zm.InsertRepeater(0, r), 1);
    }
  EXPECT_EQ(zm.RepeaterCount(0), 20);
  EXPECT_EQ(zm.InsertRepeater(0, 20), 0);
  ASSERT_EQ(zm.RemoveRepeater(0, 0), 1);
  EXPECT_EQ(zm.RepeaterCount(0), 19);
  MakeConv(1, {1});
  EXPECT_EQ(zm.InsertRepeater(1, 0), 0);  // not an LTR zone
  EXPECT_TRUE(zm.CheckZoneArea().empty());
}

TEST_F(ZoneAreaTest, RemovingARecordDropsItsFeatureReference) {
  MakeConv(2, {1, 5});
  ext().setU8(0x504, 3);
  ext().setU8(0x505, 5);
  std::vector<std::pair<int, int>> removed;
  zm.Hooks().recordRemoved = [&](int z, int n) { removed.emplace_back(z, n); };
  ASSERT_EQ(zm.RemoveRecord(2, 0), 1);
  EXPECT_EQ(ext().u8(0x504), 3);
  ASSERT_EQ(zm.RemoveRecord(2, 4), 1);
  EXPECT_EQ(ext().u8(0x504), 0xFF);
  EXPECT_EQ(ext().u8(0x505), 0xFF);
  EXPECT_EQ(removed, (std::vector<std::pair<int, int>>{{2, 0}, {2, 4}}));
  EXPECT_EQ(zm.RemoveRecord(2, 4), 0);  // count is 0 now
}

}  // namespace
}  // namespace vb420::testing
