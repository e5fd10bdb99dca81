// SPDX-License-Identifier: GPL-3.0-or-later
// Editor-area defaults of a new programming, and the key-function and
// accessory-slot questions asked after loading and on model changes.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "data/AreaDefaults.h"
#include "data/NewImage.h"
#include "data/RadioData.h"

namespace vb420 {
namespace {

constexpr int kVT1600 = 0;
constexpr int kVT2602H = 7;
constexpr int kVT2400 = 9;

// "XX XX ..." of `len` bytes, 16 to a row, rows separated by " | ".
std::string Hex(const ByteArea& a, size_t off, size_t len) {
  std::string s;
  char b[4];
  for (size_t i = 0; i < len; ++i) {
    if (i) s += (i % 16 == 0) ? " | " : " ";
    std::snprintf(b, sizeof b, "%02X", a.u8(off + i));
    s += b;
  }
  return s;
}

// Offset of the first byte in [off, off+len) that is not `v`, or -1.
long FirstNot(const ByteArea& a, size_t off, size_t len, uint8_t v) {
  for (size_t i = 0; i < len; ++i)
    if (a.u8(off + i) != v) return static_cast<long>(off + i);
  return -1;
}

void NewProgramming(RadioData& d, int model, uint8_t band) {
  d.buffers.Clear();
  d.model.SetModel(model);
  d.model.SetBandCode(band);
  InitNewImage(d, false);
}

// Image offsets (inside the editor areas) where two programmings differ.
std::set<size_t> ImageDifferences(RadioData& a, RadioData& b) {
  std::set<size_t> out;
  const std::pair<size_t, size_t> ranges[] = {{0x140, 0x8C0}, {0x9A0, 0xC000}};
  for (auto [from, to] : ranges)
    for (size_t i = from; i < to; ++i)
      if (a.Image().u8(i) != b.Image().u8(i)) out.insert(i);
  return out;
}

class NewVhfMobile : public ::testing::Test {
 protected:
  void SetUp() override { NewProgramming(d, kVT1600, 0x04); }
  RadioData d;
};

// --- VT-1600, 136-174 MHz ----------------------------------------------------

TEST_F(NewVhfMobile, FeatureAreaBytes) {
  ByteArea im = d.Image();
  EXPECT_EQ(Hex(im, 0x140, 0x30),
            "FF FF FF 00 00 00 00 00 00 FF FF FF FF FF FF FF | "
            "FF FF FF FF FF FF FF FF FF FF FF E3 FF E3 FF E3 | "
            "00 00 00 00 00 00 00 00 00 00 00 00 08 1F 01 1F");
  EXPECT_EQ(Hex(im, 0x170, 0x20),
            "00 FF FF FF FF FF FF FF FF 30 00 FF FF FF 30 FF | "
            "30 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");
  EXPECT_EQ(Hex(im, 0x190, 0x40),
            "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF | "
            "2C 01 FF 00 00 F4 01 FF 00 00 00 00 FF FF FF FF | "
            "FF FF FF FF FF FF FF FF FF 31 FF FF FF FF FF FF | "
            "FF FF FF FF FF 01 00 FF FF FF FF FF FF FF FF FF");
  // Records with 12-character names at 0x1E0..0x45F are no editor's at New.
  EXPECT_EQ(FirstNot(im, 0x1D0, 0x290, 0xFF), -1);
  // Display settings beside the three texts.
  EXPECT_EQ(Hex(im, 0x884, 1), "00");
  EXPECT_EQ(Hex(im, 0x88F, 1), "F0");
}

TEST_F(NewVhfMobile, AlertToneTable) {
  ByteArea im = d.Image();
  // Tone 1: one 1000 Hz beep of 100 ms.
  EXPECT_EQ(Hex(im, 0x460, 36),
            "FF 01 00 64 0A 00 00 00 00 00 00 00 00 00 00 00 | "
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 | "
            "00 00 00 FF");
  // Tone 5: 800/1200 Hz warble, three times with 1 s between.
  EXPECT_EQ(Hex(im, 0x460 + 4 * 36, 36),
            "FF 03 01 50 05 78 05 50 05 78 05 50 05 78 05 50 | "
            "05 78 05 00 00 00 00 00 00 00 00 00 00 00 00 00 | "
            "00 00 00 FF");
  // Tone 8: 600 to 2100 Hz sweep, all 16 steps used, five times.
  EXPECT_EQ(Hex(im, 0x460 + 7 * 36, 36),
            "FF 05 00 3C 05 46 05 50 05 5A 05 64 05 6E 05 78 | "
            "05 82 05 8C 05 96 05 A0 05 AA 05 B4 05 BE 05 C8 | "
            "05 D2 05 FF");
  EXPECT_EQ(0x460 + 8 * 36, 0x580);
  std::vector<uint8_t> table(DefaultAlertTones(), DefaultAlertTones() + kAlertToneRecords * kAlertToneRecordSize);
  EXPECT_TRUE(im.equals(0x460, table.data(), table.size()));
}

TEST_F(NewVhfMobile, AlertTonesStayInsideTheEditorsRanges) {
  // Every step is silence (0) or 400..2500 Hz, every duration at most 2500 ms,
  // and every tone has something to play.
  const uint8_t* t = DefaultAlertTones();
  for (int r = 0; r < kAlertToneRecords; ++r) {
    const uint8_t* rec = t + r * kAlertToneRecordSize;
    int audible = 0;
    for (int s = 0; s < 16; ++s) {
      const int f = rec[3 + 2 * s], dur = rec[4 + 2 * s];
      EXPECT_TRUE(f == 0 || (f >= 40 && f <= 250)) << "tone " << r + 1 << " step " << s + 1;
      EXPECT_LE(dur, 250);
      if (f && dur) ++audible;
    }
    EXPECT_GT(audible, 0) << "tone " << r + 1;
    EXPECT_NE(rec[1], 0) << "tone " << r + 1 << " would repeat until stopped";
  }
}

TEST_F(NewVhfMobile, KeyAreaBytes) {
  ByteArea im = d.Image();
  EXPECT_EQ(FirstNot(im, 0x580, 0x118, 0xFF), -1);   // settings and main table 0x5B0..0x697
  EXPECT_EQ(FirstNot(im, 0x5308, 232, 0xFF), -1);    // alternate table
  EXPECT_EQ(Hex(im, 0x9FC, 4), "1D 00 08 53");
  EXPECT_EQ(Hex(d.Ext(), 0x520, 0x28),
            "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF | "
            "30 FF FF FF 30 FF FF FF 30 FF FF FF 30 FF FF FF | "
            "30 FF FF FF 30 FF FF FF");
}

TEST_F(NewVhfMobile, ScanDtmfAndDataSignallingBytes) {
  ByteArea im = d.Image();
  EXPECT_EQ(Hex(im, 0x6A0, 0x30),
            "FF FF 30 00 00 00 00 F4 01 F4 01 30 20 20 20 20 | "
            "53 43 41 4E FF FF FF FF FF FF FF FF FF FF FF FF | "
            "0A 00 00 00 00 00 50 55 FF FF FF FF FF FF FF FF");
  EXPECT_EQ(Hex(im, 0x6D0, 0x10), "30 00 00 00 00 00 00 FF FF FF FF FF FF FF FF FF");
  EXPECT_EQ(FirstNot(im, 0x6E0, 0x36, 0xFF), -1);
  EXPECT_EQ(Hex(im, 0x716, 1), "30");
  EXPECT_EQ(Hex(im, 0x717, 9), "FF FF FF FF FF FF FF FF FF");
  EXPECT_EQ(Hex(im, 0x720, 0x60),
            "FF FF FF FF FF FF FF 30 FF FF FF 01 01 01 01 31 | "
            "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF | "
            "FF FF FF FF 30 01 FF FF FF FF FF FF FF FF FF FF | "
            "00 00 F4 01 F4 01 64 00 00 00 00 00 FF FF FF FF | "
            "FF FF FF 30 01 0A 0A 30 FF FF FF FF FF FF FF FF | "
            "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");
}

TEST_F(NewVhfMobile, EmergencyAndOptionBoardBytes) {
  ByteArea im = d.Image();
  EXPECT_EQ(Hex(im, 0x7D0, 0x30),
            "FF FF FF 00 00 01 00 00 00 01 00 00 00 FF FF FF | "
            "00 00 00 00 00 00 00 00 00 00 00 00 FF FF FF FF | "
            "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");
  EXPECT_EQ(FirstNot(im, 0x800, 0x1B, 0xFF), -1);
  EXPECT_EQ(Hex(im, 0x81B, 2), "31 31");
  EXPECT_EQ(FirstNot(im, 0x81D, 0x38, 0xFF), -1);  // 0x830 records, system type none
  EXPECT_EQ(Hex(im, 0x855, 1), "30");
}

TEST_F(NewVhfMobile, TwoToneArea) {
  ByteArea im = d.Image();
  EXPECT_EQ(Hex(im, 0xBC00, 0x40),
            "00 00 F4 01 E8 03 B8 0B 00 00 FF FF FF FF FF FF | "
            "45 0B FF FF FF FF 45 0B FF FF FF FF 45 0B FF FF | "
            "FF FF 45 0B FF FF FF FF FF FF FF FF FF FF FF FF | "
            "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");
  // Decode set-up 4 looks like set-up 1.
  EXPECT_EQ(Hex(im, 0xBC10 + 3 * 48, 48), Hex(im, 0xBC10, 48));
  // Code list: "  2-TONE  1", "  2-TONE 10", "  2-TONE 32", zero-filled, rest none.
  EXPECT_EQ(Hex(im, 0xBD00, 20), "20 20 32 2D 54 4F 4E 45 20 20 31 00 FF FF FF FF | FF FF FF FF");
  EXPECT_EQ(Hex(im, 0xBD00 + 9 * 20, 12), "20 20 32 2D 54 4F 4E 45 20 31 30 00");
  EXPECT_EQ(Hex(im, 0xBD00 + 31 * 20, 20), "20 20 32 2D 54 4F 4E 45 20 33 32 00 FF FF FF FF | FF FF FF FF");
  EXPECT_EQ(FirstNot(im, 0xBF80, 0x80, 0xFF), -1);  // nothing past the list
}

TEST_F(NewVhfMobile, NoZonesAndEmptyLists) {
  ByteArea im = d.Image(), ex = d.Ext();
  EXPECT_EQ(FirstNot(im, 0xA00, 0x100, 0xFF), -1);
  EXPECT_EQ(FirstNot(im, 0xB00, 0x4807, 0xFF), -1);
  EXPECT_EQ(Hex(im, 0x9E0, 4), "FF FF FF FF");
  EXPECT_EQ(FirstNot(im, 0xA700, 1600, 0xFF), -1);  // ID list
  EXPECT_EQ(FirstNot(im, 0xB400, 1800, 0xFF), -1);  // status list
  EXPECT_EQ(FirstNot(ex, 0x570, 0x90, 0xFF), -1);
  EXPECT_EQ(FirstNot(ex, 0x670, 0x890, 0xFF), -1);  // 0x670..0xEFF
  EXPECT_EQ(FirstNot(ex, 0xF00, 0x80, 0xFF), -1);    // per-zone bytes
  EXPECT_EQ(FirstNot(ex, 0x1000, 0x200, 0xFF), -1);  // per-channel bytes
}

TEST_F(NewVhfMobile, ExtensionSettingsAndMessages) {
  ByteArea im = d.Image(), ex = d.Ext();
  EXPECT_EQ(Hex(ex, 0x500, 0x10), "FF 05 FF 05 FF FF FF FF B4 00 B4 00 FF 00 00 FF");
  EXPECT_EQ(FirstNot(ex, 0x100, 0x400, 0xFF), -1);  // DTMF memory
  EXPECT_EQ(FirstNot(ex, 0x600, 0x40, 0x00), -1);
  EXPECT_EQ(FirstNot(ex, 0x640, 7, 0xFF), -1);
  EXPECT_EQ(FirstNot(im, 0x9A0, 0x40, 0x00), -1);
}

TEST_F(NewVhfMobile, LoadingANewProgrammingChangesNothing) {
  // What New writes is already what the post-load adjustments ask for, so a
  // saved and reloaded new programming is not "modified".
  const std::vector<uint8_t> before = d.buffers.ImageBytes();
  PostLoadAdjustments(d);
  EXPECT_EQ(d.buffers.ImageBytes(), before);
}

TEST(NewImageDefaults, DoNotDependOnTheImageBeingCleared) {
  RadioData clean, dirty;
  NewProgramming(clean, kVT1600, 0x04);
  dirty.Image().fill(0, kImageSize, 0x00);
  dirty.Ext().fill(0, kExtSize, 0x00);
  dirty.model.SetBytes(clean.model.Bytes());
  InitNewImage(dirty, false);
  // The fields New writes rather than taking from the cleared image.
  const std::pair<size_t, size_t> owned[] = {
      {0x142, 0x157}, {0x160, 0x171}, {0x179, 0x17B}, {0x17E, 0x17F}, {0x180, 0x193},
      {0x1A0, 0x1A2}, {0x1A3, 0x1A7}, {0x1A8, 0x1AC}, {0x1B9, 0x1BA}, {0x1C5, 0x1C7},
      {0x460, 0x580}, {0x582, 0x585}, {0x6A0, 0x6AC}, {0x6C0, 0x6C8}, {0x6D0, 0x6DA},
      {0x700, 0x717}, {0x718, 0x71A}, {0x720, 0x730}, {0x744, 0x746}, {0x750, 0x75C},
      {0x760, 0x768}, {0x770, 0x773}, {0x7D0, 0x7EC}, {0x7ED, 0x7EE}, {0x7F0, 0x7FD},
      {0x81B, 0x81D}, {0x851, 0x854}, {0x855, 0x856}, {0x884, 0x885}, {0x9A0, 0x9E0},
      {0x9FC, 0xA00}, {0xA00, 0x5307}, {0xA700, 0xAD40}, {0xB400, 0xBB08}, {0xBC00, 0xBC0A},
      {0xBC10, 0xBCD0}, {0xBD00, 0xBF80}};
  for (auto [from, to] : owned)
    EXPECT_EQ(Hex(dirty.Image(), from, to - from), Hex(clean.Image(), from, to - from)) << std::hex << from;
  for (size_t table : {0x5B0, 0x5308})
    for (size_t k = 0; k < 29; ++k)
      EXPECT_EQ(Hex(dirty.Image(), table + 8 * k, 6), "FF FF FF FF FF FF");
  EXPECT_EQ(Hex(dirty.Ext(), 0x500, 8), Hex(clean.Ext(), 0x500, 8));
  EXPECT_EQ(Hex(dirty.Ext(), 0x520, 10), Hex(clean.Ext(), 0x520, 10));
  for (size_t rec = 0x530; rec < 0x548; rec += 4) EXPECT_EQ(Hex(dirty.Ext(), rec, 3), "30 FF FF");
  EXPECT_EQ(FirstNot(dirty.Ext(), 0x570, 0x90, 0xFF), -1);
  EXPECT_EQ(FirstNot(dirty.Ext(), 0x670, 0x890, 0xFF), -1);
  EXPECT_EQ(FirstNot(dirty.Ext(), 0xF00, 0x80, 0xFF), -1);
  EXPECT_EQ(FirstNot(dirty.Ext(), 0x1000, 0x200, 0xFF), -1);
  // Companion bytes of the accessory slots: bits set and cleared, bit 7 kept.
  EXPECT_EQ(Hex(dirty.Image(), 0x15B, 1), "63");
}

TEST(NewImageDefaults, DamagedDirectoryDoesNotSendTheListsOutsideTheImage) {
  RadioData d;
  d.Image().setU16le(0x9F0, 0xBF00);  // 90 x 20 bytes would run past 0xC000
  d.Image().setU16le(0x9F2, 90);
  d.Image().fill(0xBF00, 0x100, 0x5A);
  WriteEditorAreaDefaults(d);
  // The list is left alone; the 2-tone code list that ends at 0xBF80 is not.
  EXPECT_EQ(FirstNot(d.Image(), 0xBF80, 0x80, 0x5A), -1);
}

// --- VT-2400 on 450-520 MHz, and VT-2602H ---------------------------------------

TEST(NewImageDefaults, UhfPortableDiffersOnlyInTheKindDependentBytes) {
  RadioData mobile, portable;
  NewProgramming(mobile, kVT1600, 0x04);
  NewProgramming(portable, kVT2400, 0x06);
  EXPECT_EQ(ImageDifferences(mobile, portable), (std::set<size_t>{0x16C, 0x17E}));
  EXPECT_EQ(Hex(portable.Image(), 0x15A, 6), "FF E3 FF E3 FF E3");
  EXPECT_EQ(Hex(portable.Image(), 0x16C, 3), "00 1F 01");
  EXPECT_EQ(Hex(portable.Image(), 0x17E, 1), "31");
  EXPECT_EQ(Hex(portable.Image(), 0xBD00, 12), "20 20 32 2D 54 4F 4E 45 20 20 31 00");
  EXPECT_EQ(mobile.buffers.ExtBytes(), portable.buffers.ExtBytes());
  const std::vector<uint8_t> before = portable.buffers.ImageBytes();
  PostLoadAdjustments(portable);
  EXPECT_EQ(portable.buffers.ImageBytes(), before);
}

TEST(NewImageDefaults, SecondGenerationMobileTakesShortTwoToneNames) {
  RadioData first, second;
  NewProgramming(first, kVT1600, 0x04);
  NewProgramming(second, kVT2602H, 0x07);
  ByteArea im = second.Image();
  EXPECT_EQ(Hex(im, 0xBD00, 20), "32 54 4F 4E 45 20 31 00 00 00 00 00 FF FF FF FF | FF FF FF FF");
  EXPECT_EQ(Hex(im, 0xBD00 + 9 * 20, 12), "32 54 4F 4E 45 31 30 00 00 00 00 00");
  EXPECT_EQ(Hex(im, 0xBD00 + 31 * 20, 12), "32 54 4F 4E 45 33 32 00 00 00 00 00");
  // Everything else is as on a first-generation mobile: the defaults already
  // keep within what a second-generation model allows (0x140 none, 0x193
  // none, 0x6A2 '0', system type none).
  for (size_t off : ImageDifferences(first, second)) {
    EXPECT_GE(off, 0xBD00u);
    EXPECT_LT(off, 0xBF80u);
  }
  EXPECT_EQ(Hex(im, 0x140, 1), "FF");
  EXPECT_EQ(Hex(im, 0x193, 1), "FF");
  EXPECT_EQ(Hex(im, 0x6A2, 1), "30");
  EXPECT_EQ(Hex(im, 0x851, 3), "FF FF FF");
  const std::vector<uint8_t> before = second.buffers.ImageBytes();
  PostLoadAdjustments(second);
  EXPECT_EQ(second.buffers.ImageBytes(), before);
}

// --- key functions ----------------------------------------------------------------

class KeyFunctions : public ::testing::Test {
 protected:
  void SetUp() override { NewProgramming(d, kVT2400, 0x06); }
  // Writes a key record as the key editor leaves it.
  void SetKey(size_t table, int key, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, uint16_t hold) {
    const size_t rec = table + 8 * static_cast<size_t>(key);
    ByteArea im = d.Image();
    im.setU8(rec + 0, b0);
    im.setU8(rec + 1, b1);
    im.setU8(rec + 2, b2);
    im.setU8(rec + 3, b3);
    im.setU16le(rec + 4, hold);
    im.setU8(rec + 6, 0x12);
    im.setU8(rec + 7, 0x34);
  }
  std::string Key(size_t table, int key) { return Hex(d.Image(), table + 8 * static_cast<size_t>(key), 8); }
  static constexpr size_t kMain = 0x5B0;
  static constexpr size_t kAlt = 0x5308;
  RadioData d;
};

TEST_F(KeyFunctions, FirstFunctionIsFoundWhereTheHoldCompanionPutsIt) {
  SetKey(kMain, 3, 14, 0xFF, 15, 0xFF, 1000);    // companion 15: function in +0
  SetKey(kMain, 4, 0xFF, 0xFF, 21, 20, 3000);    // companion 21: function in +3
  SetKey(kMain, 5, 0xFF, 0xFF, 92, 0xFF, 1000);  // 92 lives in the hold byte
  SetKey(kMain, 6, 18, 0xFF, 0xFF, 0xFF, 0xFFFF);
  for (int f : {14, 20, 92, 18}) EXPECT_TRUE(AnyKeyHasFunction(d, f)) << f;
  // Companions and stale bytes are not functions of the key.
  SetKey(kMain, 7, 73, 0xFF, 21, 22, 3000);  // +0 left over, the key shows 22
  for (int f : {15, 21, 73}) EXPECT_FALSE(AnyKeyHasFunction(d, f)) << f;
  EXPECT_TRUE(AnyKeyHasFunction(d, 22));
  // "None" is never a function, however many keys have none.
  EXPECT_FALSE(AnyKeyHasFunction(d, 255));
  EXPECT_FALSE(AnyKeyHasFunction(d, 255, true));
}

TEST_F(KeyFunctions, SecondColumnCountsOnlyWhenAsked) {
  SetKey(kMain, 10, 0xFF, 19, 0xFF, 0xFF, 0xFFFF);
  EXPECT_FALSE(AnyKeyHasFunction(d, 19));
  EXPECT_TRUE(AnyKeyHasFunction(d, 19, true));
  RemoveKeyFunction(d, 19);
  EXPECT_EQ(Key(kMain, 10), "FF 13 FF FF FF FF 12 34");
  RemoveKeyFunction(d, 19, true);
  EXPECT_EQ(Key(kMain, 10), "FF FF FF FF FF FF 12 34");
}

TEST_F(KeyFunctions, RemovalClearsFunctionHoldAndTimeAsTheEditorDoes) {
  SetKey(kMain, 27, 0xFF, 0xFF, 72, 73, 2000);   // 73 with its companion 72
  SetKey(kMain, 28, 0xFF, 5, 92, 0xFF, 1000);    // 92 in the hold byte, 5 second
  SetKey(kMain, 2, 80, 80, 0xFF, 0xFF, 0xFFFF);  // same code in both columns
  RemoveKeyFunction(d, 73);
  EXPECT_EQ(Key(kMain, 27), "FF FF FF FF FF FF 12 34");
  RemoveKeyFunction(d, 92);
  EXPECT_EQ(Key(kMain, 28), "FF 05 FF FF FF FF 12 34");
  RemoveKeyFunction(d, 80, true);
  EXPECT_EQ(Key(kMain, 2), "FF FF FF FF FF FF 12 34");
  EXPECT_FALSE(AnyKeyHasFunction(d, 80, true));
}

TEST_F(KeyFunctions, OtherFunctionsAreLeftAlone) {
  SetKey(kMain, 3, 0xFF, 0xFF, 21, 20, 3000);
  SetKey(kMain, 4, 0xFF, 0xFF, 72, 73, 2000);
  RemoveKeyFunction(d, 21, true);  // a companion, not a function
  RemoveKeyFunction(d, 72, true);
  EXPECT_EQ(Key(kMain, 3), "FF FF 15 14 B8 0B 12 34");
  EXPECT_EQ(Key(kMain, 4), "FF FF 48 49 D0 07 12 34");
}

TEST_F(KeyFunctions, PassPortKeyTableIsSearchedAndCleanedToo) {
  SetKey(kAlt, 10, 0xFF, 0xFF, 72, 73, 2000);
  EXPECT_TRUE(AnyKeyHasFunction(d, 73));
  RemoveKeyFunction(d, 73);
  EXPECT_EQ(Key(kAlt, 10), "FF FF FF FF FF FF 12 34");
  EXPECT_FALSE(AnyKeyHasFunction(d, 73));
}

TEST_F(KeyFunctions, LoadingWithFunction73SwitchesToBoard3AndDrops92) {
  d.Image().setU8(0x81C, '1');
  SetKey(kMain, 27, 0xFF, 0xFF, 72, 73, 2000);
  SetKey(kMain, 28, 0xFF, 0xFF, 92, 0xFF, 1000);
  PostLoadAdjustments(d);
  EXPECT_EQ(Hex(d.Image(), 0x81C, 1), "33");
  EXPECT_EQ(Key(kMain, 28), "FF FF FF FF FF FF 12 34");
  EXPECT_EQ(Key(kMain, 27), "FF FF 48 49 D0 07 12 34");
}

TEST_F(KeyFunctions, KindDefaultsClearEveryKeyAndTheAccessorySettings) {
  SetKey(kMain, 0, 6, 7, 0xFF, 0xFF, 0xFFFF);
  SetKey(kMain, 28, 0xFF, 0xFF, 72, 73, 2000);
  SetKey(kAlt, 3, 0xFF, 0xFF, 96, 0xFF, 1000);
  ByteArea im = d.Image();
  im.setU8(0x582, '1');
  im.setU8(0x583, '2');
  im.setU8(0x584, '0');
  im.setU16le(0x58E, 0x00E3);  // three boxes checked, other bits of the word set
  WriteKeyDefaults(d);
  EXPECT_EQ(Key(kMain, 0), "FF FF FF FF FF FF 12 34");
  EXPECT_EQ(Key(kMain, 28), "FF FF FF FF FF FF 12 34");
  EXPECT_EQ(Key(kAlt, 3), "FF FF FF FF FF FF 12 34");
  EXPECT_EQ(Hex(im, 0x582, 3), "FF FF FF");
  EXPECT_EQ(Hex(im, 0x58E, 2), "FF 00");
}

TEST(KindFeatureDefaults, ResetSlotsAndKeepBit7OfTheirCompanions) {
  RadioData d;
  NewProgramming(d, kVT1600, 0x04);
  ByteArea im = d.Image();
  im.setU8(0x15A, '1');
  im.setU8(0x15B, 0x1C);
  im.setU8(0x15C, '2');
  im.setU8(0x15D, 0x9C);
  im.setU8(0x15E, '1');
  im.setU8(0x15F, 0x00);
  d.model.SetModel(kVT2400);
  d.model.SetBandCode(0x06);
  WriteKindFeatureDefaults(d);
  EXPECT_EQ(Hex(im, 0x15A, 6), "FF 63 FF E3 FF 63");
  EXPECT_EQ(Hex(im, 0x16C, 2), "00 1F");
  EXPECT_EQ(Hex(im, 0x17E, 1), "31");
}

// --- accessory slots ---------------------------------------------------------------

TEST(OptionSlots, WhichSlotsAreInUse) {
  RadioData mobile, portable;
  NewProgramming(mobile, kVT1600, 0x04);
  NewProgramming(portable, kVT2400, 0x07);
  EXPECT_FALSE(AnyUsedOptionSlotHolds(mobile, '1'));
  EXPECT_FALSE(AnyUsedOptionSlotHolds(mobile, '0'));

  // 0x15A always counts.
  portable.Image().setU8(0x15A, '1');
  EXPECT_TRUE(AnyUsedOptionSlotHolds(portable, '1'));
  EXPECT_FALSE(AnyUsedOptionSlotHolds(portable, '2'));
  portable.Image().setU8(0x15A, 0xFF);

  // 0x15E only on mobiles.
  mobile.Image().setU8(0x15E, '1');
  portable.Image().setU8(0x15E, '1');
  EXPECT_TRUE(AnyUsedOptionSlotHolds(mobile, '1'));
  EXPECT_FALSE(AnyUsedOptionSlotHolds(portable, '1'));
}

TEST(OptionSlots, MiddleSlotDependsOnTheSystemType) {
  RadioData d;
  NewProgramming(d, kVT1600, 0x04);
  ByteArea im = d.Image();
  im.setU8(0x15C, '1');
  const struct {
    uint8_t b851, b852, b853;
    bool counts;
  } cases[] = {
      {0xFF, 0xFF, 0xFF, true},   // type 0
      {0x00, 0xFF, 0xFF, false},  // type 1
      {0xFF, 0x00, 0xFF, true},   // type 2
      {0xFF, 0xFF, 0x00, false},  // type 4
  };
  for (const auto& c : cases) {
    im.setU8(0x851, c.b851);
    im.setU8(0x852, c.b852);
    im.setU8(0x853, c.b853);
    EXPECT_EQ(AnyUsedOptionSlotHolds(d, '1'), c.counts) << int(c.b851) << " " << int(c.b852) << " " << int(c.b853);
  }
}

TEST(OptionSlots, LoadingWithSlotHoldingOneSwitchesToBoard3) {
  RadioData d;
  NewProgramming(d, kVT1600, 0x04);
  d.Image().setU8(0x15E, '1');
  PostLoadAdjustments(d);
  EXPECT_EQ(Hex(d.Image(), 0x81C, 1), "33");
  // On a portable the same slot is not in use and the board stays.
  RadioData p;
  NewProgramming(p, kVT2400, 0x06);
  p.Image().setU8(0x15E, '1');
  PostLoadAdjustments(p);
  EXPECT_EQ(Hex(p.Image(), 0x81C, 1), "31");
}

}  // namespace
}  // namespace vb420
