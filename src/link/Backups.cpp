// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Backups.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "data/DataFile.h"
#include "data/RadioData.h"
#include "lang/Platform.h"

namespace vb420 {

namespace fs = std::filesystem;

namespace {
constexpr const char* kExtension = ".dat";
constexpr const char* kPrefixes[] = {"read-", "written-", "radio-"};
constexpr size_t kStampLength = 15;  // "20261207-081502"

const char* PrefixOf(BackupKind kind) { return kPrefixes[static_cast<int>(kind)]; }

std::string SafeName(const std::string& text) {
  std::string out;
  for (char c : text)
    out.push_back((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ? c : '_');
  return out;
}

// The time stamp of a backup's name: the characters after its kind.
std::string StampOf(const std::string& name) {
  const auto dash = name.find('-');
  return dash == std::string::npos ? std::string() : name.substr(dash + 1, kStampLength);
}

}  // namespace

bool IsBackupName(const std::string& name) {
  if (name.size() <= 4 || name.compare(name.size() - 4, 4, kExtension) != 0) return false;
  for (const char* p : kPrefixes)
    if (name.rfind(p, 0) == 0) return true;
  return false;
}

void SortBackupNames(std::vector<std::string>& names) {
  // The names carry the time in sortable form; within one second the numbered
  // names ("_2" ... "_10") follow the plain one by their number, which a plain
  // text order would break at "_10".
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string stampA = StampOf(a), stampB = StampOf(b);
    if (stampA != stampB) return stampA < stampB;
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
  });
}

std::string DefaultBackupFolder() {
  const std::string folder = UserDataFolder();
  if (folder.empty()) return {};
  return folder + (kWindowsFolders ? "\\backups" : "/backups");
}

std::string BackupFileName(const std::tm& t, const std::string& modelName) {
  return BackupFileName(BackupKind::kRead, t, modelName, "");
}

std::string BackupFileName(BackupKind kind, const std::tm& t, const std::string& modelName,
                           const std::string& serial) {
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &t);
  std::string model = SafeName(modelName);
  if (model.empty()) model = "radio";
  std::string name = std::string(PrefixOf(kind)) + stamp + "-" + model;
  if (!serial.empty()) name += "-" + SafeName(serial);
  return name + kExtension;
}

std::vector<std::string> ListBackups(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(PathOfUtf8(folder), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = Utf8OfPath(it->path().filename());
    if (it->is_regular_file(ec) && IsBackupName(name)) names.push_back(name);
  }
  SortBackupNames(names);
  for (auto& n : names) n = Utf8OfPath(PathOfUtf8(folder) / n);
  return names;
}

std::string SaveBackup(RadioData& data, const std::string& folder, std::string& error, int keep) {
  return SaveBackup(data, folder, BackupKind::kRead, "", error, keep);
}

std::string SaveBackup(RadioData& data, const std::string& folder, BackupKind kind, const std::string& serial,
                       std::string& error, int keep) {
  // Conversations that run at the same time (a fleet) share the folder: the
  // choice of a free name and the pruning must not interleave.
  static std::mutex folderLock;
  const std::lock_guard<std::mutex> lock(folderLock);
  error.clear();
  if (folder.empty()) {
    error = "no folder for backups";
    return {};
  }
  std::error_code ec;
  fs::create_directories(PathOfUtf8(folder), ec);
  if (ec) {
    error = folder + ": " + ec.message();
    return {};
  }
  const std::time_t now = std::time(nullptr);
  const std::tm local = LocalTime(now);
  const int model = data.model.ModelNumber();
  const std::string base = BackupFileName(kind, local, model >= 0 ? ModelTable(model).name : "", serial);
  // Two reads within one second get distinct names, each numbered above every
  // backup of that second still there: reusing a freed lower number would
  // sort the newest backup first, and pruning would remove it at once.
  const std::string stem = base.substr(0, base.size() - 4);
  int highest = 0;
  for (fs::directory_iterator it(PathOfUtf8(folder), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = Utf8OfPath(it->path().filename());
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
  std::string path = Utf8OfPath(PathOfUtf8(folder) / base);
  if (highest > 0 || fs::exists(PathOfUtf8(path), ec)) {
    for (int n = std::max(highest + 1, 2);; ++n) {
      path = Utf8OfPath(PathOfUtf8(folder) / (stem + "_" + std::to_string(n) + kExtension));
      if (!fs::exists(PathOfUtf8(path), ec)) break;
    }
  }
  const FileStatus st = SaveDatFile(path, data);
  if (!st.ok()) {
    error = (st.path.empty() ? path : st.path) + ": " + (st.sysError ? std::strerror(st.sysError) : "cannot be written");
    return {};
  }
  std::vector<std::string> all = ListBackups(folder);
  const size_t limit = static_cast<size_t>(std::max(keep, 1));
  for (size_t i = 0; all.size() > limit && i < all.size() - limit; ++i) fs::remove(PathOfUtf8(all[i]), ec);
  return path;
}

}  // namespace vb420
