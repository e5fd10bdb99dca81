// SPDX-License-Identifier: GPL-3.0-or-later
// A fleet's identities file (RADIOS.csv) of any content, read as "write
// --identities" reads it. When it is accepted, every row has one value per
// key (and a serial number when rows go by serial number, no two alike), and
// the file written back from what was read reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FleetCsv.h"
#include "FuzzSupport.h"

using namespace vb420;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  cli::Identities ids;
  std::string error;
  if (!cli::ReadIdentities(fuzz::AsFile(bytes, size, ".csv"), ids, error)) {
    VB420_FUZZ_CHECK(!error.empty());
    return 0;
  }
  for (const auto& row : ids.rows) VB420_FUZZ_CHECK(row.size() == ids.keys.size());
  VB420_FUZZ_CHECK(!ids.bySerial || ids.serials.size() == ids.rows.size());
  VB420_FUZZ_CHECK(ids.bySerial || ids.serials.empty());

  // Written back (serial column first) and read again. A row that is all
  // empty is a blank line, which the reader skips: such files are left out,
  // and so is a header whose first key starts with a second byte-order mark.
  std::string file;
  auto line = [&](const std::string* serial, const std::vector<std::string>& fields) {
    std::string l = serial ? cli::CsvField(*serial) : std::string();
    bool blank = !serial || serial->empty();
    for (size_t i = 0; i < fields.size(); ++i) {
      l += (i || serial ? "," : "") + cli::CsvField(fields[i]);
      blank = blank && fields[i].empty();
    }
    file += l + "\n";
    return !blank;
  };
  const std::string serialName = "serial";
  bool sound = line(ids.bySerial ? &serialName : nullptr, ids.keys);
  for (size_t r = 0; r < ids.rows.size(); ++r) sound = line(ids.bySerial ? &ids.serials[r] : nullptr, ids.rows[r]) && sound;
  if (!ids.keys.empty() && ids.keys[0].rfind("\xEF\xBB\xBF", 0) == 0) sound = false;
  if (!sound) return 0;
  cli::Identities back;
  VB420_FUZZ_CHECK(cli::ReadIdentities(fuzz::AsFile(reinterpret_cast<const uint8_t*>(file.data()), file.size(), ".csv"),
                                       back, error));
  VB420_FUZZ_CHECK(back.keys == ids.keys);
  VB420_FUZZ_CHECK(back.rows == ids.rows);
  VB420_FUZZ_CHECK(back.serials == ids.serials);
  return 0;
}
