// SPDX-License-Identifier: GPL-3.0-or-later
#include "FleetCsv.h"

#include "lang/Platform.h"

#include <cctype>
#include <fstream>

namespace vb420::cli {

namespace {

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::vector<std::string> SplitCsvLine(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

bool ReadIdentities(const std::string& path, Identities& out, std::string& error) {
  std::ifstream in(PathOfUtf8(path), std::ios::binary);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  out = Identities{};
  std::string line;
  int serialColumn = -1;
  size_t columns = 0;
  int lineNo = 0;
  bool haveHeader = false;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // A spreadsheet saving "CSV UTF-8" puts a byte-order mark first: it is
    // not part of the first column's name.
    if (lineNo == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    if (Trim(line).empty()) continue;
    std::vector<std::string> fields = SplitCsvLine(line);
    for (auto& field : fields) field = Trim(field);
    if (!haveHeader) {
      haveHeader = true;
      columns = fields.size();
      for (size_t i = 0; i < fields.size(); ++i) {
        const std::string name = Lower(fields[i]);
        if (name == "serial" || name == "serial number" || name == "serial_number") {
          if (serialColumn >= 0) {
            error = path + ": two serial-number columns";
            return false;
          }
          serialColumn = static_cast<int>(i);
        } else if (fields[i].empty()) {
          error = path + ": column " + std::to_string(i + 1) + " of the header has no key";
          return false;
        } else {
          out.keys.push_back(fields[i]);
        }
      }
      out.bySerial = serialColumn >= 0;
      continue;
    }
    if (fields.size() != columns) {
      error = path + ":" + std::to_string(lineNo) + ": " + std::to_string(fields.size()) + " fields, the header has " +
              std::to_string(columns);
      return false;
    }
    std::vector<std::string> row;
    for (size_t i = 0; i < fields.size(); ++i) {
      if (static_cast<int>(i) == serialColumn) out.serials.push_back(fields[i]);
      else row.push_back(fields[i]);
    }
    out.rows.push_back(std::move(row));
  }
  if (!haveHeader) {
    error = path + ": no header line";
    return false;
  }
  if (out.bySerial) {
    for (size_t i = 0; i < out.serials.size(); ++i)
      for (size_t j = i + 1; j < out.serials.size(); ++j)
        if (out.serials[i] == out.serials[j]) {
          error = path + ": serial number " + out.serials[i] + " has two rows";
          return false;
        }
  }
  return true;
}

}  // namespace vb420::cli
