// SPDX-License-Identifier: GPL-3.0-or-later
// A language file of any content, in each of the languages the shipped file
// names: loaded, then every entry looked up (each is expanded once, in place).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "lang/TextTable.h"

using namespace vb420;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  for (const char* language : {"English", "Spanish", ""}) {
    TextTable table;
    if (table.LoadText(text, language) != TextTable::LoadResult::Ok) continue;
    for (int i = -1; i <= TextTable::kEntryCount; ++i) (void)table.Text(i);
    (void)table.CurrentLanguage();
    (void)table.LanguageRow();
  }
  return 0;
}
