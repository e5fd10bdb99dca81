// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/FreqCodec.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "data/DecimalText.h"

namespace vb420 {

namespace {

// The stored field holds 8 decimal digits of 10 Hz: 999.99999 MHz at most.
constexpr uint32_t kMaxFieldHz = 999999990u;

// Values this far outside the band are typing mistakes and are replaced by the
// nearer band limit; values between the window and the band are kept, since a
// radio may be aligned a little beyond its nominal range. Units of 10 Hz.
constexpr int64_t kVhfWindowLow = 10000000;   // 100 MHz
constexpr int64_t kVhfWindowHigh = 28000000;  // 280 MHz
constexpr int64_t kUhfWindowLow = 32700000;   // 327 MHz
constexpr int64_t kUhfWindowHigh = 55000000;  // 550 MHz

// Steps to try, largest first. 7500 Hz is a VHF step only; portables cannot
// take it, and 1250 Hz is only offered with the fine-step switch.
std::vector<int> StepOrder(int band, bool portable, bool fineStep, int lowestIndex) {
  std::vector<int> order;
  if (band == 1) {
    for (int idx : {6, 5, 3, 2})
      if (idx >= lowestIndex) order.push_back(idx);
  } else {
    const int start = portable ? 3 : 4;
    const int end = lowestIndex >= 0 ? lowestIndex : (fineStep ? 0 : 1);
    for (int idx = start; idx >= end; --idx) order.push_back(idx);
  }
  return order;
}

int64_t MhzToTens(double mhz) { return std::llround(mhz * 100000.0); }

// Nine characters of the field: three MHz digits, the separator, five more.
std::string FieldText(const uint8_t in4[4], char separator) {
  std::string s;
  auto nib = [](uint8_t n) { return static_cast<char>(0x30 + n); };
  s += nib(in4[3] >> 4);
  s += nib(in4[3] & 0x0F);
  s += nib(in4[2] >> 4);
  s += separator;
  s += nib(in4[2] & 0x0F);
  s += nib(in4[1] >> 4);
  s += nib(in4[1] & 0x0F);
  s += nib(in4[0] >> 4);
  s += nib(in4[0] & 0x0F);
  // Leading zeros of the MHz part are not shown, but one digit always stays in
  // front of the separator.
  size_t cut = 0;
  while (cut < 2 && s[cut] == '0') ++cut;
  return s.substr(cut);
}

}  // namespace

void CFreqCodec::SetBand(double lower, double upper, int band) {
  lower_ = lower;
  upper_ = upper;
  band_ = band;
}

int CFreqCodec::EncodeFreq(const std::string& text, uint8_t out4[4], int band, bool portable) const {
  const DecimalText d = ParseDecimalText(text, decimalSeparator_);
  // A negative frequency cannot be stored; like an empty text it means none.
  if (!d.hasDigits || IsZeroDecimal(d) || d.negative) return -1;
  int64_t hz64 = ScaledDecimal(d, 6, true);
  if (hz64 <= 0) return -1;
  if (hz64 > kMaxFieldHz) hz64 = kMaxFieldHz;
  uint32_t hz = static_cast<uint32_t>(hz64);

  int code = -1;
  for (int idx : StepOrder(band, portable, fineStep_, -1)) {
    if (hz % kStepHz[idx] == 0) {
      code = idx;
      break;
    }
  }
  if (code < 0) {
    // Not on any channel raster: fall back to the 5 kHz raster below it.
    hz = hz / 5000 * 5000;
    if (hz == 0) return -1;
    for (int idx : StepOrder(band, portable, fineStep_, 2)) {
      if (hz % kStepHz[idx] == 0) {
        code = idx;
        break;
      }
    }
  }
  HzToField(hz, out4);
  return '0' + code;
}

int CFreqCodec::CheckFreq(std::string& text) const {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return 1;

  int64_t v = ScaledDecimal(ParseDecimalText(text, decimalSeparator_), 5, true);
  const int64_t lower = MhzToTens(lower_);
  const int64_t upper = MhzToTens(upper_);
  const bool uhf = band_ == 1;
  const int64_t windowLow = uhf ? kUhfWindowLow : kVhfWindowLow;
  const int64_t windowHigh = uhf ? kUhfWindowHigh : kVhfWindowHigh;

  int result = 1;
  if (v > windowHigh) {
    v = upper;
    result = 0;
  } else if (v < windowLow) {
    v = lower;
    result = 0;
  } else if (v > upper || v < lower) {
    result = 0;
  }
  text = FormatScaled(v, 5);
  return result;
}

void CFreqCodec::FreqToText(const uint8_t in4[4], std::string& out) const {
  if (IsEmptyField(in4)) return;
  out = FieldText(in4, decimalSeparator_);
}

void CFreqCodec::FreqToPlainText(const uint8_t in4[4], std::string& out) {
  if (IsEmptyField(in4)) return;
  out = FieldText(in4, '.');
}

uint32_t CFreqCodec::FieldToHz(const uint8_t in4[4]) {
  if (IsEmptyField(in4)) return 0;
  uint32_t tens = 0;
  for (int b = 3; b >= 0; --b) {
    const uint8_t hi = in4[b] >> 4;
    const uint8_t lo = in4[b] & 0x0F;
    if (hi > 9 || lo > 9) return 0;
    tens = tens * 100 + hi * 10 + lo;
  }
  return tens * 10;
}

void CFreqCodec::HzToField(uint32_t hz, uint8_t out4[4]) {
  uint32_t tens = hz / 10;
  if (tens > 99999999u) tens = 99999999u;
  for (int b = 0; b < 4; ++b) {
    const uint8_t lo = tens % 10;
    tens /= 10;
    const uint8_t hi = tens % 10;
    tens /= 10;
    out4[b] = static_cast<uint8_t>((hi << 4) | lo);
  }
}

bool CFreqCodec::IsEmptyField(const uint8_t in4[4]) {
  return in4[0] == 0xFF && in4[1] == 0xFF && in4[2] == 0xFF && in4[3] == 0xFF;
}

// --- frequency-pair slots ----------------------------------------------------

namespace {
constexpr size_t kSlotSize = 10;
}

int CFreqPairTable::StorePairFreq(int slot, int which, const std::string& text) {
  if (slot < 0 || slot >= slots_ || which < 0 || which > 1) return 0;
  const size_t base = offset_ + static_cast<size_t>(slot) * kSlotSize;
  if (!image_.InRange(base, kSlotSize)) return 0;

  std::string checked = text;
  int result = codec_.CheckFreq(checked) ? 1 : -1;
  uint8_t field[4];
  int code = codec_.EncodeFreq(checked, field, bandOf_ ? bandOf_() : codec_.Band(), portable_ && portable_());
  if (code < 0) {
    std::memset(field, 0xFF, sizeof field);
    code = 0xFF;
    result = 0;
  }
  image_.write(base + which * 4, field, 4);
  image_.setU8(base + 8 + which, static_cast<uint8_t>(code));

  const int other = 1 - which;
  if (which == 0 && !IsPairFreqSet(slot, 1)) {
    // A slot always has both frequencies; a lone receive value is also the
    // transmit value.
    image_.write(base + 4, field, 4);
    image_.setU8(base + 9, static_cast<uint8_t>(code));
  }
  if (result == 0) {
    image_.fill(base + other * 4, 4, 0xFF);
    image_.setU8(base + 8 + other, 0xFF);
  }
  return result;
}

void CFreqPairTable::PairFreqToText(int slot, int which, std::string& out) const {
  out.clear();
  if (slot < 0 || slot >= slots_ || which < 0 || which > 1) return;
  const uint8_t* f = image_.ptr(offset_ + static_cast<size_t>(slot) * kSlotSize + which * 4, 4);
  if (f) codec_.FreqToText(f, out);
}

bool CFreqPairTable::IsPairFreqSet(int slot, int which) const {
  if (slot < 0 || slot >= slots_ || which < 0 || which > 1) return false;
  const uint8_t* f = image_.ptr(offset_ + static_cast<size_t>(slot) * kSlotSize + which * 4, 4);
  return f && !CFreqCodec::IsEmptyField(f);
}

void CFreqPairTable::RecodeAllPairs() {
  const int band = bandOf_ ? bandOf_() : codec_.Band();
  const bool portable = portable_ && portable_();
  for (int slot = 0; slot < slots_; ++slot) {
    for (int which = 0; which < 2; ++which) {
      const size_t at = offset_ + static_cast<size_t>(slot) * kSlotSize + which * 4;
      uint8_t* f = image_.ptr(at, 4);
      if (!f || CFreqCodec::IsEmptyField(f)) continue;
      // A field that is not decimal (damaged data) is left for the user to
      // see rather than turned into some other frequency.
      if (CFreqCodec::FieldToHz(f) == 0) continue;
      std::string text;
      CFreqCodec::FreqToPlainText(f, text);
      uint8_t field[4];
      // The plain text always uses "."; the codec reads "." whatever its
      // display separator is.
      const int code = codec_.EncodeFreq(text, field, band, portable);
      if (code < 0) continue;
      image_.write(at, field, 4);
      image_.setU8(offset_ + static_cast<size_t>(slot) * kSlotSize + 8 + which, static_cast<uint8_t>(code));
    }
  }
}

int CFreqPairTable::AnyPairSet(const std::function<void()>& loadDefaults) {
  for (int slot = 0; slot < slots_; ++slot)
    if (IsPairFreqSet(slot, 0)) return 1;
  if (loadDefaults) loadDefaults();
  return 0;
}

}  // namespace vb420
