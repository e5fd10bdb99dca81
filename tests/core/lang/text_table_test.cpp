// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Paths.h"
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "lang/DelimitedText.h"
#include "lang/TextTable.h"

using namespace vb420;

namespace {

std::string RealFilePath() { return ::vb420::testsupport::ResourceDir() + "/vb420.lng"; }

std::string ReadRealFile() {
  std::ifstream in(RealFilePath(), std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A minimal, complete file: every entry present, entry i holding "E<i>" and
// "S<i>" unless `custom` says otherwise.
std::string MakeFile(int skipIndex = -1, const std::string& extraLines = "",
                     const std::string& languageRow = "*Language,English,Spanish\n") {
  std::string s = languageRow + "*Font,Arial,Arial\n";
  for (int i = 0; i < TextTable::kEntryCount; ++i) {
    if (i == skipIndex) continue;
    s += "^#" + TextTable::IdentifierOf(i) + ",E" + std::to_string(i) + ",S" + std::to_string(i) + "\n";
  }
  return s + extraLines;
}

}  // namespace

TEST(IdentifierTable, RunsMapIndexesToIdentifiers) {
  EXPECT_EQ(TextTable::IdentifierOf(0), "10000001");
  EXPECT_EQ(TextTable::IdentifierOf(9), "10001009");
  EXPECT_EQ(TextTable::IdentifierOf(10), "10001011");
  EXPECT_EQ(TextTable::IdentifierOf(297), "10027030");
  EXPECT_EQ(TextTable::IdentifierOf(427), "10031000");
  EXPECT_EQ(TextTable::IdentifierOf(991), "10107001");
  EXPECT_EQ(TextTable::IdentifierOf(1246), "10133057");
  EXPECT_EQ(TextTable::IdentifierOf(1248), "19000002");
  EXPECT_EQ(TextTable::IdentifierOf(1249), "10134001");
  EXPECT_EQ(TextTable::IdentifierOf(1348), "10134420");
  EXPECT_EQ(TextTable::IdentifierOf(TextTable::kEntryCount), "");
  std::set<std::string> seen;
  for (int i = 0; i < TextTable::kEntryCount; ++i) {
    const auto id = TextTable::IdentifierOf(i);
    ASSERT_EQ(id.size(), 8u);
    ASSERT_TRUE(seen.insert(id).second) << id;
    ASSERT_EQ(TextTable::IndexOfIdentifier(id), i);
  }
}

TEST(IdentifierTable, OnlyWholeIdentifiersMatch) {
  // Pieces of the identifier string that straddle two identifiers, or part of
  // one, must not be taken for an entry.
  EXPECT_EQ(TextTable::IndexOfIdentifier("0001001"), -1);
  EXPECT_EQ(TextTable::IndexOfIdentifier("00000011"), -1);
  EXPECT_EQ(TextTable::IndexOfIdentifier("1000000"), -1);
  EXPECT_EQ(TextTable::IndexOfIdentifier("100010010"), -1);
  EXPECT_EQ(TextTable::IndexOfIdentifier("10001010"), -1);  // the gap between two runs
}

TEST(TextTableLoad, ChoosesTheColumnOfTheLanguage) {
  TextTable t;
  ASSERT_EQ(t.LoadText(MakeFile(), "Spanish"), TextTable::LoadResult::Ok);
  EXPECT_EQ(t.Text(5), "S5");
  EXPECT_EQ(t.CurrentLanguage(), "Spanish");
  EXPECT_EQ(t.ColumnOf("English"), 1);
  EXPECT_EQ(t.ColumnOf("German"), 0);
  ASSERT_EQ(t.LoadText(MakeFile(), "German"), TextTable::LoadResult::Ok);
  EXPECT_EQ(t.Text(5), "E5");
  EXPECT_EQ(t.CurrentLanguage(), "English");
  ASSERT_EQ(t.LoadText(MakeFile(), ""), TextTable::LoadResult::Ok);
  EXPECT_EQ(t.Column(), 1);
  ASSERT_EQ(t.FontRow().size(), 3u);
  EXPECT_EQ(t.FontRow()[1], "Arial");
}

TEST(TextTableLoad, QuotedTextsKeepCommasLineBreaksAndQuotes) {
  std::string file = MakeFile(7);
  file += "^#" + TextTable::IdentifierOf(7) + ",\"Zone, channel\nnext\",\"\"\"Quoted\"\" text\"\n";
  TextTable t;
  ASSERT_EQ(t.LoadText(file, "English"), TextTable::LoadResult::Ok);
  EXPECT_EQ(t.Text(7), "Zone, channel\nnext");
  EXPECT_EQ(t.Text(7), "Zone, channel\nnext");  // second lookup finds it already expanded
  ASSERT_EQ(t.LoadText(file, "Spanish"), TextTable::LoadResult::Ok);
  EXPECT_EQ(t.Text(7), "\"Quoted\" text");
}

TEST(TextTableLoad, EscapesAreExpandedOnce) {
  std::string file = MakeFile(3);
  file += "^#" + TextTable::IdentifierOf(3) + ",Line one\\nLine two\\tTab\\aComma,x\n";
  TextTable t;
  ASSERT_EQ(t.LoadText(file, "English"), TextTable::LoadResult::Ok);
  EXPECT_EQ(t.Text(3), "Line one\nLine two\tTab,Comma");
  EXPECT_EQ(t.Text(TextTable::kEntryCount), "");
  EXPECT_EQ(t.Text(-1), "");
}

TEST(TextTableLoad, CrLfLineEndsAreAccepted) {
  std::string file = MakeFile();
  std::string crlf;
  for (char c : file) {
    if (c == '\n') crlf += "\r\n";
    else crlf.push_back(c);
  }
  TextTable t;
  ASSERT_EQ(t.LoadText(crlf, "Spanish"), TextTable::LoadResult::Ok);
  EXPECT_EQ(t.Text(1248), "S1248");
}

TEST(TextTableLoad, DamagedFilesAreRefused) {
  TextTable t;
  // No language row.
  EXPECT_EQ(t.LoadText(MakeFile(-1, "", "*Lang,English\n"), "English"), TextTable::LoadResult::Damaged);
  // 1248 entry lines.
  EXPECT_EQ(t.LoadText(MakeFile(100), "English"), TextTable::LoadResult::Damaged);
  EXPECT_FALSE(t.Complete());
  // 1250 entry lines: an extra line with an unknown identifier.
  EXPECT_EQ(t.LoadText(MakeFile(-1, "^#10999999,x,y\n"), "English"), TextTable::LoadResult::Damaged);
  // A repeated identifier after a non-empty text.
  EXPECT_EQ(t.LoadText(MakeFile(-1, "^#" + TextTable::IdentifierOf(4) + ",again,again\n"), "English"),
            TextTable::LoadResult::Damaged);
}

// A file with one entry removed and another given twice holds the right
// number of entry lines; it is still damaged, whatever the texts say.
std::string FileWithSwappedEntry(int missing, int repeated, const std::string& firstText,
                                 const std::string& secondText) {
  std::string file = "*Language,English,Spanish\n";
  for (int i = 0; i < TextTable::kEntryCount; ++i) {
    if (i == missing) continue;
    if (i == repeated) file += "^#" + TextTable::IdentifierOf(i) + "," + firstText + "," + firstText + "\n";
    else file += "^#" + TextTable::IdentifierOf(i) + ",E,S\n";
  }
  return file + "^#" + TextTable::IdentifierOf(repeated) + "," + secondText + "," + secondText + "\n";
}

TEST(TextTableLoad, RepeatedIdentifierIsDamagedWhateverItsTexts) {
  TextTable t;
  // OK (entry 13) removed, an empty entry given a second time: the OK button
  // would come out blank.
  EXPECT_EQ(t.LoadText(FileWithSwappedEntry(13, 8, "", ""), "English"), TextTable::LoadResult::Damaged);
  EXPECT_FALSE(t.Complete());
  // Empty first, text second; text first, empty second.
  EXPECT_EQ(t.LoadText(FileWithSwappedEntry(5, 4, "", "Second"), "English"), TextTable::LoadResult::Damaged);
  EXPECT_EQ(t.LoadText(FileWithSwappedEntry(5, 4, "First", ""), "English"), TextTable::LoadResult::Damaged);
  // An empty entry given once is no fault.
  std::string once = "*Language,English,Spanish\n";
  for (int i = 0; i < TextTable::kEntryCount; ++i)
    once += "^#" + TextTable::IdentifierOf(i) + (i == 8 ? ",," : ",E,S") + "\n";
  ASSERT_EQ(t.LoadText(once, "English"), TextTable::LoadResult::Ok);
  EXPECT_EQ(t.Text(8), "");
  EXPECT_EQ(t.Text(13), "E");
}

TEST(TextTableLoad, MissingFileLeavesTheTableAlone) {
  TextTable t;
  ASSERT_EQ(t.LoadText(MakeFile(), "English"), TextTable::LoadResult::Ok);
  EXPECT_EQ(t.LoadFile("/nonexistent/vb420.lng", "English"), TextTable::LoadResult::NotFound);
  EXPECT_EQ(t.Text(2), "E2");
  // The folder joined to the name with the system's separator.
  EXPECT_EQ(TextTable::FindFile({"/nonexistent", ::vb420::testsupport::ResourceDir()}),
            (std::filesystem::path(::vb420::testsupport::ResourceDir()) / "vb420.lng").string());
  EXPECT_EQ(TextTable::FindFile({"/nonexistent"}), "");
}

TEST(RealLanguageFile, LoadsInBothLanguages) {
  const std::string text = ReadRealFile();
  ASSERT_FALSE(text.empty()) << "resources/vb420.lng is missing";
  TextTable en, sp;
  ASSERT_EQ(en.LoadFile(RealFilePath(), "English"), TextTable::LoadResult::Ok);
  ASSERT_EQ(sp.LoadFile(RealFilePath(), "Spanish"), TextTable::LoadResult::Ok);
  EXPECT_EQ(en.Text(1247), "English");
  EXPECT_EQ(en.Text(1248), "Spanish");
  EXPECT_EQ(sp.Text(1248), "Español");
  EXPECT_EQ(en.CurrentLanguage(), "English");
  EXPECT_EQ(sp.CurrentLanguage(), "Spanish");
  // The texts that carry formats keep them in both languages.
  for (int i : {204, 205, 265, 266, 267, 362}) {
    EXPECT_FALSE(en.Text(i).empty()) << i;
    EXPECT_FALSE(sp.Text(i).empty()) << i;
  }
  int differing = 0;
  for (int i = 0; i < TextTable::kEntryCount; ++i) differing += en.Text(i) != sp.Text(i);
  EXPECT_GT(differing, 600);
}

TEST(RealLanguageFile, TheSplashAndAboutTextsGiveTheFreeLicence) {
  TextTable en, sp;
  ASSERT_EQ(en.LoadFile(RealFilePath(), "English"), TextTable::LoadResult::Ok);
  ASSERT_EQ(sp.LoadFile(RealFilePath(), "Spanish"), TextTable::LoadResult::Ok);
  for (TextTable* t : {&en, &sp}) {
    std::string all;
    for (int i : {5, 6, 7, 1294}) all += t->Text(i) + "\n";
    for (const char* gone : {"rights reserved", "derechos reservados", "prohibit", "prohíbe", "protected by", "protegido"})
      EXPECT_EQ(all.find(gone), std::string::npos) << gone;
    EXPECT_NE(t->Text(5).find("(C) MARDEKO."), std::string::npos);
    EXPECT_NE(t->Text(6).find("GPL"), std::string::npos);
    EXPECT_NE(t->Text(6).find("3"), std::string::npos);
    EXPECT_NE(t->Text(1294).find("https://www.gnu.org/licenses/"), std::string::npos);
  }
  EXPECT_NE(en.Text(1294).find("GNU General Public License"), std::string::npos);
  EXPECT_NE(sp.Text(1294).find("Licencia Pública General de GNU"), std::string::npos);
}

TEST(RealLanguageFile, DamagedCopiesAreRefused) {
  const std::string text = ReadRealFile();
  ASSERT_FALSE(text.empty());
  TextTable t;
  // One entry line dropped.
  {
    std::string copy = text;
    const size_t at = copy.find("^#10002001");
    ASSERT_NE(at, std::string::npos);
    copy.erase(at, copy.find('\n', at) - at + 1);
    EXPECT_EQ(t.LoadText(copy, "English"), TextTable::LoadResult::Damaged);
    // ...and an empty entry given a second time to make the count right.
    copy += "\n^#10001009,,\n";
    EXPECT_EQ(t.LoadText(copy, "English"), TextTable::LoadResult::Damaged);
    EXPECT_FALSE(t.Complete());
  }
  // An identifier mangled into one that is not ours.
  {
    std::string copy = text;
    const size_t at = copy.find("^#10002001");
    copy.replace(at, 10, "^#10002000");
    EXPECT_EQ(t.LoadText(copy, "English"), TextTable::LoadResult::Damaged);
  }
  // The language row renamed.
  {
    std::string copy = text;
    const size_t at = copy.find("*Language");
    copy.replace(at, 9, "*Idioma__");
    EXPECT_EQ(t.LoadText(copy, "English"), TextTable::LoadResult::Damaged);
  }
  // A file cut in half.
  EXPECT_EQ(t.LoadText(text.substr(0, text.size() / 2), "English"), TextTable::LoadResult::Damaged);
}

TEST(DelimitedText, WriterAndReaderRoundTrip) {
  for (const std::string field : {"plain", "a,b", "say \"hi\"", "\"lead", "x\"\"y"}) {
    const std::string line = QuoteDelimitedField(field) + "," + QuoteDelimitedField("next");
    const std::string unfolded = UnfoldQuotedFields(line);
    EXPECT_EQ(ExpandTextEscapes(DelimitedField(unfolded, 0)), field) << line;
    EXPECT_EQ(DelimitedField(unfolded, 1), "next");
  }
  EXPECT_EQ(DelimitedField("a,b", 5), "");
  EXPECT_EQ(FindDelimitedField("a,b,c", "c"), 2);
  EXPECT_EQ(FindDelimitedField("a,b,c", "d"), -1);
  EXPECT_EQ(CountLines("a\nb\nc"), 2);
}

TEST(TextTable, EveryLanguagesTextOfAnEntry) {
  TextTable t;
  ASSERT_EQ(t.LoadText(MakeFile(-1, "", "*Language,English,Spanish\n") + "", "Spanish"), TextTable::LoadResult::Ok);
  EXPECT_EQ(t.Text(362), "S362");
  EXPECT_EQ(t.TextsInEveryLanguage(362), (std::vector<std::string>{"E362", "S362"}));
  EXPECT_TRUE(t.TextsInEveryLanguage(TextTable::kEntryCount).empty());
  // The shipped file: the words a plan in either language holds.
  TextTable real;
  ASSERT_EQ(real.LoadFile(RealFilePath(), "English"), TextTable::LoadResult::Ok);
  EXPECT_EQ(real.TextsInEveryLanguage(372), (std::vector<std::string>{"Yes", "S\xC3\xAD"}));
  EXPECT_EQ(real.TextsInEveryLanguage(362), (std::vector<std::string>{"Off", "Desactivado"}));
}

// A typed text is cut before a character that would not fit whole; bytes
// that are no UTF-8 (a Latin-1 name) are cut where the field ends.
TEST(DelimitedText, CutTextNeverBreaksACharacter) {
  EXPECT_EQ(CutText("AB\xE2\x82\xAC\xE2\x82\xAC", 7), "AB\xE2\x82\xAC");
  EXPECT_EQ(CutText("AB\xE2\x82\xAC\xE2\x82\xAC", 8), "AB\xE2\x82\xAC\xE2\x82\xAC");
  EXPECT_EQ(CutText("\xC3\x84\xC3\x84\xC3\x84", 5), "\xC3\x84\xC3\x84");
  EXPECT_EQ(CutText("\xF0\x9F\x93\xBB", 3), "");
  EXPECT_EQ(CutText("Pe\xF1" "a \xE9\xE8", 5), "Pe\xF1" "a ");
  EXPECT_EQ(CutText("ABC", 0), "");
  EXPECT_EQ(CutText("ABC", 3), "ABC");
}

TEST(DelimitedText, ValidUtf8KeepsGoodTextAndReplacesStrayBytes) {
  EXPECT_EQ(ValidUtf8("CH 1 S\xC3\xAD \xE2\x82\xAC \xF0\x9F\x93\xBB"), "CH 1 S\xC3\xAD \xE2\x82\xAC \xF0\x9F\x93\xBB");
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(ValidUtf8("\xFF\xFF"), fffd + fffd);
  EXPECT_EQ(ValidUtf8("A\xD1" "B"), "A" + fffd + "B");            // a Latin-1 byte
  EXPECT_EQ(ValidUtf8("\xC3"), fffd);                             // cut off
  EXPECT_EQ(ValidUtf8("\xC0\xAF"), fffd + fffd);                  // overlong
  EXPECT_EQ(ValidUtf8("\xED\xA0\x80"), fffd + fffd + fffd);       // a surrogate
  EXPECT_EQ(ValidUtf8("\xF4\x90\x80\x80"), fffd + fffd + fffd + fffd);  // above U+10FFFF
  EXPECT_EQ(ValidUtf8(""), "");
}
