// SPDX-License-Identifier: GPL-3.0-or-later
// The serial devices this computer really has, as the port dialog shows
// them: device node, its stable name under /dev/serial/by-id (a USB
// adapter's ttyUSB number changes from one plug-in to the next), and what
// the kernel knows of it (driver, USB product, vendor:product numbers).
// Also why a device could not be opened, in words a technician can act on.
#pragma once

#include <string>
#include <vector>

namespace vb420 {

struct SerialDeviceInfo {
  std::string path;         // "/dev/ttyUSB0"
  std::string stablePath;   // "/dev/serial/by-id/usb-FTDI_..." or ""
  std::string product;      // "FT232R USB UART" (USB), or the driver's name
  std::string manufacturer; // "FTDI" or ""
  std::string usbId;        // "0403:6001" or ""
};

// Where the system tables are: the real ones, or a copy made by a test.
struct SerialRoots {
  std::string sys = "/sys/class/tty";
  std::string dev = "/dev";
};

// Every serial device that exists now, sorted by path. Built-in UARTs that
// the kernel lists without hardware behind them (port type 0) are left out.
std::vector<SerialDeviceInfo> ListSerialDevices(const SerialRoots& roots = {});

// What is known of one device path (a by-id link is followed); `path` is
// kept as given. False when the device does not exist.
bool DescribeSerialDevice(const std::string& path, SerialDeviceInfo& out, const SerialRoots& roots = {});

// One line for a list: "ttyUSB0 — FTDI FT232R USB UART (0403:6001)".
std::string SerialDeviceLabel(const SerialDeviceInfo& info);

// Whether the device node exists at all; a probe skips absent ones at once.
bool SerialDeviceExists(const std::string& path);

// Why an opening failed, from the system's error number.
enum class PortOpenProblem { kNone, kAbsent, kNoPermission, kBusy, kOther };
PortOpenProblem ClassifyOpenError(int error);

}  // namespace vb420
