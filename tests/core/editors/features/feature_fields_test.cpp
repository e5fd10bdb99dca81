// SPDX-License-Identifier: GPL-3.0-or-later
// The optional features through their settings keys: the same tables, and
// so the same rules, as the window's controls. Exact bytes for the edge
// cases of the pages.
#include <gtest/gtest.h>

#include <set>

#include "FeatureTestSupport.h"
#include "data/ImageLayout.h"
#include "editors/features/FeatureFields.h"

namespace vb420 {
namespace {

using forms::SettingStatus;

class Features : public test::RadioFixture {
 protected:
  void SystemType4() {
    data.Image().fill(0x851, 3, 0xFF);
    data.Image().setU8(0x853, 0);
  }
  const forms::FieldDescriptor& Field(int page, int index) {
    return FeaturePages()[static_cast<size_t>(page)].fields[static_cast<size_t>(index)];
  }
  void Spin(int page, int index, int dir) {
    forms::FormContext ctx(data, text);
    forms::FormEngine::Spin(ctx, Field(page, index), dir);
  }
};

TEST_F(Features, PagesHoldEveryIndexInTableOrder) {
  const int sizes[] = {26, 24, 9, 18, 13, 10, 13};
  const int tabs[] = {534, 535, 536, 537, 538, 1190, 539};
  ASSERT_EQ(FeaturePages().size(), 7u);
  for (int p = 0; p < 7; ++p) {
    EXPECT_EQ(FeaturePages()[p].fields.size(), static_cast<size_t>(sizes[p])) << p;
    EXPECT_EQ(FeaturePages()[p].tabEntry, tabs[p]);
  }
  // Spot checks of index positions: the label of every index is the table's.
  EXPECT_EQ(Field(0, 23).labelEntry, 565);
  EXPECT_EQ(Field(1, 13).labelEntry, 549);
  EXPECT_EQ(Field(3, 13).labelEntry, 643);
  EXPECT_EQ(Field(6, 12).labelEntry, 662);
}

TEST_F(Features, NumbersAreClampedAndShownAsStored) {
  struct Case {
    const char* key;
    const char* typed;
    size_t at;
    int stored;
    const char* shows;
  } cases[] = {
      {"features.1.2", "35", 0x171, 31, "31"},
      {"features.1.3", "D", 0x172, 0xFF, "Default"},
      {"features.1.4", "v", 0x173, '0', "Volume Linked"},
      {"features.1.5", "Off", 0x174, 0, "Off"},
      {"features.1.6", "x", 0x175, 0, "Off"},
      {"features.1.7", "", 0x176, 0, "Off"},
      {"features.0.0", "13", 0x140, 12, "12"},
      {"features.0.0", "", 0x140, 0xFF, "Off"},
      {"features.0.17", "C", 0x158, 0xFF, "Continuous"},
      {"features.0.17", "0", 0x158, 0, "Off"},
      {"features.0.17", "45", 0x158, 30, "30"},
      {"features.3.3", "12", 0x0, -1, "9"},
      {"features.5.4", "21", 0x884, 20, "20"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Set(c.key, c.typed), SettingStatus::Ok) << c.key;
    if (c.stored >= 0) {
      EXPECT_EQ(B(c.at), c.stored) << c.key << " " << c.typed;
    }
    EXPECT_EQ(shown, c.shows) << c.key << " " << c.typed;
  }
  EXPECT_EQ(data.Ext().u8(0x501), 9);
  // Word fields: empty is 0xFFFF and shows the off text.
  ASSERT_EQ(Set("features.0.7", ""), SettingStatus::Ok);
  EXPECT_EQ(W(0x17C), 0xFFFF);
  EXPECT_EQ(shown, "Off");
  ASSERT_EQ(Set("features.0.7", "301"), SettingStatus::Ok);
  EXPECT_EQ(W(0x17C), 300);
  // Half-second steps, rounded down, stored in milliseconds.
  ASSERT_EQ(Set("features.4.2", "2.3"), SettingStatus::Ok);
  EXPECT_EQ(W(0x1A5), 2000);
  EXPECT_EQ(shown, "2.0");
}

TEST_F(Features, SignAndMagnitude) {
  ASSERT_EQ(Set("features.1.1", "-3"), SettingStatus::Ok);
  EXPECT_EQ(B(0x170), 0x83);
  EXPECT_EQ(shown, "-3");
  ASSERT_EQ(Set("features.1.1", "7"), SettingStatus::Ok);
  EXPECT_EQ(B(0x170), 5);
  EXPECT_EQ(shown, "+5");
  ASSERT_EQ(Set("features.1.1", "-9"), SettingStatus::Ok);
  EXPECT_EQ(B(0x170), 0x85);
  Spin(1, 1, -1);  // below the minimum wraps to the maximum
  EXPECT_EQ(B(0x170), 5);
  Spin(1, 1, 1);
  EXPECT_EQ(B(0x170), 0x85);
}

TEST_F(Features, SpinningRunsThroughNumbersNamesAndEmpty) {
  data.Image().setU8(0x171, 31);
  const int up[] = {0xFF, '0', 0, 1, 2};
  for (int v : up) {
    Spin(1, 2, 1);
    EXPECT_EQ(B(0x171), v);
  }
  data.Image().setU8(0x171, 1);
  const int down[] = {0, '0', 0xFF, 31};
  for (int v : down) {
    Spin(1, 2, -1);
    EXPECT_EQ(B(0x171), v);
  }
  // The empty value sits between the maximum and the minimum.
  data.Image().setU8(0x140, 12);
  Spin(0, 0, 1);
  EXPECT_EQ(B(0x140), 0xFF);
  Spin(0, 0, 1);
  EXPECT_EQ(B(0x140), 1);
  Spin(0, 0, -1);
  EXPECT_EQ(B(0x140), 0xFF);
}

TEST_F(Features, MinutesAndSecondsShareOneByte) {
  EXPECT_EQ(Set("features.0.23", "8"), SettingStatus::Disabled);  // ignition sense is off
  ASSERT_EQ(Set("features.0.21", "On"), SettingStatus::Ok);
  ASSERT_EQ(Set("features.0.23", "8"), SettingStatus::Ok);
  ASSERT_EQ(Set("features.0.24", "50"), SettingStatus::Ok);
  EXPECT_EQ(B(0x17A), 48);
  EXPECT_EQ(Get("features.0.24"), "00");
  EXPECT_EQ(Get("features.0.23"), "8");
  ASSERT_EQ(Set("features.0.23", "2"), SettingStatus::Ok);
  ASSERT_EQ(Set("features.0.24", "35"), SettingStatus::Ok);
  EXPECT_EQ(B(0x17A), 2 * 6 + 3);
  EXPECT_EQ(Get("features.0.24"), "30");
  Spin(0, 24, 1);
  Spin(0, 24, 1);
  EXPECT_EQ(B(0x17A), 2 * 6 + 5);
  Spin(0, 24, 1);  // seconds wrap, minutes stay
  EXPECT_EQ(B(0x17A), 12);
  // Ignition sense unchecked disables the three and enables index 10.
  ASSERT_EQ(Set("features.0.21", "Off"), SettingStatus::Ok);
  EXPECT_EQ(Set("features.0.23", "1"), SettingStatus::Disabled);
  EXPECT_EQ(Set("features.0.10", "On"), SettingStatus::Ok);
  EXPECT_EQ(W(0x19C) & 0x0108, 0x0100);
}

TEST_F(Features, RangePairsLimitEachOther) {
  ASSERT_EQ(Set("features.1.8", "10"), SettingStatus::Ok);
  ASSERT_EQ(Set("features.1.9", "5"), SettingStatus::Ok);
  EXPECT_EQ(B(0x16F), 10);
  ASSERT_EQ(Set("features.1.9", "20"), SettingStatus::Ok);
  ASSERT_EQ(Set("features.1.8", "25"), SettingStatus::Ok);
  EXPECT_EQ(B(0x16E), 20);
  Spin(1, 9, -1);  // 20 -> 19: the lower bound is 20, so 20 wraps to the maximum
  EXPECT_EQ(B(0x16F), 31);
  NewModel(8);  // the volume pair on a portable
  ASSERT_EQ(Set("features.1.11", "12"), SettingStatus::Ok);
  ASSERT_EQ(Set("features.1.13", "20"), SettingStatus::Ok);
  EXPECT_EQ(B(0x16C), 12);
  ASSERT_EQ(Set("features.1.11", "3"), SettingStatus::Ok);
  EXPECT_EQ(B(0x16D), 12);
}

TEST_F(Features, SecondGenerationModels) {
  NewModel(2);
  ASSERT_EQ(Set("features.0.0", "12"), SettingStatus::Ok);
  EXPECT_EQ(B(0x140), 8);
  forms::FormContext ctx(data, text);
  EXPECT_FALSE(forms::FormEngine::PageShown(ctx, FeaturePages()[6]));
  EXPECT_EQ(Set("features.1.22", "Date/Time"), SettingStatus::BadValue);
  EXPECT_EQ(Set("features.1.22", "Message"), SettingStatus::Ok);
  EXPECT_EQ(Set("features.6.8", "On"), SettingStatus::Disabled);
  EXPECT_EQ(Set("features.0.1", "Auto"), SettingStatus::Disabled);
  NewModel(0);
  ctx.data.model.SetModel(0);
  EXPECT_TRUE(forms::FormEngine::PageShown(ctx, FeaturePages()[6]));
  EXPECT_EQ(Set("features.1.22", "Date/Time"), SettingStatus::Ok);
  EXPECT_EQ(B(0x193), '1');
}

TEST_F(Features, LengthTextAndNames) {
  data.Image().setU8(0x142, 7);
  EXPECT_EQ(Get("features.0.8"), "");
  ASSERT_EQ(Set("features.0.8", "ABCDEFGH"), SettingStatus::Ok);
  EXPECT_EQ(B(0x142), 6);
  EXPECT_EQ(shown, "ABCDEF");
  ASSERT_EQ(Set("features.0.8", "XY"), SettingStatus::Ok);
  const uint8_t want[] = {2, 'X', 'Y', 0, 0, 0, 0};
  for (size_t i = 0; i < sizeof want; ++i) EXPECT_EQ(B(0x142 + i), want[i]) << i;
  ASSERT_EQ(Set("features.0.8", ""), SettingStatus::Ok);
  EXPECT_EQ(B(0x142), 0xFF);
  // A NUL ends the text, as it ends it when read: the length says what shows.
  ASSERT_EQ(Set("features.0.8", std::string("AB\0CD", 5)), SettingStatus::Ok);
  EXPECT_EQ(B(0x142), 2);
  EXPECT_EQ(shown, "AB");
  ASSERT_EQ(Set("features.0.8", std::string("\0\0\0", 3)), SettingStatus::Ok);
  EXPECT_EQ(B(0x142), 0xFF);
  // The message text needs display type Message.
  EXPECT_EQ(Set("features.1.23", "HELLO"), SettingStatus::Disabled);
  ASSERT_EQ(Set("features.1.22", "Message"), SettingStatus::Ok);
  ASSERT_EQ(Set("features.1.23", "HELLO"), SettingStatus::Ok);
  EXPECT_EQ(B(0x160), 'H');
  ASSERT_EQ(Set("features.5.1", "Stopped"), SettingStatus::Ok);
  EXPECT_EQ(B(0x860), 'S');
}

TEST_F(Features, PttIdDigitsAndType) {
  ASSERT_EQ(Set("features.2.6", "123"), SettingStatus::Ok);
  const uint8_t want[] = {3, 0x21, 0xF3, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  for (size_t i = 0; i < sizeof want; ++i) EXPECT_EQ(B(0x181 + i), want[i]) << i;
  ASSERT_EQ(Set("features.2.7", "12345678901234567890"), SettingStatus::Ok);
  EXPECT_EQ(B(0x18A), 16);
  ASSERT_EQ(Set("features.2.7", ""), SettingStatus::Ok);
  EXPECT_EQ(B(0x18A), 0xFF);
  // ANI only with system type 2; the codes only with DTMF.
  EXPECT_EQ(Set("features.2.5", "ANI"), SettingStatus::BadValue);
  data.Image().setU8(0x852, 0);
  ASSERT_EQ(Set("features.2.5", "ANI"), SettingStatus::Ok);
  EXPECT_EQ(B(0x180), '2');
  EXPECT_EQ(Set("features.2.6", "9"), SettingStatus::Disabled);
}

TEST_F(Features, DataBoardBudget) {
  EXPECT_EQ(Set("features.6.2", "120"), SettingStatus::Disabled);
  SystemType4();
  ASSERT_EQ(Set("features.6.2", "120"), SettingStatus::Ok);
  ASSERT_EQ(Set("features.6.3", "120"), SettingStatus::Ok);
  forms::FormContext ctx(data, text);
  EXPECT_EQ(forms::FormEngine::Maximum(ctx, Field(6, 1)), 30);
  ASSERT_EQ(Set("features.6.1", "30"), SettingStatus::Ok);
  EXPECT_EQ(W(0x1B1), 30);
  ASSERT_EQ(Set("features.6.1", ""), SettingStatus::Ok);
  ASSERT_EQ(Set("features.6.3", "60"), SettingStatus::Ok);
  ASSERT_EQ(Set("features.6.2", "300"), SettingStatus::Ok);
  EXPECT_EQ(W(0x1B7), 240);
  EXPECT_EQ(shown, "240");
  // Nothing left: storing clears the field.
  ASSERT_EQ(Set("features.6.1", "30"), SettingStatus::Ok);
  EXPECT_EQ(W(0x1B1), 0xFFFF);
  // Stepping stays inside the budget: from 60 up to the maximum left (60), then empty.
  Spin(6, 3, 1);
  EXPECT_EQ(W(0x1BD), 0xFFFF);
  Spin(6, 3, 1);
  EXPECT_EQ(W(0x1BD), 30);
  // The check box of index 6 follows index 2.
  ASSERT_EQ(Set("features.6.6", "On"), SettingStatus::Ok);
  EXPECT_EQ(B(0x1B9), '0');
  ASSERT_EQ(Set("features.6.2", ""), SettingStatus::Ok);
  EXPECT_EQ(Set("features.6.6", "Off"), SettingStatus::Disabled);
  // Input alarm needs an accessory pin holding function 49.
  EXPECT_EQ(Set("features.6.11", "On"), SettingStatus::Disabled);
  data.Image().setU8(0x15E, 49);
  ASSERT_EQ(Set("features.6.11", "On"), SettingStatus::Ok);
  ASSERT_EQ(Set("features.6.12", "4000"), SettingStatus::Ok);
  EXPECT_EQ(W(0x1C5), 3600);
}

TEST_F(Features, ChecksListsAndPasswords) {
  ASSERT_EQ(Set("features.0.11", "On"), SettingStatus::Ok);
  EXPECT_EQ(B(0x19C) & 0x04, 0);
  ASSERT_EQ(Set("features.5.6", "On"), SettingStatus::Ok);
  EXPECT_EQ(B(0x88F) & 0x08, 0x08);
  ASSERT_EQ(Set("features.2.8.3", "7.46"), SettingStatus::Ok);
  EXPECT_EQ(B(0x1D2), 74);
  ASSERT_EQ(Set("features.3.16.4", "12"), SettingStatus::Ok);
  EXPECT_EQ(B(0x1B6), 9);
  // Man down needs a portable with board 3.
  EXPECT_EQ(Set("features.3.5", "On"), SettingStatus::Disabled);
  NewModel(8);
  data.Image().setU8(0x81C, '3');
  ASSERT_EQ(Set("features.3.5", "On"), SettingStatus::Ok);
  EXPECT_EQ(data.Ext().u8(0x502), '0');
  ASSERT_EQ(Set("features.3.7", "1500"), SettingStatus::Ok);
  EXPECT_EQ(W(0x1A0), 1500);
  // The radio passwords of the push button's dialog: digits only, at most
  // six, as the radio's password prompts take them; anything else would lock
  // the user out of the radio and is refused, leaving the password as it was.
  ASSERT_EQ(Set("features.0.9.read", "4712"), SettingStatus::Ok);
  const uint8_t want[] = {4, '4', '7', '1', '2', 0xFF, 0xFF};
  for (size_t i = 0; i < sizeof want; ++i) EXPECT_EQ(B(0x149 + i), want[i]) << i;
  EXPECT_TRUE(data.model.ReadPasswordSet());
  for (const char* bad : {"a b", "AB12CD", "12345A", "1234567", "12 34"}) {
    EXPECT_EQ(Set("features.0.9.read", bad), SettingStatus::Refused) << bad;
    EXPECT_EQ(Set("features.0.9.overwrite", bad), SettingStatus::Refused) << bad;
  }
  for (size_t i = 0; i < sizeof want; ++i) EXPECT_EQ(B(0x149 + i), want[i]) << i;
  EXPECT_TRUE(RadioPasswordTypable("123456"));
  EXPECT_FALSE(RadioPasswordTypable("AB12CD"));
  ASSERT_EQ(Set("features.0.9.read", ""), SettingStatus::Ok);
  EXPECT_FALSE(data.model.ReadPasswordSet());
  EXPECT_EQ(B(0x149), 0xFF);
}

TEST_F(Features, ListingNamesEveryFieldOnEachModel) {
  for (int model : {0, 2}) {
    NewModel(model);
    std::vector<forms::SettingLine> lines;
    ASSERT_EQ(forms::ListSettings(data, text, "features", lines), SettingStatus::Ok);
    size_t values = 0;
    for (const auto& d : FeatureFieldTable()) values += !d.key.empty() && d.encoding != forms::Encoding::None;
    EXPECT_EQ(lines.size(), values);
    EXPECT_GT(values, 100u);
    EXPECT_EQ(lines.front().key, "features.common.displaychars");
    EXPECT_EQ(lines.front().text, "Off");
  }
}

}  // namespace
}  // namespace vb420

namespace vb420 {
namespace {

// The readable keys replaced positional ones; a script written with the old
// key sets exactly the bytes the new key sets, and reads the same text.
TEST_F(Features, OldPositionalKeysStillSetTheSameBytes) {
  const struct {
    const char* oldKey;
    const char* newKey;
    const char* value;
  } cases[] = {
      {"features.1.8", "features.audio.mintonelevel", "7"},
      {"features.0.7", "features.common.keylocktime", "120"},
      {"features.2.6", "features.pttid.bot", "1234"},
      {"features.2.8.3", "features.battery.levels.3", "7.5"},
      {"features.0.9.read", "features.common.readpassword", "4711"},
      {"features.5.8", "features.passport.intercepttone", "On"},
      {"features.4.1", "features.phone.timeout", "120"},
  };
  for (const auto& c : cases) {
    NewModel(0);
    ASSERT_EQ(Set(c.oldKey, c.value), forms::SettingStatus::Ok) << c.oldKey;
    const std::vector<uint8_t> viaOld(data.Image().ptr(0, img::kSize), data.Image().ptr(0, img::kSize) + img::kSize);
    const std::string shownOld = shown;
    NewModel(0);
    const std::vector<uint8_t> before(data.Image().ptr(0, img::kSize), data.Image().ptr(0, img::kSize) + img::kSize);
    ASSERT_EQ(Set(c.newKey, c.value), forms::SettingStatus::Ok) << c.newKey;
    const std::vector<uint8_t> viaNew(data.Image().ptr(0, img::kSize), data.Image().ptr(0, img::kSize) + img::kSize);
    EXPECT_NE(viaNew, before) << c.newKey << " changed nothing";
    EXPECT_EQ(viaOld, viaNew) << c.oldKey;
    EXPECT_EQ(shownOld, shown) << c.oldKey;
  }
  // Every field keeps its positional key, each one once, none a new key.
  std::set<std::string> olds, news;
  for (const forms::FieldDescriptor& d : FeatureFieldTable()) {
    if (d.key.empty() || d.encoding == forms::Encoding::None) continue;
    EXPECT_FALSE(d.oldKey.empty()) << d.key;
    EXPECT_TRUE(olds.insert(d.oldKey).second) << d.oldKey;
    EXPECT_TRUE(news.insert(d.key).second) << d.key;
    EXPECT_EQ(Get("features." + d.oldKey), Get("features." + d.key)) << d.key;
  }
  for (const std::string& k : news) EXPECT_FALSE(olds.count(k)) << k;
  EXPECT_GT(news.size(), 100u);
}

}  // namespace
}  // namespace vb420
