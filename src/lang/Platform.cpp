// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/Platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cstdlib>

namespace vb420 {

std::filesystem::path PathOfUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8OfPath(const std::filesystem::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

std::tm LocalTime(std::time_t when) {
  std::tm out{};
#ifdef _WIN32
  localtime_s(&out, &when);
#else
  localtime_r(&when, &out);
#endif
  return out;
}

#ifdef _WIN32

std::wstring WideOfUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Utf8OfWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string EnvironmentText(const char* name) {
  const wchar_t* v = _wgetenv(WideOfUtf8(name).c_str());
  return v ? Utf8OfWide(v) : std::string();
}

#else

std::string EnvironmentText(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

#endif

std::string UserDataFolder(bool windows) {
  if (windows) {
    const std::string local = EnvironmentText("LOCALAPPDATA");
    return local.empty() ? std::string() : local + "\\vb420";
  }
  const std::string xdg = EnvironmentText("XDG_DATA_HOME");
  if (!xdg.empty()) return xdg + "/vb420";
  const std::string home = EnvironmentText("HOME");
  return home.empty() ? std::string() : home + "/.local/share/vb420";
}

std::string UserSettingsFile(bool windows) {
  if (windows) {
    const std::string folder = UserDataFolder(true);
    return folder.empty() ? std::string() : folder + "\\vb420.ini";
  }
  std::string folder = EnvironmentText("XDG_CONFIG_HOME");
  if (folder.empty()) {
    const std::string home = EnvironmentText("HOME");
    if (home.empty()) return {};
    folder = home + "/.config";
  }
  return folder + "/MARDEKO/vb420.conf";
}

}  // namespace vb420
