// SPDX-License-Identifier: GPL-3.0-or-later
// Zone Merge: whole zones copied, pasted and deleted with everything that
// belongs to them, the stops for room and the channel limit, the 20 entries
// and their ".sdt" file, the assignments and the pre-write check on them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/plan/ZoneMerge.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"
#include "support/Files.h"

namespace vb420 {
namespace {

TextTable& MergeTexts() {
  static TextTable table = [] {
    TextTable t;
    std::string lng = "*Language,English\n";
    for (int i = 0; i < TextTable::kEntryCount; ++i) {
      const bool args = i == 180 || i == 181 || i == 521;
      lng += "^#" + TextTable::IdentifierOf(i) + ",T" + std::to_string(i) + (args ? " %s %s" : "") + "\n";
    }
    t.LoadText(lng, "English");
    return t;
  }();
  return table;
}

class Merge : public ::testing::Test {
 protected:
  Merge() : data(&MergeTexts()), zm(data) {
    data.buffers.Clear();
    InitNewImage(data, true);
    data.SyncCodecs();
  }
  void Set(const std::string& key, const std::string& value) {
    forms::SettingLine out;
    int message = 0;
    ASSERT_EQ(forms::SetSetting(data, MergeTexts(), key, value, out, message), forms::SettingStatus::Ok) << key;
  }
  std::vector<uint8_t> BlockOf(int zone) {
    const ZoneLayout z = zm.ZoneInfo(zone);
    std::vector<uint8_t> b(static_cast<size_t>(z.size));
    data.Image().read(static_cast<size_t>(z.offset), b.data(), b.size());
    return b;
  }
  // The merge entries of `data` saved as a ".sdt" file and loaded into
  // `other`, a new programming.
  void ThroughSdtFile(RadioData& other) {
    testsupport::TempDir dir("merge");
    ASSERT_TRUE(SaveSdtFile(dir.File("m.sdt"), data).ok());
    other.buffers.Clear();
    InitNewImage(other, true);
    other.SyncCodecs();
    ASSERT_TRUE(LoadSdtFile(dir.File("m.sdt"), other).ok());
  }
  // Conventional zone with `n` channels.
  void Conv(int zone, int n) {
    for (int c = 1; c <= n; ++c) Set("zone." + std::to_string(zone + 1) + ".ch." + std::to_string(c) + ".rxf", "146.52");
  }
  RadioData data;
  CZoneMemory zm;
};

TEST_F(Merge, PasteCarriesBlockPerZoneAndPerChannelValues) {
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  Set("zone.2.group.4.encode", "9");
  Set("zone.2.group.4.scan", "T372");
  Set("zone.2.group.8.encode", "10");
  Set("zone.2.group.8.f17", "3");
  Set("zone.2.rep.3.rxf", "146.0");
  ByteArea ext = data.Ext();
  ext.setU8(zones::kExtZoneBytes + 1, 7);
  ext.setU8(zones::kExtZoneLists + 16 + 5, 0x42);
  ext.setBit(zones::kExtZoneBits, 1, false);
  Conv(4, 2);
  const auto source = BlockOf(1);
  const int g0 = zm.GlobalChannel(1, 3), g1 = zm.GlobalChannel(1, 7);
  const PerChannelValues v0 = zm.ReadPerChannel(g0), v1 = zm.ReadPerChannel(g1);

  CZoneCopyBuffer buf;
  buf.CopyZones(zm, 1, 1);
  ASSERT_EQ(buf.PasteZones(zm, 9), MergeResult::Done);
  auto pasted = BlockOf(9);
  ASSERT_EQ(pasted.size(), source.size());
  EXPECT_EQ(pasted[0], 10);
  auto a = source, b = pasted;
  a[0] = b[0] = 0;
  a[2] = b[2] = a[3] = b[3] = 0;
  EXPECT_EQ(a, b);
  // The zone after the copy moved its channels behind the new ones.
  EXPECT_EQ(zm.GlobalChannel(9, 3), 4);
  const PerChannelValues w0 = zm.ReadPerChannel(zm.GlobalChannel(9, 3)), w1 = zm.ReadPerChannel(zm.GlobalChannel(9, 7));
  EXPECT_EQ(w0.bitA, v0.bitA);
  EXPECT_EQ(w1.chanByte, v1.chanByte);
  EXPECT_EQ(w1.chanByte, 3);
  EXPECT_EQ(ext.u8(zones::kExtZoneBytes + 9), 7);
  EXPECT_EQ(ext.u8(zones::kExtZoneLists + 16 * 9 + 5), 0x42);
  EXPECT_FALSE(ext.bit(zones::kExtZoneBits + 1, 1));
  EXPECT_EQ(zm.CheckZoneArea().size(), 0u);
}

// A PassPort zone's selective-call scrambler switch and code are the zone's:
// copy, paste, the entries with their file and the merge carry them, and a
// target that loses its zone gets the defaults.
TEST_F(Merge, TheScramblerSwitchAndCodeTravelWithTheirZone) {
  Conv(0, 3);
  ASSERT_EQ(zm.CreateZone(2, '5'), 1);
  ByteArea ext = data.Ext();
  ext.setBit(zones::kExtEntryBits, 2, false);  // on
  ext.setU8(zones::kExtEntryBytes + 2, 7);
  auto on = [&](RadioData& d, int zone) { return !d.Ext().bit(zones::kExtEntryBits + zone / 8, zone % 8); };
  auto code = [&](RadioData& d, int zone) { return int(d.Ext().u8(zones::kExtEntryBytes + zone)); };

  CZoneCopyBuffer buf;
  buf.CopyZones(zm, 2, 2);
  ASSERT_EQ(buf.PasteZones(zm, 9), MergeResult::Done);
  EXPECT_TRUE(on(data, 9));
  EXPECT_EQ(code(data, 9), 7);
  EXPECT_TRUE(on(data, 2));
  EXPECT_EQ(code(data, 2), 7);
  EXPECT_FALSE(on(data, 0));  // the zone before kept its own entry
  EXPECT_EQ(code(data, 0), 0xFF);

  // Through an entry and the ".sdt" file into another programming.
  EXPECT_EQ(buf.PasteEntries(data.mergeSlots, 4), 1);
  AssignZone(data.mergeSlots, 4, 40);
  RadioData other(&MergeTexts());
  ThroughSdtFile(other);
  if (HasFatalFailure()) return;
  CZoneMemory oz(other);
  ASSERT_EQ(MergeAssigned(oz, other.mergeSlots), MergeResult::Done);
  EXPECT_TRUE(on(other, 40));
  EXPECT_EQ(code(other, 40), 7);

  // A zone that does not exist pasted over zone 10, and zone 3 deleted.
  CZoneCopyBuffer none;
  none.CopyZones(zm, 100, 100);
  ASSERT_EQ(none.PasteZones(zm, 9), MergeResult::Done);
  EXPECT_FALSE(on(data, 9));
  EXPECT_EQ(code(data, 9), 0xFF);
  EXPECT_EQ(DeleteZones(zm, 2, 2), 1);
  EXPECT_FALSE(on(data, 2));
  EXPECT_EQ(code(data, 2), 0xFF);
}

TEST_F(Merge, PasteStopsAtZone128AndDeletesTargetsOfMissingZones) {
  Conv(0, 1);
  Conv(2, 1);
  Conv(126, 2);
  Conv(127, 1);
  CZoneCopyBuffer buf;
  buf.CopyZones(zm, 0, 2);  // zone 2 does not exist
  int written = 0;
  ASSERT_EQ(buf.PasteZones(zm, 126, &written), MergeResult::Done);
  EXPECT_EQ(written, 2);
  EXPECT_EQ(zm.RecordCount(126), 1);  // zone 1's block
  EXPECT_FALSE(zm.ZoneExists(127));   // zone 2 did not exist: the target went
}

TEST_F(Merge, DeletePacksAndPasteStopsForRoomAndLimit) {
  for (int z = 0; z < 5; ++z) Conv(z, 1);
  const auto fifth = BlockOf(4);
  EXPECT_EQ(DeleteZones(zm, 1, 3), 3);
  EXPECT_EQ(zm.ZoneOffset(4), 0xB00 + 80);
  auto now = BlockOf(4), was = fifth;
  now[2] = was[2] = 0;  // its first global channel number follows the zones before it
  EXPECT_EQ(now, was);

  // Room: a 100-channel zone copied over and over runs out of memory.
  Conv(10, 100);
  CZoneCopyBuffer big;
  big.CopyZones(zm, 10, 10);
  int written = 0;
  EXPECT_EQ(big.PasteZones(zm, 20, &written), MergeResult::Done);
  EXPECT_EQ(big.PasteZones(zm, 30, &written), MergeResult::Done);
  EXPECT_EQ(big.PasteZones(zm, 40, &written), MergeResult::NoRoom);
  EXPECT_EQ(written, 0);
  EXPECT_EQ(MergeMessage(MergeResult::NoRoom), 275);
  EXPECT_FALSE(zm.ZoneExists(40));
}

TEST_F(Merge, ChannelLimitStopsThePaste) {
  // 512 LTR groups in three zones, with room for one more small zone.
  for (int z = 0; z < 3; ++z) {
    ASSERT_EQ(zm.CreateZone(z, '0'), 1);
    const int n = z < 2 ? 250 : 12;
    for (int g = 0; g < n; ++g) ASSERT_EQ(zm.InsertRecord(z, g), 1);
  }
  ASSERT_EQ(zm.TotalChannels(), 512);
  CZoneCopyBuffer buf;
  buf.CopyZones(zm, 2, 2);
  EXPECT_EQ(buf.PasteZones(zm, 2), MergeResult::Done);  // over itself: the count stays
  EXPECT_EQ(buf.PasteZones(zm, 5), MergeResult::ChannelLimit);
  EXPECT_EQ(MergeMessage(MergeResult::ChannelLimit), 299);
}

// The 512th channel may be pasted; the 513th is refused before the target
// zone is deleted, so the programming stays as it was.
TEST_F(Merge, The513thChannelIsRefusedBeforeAnythingChanges) {
  for (int z = 0; z < 3; ++z) {
    ASSERT_EQ(zm.CreateZone(z, '0'), 1);
    const int n = z < 2 ? 250 : 10;
    for (int g = 0; g < n; ++g) ASSERT_EQ(zm.InsertRecord(z, g), 1);
  }
  Conv(3, 1);
  // The target holds a repeater but no channel: replacing it adds one.
  ASSERT_EQ(zm.CreateZone(6, '0'), 1);
  Set("zone.7.rep.1.rxf", "146.0");
  ASSERT_EQ(zm.TotalChannels(), 511);
  CZoneCopyBuffer one;
  one.CopyZones(zm, 3, 3);
  ASSERT_EQ(one.PasteZones(zm, 5), MergeResult::Done);
  ASSERT_EQ(zm.TotalChannels(), 512);
  const auto image = data.buffers.ImageBytes();
  const auto ext = data.buffers.ExtBytes();
  EXPECT_EQ(one.PasteZones(zm, 6), MergeResult::ChannelLimit);
  EXPECT_EQ(zm.TotalChannels(), 512);
  EXPECT_EQ(zm.ZoneClass(6), kClassLtr);
  EXPECT_EQ(data.buffers.ImageBytes(), image);
  EXPECT_EQ(data.buffers.ExtBytes(), ext);
}

// A block whose channel or repeater numbers repeat does not hold together
// (two records would claim one channel): an entry carrying one is refused.
TEST_F(Merge, RepeatedRecordNumbersMakeABlockUnsound) {
  Conv(0, 2);
  auto block = BlockOf(0);
  ASSERT_TRUE(ZoneBlockSound(block));
  const size_t second = zones::kConvHeader + zones::kChannelSize;
  ASSERT_EQ(block[second], 2);
  block[second] = 1;
  EXPECT_FALSE(ZoneBlockSound(block));

  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  Set("zone.2.rep.3.rxf", "146.0");
  Set("zone.2.rep.4.rxf", "147.0");
  auto ltr = BlockOf(1);
  ASSERT_TRUE(ZoneBlockSound(ltr));
  const size_t lastRep = ltr.size() - zones::kRepeaterSize;
  ASSERT_EQ(ltr[lastRep], 4);
  ltr[lastRep] = 3;
  EXPECT_FALSE(ZoneBlockSound(ltr));

  // Through an entry: refused without touching the zone.
  const auto before = data.buffers.ImageBytes();
  data.mergeSlots.entries[0].block = block;
  AssignZone(data.mergeSlots, 0, 7);
  EXPECT_EQ(MergeAssigned(zm, data.mergeSlots), MergeResult::Damaged);
  EXPECT_EQ(data.buffers.ImageBytes(), before);
}

TEST_F(Merge, EntriesGoThroughTheSdtFileAndIntoZones) {
  ASSERT_EQ(zm.CreateZone(3, '0'), 1);
  Set("zone.4.group.2.encode", "5");
  Set("zone.4.group.2.scan", "T372");
  Set("zone.4.rep.1.rxf", "146.0");
  data.Ext().setU8(zones::kExtZoneBytes + 3, 9);
  CZoneCopyBuffer buf;
  buf.CopyZones(zm, 3, 3);
  EXPECT_EQ(buf.PasteEntries(data.mergeSlots, 19), 1);
  EXPECT_EQ(buf.PasteEntries(data.mergeSlots, 20), 0);
  AssignZone(data.mergeSlots, 19, 60);
  const auto source = BlockOf(3);

  RadioData other(&MergeTexts());
  ThroughSdtFile(other);
  if (HasFatalFailure()) return;
  EXPECT_TRUE(SlotUsed(other.mergeSlots, 19));
  EXPECT_EQ(AssignedZone(other.mergeSlots, 19), 60);
  EXPECT_EQ(EntryForZone(other.mergeSlots, 60), 19);

  // The assignment is pending: the check names it.
  std::vector<WriteProblem> problems;
  CheckMergeData(other, MergeTexts(), problems);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].line, "\"T180 20 61\"");

  CZoneMemory oz(other);
  int stopped = 0;
  ASSERT_EQ(MergeAssigned(oz, other.mergeSlots, &stopped), MergeResult::Done);
  EXPECT_EQ(stopped, -1);
  EXPECT_EQ(AssignedZone(other.mergeSlots, 19), -1);
  const ZoneLayout z = oz.ZoneInfo(60);
  std::vector<uint8_t> b(static_cast<size_t>(z.size));
  other.Image().read(static_cast<size_t>(z.offset), b.data(), b.size());
  EXPECT_EQ(b.size(), source.size());
  EXPECT_EQ(b[0], 61);
  EXPECT_EQ(other.Ext().u8(zones::kExtZoneBytes + 60), 9);
  EXPECT_FALSE(oz.ReadPerChannel(oz.GlobalChannel(60, 1)).bitA);
  problems.clear();
  CheckMergeData(other, MergeTexts(), problems);
  EXPECT_TRUE(problems.empty());
}

TEST_F(Merge, CheckNamesEmptyAndDoubleAssignments) {
  AssignZone(data.mergeSlots, 0, 4);
  AssignZone(data.mergeSlots, 1, 4);
  std::vector<WriteProblem> problems;
  CheckMergeData(data, MergeTexts(), problems);
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems[0].line, "\"T181 1 5\"");
  EXPECT_EQ(problems[2].line, "\"T521 5 \"");
  // Assigning through the zone side takes the zone's other entries away.
  AssignEntryToZone(data.mergeSlots, 4, 7);
  EXPECT_EQ(AssignedZone(data.mergeSlots, 0), -1);
  EXPECT_EQ(EntryForZone(data.mergeSlots, 4), 7);
}

TEST_F(Merge, DamagedEntriesAreRefusedWithoutTouchingTheZone) {
  Conv(0, 1);
  const auto before = data.buffers.ImageBytes();
  MergeSlot& s = data.mergeSlots.entries[0];
  s.block = {1, '1', 0, 0, 5, 0};  // claims five channels in six bytes
  AssignZone(data.mergeSlots, 0, 0);
  EXPECT_EQ(MergeAssigned(zm, data.mergeSlots), MergeResult::Damaged);
  EXPECT_EQ(data.buffers.ImageBytes(), before);
  EXPECT_EQ(MergeMessage(MergeResult::Damaged), 281);
}

TEST_F(Merge, SecondGenerationCutsPastedNames) {
  Conv(0, 1);
  Set("zone.1.ch.1.name", "ABCDEFGHIJKL");
  CZoneCopyBuffer buf;
  buf.CopyZones(zm, 0, 0);
  buf.PasteEntries(data.mergeSlots, 0);
  data.model.SetModel(2);  // a second-generation mobile
  data.SyncCodecs();
  CZoneCopyBuffer back;
  back.CopyEntries(data.mergeSlots, 0, 0);
  ASSERT_EQ(back.PasteZones(zm, 5), MergeResult::Done);
  forms::SettingLine out;
  ASSERT_EQ(forms::GetSetting(data, MergeTexts(), "zone.6.ch.1.name", out), forms::SettingStatus::Ok);
  EXPECT_EQ(out.text, "ABCDEFGH");
}

}  // namespace
}  // namespace vb420
