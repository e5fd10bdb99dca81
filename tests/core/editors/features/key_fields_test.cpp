// SPDX-License-Identifier: GPL-3.0-or-later
// Key assignment: which keys exist, which functions each may take, and the
// bytes an assignment writes (hold companions, hold times, the first
// function's two places).
#include <gtest/gtest.h>

#include <array>

#include "FeatureTestSupport.h"
#include "data/ModelChange.h"
#include "editors/features/KeyFields.h"
#include "link/WriteValidation.h"

namespace vb420 {
namespace {

using forms::SettingStatus;
using Rec = std::array<uint8_t, 6>;

class Keys : public test::RadioFixture {
 protected:
  Rec Record(int key, bool alt = false) {
    Rec r{};
    const size_t at = (alt ? 0x5308 : 0x5B0) + 8 * static_cast<size_t>(key);
    for (size_t i = 0; i < r.size(); ++i) r[i] = B(at + i);
    return r;
  }
  bool Assign(int key, int column, int code, bool alt = false) {
    return AssignKeyFunction(data, {alt}, key, column, code);
  }
  std::vector<int> PageKeys(int tab) {
    for (const KeyPage& p : KeyPages(data))
      if (p.tabEntry == tab) return p.keys;
    return {};
  }
};

TEST_F(Keys, RowsFollowModelAndAccessories) {
  EXPECT_EQ(PageKeys(883), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_TRUE(PageKeys(884).empty());
  data.Image().setU8(0x583, '2');
  EXPECT_EQ(PageKeys(884).size(), 16u);
  data.Image().setU8(0x583, '1');
  EXPECT_EQ(PageKeys(884), (std::vector<int>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 25, 26}));
  data.Image().setU8(0x584, '0');  // Accessory B set: the keypad keys go
  EXPECT_TRUE(PageKeys(884).empty());
  EXPECT_FALSE(KeyPresent(data, 26));
  NewModel(8);
  EXPECT_EQ(PageKeys(885), (std::vector<int>{10, 2, 7}));
  EXPECT_EQ(PageKeys(884), (std::vector<int>{27, 28}));
  EXPECT_EQ(PageKeys(886), (std::vector<int>{3, 4, 5, 6}));
  EXPECT_EQ(KeyLabel(data, text, 2), text.Text(914));
  EXPECT_EQ(KeyLabel(data, text, 3), "S ");
}

TEST_F(Keys, AssignmentBytes) {
  struct Case {
    int code;
    Rec want;  // +0 +1 +2 +3 and the hold time's two bytes
  } cases[] = {
      {20, {0xFF, 0xFF, 21, 20, 0xB8, 0x0B}},   // companion 21, 3000 ms, function in +3
      {18, {18, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},  // no companion: +0, no hold time
      {14, {14, 0xFF, 15, 0xFF, 0xE8, 0x03}},    // companion 15 keeps the function in +0
      {53, {0xFF, 0xFF, 54, 53, 0xE8, 0x03}},
      {51, {0xFF, 0xFF, 47, 51, 0xD0, 0x07}},
      {255, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Assign(3, 0, c.code)) << c.code;
    EXPECT_EQ(Record(3), c.want) << c.code;
    EXPECT_EQ(DisplayedFirstFunction(data, {}, 3), c.code);
  }
}

TEST_F(Keys, EmergencyOnlyOnItsKeysAndClearsTheSecondColumn) {
  data.Image().setU16le(0x7DB, 2500);
  ASSERT_TRUE(Assign(2, 1, 1));
  EXPECT_FALSE(Assign(3, 0, 31));  // not key 2, 10 or 27
  ASSERT_TRUE(Assign(2, 0, 31));
  EXPECT_EQ(Record(2), (Rec{0xFF, 0xFF, 31, 0xFF, 0xC4, 0x09}));
  EXPECT_EQ(DisplayedFirstFunction(data, {}, 2), 31);
  EXPECT_FALSE(SecondColumnEditable(data, {}, 2));
  EXPECT_FALSE(Assign(2, 1, 1));
}

TEST_F(Keys, OfferedFunctionsFollowKeyColumnModelBoardAndSystem) {
  struct Case {
    int model;
    int code;
    int key;
    int column;
    bool allowed;
  } cases[] = {
      {0, 6, 3, 0, true},  {8, 6, 3, 0, false}, {8, 5, 3, 0, true},  {0, 14, 3, 1, false},
      {0, 44, 3, 1, false}, {0, 44, 3, 0, true}, {2, 19, 3, 0, false}, {0, 19, 3, 0, true},
      {0, 80, 3, 0, false}, {2, 80, 3, 0, true}, {8, 60, 27, 0, true}, {8, 60, 3, 0, false},
      {0, 3, 3, 0, false},  {0, 15, 3, 0, false}, {0, 100, 3, 0, false}, {8, 73, 27, 0, false},
      {8, 92, 27, 0, false}, {0, 79, 3, 2, true}, {0, 79, 3, 0, false}, {8, 31, 10, 0, true},
  };
  for (const Case& c : cases) {
    NewModel(c.model);
    EXPECT_EQ(KeyFunctionAllowed(data, {}, c.code, c.key, c.column), c.allowed)
        << "model " << c.model << " code " << c.code << " key " << c.key << " column " << c.column;
  }
  NewModel(8);
  data.Image().setU8(0x81C, '3');
  EXPECT_TRUE(KeyFunctionAllowed(data, {}, 73, 27, 0));
  data.Image().setU8(0x853, 0);
  EXPECT_TRUE(KeyFunctionAllowed(data, {}, 3, 3, 0));
  EXPECT_TRUE(KeyFunctionAllowed(data, {true}, 100, 3, 1));
  EXPECT_TRUE(KeyFunctionAllowed(data, {true}, 96, 3, 0));
  EXPECT_FALSE(KeyFunctionAllowed(data, {true}, 96, 3, 1));
  // The list field offers only the allowed rows; an unoffered text is refused.
  NewModel(0);
  EXPECT_EQ(Set("keys.3.press", text.Text(1092)), SettingStatus::BadValue);  // battery check: portables
  EXPECT_EQ(Set("keys.3.press", text.Text(921)), SettingStatus::Ok);
  EXPECT_EQ(Get("keys.3.hold"), text.Text(968));
  EXPECT_EQ(Get("keys.3.holdtime"), "3000");
  EXPECT_EQ(Set("keys.10.press", text.Text(934)), SettingStatus::UnknownKey);  // no key 10 on a mobile
}

TEST_F(Keys, AlternateTableForPassPortZones) {
  ASSERT_TRUE(Assign(4, 0, 96, true));
  EXPECT_EQ(Record(4, true), (Rec{0xFF, 0xFF, 96, 96, 0xE8, 0x03}));
  EXPECT_EQ(Record(4), (Rec{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_FALSE(Assign(4, 0, 96));
  EXPECT_EQ(Set("keys.alt.4.second", text.Text(1203)), SettingStatus::Ok);
  EXPECT_EQ(B(0x5308 + 8 * 4 + 1), 100);
}

TEST_F(Keys, AssignedTestNoticesFunctions34And51) {
  bool changed = false;
  ASSERT_TRUE(AssignKeyFunction(data, {}, 5, 0, 34, &changed));
  EXPECT_TRUE(changed);
  EXPECT_TRUE(KeyFunctionAssigned(data, {}, 34));
  ASSERT_TRUE(AssignKeyFunction(data, {}, 6, 0, 1, &changed));
  EXPECT_FALSE(changed);
  ASSERT_TRUE(AssignKeyFunction(data, {}, 5, 0, 255, &changed));
  EXPECT_TRUE(changed);
  // A second column counts only while some key switches to the second functions (33).
  data.Image().setU8(0x5B0 + 8 * 4 + 1, 51);
  EXPECT_FALSE(KeyFunctionAssigned(data, {}, 51));
  ASSERT_TRUE(Assign(3, 0, 33));
  EXPECT_TRUE(KeyFunctionAssigned(data, {}, 51));
}

TEST_F(Keys, ParameterPages) {
  ASSERT_EQ(Set("keys.qcall.2.kind", text.Text(903)), SettingStatus::Ok);
  EXPECT_EQ(data.Ext().u8(0x534), '3');
  EXPECT_EQ(data.Ext().u16le(0x535), 0xFFFF);
  ASSERT_EQ(Set("keys.qcall.2.number", "95"), SettingStatus::Ok);
  EXPECT_EQ(data.Ext().u16le(0x535), 90);
  ASSERT_EQ(Set("keys.qcall.2.kind", text.Text(355)), SettingStatus::Ok);
  EXPECT_EQ(Get("keys.qcall.2.number"), text.Text(362));  // a new kind: no number until chosen
  ASSERT_EQ(Set("keys.qcall.2.number", "40"), SettingStatus::Ok);
  EXPECT_EQ(data.Ext().u16le(0x535), 32);
  // Target names come from the 2-tone codes and the status list.
  const auto twoTone = QuickCallTargets(data, '1');
  ASSERT_EQ(twoTone.size(), 32u);
  EXPECT_EQ(twoTone[0].literal, "1: 2-TONE  1");
  EXPECT_EQ(QuickCallTargets(data, '3').size(), 90u);
  ASSERT_EQ(Set("keys.dchan.5.zone", "200"), SettingStatus::Ok);
  EXPECT_EQ(data.Ext().u8(0x528), 128);
  ASSERT_EQ(Set("keys.dchan.5.channel", ""), SettingStatus::Ok);
  EXPECT_EQ(data.Ext().u8(0x529), 0xFF);
  ASSERT_EQ(Set("keys.setup.accb", text.Text(904)), SettingStatus::Ok);
  EXPECT_EQ(B(0x584), '6');
  EXPECT_EQ(Set("keys.setup.acca", text.Text(897)), SettingStatus::BadValue);  // the portables' keypad
}

TEST_F(Keys, WriteCheckRefusesFunctionsNoLongerAllowed) {
  RegisterKeyWriteChecks();
  EXPECT_TRUE(ValidateForWrite(data, text).problems.empty());
  // A direct channel without its zone and channel.
  ASSERT_TRUE(Assign(3, 0, 24));
  auto r = ValidateForWrite(data, text);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].entry, 888);
  data.Ext().setU8(0x524, 3);
  data.Ext().setU8(0x525, 7);
  EXPECT_TRUE(ValidateForWrite(data, text).problems.empty());
  // A function the model does not allow (put there byte by byte).
  data.Image().setU8(0x5B0 + 8 * 4 + 0, 5);
  r = ValidateForWrite(data, text);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].entry, 0);
  EXPECT_EQ(r.problems[0].line, "\"" + text.Text(339) + "\": A - " + text.Text(1092));
}

TEST_F(Keys, ModelChangeToSecondGenerationLeavesNoDisallowedFunction) {
  data.Image().setU8(0x853, 0);  // system type 4 (data board)
  ASSERT_TRUE(Assign(3, 0, 46));
  ASSERT_TRUE(Assign(4, 0, 19));
  ApplyModelChange(data, 2, 0x04, {.generation = true}, {});
  EXPECT_EQ(DisplayedFirstFunction(data, {}, 4), 0xFF);
  // The data board went with the generation: function 46 goes too.
  EXPECT_EQ(RemoveDisallowedKeyFunctions(data), 0);
  EXPECT_EQ(DisplayedFirstFunction(data, {}, 3), 0xFF);
  EXPECT_EQ(Record(3), (Rec{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

}  // namespace
}  // namespace vb420
