// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/FieldCodec.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "data/DecimalText.h"
#include "lang/TextTable.h"

namespace vb420 {

const char* const kQtTones[kQtToneCount] = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "162.2", "167.9", "173.8", "179.9",
    "186.2", "192.8", "203.5", "210.7", "218.1", "225.7", "233.6", "241.8", "250.3"};

const int kDqtCodes[kDqtCodeCount] = {
    23,  25,  26,  31,  32,  43,  47,  51,  54,  65,  71,  72,  73,  74,  114, 115, 116,
    125, 131, 132, 134, 143, 152, 155, 156, 162, 165, 172, 174, 205, 223, 226, 243, 244,
    245, 251, 261, 263, 265, 271, 306, 311, 315, 331, 343, 346, 351, 364, 365, 371, 411,
    412, 413, 423, 431, 432, 445, 464, 465, 466, 503, 506, 516, 532, 546, 565, 606, 612,
    624, 627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};

namespace {

constexpr int kOffTextEntry = 362;
constexpr uint16_t kToneOff = 0xFFFF;
constexpr uint16_t kDqtFlag = 1u << 13;
constexpr uint16_t kDqtMarker = 1u << 11;
constexpr uint16_t kDqtInverted = 1u << 15;
constexpr uint16_t kDqtCodeBits = (1u << 9) - 1;  // three octal digits
constexpr int kQtMin = 670;   // 67.0 Hz
constexpr int kQtMax = 2541;  // 254.1 Hz

// Three octal digits written as a decimal number (754) to their value.
int OctalDigitsValue(int code) { return (code / 100) * 64 + (code / 10 % 10) * 8 + code % 10; }

std::string TenthsText(int tenths) { return FormatScaled(tenths, 1); }

bool IsDqtText(const std::string& t) { return !t.empty() && (t[0] == 'D' || t[0] == 'd'); }

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

// --- tones -------------------------------------------------------------------

std::string CFieldCodec::NormalizeToneText(const std::string& text) const {
  if (text.empty()) return text;
  if (IsDqtText(text)) {
    // "D" and three octal digits; a missing or out-of-range digit is forced
    // into 0..7, and anything but "I" in the polarity position means normal.
    std::string out = "D";
    for (size_t i = 1; i <= 3; ++i) {
      char c = i < text.size() ? text[i] : '\0';
      if (c < '0') c = '0';
      if (c > '7') c = '7';
      out += c;
    }
    const char pol = text.size() > 4 ? ToUpperAscii(text[4]) : '\0';
    out += pol == 'I' ? 'I' : 'N';
    return out;
  }
  const DecimalText d = ParseDecimalText(text, decimalSeparator_);
  int64_t tenths = ScaledDecimal(d, 1, false);
  tenths = std::clamp<int64_t>(tenths, kQtMin, kQtMax);
  return TenthsText(static_cast<int>(tenths));
}

void CFieldCodec::ToneToText(uint16_t word, std::string& out) const {
  if (word == kToneOff) {
    out = text_ ? text_->Text(kOffTextEntry) : std::string("off");
    return;
  }
  if (!(word & kDqtFlag)) {
    out = LocalizeDecimal(TenthsText(word));
    return;
  }
  const int octal = word & kDqtCodeBits;
  const char dqt[] = {'D', static_cast<char>('0' + ((octal >> 6) & 7)), static_cast<char>('0' + ((octal >> 3) & 7)),
                      static_cast<char>('0' + (octal & 7)), (word & kDqtInverted) ? 'I' : 'N'};
  out.assign(dqt, sizeof dqt);
}

uint16_t CFieldCodec::TextToTone(const std::string& text) const {
  const std::string off = text_ ? text_->Text(kOffTextEntry) : std::string("off");
  if (text.empty() || text == off) return kToneOff;
  const std::string t = NormalizeToneText(text);
  if (t.empty()) return kToneOff;
  if (t[0] == 'D') {
    uint16_t word = kDqtMarker + ((t[1] - '0') * 64 + (t[2] - '0') * 8 + (t[3] - '0'));
    word |= kDqtFlag;
    if (t[4] == 'I') word |= kDqtInverted;
    return word;
  }
  // The normalised text has one decimal, so half-up rounding is exact here.
  return static_cast<uint16_t>(ScaledDecimal(ParseDecimalText(t), 1, true));
}

int CFieldCodec::ToneChoiceRow(const std::string& typed, const std::vector<std::string>& offTexts) const {
  size_t a = 0, b = typed.size();
  while (a < b && (typed[a] == ' ' || typed[a] == '\t')) ++a;
  while (b > a && (typed[b - 1] == ' ' || typed[b - 1] == '\t')) --b;
  const std::string t = typed.substr(a, b - a);
  if (t.empty()) return -1;
  std::string upper = t;
  std::transform(upper.begin(), upper.end(), upper.begin(), ToUpperAscii);
  for (const std::string& off : offTexts) {
    std::string o = off;
    std::transform(o.begin(), o.end(), o.begin(), ToUpperAscii);
    if (!o.empty() && o == upper) return 0;
  }
  if (upper[0] == 'D') {
    // "D", three octal digits, and N or I (N when left out).
    if (upper.size() != 4 && upper.size() != 5) return -1;
    for (size_t i = 1; i <= 3; ++i)
      if (upper[i] < '0' || upper[i] > '7') return -1;
    if (upper.size() == 5 && upper[4] != 'N' && upper[4] != 'I') return -1;
    const int code = (upper[1] - '0') * 100 + (upper[2] - '0') * 10 + (upper[3] - '0');
    for (int i = 0; i < kDqtCodeCount; ++i)
      if (kDqtCodes[i] == code) return 1 + kQtToneCount + i + (upper.size() == 5 && upper[4] == 'I' ? kDqtCodeCount : 0);
    return -1;
  }
  // A number: digits with at most one separator and nothing else.
  size_t separators = 0;
  for (char c : t) {
    if (c == '.' || c == decimalSeparator_) ++separators;
    else if (c < '0' || c > '9') return -1;
  }
  if (separators > 1) return -1;
  const DecimalText d = ParseDecimalText(t, decimalSeparator_);
  if (!d.hasDigits) return -1;
  // Digits beyond the tenths must all be zero ("67.00" is 67.0, "67.05" is no tone).
  if (d.fracDigits.size() > 1 && d.fracDigits.find_first_not_of('0', 1) != std::string::npos) return -1;
  const int64_t tenths = ScaledDecimal(d, 1, false);
  for (int i = 0; i < kQtToneCount; ++i)
    if (ScaledDecimal(ParseDecimalText(kQtTones[i]), 1, false) == tenths) return 1 + i;
  return -1;
}

std::string CFieldCodec::ToneListText(int row) const {
  if (row < 0 || row >= kToneListRows) return {};
  if (row == 0) return text_ ? text_->Text(kOffTextEntry) : std::string("off");
  std::string s;
  ToneToText(ToneListWord(row), s);
  return s;
}

uint16_t CFieldCodec::ToneListWord(int row) {
  if (row <= 0 || row >= kToneListRows) return kToneOff;
  if (row <= kQtToneCount)
    return static_cast<uint16_t>(ScaledDecimal(ParseDecimalText(kQtTones[row - 1]), 1, true));
  const int dqt = row - 1 - kQtToneCount;
  const bool inverted = dqt >= kDqtCodeCount;
  uint16_t word = static_cast<uint16_t>(kDqtMarker | kDqtFlag | OctalDigitsValue(kDqtCodes[dqt % kDqtCodeCount]));
  if (inverted) word |= kDqtInverted;
  return word;
}

int CFieldCodec::ToneListRow(uint16_t word) {
  for (int row = 0; row < kToneListRows; ++row)
    if (ToneListWord(row) == word) return row;
  return -1;
}

// --- names -------------------------------------------------------------------

bool CFieldCodec::IsNameChar(char c) {
  if (c >= 'A' && c <= 'Z') return true;
  if (c >= '0' && c <= '9') return true;
  return std::strchr(" #$%()*+,-/=\\_@", c) != nullptr && c != '\0';
}

std::string CFieldCodec::FilterNameChars(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c != '\0' && !IsNameChar(c)) c = ' ';
  return out;
}

void CFieldCodec::NormalizeName(uint8_t* field, int width, const std::string& typed) const {
  if (!field || width <= 0) return;
  std::vector<char> work(static_cast<size_t>(width) + 1, '\0');
  // The caller limits the length; a longer text is cut at the field width
  // rather than written past it.
  const size_t n = std::min(typed.size(), static_cast<size_t>(width));
  std::memcpy(work.data(), typed.data(), n);
  if (secondGen_) {
    for (size_t i = 0; i < n; ++i) work[i] = ToUpperAscii(work[i]);
    const std::string filtered = FilterNameChars(std::string(work.data(), n));
    std::memcpy(work.data(), filtered.data(), n);
  }
  IsBlank(reinterpret_cast<uint8_t*>(work.data()), width, 0x00, 0x00);
  TrimTrailingSpaces(work.data(), width);
  std::memset(field, 0, static_cast<size_t>(width));
  std::memcpy(field, work.data(), std::strlen(work.data()));
}

std::string CFieldCodec::NameFromField(const uint8_t* field, int width) {
  if (!field || width <= 0) return {};
  std::vector<char> work(static_cast<size_t>(width) + 1, '\0');
  // A name ends at its first zero byte, and 0xFF is the byte of a field
  // never written (an unused list row): neither is part of the name.
  for (int i = 0; i < width && field[i] != 0x00 && field[i] != 0xFF; ++i)
    work[static_cast<size_t>(i)] = static_cast<char>(field[i]);
  TrimTrailingSpaces(work.data(), width);
  return std::string(work.data());
}

void CFieldCodec::IsBlank(uint8_t* buf, int length, uint8_t fill, uint8_t blankChar) {
  if (!buf || length <= 0) return;
  if (buf[0] == 0) std::memset(buf, 0, static_cast<size_t>(length));
  for (int i = 0; i < length; ++i)
    if (buf[i] != ' ' && buf[i] != blankChar) return;
  std::memset(buf, fill, static_cast<size_t>(length));
}

void CFieldCodec::TrimTrailingSpaces(char* buf, int length) {
  if (!buf || length <= 0) return;
  int end = 0;
  while (end < length && buf[end] != '\0') ++end;
  int cut = end;
  while (cut > 0 && buf[cut - 1] == ' ') --cut;
  for (int i = cut; i < end; ++i) buf[i] = '\0';
}

void CFieldCodec::ReplaceByte(uint8_t* buf, int length, uint8_t from, uint8_t to) {
  if (!buf) return;
  for (int i = 0; i < length; ++i)
    if (buf[i] == from) buf[i] = to;
}

// --- digit strings -------------------------------------------------------------

uint8_t CFieldCodec::DtmfCharToCode(char c) {
  c = ToUpperAscii(c);
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'D') return static_cast<uint8_t>(c - 'A' + 10);
  if (c == '*') return 14;
  if (c == '#') return 15;
  return 0xFF;
}

uint8_t CFieldCodec::HexCharToCode(char c) {
  c = ToUpperAscii(c);
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
  return 0xFF;
}

char CFieldCodec::DtmfCodeToChar(uint8_t code) {
  if (code <= 9) return static_cast<char>('0' + code);
  if (code <= 13) return static_cast<char>('A' + code - 10);
  if (code == 14) return '*';
  if (code == 15) return '#';
  return static_cast<char>(code);
}

char CFieldCodec::HexCodeToChar(uint8_t code) {
  if (code <= 9) return static_cast<char>('0' + code);
  if (code <= 15) return static_cast<char>('A' + code - 10);
  return static_cast<char>(code);
}

int CFieldCodec::PackDigits(uint8_t* field, const std::string& text, int fieldBytes, bool dtmfMode) {
  if (!field || fieldBytes <= 0) return 0;
  std::memset(field, 0xFF, static_cast<size_t>(fieldBytes));
  const int capacity = 2 * fieldBytes;
  int packed = 0;
  for (char c : text) {
    if (packed >= capacity) break;
    const uint8_t code = dtmfMode ? DtmfCharToCode(c) : HexCharToCode(c);
    // A character with no digit code would otherwise end up as nibble 0xF,
    // which reads back as "#" or "F"; it is left out instead.
    if (code == 0xFF) continue;
    uint8_t& b = field[packed / 2];
    if (packed % 2 == 0) b = static_cast<uint8_t>((b & 0xF0) | code);
    else b = static_cast<uint8_t>((b & 0x0F) | (code << 4));
    ++packed;
  }
  return packed;
}

std::string CFieldCodec::UnpackDigits(const uint8_t* field, int count, bool dtmfMode, int fieldBytes) {
  if (!field || count <= 0) return {};
  // The count is kept in the image beside the digits and may be damaged.
  if (fieldBytes >= 0) count = std::min(count, 2 * fieldBytes);
  std::string out;
  out.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const uint8_t b = field[i / 2];
    const uint8_t code = (i % 2 == 0) ? (b & 0x0F) : (b >> 4);
    out += dtmfMode ? DtmfCodeToChar(code) : HexCodeToChar(code);
  }
  return out;
}

// --- numeric entry and spin rules ---------------------------------------------

int CFieldCodec::ClampIntText(std::string& text, int maximum, int minimum, int step) {
  const int64_t parsed = ScaledDecimal(ParseDecimalText(text), 0, false);
  int value = static_cast<int>(std::clamp<int64_t>(parsed, INT32_MIN, INT32_MAX));
  if (maximum < minimum) return value;
  value = std::clamp(value, minimum, maximum);
  if (step > 0 && value % step != 0) value = value / step * step;
  text = std::to_string(value);
  return value;
}

double CFieldCodec::ClampDecimalText(std::string& text, double maximum, double minimum, double step) {
  int p = 0;
  double scale = 1.0;
  // Decimals enough to make the step a whole number (capped for a zero step).
  while (p < 9 && step * scale < 1.0 - 1e-9) {
    ++p;
    scale *= 10.0;
  }
  const DecimalText d = ParseDecimalText(text, ',');
  // Two more decimals than shown, to apply the +0.01 guard exactly.
  const int64_t fine = ScaledDecimal(d, p + 2, false);
  const double typed = static_cast<double>(fine) / (scale * 100.0);
  if (maximum < minimum) return typed;

  const int64_t maxFine = std::llround(maximum * scale * 100.0);
  const int64_t minFine = std::llround(minimum * scale * 100.0);
  const int64_t clamped = std::clamp(fine, minFine, maxFine);
  // (int)(value * 10^p + 0.01): towards zero after the small guard. The guard
  // works on the magnitude, so that -5.0 stays -5.0 instead of becoming -4.9.
  int64_t scaled = clamped >= 0 ? (clamped + 1) / 100 : -((-clamped + 1) / 100);
  const int64_t stepScaled = static_cast<int64_t>(step * scale + 0.01);
  if (stepScaled > 0) scaled = scaled / stepScaled * stepScaled;
  text = FormatScaled(scaled, p);
  return static_cast<double>(scaled) / scale;
}

int CFieldCodec::Spin(int value, int maximum, int minimum, int step, int direction) {
  if (direction > 0) return (minimum <= value && value < maximum) ? value + step : minimum;
  if (direction < 0) return (minimum < value && value <= maximum) ? value - step : maximum;
  return value;
}

int CFieldCodec::SpinWithOff(int value, int maximum, int minimum, int step, int offValue, int direction) {
  if (direction > 0) {
    if (value == offValue) return minimum;
    if (value == maximum) return offValue;
    if (minimum <= value && value < maximum) return value + step;
    return minimum;
  }
  if (direction < 0) {
    if (value == offValue) return maximum;
    if (value == minimum) return offValue;
    if (minimum < value && value <= maximum) return value - step;
    return maximum;
  }
  return value;
}

int CFieldCodec::SpinInList(int key, const int* list, int count, int direction) {
  if (!list || count <= 0) return -1;
  int pos = IndexOfKey(key, list, count);
  return Spin(pos, count - 1, 0, 1, direction);
}

int CFieldCodec::SnapToTable(int& value, const int* table, int count) {
  if (!table || count <= 0) return -1;
  for (int i = 0; i + 1 < count; ++i) {
    if (value < table[i + 1]) {
      value = table[i];
      return i;
    }
  }
  value = table[count - 1];
  return count - 1;
}

int CFieldCodec::LookupPaired(int key, const int* values, const int* keys, int count) {
  if (!values || !keys) return -1;
  for (int i = 0; i < count; ++i)
    if (keys[i] == key) return values[i];
  return -1;
}

int CFieldCodec::Cycle(int value, int count, bool backwards) {
  if (count < 2) return value;
  if (count == 2) return value == 0 ? 1 : 0;
  const int next = backwards ? value - 1 : value + 1;
  return ((next % count) + count) % count;
}

int CFieldCodec::IndexOfKey(int key, const int* keys, int count) {
  if (!keys || count <= 0) return count < 0 ? 0 : count;
  for (int i = 0; i < count; ++i)
    if (keys[i] == key) return i;
  return count;
}

// --- locale --------------------------------------------------------------------

std::string CFieldCodec::LocalizeDecimal(const std::string& text) const {
  std::string out = text;
  std::replace(out.begin(), out.end(), '.', decimalSeparator_);
  return out;
}

std::string CFieldCodec::DelocalizeDecimal(const std::string& text) const {
  std::string out = text;
  if (decimalSeparator_ != '.') std::replace(out.begin(), out.end(), decimalSeparator_, '.');
  return out;
}

}  // namespace vb420
