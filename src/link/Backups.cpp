#include "link/Backups.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "data/DataFile.h"
#include "data/RadioData.h"

namespace vb420 {

namespace fs = std::filesystem;

namespace {
constexpr const char* kPrefix = "read-";
constexpr const char* kExtension = ".dat";
}  // namespace

std::string DefaultBackupFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) return std::string(xdg) + "/vb420/backups";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.local/share/vb420/backups";
  return {};
}

std::string BackupFileName(const std::tm& t, const std::string& modelName) {
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &t);
  std::string model;
  for (char c : modelName)
    model.push_back((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ? c : '_');
  if (model.empty()) model = "radio";
  return std::string(kPrefix) + stamp + "-" + model + kExtension;
}

std::vector<std::string> ListBackups(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (it->is_regular_file(ec) && name.rfind(kPrefix, 0) == 0 && name.size() > 4 &&
        name.compare(name.size() - 4, 4, kExtension) == 0)
      names.push_back(name);
  }
  // The names carry the time in sortable form; within one second the numbered
  // names ("_2" ... "_10") follow the plain one by their number, which a plain
  // text order would break at "_10".
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string stampA = a.substr(0, 20), stampB = b.substr(0, 20);
    if (stampA != stampB) return stampA < stampB;
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
  });
  for (auto& n : names) n = (fs::path(folder) / n).string();
  return names;
}

std::string SaveBackup(RadioData& data, const std::string& folder, std::string& error, int keep) {
  error.clear();
  if (folder.empty()) {
    error = "no folder for backups";
    return {};
  }
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    error = folder + ": " + ec.message();
    return {};
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const int model = data.model.ModelNumber();
  const std::string base = BackupFileName(local, model >= 0 ? ModelTable(model).name : "");
  // Two reads within one second get distinct names, each numbered above every
  // backup of that second still there: reusing a freed lower number would
  // sort the newest backup first, and pruning would remove it at once.
  const std::string stem = base.substr(0, base.size() - 4);
  int highest = 0;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name == base) {
      highest = std::max(highest, 1);
    } else if (name.size() > stem.size() + 5 && name.compare(0, stem.size() + 1, stem + "_") == 0 &&
               name.compare(name.size() - 4, 4, kExtension) == 0) {
      const std::string digits = name.substr(stem.size() + 1, name.size() - stem.size() - 5);
      if (!digits.empty() && digits.size() < 9 &&
          std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        highest = std::max(highest, std::stoi(digits));
    }
  }
  std::string path = (fs::path(folder) / base).string();
  if (highest > 0 || fs::exists(path, ec)) {
    for (int n = std::max(highest + 1, 2);; ++n) {
      path = (fs::path(folder) / (stem + "_" + std::to_string(n) + kExtension)).string();
      if (!fs::exists(path, ec)) break;
    }
  }
  const FileStatus st = SaveDatFile(path, data);
  if (!st.ok()) {
    error = (st.path.empty() ? path : st.path) + ": " + (st.sysError ? std::strerror(st.sysError) : "cannot be written");
    return {};
  }
  std::vector<std::string> all = ListBackups(folder);
  const size_t limit = static_cast<size_t>(std::max(keep, 1));
  for (size_t i = 0; all.size() > limit && i < all.size() - limit; ++i) fs::remove(all[i], ec);
  return path;
}

}  // namespace vb420
