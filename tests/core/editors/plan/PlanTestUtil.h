// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "lang/TextTable.h"

namespace vb420 {

// Stores `value` under a setting key as the settings verb would; true when
// it was stored as given.
inline bool Set(RadioData& d, TextTable& text, const std::string& key, const std::string& value) {
  forms::SettingLine out;
  int message = 0;
  return forms::SetSetting(d, text, key, value, out, message) == forms::SettingStatus::Ok;
}

}  // namespace vb420
