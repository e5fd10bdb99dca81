// SPDX-License-Identifier: GPL-3.0-or-later
// The trunked zone header, the PassPort header tables (system data, search
// and hold, seed frequencies), the PassPort group page, the repeater copy
// buffer and the repeaters' model-change fix-ups, through the settings keys
// the windows and vb420cli share.
#include "ZoneTestUtil.h"
#include "data/ImageLayout.h"
#include "data/ModelChange.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/GroupFields.h"
#include "editors/zones/PassPortFields.h"
#include "editors/zones/RecordCopy.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ZoneFixups.h"

namespace vb420::testing {
namespace {

using forms::SettingLine;
using forms::SettingStatus;

class TrunkTables : public ZoneFixture {
 protected:
  CGroupFields groups{zm, text()};

  std::string Get(const std::string& key) {
    SettingLine l;
    EXPECT_EQ(forms::GetSetting(data, text(), key, l), SettingStatus::Ok) << key;
    return l.text;
  }
  bool Enabled(const std::string& key) {
    SettingLine l;
    EXPECT_EQ(forms::GetSetting(data, text(), key, l), SettingStatus::Ok) << key;
    return l.enabled;
  }
  std::string Set(const std::string& key, const std::string& value, int* message = nullptr) {
    SettingLine l;
    int m = 0;
    EXPECT_EQ(forms::SetSetting(data, text(), key, value, l, m), SettingStatus::Ok) << key << "=" << value;
    if (message) *message = m;
    return l.text;
  }
  size_t Header(int zone) { return static_cast<size_t>(zm.ZoneOffset(zone)); }
  // A PassPort zone 2 (key zone.2) with groups 1 and 4.
  size_t MakePassPort() {
    EXPECT_EQ(zm.CreateZone(1, '5'), 1);
    EXPECT_EQ(zm.InsertRecord(1, 0), 1);
    EXPECT_EQ(zm.InsertRecord(1, 3), 1);
    return Header(1);
  }
};

// ---- LTR zone header ---------------------------------------------------------

TEST_F(TrunkTables, NewLtrZoneShowsItsHeaderDefaultsAndStoresByteExact) {
  ASSERT_EQ(zm.CreateZone(4, '0'), 1);
  const size_t h = Header(4);
  EXPECT_EQ(Get("zone.5.header.0"), "  5");
  EXPECT_EQ(Get("zone.5.header.1"), "1");
  EXPECT_EQ(Get("zone.5.header.5"), "15");
  EXPECT_EQ(Get("zone.5.header.8"), "60");
  EXPECT_EQ(Get("zone.5.header.9"), "180");
  EXPECT_EQ(Get("zone.5.header.2"), "T436");  // option bits 0-1 = 2: wide
  EXPECT_EQ(Get("zone.5.header.3"), "T362");  // none
  EXPECT_EQ(Get("zone.5.header.31"), "");     // a scan group outside its range shows nothing
  EXPECT_EQ(Get("zone.5.header.home"), "1");
  EXPECT_EQ(Get("zone.5.header.area"), "0");  // bit 0 of +47 set, shown inverted
  EXPECT_EQ(image().u8(h + 4), 0xFF);         // no groups
  EXPECT_EQ(image().u8(h + 5), 0);            // no repeaters

  const uint16_t before = image().u16le(h + 44);
  Set("zone.5.header.2", "T437");  // narrow
  Set("zone.5.header.10", "T513");
  Set("zone.5.header.12", "T511");
  Set("zone.5.header.16", "T372");  // a check box: clear bit ticked
  EXPECT_EQ(image().u16le(h + 44), static_cast<uint16_t>(((before & ~0x0B83) | 0x0180) & ~0x0800));
  Set("zone.5.header.8", "1000");  // clamped to 600
  EXPECT_EQ(image().u16le(h + 36), 600);
  Set("zone.5.header.23", "77");
  Set("zone.5.header.27", "T410");
  Set("zone.5.header.29", "T372");
  EXPECT_EQ(Bytes(h + 24, 3), (std::vector<uint8_t>{77, '5', static_cast<uint8_t>(image().u8(h + 26))}));
  EXPECT_FALSE(image().bit(h + 26, 1));
  Set("zone.5.header.area", "1");
  EXPECT_FALSE(image().bit(h + 47, 0));
  Set("zone.5.header.area", "7");  // clamped to 1
  EXPECT_EQ(Get("zone.5.header.area"), "1");
  Set("zone.5.header.home", "");
  EXPECT_EQ(image().u8(h + 46), 0xFF);
  Set("zone.5.header.home", "25");
  EXPECT_EQ(image().u8(h + 46), 20);
  // The per-zone tables: scan list byte and the zone-scan check box.
  Set("zone.5.header.6", "9");
  EXPECT_EQ(ext().u8(0xF00 + 4), 9);
  Set("zone.5.header.13", "T373");
  EXPECT_TRUE(ext().bit(0x6F0, 4));
}

TEST_F(TrunkTables, LtrHeaderKeysAnswerOnlyForLtrZones) {
  MakeConv(0, {1});
  SettingLine l;
  EXPECT_EQ(forms::GetSetting(data, text(), "zone.1.header.home", l), SettingStatus::UnknownKey);
  EXPECT_EQ(forms::GetSetting(data, text(), "zone.2.system.asid", l), SettingStatus::UnknownKey);  // no zone 2
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  EXPECT_EQ(forms::GetSetting(data, text(), "zone.2.system.asid", l), SettingStatus::UnknownKey);
}

// ---- PassPort system data ------------------------------------------------------

TEST_F(TrunkTables, MissedCallToneAboveEightShowsAndBecomesZeroWhenTheEditorOpens) {
  const size_t h = MakePassPort();
  image().setU8(h + 49, 9);
  EXPECT_EQ(Get("zone.2.system.missedtone"), "0");
  EXPECT_TRUE(passport::OpenSystemData(data, 1));
  EXPECT_EQ(image().u8(h + 49), 0);
  EXPECT_FALSE(passport::OpenSystemData(data, 1));  // nothing left to change on VHF
  image().setU8(h + 49, 8);
  passport::OpenSystemData(data, 1);
  EXPECT_EQ(image().u8(h + 49), 8);
}

TEST_F(TrunkTables, OpeningOnUhfClearsBothTxDfaChannelsAndKeepsTheOtherBits) {
  SetModel(4, 0x06);
  const size_t h = MakePassPort();
  image().setU16le(h + 71, static_cast<uint16_t>((100 << 5) | 0x06));  // channel 100, NSID 3
  image().setU16le(h + 94, static_cast<uint16_t>(5 << 5 | 0x01));
  EXPECT_TRUE(passport::OpenSystemData(data, 1));
  EXPECT_EQ(image().u16le(h + 71), 0xFFE6);
  EXPECT_EQ(image().u16le(h + 94), 0xFFE1);
  EXPECT_EQ(Get("zone.2.system.txdfa"), "");
  EXPECT_EQ(Get("zone.2.system.nsid"), "3");
  forms::FormContext ctx(data, text());
  EXPECT_FALSE(passport::SystemFieldShown(ctx, "txdfa"));
  // VHF keeps them.
  SetModel(0, 0x04);
  image().setU16le(h + 71, static_cast<uint16_t>(100 << 5));
  EXPECT_FALSE(passport::OpenSystemData(data, 1));
  EXPECT_EQ(Get("zone.2.system.txdfa"), "100");
  EXPECT_TRUE(passport::SystemFieldShown(ctx, "txdfa"));
}

TEST_F(TrunkTables, DataTalkgroupListsTheZonesGroups) {
  const size_t h = MakePassPort();
  EXPECT_EQ(image().u8(h + 20), 0xFF);
  EXPECT_EQ(Get("zone.2.system.datatg"), "T362");
  EXPECT_EQ(Set("zone.2.system.datatg", "4"), "4");
  EXPECT_EQ(image().u8(h + 20), 4);
  SettingLine l;
  int m = 0;
  EXPECT_EQ(forms::SetSetting(data, text(), "zone.2.system.datatg", "2", l, m), SettingStatus::BadValue);  // no group 2
  EXPECT_EQ(image().u8(h + 20), 4);
  Set("zone.2.system.datatg", "T362");
  EXPECT_EQ(image().u8(h + 20), 0xFF);
}

TEST_F(TrunkTables, ValuesTakenForNoneAndTheMinLimits) {
  const size_t h = MakePassPort();
  EXPECT_EQ(image().u16le(h + 21), 0xFFFF);
  EXPECT_EQ(Get("zone.2.system.dispatchtot"), "15");
  EXPECT_EQ(Set("zone.2.system.dispatchtot", "2000"), "1200");
  EXPECT_EQ(image().u16le(h + 21), 1200);
  EXPECT_EQ(Get("zone.2.system.asid"), "1");
  EXPECT_EQ(Get("zone.2.system.min"), "100");
  EXPECT_EQ(Get("zone.2.system.optout"), "0");
  EXPECT_EQ(image().u8(h + 48), 0);  // written at creation
  image().setU8(h + 48, 0xFF);
  EXPECT_EQ(Get("zone.2.system.optout"), "0");
  // The lower MIN limit may not pass the upper one, nor the upper the lower.
  EXPECT_EQ(Set("zone.2.system.minhigh", "500"), "500");
  EXPECT_EQ(Set("zone.2.system.minlow", "501"), "1");
  EXPECT_EQ(Set("zone.2.system.minlow", "500"), "500");
  EXPECT_EQ(Set("zone.2.system.minhigh", "499"), "500");
  EXPECT_EQ(Bytes(h + 73, 4), (std::vector<uint8_t>{0xF4, 0x01, 0xF4, 0x01}));
  // Flags: set bits are ticked unless marked clear.
  Set("zone.2.system.hornint", "T372");
  EXPECT_TRUE(image().bit(h + 79, 5));
  Set("zone.2.system.enhemer", "T372");
  EXPECT_FALSE(image().bit(h + 83, 7));
  Set("zone.2.system.dfaband", "5");
  EXPECT_EQ((image().u16le(h + 69) >> 1) & 0x0F, 5);
  forms::FormContext ctx(data, text());
  ZoneRecordLocator loc(zm, kClassPassPort);
  ctx.locator = &loc;
  ctx.cursor.zone = 1;
  EXPECT_TRUE(passport::SystemFieldShown(ctx, "band5b"));
  EXPECT_FALSE(passport::SystemFieldShown(ctx, "band2b"));
  // Horn switches are for mobiles.
  SetModel(8, 0x04);
  EXPECT_FALSE(Enabled("zone.2.system.hornint"));
}

TEST_F(TrunkTables, TheFirstGroupsIdIsThePrimaryGroupId) {
  const size_t h = MakePassPort();
  groups.SetPassPortColumn(1, 3, 1, "777");  // the second group
  EXPECT_EQ(image().u16le(h + 30), 0xFFFF);
  groups.SetPassPortColumn(1, 0, 1, "4242");
  EXPECT_EQ(image().u16le(h + 30), 4242);
  EXPECT_EQ(Get("zone.2.system.ptg"), "4242");
  const size_t g = static_cast<size_t>(zm.FindRecord(1, 0));
  EXPECT_EQ(Bytes(g + 1, 4), (std::vector<uint8_t>{0x92, 0x10, 0x92, 0x10}));
  // A group page switch: a clear bit of +18 is ticked.
  Set("zone.2.group.1.phone", "T372");
  EXPECT_EQ(image().u8(g + 18), 0xFB);
}

// ---- search and hold -------------------------------------------------------------

TEST_F(TrunkTables, SetAllAndClearAllLeaveBitZeroAlone) {
  const size_t h = MakePassPort();
  passport::SetAllAsids(data, 1, true);
  std::vector<uint8_t> expect(16, 0xFF);
  expect[0] = 0xFE;
  EXPECT_EQ(Bytes(h + 53, 16), expect);
  image().setBit(h + 53, 0, true);
  passport::SetAllAsids(data, 1, false);
  expect.assign(16, 0);
  expect[0] = 0x01;
  EXPECT_EQ(Bytes(h + 53, 16), expect);
  // As a list of ASIDs in the settings.
  EXPECT_EQ(Set("zone.2.search.blacklist", "3, 17 200,45,0"), "3,17,45");
  EXPECT_EQ(image().u8(h + 53), 0x09);  // ASID 3 and the untouched bit 0
  EXPECT_EQ(image().u8(h + 55), 0x02);  // 17
  EXPECT_EQ(image().u8(h + 58), 0x20);  // 45
  EXPECT_EQ(Set("zone.2.search.blacklist", ""), "");
}

TEST_F(TrunkTables, SearchTimersTakeTheirDefaultsForNone) {
  const size_t h = MakePassPort();
  EXPECT_EQ(Get("zone.2.search.initdwell"), "10");
  image().setU8(h + 38, 0xFF);
  EXPECT_EQ(Get("zone.2.search.regrssi"), "70");
  EXPECT_EQ(Set("zone.2.search.regrssi", "250"), "199");
  image().setU8(h + 51, 0xFF);
  EXPECT_EQ(Get("zone.2.search.redirect"), "20");
  EXPECT_EQ(Set("zone.2.search.dcc", "3"), "3");
  EXPECT_EQ(image().u8(h + 77), 0x63);
  Set("zone.2.search.interleave", "T372");
  EXPECT_TRUE(image().bit(h + 78, 6));
  EXPECT_FALSE(image().bit(h + 78, 5));  // the system data's bit
}

TEST_F(TrunkTables, ScramblerNeedsTheBoardAndItsCodeComesUpAsOne) {
  MakePassPort();
  ext().setU8(0x580 + 1, 0xFF);
  EXPECT_FALSE(Enabled("zone.2.search.scrambler"));
  SetSystemType(1);
  EXPECT_TRUE(Enabled("zone.2.search.scrambler"));
  EXPECT_EQ(Get("zone.2.search.scramblecode"), "1");
  // Opening Site Search writes the zone's own code and no other byte; a zone
  // that is not PassPort gets nothing.
  std::vector<uint8_t> expected = data.buffers.ExtBytes();
  EXPECT_FALSE(passport::OpenSearchHold(data, 0));
  EXPECT_TRUE(data.buffers.ExtBytes() == expected);
  EXPECT_TRUE(passport::OpenSearchHold(data, 1));
  expected[0x581] = 1;
  EXPECT_TRUE(data.buffers.ExtBytes() == expected);
  ext().setBit(0x570, 1, true);
  Set("zone.2.search.scrambler", "T372");  // ticked: bit 1 of 0x570 clear
  EXPECT_FALSE(ext().bit(0x570, 1));
  EXPECT_EQ(passport::SystemSummary(data, 1), (std::vector<std::string>{"ASID: 1", "MIN: 100", "PTG: 65535"}));
}

// ---- seed frequencies ------------------------------------------------------------

TEST_F(TrunkTables, SeedFrequenciesAreBcdWithoutAStepCode) {
  const size_t h = MakePassPort();
  EXPECT_EQ(Get("zone.2.seed.freq1"), "");
  int message = 0;
  EXPECT_EQ(Set("zone.2.seed.freq1", "151.5", &message), "151.50000");
  EXPECT_EQ(message, 0);
  std::vector<uint8_t> f(4);
  data.freq.EncodeFreq("151.5", f.data(), 0, false);
  EXPECT_EQ(Bytes(h + 84, 4), f);
  Set("zone.2.seed.freq2", "451.5", &message);  // outside the VHF band: kept, with the warning
  EXPECT_EQ(message, 283);
  Set("zone.2.seed.freq1", "");
  EXPECT_EQ(Bytes(h + 84, 4), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Get("zone.2.seed.dwell"), "3");
  Set("zone.2.seed.use", "T372");
  EXPECT_TRUE(image().bit(h + 71, 0));
  Set("zone.2.seed.first", "T372");
  EXPECT_TRUE(image().bit(h + 78, 7));
}

// ---- repeaters -------------------------------------------------------------------

TEST_F(TrunkTables, RepeaterRowsCopyPasteAndDeleteUpToTwenty) {
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  ASSERT_EQ(groups.SetRepeaterFrequency(0, 0, 1, "451.025", false).result, kFieldStored);
  ASSERT_EQ(groups.SetRepeaterFrequency(0, 2, 1, "452.5", false).result, kFieldStored);
  CRepeaterCopyBuffer buf;
  buf.Copy(zm, 0, 0, 2);  // rows 1 to 3, row 2 empty
  ASSERT_EQ(buf.Rows(), 3u);
  const std::vector<uint8_t> first = Bytes(static_cast<size_t>(zm.FindRepeater(0, 0)), 16);
  EXPECT_EQ(buf.Paste(zm, 0, 18).result, 1);  // rows 19 and 20; the third row falls off
  EXPECT_EQ(zm.RepeaterNumbers(0), (std::vector<int>{0, 2, 18}));
  std::vector<uint8_t> pasted = Bytes(static_cast<size_t>(zm.FindRepeater(0, 18)), 16);
  EXPECT_EQ(pasted[0], 19);
  pasted[0] = 1;
  EXPECT_EQ(pasted, first);
  // An empty buffer row removes the target.
  buf.Copy(zm, 0, 1, 1);
  EXPECT_EQ(buf.Paste(zm, 0, 2).result, 1);
  EXPECT_EQ(zm.RepeaterNumbers(0), (std::vector<int>{0, 18}));
  EXPECT_EQ(buf.Delete(zm, 0, 0, 19), 2);
  EXPECT_EQ(zm.RepeaterCount(0), 0);
  // Twenty repeaters: a 21st is refused, without a message.
  for (int r = 0; r < 20; ++r) ASSERT_EQ(zm.InsertRepeater(0, r), 1);
  ASSERT_EQ(zm.RemoveRepeater(0, 5), 1);
  buf.Copy(zm, 0, 0, 0);
  ASSERT_EQ(zm.InsertRepeater(0, 5), 1);
  const FieldResult full = buf.Paste(zm, 0, 19);  // replaces 20: fine
  EXPECT_EQ(full.result, 1);
  EXPECT_EQ(zm.InsertRepeater(0, 19), 0);
  MakeConv(1, {1});
  EXPECT_EQ(buf.Paste(zm, 1, 0).result, 0);  // not an LTR zone
}

TEST_F(TrunkTables, RemovingTheLastGroupLeavesTheRepeatersAfterTheHeader) {
  ASSERT_EQ(groups.SetLtrField(0, 0, 2, "5").result, kFieldStored);
  ASSERT_EQ(groups.SetRepeaterFrequency(0, 3, 1, "451.025", false).result, kFieldStored);
  const size_t h = Header(0);
  EXPECT_EQ(zm.FindRepeater(0, 3), static_cast<int>(h + 48 + 32));
  ASSERT_EQ(groups.SetLtrField(0, 0, 2, "").result, kFieldRecordRemoved);
  EXPECT_EQ(zm.FindRepeater(0, 3), static_cast<int>(h + 48));
  EXPECT_EQ(image().u8(h + 48), 4);
  EXPECT_EQ(groups.SetRepeaterFrequency(0, 3, 2, "", false).result, kFieldStored);  // a second frequency may go
  EXPECT_EQ(groups.SetRepeaterFrequency(0, 7, 2, "456", false).result, -1);          // but not make a repeater
}

TEST_F(TrunkTables, ModelChangesReencodeAndRemarkRepeaters) {
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  ASSERT_EQ(groups.SetRepeaterFrequency(0, 0, 1, "146.5125", false).result, kFieldStored);
  const size_t rep = static_cast<size_t>(zm.FindRepeater(0, 0));
  EXPECT_EQ(image().u8(rep + 9), '4');  // 7.5 kHz on the mobile
  image().setU16le(rep + 14, 0);
  SetModel(8, 0x04);
  ReencodeAllChannels(data);
  RecomputeChannelMarks(data);
  EXPECT_EQ(image().u8(rep + 9), '3');
  std::string s;
  groups.RepeaterFieldText(0, 0, 1, s);
  EXPECT_EQ(s, "146.51250");
  // The flags are those entering the frequency again gives.
  const uint16_t marked = image().u16le(rep + 14);
  ASSERT_EQ(groups.SetRepeaterFrequency(0, 0, 1, "146.5125", false).result, kFieldStored);
  EXPECT_EQ(image().u16le(rep + 14) & 0x0D, marked & 0x0D);
}

TEST_F(TrunkTables, ChannelCopyHoldsAGroupToTheSignallingMode) {
  ASSERT_EQ(groups.SetLtrField(0, 0, 2, "5").result, kFieldStored);
  const size_t g = static_cast<size_t>(zm.FindRecord(0, 0));
  image().setU8(g + rec::group::kField7, '4');
  image().setU8(img::kSignallingIdMode, '0');
  ASSERT_EQ(ChannelCopy(zm, 0, 0, 6).result, 1);
  EXPECT_EQ(image().u8(static_cast<size_t>(zm.FindRecord(0, 6)) + rec::group::kField7), 0xFF);
}

// ---- header keys ----------------------------------------------------------------

// Header fields are keyed by what they hold; the field number, their key in
// earlier versions, sets exactly the same bytes and reads the same text.
TEST_F(TrunkTables, NumberedHeaderKeysStillSetTheSameBytes) {
  ASSERT_EQ(zm.CreateZone(2, '1'), 1);  // zone 3: conventional
  ASSERT_EQ(zm.CreateZone(4, '0'), 1);  // zone 5: LTR
  const struct {
    const char* oldKey;
    const char* newKey;
    const char* value;
  } cases[] = {
      {"zone.3.header.7", "zone.3.header.timeout", "300"},
      {"zone.3.header.1", "zone.3.header.revertzone", "12"},
      {"zone.3.header.0", "zone.3.header.name", "NORTH"},
      {"zone.5.header.8", "zone.5.header.timeout", "450"},
      {"zone.5.header.27", "zone.5.header.prio1optsig", "T410"},
      {"zone.5.header.33", "zone.5.header.scangroup3", "17"},
  };
  for (const auto& c : cases) {
    const std::vector<uint8_t> start(image().ptr(0, img::kSize), image().ptr(0, img::kSize) + img::kSize);
    const std::string viaOld = Set(c.oldKey, c.value);
    const std::vector<uint8_t> afterOld(image().ptr(0, img::kSize), image().ptr(0, img::kSize) + img::kSize);
    EXPECT_NE(afterOld, start) << c.oldKey << " changed nothing";
    image().write(0, start.data(), start.size());
    EXPECT_EQ(Set(c.newKey, c.value), viaOld) << c.newKey;
    const std::vector<uint8_t> afterNew(image().ptr(0, img::kSize), image().ptr(0, img::kSize) + img::kSize);
    EXPECT_EQ(afterNew, afterOld) << c.newKey;
    EXPECT_EQ(Get(c.oldKey), Get(c.newKey)) << c.newKey;
  }
  // The listing shows the names.
  std::vector<SettingLine> lines;
  ASSERT_EQ(forms::ListSettings(data, text(), "ltr-zone", lines), SettingStatus::Ok);
  ASSERT_FALSE(lines.empty());
  for (const SettingLine& l : lines) {
    const std::string field = l.key.substr(l.key.rfind('.') + 1);
    EXPECT_NE(field.find_first_not_of("0123456789"), std::string::npos) << l.key;
  }
}

}  // namespace
}  // namespace vb420::testing
