// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between image bytes and texts that depend on nothing but the
// bytes: tone words, names, digit strings, numeric entry and spin rules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vb420 {

class TextTable;

constexpr int kToneListRows = 206;   // off, 39 QT, 83 DQT N, 83 DQT I
constexpr int kQtToneCount = 39;
constexpr int kDqtCodeCount = 83;
extern const char* const kQtTones[kQtToneCount];  // "67.0", "69.3", ...
extern const int kDqtCodes[kDqtCodeCount];         // octal digits as decimal: 23, 25, ... 754

class CFieldCodec {
 public:
  // The texts of the off value come from the text table (entry 362).
  explicit CFieldCodec(TextTable* text = nullptr) : text_(text) {}
  virtual ~CFieldCodec() = default;

  void SetTextTable(TextTable* text) { text_ = text; }
  void SetDecimalSeparator(char sep) { decimalSeparator_ = sep; }
  char DecimalSeparator() const { return decimalSeparator_; }
  // Second-generation models take only the restricted name character set.
  void SetSecondGeneration(bool on) { secondGen_ = on; }
  bool SecondGeneration() const { return secondGen_; }

  // --- tones -------------------------------------------------------------
  std::string NormalizeToneText(const std::string& text) const;
  void ToneToText(uint16_t word, std::string& out) const;
  std::string ToneToText(uint16_t word) const {
    std::string s;
    ToneToText(word, s);
    return s;
  }
  uint16_t TextToTone(const std::string& text) const;
  std::string ToneListText(int row) const;
  // The tone-list row a typed text names exactly, -1 when it names none: an
  // off text (any of `offTexts`, in any case), a listed tone ("67", "67.0",
  // "67,0" with the decimal separator) or a listed code ("D023", "d023n",
  // "D023I"). Surrounding blanks are ignored; an empty text names no row.
  // Unlike TextToTone, nothing is forced into range.
  int ToneChoiceRow(const std::string& typed, const std::vector<std::string>& offTexts) const;
  // Row of a tone word in the tone list, -1 when it is not a list row.
  static int ToneListRow(uint16_t word);
  static uint16_t ToneListWord(int row);

  // --- names -------------------------------------------------------------
  // Stores a typed name into a field of `width` bytes (zero padded, no
  // terminator when full; all blanks become an all-zero field).
  void NormalizeName(uint8_t* field, int width, const std::string& typed) const;
  // Reads a name field back with trailing spaces trimmed; it ends at a zero
  // byte or at 0xFF (an unset field shows as empty).
  static std::string NameFromField(const uint8_t* field, int width);
  static std::string FilterNameChars(const std::string& text);
  static bool IsNameChar(char c);
  static void IsBlank(uint8_t* buf, int length, uint8_t fill, uint8_t blankChar);
  static void TrimTrailingSpaces(char* buf, int length);
  static void ReplaceByte(uint8_t* buf, int length, uint8_t from, uint8_t to);

  // --- digit strings -----------------------------------------------------
  static int PackDigits(uint8_t* field, const std::string& text, int fieldBytes, bool dtmfMode);
  // `fieldBytes`, when given, bounds the count (it comes from the image and may
  // be damaged).
  static std::string UnpackDigits(const uint8_t* field, int count, bool dtmfMode, int fieldBytes = -1);
  static uint8_t DtmfCharToCode(char c);  // 0xFF when not allowed
  static uint8_t HexCharToCode(char c);
  static char DtmfCodeToChar(uint8_t code);
  static char HexCodeToChar(uint8_t code);

  // --- numeric entry and spin rules ---------------------------------------
  static int ClampIntText(std::string& text, int maximum, int minimum, int step);
  static double ClampDecimalText(std::string& text, double maximum, double minimum, double step);
  static int Spin(int value, int maximum, int minimum, int step, int direction);
  static int SpinWithOff(int value, int maximum, int minimum, int step, int offValue, int direction);
  static int SpinInList(int key, const int* list, int count, int direction);
  static int SnapToTable(int& value, const int* table, int count);
  static int LookupPaired(int key, const int* values, const int* keys, int count);
  static int Cycle(int value, int count, bool backwards);
  static int IndexOfKey(int key, const int* keys, int count);

  // --- locale ---------------------------------------------------------------
  std::string LocalizeDecimal(const std::string& text) const;
  // Turns the locale's separator back into "." before a text is parsed.
  std::string DelocalizeDecimal(const std::string& text) const;

 private:
  TextTable* text_ = nullptr;
  char decimalSeparator_ = '.';
  bool secondGen_ = false;
};

}  // namespace vb420
