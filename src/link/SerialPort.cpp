// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SerialPort.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace vb420 {

// ---------------------------------------------------------------------------
// Port names

std::string DevicePathOfPort(int n, const PortMap& ports) {
  if (n < 1) return {};
  const std::string key = "COM" + std::to_string(n);
  const std::string envName = "VB420_" + key;
  if (const char* env = std::getenv(envName.c_str()); env && *env) return env;
  if (auto it = ports.find(key); it != ports.end() && !it->second.empty()) return it->second;
  return DefaultDevicePathOfPort(n);
}

std::string DefaultDevicePathOfPort(int n, bool windows) {
  if (n < 1 || n > kMaxPortNumber) return {};
  if (windows) return "\\\\.\\COM" + std::to_string(n);
  if (n <= 4) return "/dev/ttyS" + std::to_string(n - 1);
  if (n <= 12) return "/dev/ttyUSB" + std::to_string(n - 5);
  if (n <= 20) return "/dev/ttyACM" + std::to_string(n - 13);
  return {};
}

PortMap PortMapOfSettingsText(std::string_view text) {
  PortMap ports;
  bool inPorts = false;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == '[') {
      inPorts = line == "[Ports]";
      continue;
    }
    const size_t eq = line.find('=');
    if (!inPorts || eq == std::string_view::npos) continue;
    std::string_view value = line.substr(eq + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    ports[std::string(line.substr(0, eq))] = std::string(value);
  }
  return ports;
}

std::string Win32DeviceName(int n) {
  if (n < 10) return "COM" + std::to_string(n);
  return "\\\\.\\COM" + std::to_string(n);
}

int PortNumberOfName(std::string_view name) {
  if (name.size() > 3 && (name.substr(0, 3) == "COM" || name.substr(0, 3) == "com")) name.remove_prefix(3);
  if (name.empty() || name.size() > 3) return 0;
  int n = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n;
}

// ---------------------------------------------------------------------------
// Mode strings

bool ParseModeString(std::string_view mode, LineSettings& out) {
  std::string fields[4];
  int k = 0;
  for (char c : mode) {
    if (c == ' ') continue;
    if (c == ',') {
      if (++k > 3) return false;
      continue;
    }
    fields[k] += c;
  }
  LineSettings s;
  char* end = nullptr;
  if (fields[0].empty()) return false;
  s.baud = std::strtol(fields[0].c_str(), &end, 10);
  if (*end != '\0' || BaudConstant(s.baud) == 0) return false;
  if (k >= 1 && !fields[1].empty()) {
    if (fields[1].size() != 1) return false;
    const char p = static_cast<char>(fields[1][0] & ~0x20);
    if (p != 'N' && p != 'E' && p != 'O' && p != 'M' && p != 'S') return false;
    s.parity = p;
  }
  if (k >= 2 && !fields[2].empty()) {
    if (fields[2].size() != 1 || fields[2][0] < '5' || fields[2][0] > '8') return false;
    s.dataBits = fields[2][0] - '0';
  }
  if (k >= 3 && !fields[3].empty()) {
    if (fields[3] == "1") s.stopBits = 1;
    else if (fields[3] == "2" || fields[3] == "1.5") s.stopBits = 2;
    else return false;
  }
  out = s;
  return true;
}

// ---------------------------------------------------------------------------
// SerialPort

SerialPort::~SerialPort() { Close(); }

std::string SerialPort::DeviceName() const {
  if (!devicePath_.empty()) return devicePath_;
  return DevicePathOfPort(portNumber_, ports_);
}

bool SerialPort::SetPortNumber(int n) {
  if (n != 0) {
    portNumber_ = n;
    devicePath_.clear();
  }
  if (!open_) return true;
  Close();
  return Open();
}

bool SerialPort::SetDevicePath(const std::string& path) {
  devicePath_ = path;
  if (!open_) return true;
  Close();
  return Open();
}

bool SerialPort::SetOpenState(int wanted) {
  if ((wanted != 0) == open_) return true;
  return wanted ? Open() : Close();
}

bool SerialPort::SetReceiveQueueSize(uint16_t n) {
  rxQueue_ = n;
  return true;
}

bool SerialPort::SetTransmitQueueSize(uint16_t n) {
  txQueue_ = n;
  return true;
}

bool SerialPort::SetModeString(std::string_view mode) {
  std::string s;
  for (char c : mode)
    if (c != ' ') s += c;
  mode_ = s;
  if (!open_) return true;
  return ApplyLineSettings();
}

bool SerialPort::SetBaudField(std::string_view baud) {
  const auto comma = mode_.find(',');
  const std::string tail = comma == std::string::npos ? std::string() : mode_.substr(comma);
  return SetModeString(std::string(baud) + tail);
}

bool SerialPort::SetReadTimeout(uint32_t ms) {
  readTimeout_ = ms;
  return true;
}

bool SerialPort::WriteText(std::string_view text) {
  return WriteBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

bool SerialPort::WriteByte(uint8_t b) { return WriteBytes(&b, 1); }

void SerialPort::Wait(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool SerialPort::IsRs232Port() {
  Wait(10);
  const bool r = ProviderSubtype() == 1;
  Wait(10);
  return r;
}

}  // namespace vb420
