// SPDX-License-Identifier: GPL-3.0-or-later
// Frequency codec: the stored bytes and step codes of typed frequencies, the
// range check, the display text and the frequency-pair slots.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "data/FreqCodec.h"

namespace vb420 {
namespace {

using Field = std::array<uint8_t, 4>;

struct Encoded {
  Field bytes{0xEE, 0xEE, 0xEE, 0xEE};
  int code = 0;
};

Encoded Enc(const CFreqCodec& c, const std::string& text, int band, bool portable) {
  Encoded e;
  e.code = c.EncodeFreq(text, e.bytes.data(), band, portable);
  return e;
}

constexpr int kVhf = 0;
constexpr int kUhf = 1;

TEST(FreqEncode, VhfMobileAndPortableStepChoice) {
  CFreqCodec c;
  Encoded e = Enc(c, "146.52", kVhf, false);
  EXPECT_EQ(e.bytes, (Field{0x00, 0x20, 0x65, 0x14}));
  EXPECT_EQ(e.code, '4');

  e = Enc(c, "146.5125", kVhf, false);
  EXPECT_EQ(e.bytes, (Field{0x50, 0x12, 0x65, 0x14}));
  EXPECT_EQ(e.code, '4');  // 146 512 500 is a multiple of 7500
  e = Enc(c, "146.5125", kVhf, true);
  EXPECT_EQ(e.bytes, (Field{0x50, 0x12, 0x65, 0x14}));
  EXPECT_EQ(e.code, '3');  // portables never take 7500 Hz

  EXPECT_EQ(Enc(c, "146.51", kVhf, false).code, '2');
  EXPECT_EQ(Enc(c, "146.5025", kVhf, false).code, '1');
  EXPECT_EQ(Enc(c, "146.50625", kVhf, false).code, '3');
}

TEST(FreqEncode, OffRasterIsRoundedDownTo5kHz) {
  CFreqCodec c;
  Encoded e = Enc(c, "146.5237", kVhf, false);
  EXPECT_EQ(e.bytes, (Field{0x00, 0x20, 0x65, 0x14}));
  EXPECT_EQ(e.code, '4');

  // 146.5237 on a portable: 146.520 MHz is no multiple of 6250, so 5000 Hz.
  e = Enc(c, "146.5237", kVhf, true);
  EXPECT_EQ(e.bytes, (Field{0x00, 0x20, 0x65, 0x14}));
  EXPECT_EQ(e.code, '2');

  e = Enc(c, "450.0075", kUhf, false);
  EXPECT_EQ(e.bytes, (Field{0x00, 0x05, 0x00, 0x45}));
  EXPECT_EQ(e.code, '2');
}

TEST(FreqEncode, FineStepOnlyWithTheSwitch) {
  CFreqCodec c;
  Encoded e = Enc(c, "146.00125", kVhf, false);
  EXPECT_EQ(e.bytes, (Field{0x00, 0x00, 0x60, 0x14}));
  EXPECT_EQ(e.code, '3');  // rounded down to 146.00000, a multiple of 6250

  c.SetFineStep(true);
  e = Enc(c, "146.00125", kVhf, false);
  EXPECT_EQ(e.bytes, (Field{0x25, 0x01, 0x60, 0x14}));
  EXPECT_EQ(e.code, '0');
  // UHF never uses 1250 Hz, even with the switch.
  e = Enc(c, "450.00125", kUhf, false);
  EXPECT_EQ(e.bytes, (Field{0x00, 0x00, 0x00, 0x45}));
  EXPECT_EQ(e.code, '6');
}

TEST(FreqEncode, UhfStepsSkip7500) {
  CFreqCodec c;
  Encoded e = Enc(c, "450.00625", kUhf, false);
  EXPECT_EQ(e.bytes, (Field{0x25, 0x06, 0x00, 0x45}));
  EXPECT_EQ(e.code, '3');
  EXPECT_EQ(Enc(c, "450.0125", kUhf, false).code, '6');
  EXPECT_EQ(Enc(c, "450.01", kUhf, false).code, '5');
  EXPECT_EQ(Enc(c, "450.005", kUhf, false).code, '2');
  // 450.0225 is a multiple of 7500 Hz, but UHF does not use that step: it
  // drops to 450.020, which is on the 10 kHz raster.
  EXPECT_EQ(Enc(c, "450.0225", kUhf, false).code, '5');
  EXPECT_EQ(Enc(c, "450.0225", kUhf, false).bytes, (Field{0x00, 0x20, 0x00, 0x45}));
}

TEST(FreqEncode, EmptyZeroAndUnstorableTextsLeaveTheFieldAlone) {
  CFreqCodec c;
  for (const char* t : {"", "0", "0.00000", "  ", "abc", "-146.52"}) {
    Encoded e = Enc(c, t, kVhf, false);
    EXPECT_EQ(e.code, -1) << t;
    EXPECT_EQ(e.bytes, (Field{0xEE, 0xEE, 0xEE, 0xEE})) << t;
  }
}

TEST(FreqEncode, DecimalInputIsExactAndLocaleFree) {
  CFreqCodec c;
  // Binary floating point would put several of these one unit low.
  EXPECT_EQ(Enc(c, "155.05", kVhf, false).bytes, (Field{0x00, 0x50, 0x50, 0x15}));
  EXPECT_EQ(Enc(c, "173.95", kVhf, false).bytes, (Field{0x00, 0x50, 0x39, 0x17}));
  EXPECT_EQ(Enc(c, "469.05", kUhf, true).bytes, (Field{0x00, 0x50, 0x90, 0x46}));
  // Half a hertz rounds up before the step search.
  Encoded e = Enc(c, "146.5199995", kVhf, false);
  EXPECT_EQ(e.bytes, (Field{0x00, 0x20, 0x65, 0x14}));
  EXPECT_EQ(e.code, '4');
  // The configured separator is accepted as well as ".".
  c.SetDecimalSeparator(',');
  EXPECT_EQ(Enc(c, "146,52", kVhf, false).bytes, (Field{0x00, 0x20, 0x65, 0x14}));
  EXPECT_EQ(Enc(c, "146.52", kVhf, false).bytes, (Field{0x00, 0x20, 0x65, 0x14}));
  // Numbers beyond the 8-digit field are held at its top rather than wrapped.
  e = Enc(c, "123456", kVhf, false);
  EXPECT_EQ(e.bytes, (Field{0x00, 0x95, 0x99, 0x99}));
}

TEST(FreqCheck, ClampingWindowAndBandLimits) {
  CFreqCodec c;
  c.SetBand(136, 174, 0);
  struct Case {
    const char* in;
    int result;
    const char* out;
  };
  for (const Case& k : std::vector<Case>{{"146.52", 1, "146.52000"},
                                         {"136", 1, "136.00000"},
                                         {"174", 1, "174.00000"},
                                         {"300", 0, "174.00000"},
                                         {"280", 0, "280.00000"},
                                         {"280.00001", 0, "174.00000"},
                                         {"200", 0, "200.00000"},
                                         {"100", 0, "100.00000"},
                                         {"99.99999", 0, "136.00000"},
                                         {"-5", 0, "136.00000"},
                                         {"x", 0, "136.00000"},
                                         {"146.123456", 1, "146.12346"}}) {
    std::string t = k.in;
    EXPECT_EQ(c.CheckFreq(t), k.result) << k.in;
    EXPECT_EQ(t, k.out) << k.in;
  }
  std::string empty;
  EXPECT_EQ(c.CheckFreq(empty), 1);
  EXPECT_EQ(empty, "");

  c.SetBand(400, 470, 1);
  std::string t = "560";
  EXPECT_EQ(c.CheckFreq(t), 0);
  EXPECT_EQ(t, "470.00000");
  t = "326.9";
  EXPECT_EQ(c.CheckFreq(t), 0);
  EXPECT_EQ(t, "400.00000");
  t = "520";
  EXPECT_EQ(c.CheckFreq(t), 0);
  EXPECT_EQ(t, "520.00000");
  t = "435,05";
  c.SetDecimalSeparator(',');
  EXPECT_EQ(c.CheckFreq(t), 1);
  EXPECT_EQ(t, "435.05000");
}

TEST(FreqDisplay, NibblesSeparatorAndLeadingZeros) {
  CFreqCodec c;
  const Field f{0x00, 0x20, 0x65, 0x14};
  std::string s;
  c.FreqToText(f.data(), s);
  EXPECT_EQ(s, "146.52000");
  c.SetDecimalSeparator(',');
  c.FreqToText(f.data(), s);
  EXPECT_EQ(s, "146,52000");
  CFreqCodec::FreqToPlainText(f.data(), s);
  EXPECT_EQ(s, "146.52000");

  const Field fifty{0x00, 0x00, 0x00, 0x05};
  CFreqCodec::FreqToPlainText(fifty.data(), s);
  EXPECT_EQ(s, "50.00000");
  const Field zero{0x00, 0x00, 0x00, 0x00};
  CFreqCodec::FreqToPlainText(zero.data(), s);
  EXPECT_EQ(s, "0.00000");

  const Field none{0xFF, 0xFF, 0xFF, 0xFF};
  s = "keep";
  c.FreqToText(none.data(), s);
  EXPECT_EQ(s, "keep");
}

TEST(FreqDisplay, FieldHzConversions) {
  Field f{};
  CFreqCodec::HzToField(485050000, f.data());
  EXPECT_EQ(f, (Field{0x00, 0x50, 0x50, 0x48}));
  EXPECT_EQ(CFreqCodec::FieldToHz(f.data()), 485050000u);
  const Field damaged{0x00, 0x0A, 0x85, 0x48};
  EXPECT_EQ(CFreqCodec::FieldToHz(damaged.data()), 0u);
  const Field none{0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(CFreqCodec::FieldToHz(none.data()), 0u);
  EXPECT_TRUE(CFreqCodec::IsEmptyField(none.data()));
  EXPECT_FALSE(CFreqCodec::IsEmptyField(f.data()));
}

TEST(FreqEncode, DisplayedTextEncodesToTheSameBytes) {
  CFreqCodec c;
  c.SetFineStep(true);
  // Every 1250 Hz channel of a stretch of VHF, plus UHF on 6250 Hz.
  for (uint32_t hz = 136000000; hz <= 136200000; hz += 1250) {
    Field f{};
    CFreqCodec::HzToField(hz, f.data());
    std::string text;
    CFreqCodec::FreqToPlainText(f.data(), text);
    Encoded e = Enc(c, text, kVhf, false);
    ASSERT_EQ(e.bytes, f) << text;
    ASSERT_EQ(CFreqCodec::FieldToHz(e.bytes.data()), hz);
  }
  for (uint32_t hz = 450000000; hz <= 450500000; hz += 6250) {
    Field f{};
    CFreqCodec::HzToField(hz, f.data());
    std::string text;
    CFreqCodec::FreqToPlainText(f.data(), text);
    ASSERT_EQ(Enc(c, text, kUhf, true).bytes, f) << text;
  }
}

// --- frequency-pair slots ----------------------------------------------------

class PairTableTest : public ::testing::Test {
 protected:
  PairTableTest() : image_(0x100, 0xFF), table_(ByteArea(image_.data(), image_.size()), 0x20, 4, codec_,
                                                [this] { return band_; }, [this] { return portable_; }) {
    codec_.SetBand(136, 174, 0);
  }
  std::vector<uint8_t> Slot(int slot) {
    return std::vector<uint8_t>(image_.begin() + 0x20 + slot * 10, image_.begin() + 0x20 + slot * 10 + 10);
  }

  std::vector<uint8_t> image_;
  CFreqCodec codec_;
  int band_ = 0;
  bool portable_ = false;
  CFreqPairTable table_;
};

TEST_F(PairTableTest, FirstFrequencyFillsAnEmptySecond) {
  EXPECT_EQ(table_.StorePairFreq(1, 0, "146.52"), 1);
  EXPECT_EQ(Slot(1), (std::vector<uint8_t>{0x00, 0x20, 0x65, 0x14, 0x00, 0x20, 0x65, 0x14, '4', '4'}));
  EXPECT_EQ(table_.StorePairFreq(1, 1, "146.5125"), 1);
  EXPECT_EQ(Slot(1), (std::vector<uint8_t>{0x00, 0x20, 0x65, 0x14, 0x50, 0x12, 0x65, 0x14, '4', '4'}));
  // A second frequency that is already there is not overwritten.
  EXPECT_EQ(table_.StorePairFreq(1, 0, "146.51"), 1);
  EXPECT_EQ(Slot(1), (std::vector<uint8_t>{0x00, 0x10, 0x65, 0x14, 0x50, 0x12, 0x65, 0x14, '2', '4'}));
  // Neighbouring slots are untouched.
  EXPECT_EQ(Slot(0), std::vector<uint8_t>(10, 0xFF));
  EXPECT_EQ(Slot(2), std::vector<uint8_t>(10, 0xFF));

  std::string s;
  table_.PairFreqToText(1, 1, s);
  EXPECT_EQ(s, "146.51250");
  table_.PairFreqToText(2, 0, s);
  EXPECT_EQ(s, "");
}

TEST_F(PairTableTest, ClearingEitherFrequencyEmptiesTheSlot) {
  table_.StorePairFreq(0, 0, "155.05");
  table_.StorePairFreq(0, 1, "155.1");
  EXPECT_EQ(table_.StorePairFreq(0, 1, ""), 0);
  EXPECT_EQ(Slot(0), std::vector<uint8_t>(10, 0xFF));
  EXPECT_FALSE(table_.IsPairFreqSet(0, 0));

  table_.StorePairFreq(0, 0, "155.05");
  table_.StorePairFreq(0, 1, "155.1");
  EXPECT_EQ(table_.StorePairFreq(0, 0, ""), 0);
  EXPECT_EQ(Slot(0), std::vector<uint8_t>(10, 0xFF));
}

TEST_F(PairTableTest, OutOfRangeIsStoredAndReported) {
  EXPECT_EQ(table_.StorePairFreq(0, 0, "300"), -1);
  EXPECT_EQ(Slot(0), (std::vector<uint8_t>{0x00, 0x00, 0x40, 0x17, 0x00, 0x00, 0x40, 0x17, '4', '4'}));
  EXPECT_EQ(table_.StorePairFreq(0, 1, "200"), -1);
  EXPECT_EQ(Slot(0), (std::vector<uint8_t>{0x00, 0x00, 0x40, 0x17, 0x00, 0x00, 0x00, 0x20, '4', '3'}));
}

TEST_F(PairTableTest, SlotsOutsideTheTableAreRefused) {
  const std::vector<uint8_t> before = image_;
  EXPECT_EQ(table_.StorePairFreq(4, 0, "146.52"), 0);
  EXPECT_EQ(table_.StorePairFreq(-1, 0, "146.52"), 0);
  EXPECT_EQ(table_.StorePairFreq(0, 2, "146.52"), 0);
  EXPECT_EQ(image_, before);
  EXPECT_FALSE(table_.IsPairFreqSet(9, 0));

  // A table that would run past the end of its area writes nothing.
  CFreqPairTable tail(ByteArea(image_.data(), image_.size()), 0xF8, 2, codec_, [] { return 0; }, [] { return false; });
  EXPECT_EQ(tail.StorePairFreq(0, 0, "146.52"), 0);
  EXPECT_EQ(image_, before);
}

TEST_F(PairTableTest, RecodeFitsStepCodesToTheModel) {
  table_.StorePairFreq(0, 0, "146.5125");  // '4' on a mobile
  table_.StorePairFreq(1, 0, "146.52");
  image_[0x20 + 2 * 10 + 0] = 0x0A;  // a damaged field stays as it is
  image_[0x20 + 2 * 10 + 8] = 0x39;
  portable_ = true;
  table_.RecodeAllPairs();
  EXPECT_EQ(Slot(0), (std::vector<uint8_t>{0x50, 0x12, 0x65, 0x14, 0x50, 0x12, 0x65, 0x14, '3', '3'}));
  EXPECT_EQ(Slot(1)[8], '2');
  EXPECT_EQ(image_[0x20 + 2 * 10 + 0], 0x0A);
  EXPECT_EQ(image_[0x20 + 2 * 10 + 8], 0x39);
}

TEST_F(PairTableTest, AnyPairSetLoadsDefaultsWhenEmpty) {
  int loads = 0;
  EXPECT_EQ(table_.AnyPairSet([&] { ++loads; }), 0);
  EXPECT_EQ(loads, 1);
  table_.StorePairFreq(3, 0, "155.2");
  EXPECT_EQ(table_.AnyPairSet([&] { ++loads; }), 1);
  EXPECT_EQ(loads, 1);
}

}  // namespace
}  // namespace vb420
