// SPDX-License-Identifier: GPL-3.0-or-later
// The scan settings and scan lists through their field tables, by key (the
// same descriptors the windows store through): the bytes each store leaves,
// the cross-field rules, the priority-channel refusal, the scaled timers,
// the list bits and their eligibility, and the zone clean-ups.
#include <gtest/gtest.h>

#include "../../zones/ZoneTestUtil.h"
#include "data/SignallingLayout.h"
#include "editors/forms/FieldSets.h"
#include "editors/scan/ScanFields.h"
#include "editors/zones/ZoneWriteChecks.h"
#include "link/WriteValidation.h"

namespace vb420 {
namespace {

using forms::SettingLine;
using forms::SettingStatus;

class ScanTest : public testing::ZoneFixture {
 protected:
  ScanTest() { (void)scan::ScanPages(); }
  SettingStatus Set(const std::string& key, const std::string& value) {
    message = 0;
    return forms::SetSetting(data, text(), key, value, shown, message);
  }
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
  void UseSecondGen() { SetModel(2, data.model.Bytes()[5]); }
  std::vector<uint8_t> Ext(size_t off, size_t n) {
    std::vector<uint8_t> v(n);
    ext().read(off, v.data(), n);
    return v;
  }
  SettingLine shown;
  int message = 0;
};

// The page settings of the scan, DTMF and 2-tone windows have names that
// say what they hold; the positional keys of earlier versions still reach
// the same field, for reading and for storing.
TEST_F(ScanTest, NamedKeysAndTheOlderPositionalOnesReachTheSameField) {
  const std::pair<const char*, const char*> pairs[] = {
      {"scan.0.6", "scan.revertchannel"},     {"scan.0.8", "scan.dwelltime"},
      {"scan.1.3", "scan.voting.rssi1"},      {"dtmf.0.0", "dtmf.speed"},
      {"dtmf.1.5", "dtmf.own.autoreset"},     {"twotone.0.5", "twotone.sidetone"},
      {"twotone.decode.3.8", "twotone.decode.3.autoreset"}};
  for (const auto& [old, named] : pairs) {
    const forms::FieldDescriptor* d = forms::SettingDescriptor(data, named);
    ASSERT_NE(d, nullptr) << named;
    EXPECT_EQ(forms::SettingDescriptor(data, old), d) << old;
  }
  ASSERT_EQ(Set("scan.0.8", "17"), SettingStatus::Ok);
  EXPECT_EQ(Get("scan.dwelltime"), "17");
  ASSERT_EQ(Set("dtmf.own.autoreset", "12"), SettingStatus::Ok);
  EXPECT_EQ(Get("dtmf.1.5"), Get("dtmf.own.autoreset"));
  // The listing names them.
  std::vector<SettingLine> lines;
  ASSERT_EQ(forms::ListSettings(data, text(), "scan", lines), SettingStatus::Ok);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().key, "scan.priority1");
}

TEST_F(ScanTest, NewImageShowsTheDefaults) {
  EXPECT_EQ(Get("scan.0.0"), "T362");
  EXPECT_EQ(Get("scan.0.2"), "T362");
  EXPECT_EQ(Get("scan.0.6"), "T832");
  EXPECT_EQ(Get("scan.0.9"), "0.50");
  EXPECT_EQ(Get("scan.0.12"), "T371");
  // The priority and interval controls wait for a scan type.
  EXPECT_FALSE(Enabled("scan.0.2"));
  EXPECT_FALSE(Enabled("scan.0.9"));
}

TEST_F(ScanTest, TypeChangesKeepTheOtherFieldsConsistent) {
  // '1' (Selected) for priority 1 while priority 2 holds it: on a first-
  // generation model the row is not offered at all.
  image().setU8(scanfld::kType2, '1');
  EXPECT_EQ(Set("scan.0.0", "T831"), SettingStatus::BadValue);
  EXPECT_EQ(image().u8(scanfld::kType1), 0xFF);
  // Second generation offers it, and priority 2 becomes none.
  UseSecondGen();
  ASSERT_EQ(Set("scan.0.0", "T831"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(scanfld::kType1), '1');
  EXPECT_EQ(image().u8(scanfld::kType2), 0xFF);

  // Revert '4' needs priority 1 active: setting it to none drops revert to '0'.
  ASSERT_EQ(Set("scan.0.0", "T796"), SettingStatus::Ok);
  ASSERT_EQ(Set("scan.0.6", "T835"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(scanfld::kRevert), '4');
  ASSERT_EQ(Set("scan.0.0", "T362"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(scanfld::kRevert), '0');
}

TEST_F(ScanTest, RevertRowsFollowThePriorityTypes) {
  image().setU8(scanfld::kType1, '0');
  image().setU8(scanfld::kType2, '2');
  ASSERT_EQ(Set("scan.0.6", "T838"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(scanfld::kRevert), '7');
  // Priority 2 to Selected: '6' and '7' go.
  ASSERT_EQ(Set("scan.0.1", "T831"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(scanfld::kRevert), '0');
  EXPECT_EQ(Set("scan.0.6", "T837"), SettingStatus::BadValue);
  // Priority 1 type '1' is now not offered (priority 2 holds it).
  EXPECT_EQ(Set("scan.0.0", "T831"), SettingStatus::BadValue);
}

TEST_F(ScanTest, PriorityChannelAcceptsOnlyChannelsOfPlainConventionalZones) {
  MakeConv(0, {1, 2});
  MakeConv(1, {1}, '3');
  ASSERT_EQ(zm.CreateZone(2, '0'), 1);  // zone 3: LTR
  image().setU8(scanfld::kType1, '0');
  ASSERT_TRUE(Enabled("scan.0.2"));
  EXPECT_FALSE(Enabled("scan.0.3"));  // no zone yet

  const auto before = Ext(ext::kPriority1, 4);
  // Zone 3 is LTR, zone 2 of type '3', zone 9 does not exist: 303, no change.
  for (const char* z : {"3", "2", "9"}) {
    EXPECT_EQ(Set("scan.0.2", z), SettingStatus::Refused) << z;
    EXPECT_EQ(message, scan::kPriorityRefused) << z;
    EXPECT_EQ(Ext(ext::kPriority1, 4), before) << z;
  }
  ASSERT_EQ(Set("scan.0.2", "1"), SettingStatus::Ok);
  EXPECT_EQ(shown.text, "1");
  EXPECT_TRUE(Enabled("scan.0.3"));
  EXPECT_EQ(Set("scan.0.3", "7"), SettingStatus::Refused);
  ASSERT_EQ(Set("scan.0.3", "2"), SettingStatus::Ok);
  EXPECT_EQ(Ext(ext::kPriority1, 4), (std::vector<uint8_t>{1, 2, 0xFF, 0xFF}));
  // A number is clamped to the range before it is judged: 999 is zone 128.
  EXPECT_EQ(Set("scan.0.2", "999"), SettingStatus::Refused);
  // The off text (or an empty box) clears the zone and its channel.
  ASSERT_EQ(Set("scan.0.2", "T362"), SettingStatus::Ok);
  EXPECT_EQ(Ext(ext::kPriority1, 2), (std::vector<uint8_t>{0xFF, 0xFF}));
  ASSERT_EQ(Set("scan.0.2", "1"), SettingStatus::Ok);
  ASSERT_EQ(Set("scan.0.3", "1"), SettingStatus::Ok);
  ASSERT_EQ(Set("scan.0.2", ""), SettingStatus::Ok);
  EXPECT_EQ(Ext(ext::kPriority1, 2), (std::vector<uint8_t>{0xFF, 0xFF}));
}

TEST_F(ScanTest, ChoosingAnotherZoneDropsAChannelItDoesNotHave) {
  MakeConv(0, {1, 5});
  MakeConv(3, {5});
  image().setU8(scanfld::kType1, '2');
  ASSERT_EQ(Set("scan.0.2", "1"), SettingStatus::Ok);
  ASSERT_EQ(Set("scan.0.3", "1"), SettingStatus::Ok);
  ASSERT_EQ(Set("scan.0.2", "4"), SettingStatus::Ok);
  EXPECT_EQ(Ext(ext::kPriority1, 2), (std::vector<uint8_t>{4, 0xFF}));
  ASSERT_EQ(Set("scan.0.3", "5"), SettingStatus::Ok);
  ASSERT_EQ(Set("scan.0.2", "1"), SettingStatus::Ok);
  EXPECT_EQ(Ext(ext::kPriority1, 2), (std::vector<uint8_t>{1, 5}));
}

TEST_F(ScanTest, PriorityTwoIsFirstGenerationOnly) {
  MakeConv(0, {1});
  image().setU8(scanfld::kType2, '0');
  EXPECT_TRUE(Enabled("scan.0.4"));
  UseSecondGen();
  EXPECT_FALSE(Enabled("scan.0.1"));
  EXPECT_FALSE(Enabled("scan.0.4"));
  EXPECT_EQ(Set("scan.0.4", "1"), SettingStatus::Disabled);
}

struct IntervalCase {
  const char* typed;
  uint16_t stored;
  const char* shown;
};

TEST_F(ScanTest, IntervalsAreSecondsStoredAsMilliseconds) {
  image().setU8(scanfld::kType1, '0');
  const IntervalCase cases[] = {{"5.07", 5000, "5.00"}, {"0.33", 500, "0.50"}, {"1.23", 1200, "1.20"},
                                {"2.5", 2500, "2.50"},  {"", 500, "0.50"},     {"4.999", 4950, "4.95"}};
  for (const auto& c : cases) {
    ASSERT_EQ(Set("scan.0.9", c.typed), SettingStatus::Ok) << c.typed;
    EXPECT_EQ(image().u16le(scanfld::kInterval1), c.stored) << c.typed;
    EXPECT_EQ(shown.text, c.shown) << c.typed;
  }
  // Numbers and spin steps of the plain timers.
  ASSERT_EQ(Set("scan.0.7", "301"), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(scanfld::kDropout), 300);
}

TEST_F(ScanTest, CheckBoxesStoreAClearBitWhenTicked) {
  const uint16_t before = image().u16le(scanfld::kFlags);
  ASSERT_EQ(Set("scan.0.16", "T370"), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(scanfld::kFlags), before & ~(1u << 2));
  ASSERT_EQ(Set("scan.0.16", "T371"), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(scanfld::kFlags), before);
  // Bit 1 is a mobile's only.
  SetModel(8, data.model.Bytes()[5]);
  EXPECT_FALSE(Enabled("scan.0.15"));
}

TEST_F(ScanTest, VotingPageNeedsTheSwitchAndAFirstGenerationModel) {
  EXPECT_FALSE(Enabled("scan.1.3"));
  data.votingSwitch = true;
  ASSERT_EQ(Set("scan.1.3", "97"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(scanfld::kRssi1), 95);
  // The interval waits while the first threshold is set and the second not.
  image().setU8(scanfld::kRssi2, 0xFF);
  EXPECT_FALSE(Enabled("scan.1.0"));
  UseSecondGen();
  EXPECT_FALSE(Enabled("scan.1.1"));
}

// ---- scan lists ------------------------------------------------------------------

TEST_F(ScanTest, ListBitsAreClearForZonesInTheList) {
  MakeConv(4, {1});  // zone 5
  // A fresh list (0xFF) has nobody in it.
  for (int r = 0; r < 128; ++r) EXPECT_FALSE(scan::InScanList(data, 4, r));
  EXPECT_EQ(Get("scanlist.5.5"), "T373");
  for (int r = 0; r < 128; ++r) scan::SetInScanList(data, 4, r, true);
  EXPECT_EQ(Ext(0x700 + 16 * 4, 16), std::vector<uint8_t>(16, 0x00));
  scan::SetInScanList(data, 4, 9, false);
  EXPECT_EQ(ext().u8(0x700 + 16 * 4 + 1), 0x02);
  // Through the key: only existing row zones can be changed.
  EXPECT_EQ(Set("scanlist.5.10", "T372"), SettingStatus::Disabled);
  MakeConv(9, {1});
  ASSERT_EQ(Set("scanlist.5.10", "T372"), SettingStatus::Ok);
  EXPECT_EQ(ext().u8(0x700 + 16 * 4 + 1), 0x00);
}

TEST_F(ScanTest, RowEligibilityFollowsTheZoneFlags) {
  MakeConv(0, {1});
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);  // LTR
  ASSERT_EQ(zm.CreateZone(2, '5'), 1);  // PassPort
  // New zones carry the flags (bit 14 of the conventional word at +30, bit
  // 15 of the LTR word at +44).
  for (int list : {0, 1, 2}) EXPECT_TRUE(scan::ScanListRowEnabled(zm, list, 0)) << list;
  EXPECT_FALSE(scan::ScanListRowEnabled(zm, 0, 7));   // no zone 8
  EXPECT_FALSE(scan::ScanListRowEnabled(zm, 7, 0));   // no list zone

  const size_t conv = static_cast<size_t>(zm.ZoneOffset(0));
  image().setU8(conv + 31, image().u8(conv + 31) & ~0x40);
  EXPECT_FALSE(scan::ScanListRowEnabled(zm, 0, 1));
  const size_t ltr = static_cast<size_t>(zm.ZoneOffset(1));
  image().setU8(ltr + 45, image().u8(ltr + 45) & ~0x80);
  EXPECT_FALSE(scan::ScanListRowEnabled(zm, 1, 0));
  EXPECT_TRUE(scan::ScanListRowEnabled(zm, 2, 1));

  // A disabled row in the list, and a row of a missing zone, show neither.
  scan::SetInScanList(data, 0, 1, true);
  EXPECT_EQ(scan::ScanListRow(zm, 0, 1), scan::RowState::Indeterminate);
  EXPECT_EQ(scan::ScanListRow(zm, 0, 2), scan::RowState::Unchecked);
  EXPECT_EQ(scan::ScanListRow(zm, 2, 5), scan::RowState::Indeterminate);
  scan::SetInScanList(data, 2, 1, true);
  EXPECT_EQ(scan::ScanListRow(zm, 2, 1), scan::RowState::Checked);
}

TEST_F(ScanTest, SettingsListEveryListWithItsEnabledRows) {
  MakeConv(2, {1});
  std::vector<SettingLine> lines;
  ASSERT_EQ(forms::ListSettings(data, text(), "scanlist", lines), SettingStatus::Ok);
  ASSERT_EQ(lines.size(), 128u * 128u);
  EXPECT_EQ(lines.front().key, "scanlist.1.1");
  EXPECT_FALSE(lines[2].enabled);  // zone 1 has no block
  const SettingLine& own = lines[2 * 128 + 2];
  EXPECT_EQ(own.key, "scanlist.3.3");
  EXPECT_TRUE(own.enabled);
  EXPECT_EQ(Set("scanlist.129.1", "T372"), SettingStatus::UnknownKey);
  EXPECT_EQ(Set("scanlist.3.129", "T372"), SettingStatus::UnknownKey);
}

// ---- zone clean-ups ------------------------------------------------------------------

TEST_F(ScanTest, DeletingAZoneTakesItOutOfEveryList) {
  scan::ConnectZoneHooks(zm);
  MakeConv(4, {1});
  MakeConv(8, {1, 2});
  for (int list : {4, 8})
    for (int r : {4, 8}) scan::SetInScanList(data, list, r, true);
  ext().setU8(ext::kZoneBytes + 8, 2);
  image().setU8(scanfld::kType1, '0');
  ASSERT_EQ(Set("scan.0.2", "9"), SettingStatus::Ok);
  ASSERT_EQ(Set("scan.0.3", "2"), SettingStatus::Ok);

  ASSERT_EQ(zm.ChangeZone(8, kClassNone), 1);
  EXPECT_EQ(Ext(0x700 + 16 * 8, 16), std::vector<uint8_t>(16, 0xFF));
  EXPECT_FALSE(scan::InScanList(data, 4, 8));
  EXPECT_TRUE(scan::InScanList(data, 4, 4));
  EXPECT_EQ(ext().u8(ext::kZoneBytes + 8), 0xFF);
  EXPECT_EQ(Ext(ext::kPriority1, 2), (std::vector<uint8_t>{0xFF, 0xFF}));
}

TEST_F(ScanTest, ClearingEveryZoneLeavesNoScanData) {
  MakeConv(0, {1});
  MakeConv(3, {1});
  scan::SetInScanList(data, 0, 3, true);
  scan::SetInScanList(data, 3, 0, true);
  ext().setU8(ext::kZoneBytes + 3, 1);
  // Zone 1 goes behind the scan code's back (no hooks), as a band change does.
  ASSERT_EQ(zm.ChangeZone(0, kClassNone), 1);
  scan::ZonesCleared(data);
  EXPECT_EQ(Ext(0x700, 16), std::vector<uint8_t>(16, 0xFF));
  EXPECT_FALSE(scan::InScanList(data, 3, 0));
  // Zone 4 still exists: its list and byte stay.
  EXPECT_EQ(ext().u8(ext::kZoneBytes + 3), 1);
}

TEST_F(ScanTest, RemovingTheChannelOrRetypingTheZoneClearsThePriority) {
  scan::ConnectZoneHooks(zm);
  MakeConv(0, {1, 2});
  image().setU8(scanfld::kType1, '0');
  image().setU8(scanfld::kType2, '0');
  ext().setU8(ext::kPriority1, 1);
  ext().setU8(ext::kPriority1 + 1, 2);
  ext().setU8(ext::kPriority2, 1);
  ext().setU8(ext::kPriority2 + 1, 1);
  ASSERT_EQ(zm.RemoveRecord(0, 1), 1);
  EXPECT_EQ(Ext(ext::kPriority1, 4), (std::vector<uint8_t>{0xFF, 0xFF, 1, 1}));
  ASSERT_EQ(zm.SetZoneType(0, '2'), 1);
  EXPECT_EQ(Ext(ext::kPriority1, 4), std::vector<uint8_t>(4, 0xFF));
}

TEST_F(ScanTest, SelectablePriorityMustStillNameAChannel) {
  RegisterZoneWriteChecks();
  scan::RegisterScanWriteChecks();
  MakeConv(0, {1, 2});
  image().setU8(scanfld::kType1, '2');
  ext().setU8(ext::kPriority1, 1);
  ext().setU8(ext::kPriority1 + 1, 2);
  auto entries = [&] {
    std::vector<int> out;
    for (const WriteProblem& p : ValidateForWrite(data, text()).problems) out.push_back(p.entry);
    return out;
  };
  auto has = [](const std::vector<int>& v, int e) { return std::count(v.begin(), v.end(), e); };
  EXPECT_EQ(has(entries(), 816), 0);
  // The channel went away behind the editor's back (a loaded file).
  ext().setU8(ext::kPriority1 + 1, 7);
  EXPECT_TRUE(scan::SelectablePriorityDangling(data, 1));
  EXPECT_EQ(has(entries(), 816), 1);
  // Fixed type: the zone code's own rule reports it; still listed once.
  image().setU8(scanfld::kType1, '0');
  EXPECT_EQ(has(entries(), 816), 1);
}

}  // namespace
}  // namespace vb420

namespace vb420 {
namespace {

// What a priority channel may name is decided in one place: the write
// validation (the zone check and the scan check together) reports priority 1
// exactly when JudgePriorityChannel finds a fault, and the scan window takes
// a channel exactly when PriorityTargetExists says it exists.
TEST_F(ScanTest, WriteChecksAndTheWindowFollowThePriorityRule) {
  RegisterZoneWriteChecks();
  scan::RegisterScanWriteChecks();
  MakeConv(0, {1, 2});      // zone 1: plain conventional, channels 1 and 2
  MakeConv(2, {1}, '3');    // zone 3: conventional of type '3'
  ASSERT_EQ(zm.CreateZone(3, '0'), 1);  // zone 4: LTR
  const auto reported = [&] {
    int n = 0;
    for (const WriteProblem& p : ValidateForWrite(data, text()).problems) n += p.entry == 816;
    return n;
  };
  int faults = 0, dangling = 0;
  for (uint8_t mode : {uint8_t{0xFF}, uint8_t{'0'}, uint8_t{'1'}, uint8_t{'2'}}) {
    for (uint8_t zone : {uint8_t{0xFF}, uint8_t{0}, uint8_t{1}, uint8_t{3}, uint8_t{4}, uint8_t{200}}) {
      for (uint8_t channel : {uint8_t{0xFF}, uint8_t{0}, uint8_t{2}, uint8_t{7}}) {
        image().setU8(scanfld::kType1, mode);
        ext().setU8(ext::kPriority1, zone);
        ext().setU8(ext::kPriority1 + 1, channel);
        const PriorityFault f = JudgePriorityChannel(data, 1);
        const std::string where = std::to_string(mode) + "/" + std::to_string(zone) + "/" + std::to_string(channel);
        EXPECT_EQ(reported(), f == PriorityFault::None ? 0 : 1) << where;
        EXPECT_EQ(scan::SelectablePriorityDangling(data, 1), mode == '2' && f == PriorityFault::Dangling) << where;
        faults += f != PriorityFault::None;
        dangling += f == PriorityFault::Dangling;
      }
    }
  }
  // The grid holds every kind of verdict.
  EXPECT_GT(dangling, 0);
  EXPECT_GT(faults, dangling);

  // The window: with zone 1 chosen, channel 2 is taken and 7 is refused, as
  // the rule says; with zone 3 (type '3') nothing is taken.
  image().setU8(scanfld::kType1, '0');
  ext().setU8(ext::kPriority1, 0xFF);
  ext().setU8(ext::kPriority1 + 1, 0xFF);
  ASSERT_EQ(Set("scan.0.2", "1"), SettingStatus::Ok);
  for (int channel : {1, 2, 7}) {
    const bool taken = Set("scan.0.3", std::to_string(channel)) == SettingStatus::Ok;
    EXPECT_EQ(taken, PriorityTargetExists(data, 1, channel)) << channel;
  }
  ext().setU8(ext::kPriority1, 3);
  EXPECT_FALSE(PriorityTargetExists(data, 3, 1));
  EXPECT_EQ(Set("scan.0.3", "1"), SettingStatus::Refused);
}

}  // namespace
}  // namespace vb420
