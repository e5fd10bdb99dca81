// SPDX-License-Identifier: GPL-3.0-or-later
// The serial devices of a Windows computer: the system's serial map in the
// registry lists every port a driver has made, with the driver's name.
#ifdef _WIN32
#include "link/SerialDevices.h"

#include <windows.h>

#include "lang/Platform.h"

namespace vb420 {

std::vector<SerialDeviceInfo> ListSerialDevices(const SerialRoots&) {
  std::vector<SerialDeviceInfo> out;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return out;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    wchar_t value[256];
    DWORD nameLen = 256, valueBytes = sizeof value, type = 0;
    const LONG rc = RegEnumValueW(key, i, name, &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(value), &valueBytes);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS || type != REG_SZ || valueBytes < sizeof(wchar_t)) continue;
    std::wstring port(value, valueBytes / sizeof(wchar_t));
    while (!port.empty() && port.back() == L'\0') port.pop_back();
    if (!port.empty()) out.push_back(SerialDeviceOfMapEntry(Utf8OfWide(std::wstring(name, nameLen)), Utf8OfWide(port)));
  }
  RegCloseKey(key);
  SortSerialDevices(out);
  return out;
}

bool DescribeSerialDevice(const std::string& path, SerialDeviceInfo& out, const SerialRoots& roots) {
  out = SerialDeviceInfo{};
  out.path = path;
  // "COM3" and "\\.\COM3" name the same port.
  const std::string bare = path.rfind("\\\\.\\", 0) == 0 ? path.substr(4) : path;
  for (const SerialDeviceInfo& d : ListSerialDevices(roots)) {
    if (d.path.substr(4) == bare) {
      out.product = d.product;
      return true;
    }
  }
  return SerialDeviceExists(path);
}

bool SerialDeviceExists(const std::string& path) {
  if (path.empty()) return false;
  const std::string bare = path.rfind("\\\\.\\", 0) == 0 ? path.substr(4) : path;
  wchar_t target[512];
  return QueryDosDeviceW(WideOfUtf8(bare).c_str(), target, 512) != 0;
}

}  // namespace vb420

#endif  // _WIN32
