// SPDX-License-Identifier: GPL-3.0-or-later
// System type and option board with the fix-ups they make elsewhere in the
// image; the extended-function pins and records; the technician setting's
// bytes; the pre-write checks of the accessory connector.
#include <gtest/gtest.h>

#include <array>

#include "FeatureTestSupport.h"
#include "editors/features/KeyFields.h"
#include "editors/features/OptBoardFields.h"
#include "link/WriteValidation.h"

namespace vb420 {
namespace {

using forms::SettingStatus;

class OptBoard : public test::RadioFixture {
 protected:
  void SetUp() override {
    RadioFixture::SetUp();
    NewModel(8);
  }
  std::array<uint8_t, 3> SystemBytes() { return {B(0x851), B(0x852), B(0x853)}; }
  SystemTypeChange Choose(int type, bool answer) {
    forms::FormContext ctx(data, text);
    asked = 0;
    ctx.confirm = [&](int entry) {
      asked = entry;
      return answer;
    };
    return ChooseSystemType(ctx, type);
  }
  int asked = 0;
};

TEST_F(OptBoard, EnteringOrLeavingTheDataBoardAsksFirst) {
  SystemTypeChange r = Choose(4, false);
  EXPECT_EQ(asked, 295);
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(SystemBytes(), (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));
  r = Choose(4, true);
  EXPECT_FALSE(r.cancelled);
  EXPECT_EQ(SystemBytes(), (std::array<uint8_t, 3>{0xFF, 0xFF, 0}));
  ASSERT_TRUE(AssignKeyFunction(data, {}, 3, 0, 46));
  r = Choose(1, false);  // leaving type 4, Cancel: the three bytes as they were
  EXPECT_EQ(asked, 295);
  EXPECT_EQ(SystemBytes(), (std::array<uint8_t, 3>{0xFF, 0xFF, 0}));
  EXPECT_EQ(DisplayedFirstFunction(data, {}, 3), 46);
  r = Choose(1, true);
  EXPECT_TRUE(r.keysChanged);
  EXPECT_TRUE(r.zonesChanged);
  EXPECT_EQ(SystemBytes(), (std::array<uint8_t, 3>{0, 0xFF, 0xFF}));
  EXPECT_EQ(DisplayedFirstFunction(data, {}, 3), 0xFF);  // 46 needs type 4
  // 1 -> 2 asks nothing.
  r = Choose(2, false);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(SystemBytes(), (std::array<uint8_t, 3>{0xFF, 0, 0xFF}));
}

TEST_F(OptBoard, TypeTwoSetsAndResetsTheAniBytes) {
  data.Image().setU8(0x7F0, '3');
  Choose(2, true);
  EXPECT_EQ(B(0x180), '2');
  Choose(1, true);
  EXPECT_EQ(B(0x180), '0');
  EXPECT_EQ(B(0x7F0), 0xFF);
  // Type 0 takes the option board off the accessory connector.
  data.Image().setU8(0x855, '2');
  const SystemTypeChange r = Choose(0, true);
  EXPECT_TRUE(r.connectorChanged);
  EXPECT_EQ(B(0x855), '1');
  EXPECT_EQ(Set("optboard.connector", text.Text(1144)), SettingStatus::BadValue);
}

TEST_F(OptBoard, SecondGenerationHasNoDataBoard) {
  NewModel(2);
  EXPECT_EQ(Set("optboard.system", text.Text(1097)), SettingStatus::BadValue);
  forms::FormContext ctx(data, text);
  EXPECT_FALSE(ChooseSystemType(ctx, 4).changed);
  EXPECT_EQ(B(0x853), 0xFF);
  NewModel(0);
  EXPECT_EQ(Set("optboard.system", text.Text(1097)), SettingStatus::Ok);
  EXPECT_EQ(B(0x853), 0);
}

TEST_F(OptBoard, BoardChangeRemovesTheFunctionsItCannotRun) {
  ASSERT_EQ(Set("optboard.board", text.Text(1149)), SettingStatus::Ok);
  ASSERT_TRUE(AssignKeyFunction(data, {}, 27, 0, 73));
  EXPECT_EQ(B(0x5B0 + 8 * 27 + 2), 72);
  ASSERT_EQ(Set("optboard.board", text.Text(1148)), SettingStatus::Ok);
  EXPECT_EQ(B(0x81C), '1');
  EXPECT_EQ(DisplayedFirstFunction(data, {}, 27), 0xFF);
  EXPECT_EQ(Get("keys.27.press"), text.Text(362));
  EXPECT_EQ(W(0x5B0 + 8 * 27 + 4), 0xFFFF);
  ASSERT_EQ(Set("optboard.board", text.Text(1173)), SettingStatus::Ok);
  ASSERT_TRUE(AssignKeyFunction(data, {}, 28, 0, 92));
  ASSERT_EQ(Set("optboard.board", text.Text(1149)), SettingStatus::Ok);
  EXPECT_EQ(DisplayedFirstFunction(data, {}, 28), 0xFF);
  EXPECT_EQ(B(0x5B0 + 8 * 28 + 2), 0xFF);
  ASSERT_EQ(Set("optboard.scrambler", "On"), SettingStatus::Ok);
  ASSERT_EQ(Set("optboard.autorecord", "On"), SettingStatus::Ok);
  EXPECT_EQ(B(0x82E) & 0x30, 0);
}

TEST_F(OptBoard, ExtendedFunctionPinsOfferWhatTheRadioAccepts) {
  NewModel(0);
  const auto pins = AccessoryPinChoices(data);
  auto offers = [&](int v) {
    for (const auto& c : pins)
      if (c.value == v) return true;
    return false;
  };
  EXPECT_TRUE(offers(0xFF));
  EXPECT_TRUE(offers(49));
  EXPECT_TRUE(offers(6));    // external speaker: a mobile's
  EXPECT_FALSE(offers(5));   // battery check: portables only
  EXPECT_FALSE(offers(31));  // emergency: only on its own keys
  EXPECT_FALSE(offers(3));   // data call: system type 4
  ASSERT_EQ(Set("extfunc.pin1", text.Text(661)), SettingStatus::Ok);
  EXPECT_EQ(B(0x15A), 49);
  data.Image().setU8(0x851, 0);  // type 1: pin 2 does not count
  EXPECT_EQ(Set("extfunc.pin2", text.Text(934)), SettingStatus::Disabled);
  ASSERT_EQ(Set("extfunc.16.zone", "5"), SettingStatus::Ok);
  ASSERT_EQ(Set("extfunc.16.channel", "300"), SettingStatus::Ok);
  EXPECT_EQ(B(0x84E), 5);
  EXPECT_EQ(B(0x84F), 250);
  EXPECT_EQ(Get("extfunc.system"), text.Text(366));
  EXPECT_EQ(Set("extfunc.system", text.Text(367)), SettingStatus::Ok);  // the same rules as the option board's
  EXPECT_EQ(B(0x180), '2');
}

TEST_F(OptBoard, FeatureWriteChecksOnMobiles) {
  NewModel(0);
  RegisterFeatureWriteChecks();
  EXPECT_TRUE(ValidateForWrite(data, text).problems.empty());
  data.Image().setU8(0x15A, 6);
  data.Image().setU8(0x15E, 6);  // the same function on two pins
  auto r = ValidateForWrite(data, text);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].entry, 1098);
  data.Image().setU8(0x15E, 0xFF);
  data.Image().setU8(0x830, 3);  // a zone without its channel
  r = ValidateForWrite(data, text);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].entry, 1093);
  data.Image().setU8(0x831, 9);
  EXPECT_TRUE(ValidateForWrite(data, text).problems.empty());
  data.Image().setU8(0x855, '2');  // the option board needs a system type
  EXPECT_EQ(ValidateForWrite(data, text).problems.size(), 1u);
  NewModel(8);  // not checked on portables
  data.Image().setU8(0x830, 3);
  EXPECT_TRUE(ValidateForWrite(data, text).problems.empty());
}

TEST_F(OptBoard, TechnicianSettingTouchesOnlyBytesNobodyElseOwns) {
  for (size_t off : {0x81CUL, 0x82EUL, 0x82FUL, 0x830UL, 0x84FUL, 0x851UL, 0x853UL, 0x855UL})
    EXPECT_FALSE(SpecialOwnsByte(off)) << std::hex << off;
  for (size_t off : {0x810UL, 0x81DUL, 0x850UL, 0x854UL, 0x85FUL}) EXPECT_TRUE(SpecialOwnsByte(off)) << std::hex << off;
  for (const auto& d : SpecialPage().fields) {
    if (d.field.area != forms::Area::Image) continue;
    for (int i = 0; i < d.field.width; ++i) EXPECT_TRUE(SpecialOwnsByte(d.field.offset + static_cast<size_t>(i))) << d.key;
  }
  const std::vector<uint8_t> before = data.buffers.ImageBytes();
  ASSERT_EQ(Set("special.0x854", "a5"), SettingStatus::Ok);
  EXPECT_EQ(shown, "A5");
  ASSERT_EQ(Set("special.0x81E", "0141"), SettingStatus::Ok);
  EXPECT_EQ(W(0x81E), 0x0141);
  ASSERT_EQ(Set("special.0x854", "G1"), SettingStatus::Ok);  // not hexadecimal: unchanged
  EXPECT_EQ(B(0x854), 0xA5);
  EXPECT_EQ(Set("special.0x81B", "00"), SettingStatus::Disabled);
  std::vector<uint8_t> after = data.buffers.ImageBytes();
  after[0x854] = before[0x854];
  after[0x81E] = before[0x81E];
  after[0x81F] = before[0x81F];
  EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace vb420
