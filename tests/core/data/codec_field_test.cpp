// SPDX-License-Identifier: GPL-3.0-or-later
// Field codec: tone words and the tone list, names, digit strings, numeric
// entry and spin rules, the decimal separator, and the comma-separated text
// reader and writer.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "data/FieldCodec.h"
#include "lang/DelimitedText.h"
#include "lang/TextTable.h"

namespace vb420 {
namespace {

// A complete language file whose entry 362 (the "off" text) is "Off"/"Apagado".
std::string LanguageFile() {
  std::string f = "*Language,English,Spanish\n";
  for (int i = 0; i < TextTable::kEntryCount; ++i) {
    const std::string n = std::to_string(i);
    f += "^#" + TextTable::IdentifierOf(i) + "," + (i == 362 ? "Off,Apagado" : "E" + n + ",S" + n) + "\n";
  }
  return f;
}

// --- tones -------------------------------------------------------------------

TEST(ToneWords, TypedTextsToWords) {
  CFieldCodec c;
  EXPECT_EQ(c.TextToTone("D754"), 0x29EC);
  EXPECT_EQ(c.TextToTone("D754N"), 0x29EC);
  EXPECT_EQ(c.TextToTone("D754I"), 0xA9EC);
  EXPECT_EQ(c.TextToTone("D023N"), 0x2813);
  EXPECT_EQ(c.TextToTone("D023I"), 0xA813);
  EXPECT_EQ(c.TextToTone("250.3"), 2503);
  EXPECT_EQ(c.TextToTone("250.3"), 0x09C7);
  EXPECT_EQ(c.TextToTone("300"), 2541);
  EXPECT_EQ(c.TextToTone("50"), 670);
  EXPECT_EQ(c.TextToTone("67"), 670);
  EXPECT_EQ(c.TextToTone("100.09"), 1000);  // tenths are cut, not rounded
  EXPECT_EQ(c.TextToTone("-5"), 670);
  EXPECT_EQ(c.TextToTone("off"), 0xFFFF);
  EXPECT_EQ(c.TextToTone(""), 0xFFFF);
}

TEST(ToneWords, OffTextComesFromTheTextTable) {
  TextTable t;
  ASSERT_EQ(t.LoadText(LanguageFile(), "English"), TextTable::LoadResult::Ok);
  CFieldCodec c(&t);
  EXPECT_EQ(c.TextToTone("Off"), 0xFFFF);
  EXPECT_EQ(c.ToneToText(0xFFFF), "Off");
  EXPECT_EQ(c.ToneListText(0), "Off");
  // Any other spelling is not the off text and is forced into a tone.
  EXPECT_EQ(c.TextToTone("OFF"), 670);
  ASSERT_EQ(t.LoadText(LanguageFile(), "Spanish"), TextTable::LoadResult::Ok);
  EXPECT_EQ(c.TextToTone("Apagado"), 0xFFFF);
  EXPECT_EQ(c.ToneToText(0xFFFF), "Apagado");
}

TEST(ToneWords, NormalisationOfTypedTexts) {
  CFieldCodec c;
  EXPECT_EQ(c.NormalizeToneText(""), "");
  EXPECT_EQ(c.NormalizeToneText("D2"), "D200N");
  EXPECT_EQ(c.NormalizeToneText("D029"), "D027N");
  EXPECT_EQ(c.NormalizeToneText("D"), "D000N");
  EXPECT_EQ(c.NormalizeToneText("D7x9I"), "D777I");  // "x" and "9" are above "7"
  EXPECT_EQ(c.NormalizeToneText("D1-3Q"), "D103N");   // '-' is below '0'
  EXPECT_EQ(c.NormalizeToneText("D123I99"), "D123I");
  EXPECT_EQ(c.NormalizeToneText("d754i"), "D754I");
  EXPECT_EQ(c.NormalizeToneText("88.57"), "88.5");
  EXPECT_EQ(c.NormalizeToneText("300"), "254.1");
  EXPECT_EQ(c.NormalizeToneText("abc"), "67.0");
}

TEST(ToneWords, WordsToTexts) {
  CFieldCodec c;
  EXPECT_EQ(c.ToneToText(670), "67.0");
  EXPECT_EQ(c.ToneToText(2503), "250.3");
  EXPECT_EQ(c.ToneToText(0x29EC), "D754N");
  EXPECT_EQ(c.ToneToText(0xA9EC), "D754I");
  EXPECT_EQ(c.ToneToText(0xFFFF), "off");
  // A word that is no list row still shows what it holds.
  EXPECT_EQ(c.ToneToText(1234), "123.4");
  EXPECT_EQ(c.ToneToText(0x2801), "D001N");
}

TEST(ToneWords, DecimalSeparatorChangesTextsNotWords) {
  CFieldCodec c;
  c.SetDecimalSeparator(',');
  EXPECT_EQ(c.ToneToText(2503), "250,3");
  EXPECT_EQ(c.ToneListText(39), "250,3");
  EXPECT_EQ(c.TextToTone("250,3"), 2503);
  EXPECT_EQ(c.TextToTone("250.3"), 2503);
  EXPECT_EQ(c.ToneToText(0x29EC), "D754N");
  EXPECT_EQ(c.LocalizeDecimal("146.52000"), "146,52000");
  EXPECT_EQ(c.DelocalizeDecimal("146,52000"), "146.52000");
}

TEST(ToneList, EveryRowRoundTrips) {
  CFieldCodec c;
  std::set<uint16_t> words;
  for (int row = 0; row < kToneListRows; ++row) {
    const std::string text = c.ToneListText(row);
    const uint16_t word = c.TextToTone(text);
    EXPECT_EQ(word, CFieldCodec::ToneListWord(row)) << row;
    EXPECT_EQ(c.ToneToText(word), text) << row;
    EXPECT_EQ(CFieldCodec::ToneListRow(word), row) << row;
    words.insert(word);
  }
  EXPECT_EQ(words.size(), static_cast<size_t>(kToneListRows));
  EXPECT_EQ(c.ToneListText(1), "67.0");
  EXPECT_EQ(c.ToneListText(2), "69.3");
  EXPECT_EQ(c.ToneListText(40), "D023N");
  EXPECT_EQ(c.ToneListText(122), "D754N");
  EXPECT_EQ(c.ToneListText(123), "D023I");
  EXPECT_EQ(c.ToneListText(205), "D754I");
  EXPECT_EQ(c.ToneListText(206), "");
  EXPECT_EQ(c.ToneListText(-1), "");
  EXPECT_EQ(CFieldCodec::ToneListRow(1234), -1);
}

TEST(ToneList, TypedChoiceNamesARowExactlyOrNone) {
  CFieldCodec c;
  const std::vector<std::string> offs = {"Off", "Desactivado"};
  // The off text in any case and either language.
  for (const char* t : {"Off", "off", "OFF", " oFf ", "desactivado", "DESACTIVADO"}) EXPECT_EQ(c.ToneChoiceRow(t, offs), 0) << t;
  // Listed tones, however written; codes with or without their polarity.
  EXPECT_EQ(c.ToneChoiceRow("67", offs), 1);
  EXPECT_EQ(c.ToneChoiceRow("67.0", offs), 1);
  EXPECT_EQ(c.ToneChoiceRow("67.00", offs), 1);
  EXPECT_EQ(c.ToneChoiceRow("250.3", offs), 39);
  EXPECT_EQ(c.ToneChoiceRow("d023", offs), 40);
  EXPECT_EQ(c.ToneChoiceRow("D023N", offs), 40);
  EXPECT_EQ(c.ToneChoiceRow("d754i", offs), 205);
  // Every row's own text names that row.
  for (int row = 0; row < kToneListRows; ++row) EXPECT_EQ(c.ToneChoiceRow(c.ToneListText(row), {"off"}), row) << row;
  // Nothing is forced into a tone: these stored 67.0 or a clamped tone before.
  for (const char* t : {"", "xyz", "offf", "O", "100.5", "67.05", "300", "66.9", "0", "-67", "67.0.0", "D024", "D02",
                        "D0233", "D023X", "D8", "1e2"})
    EXPECT_EQ(c.ToneChoiceRow(t, offs), -1) << t;
  // The decimal separator of the texts is taken too.
  c.SetDecimalSeparator(',');
  EXPECT_EQ(c.ToneChoiceRow("71,9", offs), 3);
  EXPECT_EQ(c.ToneChoiceRow("71.9", offs), 3);
}

// --- names -------------------------------------------------------------------

std::vector<uint8_t> StoreName(const CFieldCodec& c, int width, const std::string& typed) {
  std::vector<uint8_t> field(width + 2, 0xEE);  // two guard bytes after the field
  c.NormalizeName(field.data(), width, typed);
  return field;
}

TEST(Names, BlanksTrailingSpacesAndPadding) {
  CFieldCodec c;
  EXPECT_EQ(StoreName(c, 8, "   "), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0xEE, 0xEE}));
  EXPECT_EQ(StoreName(c, 8, ""), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0xEE, 0xEE}));
  EXPECT_EQ(StoreName(c, 8, "AB  "), (std::vector<uint8_t>{'A', 'B', 0, 0, 0, 0, 0, 0, 0xEE, 0xEE}));
  EXPECT_EQ(StoreName(c, 8, " A B "), (std::vector<uint8_t>{' ', 'A', ' ', 'B', 0, 0, 0, 0, 0xEE, 0xEE}));
  // A full name has no terminator; a longer one is cut at the field.
  EXPECT_EQ(StoreName(c, 4, "ZONE"), (std::vector<uint8_t>{'Z', 'O', 'N', 'E', 0xEE, 0xEE}));
  EXPECT_EQ(StoreName(c, 4, "ZONE12"), (std::vector<uint8_t>{'Z', 'O', 'N', 'E', 0xEE, 0xEE}));
  // First-generation models keep any character.
  EXPECT_EQ(StoreName(c, 4, "ab!c"), (std::vector<uint8_t>{'a', 'b', '!', 'c', 0xEE, 0xEE}));
}

TEST(Names, SecondGenerationCharacterSet) {
  CFieldCodec c;
  c.SetSecondGeneration(true);
  EXPECT_EQ(StoreName(c, 8, "ab!c"), (std::vector<uint8_t>{'A', 'B', ' ', 'C', 0, 0, 0, 0, 0xEE, 0xEE}));
  EXPECT_EQ(StoreName(c, 8, "x~~"), (std::vector<uint8_t>{'X', 0, 0, 0, 0, 0, 0, 0, 0xEE, 0xEE}));
  // Nothing but filtered characters is a blank name.
  EXPECT_EQ(StoreName(c, 8, "!?"), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0xEE, 0xEE}));
  const std::string allowed = "AZ09 #$%()*+,-/=\\_@";
  EXPECT_EQ(CFieldCodec::FilterNameChars(allowed), allowed);
  EXPECT_EQ(CFieldCodec::FilterNameChars("a.b:c\xE9"), "      ");
}

TEST(Names, ReadingBack) {
  const uint8_t full[8] = {'C', 'H', 'A', 'N', 'N', 'E', 'L', '1'};
  EXPECT_EQ(CFieldCodec::NameFromField(full, 8), "CHANNEL1");
  const uint8_t padded[12] = {'B', 'A', 'S', 'E', ' ', ' ', 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(CFieldCodec::NameFromField(padded, 12), "BASE");
  // A 12-character field read as 8 characters (second generation).
  const uint8_t longer[12] = {'D', 'I', 'S', 'P', 'A', 'T', 'C', 'H', 'E', 'R', 'S', '1'};
  EXPECT_EQ(CFieldCodec::NameFromField(longer, 8), "DISPATCH");
  // A field never written (0xFF, an unused list row) is no name.
  const uint8_t unset[12] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(CFieldCodec::NameFromField(unset, 12), "");
  const uint8_t tail[12] = {'A', 'B', ' ', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(CFieldCodec::NameFromField(tail, 12), "AB");
}

TEST(Names, BlankTrimAndReplaceHelpers) {
  uint8_t spaces[4] = {' ', '_', ' ', '_'};
  CFieldCodec::IsBlank(spaces, 4, 0xFF, '_');
  EXPECT_EQ(std::vector<uint8_t>(spaces, spaces + 4), std::vector<uint8_t>(4, 0xFF));
  uint8_t leadingZero[4] = {0, 'A', 'B', 'C'};
  CFieldCodec::IsBlank(leadingZero, 4, 0x20, 0x00);
  EXPECT_EQ(std::vector<uint8_t>(leadingZero, leadingZero + 4), std::vector<uint8_t>(4, 0x20));
  uint8_t text[4] = {' ', 'A', ' ', ' '};
  CFieldCodec::IsBlank(text, 4, 0x00, 0x00);
  EXPECT_EQ(std::vector<uint8_t>(text, text + 4), (std::vector<uint8_t>{' ', 'A', ' ', ' '}));

  char trim[8] = {'A', ' ', 'B', ' ', ' ', 0, 'X', 0};
  CFieldCodec::TrimTrailingSpaces(trim, 8);
  EXPECT_EQ(std::string(trim, 8), std::string("A B\0\0\0X\0", 8));

  uint8_t r[5] = {0xFF, 1, 0xFF, 2, 0xFF};
  CFieldCodec::ReplaceByte(r, 5, 0xFF, 0x00);
  EXPECT_EQ(std::vector<uint8_t>(r, r + 5), (std::vector<uint8_t>{0, 1, 0, 2, 0}));
}

// --- digit strings -------------------------------------------------------------

TEST(Digits, DtmfPackingNibbleOrder) {
  uint8_t f[4];
  EXPECT_EQ(CFieldCodec::PackDigits(f, "12*#A", 4, true), 5);
  EXPECT_EQ(std::vector<uint8_t>(f, f + 4), (std::vector<uint8_t>{0x21, 0xFE, 0xFA, 0xFF}));
  EXPECT_EQ(CFieldCodec::UnpackDigits(f, 5, true), "12*#A");
  // The text is cut at two characters a byte.
  EXPECT_EQ(CFieldCodec::PackDigits(f, "0123456789", 2, true), 4);
  EXPECT_EQ(std::vector<uint8_t>(f, f + 4), (std::vector<uint8_t>{0x10, 0x32, 0xFA, 0xFF}));
  EXPECT_EQ(CFieldCodec::UnpackDigits(f, 4, true), "0123");
}

TEST(Digits, HexPackingAndModeDifferences) {
  uint8_t f[3];
  EXPECT_EQ(CFieldCodec::PackDigits(f, "0F9E", 3, false), 4);
  EXPECT_EQ(std::vector<uint8_t>(f, f + 3), (std::vector<uint8_t>{0xF0, 0xE9, 0xFF}));
  EXPECT_EQ(CFieldCodec::UnpackDigits(f, 4, false), "0F9E");
  // The same nibbles read as DTMF digits.
  EXPECT_EQ(CFieldCodec::UnpackDigits(f, 4, true), "0#9*");
  // Characters without a code in the mode are left out, not packed as 0xF.
  EXPECT_EQ(CFieldCodec::PackDigits(f, "1E2", 3, true), 2);
  EXPECT_EQ(std::vector<uint8_t>(f, f + 3), (std::vector<uint8_t>{0x21, 0xFF, 0xFF}));
  EXPECT_EQ(CFieldCodec::PackDigits(f, "*a#", 3, false), 1);
  EXPECT_EQ(f[0], 0xFA);
  EXPECT_EQ(CFieldCodec::PackDigits(f, "", 3, true), 0);
  EXPECT_EQ(std::vector<uint8_t>(f, f + 3), std::vector<uint8_t>(3, 0xFF));
}

TEST(Digits, DamagedCountIsBoundedByTheField) {
  const uint8_t f[2] = {0x21, 0x43};
  EXPECT_EQ(CFieldCodec::UnpackDigits(f, 200, true, 2), "1234");
  EXPECT_EQ(CFieldCodec::UnpackDigits(f, -3, true, 2), "");
  EXPECT_EQ(CFieldCodec::UnpackDigits(f, 3, true, 2), "123");
}

TEST(Digits, CharacterCodeTables) {
  EXPECT_EQ(CFieldCodec::DtmfCharToCode('E'), 0xFF);
  EXPECT_EQ(CFieldCodec::DtmfCharToCode('d'), 13);
  EXPECT_EQ(CFieldCodec::HexCharToCode('*'), 0xFF);
  EXPECT_EQ(CFieldCodec::HexCharToCode('f'), 15);
  for (uint8_t code = 0; code < 16; ++code) {
    EXPECT_EQ(CFieldCodec::DtmfCharToCode(CFieldCodec::DtmfCodeToChar(code)), code);
    EXPECT_EQ(CFieldCodec::HexCharToCode(CFieldCodec::HexCodeToChar(code)), code);
  }
}

// --- numeric entry -------------------------------------------------------------

TEST(NumericEntry, IntegerClampAndStep) {
  std::string t = "150";
  EXPECT_EQ(CFieldCodec::ClampIntText(t, 100, 0, 1), 100);
  EXPECT_EQ(t, "100");
  t = "37";
  EXPECT_EQ(CFieldCodec::ClampIntText(t, 100, 0, 5), 35);
  EXPECT_EQ(t, "35");
  t = "-20";
  EXPECT_EQ(CFieldCodec::ClampIntText(t, 100, 10, 5), 10);
  EXPECT_EQ(t, "10");
  t = " 042abc";
  EXPECT_EQ(CFieldCodec::ClampIntText(t, 100, 0, 1), 42);
  EXPECT_EQ(t, "42");
  t = "99999999999999";
  EXPECT_EQ(CFieldCodec::ClampIntText(t, 600, 0, 1), 600);
  // A range with maximum below minimum leaves the typed text alone.
  t = "77x";
  EXPECT_EQ(CFieldCodec::ClampIntText(t, 0, 10, 1), 77);
  EXPECT_EQ(t, "77x");
  // A zero step does not divide.
  t = "33";
  EXPECT_EQ(CFieldCodec::ClampIntText(t, 100, 0, 0), 33);
}

TEST(NumericEntry, DecimalClampAndStep) {
  std::string t = "2.37";
  EXPECT_DOUBLE_EQ(CFieldCodec::ClampDecimalText(t, 10, 0.5, 0.5), 2.0);
  EXPECT_EQ(t, "2.0");
  t = "12";
  CFieldCodec::ClampDecimalText(t, 10, 0.5, 0.5);
  EXPECT_EQ(t, "10.0");
  t = "0.1";
  CFieldCodec::ClampDecimalText(t, 10, 0.5, 0.5);
  EXPECT_EQ(t, "0.5");
  t = "1.3";
  EXPECT_DOUBLE_EQ(CFieldCodec::ClampDecimalText(t, 5, 0, 0.1), 1.3);
  EXPECT_EQ(t, "1.3");  // 1.3 * 10 is 12.999... in binary; the result must not drop
  t = "0.995";
  CFieldCodec::ClampDecimalText(t, 5, 0, 1);
  EXPECT_EQ(t, "1");  // the +0.01 guard lifts values just below a whole step
  t = "2,55";
  CFieldCodec::ClampDecimalText(t, 5, 0, 0.05);
  EXPECT_EQ(t, "2.55");
  t = "7";
  CFieldCodec::ClampDecimalText(t, 1, 2, 0.1);
  EXPECT_EQ(t, "7");
}

TEST(NumericEntry, DecimalClampIsSymmetricAroundZero) {
  // Range -10..10: a negative value keeps its magnitude exactly as the
  // positive one does, at the bounds and beyond them.
  struct Case {
    const char* typed;
    double step;
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"-5", 0.1, "-5.0", -5.0},     {"5", 0.1, "5.0", 5.0},        {"-4.9", 0.1, "-4.9", -4.9},
      {"-10", 0.1, "-10.0", -10.0},  {"10", 0.1, "10.0", 10.0},     {"-10.05", 0.1, "-10.0", -10.0},
      {"-11", 0.1, "-10.0", -10.0},  {"11", 0.1, "10.0", 10.0},     {"-1.3", 0.1, "-1.3", -1.3},
      {"-5", 0.5, "-5.0", -5.0},     {"-4.7", 0.5, "-4.5", -4.5},   {"4.7", 0.5, "4.5", 4.5},
      {"-10", 0.5, "-10.0", -10.0},  {"-12.5", 0.5, "-10.0", -10.0}, {"10.2", 0.5, "10.0", 10.0},
      {"-0.995", 1, "-1", -1.0},     {"-0.2", 0.5, "0.0", 0.0},
  };
  for (const Case& c : cases) {
    std::string t = c.typed;
    EXPECT_DOUBLE_EQ(CFieldCodec::ClampDecimalText(t, 10, -10, c.step), c.value) << c.typed << " step " << c.step;
    EXPECT_EQ(t, c.text) << c.typed << " step " << c.step;
  }
}

TEST(SpinRules, WrapAndOffValue) {
  EXPECT_EQ(CFieldCodec::Spin(10, 10, 1, 1, +1), 1);
  EXPECT_EQ(CFieldCodec::Spin(5, 10, 1, 1, +1), 6);
  EXPECT_EQ(CFieldCodec::Spin(1, 10, 1, 1, -1), 10);
  EXPECT_EQ(CFieldCodec::Spin(5, 10, 1, 1, -1), 4);
  EXPECT_EQ(CFieldCodec::Spin(0xFF, 10, 1, 1, +1), 1);
  EXPECT_EQ(CFieldCodec::Spin(0xFF, 10, 1, 1, -1), 10);
  EXPECT_EQ(CFieldCodec::Spin(7, 10, 1, 1, 0), 7);

  const int off = 0xFF;
  EXPECT_EQ(CFieldCodec::SpinWithOff(off, 30, 5, 5, off, -1), 30);
  EXPECT_EQ(CFieldCodec::SpinWithOff(off, 30, 5, 5, off, +1), 5);
  EXPECT_EQ(CFieldCodec::SpinWithOff(30, 30, 5, 5, off, +1), off);
  EXPECT_EQ(CFieldCodec::SpinWithOff(5, 30, 5, 5, off, -1), off);
  EXPECT_EQ(CFieldCodec::SpinWithOff(10, 30, 5, 5, off, +1), 15);
  EXPECT_EQ(CFieldCodec::SpinWithOff(10, 30, 5, 5, off, -1), 5);
  EXPECT_EQ(CFieldCodec::SpinWithOff(77, 30, 5, 5, off, +1), 5);
  EXPECT_EQ(CFieldCodec::SpinWithOff(2, 30, 5, 5, off, -1), 30);
}

TEST(SpinRules, ListsTablesAndCycles) {
  const int list[] = {3, 7, 9, 15};
  EXPECT_EQ(CFieldCodec::SpinInList(7, list, 4, +1), 2);
  EXPECT_EQ(CFieldCodec::SpinInList(15, list, 4, +1), 0);
  EXPECT_EQ(CFieldCodec::SpinInList(3, list, 4, -1), 3);
  EXPECT_EQ(CFieldCodec::SpinInList(8, list, 4, +1), 0);  // absent key
  EXPECT_EQ(CFieldCodec::SpinInList(8, list, 4, -1), 3);
  EXPECT_EQ(CFieldCodec::SpinInList(8, list, 0, -1), -1);

  int v = 8;
  EXPECT_EQ(CFieldCodec::SnapToTable(v, list, 4), 1);
  EXPECT_EQ(v, 7);
  v = 1;
  EXPECT_EQ(CFieldCodec::SnapToTable(v, list, 4), 0);
  EXPECT_EQ(v, 3);
  v = 99;
  EXPECT_EQ(CFieldCodec::SnapToTable(v, list, 4), 3);
  EXPECT_EQ(v, 15);
  v = 9;
  EXPECT_EQ(CFieldCodec::SnapToTable(v, list, 4), 2);
  EXPECT_EQ(v, 9);

  const int values[] = {100, 200, 300};
  const int keys[] = {'A', 'B', 'A'};
  EXPECT_EQ(CFieldCodec::LookupPaired('A', values, keys, 3), 100);
  EXPECT_EQ(CFieldCodec::LookupPaired('B', values, keys, 3), 200);
  EXPECT_EQ(CFieldCodec::LookupPaired('C', values, keys, 3), -1);
  EXPECT_EQ(CFieldCodec::IndexOfKey('A', keys, 3), 0);
  EXPECT_EQ(CFieldCodec::IndexOfKey('Z', keys, 3), 3);

  EXPECT_EQ(CFieldCodec::Cycle(0, 1, false), 0);
  EXPECT_EQ(CFieldCodec::Cycle(0, 2, false), 1);
  EXPECT_EQ(CFieldCodec::Cycle(1, 2, true), 0);
  EXPECT_EQ(CFieldCodec::Cycle(4, 5, false), 0);
  EXPECT_EQ(CFieldCodec::Cycle(0, 5, true), 4);
  EXPECT_EQ(CFieldCodec::Cycle(2, 5, true), 1);
}

// --- comma-separated text --------------------------------------------------------

TEST(DelimitedText, WriterQuotesOnlyWhenNeeded) {
  EXPECT_EQ(QuoteDelimitedField("plain"), "plain");
  EXPECT_EQ(QuoteDelimitedField("a,b"), "\"a,b\"");
  EXPECT_EQ(QuoteDelimitedField("say \"hi\""), "\"say \"\"hi\"\"\"");
}

TEST(DelimitedText, WrittenFieldsReadBack) {
  const std::vector<std::string> fields = {"Zone 1", "a,b", "\"quoted\"", "", "x\"y,z"};
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + QuoteDelimitedField(fields[i]);
  const std::string unfolded = UnfoldQuotedFields(line);
  const std::vector<std::string> back = SplitDelimited(unfolded);
  ASSERT_EQ(back.size(), fields.size());
  for (size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(ExpandTextEscapes(back[i]), fields[i]) << i;
  EXPECT_EQ(DelimitedField(unfolded, 1), "a\\ab");
  EXPECT_EQ(DelimitedField(unfolded, 9), "");
  EXPECT_EQ(FindDelimitedField(unfolded, "Zone 1"), 0);
  EXPECT_EQ(FindDelimitedField(unfolded, "missing"), -1);
  EXPECT_EQ(CountLines("a\nb\nc"), 2);
}

}  // namespace
}  // namespace vb420
