// SPDX-License-Identifier: GPL-3.0-or-later
// The settings of a PassPort zone as the report prints them: a fixed list of
// labels and the header values, switches as the on and off texts.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vb420 {
class RadioData;
class TextTable;
}  // namespace vb420

namespace vb420::print {

// In landscape the last lines go on a second settings page.
constexpr size_t kPassPortSecondPageLines = 3;

std::vector<std::pair<std::string, std::string>> PassPortSettingLines(RadioData& data, TextTable& text, int zone);

}  // namespace vb420::print
