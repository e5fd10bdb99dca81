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
// On Windows: the ports of the system's serial map (the roots are unused).
std::vector<SerialDeviceInfo> ListSerialDevices(const SerialRoots& roots = {});

// What is known of one device path (a by-id link is followed); `path` is
// kept as given. False when the device does not exist.
bool DescribeSerialDevice(const std::string& path, SerialDeviceInfo& out, const SerialRoots& roots = {});

// One line for a list: "ttyUSB0 — FTDI FT232R USB UART (0403:6001)".
std::string SerialDeviceLabel(const SerialDeviceInfo& info);

// Whether the device node exists at all; a probe skips absent ones at once.
bool SerialDeviceExists(const std::string& path);

// Sorts a device list as a technician reads it: ttyS2 before ttyS10, COM2
// before COM10 (by the name's prefix, then by its number).
void SortSerialDevices(std::vector<SerialDeviceInfo>& list);

// One entry of the Windows serial map (HARDWARE\DEVICEMAP\SERIALCOMM):
// the driver's device name and the port name ("\Device\VCP0", "COM3")
// as a device: path "\\.\COM3", product "VCP0".
SerialDeviceInfo SerialDeviceOfMapEntry(const std::string& driverName, const std::string& portName);

// The system error number (errno) for a Windows error from opening a port:
// absent (ENOENT), busy (EBUSY, also for "access denied", as Windows answers
// for a port opened elsewhere), no permission (EACCES), anything else EIO.
int ErrnoOfPortOpenError(unsigned long win32Error);

// Why an opening failed, from the system's error number.
enum class PortOpenProblem { kNone, kAbsent, kNoPermission, kBusy, kOther };
PortOpenProblem ClassifyOpenError(int error);

}  // namespace vb420
