// SPDX-License-Identifier: GPL-3.0-or-later
// Number formatting for texts that come from the language file. Such a text
// is data, not a format string: only its first "%d" (with an optional width,
// as in "%3d") is replaced, so that a stray "%s" in a translation cannot
// crash the program.
#pragma once

#include <string>

namespace vb420 {

inline std::string FormatInt(const std::string& pattern, int value) {
  std::string out;
  bool done = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || done) {
      out += pattern[i];
      continue;
    }
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    size_t j = i + 1;
    int width = 0;
    while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9' && width < 100) width = width * 10 + (pattern[j++] - '0');
    if (j < pattern.size() && pattern[j] == 'd') {
      std::string digits = std::to_string(value);
      if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<size_t>(width) - digits.size(), ' ');
      out += digits;
      done = true;
      i = j;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace vb420
