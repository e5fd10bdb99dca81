// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame/ui/SettingsFormat.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "frame/ui/Workspace.h"

namespace vb420 {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string> SplitColons(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    const size_t p = text.find(':', start);
    out.push_back(text.substr(start, p == std::string::npos ? std::string::npos : p - start));
    if (p == std::string::npos) break;
    start = p + 1;
  }
  return out;
}

bool ParseInt(const std::string& s, int& out) {
  size_t i = 0;
  while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  size_t j = i;
  if (j < s.size() && (s[j] == '-' || s[j] == '+')) ++j;
  const size_t digits = j;
  while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
  if (j == digits) return false;
  size_t k = j;
  while (k < s.size() && std::isspace(static_cast<unsigned char>(s[k]))) ++k;
  if (k != s.size()) return false;
  const long long v = std::strtoll(s.c_str() + i, nullptr, 10);
  if (v < -2147483647LL - 1 || v > 2147483647LL) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

StartSwitches ParseSwitches(const std::vector<std::string>& args) {
  StartSwitches s;
  for (const auto& a : args) {
    const std::string l = Lower(a);
    if (l == "voting") s.voting = true;
    else if (l == "step") s.fineStep = true;
    else if (l == "aqua") s.aqua = true;
    else if (l == "memmap") s.memMap = true;
  }
  return s;
}

std::optional<ModelBytes> ParseLastModel(const std::string& text) {
  const auto fields = SplitColons(text);
  if (fields.size() != 8) return std::nullopt;
  ModelBytes b{};
  for (size_t i = 0; i < 8; ++i) {
    const std::string& f = fields[i];
    if (f.empty() || f.size() > 2) return std::nullopt;
    for (char c : f)
      if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    b[i] = static_cast<uint8_t>(std::strtoul(f.c_str(), nullptr, 16));
  }
  return b;
}

std::string FormatLastModel(const ModelBytes& b) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02X:%02X:%02X:%02X:%02X:%02X:%02X:%02X", b[0], b[1], b[2], b[3], b[4], b[5], b[6],
                b[7]);
  return buf;
}

int NormalizeComPort(long value) { return value >= 1 && value <= 20 ? static_cast<int>(value) : 1; }

std::optional<WindowPlacement> ParseWindowPlacement(const std::string& text) {
  const auto fields = SplitColons(text);
  if (fields.size() != 10) return std::nullopt;
  int v[10];
  for (size_t i = 0; i < 10; ++i)
    if (!ParseInt(fields[i], v[i])) return std::nullopt;
  WindowPlacement p;
  p.flags = v[0];
  p.showCmd = v[1];
  p.minX = v[2];
  p.minY = v[3];
  p.maxX = v[4];
  p.maxY = v[5];
  p.left = v[6];
  p.top = v[7];
  p.right = v[8];
  p.bottom = v[9];
  // The window is made right - left wide and bottom - top high: a stored
  // rectangle whose size no int holds is damaged, not a window.
  int size = 0;
  if (__builtin_sub_overflow(p.right, p.left, &size) || __builtin_sub_overflow(p.bottom, p.top, &size))
    return std::nullopt;
  return p;
}

std::string FormatWindowPlacement(const WindowPlacement& p) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%i:%i:%i:%i:%i:%i:%i:%i:%i:%i", p.flags, p.showCmd, p.minX, p.minY, p.maxX, p.maxY,
                p.left, p.top, p.right, p.bottom);
  return buf;
}

std::string DefaultDataFolder(const std::string& programPath) {
  const size_t cut = programPath.find_last_of("\\/:");
  const std::string folder = cut == std::string::npos ? std::string() : programPath.substr(0, cut + 1);
  std::error_code ec;
  const std::string data = folder + "DATA/";
  if (std::filesystem::is_directory(folder.empty() ? std::string("DATA") : data, ec)) return folder.empty() ? "DATA/" : data;
  return folder;
}

std::string DefaultPortDevice(int port) {
  if (port >= 1 && port <= 4) return "/dev/ttyS" + std::to_string(port - 1);
  if (port >= 5 && port <= 12) return "/dev/ttyUSB" + std::to_string(port - 5);
  if (port >= 13 && port <= 20) return "/dev/ttyACM" + std::to_string(port - 13);
  return {};
}

std::string PortDevicePath(int port, const std::string& stored) {
  const std::string var = "VB420_COM" + std::to_string(port);
  if (const char* env = std::getenv(var.c_str()); env && *env) return env;
  if (!stored.empty()) return stored;
  return DefaultPortDevice(port);
}

}  // namespace vb420
