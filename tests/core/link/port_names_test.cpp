// SPDX-License-Identifier: GPL-3.0-or-later
// The port vocabulary (COMn), mode strings and the reasons an opening fails,
// on both systems' terms: these need no line and run on every system.
#include <gtest/gtest.h>

#include <cerrno>

#include "link/SerialDevices.h"
#include "link/SerialPort.h"
#include "support/Environment.h"
#include "support/Files.h"

#ifdef _WIN32
#include <windows.h>

#include "lang/Platform.h"
#endif

namespace vb420 {
namespace {

using testsupport::ScopedEnv;

TEST(PortNames, DefaultDevicesByNumberRange) {
  EXPECT_EQ(DefaultDevicePathOfPort(1, false), "/dev/ttyS0");
  EXPECT_EQ(DefaultDevicePathOfPort(4, false), "/dev/ttyS3");
  EXPECT_EQ(DefaultDevicePathOfPort(5, false), "/dev/ttyUSB0");
  EXPECT_EQ(DefaultDevicePathOfPort(9, false), "/dev/ttyUSB4");
  EXPECT_EQ(DefaultDevicePathOfPort(10, false), "/dev/ttyUSB5");
  EXPECT_EQ(DefaultDevicePathOfPort(12, false), "/dev/ttyUSB7");
  EXPECT_EQ(DefaultDevicePathOfPort(13, false), "/dev/ttyACM0");
  EXPECT_EQ(DefaultDevicePathOfPort(20, false), "/dev/ttyACM7");
  EXPECT_EQ(DefaultDevicePathOfPort(21, false), "");
  EXPECT_EQ(DefaultDevicePathOfPort(0, false), "");
}

// Windows opens every port by its device name, the one form that works for
// COM10 and above as well as below.
TEST(PortNames, WindowsDefaultIsTheDeviceNameOfEveryNumber) {
  EXPECT_EQ(DefaultDevicePathOfPort(1, true), "\\\\.\\COM1");
  EXPECT_EQ(DefaultDevicePathOfPort(9, true), "\\\\.\\COM9");
  EXPECT_EQ(DefaultDevicePathOfPort(20, true), "\\\\.\\COM20");
  EXPECT_EQ(DefaultDevicePathOfPort(21, true), "");
  EXPECT_EQ(DefaultDevicePathOfPort(0, true), "");
  // Without a mapping, COMn is the system's own default.
  const ScopedEnv none("VB420_COM3", std::nullopt);
  EXPECT_EQ(DevicePathOfPort(3), DefaultDevicePathOfPort(3, kWindowsPortNames));
}

TEST(PortNames, SettingsThenEnvironmentOverride) {
  const PortMap ports = {{"COM1", "/dev/ttyUSB3"}, {"COM2", ""}};
  const ScopedEnv none1("VB420_COM1", std::nullopt);
  const ScopedEnv none2("VB420_COM2", std::nullopt);
  EXPECT_EQ(DevicePathOfPort(1, ports), "/dev/ttyUSB3");
  EXPECT_EQ(DevicePathOfPort(2, ports), DefaultDevicePathOfPort(2));  // an empty value does not count
  const ScopedEnv env("VB420_COM1", "/tmp/radio");
  EXPECT_EQ(DevicePathOfPort(1, ports), "/tmp/radio");
}

TEST(PortNames, WindowsNamesChangeFormAtTen) {
  EXPECT_EQ(Win32DeviceName(9), "COM9");
  EXPECT_EQ(Win32DeviceName(10), "\\\\.\\COM10");
  EXPECT_EQ(PortNumberOfName("COM10"), 10);
  EXPECT_EQ(PortNumberOfName("7"), 7);
  EXPECT_EQ(PortNumberOfName("/dev/ttyUSB0"), 0);
  EXPECT_EQ(PortNumberOfName("COMx"), 0);
}

TEST(PortNumber, ZeroKeepsCurrentAndANumberReplacesADevicePath) {
  SerialPort port;
  EXPECT_EQ(port.PortNumber(), 1);
  port.SetPortNumber(9);
  port.SetPortNumber(0);
  EXPECT_EQ(port.PortNumber(), 9);
  port.SetDevicePath("/dev/pts/77");
  EXPECT_EQ(port.DeviceName(), "/dev/pts/77");
  port.SetPortNumber(0);
  EXPECT_EQ(port.DeviceName(), "/dev/pts/77");
  const ScopedEnv none("VB420_COM3", std::nullopt);
  port.SetPortNumber(3);
  EXPECT_EQ(port.DeviceName(), DefaultDevicePathOfPort(3));
}

TEST(ModeString, ParsesAndRefuses) {
  LineSettings s;
  ASSERT_TRUE(ParseModeString("9600,N,8,2", s));
  EXPECT_EQ(s.baud, 9600);
  EXPECT_EQ(s.parity, 'N');
  EXPECT_EQ(s.dataBits, 8);
  EXPECT_EQ(s.stopBits, 2);
  ASSERT_TRUE(ParseModeString("4800, e, 7, 1", s));
  EXPECT_EQ(s.parity, 'E');
  EXPECT_EQ(s.dataBits, 7);
  EXPECT_EQ(s.stopBits, 1);
  EXPECT_FALSE(ParseModeString("", s));
  EXPECT_FALSE(ParseModeString("9601,N,8,2", s));
  EXPECT_FALSE(ParseModeString("9600,Q,8,2", s));
  EXPECT_FALSE(ParseModeString("9600,N,9,2", s));
  EXPECT_FALSE(ParseModeString("9600,N,8,3", s));
  EXPECT_FALSE(ParseModeString("9600,N,8,2,1", s));
  // Every rate of the list has the system's constant and back.
  for (long baud : {300L, 9600L, 19200L, 115200L, 230400L}) {
    ASSERT_NE(BaudConstant(baud), 0u) << baud;
    EXPECT_EQ(BaudOfConstant(BaudConstant(baud)), baud);
  }
}

// A Windows opening error becomes the reason the technician reads: the
// same three as on Linux.
TEST(PortOpenFailure, WindowsErrorsMeanAbsentBusyOrNoPermission) {
  for (unsigned long absent : {2ul, 3ul, 21ul, 55ul, 123ul, 1167ul})
    EXPECT_EQ(ClassifyOpenError(ErrnoOfPortOpenError(absent)), PortOpenProblem::kAbsent) << absent;
  // A port opened by another program answers "access denied".
  for (unsigned long busy : {5ul, 32ul, 170ul})
    EXPECT_EQ(ClassifyOpenError(ErrnoOfPortOpenError(busy)), PortOpenProblem::kBusy) << busy;
  EXPECT_EQ(ClassifyOpenError(ErrnoOfPortOpenError(1314)), PortOpenProblem::kNoPermission);
  EXPECT_EQ(ClassifyOpenError(ErrnoOfPortOpenError(31)), PortOpenProblem::kOther);
  EXPECT_EQ(ErrnoOfPortOpenError(0), 0);
}

TEST(SerialMap, EntriesBecomeDevicesInNumberOrder) {
  std::vector<SerialDeviceInfo> list = {SerialDeviceOfMapEntry("\\Device\\VCP0", "COM10"),
                                        SerialDeviceOfMapEntry("\\Device\\Serial0", "COM2"),
                                        SerialDeviceOfMapEntry("Serial1", "COM3")};
  SortSerialDevices(list);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].path, "\\\\.\\COM2");
  EXPECT_EQ(list[0].product, "Serial0");
  EXPECT_EQ(list[1].path, "\\\\.\\COM3");
  EXPECT_EQ(list[1].product, "Serial1");
  EXPECT_EQ(list[2].path, "\\\\.\\COM10");
  EXPECT_EQ(list[2].product, "VCP0");
  EXPECT_EQ(SerialDeviceLabel(list[2]), kWindowsPortNames ? "COM10 \u2014 VCP0" : "\\\\.\\COM10 \u2014 VCP0");
}

#ifdef _WIN32
// The Win32 port's own openings: a port that is not there, and a device
// another handle holds without sharing.
TEST(Win32Port, AnAbsentPortAndABusyOneSayWhy) {
  SerialPort port;
  port.SetDevicePath("\\\\.\\COM77");
  EXPECT_FALSE(port.SetOpenState(1));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(ClassifyOpenError(port.OpenError()), PortOpenProblem::kAbsent);

  testsupport::TempDir dir("port");
  const std::string held = dir.File("held");
  testsupport::WriteText(held, "x");
  HANDLE h = CreateFileW(WideOfUtf8(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SerialPort busy;
  busy.SetDevicePath(held);
  EXPECT_FALSE(busy.SetOpenState(1));
  EXPECT_TRUE(busy.PortBusy());
  CloseHandle(h);
}
#endif

}  // namespace
}  // namespace vb420
