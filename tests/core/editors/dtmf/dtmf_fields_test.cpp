// SPDX-License-Identifier: GPL-3.0-or-later
// The DTMF and 2-tone tables by key: the digit codec in the memory and code
// fields, the listed values, the seconds and hertz fields with their off
// texts and clamps, the decode grid's rows, the name widths, and the
// pre-write checks.
#include <gtest/gtest.h>

#include "../../zones/ZoneTestUtil.h"
#include "data/SignallingLayout.h"
#include "editors/dtmf/DtmfFields.h"
#include "editors/forms/FieldSets.h"
#include "link/WriteValidation.h"

namespace vb420 {
namespace {

using forms::SettingLine;
using forms::SettingStatus;
using ByteVec = std::vector<uint8_t>;

class DtmfTest : public testing::ZoneFixture {
 protected:
  DtmfTest() { (void)dtmf::DtmfPages(); }
  SettingStatus Set(const std::string& key, const std::string& value) {
    message = 0;
    return forms::SetSetting(data, text(), key, value, shown, message);
  }
  std::string Get(const std::string& key) {
    SettingLine l;
    EXPECT_EQ(forms::GetSetting(data, text(), key, l), SettingStatus::Ok) << key;
    return l.text;
  }
  ByteVec ExtBytes(size_t off, size_t n) {
    ByteVec v(n);
    ext().read(off, v.data(), n);
    return v;
  }
  SettingLine shown;
  int message = 0;
};

TEST_F(DtmfTest, MemoryCodeGoesThroughTheDigitCodec) {
  ASSERT_EQ(Set("dtmf.mem.1.code", "12#"), SettingStatus::Ok);
  const size_t rec = ext::kNamedRecords;
  EXPECT_EQ(ext().u8(rec + 16), 3);
  EXPECT_EQ(ExtBytes(rec + 17, 8), (ByteVec{0x21, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(shown.text, "12#");
  // Letters, star and a cut at 16 digits; characters outside the set drop out.
  ASSERT_EQ(Set("dtmf.mem.32.code", "a*-b9876543210987654"), SettingStatus::Ok);
  EXPECT_EQ(shown.text, "A*B9876543210987");
  EXPECT_EQ(ext().u8(rec + 31 * 32 + 16), 16);
  EXPECT_EQ(ext().u8(rec + 31 * 32 + 17), 0xEA);  // A (10) low, * (14) high
  // Empty: count none, digits 0xFF.
  ASSERT_EQ(Set("dtmf.mem.1.code", ""), SettingStatus::Ok);
  EXPECT_EQ(ExtBytes(rec + 16, 9), ByteVec(9, 0xFF));
  // Names are zero-filled to 12.
  ASSERT_EQ(Set("dtmf.mem.2.name", "DISPATCH"), SettingStatus::Ok);
  EXPECT_EQ(ExtBytes(rec + 32, 12), (ByteVec{'D', 'I', 'S', 'P', 'A', 'T', 'C', 'H', 0, 0, 0, 0}));
  EXPECT_EQ(Set("dtmf.mem.33.name", "X"), SettingStatus::UnknownKey);
  // An entry never named (0xFF bytes, as a new programming holds) is empty.
  EXPECT_EQ(ExtBytes(rec + 64, 12), ByteVec(12, 0xFF));
  EXPECT_EQ(Get("dtmf.mem.3.name"), "");
  ext().setU8(rec + 64, 'A');
  EXPECT_EQ(Get("dtmf.mem.3.name"), "A");
}

TEST_F(DtmfTest, OwnCodesHoldTenDigits) {
  ASSERT_EQ(Set("dtmf.1.2", "123456789012"), SettingStatus::Ok);
  EXPECT_EQ(shown.text, "1234567890");
  EXPECT_EQ(Bytes(dtmffld::kOwnCode, 6), (ByteVec{10, 0x21, 0x43, 0x65, 0x87, 0x09}));
  ASSERT_EQ(Set("dtmf.grid.2.code", "9"), SettingStatus::Ok);
  EXPECT_EQ(Bytes(0x708, 6), (ByteVec{1, 0xF9, 0xFF, 0xFF, 0xFF, 0xFF}));
  ASSERT_EQ(Set("dtmf.grid.2.decode", "T372"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(0x70E), 0);
  ASSERT_EQ(Set("dtmf.grid.2.alert", "12"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(0x70F), 8);
  ASSERT_EQ(Set("dtmf.grid.2.alert", "T371"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(0x70F), 0xFF);
  EXPECT_EQ(shown.text, "T371");
}

struct ListedCase {
  const char* key;
  const char* typed;
  size_t at;
  int width;
  int stored;
  const char* shown;
};

TEST_F(DtmfTest, ListedValuesTakeTheLargestNotAboveTheTyped) {
  const ListedCase cases[] = {
      {"dtmf.0.0", "15", dtmffld::kSpeed, 1, '3', "15"},   {"dtmf.0.0", "9", dtmffld::kSpeed, 1, '1', "8"},
      {"dtmf.0.0", "3", dtmffld::kSpeed, 1, '0', "6"},     {"dtmf.0.0", "", dtmffld::kSpeed, 1, '0', "6"},
      {"dtmf.0.0", "99", dtmffld::kSpeed, 1, '3', "15"},   {"dtmf.0.2", "499", dtmffld::kFirstTime, 2, 100, "100"},
      {"dtmf.0.2", "1000", dtmffld::kFirstTime, 2, 1000, "1000"}, {"dtmf.0.3", "", dtmffld::kStarTime, 2, 0, "0"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Set(c.key, c.typed), SettingStatus::Ok) << c.key << " " << c.typed;
    EXPECT_EQ(c.width == 1 ? image().u8(c.at) : image().u16le(c.at), c.stored) << c.key << " " << c.typed;
    EXPECT_EQ(shown.text, c.shown) << c.key << " " << c.typed;
  }
  // A speed stored as '3' shows 15.
  image().setU8(dtmffld::kSpeed, '3');
  EXPECT_EQ(Get("dtmf.0.0"), "15");
}

TEST_F(DtmfTest, SpinStepsThroughTheListAndRoundTheEnds) {
  forms::FormContext ctx(data, text());
  const auto& speed = dtmf::DtmfPages()[0].fields[0];
  image().setU8(dtmffld::kSpeed, '2');
  forms::FormEngine::Spin(ctx, speed, 1);
  EXPECT_EQ(image().u8(dtmffld::kSpeed), '3');
  forms::FormEngine::Spin(ctx, speed, 1);
  EXPECT_EQ(image().u8(dtmffld::kSpeed), '0');
  forms::FormEngine::Spin(ctx, speed, -1);
  EXPECT_EQ(image().u8(dtmffld::kSpeed), '3');
  // A stray stored value starts from an end.
  image().setU8(dtmffld::kSpeed, 0x42);
  forms::FormEngine::Spin(ctx, speed, 1);
  EXPECT_EQ(image().u8(dtmffld::kSpeed), '0');
  // The hold time spins through its off value.
  const auto& hold = dtmf::DtmfPages()[0].fields[4];
  image().setU16le(dtmffld::kHoldTime, 2000);
  forms::FormEngine::Spin(ctx, hold, 1);
  EXPECT_EQ(image().u16le(dtmffld::kHoldTime), 0xFFFF);
  forms::FormEngine::Spin(ctx, hold, 1);
  EXPECT_EQ(image().u16le(dtmffld::kHoldTime), 500);
}

TEST_F(DtmfTest, HoldTimeAndDecodeDigitsShowTheirNoneTexts) {
  EXPECT_EQ(Get("dtmf.0.4"), "T371");
  EXPECT_EQ(Get("dtmf.0.5"), "T865");
  ASSERT_EQ(Set("dtmf.0.4", "1.2"), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(dtmffld::kHoldTime), 1000);
  EXPECT_EQ(shown.text, "1.0");
  ASSERT_EQ(Set("dtmf.0.4", "9"), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(dtmffld::kHoldTime), 2000);
  ASSERT_EQ(Set("dtmf.0.4", "t371"), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(dtmffld::kHoldTime), 0xFFFF);
  ASSERT_EQ(Set("dtmf.0.5", "20"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(dtmffld::kDecodeDigits), 16);
  ASSERT_EQ(Set("dtmf.0.5", "T865"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(dtmffld::kDecodeDigits), 0xFF);
  ASSERT_EQ(Set("dtmf.0.1", "1234"), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(dtmffld::kFirstDelay), 1000);
}

// ---- 2-tone ------------------------------------------------------------------

struct FreqCase {
  const char* typed;
  uint16_t stored;
  const char* shown;
};

TEST_F(DtmfTest, TwoToneFrequenciesAreClampedTenthsOfAHertz) {
  const size_t rec = twotonefld::kCodes;
  const FreqCase cases[] = {{"3200", 31060, "3106.0"}, {"100", 2885, "288.5"}, {"1000.57", 10005, "1000.5"},
                            {"T371", 0xFFFF, ""},      {"", 0xFFFF, ""},   {"288.5", 2885, "288.5"}};
  for (const auto& c : cases) {
    ASSERT_EQ(Set("twotone.code.1.a", c.typed), SettingStatus::Ok) << c.typed;
    EXPECT_EQ(image().u16le(rec + 12), c.stored) << c.typed;
    EXPECT_EQ(shown.text, c.shown) << c.typed;
  }
  // A decode set-up's tones have no off value: empty stores the minimum.
  ASSERT_EQ(Set("twotone.decode.3.2", ""), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(twotonefld::kDecode + 2 * 48 + 6), 2885);
  ASSERT_EQ(Set("twotone.decode.3.2", "5000"), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(twotonefld::kDecode + 2 * 48 + 6), 31060);
}

TEST_F(DtmfTest, TimingIsSecondsStoredAsMilliseconds) {
  ASSERT_EQ(Set("twotone.0.0", "1.26"), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(twotonefld::kToneA), 1200);
  EXPECT_EQ(shown.text, "1.2");
  ASSERT_EQ(Set("twotone.0.2", "2"), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(twotonefld::kLongTone), 3000);
  ASSERT_EQ(Set("twotone.0.3", "250"), SettingStatus::Ok);
  EXPECT_EQ(image().u16le(twotonefld::kInterval), 200);
}

TEST_F(DtmfTest, SecondGenerationNamesShowEightCharacters) {
  ASSERT_EQ(Set("twotone.code.3.name", "ABCDEFGHIJKL"), SettingStatus::Ok);
  EXPECT_EQ(shown.text, "ABCDEFGHIJKL");
  SetModel(2, data.model.Bytes()[5]);
  EXPECT_EQ(Get("twotone.code.3.name"), "ABCDEFGH");
  // So do the DTMF memory's, and typed ones are cut there.
  ASSERT_EQ(Set("dtmf.mem.1.name", "abcdefghijkl"), SettingStatus::Ok);
  EXPECT_EQ(shown.text, "ABCDEFGH");
  EXPECT_EQ(ExtBytes(ext::kNamedRecords, 12), (ByteVec{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 0, 0, 0, 0}));
}

TEST_F(DtmfTest, DecodeRowsOfferEachSequenceOncePerPage) {
  const size_t grid = twotonefld::kDecode + 24;
  ASSERT_EQ(Set("twotone.dgrid.1.1.seq", "T762"), SettingStatus::Ok);  // A-B
  EXPECT_EQ(image().u8(grid), '1');
  // No none on the first row; A-B not again on the same page.
  EXPECT_EQ(Set("twotone.dgrid.1.1.seq", "T362"), SettingStatus::BadValue);
  EXPECT_EQ(Set("twotone.dgrid.1.2.seq", "T762"), SettingStatus::BadValue);
  ASSERT_EQ(Set("twotone.dgrid.1.2.seq", "T776"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(grid + 3), '?');
  ASSERT_EQ(Set("twotone.dgrid.1.2.seq", "T362"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(grid + 3), 0xFF);
  // Another page is free to use it.
  ASSERT_EQ(Set("twotone.dgrid.2.4.seq", "T762"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(grid + 48 + 9), '1');
  ASSERT_EQ(Set("twotone.dgrid.2.4.alert", "0"), SettingStatus::Ok);
  EXPECT_EQ(image().u8(grid + 48 + 11), 1);
}

TEST_F(DtmfTest, StunKillDecodeNeedsItsCode) {
  EXPECT_TRUE(dtmf::DtmfProblems(data).empty());
  ASSERT_EQ(Set("dtmf.0.9", "T370"), SettingStatus::Ok);
  EXPECT_EQ(dtmf::DtmfProblems(data), std::vector<int>{1160});
  // The radio never acts on it, so the write asks rather than refuses.
  const WriteValidationResult v = ValidateForWrite(data, text());
  EXPECT_TRUE(v.Passed());
  ASSERT_EQ(v.settingWarnings.size(), 1u);
  EXPECT_EQ(v.settingWarnings[0].entry, 1160);
  ASSERT_EQ(Set("dtmf.1.2", "1234"), SettingStatus::Ok);
  EXPECT_TRUE(dtmf::DtmfProblems(data).empty());
  // A damaged count (a loaded file) is no code at all.
  image().setU8(dtmffld::kOwnCode, 11);
  EXPECT_EQ(dtmf::DtmfProblems(data), std::vector<int>{1160});
  EXPECT_EQ(Get("dtmf.1.2"), "");
  // Other damaged counts show empty and are written as they are.
  ext().setU8(ext::kNamedRecords + 5 * 32 + 16, 17);
  EXPECT_EQ(Get("dtmf.mem.6.code"), "");
}

}  // namespace
}  // namespace vb420
