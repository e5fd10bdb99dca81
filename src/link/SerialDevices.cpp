// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SerialDevices.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace vb420 {

namespace fs = std::filesystem;

#ifndef _WIN32
namespace {

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  if (in) std::getline(in, line);
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\n')) line.pop_back();
  return line;
}

fs::path Canonical(const fs::path& p) {
  std::error_code ec;
  fs::path c = fs::canonical(p, ec);
  return ec ? fs::path() : c;
}

bool IsSerialName(const std::string& name) {
  for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM", "ttyAMA", "ttyXRUSB", "rfcomm"})
    if (name.rfind(prefix, 0) == 0 && name.size() > std::char_traits<char>::length(prefix)) return true;
  return false;
}

// Fills the kernel's knowledge of tty `name` from its sysfs folder.
bool FillFromSys(const std::string& name, SerialDeviceInfo& out, const SerialRoots& roots) {
  const fs::path node = fs::path(roots.sys) / name;
  std::error_code ec;
  if (!fs::exists(node / "device", ec)) return false;  // a virtual terminal, a pty
  // A built-in UART slot without hardware reports port type 0.
  if (name.rfind("ttyS", 0) == 0 && fs::exists(node / "type", ec) && FirstLine(node / "type") == "0") return false;
  const fs::path device = Canonical(node / "device");
  const fs::path driver = Canonical(node / "device" / "driver");
  if (!driver.empty()) out.product = driver.filename().string();
  // The USB device is an ancestor of the interface the tty hangs on.
  for (fs::path p = device; !p.empty() && p != p.root_path(); p = p.parent_path()) {
    if (fs::exists(p / "idVendor", ec) && fs::exists(p / "idProduct", ec)) {
      out.usbId = FirstLine(p / "idVendor") + ":" + FirstLine(p / "idProduct");
      if (const std::string product = FirstLine(p / "product"); !product.empty()) out.product = product;
      out.manufacturer = FirstLine(p / "manufacturer");
      break;
    }
  }
  return true;
}

void FillStablePaths(std::vector<SerialDeviceInfo>& list, const SerialRoots& roots) {
  const fs::path byId = fs::path(roots.dev) / "serial" / "by-id";
  std::error_code ec;
  if (!fs::is_directory(byId, ec)) return;
  for (const auto& entry : fs::directory_iterator(byId, ec)) {
    const fs::path target = Canonical(entry.path());
    for (SerialDeviceInfo& info : list)
      if (!target.empty() && Canonical(info.path) == target) info.stablePath = entry.path().string();
  }
}

}  // namespace

std::vector<SerialDeviceInfo> ListSerialDevices(const SerialRoots& roots) {
  std::vector<SerialDeviceInfo> out;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(roots.sys, ec)) {
    const std::string name = entry.path().filename().string();
    if (!IsSerialName(name)) continue;
    SerialDeviceInfo info;
    info.path = (fs::path(roots.dev) / name).string();
    if (!fs::exists(info.path, ec)) continue;
    if (!FillFromSys(name, info, roots)) continue;
    out.push_back(std::move(info));
  }
  FillStablePaths(out, roots);
  SortSerialDevices(out);
  return out;
}

bool DescribeSerialDevice(const std::string& path, SerialDeviceInfo& out, const SerialRoots& roots) {
  out = SerialDeviceInfo{};
  out.path = path;
  const fs::path real = Canonical(path);
  if (real.empty()) return false;
  const std::string name = real.filename().string();
  if (!FillFromSys(name, out, roots)) return true;  // exists, but the kernel says nothing of it
  std::vector<SerialDeviceInfo> one{out};
  one[0].path = real.string();
  FillStablePaths(one, roots);
  out.stablePath = one[0].stablePath;
  return true;
}

#endif  // !_WIN32

void SortSerialDevices(std::vector<SerialDeviceInfo>& list) {
  std::sort(list.begin(), list.end(), [](const SerialDeviceInfo& a, const SerialDeviceInfo& b) {
    // ttyS2 before ttyS10, COM2 before COM10: by prefix, then by number.
    const auto split = [](const std::string& p) {
      size_t i = p.size();
      while (i > 0 && i + 9 > p.size() && std::isdigit(static_cast<unsigned char>(p[i - 1]))) --i;
      return std::make_pair(p.substr(0, i), i < p.size() ? std::stol(p.substr(i)) : -1L);
    };
    return split(a.path) < split(b.path);
  });
}

std::string SerialDeviceLabel(const SerialDeviceInfo& info) {
  std::string label = fs::path(info.path).filename().string();
  std::string what = info.manufacturer;
  if (!info.product.empty()) what += (what.empty() ? "" : " ") + info.product;
  if (!what.empty()) label += " \u2014 " + what;
  if (!info.usbId.empty()) label += " (" + info.usbId + ")";
  return label;
}

#ifndef _WIN32
bool SerialDeviceExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(path, ec);
}

#endif  // !_WIN32

int ErrnoOfPortOpenError(unsigned long win32Error) {
  // The Windows error numbers (winerror.h), spelled out so that the
  // translation is the same, and testable, on every system.
  switch (win32Error) {
    case 0: return 0;
    case 2:    // ERROR_FILE_NOT_FOUND: no such port
    case 3:    // ERROR_PATH_NOT_FOUND
    case 21:   // ERROR_NOT_READY
    case 55:   // ERROR_DEV_NOT_EXIST: a USB adapter pulled out
    case 123:  // ERROR_INVALID_NAME
    case 1167: // ERROR_DEVICE_NOT_CONNECTED
      return ENOENT;
    // A port another program holds answers "access denied" (ports are
    // opened without sharing); the sharing and busy errors mean the same.
    case 5:    // ERROR_ACCESS_DENIED
    case 32:   // ERROR_SHARING_VIOLATION
    case 170:  // ERROR_BUSY
      return EBUSY;
    case 1314: // ERROR_PRIVILEGE_NOT_HELD
    case 65:   // ERROR_NETWORK_ACCESS_DENIED
      return EACCES;
    default: return EIO;
  }
}

SerialDeviceInfo SerialDeviceOfMapEntry(const std::string& driverName, const std::string& portName) {
  SerialDeviceInfo info;
  info.path = "\\\\.\\" + portName;
  // "\Device\Serial0", "\Device\VCP0": the driver's object, the one
  // thing the map knows of the hardware.
  const size_t slash = driverName.find_last_of('\\');
  info.product = slash == std::string::npos ? driverName : driverName.substr(slash + 1);
  return info;
}

PortOpenProblem ClassifyOpenError(int error) {
  switch (error) {
    case 0: return PortOpenProblem::kNone;
    case ENOENT:
    case ENODEV:
    case ENXIO: return PortOpenProblem::kAbsent;
    case EACCES:
    case EPERM: return PortOpenProblem::kNoPermission;
    case EBUSY: return PortOpenProblem::kBusy;
    default: return PortOpenProblem::kOther;
  }
}

}  // namespace vb420
