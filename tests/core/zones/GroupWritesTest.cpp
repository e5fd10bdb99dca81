// SPDX-License-Identifier: GPL-3.0-or-later
// Writes into LTR and PassPort groups and LTR repeaters through the core
// field operations, the typed zone results and the directory walk.
#include "ZoneTestUtil.h"
#include "data/ImageLayout.h"
#include "editors/zones/GroupFields.h"
#include "editors/zones/ZoneFields.h"

namespace vb420::testing {
namespace {

class GroupWrites : public ZoneFixture {
 protected:
  CGroupFields groups{zm, text()};
  std::vector<uint8_t> Rec(int zone, int group, size_t n) { return Bytes(static_cast<size_t>(zm.FindRecord(zone, group)), n); }
};

TEST_F(GroupWrites, LtrFirstColumnCreatesTheZoneAndTheGroupAndEmptyRemovesIt) {
  FieldResult r = groups.SetLtrField(4, 2, 2, "300");
  ASSERT_EQ(r.result, kFieldStored);
  EXPECT_EQ(zm.ZoneType(4), '0');
  const int rec = zm.FindRecord(4, 2);
  ASSERT_EQ(rec, static_cast<int>(zm.ZoneOffset(4)) + 48);
  EXPECT_EQ(image().u8(static_cast<size_t>(rec) + 2), 250);  // clamped
  ASSERT_EQ(groups.SetLtrField(4, 2, 3, "").result, kFieldStored);
  EXPECT_EQ(image().u8(static_cast<size_t>(rec) + 1), 0xFF);  // empty: none
  ASSERT_EQ(groups.SetLtrField(4, 2, 3, "12").result, kFieldStored);
  ASSERT_EQ(groups.SetLtrField(4, 2, 4, "north gate yard").result, kFieldStored);
  EXPECT_EQ(Rec(4, 2, 15), std::vector<uint8_t>({3, 12, 250, 'n', 'o', 'r', 't', 'h', ' ', 'g', 'a', 't', 'e', ' ', 'y'}));
  std::string s;
  ASSERT_TRUE(groups.LtrFieldText(4, 2, 4, s));
  EXPECT_EQ(s, "north gate y");
  // A field other than the first on a missing group stores nothing.
  EXPECT_EQ(groups.SetLtrField(4, 5, 3, "9").result, 0);
  EXPECT_LT(zm.FindRecord(4, 5), 0);
  ASSERT_EQ(groups.SetLtrField(4, 2, 2, " ").result, kFieldRecordRemoved);
  EXPECT_LT(zm.FindRecord(4, 2), 0);
  EXPECT_EQ(image().u8(zm.ZoneOffset(4) + 4), 0);
}

TEST_F(GroupWrites, LtrListsAndCheckBoxesTakeOnlyTheirRows) {
  ASSERT_EQ(groups.SetLtrField(0, 0, 2, "5").result, kFieldStored);
  const size_t rec = static_cast<size_t>(zm.FindRecord(0, 0));
  EXPECT_EQ(groups.SetLtrOption(0, 0, 6, '5'), 1);
  EXPECT_EQ(image().u8(rec + 15), '5');
  EXPECT_EQ(groups.SetLtrOption(0, 0, 6, '3'), 0);  // not a row
  EXPECT_EQ(image().u8(rec + 15), '5');
  EXPECT_EQ(groups.SetLtrOption(0, 0, 8, 0), 1);  // ticked: bit 1 clear
  EXPECT_EQ(image().u8(rec + 30) & 0x02, 0);
  // The ID-list rows of field 7 store the choice and the entry word.
  image().setU8(img::kSignallingIdMode, '1');
  const DirectoryList ids = IdList(image());
  image().setU8(ids.Row(1) + 12, 7);  // entry 2 usable
  EXPECT_EQ(groups.SetLtrOption(0, 0, 7, '3' | 2 << 8), 1);
  EXPECT_EQ(image().u8(rec + 16), '3');
  EXPECT_EQ(image().u16le(rec + 17), 2);
  EXPECT_EQ(groups.SetLtrOption(0, 0, 7, '3' | 3 << 8), 0);  // entry 3 is not usable
  EXPECT_EQ(groups.SetLtrOption(0, 0, 7, '0'), 1);
  EXPECT_EQ(image().u16le(rec + 17), 0xFFFF);
  std::string s;
  groups.LtrFieldText(0, 0, 7, s);
  EXPECT_EQ(s, "T441");
}

TEST_F(GroupWrites, PassPortIdIsKeptTwiceAndTheHornIsForMobiles) {
  ASSERT_EQ(groups.SetPassPortColumn(2, 0, 1, "70000").result, kFieldStored);
  EXPECT_EQ(zm.ZoneType(2), '5');
  const size_t rec = static_cast<size_t>(zm.FindRecord(2, 0));
  EXPECT_EQ(image().u16le(rec + 1), 65519);
  EXPECT_EQ(image().u16le(rec + 3), 65519);
  ASSERT_EQ(groups.SetPassPortColumn(2, 0, 1, "4660").result, kFieldStored);
  EXPECT_EQ(Rec(2, 0, 5), std::vector<uint8_t>({1, 0x34, 0x12, 0x34, 0x12}));
  EXPECT_EQ(groups.SetPassPortSwitch(2, 0, kPassPortHornColumn, true), 1);
  EXPECT_EQ(image().u8(rec + 17) & 0x10, 0);
  SetModel(8, 0x04);  // a portable
  EXPECT_EQ(groups.SetPassPortSwitch(2, 0, kPassPortHornColumn, false), 0);
  EXPECT_EQ(image().u8(rec + 17) & 0x10, 0);
  EXPECT_EQ(groups.SetPassPortSwitch(2, 0, 3, true), 1);
}

TEST_F(GroupWrites, RepeaterFirstFrequencyCreatesItAndSetsTheSecondFiveMegahertzAbove) {
  SetModel(4, 0x06);  // 450-520 MHz mobile
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  EXPECT_EQ(groups.SetRepeaterFrequency(1, 0, 2, "456.0", true).result, -1);  // no repeater yet
  FieldResult r = groups.SetRepeaterFrequency(1, 0, 1, "451.025", true);
  ASSERT_EQ(r.result, kFieldStored);
  EXPECT_EQ(r.message, 0);
  std::string first, second;
  ASSERT_TRUE(groups.RepeaterFieldText(1, 0, 1, first));
  ASSERT_TRUE(groups.RepeaterFieldText(1, 0, 2, second));
  EXPECT_EQ(first, "451.02500");
  EXPECT_EQ(second, "456.02500");
  const size_t rep = static_cast<size_t>(zm.FindRepeater(1, 0));
  EXPECT_EQ(image().u8(rep + 9), image().u8(rep + 10));
  // Flags A and B set (no window of the mobile tables, system type 0), the
  // check box as created, the transmit check set on a mobile.
  EXPECT_EQ(image().u16le(rep + 14) & 0x0F, 0x0F);
  // Out of the band: stored with the warning.
  r = groups.SetRepeaterFrequency(1, 0, 2, "300", true);
  EXPECT_EQ(r.message, 284);
  // An empty second frequency stores none; an empty first removes the repeater.
  ASSERT_EQ(groups.SetRepeaterFrequency(1, 0, 2, "", true).result, kFieldStored);
  EXPECT_EQ(Bytes(rep + 5, 4), std::vector<uint8_t>(4, 0xFF));
  EXPECT_EQ(image().u8(rep + 10), 0xFF);
  ASSERT_EQ(groups.SetRepeaterFrequency(1, 0, 1, "", true).result, kFieldRecordRemoved);
  EXPECT_EQ(zm.RepeaterCount(1), 0);
}

TEST_F(GroupWrites, ResultsCarryOneMessageEach) {
  EXPECT_EQ(ResultMessage(ZoneResult::NoRoom), 275);
  EXPECT_EQ(ResultMessage(ZoneResult::ChannelLimit), 299);
  EXPECT_EQ(ResultMessage(ZoneResult::Refused), 0);
  EXPECT_EQ(ResultMessage(InsertResult::NoRoom), 275);
  EXPECT_EQ(ResultMessage(InsertResult::ChannelLimit), 299);
  EXPECT_EQ(ResultMessage(InsertResult::Refused), 0);  // a full zone: no message
  // The numbers are the rules' numbers.
  EXPECT_EQ(static_cast<int>(InsertResult::NoRoom), 0);
  EXPECT_EQ(static_cast<int>(ZoneResult::NoRoom), -1);
  // A zone area too full for a group header: the first column reports it.
  for (int z = 0; z < 2; ++z) {
    ASSERT_EQ(zm.CreateZone(z, '1'), 1);
    for (int c = 0; c < 250 && zm.FreeBytes() >= 48 + 48; ++c) ASSERT_EQ(zm.InsertRecord(z, c), 1);
  }
  ASSERT_LT(zm.FreeBytes(), 48 + 48);
  ASSERT_EQ(zm.CreateZone(2, '0'), 1);
  ASSERT_LT(zm.FreeBytes(), 48);
  const int zone = 3;
  const FieldResult r = groups.SetLtrField(zone, 0, 2, "5");
  EXPECT_EQ(r.message, 275);
  EXPECT_LT(zm.FindRecord(zone, 0), 0);
}

TEST_F(GroupWrites, AFirstEntryThatCannotHaveItsRecordLeavesNoZoneBehind) {
  // Room for an LTR header (48 bytes) but not for a group after it (32 more).
  ASSERT_EQ(zm.CreateZone(0, '1'), 1);
  for (int c = 0; c < 250 && zm.FreeBytes() >= 48 + 48; ++c) ASSERT_EQ(zm.InsertRecord(0, c), 1);
  ASSERT_EQ(zm.CreateZone(1, '1'), 1);
  for (int c = 0; c < 250 && zm.FreeBytes() >= 48 + 48; ++c) ASSERT_EQ(zm.InsertRecord(1, c), 1);
  if (zm.FreeBytes() >= 48 + 32) {
    ASSERT_EQ(zm.CreateZone(2, '1'), 1);  // a 32-byte header tunes the rest
  }
  ASSERT_GE(zm.FreeBytes(), 48);
  ASSERT_LT(zm.FreeBytes(), 48 + 32);
  const std::vector<uint8_t> imageBefore(data.buffers.ImageBytes());
  const std::vector<uint8_t> extBefore(data.buffers.ExtBytes());
  const FieldResult r = groups.SetLtrField(5, 0, 2, "7");
  EXPECT_EQ(r.message, 275);
  EXPECT_FALSE(zm.ZoneExists(5));
  EXPECT_EQ(data.buffers.ImageBytes(), imageBefore);
  EXPECT_EQ(data.buffers.ExtBytes(), extBefore);
}

TEST_F(GroupWrites, DirectoryListsAreCutToTheImage) {
  DirectoryList ids = IdList(image());
  EXPECT_EQ(ids.offset, 0xA700u);
  EXPECT_EQ(ids.count, 100u);
  EXPECT_FALSE(ids.Clipped());
  image().setU16le(dir::OffsetWord(dir::kIdListEntry), 0xBFE0);  // two rows fit
  ids = IdList(image());
  EXPECT_EQ(ids.count, 2u);
  EXPECT_TRUE(ids.Clipped());
  image().setU16le(dir::OffsetWord(dir::kIdListEntry), 0xFFFF);  // outside: no rows
  EXPECT_EQ(IdList(image()).count, 0u);
  // The channel list built from it offers no row from outside the image.
  image().setU8(img::kSignallingIdMode, '1');
  MakeConv(0, {1});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "150", false).result, kFieldStored);
  EXPECT_EQ(conv.OptionChoices(0, 0, 12).size(), 4u);
  const DirectoryList status = StatusList(image());
  EXPECT_EQ(status.offset, 0xB400u);
  EXPECT_EQ(status.count, 90u);
}

}  // namespace
}  // namespace vb420::testing
