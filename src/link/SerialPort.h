// SPDX-License-Identifier: GPL-3.0-or-later
// The serial line to the radio: one device opened for synchronous byte
// writes and reads with a total time-out, built on POSIX termios and poll
// (SerialPortPosix.cpp) or on the Win32 communications functions
// (SerialPortWin32.cpp).
//
// Operations answer true (1) for success and false (0) for failure.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace vb420 {

// The user's port vocabulary is COM1..COM20. Each number maps to a device:
// the "Ports" settings group (passed in by the caller as COMn → path, since the
// core has no settings store), overridden by the environment variable
// VB420_COM<n>; without either, the system's default (DefaultDevicePathOfPort).
using PortMap = std::map<std::string, std::string>;
constexpr int kMaxPortNumber = 20;

#ifdef _WIN32
inline constexpr bool kWindowsPortNames = true;
#else
inline constexpr bool kWindowsPortNames = false;
#endif
// The device of COMn when nothing maps it. Windows: "\\.\COMn", the form
// that opens every port number. Elsewhere: COM1..4 → /dev/ttyS0..3, COM5..12 →
// /dev/ttyUSB0..7, COM13..20 → /dev/ttyACM0..7. "" outside 1..20.
std::string DefaultDevicePathOfPort(int portNumber, bool windows = kWindowsPortNames);
// Device path of COMn, or "" when nothing maps it.
std::string DevicePathOfPort(int portNumber, const PortMap& ports = {});
// The "Ports" group of the desktop program's settings file (its INI text),
// so that a tool without the settings store maps COMn as the program does.
// Lines of other groups and lines without '=' are ignored; a value in double
// quotes loses them.
PortMap PortMapOfSettingsText(std::string_view text);
// The name a Windows build opens for COMn: "COM9", but "\\.\COM10" from 10 on.
std::string Win32DeviceName(int portNumber);
// "COM3" → 3; a plain number "3" → 3; anything else (a device path) → 0.
int PortNumberOfName(std::string_view name);

// Line settings parsed from a mode string such as "9600,N,8,2".
struct LineSettings {
  long baud = 9600;
  char parity = 'N';  // N, E, O, M, S
  int dataBits = 8;   // 5..8
  int stopBits = 2;   // 1 or 2 (1.5 is taken as 2)
};
// False when the text is not a mode string this port can apply.
bool ParseModeString(std::string_view mode, LineSettings& out);
// The system's speed constant of a baud rate (termios B9600; on Windows the
// rate itself, as CBR_9600 is), 0 when there is none.
unsigned BaudConstant(long baud);
// The baud rate of a speed constant, 0 when unknown.
long BaudOfConstant(unsigned speed);

class SerialPort {
 public:
  static constexpr uint16_t kDefaultQueueSize = 512;
  static constexpr const char* kDefaultMode = "9600,N,8,2";
  static constexpr uint32_t kDefaultReadTimeout = 1000;

  SerialPort() = default;
  virtual ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Port number n of COMn; 0 keeps the current one. An open port is closed
  // and opened again on the new device. A number clears a direct device path.
  bool SetPortNumber(int n);
  int PortNumber() const { return portNumber_; }
  // A device path used instead of the port number's mapping ("" = none).
  bool SetDevicePath(const std::string& path);
  const std::string& DevicePath() const { return devicePath_; }
  // The "Ports" settings group values.
  void SetPortMap(const PortMap& ports) { ports_ = ports; }
  // The device that opening uses now.
  std::string DeviceName() const;

  // 1 opens, 0 closes; asking for the current state does nothing and succeeds.
  bool SetOpenState(int wanted);
  int OpenState() const { return open_ ? 1 : 0; }
  bool IsOpen() const { return open_; }
  // Why the last opening failed: the system's error number, EBUSY when
  // another program holds the port, ENOENT when no device is mapped; 0 after
  // an opening that got the device.
  int OpenError() const { return openError_; }
  bool PortBusy() const { return openError_ == EBUSY; }

  // Queue sizes are kept for the caller; the tty driver sizes its own queues.
  bool SetReceiveQueueSize(uint16_t n);
  bool SetTransmitQueueSize(uint16_t n);
  uint16_t ReceiveQueueSize() const { return rxQueue_; }
  uint16_t TransmitQueueSize() const { return txQueue_; }

  // Stored without blanks; applied at once to an open port.
  bool SetModeString(std::string_view mode);
  std::string GetModeString() const { return mode_; }
  // Replaces only the baud-rate field ("19200" + ",N,8,2").
  bool SetBaudField(std::string_view baud);

  bool SetReadTimeout(uint32_t ms);
  uint32_t ReadTimeout() const { return readTimeout_; }
  void SetReadTimeoutMultiplier(uint32_t msPerByte) { readMultiplier_ = msPerByte; }
  uint32_t ReadTimeoutMultiplier() const { return readMultiplier_; }

  // Each write first discards whatever is waiting in the receive queue, so a
  // late byte of an earlier exchange is never taken for the next answer.
  [[nodiscard]] virtual bool WriteBytes(const uint8_t* buffer, size_t count);
  [[nodiscard]] bool WriteText(std::string_view text);
  [[nodiscard]] bool WriteByte(uint8_t b);
  // Exactly `count` bytes within the total time-out (constant + multiplier ×
  // count); fewer is a failure.
  [[nodiscard]] virtual bool Read(uint8_t* buffer, size_t count);

  static void Wait(uint32_t ms);

  // 1 (RS-232) for a tty whose line settings can be read, -1 otherwise.
  int ProviderSubtype();
  [[nodiscard]] bool IsRs232Port();

  // The open descriptor, for tests (-1 when closed; always -1 on Windows,
  // where the port is a handle).
  int Descriptor() const { return fd_; }

 protected:
  bool ApplyLineSettings();

 private:
  bool Open();
  bool Close();

  int fd_ = -1;
#ifdef _WIN32
  void* handle_ = nullptr;  // the port's HANDLE
#endif
  bool open_ = false;
  bool exclusive_ = false;
  int openError_ = 0;
  int portNumber_ = 1;
  uint16_t rxQueue_ = kDefaultQueueSize;
  uint16_t txQueue_ = kDefaultQueueSize;
  std::string mode_ = kDefaultMode;
  uint32_t readTimeout_ = kDefaultReadTimeout;
  uint32_t readMultiplier_ = 0;
  std::string devicePath_;
  PortMap ports_;
};

}  // namespace vb420
