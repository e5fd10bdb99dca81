// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/ResourcePaths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "lang/Platform.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vb420 {

namespace fs = std::filesystem;

namespace {

fs::path Normal(const std::string& p) {
  std::error_code ec;
  fs::path n = fs::weakly_canonical(fs::absolute(p, ec), ec);
  if (ec) n = fs::path(p).lexically_normal();
  return n;
}

// True when `inner` is `outer` or lies below it.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
  auto o = outer.begin();
  auto i = inner.begin();
  for (; o != outer.end(); ++o, ++i) {
    if (o->empty()) continue;  // a trailing separator
    if (i == inner.end() || *i != *o) return false;
  }
  return true;
}

#ifndef _WIN32
void AddXdg(std::vector<std::string>& out, const std::string& base) {
  if (base.empty() || base.front() != '/') return;
  out.push_back((fs::path(base) / "vb420").string());
}
#endif

}  // namespace

std::vector<std::string> ResourceDirs(const std::string& programFolder, const char* xdgDataHome,
                                      const char* xdgDataDirs, const char* home, const std::string& sourceResources,
                                      const std::string& buildFolder) {
  std::vector<std::string> out;
  const std::string folder = programFolder.empty() ? std::string(".") : programFolder;
  out.push_back(folder);
  out.push_back((fs::path(folder) / ".." / "share" / "vb420").lexically_normal().string());

#ifdef _WIN32
  // Windows has no XDG folders: the user's own data folder stands for them.
  (void)xdgDataHome;
  (void)xdgDataDirs;
  (void)home;
  if (const std::string user = UserDataFolder(); !user.empty()) out.push_back(user);
#else
  if (xdgDataHome && *xdgDataHome)
    AddXdg(out, xdgDataHome);
  else if (home && *home)
    AddXdg(out, (fs::path(home) / ".local" / "share").string());
  const std::string dirs = (xdgDataDirs && *xdgDataDirs) ? xdgDataDirs : "/usr/local/share:/usr/share";
  size_t start = 0;
  while (start <= dirs.size()) {
    const size_t colon = dirs.find(':', start);
    const size_t end = colon == std::string::npos ? dirs.size() : colon;
    AddXdg(out, dirs.substr(start, end - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
#endif

  if (!sourceResources.empty() && !buildFolder.empty() && IsWithin(Normal(folder), Normal(buildFolder)))
    out.push_back(sourceResources);
  return out;
}

std::vector<std::string> ResourceDirs(const std::string& programFolder) {
#if defined(VB420_RESOURCE_DIR) && defined(VB420_BUILD_DIR)
  const std::string source = VB420_RESOURCE_DIR;
  const std::string build = VB420_BUILD_DIR;
#else
  const std::string source, build;
#endif
  return ResourceDirs(programFolder, std::getenv("XDG_DATA_HOME"), std::getenv("XDG_DATA_DIRS"),
                      std::getenv("HOME"), source, build);
}

std::string RunningProgramFolder() {
#ifdef _WIN32
  // A long path may not fit the first buffer: grow it until it does.
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return ".";
    if (n < buf.size()) return Utf8OfPath(fs::path(std::wstring(buf.data(), n)).parent_path());
    buf.resize(buf.size() * 2);
  }
#endif
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return ".";
  return exe.parent_path().string();
}

}  // namespace vb420
