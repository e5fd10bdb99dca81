// SPDX-License-Identifier: GPL-3.0-or-later
// Lists whose rows come from the image and list values kept outside a plain
// field: the forms of the channel and zone editors are built on these.
#include <gtest/gtest.h>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FormEngine.h"
#include "lang/TextTable.h"

namespace vb420::forms {
namespace {

TextTable& Texts() {
  static TextTable t = [] {
    TextTable table;
    std::string lng = "*Language,English\n";
    for (int i = 0; i < TextTable::kEntryCount; ++i) lng += "^#" + TextTable::IdentifierOf(i) + ",T" + std::to_string(i) + "\n";
    table.LoadText(lng, "English");
    return table;
  }();
  return t;
}

class FormListsTest : public ::testing::Test {
 protected:
  FormListsTest() : data(&Texts()), ctx{data, Texts()} {
    data.buffers.Clear();
    InitNewImage(data, true);
  }
  RadioData data;
  FormContext ctx;
};

TEST_F(FormListsTest, DynamicRowsFollowTheImageAndStoreThroughTheCustomValue) {
  FieldDescriptor d;
  d.kind = ControlKind::Combo;
  d.encoding = Encoding::Custom;
  d.dynamicChoices = [](const FormContext& c) {
    std::vector<Choice> rows{{371, 0xFF, {}}};
    for (int i = 1; i <= c.data.buffers.Image().u8(0x17E); ++i) rows.push_back({-1, '3' | (i << 8), "ID " + std::to_string(i)});
    return rows;
  };
  d.offered = [](const FormContext&, const Choice& c) { return c.value != ('3' | (2 << 8)); };  // entry 2 unusable
  d.customValue = [](const FormContext& c) { return c.data.buffers.Image().u8(0x17F) | (c.data.buffers.Image().u8(0x180) << 8); };
  d.customStoreValue = [](FormContext& c, int v) {
    c.data.buffers.Image().setU8(0x17F, uint8_t(v & 0xFF));
    c.data.buffers.Image().setU8(0x180, uint8_t(v >> 8));
  };
  ByteArea im = data.Image();
  im.setU8(0x17E, 3);
  EXPECT_EQ(FormEngine::ChoiceTexts(ctx, d), (std::vector<std::string>{"T371", "ID 1", "ID 3"}));
  FormEngine::StoreRow(ctx, d, 2);
  EXPECT_EQ(im.u8(0x17F), '3');
  EXPECT_EQ(im.u8(0x180), 3);
  EXPECT_EQ(FormEngine::CurrentRow(ctx, d), 2);
  im.setU8(0x17E, 1);  // the list shrank under the stored value
  EXPECT_EQ(FormEngine::CurrentRow(ctx, d), -1);
  FormEngine::StoreRow(ctx, d, 5);  // a row that is not offered changes nothing
  EXPECT_EQ(im.u8(0x180), 3);
}

TEST_F(FormListsTest, CustomCheckBoxesAndInputModes) {
  int stored = 1;
  FieldDescriptor check;
  check.kind = ControlKind::Check;
  check.encoding = Encoding::Custom;
  check.customValue = [&](const FormContext&) { return stored; };
  check.customStoreValue = [&](FormContext&, int v) { stored = v; };
  EXPECT_FALSE(FormEngine::Checked(ctx, check));
  FormEngine::StoreChecked(ctx, check, true);
  EXPECT_EQ(stored, 0);
  EXPECT_TRUE(FormEngine::Checked(ctx, check));

  FieldDescriptor number;
  number.encoding = Encoding::Number;
  number.minimum = 1;
  number.maximum = 12;
  EXPECT_EQ(FormEngine::InputMode(ctx, number), 2);
  number.minimum = -5;
  EXPECT_EQ(FormEngine::InputMode(ctx, number), 1);
  FieldDescriptor scaled;
  scaled.encoding = Encoding::Scaled;
  EXPECT_EQ(FormEngine::InputMode(ctx, scaled), 3);
  FieldDescriptor digits;
  digits.encoding = Encoding::Digits;
  digits.dtmfDigits = false;
  EXPECT_EQ(FormEngine::InputMode(ctx, digits), 6);
  FieldDescriptor name;
  name.encoding = Encoding::Name;
  data.model.SetModel(0);
  EXPECT_EQ(FormEngine::InputMode(ctx, name), 1);
  data.model.SetModel(2);
  EXPECT_EQ(FormEngine::InputMode(ctx, name), 10);
  name.inputMode = 7;  // a table may name its own filter
  EXPECT_EQ(FormEngine::InputMode(ctx, name), 7);
}

}  // namespace
}  // namespace vb420::forms
