// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/TextTable.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_map>

#include "lang/DelimitedText.h"
#include "lang/Platform.h"

namespace vb420 {

namespace {

struct IdRun {
  int firstIndex;
  int lastIndex;
  int firstId;
};

// Identifiers rise in runs that follow the program's windows; each run maps a
// range of entry indexes onto a range of identifiers.
constexpr IdRun kRuns[] = {
    {0, 0, 10000001},
    {1, 9, 10001001},
    {10, 12, 10001011},
    {13, 39, 10002001},
    {40, 40, 10002501},
    {41, 41, 10003001},
    {42, 51, 10003101},
    {52, 52, 10003002},
    {53, 53, 10003201},
    {54, 54, 10003003},
    {55, 74, 10003301},
    {75, 75, 10003004},
    {76, 80, 10003401},
    {81, 81, 10003005},
    {82, 87, 10003501},
    {88, 88, 10003006},
    {89, 90, 10003601},
    {91, 91, 10003007},
    {92, 94, 10003701},
    {95, 95, 10003008},
    {96, 100, 10003801},
    {101, 101, 10003009},
    {102, 103, 10003901},
    {104, 108, 10004001},
    {109, 114, 10005001},
    {115, 117, 10006001},
    {118, 119, 10007001},
    {120, 125, 10007101},
    {126, 128, 10008001},
    {129, 134, 10009001},
    {135, 163, 10010001},
    {164, 172, 10010050},
    {173, 193, 10011001},
    {194, 195, 10012001},
    {196, 203, 10013001},
    {204, 205, 10013101},
    {206, 209, 10014001},
    {210, 212, 10015001},
    {213, 216, 10016001},
    {217, 227, 10017001},
    {228, 230, 10018001},
    {231, 232, 10019001},
    {233, 234, 10020001},
    {235, 238, 10021001},
    {239, 239, 10022001},
    {240, 254, 10023001},
    {255, 264, 10024001},
    {265, 267, 10025001},
    {268, 296, 10026001},
    {297, 297, 10027030},
    {298, 309, 10026040},
    {310, 312, 10026060},
    {313, 335, 10026070},
    {336, 338, 10026100},
    {339, 358, 10027001},
    {359, 361, 10028001},
    {362, 375, 10029001},
    {376, 390, 10030001},
    {391, 397, 10030030},
    {398, 410, 10030050},
    {411, 412, 10030101},
    {413, 417, 10030104},
    {418, 426, 10031001},
    {427, 427, 10031000},
    {428, 435, 10031011},
    {436, 449, 10031050},
    {450, 452, 10031201},
    {453, 455, 10031301},
    {456, 458, 10031401},
    {459, 459, 10031501},
    {460, 460, 10031601},
    {461, 463, 10032001},
    {464, 464, 10032501},
    {465, 469, 10033001},
    {470, 484, 10034001},
    {485, 488, 10034501},
    {489, 509, 10035001},
    {510, 513, 10035501},
    {514, 521, 10036001},
    {522, 523, 10037001},
    {524, 527, 10038001},
    {528, 533, 10038501},
    {534, 539, 10040001},
    {540, 585, 10041001},
    {586, 620, 10041501},
    {621, 646, 10042001},
    {647, 649, 10042501},
    {650, 662, 10043001},
    {663, 666, 10043501},
    {667, 670, 10044001},
    {671, 675, 10044101},
    {676, 681, 10044201},
    {682, 683, 10044501},
    {684, 691, 10045001},
    {692, 693, 10045501},
    {694, 696, 10046001},
    {697, 705, 10050001},
    {706, 725, 10050101},
    {726, 726, 10050501},
    {727, 729, 10051001},
    {730, 734, 10060001},
    {735, 744, 10061001},
    {745, 776, 10062001},
    {777, 778, 10070001},
    {779, 806, 10071001},
    {807, 809, 10071501},
    {810, 813, 10072001},
    {814, 815, 10080001},
    {816, 830, 10081001},
    {831, 841, 10081501},
    {842, 848, 10082001},
    {849, 851, 10090001},
    {852, 864, 10091001},
    {865, 865, 10091501},
    {866, 879, 10092001},
    {880, 881, 10093001},
    {882, 890, 10100001},
    {891, 893, 10101001},
    {894, 904, 10101501},
    {905, 912, 10102001},
    {913, 916, 10103001},
    {917, 918, 10103501},
    {919, 920, 10104001},
    {921, 927, 10105001},
    {928, 933, 10106001},
    {934, 990, 10107501},
    {991, 991, 10107001},
    {992, 998, 10110001},
    {999, 1010, 10111001},
    {1011, 1011, 10111014},
    {1012, 1018, 10111501},
    {1019, 1037, 10112001},
    {1038, 1049, 10113001},
    {1050, 1053, 10114001},
    {1054, 1055, 10115001},
    {1056, 1078, 10116001},
    {1079, 1080, 10116501},
    {1081, 1091, 10117001},
    {1092, 1095, 10120001},
    {1096, 1099, 10121001},
    {1100, 1109, 10121015},
    {1110, 1124, 10121501},
    {1125, 1141, 10121520},
    {1142, 1144, 10121540},
    {1145, 1145, 10122001},
    {1146, 1147, 10123001},
    {1148, 1149, 10123501},
    {1150, 1170, 10124001},
    {1171, 1175, 10125001},
    {1176, 1178, 10130001},
    {1179, 1183, 10131001},
    {1184, 1188, 10131501},
    {1189, 1189, 10132001},
    {1190, 1246, 10133001},
    {1247, 1248, 19000001},
    // Texts added after the language names, one block per area of work.
    {1249, 1268, 10134001},
    {1269, 1288, 10134101},
    {1289, 1308, 10134201},
    {1309, 1328, 10134301},
    {1329, 1348, 10134401},
};

// The identifier string: every identifier printed at width 8 with a line feed,
// so that an identifier's entry index is its position divided by 9.
const std::string& IdentifierString() {
  static const std::string s = [] {
    std::string out;
    out.reserve(TextTable::kEntryCount * 9);
    char buf[16];
    for (const IdRun& r : kRuns) {
      for (int i = r.firstIndex; i <= r.lastIndex; ++i) {
        std::snprintf(buf, sizeof buf, "%0*d\n", 8, r.firstId + (i - r.firstIndex));
        out += buf;
      }
    }
    return out;
  }();
  return s;
}

const std::unordered_map<std::string, int>& IdentifierMap() {
  static const std::unordered_map<std::string, int> map = [] {
    std::unordered_map<std::string, int> m;
    const std::string& s = IdentifierString();
    for (int i = 0; i < TextTable::kEntryCount; ++i) m.emplace(s.substr(i * 9, 8), i);
    return m;
  }();
  return map;
}

const std::string kEmpty;

}  // namespace

std::string FillEntryText(std::string_view pattern, const std::vector<std::string>& args) {
  std::string out;
  size_t next = 0;
  bool anyPlaceholder = false;
  for (size_t i = 0; i < pattern.size();) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
      anyPlaceholder = true;
      if (next < args.size()) out += args[next++];
      i += 2;
    } else {
      out += pattern[i++];
    }
  }
  if (!anyPlaceholder)
    for (const std::string& a : args) out += (out.empty() ? "" : "\n") + a;
  return out;
}

const std::vector<LanguageInfo>& Languages() {
  static const std::vector<LanguageInfo> table = {
      {1, "English", 1247, "vb420En.chm"},
      {2, "Spanish", 1248, "vb420Sp.chm"},
  };
  return table;
}

const LanguageInfo* LanguageByKey(int key) {
  for (const auto& l : Languages())
    if (l.key == key) return &l;
  return nullptr;
}

const LanguageInfo* LanguageByName(std::string_view name) {
  for (const auto& l : Languages())
    if (name == l.name) return &l;
  return nullptr;
}

TextTable::TextTable() : entries_(kEntryCount), lines_(kEntryCount), expanded_(kEntryCount, false), asked_(kEntryCount, false) {}

int TextTable::IndexOfIdentifier(std::string_view identifier) {
  // Only a whole identifier counts: a loose substring search would let a
  // damaged line such as "0001001" land on a neighbouring entry.
  if (identifier.size() != 8) return -1;
  const auto& map = IdentifierMap();
  const auto it = map.find(std::string(identifier));
  return it == map.end() ? -1 : it->second;
}

std::string TextTable::IdentifierOf(int index) {
  if (index < 0 || index >= kEntryCount) return {};
  return IdentifierString().substr(static_cast<size_t>(index) * 9, 8);
}

std::string TextTable::FindFile(const std::vector<std::string>& folders) {
  std::error_code ec;
  for (const auto& folder : folders) {
    if (folder.empty()) continue;
    const auto p = PathOfUtf8(folder) / kFileName;
    if (std::filesystem::is_regular_file(p, ec)) return Utf8OfPath(p);
  }
  return {};
}

TextTable::LoadResult TextTable::LoadFile(const std::string& path, std::string_view language) {
  std::ifstream in(PathOfUtf8(path), std::ios::binary);
  if (!in) return LoadResult::NotFound;
  std::ostringstream ss;
  ss << in.rdbuf();
  path_ = path;
  return LoadText(ss.str(), language);
}

TextTable::LoadResult TextTable::LoadText(std::string_view raw, std::string_view language) {
  // Line ends become single line feeds (copied a run at a time: the whole
  // file passes here at every start).
  std::string text;
  text.reserve(raw.size());
  for (size_t i = 0; i < raw.size();) {
    const size_t cr = raw.find('\r', i);
    const size_t end = cr == std::string_view::npos ? raw.size() : cr;
    text.append(raw.data() + i, end - i);
    if (end == raw.size()) break;
    text.push_back('\n');
    i = end + 1;
    if (i < raw.size() && raw[i] == '\n') ++i;
  }
  // Drop a UTF-8 byte-order mark that an editor may have added.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);

  entries_.assign(kEntryCount, std::string());
  lines_.assign(kEntryCount, std::string());
  expanded_.assign(kEntryCount, false);
  languageRow_.clear();
  fontRow_.clear();
  complete_ = false;
  column_ = 1;

  const std::string unfolded = UnfoldQuotedFields(text);

  std::vector<std::string_view> lines;
  {
    std::string_view all(unfolded);
    size_t start = 0;
    while (start <= all.size()) {
      const size_t nl = all.find('\n', start);
      if (nl == std::string_view::npos) {
        if (start < all.size()) lines.push_back(all.substr(start));
        break;
      }
      lines.push_back(all.substr(start, nl - start));
      start = nl + 1;
    }
  }

  for (auto line : lines) {
    if (languageRow_.empty() && DelimitedField(line, 0) == "*Language") languageRow_ = SplitDelimited(line);
    else if (fontRow_.empty() && DelimitedField(line, 0) == "*Font") fontRow_ = SplitDelimited(line);
  }
  if (languageRow_.empty()) return LoadResult::Damaged;

  const int col = language.empty() ? 0 : ColumnOf(language);
  column_ = col > 0 ? col : 1;

  // Every identifier exactly once: a repeated one is a damaged file whatever
  // its texts (an entry blanked by a later copy would pass unseen), and the
  // count alone cannot tell a missing entry made up by a repeated one.
  std::vector<bool> seen(kEntryCount, false);
  int taken = 0;
  for (auto line : lines) {
    const size_t comma = line.find(',');
    std::string first(line.substr(0, comma));
    const size_t marker = first.find("^#");
    if (marker == std::string::npos) continue;
    first.erase(marker, 2);
    const int index = IndexOfIdentifier(first);
    if (index < 0 || seen[index]) return LoadResult::Damaged;
    seen[index] = true;
    entries_[index] = DelimitedField(line, column_);
    lines_[index] = std::string(line);
    ++taken;
  }
  if (taken != kEntryCount) return LoadResult::Damaged;
  complete_ = true;
  return LoadResult::Ok;
}

const std::string& TextTable::Text(int index) {
  if (index < 0 || index >= kEntryCount) return kEmpty;
  asked_[index] = true;
  if (!expanded_[index]) {
    // Expanded once and written back, so that later lookups are plain reads;
    // the flag keeps a text that holds a backslash from being expanded twice.
    entries_[index] = ExpandTextEscapes(entries_[index]);
    expanded_[index] = true;
  }
  return entries_[index];
}

std::vector<std::string> TextTable::TextsInEveryLanguage(int index) const {
  std::vector<std::string> out;
  if (index < 0 || index >= kEntryCount) return out;
  for (size_t col = 1; col < languageRow_.size(); ++col)
    out.push_back(ExpandTextEscapes(DelimitedField(lines_[static_cast<size_t>(index)], static_cast<int>(col))));
  return out;
}

std::string TextTable::CurrentLanguage() const {
  if (column_ < 0 || static_cast<size_t>(column_) >= languageRow_.size()) return {};
  return languageRow_[column_];
}

int TextTable::ColumnOf(std::string_view name) const {
  for (size_t i = 1; i < languageRow_.size(); ++i)
    if (languageRow_[i] == name) return static_cast<int>(i);
  return 0;
}

}  // namespace vb420
