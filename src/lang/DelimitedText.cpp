// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/DelimitedText.h"

namespace vb420 {

namespace {
// Stands for a literal quote while the quoted sections are being unfolded; a
// control character that never appears in a text file of ours.
constexpr char kLiteralQuote = '\x01';
}  // namespace

std::string UnfoldQuotedFields(std::string_view text) {
  // Pass 1: mark literal quotes so that the remaining quotes are all delimiters.
  std::string marked;
  marked.reserve(text.size());
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c != '"') {
      marked.push_back(c);
      continue;
    }
    const bool atFieldStart = (i == 0) || text[i - 1] == ',' || text[i - 1] == '\n';
    if (atFieldStart && i + 2 < n && text[i + 1] == '"' && text[i + 2] == '"') {
      marked.push_back('"');
      marked.push_back(kLiteralQuote);
      i += 2;
    } else if (i + 1 < n && text[i + 1] == '"') {
      marked.push_back(kLiteralQuote);
      i += 1;
    } else {
      marked.push_back('"');
    }
  }
  // Pass 2: drop the delimiting quotes and protect separators inside them.
  std::string out;
  out.reserve(marked.size() + 16);
  bool inQuote = false;
  for (char c : marked) {
    if (c == '"') {
      inQuote = !inQuote;
    } else if (inQuote && c == ',') {
      out += "\\a";
    } else if (inQuote && c == '\n') {
      out += "\\n";
    } else if (c == kLiteralQuote) {
      out.push_back('"');
    } else {
      out.push_back(c);
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
