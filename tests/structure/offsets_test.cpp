// SPDX-License-Identifier: GPL-3.0-or-later
// Every place in the memory image and the extension area is named once, in
// the layout headers beside ImageLayout.h; code uses the names. The check:
// no hexadecimal number from 0x100 to 0xBFFF (the image's and the extension
// area's offsets) stands in code outside those headers. Comments and string
// literals are not code. Values that are not offsets (bit masks, code
// points, help contexts) are written another way (shifts, decimals) or lie
// above the image.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "SourceTree.h"
#include "support/Paths.h"

namespace fs = std::filesystem;

namespace {

struct Hit {
  std::string file;
  int line = 0;
  std::string literal;
};

// Files that may spell offsets out: the layout headers themselves, and the
// memory viewer, whose rows are addresses.
bool MayHoldOffsets(const std::string& rel) {
  static const std::regex kLayout("^src/data/[A-Za-z]*Layout\\.h$");
  if (std::regex_match(rel, kLayout)) return true;
  static const char* const kAllowed[] = {"src/data/ui/MemoryViewer.cpp", "src/data/ui/MemoryViewer.h"};
  return std::find(std::begin(kAllowed), std::end(kAllowed), rel) != std::end(kAllowed);
}

// The text with comments, string and character literals blanked out; line
// breaks are kept so that line numbers stay right.
std::string CodeOnly(const std::string& s) {
  std::string out = s;
  enum { Code, Line, Block, Str, Chr } st = Code;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const char next = i + 1 < s.size() ? s[i + 1] : '\0';
    switch (st) {
      case Code:
        if (c == '/' && next == '/') st = Line;
        else if (c == '/' && next == '*') st = Block;
        else if (c == '"') st = Str;
        else if (c == '\'' && !(i > 0 && std::isxdigit(static_cast<unsigned char>(s[i - 1])))) st = Chr;
        else continue;
        out[i] = ' ';
        break;
      case Line:
        if (c == '\n') st = Code;
        else out[i] = ' ';
        break;
      case Block:
        if (c == '*' && next == '/') {
          out[i] = out[i + 1] = ' ';
          ++i;
          st = Code;
        } else if (c != '\n') {
          out[i] = ' ';
        }
        break;
      case Str:
      case Chr:
        if (c == '\\') {
          out[i] = ' ';
          if (i + 1 < s.size() && s[i + 1] != '\n') out[++i] = ' ';
          break;
        }
        if ((st == Str && c == '"') || (st == Chr && c == '\'')) st = Code;
        if (c != '\n') out[i] = ' ';
        break;
    }
  }
  return out;
}

// Hexadecimal literals in the offset range in one file's text.
std::vector<Hit> OffsetsIn(const std::string& rel, const std::string& text) {
  static const std::regex kHex("\\b0[xX]([0-9A-Fa-f]+)[uUlL]*\\b");
  std::vector<Hit> hits;
  const std::string code = CodeOnly(text);
  std::istringstream lines(code);
  std::string line;
  for (int n = 1; std::getline(lines, line); ++n) {
    for (std::sregex_iterator it(line.begin(), line.end(), kHex), end; it != end; ++it) {
      const std::string digits = (*it)[1];
      if (digits.size() > 6) continue;
      const unsigned long v = std::stoul(digits, nullptr, 16);
      if (v >= 0x100 && v < 0xC000) hits.push_back({rel, n, it->str()});
    }
  }
  return hits;
}

std::vector<Hit> ScanTree(const fs::path& root) {
  const std::vector<fs::path> files = ::vb420::structure::SourceFiles(root, {"src", "tools"}, ::vb420::structure::IsCppSource);
  std::vector<Hit> hits;
  for (const fs::path& f : files) {
    const std::string rel = fs::relative(f, root).generic_string();
    if (MayHoldOffsets(rel)) continue;
    std::ifstream in(f);
    std::stringstream text;
    text << in.rdbuf();
    for (Hit& h : OffsetsIn(rel, text.str())) hits.push_back(std::move(h));
  }
  return hits;
}

std::string Describe(const std::vector<Hit>& hits) {
  std::string s;
  for (const Hit& h : hits) s += h.file + ":" + std::to_string(h.line) + ": " + h.literal + "\n";
  return s;
}

TEST(Offsets, OnlyTheLayoutHeadersSpellThemOut) {
  const fs::path root = ::vb420::testsupport::SourceDir();
  ASSERT_TRUE(fs::exists(root / "src/data/ImageLayout.h")) << root;
  const std::vector<Hit> hits = ScanTree(root);
  EXPECT_TRUE(hits.empty()) << hits.size() << " offsets outside the layout headers:\n" << Describe(hits);
}

// What counts: a literal in code, in the offset range; not a comment, a
// string, a character, a value above the image or a byte value.
TEST(Offsets, TheScanSeesCodeOnly) {
  const std::string text =
      "// 0x140 in a comment\n"
      "const char* s = \"0x6A0\"; /* 0x720\n 0x7D0 */ int a = image.u8(0x6A0);\n"
      "int b = 0xFF, c = 0xFFFF, d = 0x1B000, e = 0x0FF;\n"
      "char q = '\\''; int f = 0x100u; int g = 0xBFFF; int h = 0xC000;\n"
      "int i = 1'000 + 0x5B0;\n";
  std::vector<std::string> got;
  for (const Hit& h : OffsetsIn("x.cpp", text)) got.push_back(std::to_string(h.line) + " " + h.literal);
  const std::vector<std::string> want = {"3 0x6A0", "5 0x100u", "5 0xBFFF", "6 0x5B0"};
  EXPECT_EQ(got, want);
  EXPECT_TRUE(MayHoldOffsets("src/data/FeatureLayout.h"));
  EXPECT_TRUE(MayHoldOffsets("src/data/ui/MemoryViewer.cpp"));
  EXPECT_FALSE(MayHoldOffsets("src/editors/features/FeatureFields.cpp"));
  EXPECT_FALSE(MayHoldOffsets("src/data/ui/Layout.h.cpp"));
}

// The windows lay tables out: no file of a ui/ folder reads or writes image
// bytes itself (the memory viewer, which edits a copy, aside).
TEST(Offsets, WindowsLeaveTheBytesToTheTables) {
  static const std::regex kByteAccess("\\b(setU8|setU16le|setU32le|setBit|u8|u16le|u32le)\\(");
  const fs::path root = ::vb420::testsupport::SourceDir();
  std::vector<Hit> hits;
  for (const fs::path& f : ::vb420::structure::SourceFiles(root, {"src"}, [](const fs::path&) { return true; })) {
    const std::string rel = fs::relative(f, root).generic_string();
    if (rel.find("/ui/") == std::string::npos || MayHoldOffsets(rel)) continue;
    std::ifstream in(f);
    std::stringstream text;
    text << in.rdbuf();
    std::istringstream lines(CodeOnly(text.str()));
    std::string line;
    for (int n = 1; std::getline(lines, line); ++n)
      if (std::regex_search(line, kByteAccess)) hits.push_back({rel, n, line});
  }
  EXPECT_TRUE(hits.empty()) << Describe(hits);
  EXPECT_TRUE(std::regex_search(std::string("image.setU8(at, 1);"), kByteAccess));
  EXPECT_FALSE(std::regex_search(std::string("ImageByte(at);"), kByteAccess));
}

}  // namespace
