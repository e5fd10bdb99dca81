// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/forms/FormEngine.h"
#include "lang/TextTable.h"

using namespace vb420;
using namespace vb420::forms;

namespace {

class FormEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string file = "*Language,English\n";
    for (int i = 0; i < TextTable::kEntryCount; ++i)
      file += "^#" + TextTable::IdentifierOf(i) + ",T" + std::to_string(i) + "\n";
    ASSERT_EQ(text.LoadText(file, "English"), TextTable::LoadResult::Ok);
    UseModel(0);
  }
  void UseModel(int model) {
    data.model.SetBytes(kDefaultModelBytes);
    data.model.SetModel(model);
    data.model.SetBandCode(ModelTable(model).bands.front());
    ResetToNewImage(data);
  }
  ByteArea Image() { return data.Image(); }

  TextTable text;
  RadioData data;
  FormContext ctx{data, text};
};

FieldDescriptor Number(FieldRef ref, int lo, int hi, int step = 1) {
  FieldDescriptor d;
  d.kind = ControlKind::EditSpin;
  d.field = ref;
  d.encoding = Encoding::Number;
  d.minimum = lo;
  d.maximum = hi;
  d.step = step;
  return d;
}

// Whether a store brought a typed number to a limit, as the command line
// reports it: rounding to the step is not, names and off texts never are.
TEST(ClampedToLimit, OnlyAMoveOfAWholeStepOrMoreCounts) {
  using forms::ClampedToLimit;
  EXPECT_TRUE(ClampedToLimit("999", "174.00000", 0.015, '.'));
  EXPECT_TRUE(ClampedToLimit("100", "136.00000", 0.015, '.'));   // raised to the lower limit
  EXPECT_FALSE(ClampedToLimit("146.523", "146.52000", 0.015, '.'));
  EXPECT_FALSE(ClampedToLimit("146.52", "146.52000", 0.015, '.'));
  EXPECT_TRUE(ClampedToLimit("300", "255", 1, '.'));
  EXPECT_TRUE(ClampedToLimit("-4", "0", 1, '.'));
  EXPECT_FALSE(ClampedToLimit("123", "120", 5, '.'));            // down to a step of 5
  EXPECT_TRUE(ClampedToLimit("9.9", "5.0", 0.1, '.'));
  EXPECT_FALSE(ClampedToLimit("0.25", "0.2", 0.1, '.'));
  EXPECT_TRUE(ClampedToLimit("12,5", "10,0", 0.1, ','));         // the texts' own separator
  // Not plain numbers on either side: nothing to compare.
  for (const char* typed : {"", "Off", "12abc", "1.2.3", "-", "."}) EXPECT_FALSE(ClampedToLimit(typed, "5", 1, '.')) << typed;
  EXPECT_FALSE(ClampedToLimit("0", "Off", 1, '.'));
  EXPECT_FALSE(ClampedToLimit("999", "", 1, '.'));
}

}  // namespace

TEST_F(FormEngineTest, TypedNumbersAreClampedAndRoundedDown) {
  auto d = Number(ImageByte(0x171), 1, 31);
  std::string t = "35";
  FormEngine::StoreText(ctx, d, t);
  EXPECT_EQ(Image().u8(0x171), 31);
  EXPECT_EQ(t, "31");
  auto w = Number(ImageWord(0x1B7), 30, 300, 30);
  t = "299";
  FormEngine::StoreText(ctx, w, t);
  EXPECT_EQ(Image().u16le(0x1B7), 270);
  EXPECT_EQ(t, "270");
  t = "abc";  // no number: read as 0 and clamped
  FormEngine::StoreText(ctx, w, t);
  EXPECT_EQ(Image().u16le(0x1B7), 30);
}

TEST_F(FormEngineTest, EmptyValueShowsItsTextAndSitsInTheSpinCycle) {
  auto d = Number(ImageByte(0x140), 1, 12);
  d.emptyValue = 0xFF;
  d.emptyTextEntry = 362;
  d.dynamicMaximum = [](const FormContext& c) { return c.IsSecondGen() ? 8 : 12; };
  std::string t;
  FormEngine::StoreText(ctx, d, t);
  EXPECT_EQ(Image().u8(0x140), 0xFF);
  EXPECT_EQ(t, "T362");
  FormEngine::Spin(ctx, d, -1);
  EXPECT_EQ(Image().u8(0x140), 12);
  FormEngine::Spin(ctx, d, +1);
  EXPECT_EQ(Image().u8(0x140), 0xFF);
  FormEngine::Spin(ctx, d, +1);
  EXPECT_EQ(Image().u8(0x140), 1);
  FormEngine::Spin(ctx, d, -1);
  EXPECT_EQ(Image().u8(0x140), 0xFF);
  UseModel(6);  // second generation: the range ends at 8
  t = "12";
  FormEngine::StoreText(ctx, d, t);
  EXPECT_EQ(Image().u8(0x140), 8);
}

TEST_F(FormEngineTest, NamesAreMatchedByFirstCharacterAndSpunAfterTheNumbers) {
  auto d = Number(ImageByte(0x172), 1, 31);
  d.choices = {{613, 0xFF, ""}, {647, '0', ""}, {371, 0, ""}};
  d.unparsableValue = 0;
  d.spinThroughNames = true;
  // Texts T613, T647, T371 all begin with "T": the first name wins.
  std::string t = "t";
  FormEngine::StoreText(ctx, d, t);
  EXPECT_EQ(Image().u8(0x172), 0xFF);
  EXPECT_EQ(t, "T613");
  t = "?";
  FormEngine::StoreText(ctx, d, t);
  EXPECT_EQ(Image().u8(0x172), 0);
  // Cycle: 31 -> 613 -> 647 -> 371 -> 1, and back down.
  Image().setU8(0x172, 31);
  const int up[] = {0xFF, '0', 0, 1, 2};
  for (int v : up) {
    FormEngine::Spin(ctx, d, +1);
    EXPECT_EQ(Image().u8(0x172), v);
  }
  Image().setU8(0x172, 1);
  const int down[] = {0, '0', 0xFF, 31, 30};
  for (int v : down) {
    FormEngine::Spin(ctx, d, -1);
    EXPECT_EQ(Image().u8(0x172), v);
  }
}

TEST_F(FormEngineTest, RangePairsLimitEachOther) {
  auto lower = Number(ImageByte(0x16E), 1, 31);
  auto upper = Number(ImageByte(0x16F), 1, 31);
  lower.dynamicMaximum = [](const FormContext& c) { return c.ImageByte(0x16F); };
  upper.dynamicMinimum = [](const FormContext& c) { return c.ImageByte(0x16E); };
  Image().setU8(0x16E, 10);
  Image().setU8(0x16F, 20);
  std::string t = "5";
  FormEngine::StoreText(ctx, upper, t);
  EXPECT_EQ(Image().u8(0x16F), 10);
  t = "25";
  FormEngine::StoreText(ctx, lower, t);
  EXPECT_EQ(Image().u8(0x16E), 10);
  Image().setU8(0x16F, 20);
  t = "25";
  FormEngine::StoreText(ctx, lower, t);
  EXPECT_EQ(Image().u8(0x16E), 20);
}

TEST_F(FormEngineTest, AdjustHookEnforcesABudget) {
  // Three words share 300; an unset word (0xFFFF) counts as 0.
  auto budget = [](uint32_t self) {
    return [self](FormContext& c, int v) {
      int used = 0;
      for (uint32_t off : {0x1B1u, 0x1B7u, 0x1BDu}) {
        if (off == self) continue;
        const int w = c.data.Image().u16le(off);
        if (w != 0xFFFF) used += w;
      }
      const int room = 300 - used;
      if (room <= 0) return 0xFFFF;
      return v == 0xFFFF ? v : std::min(v, room);
    };
  };
  auto a = Number(ImageWord(0x1B7), 30, 300, 30);
  auto b = Number(ImageWord(0x1BD), 30, 300, 30);
  a.emptyValue = b.emptyValue = 0xFFFF;
  a.adjust = budget(0x1B7);
  b.adjust = budget(0x1BD);
  Image().setU16le(0x1B1, 0xFFFF);
  Image().setU16le(0x1B7, 0xFFFF);
  Image().setU16le(0x1BD, 60);
  std::string t = "300";
  FormEngine::StoreText(ctx, a, t);
  EXPECT_EQ(Image().u16le(0x1B7), 240);
  EXPECT_EQ(t, "240");
}

TEST_F(FormEngineTest, CheckBoxesCombosAndEnableRules) {
  FieldDescriptor box;
  box.kind = ControlKind::Check;
  box.field = ImageWordBit(0x19C, 8);
  box.encoding = Encoding::Value;
  Image().setU16le(0x19C, 0xFFFF);
  EXPECT_FALSE(FormEngine::Checked(ctx, box));
  FormEngine::StoreChecked(ctx, box, true);
  EXPECT_EQ(Image().u16le(0x19C), 0xFEFF);
  EXPECT_TRUE(FormEngine::Checked(ctx, box));

  FieldDescriptor combo;
  combo.kind = ControlKind::Combo;
  combo.field = ImageByte(0x193);
  combo.encoding = Encoding::Value;
  combo.choices = {{371, 0xFF, ""}, {648, '0', ""}, {649, '1', ""}};
  combo.offered = [](const FormContext& c, const Choice& ch) { return !(c.IsSecondGen() && ch.textEntry == 649); };
  combo.enabled = [](const FormContext& c) { return c.data.Image().u16le(0x19C) & 0x100 ? false : true; };
  FormPage page;
  page.fields = {box, combo};
  EXPECT_EQ(FormEngine::ChoiceTexts(ctx, combo), (std::vector<std::string>{"T371", "T648", "T649"}));
  FormEngine::StoreRow(ctx, combo, 2);
  EXPECT_EQ(Image().u8(0x193), '1');
  EXPECT_EQ(FormEngine::CurrentRow(ctx, combo), 2);
  EXPECT_TRUE(FormEngine::Enabled(ctx, page, combo));
  FormEngine::StoreChecked(ctx, box, false);
  EXPECT_FALSE(FormEngine::Enabled(ctx, page, combo));
  UseModel(2);
  EXPECT_EQ(FormEngine::ChoiceTexts(ctx, combo).size(), 2u);
  FormEngine::StoreRow(ctx, combo, 5);  // a row that is not offered changes nothing
  EXPECT_EQ(Image().u8(0x193), 0xFF);
  page.enabled = [](const FormContext&) { return false; };
  FormEngine::StoreChecked(ctx, box, true);
  EXPECT_FALSE(FormEngine::Enabled(ctx, page, combo));
}

TEST_F(FormEngineTest, TextsDigitsSignedAndScaledValues) {
  FieldDescriptor len;
  len.kind = ControlKind::EditCombo;
  len.field = ImageByte(0x142);
  len.encoding = Encoding::LengthText;
  len.textWidth = 6;
  std::string t = "1234567";
  FormEngine::StoreText(ctx, len, t);
  EXPECT_EQ(t, "123456");
  EXPECT_EQ(Image().u8(0x142), 6);
  Image().setU8(0x142, 7);  // a damaged length shows an empty box
  EXPECT_EQ(FormEngine::ShowText(ctx, len), "");
  t = "";
  FormEngine::StoreText(ctx, len, t);
  EXPECT_EQ(Image().u8(0x142), 0xFF);
  EXPECT_EQ(Image().u8(0x143), 0x00);

  FieldDescriptor digits;
  digits.kind = ControlKind::Text;
  digits.field = ImageByte(0x181);
  digits.encoding = Encoding::Digits;
  digits.textWidth = 8;
  t = "12*#x5";
  FormEngine::StoreText(ctx, digits, t);
  EXPECT_EQ(Image().u8(0x181), 5);
  EXPECT_EQ(Image().u8(0x182), 0x21);
  EXPECT_EQ(Image().u8(0x183), 0xFE);
  EXPECT_EQ(Image().u8(0x184), 0xF5);
  EXPECT_EQ(Image().u8(0x185), 0xFF);
  EXPECT_EQ(t, "12*#5");

  auto sm = Number(ImageByte(0x170), -5, 5);
  sm.encoding = Encoding::SignMagnitude;
  sm.format = "%+d";
  t = "-3";
  FormEngine::StoreText(ctx, sm, t);
  EXPECT_EQ(Image().u8(0x170), 0x83);
  EXPECT_EQ(t, "-3");
  FormEngine::Spin(ctx, sm, +1);
  FormEngine::Spin(ctx, sm, +1);
  FormEngine::Spin(ctx, sm, +1);
  EXPECT_EQ(Image().u8(0x170), 0x00);
  EXPECT_EQ(FormEngine::ShowText(ctx, sm), "+0");
  t = "9";
  FormEngine::StoreText(ctx, sm, t);
  EXPECT_EQ(Image().u8(0x170), 5);

  auto sc = Number(ImageWord(0x1A5), 500, 8000, 500);
  sc.encoding = Encoding::Scaled;
  sc.scale = 1000;
  sc.decimals = 1;
  t = "2.7";
  FormEngine::StoreText(ctx, sc, t);
  EXPECT_EQ(Image().u16le(0x1A5), 2500);
  EXPECT_EQ(t, "2.5");
  data.field.SetDecimalSeparator(',');
  t = "3,5";
  FormEngine::StoreText(ctx, sc, t);
  EXPECT_EQ(Image().u16le(0x1A5), 3500);
  EXPECT_EQ(t, "3,5");
  FormEngine::Spin(ctx, sc, +1);
  EXPECT_EQ(Image().u16le(0x1A5), 4000);
}

TEST_F(FormEngineTest, NamesFollowTheGenerationRules) {
  FieldDescriptor name;
  name.kind = ControlKind::Text;
  name.field = ImageByte(0x7E0);
  name.encoding = Encoding::Name;
  name.textWidth = 12;
  name.textWidthGen2 = 8;
  std::string t = "Fleet ops north";
  FormEngine::StoreText(ctx, name, t);
  EXPECT_EQ(t, "Fleet ops no");
  UseModel(3);
  t = "ab!cdefghijk";
  FormEngine::StoreText(ctx, name, t);
  EXPECT_EQ(t, "AB CDEFG");
  EXPECT_EQ(Image().u8(0x7E8), 0x00);
}

TEST_F(FormEngineTest, SystemTypeFromItsThreeBytes) {
  Image().fill(0x851, 3, 0xFF);
  EXPECT_EQ(ctx.SystemType(), 0);
  Image().setU8(0x853, 0);
  EXPECT_EQ(ctx.SystemType(), 4);
  Image().setU8(0x852, 0);
  EXPECT_EQ(ctx.SystemType(), 2);
  Image().setU8(0x851, 0);
  EXPECT_EQ(ctx.SystemType(), 1);
}
