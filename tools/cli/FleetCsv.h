// SPDX-License-Identifier: GPL-3.0-or-later
// The comma-separated files of a fleet: the identities a write gives each
// radio and the fields of the result lines. Standard C++ only, so that the
// reader can be tried on its own.
#pragma once

#include <string>
#include <vector>

namespace vb420::cli {

// The identities file: a header line of settings keys, then one row per
// radio. A column named "serial" (any case; also "serial number") matches
// rows to radios by serial number instead of by position.
struct Identities {
  std::vector<std::string> keys;  // without the serial column
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> serials;  // per row, when there is a serial column
  bool bySerial = false;
};
// False with `error` set when the file is missing, empty or has a row whose
// field count differs from the header's.
bool ReadIdentities(const std::string& path, Identities& out, std::string& error);
// The fields of one CSV line: commas outside quotes separate, a doubled quote
// inside quotes is one quote, blanks around a field are kept.
std::vector<std::string> SplitCsvLine(const std::string& line);
// A field quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

}  // namespace vb420::cli
