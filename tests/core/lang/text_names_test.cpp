// SPDX-License-Identifier: GPL-3.0-or-later
// src/lang/TextNames.h names the text entries the code uses, from the shipped
// language file: `text::kOff` for entry 362 "Off", with the English text as
// its comment. This test writes the header (VB420_WRITE_TEXT_NAMES=1) and
// otherwise fails when a name in the header no longer matches the file.
#include "support/Paths.h"
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "lang/TextNames.h"
#include "lang/TextTable.h"

namespace vb420 {
namespace {

// A name from the first words of the English text: "Time-out Timer [s]"
// gives kTimeOutTimerS. Empty when the text has no letters or digits.
std::string NameOf(const std::string& english) {
  std::string name;
  int words = 0;
  bool inWord = false;
  for (char ch : english) {
    const auto c = static_cast<unsigned char>(ch);
    if (ch == '\'') continue;  // "Can't" is one word
    if (std::isalnum(c) && c < 0x80) {
      if (!inWord) {
        if (++words > 4) break;
        name.push_back(static_cast<char>(std::toupper(c)));
      } else {
        name.push_back(static_cast<char>(std::tolower(c)));
      }
      inWord = true;
    } else {
      inWord = false;
    }
  }
  return name.empty() ? name : "k" + name;
}

std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (out.size() > 60) {
      out += "...";
      break;
    }
    if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '"' || c == '\\') out += std::string("\\") + c;
    else if (static_cast<unsigned char>(c) >= 0x20) out += c;
  }
  return out + "\"";
}

std::string Header(TextTable& english) {
  std::string h =
      "// SPDX-License-Identifier: GPL-3.0-or-later\n"
      "// Generated from resources/vb420.lng by tests/core/lang/text_names_test.cpp\n"
      "// (VB420_WRITE_TEXT_NAMES=1 build/tests/test_lang --gtest_filter=TextNames.*);\n"
      "// do not edit by hand. Each text entry the language file has, named from\n"
      "// the first words of its English text; a name that two entries would share\n"
      "// goes to the first, the others carry their index.\n"
      "#pragma once\n\nnamespace vb420::text {\n\n";
  std::map<std::string, int> taken;
  for (int i = 0; i < TextTable::kEntryCount; ++i) {
    const std::string& en = english.Text(i);
    std::string name = NameOf(en);
    if (name.empty()) continue;
    if (taken.count(name)) name += std::to_string(i);
    taken[name] = i;
    h += "constexpr int " + name + " = " + std::to_string(i) + ";  // " + Quoted(en) + "\n";
  }
  return h + "\n}  // namespace vb420::text\n";
}

TEST(TextNames, MatchTheLanguageFile) {
  TextTable english;
  ASSERT_EQ(english.LoadFile(testsupport::LanguageFilePath(), "English"), TextTable::LoadResult::Ok);
  const std::string expected = Header(english);
  const std::string path = testsupport::SourceDir() + "/src/lang/TextNames.h";
  if (std::getenv("VB420_WRITE_TEXT_NAMES")) std::ofstream(path, std::ios::binary) << expected;
  // Every name the header holds still names the entry it was made for. An
  // entry filled in later may be missing until the header is written again;
  // the names already there never change meaning.
  std::map<int, std::string> want;
  std::istringstream lines(expected);
  for (std::string l; std::getline(lines, l);)
    if (l.rfind("constexpr int ", 0) == 0) want[std::stoi(l.substr(l.find(" = ") + 3))] = l;
  std::ifstream in(path, std::ios::binary);
  int names = 0;
  for (std::string l; std::getline(in, l);) {
    if (l.rfind("constexpr int ", 0) != 0) continue;
    ++names;
    const int index = std::stoi(l.substr(l.find(" = ") + 3));
    EXPECT_EQ(l, want[index]) << "write it again: VB420_WRITE_TEXT_NAMES=1 build/tests/test_lang";
  }
  EXPECT_GT(names, 1000);
  // The names the code leans on.
  EXPECT_EQ(text::kOff, 362);
  EXPECT_EQ(english.Text(text::kOn), "On");
  EXPECT_EQ(NameOf("Time-out Timer [s]"), "kTimeOutTimerS");
  EXPECT_EQ(NameOf("Can't read language file.  Please"), "kCantReadLanguageFile");
  EXPECT_EQ(NameOf("%d"), "kD");
  EXPECT_EQ(NameOf("---"), "");
}

}  // namespace
}  // namespace vb420
