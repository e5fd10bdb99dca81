// SPDX-License-Identifier: GPL-3.0-or-later
// Decimal numbers typed by the user, read digit by digit so that the stored
// value never depends on binary rounding or on the C library's locale (a Qt
// program runs with the user's LC_NUMERIC, where strtod may expect ",").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vb420 {

struct DecimalText {
  bool negative = false;
  bool hasDigits = false;   // at least one digit before or after the point
  std::string intDigits;    // leading zeros removed
  std::string fracDigits;   // as typed
};

// Reads the number at the start of `text` the way atof does: leading blanks,
// an optional sign, digits, one decimal point ("." or `separator`), digits.
// Anything after that is ignored. No digits at all reads as zero.
inline DecimalText ParseDecimalText(std::string_view text, char separator = '.') {
  DecimalText d;
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    d.negative = text[i] == '-';
    ++i;
  }
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    if (!(d.intDigits.empty() && text[i] == '0')) d.intDigits.push_back(text[i]);
    d.hasDigits = true;
    ++i;
  }
  if (i < text.size() && (text[i] == '.' || text[i] == separator)) {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      d.fracDigits.push_back(text[i]);
      d.hasDigits = true;
      ++i;
    }
  }
  return d;
}

// Largest magnitude ScaledDecimal answers; beyond it the value saturates, so
// that an absurdly long number cannot overflow.
constexpr int64_t kDecimalSaturation = 100000000000000000LL;  // 1e17

// The number in units of 10^-decimals, towards zero or, with `roundHalfUp`,
// rounded as floor(|x| * 10^decimals + 0.5) would round it. Signed.
inline int64_t ScaledDecimal(const DecimalText& d, int decimals, bool roundHalfUp) {
  int64_t v = 0;
  auto push = [&v](char c) {
    if (v >= kDecimalSaturation / 10) {
      v = kDecimalSaturation;
      return;
    }
    v = v * 10 + (c - '0');
  };
  for (char c : d.intDigits) push(c);
  for (int k = 0; k < decimals; ++k) push(k < static_cast<int>(d.fracDigits.size()) ? d.fracDigits[k] : '0');
  if (roundHalfUp && decimals < static_cast<int>(d.fracDigits.size()) && d.fracDigits[decimals] >= '5' &&
      v < kDecimalSaturation)
    ++v;
  return d.negative ? -v : v;
}

inline bool IsZeroDecimal(const DecimalText& d) {
  if (!d.intDigits.empty()) return false;
  for (char c : d.fracDigits)
    if (c != '0') return false;
  return true;
}

// A scaled value printed with `decimals` digits after "." ("%.*f" without the
// locale): FormatScaled(14652000, 5) is "146.52000".
inline std::string FormatScaled(int64_t scaled, int decimals) {
  const bool negative = scaled < 0;
  uint64_t mag = negative ? static_cast<uint64_t>(-(scaled + 1)) + 1 : static_cast<uint64_t>(scaled);
  std::string digits = std::to_string(mag);
  if (static_cast<int>(digits.size()) <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
  std::string out = negative ? "-" : "";
  out += digits.substr(0, digits.size() - decimals);
  if (decimals > 0) {
    out += '.';
    out += digits.substr(digits.size() - decimals);
  }
  return out;
}

}  // namespace vb420
