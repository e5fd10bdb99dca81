// SPDX-License-Identifier: GPL-3.0-or-later
// The emergency page by settings key, and the emergency pre-write checks.
#include <set>

#include "SignalTestSupport.h"
#include "editors/signalling/EmergencyFields.h"
#include "editors/signalling/SignallingChecks.h"
#include "editors/signalling/VantelixFields.h"
#include "editors/zones/ZoneMemory.h"

namespace vb420::sigtest {
namespace {

using forms::SettingStatus;

class Emergency : public SignalTest {
 protected:
  void SetUp() override {
    SignalTest::SetUp();
    (void)EmergencyFieldTable();
    (void)IdListFieldTable();
    CZoneMemory zm(data);
    ASSERT_EQ(zm.CreateZone(4, '1'), 1);  // zone 5: conventional, channels 1 and 3
    ASSERT_EQ(zm.InsertRecord(4, 0), 1);
    ASSERT_EQ(zm.InsertRecord(4, 2), 1);
    ASSERT_EQ(zm.CreateZone(8, '0'), 1);  // zone 9: LTR, group 1
    ASSERT_EQ(zm.InsertRecord(8, 0), 1);
  }
  std::vector<int> Problems() {
    std::vector<WriteProblem> out;
    CheckEmergencyChannel(data, out);
    CheckEmergencyVantelixTarget(data, out);
    std::vector<int> entries;
    for (const WriteProblem& p : out) entries.push_back(p.entry);
    return entries;
  }
};

TEST_F(Emergency, ZoneAndChannelAreAcceptedOnlyWhenTheyExist) {
  EXPECT_EQ(Set("emergency.zone", "3"), SettingStatus::Refused);  // no zone 3
  EXPECT_EQ(B(0x7D0), 0xFF);
  EXPECT_EQ(shown.text, "");
  ASSERT_EQ(Set("emergency.zone", "5"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7D0), 5);
  EXPECT_EQ(Set("emergency.channel", "2"), SettingStatus::Refused);  // zone 5 has no channel 2
  EXPECT_EQ(B(0x7D1), 0xFF);
  ASSERT_EQ(Set("emergency.channel", "3"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7D1), 3);
  EXPECT_EQ(Set("emergency.zone", "200"), SettingStatus::Refused);
  EXPECT_EQ(Bytes(0x7D0, 2), (std::vector<uint8_t>{5, 3}));
  // A trunked zone is refused with the window's message, as the priority box does.
  EXPECT_EQ(Set("emergency.zone", "9"), SettingStatus::Refused);
  EXPECT_EQ(message, 1250);
  EXPECT_EQ(Bytes(0x7D0, 2), (std::vector<uint8_t>{5, 3}));
  // The "off" text clears both.
  ASSERT_EQ(Set("emergency.zone", text.Text(362)), SettingStatus::Ok);
  EXPECT_EQ(Bytes(0x7D0, 2), (std::vector<uint8_t>{0xFF, 0xFF}));
  EXPECT_EQ(shown.text, text.Text(362));
  // Without a zone the channel cannot be chosen.
  EXPECT_EQ(Set("emergency.channel", "1"), SettingStatus::Disabled);
  // The rows offered are the existing zones.
  forms::FormContext ctx(data, text);
  const auto rows = forms::FormEngine::ChoiceTexts(ctx, EmergencyFieldTable()[kEmerZone]);
  EXPECT_EQ(rows, (std::vector<std::string>{text.Text(362), "5"}));
}

// The window offers exactly the zones and channels the pre-write check
// accepts: every offered pair passes the check, and every pair that passes is
// offered.
TEST_F(Emergency, TheWindowAndTheWriteCheckAgree) {
  CZoneMemory zm(data);
  ASSERT_EQ(zm.CreateZone(0, '3'), 1);  // zone 1: conventional type 3, channel 2
  ASSERT_EQ(zm.InsertRecord(0, 1), 1);
  ASSERT_EQ(zm.CreateZone(1, '5'), 1);  // zone 2: PassPort
  ASSERT_EQ(zm.CreateZone(2, '1'), 1);  // zone 3: conventional without channels
  forms::FormContext ctx(data, text);
  const auto& zoneBox = EmergencyFieldTable()[kEmerZone];
  const auto& channelBox = EmergencyFieldTable()[kEmerChannel];
  std::set<std::pair<int, int>> offered;
  for (const forms::Choice& z : forms::FormEngine::Choices(ctx, zoneBox)) {
    if (z.value == 0xFF) continue;
    ASSERT_EQ(Set("emergency.zone", std::to_string(z.value)), SettingStatus::Ok) << z.value;
    for (const forms::Choice& c : forms::FormEngine::Choices(ctx, channelBox))
      if (c.value != 0xFF) offered.insert({z.value, c.value});
  }
  std::set<std::pair<int, int>> accepted;
  for (int z = 1; z <= 128; ++z)
    for (int c = 1; c <= 250; ++c) {
      data.Image().setU8(0x7D0, static_cast<uint8_t>(z));
      data.Image().setU8(0x7D1, static_cast<uint8_t>(c));
      std::vector<WriteProblem> out;
      CheckEmergencyChannel(data, out);
      if (out.empty()) accepted.insert({z, c});
    }
  EXPECT_EQ(offered, accepted);
  EXPECT_EQ(accepted, (std::set<std::pair<int, int>>{{1, 2}, {5, 1}, {5, 3}}));
}

// Another zone keeps the channel only when it has it; deleting the zone or
// the channel named clears the setting, as it clears the priority channels.
TEST_F(Emergency, TheChannelNeverPointsAtNothing) {
  CZoneMemory zm(data);
  ASSERT_EQ(zm.CreateZone(0, '1'), 1);  // zone 1: channels 1 and 2
  ASSERT_EQ(zm.InsertRecord(0, 0), 1);
  ASSERT_EQ(zm.InsertRecord(0, 1), 1);
  ASSERT_EQ(Set("emergency.zone", "5"), SettingStatus::Ok);
  ASSERT_EQ(Set("emergency.channel", "3"), SettingStatus::Ok);
  ASSERT_EQ(Set("emergency.zone", "1"), SettingStatus::Ok);  // zone 1 has no channel 3
  EXPECT_EQ(Bytes(0x7D0, 2), (std::vector<uint8_t>{1, 0xFF}));
  ASSERT_EQ(Set("emergency.channel", "1"), SettingStatus::Ok);
  ASSERT_EQ(Set("emergency.zone", "5"), SettingStatus::Ok);  // zone 5 has channel 1: kept
  EXPECT_EQ(Bytes(0x7D0, 2), (std::vector<uint8_t>{5, 1}));
  // Removing another channel, then the one named.
  ASSERT_EQ(zm.RemoveRecord(4, 2), 1);
  EXPECT_EQ(Bytes(0x7D0, 2), (std::vector<uint8_t>{5, 1}));
  ASSERT_EQ(zm.RemoveRecord(4, 0), 1);
  EXPECT_EQ(Bytes(0x7D0, 2), (std::vector<uint8_t>{0xFF, 0xFF}));
  // Deleting another zone, then the one named.
  ASSERT_EQ(Set("emergency.zone", "1"), SettingStatus::Ok);
  ASSERT_EQ(Set("emergency.channel", "2"), SettingStatus::Ok);
  ASSERT_EQ(zm.ChangeZone(4, kClassNone), 1);
  EXPECT_EQ(Bytes(0x7D0, 2), (std::vector<uint8_t>{1, 2}));
  ASSERT_EQ(zm.ChangeZone(0, kClassLtr), 1);  // a type change of class deletes the zone first
  EXPECT_EQ(Bytes(0x7D0, 2), (std::vector<uint8_t>{0xFF, 0xFF}));
}

TEST_F(Emergency, NumberBoxesWithOffValues) {
  ASSERT_EQ(Set("emergency.cycles", "0"), SettingStatus::Ok);  // 0 or nothing: continuous
  EXPECT_EQ(B(0x7D2), 0xFF);
  EXPECT_EQ(shown.text, text.Text(364));
  ASSERT_EQ(Set("emergency.cycles", "250"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7D2), 200);
  ASSERT_EQ(Set("emergency.cycles", ""), SettingStatus::Ok);
  EXPECT_EQ(B(0x7D2), 0xFF);
  ASSERT_EQ(Set("emergency.keydelay", "2.37"), SettingStatus::Ok);
  EXPECT_EQ(W(0x7DB), 2300);
  EXPECT_EQ(shown.text, "2.3");
  ASSERT_EQ(Set("emergency.keydelay", "9"), SettingStatus::Ok);
  EXPECT_EQ(W(0x7DB), 5000);
  ASSERT_EQ(Set("emergency.keydelay", "0"), SettingStatus::Ok);
  EXPECT_EQ(W(0x7DB), 0);
  EXPECT_EQ(shown.text, text.Text(371));
  ASSERT_EQ(Set("emergency.fleet", "0"), SettingStatus::Disabled);  // signalling is not Vantelix
  ASSERT_EQ(Set("emergency.signalling", text.Text(354)), SettingStatus::Ok);
  EXPECT_EQ(B(0x7F0), '2');
  ASSERT_EQ(Set("emergency.fleet", "0"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7FA), 0);
  EXPECT_EQ(shown.text, text.Text(806));
  ASSERT_EQ(Set("emergency.id", "2000"), SettingStatus::Ok);
  EXPECT_EQ(W(0x7FB), 1001);
  ASSERT_EQ(Set("emergency.display", "EMERGENCY CALL"), SettingStatus::Ok);
  EXPECT_EQ(Bytes(0x7E0, 12), (std::vector<uint8_t>{'E', 'M', 'E', 'R', 'G', 'E', 'N', 'C', 'Y', ' ', 'C', 'A'}));
  ASSERT_EQ(Set("emergency.loneworker", "Yes"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7ED), '0');
  ASSERT_EQ(Set("emergency.loneworker", "No"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7ED), 0xFF);
}

TEST_F(Emergency, PreAlertStaysBelowTheLoneWorkerTime) {
  ASSERT_EQ(Set("emergency.lwtimer", "10"), SettingStatus::Ok);
  ASSERT_EQ(Set("emergency.prealert", "15"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7DE), 9);
  ASSERT_EQ(Set("emergency.prealert", "10"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7DE), 9);
  ASSERT_EQ(Set("emergency.prealert", "4"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7DE), 4);
  // A shorter lone-worker time takes a pre-alert at or above it down.
  ASSERT_EQ(Set("emergency.lwtimer", "3"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7DE), 2);
  // With a time of 1 no pre-alert fits: it is off.
  ASSERT_EQ(Set("emergency.lwtimer", "1"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7DE), 0xFF);
  ASSERT_EQ(Set("emergency.prealert", "1"), SettingStatus::Ok);
  EXPECT_EQ(B(0x7DE), 0xFF);
  // Spinning walks off, 1 .. time - 1.
  ASSERT_EQ(Set("emergency.lwtimer", "4"), SettingStatus::Ok);
  forms::FormContext ctx(data, text);
  const auto& pre = EmergencyFieldTable()[kEmerPreAlert];
  std::vector<int> seen;
  for (int i = 0; i < 5; ++i) {
    forms::FormEngine::Spin(ctx, pre, 1);
    seen.push_back(B(0x7DE));
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 0xFF, 1}));
}

TEST_F(Emergency, AniSignallingOnlyWithSystemTypeTwo) {
  EXPECT_EQ(Set("emergency.signalling", text.Text(367)), SettingStatus::BadValue);
  data.Image().setU8(0x851, 1);
  data.Image().setU8(0x852, 0);  // system type 2
  ASSERT_EQ(Set("emergency.signalling", text.Text(367)), SettingStatus::Ok);
  EXPECT_EQ(B(0x7F0), '3');
}

TEST_F(Emergency, WriteCheckOfTheEmergencyChannel) {
  struct Case {
    uint8_t zone, channel;
    bool refused;
  } cases[] = {
      {0xFF, 0xFF, false},  // none: fine
      {5, 1, false},       {5, 3, false},
      {5, 2, true},         // no such channel
      {5, 0xFF, true},      // a zone without its channel
      {0xFF, 1, true},      // a channel without its zone
      {3, 1, true},         // no such zone
      {9, 1, true},         // a trunked zone has no channel to switch to
      {0, 1, true},        {200, 1, true},
  };
  for (const Case& c : cases) {
    data.Image().setU8(0x7D0, c.zone);
    data.Image().setU8(0x7D1, c.channel);
    std::vector<WriteProblem> out;
    CheckEmergencyChannel(data, out);
    EXPECT_EQ(out.size(), c.refused ? 1u : 0u) << int(c.zone) << "/" << int(c.channel);
    if (!out.empty()) {
      EXPECT_EQ(out[0].entry, 779);
    }
  }
}

TEST_F(Emergency, WriteCheckOfTheVantelixTarget) {
  EXPECT_TRUE(Problems().empty());
  ASSERT_EQ(Set("emergency.signalling", text.Text(354)), SettingStatus::Ok);
  EXPECT_TRUE(Problems().empty());  // no target yet: 811 and 812 report that
  ASSERT_EQ(Set("emergency.fleet", "150"), SettingStatus::Ok);
  ASSERT_EQ(Set("emergency.id", "2000"), SettingStatus::Ok);
  EXPECT_EQ(Problems(), std::vector<int>{813});
  ASSERT_EQ(Set("idlist.40.fleet", "150"), SettingStatus::Ok);
  ASSERT_EQ(Set("idlist.40.id", "2001"), SettingStatus::Ok);
  EXPECT_EQ(Problems(), std::vector<int>{813});
  ASSERT_EQ(Set("idlist.40.id", "2000"), SettingStatus::Ok);
  EXPECT_TRUE(Problems().empty());
  // A fleet-wide target needs an entry of that fleet only.
  ASSERT_EQ(Set("emergency.id", text.Text(806)), SettingStatus::Ok);
  EXPECT_TRUE(Problems().empty());
  ASSERT_EQ(Set("emergency.fleet", "151"), SettingStatus::Ok);
  EXPECT_EQ(Problems(), std::vector<int>{813});
  // Every fleet and every unit names no entry at all.
  ASSERT_EQ(Set("emergency.fleet", text.Text(806)), SettingStatus::Ok);
  EXPECT_EQ(B(0x7FA), 0);
  EXPECT_TRUE(Problems().empty());
  ASSERT_EQ(Set("emergency.fleet", "151"), SettingStatus::Ok);
  // Through the registered checks: the radio calls a target outside the list
  // all the same, so it is a warning the user may write past, not a refusal;
  // the emergency channel stays a refusal.
  RegisterSignallingWriteChecks();
  RegisterSignallingWriteChecks();  // once only
  data.Image().setU8(0x7D0, 3);
  data.Image().setU8(0x7D1, 1);
  const WriteValidationResult r = ValidateForWrite(data, text);
  auto entries = [](const std::vector<WriteProblem>& list) {
    std::vector<int> out;
    for (const WriteProblem& p : list) out.push_back(p.entry);
    return out;
  };
  const std::vector<int> refused = entries(r.problems);
  EXPECT_EQ(std::count(refused.begin(), refused.end(), 779), 1);
  EXPECT_EQ(std::count(refused.begin(), refused.end(), 813), 0);
  EXPECT_EQ(entries(r.settingWarnings), std::vector<int>{813});
}

TEST_F(Emergency, NewImageShowsAValueInEveryControlAndStoringItChangesNothing) {
  std::vector<forms::SettingLine> lines;
  ASSERT_EQ(forms::ListSettings(data, text, "emergency", lines), SettingStatus::Ok);
  EXPECT_EQ(lines.size(), 23u);
  forms::FormContext ctx(data, text);
  for (const forms::FieldDescriptor& d : EmergencyFieldTable())
    if (d.kind == forms::ControlKind::Combo) {
      EXPECT_GE(forms::FormEngine::CurrentRow(ctx, d), 0) << d.key;
    }
  const std::vector<uint8_t> before = data.buffers.ImageBytes();
  for (const forms::SettingLine& l : lines)
    if (l.enabled) {
      EXPECT_EQ(Set(l.key, l.text), SettingStatus::Ok) << l.key << "=" << l.text;
    }
  EXPECT_EQ(data.buffers.ImageBytes(), before);
}

}  // namespace
}  // namespace vb420::sigtest
