// SPDX-License-Identifier: GPL-3.0-or-later
// The few things the core asks of the operating system that differ between
// Linux and Windows: file names (UTF-8 in the program, UTF-16 in the Windows
// API), the local time of day, and the program's own folder.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace vb420 {

// A file name as the program holds it (UTF-8) as a path the system opens:
// on Windows the UTF-16 name, so that "Álvaro.dat" opens as itself and not
// as whatever the ANSI code page makes of its bytes.
std::filesystem::path PathOfUtf8(std::string_view utf8);
// The other way: a path the system gave us, as UTF-8.
std::string Utf8OfPath(const std::filesystem::path& path);

// The local broken-down time of `when` (thread-safe on every system).
std::tm LocalTime(std::time_t when);

#ifdef _WIN32
inline constexpr bool kWindowsFolders = true;
#else
inline constexpr bool kWindowsFolders = false;
#endif

// An environment variable as UTF-8 ("" when unset or empty).
std::string EnvironmentText(const char* name);

// The user's own folder for the program's data (backups of radios read):
// Windows: %LOCALAPPDATA%\vb420; elsewhere $XDG_DATA_HOME/vb420, by default
// ~/.local/share/vb420. "" when the environment names no such place.
std::string UserDataFolder(bool windows = kWindowsFolders);
// The desktop program's settings file, which vb420cli reads for the port
// names: Windows: %LOCALAPPDATA%\vb420\vb420.ini; elsewhere
// $XDG_CONFIG_HOME/MARDEKO/vb420.conf, by default ~/.config/MARDEKO/vb420.conf.
std::string UserSettingsFile(bool windows = kWindowsFolders);

#ifdef _WIN32
// UTF-8 to UTF-16 and back, for the Windows API's W functions.
std::wstring WideOfUtf8(std::string_view utf8);
std::string Utf8OfWide(std::wstring_view wide);
#endif

}  // namespace vb420
