// SPDX-License-Identifier: GPL-3.0-or-later
// The names a backups folder may hold, any of them: the input is a list of
// file names, one a line, made in an empty folder. The folder is listed as a
// read or write lists it before it removes the oldest backups.
//
// What must hold: exactly the names of ours are listed (nothing else in the
// folder is ever removed), each once, oldest first by the one order, and a
// name this program makes for any time and model is one of ours.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "link/Backups.h"

using namespace vb420;
namespace fs = std::filesystem;

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    const std::string f = "/tmp/vb420-fuzz-backups-" + std::to_string(getpid());
    fs::remove_all(f);
    fs::create_directories(f);
    return f;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string& folder = Folder();
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) fs::remove_all(e.path(), ec);

  std::string_view rest(reinterpret_cast<const char*>(bytes), size);
  std::set<std::string> ours;
  int made = 0;
  while (!rest.empty() && made < 32) {
    const size_t end = rest.find('\n');
    std::string name(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    // A file name holds no '/' and no NUL, and is not "." or "..".
    std::replace(name.begin(), name.end(), '/', '_');
    std::replace(name.begin(), name.end(), '\0', '_');
    if (name.empty() || name == "." || name == ".." || name.size() > 200) continue;
    ++made;
    const std::string path = folder + "/" + name;
    // Every fifth name is a folder: a folder is never a backup.
    if (made % 5 == 0) {
      if (::mkdir(path.c_str(), 0700) != 0) continue;
    } else {
      FILE* f = std::fopen(path.c_str(), "w");
      if (!f) continue;
      std::fclose(f);
      if (IsBackupName(name)) ours.insert(path);
    }
  }
  const std::vector<std::string> listed = ListBackups(folder);
  VB420_FUZZ_CHECK(std::set<std::string>(listed.begin(), listed.end()) == ours);
  VB420_FUZZ_CHECK(listed.size() == ours.size());
  std::vector<std::string> names;
  for (const auto& p : listed) names.push_back(fs::path(p).filename().string());
  std::vector<std::string> sorted = names;
  SortBackupNames(sorted);
  VB420_FUZZ_CHECK(sorted == names);

  // A name made for the time and model the input's first bytes give.
  std::tm t{};
  t.tm_year = size > 0 ? bytes[0] : 126;
  t.tm_mon = size > 1 ? bytes[1] % 12 : 0;
  t.tm_mday = size > 2 ? bytes[2] % 28 + 1 : 1;
  const std::string model(reinterpret_cast<const char*>(bytes), std::min<size_t>(size, 12));
  const std::string serial(reinterpret_cast<const char*>(bytes), std::min<size_t>(size, 16));
  for (BackupKind k : {BackupKind::kRead, BackupKind::kWritten, BackupKind::kRadio}) {
    const std::string name = BackupFileName(k, t, model, serial);
    VB420_FUZZ_CHECK(IsBackupName(name));
    VB420_FUZZ_CHECK(name.find('/') == std::string::npos);
  }
  return 0;
}
