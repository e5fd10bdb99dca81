// SPDX-License-Identifier: GPL-3.0-or-later
// Shared set-up of the widget tests: a text table whose entry n reads "T<n>"
// and a fresh programming.
#pragma once

#include <string>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "lang/TextTable.h"

namespace vb420::testing {

inline TextTable& NumberedTexts() {
  static TextTable table = [] {
    TextTable t;
    std::string lng = "*Language,English\n";
    for (int i = 0; i < TextTable::kEntryCount; ++i) lng += "^#" + TextTable::IdentifierOf(i) + ",T" + std::to_string(i) + "\n";
    t.LoadText(lng, "English");
    return t;
  }();
  return table;
}

inline void FreshImage(RadioData& data) {
  data.buffers.Clear();
  InitNewImage(data, true);
  data.SyncCodecs();
}

}  // namespace vb420::testing
