// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/DelimitedText.h"

namespace vb420 {

namespace {
// Stands for a literal quote while the quoted sections are being unfolded; a
// control character that never appears in a text file of ours.
constexpr char kLiteralQuote = '\x01';
}  // namespace

std::string UnfoldQuotedFields(std::string_view text) {
  // One pass, copying the runs between the characters that matter: the
  // whole language file goes through here at every start. A quote either
  // opens or closes a section, or, doubled, stands for a literal quote
  // ('"""' at the start of a field opens a section with one); inside a
  // section a comma becomes "\a" and a line break "\n". The marker byte
  // that once stood for literal quotes between two passes still reads as
  // a quote, as it always did.
  std::string out;
  out.reserve(text.size() + 16);
  const size_t n = text.size();
  bool inQuote = false;
  size_t i = 0;
  while (i < n) {
    // The next character that is not copied as it is.
    size_t j = i;
    if (inQuote) {
      while (j < n && text[j] != '"' && text[j] != ',' && text[j] != '\n' && text[j] != kLiteralQuote) ++j;
    } else {
      while (j < n && text[j] != '"' && text[j] != kLiteralQuote) ++j;
    }
    out.append(text.data() + i, j - i);
    if (j >= n) break;
    const char c = text[j];
    i = j + 1;
    if (c == ',') {
      out += "\\a";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == kLiteralQuote) {
      out.push_back('"');
    } else {
      const bool atFieldStart = j == 0 || text[j - 1] == ',' || text[j - 1] == '\n';
      if (atFieldStart && j + 2 < n && text[j + 1] == '"' && text[j + 2] == '"') {
        inQuote = !inQuote;  // the section's quote, then a literal one
        out.push_back('"');
        i = j + 3;
      } else if (j + 1 < n && text[j + 1] == '"') {
        out.push_back('"');
        i = j + 2;
      } else {
        inQuote = !inQuote;
      }
    }
  }
  return out;
}

std::string DelimitedField(std::string_view line, int n) {
  if (n < 0) return {};
  size_t start = 0;
  for (int i = 0; i < n; ++i) {
    const size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) return {};
    start = comma + 1;
  }
  const size_t end = line.find(',', start);
  return std::string(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::vector<std::string> SplitDelimited(std::string_view line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) {
      fields.emplace_back(line.substr(start));
      return fields;
    }
    fields.emplace_back(line.substr(start, comma - start));
    start = comma + 1;
  }
}

int FindDelimitedField(std::string_view line, std::string_view value) {
  const auto fields = SplitDelimited(line);
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i] == value) return static_cast<int>(i);
  }
  return -1;
}

std::string QuoteDelimitedField(std::string_view field) {
  if (field.find_first_of("\",") == std::string_view::npos) return std::string(field);
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out += "\"\"";
    else out.push_back(c);
  }
  out.push_back('"');
  return out;
}

int CountLines(std::string_view text) {
  int lines = 0;
  for (char c : text) lines += (c == '\n');
  return lines;
}

std::string ExpandTextEscapes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char e = text[i + 1];
      if (e == 'n') { out.push_back('\n'); ++i; continue; }
      if (e == 't') { out.push_back('\t'); ++i; continue; }
      if (e == 'a') { out.push_back(','); ++i; continue; }
    }
    out.push_back(text[i]);
  }
  return out;
}

std::string CutText(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  size_t cut = maxBytes;
  if (ValidUtf8(text) == text)
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return std::string(text.substr(0, cut));
}

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t len = 0;
    unsigned lo = 0x80, hi = 0xBF;  // range of the second byte
    if (c < 0x80) len = 1;
    else if (c >= 0xC2 && c <= 0xDF) len = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      if (c == 0xE0) lo = 0xA0;  // no overlong forms
      if (c == 0xED) hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    }
    bool ok = len > 0 && i + len <= text.size();
    for (size_t k = 1; ok && k < len; ++k) {
      const unsigned char b = static_cast<unsigned char>(text[i + k]);
      ok = k == 1 ? (b >= lo && b <= hi) : (b >= 0x80 && b <= 0xBF);
    }
    if (ok) {
      out.append(text.substr(i, len));
      i += len;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

}  // namespace vb420
