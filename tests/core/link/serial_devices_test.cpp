// SPDX-License-Identifier: GPL-3.0-or-later
// The serial devices the port dialog lists, read from a copy of the kernel's
// tables built in a temporary folder, and the words of a port that would
// not open.
#include "support/Paths.h"
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "lang/TextTable.h"
#include "link/SerialDevices.h"
#include "link/Session.h"

namespace vb420 {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text << "\n";
}

// A machine with two built-in UART slots (one without hardware), an FTDI
// USB adapter with its by-id link, a USB modem (ttyACM0) and a virtual
// terminal.
class FakeMachine : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("vb420-serial-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    roots_.sys = (root_ / "sys/class/tty").string();
    roots_.dev = (root_ / "dev").string();
    const fs::path devices = root_ / "sys/devices";
    // ttyS0 has a UART, ttyS1 is an empty slot.
    Write(devices / "platform/serial8250/tty/ttyS0/type", "4");
    Write(devices / "platform/serial8250/tty/ttyS1/type", "0");
    fs::create_directories(devices / "platform/drivers/serial8250");
    // USB: device 1-2 with its interface 1-2:1.0 and the tty below it.
    const fs::path usb = devices / "pci0000:00/usb1/1-2";
    Write(usb / "idVendor", "0403");
    Write(usb / "idProduct", "6001");
    Write(usb / "manufacturer", "FTDI");
    Write(usb / "product", "FT232R USB UART");
    fs::create_directories(usb / "1-2:1.0/ttyUSB0");
    fs::create_directories(devices / "usb-drivers/ftdi_sio");
    const fs::path acm = devices / "pci0000:00/usb1/1-3";
    Write(acm / "idVendor", "1a86");
    Write(acm / "idProduct", "55d4");
    fs::create_directories(acm / "1-3:1.0");
    fs::create_directories(roots_.sys);
    Link(roots_.sys, "ttyS0", devices / "platform/serial8250/tty/ttyS0", devices / "platform/serial8250");
    Link(roots_.sys, "ttyS1", devices / "platform/serial8250/tty/ttyS1", devices / "platform/serial8250");
    Link(roots_.sys, "ttyUSB0", usb / "1-2:1.0/ttyUSB0", usb / "1-2:1.0");
    Link(roots_.sys, "ttyACM0", acm / "1-3:1.0/tty/ttyACM0", acm / "1-3:1.0");
    fs::create_directories(fs::path(roots_.sys) / "tty1");  // a virtual terminal: no device
    fs::create_symlink(devices / "platform/drivers/serial8250", devices / "platform/serial8250/driver");
    fs::create_symlink(devices / "usb-drivers/ftdi_sio", usb / "1-2:1.0/driver");
    for (const char* n : {"ttyS0", "ttyS1", "ttyUSB0", "ttyACM0", "tty1"}) Write(fs::path(roots_.dev) / n, "");
    fs::create_directories(fs::path(roots_.dev) / "serial/by-id");
    fs::create_symlink(fs::path(roots_.dev) / "ttyUSB0",
                       fs::path(roots_.dev) / "serial/by-id/usb-FTDI_FT232R_USB_UART_A5XK3RJT-if00-port0");
  }
  void TearDown() override { fs::remove_all(root_); }

  // /sys/class/tty/NAME -> the tty folder, whose "device" -> `device`.
  static void Link(const std::string& cls, const char* name, const fs::path& tty, const fs::path& device) {
    fs::create_directories(tty);
    fs::create_symlink(tty, fs::path(cls) / name);
    fs::create_symlink(device, tty / "device");
  }

  fs::path root_;
  SerialRoots roots_;
};

TEST_F(FakeMachine, ListsRealDevicesWithWhatTheKernelKnows) {
  const auto list = ListSerialDevices(roots_);
  ASSERT_EQ(list.size(), 3u);  // no empty UART slot, no virtual terminal
  EXPECT_EQ(fs::path(list[0].path).filename(), "ttyACM0");
  EXPECT_EQ(list[0].usbId, "1a86:55d4");
  EXPECT_EQ(fs::path(list[1].path).filename(), "ttyS0");
  EXPECT_EQ(list[1].product, "serial8250");
  EXPECT_EQ(list[1].usbId, "");
  const SerialDeviceInfo& ftdi = list[2];
  EXPECT_EQ(fs::path(ftdi.path).filename(), "ttyUSB0");
  EXPECT_EQ(ftdi.usbId, "0403:6001");
  EXPECT_EQ(ftdi.manufacturer, "FTDI");
  EXPECT_EQ(ftdi.product, "FT232R USB UART");
  EXPECT_EQ(fs::path(ftdi.stablePath).filename(), "usb-FTDI_FT232R_USB_UART_A5XK3RJT-if00-port0");
  EXPECT_EQ(SerialDeviceLabel(ftdi), "ttyUSB0 \u2014 FTDI FT232R USB UART (0403:6001)");
}

TEST_F(FakeMachine, DescribesADeviceByItsStableNameAndKnowsAnAbsentOne) {
  SerialDeviceInfo info;
  const std::string byId = roots_.dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A5XK3RJT-if00-port0";
  ASSERT_TRUE(DescribeSerialDevice(byId, info, roots_));
  EXPECT_EQ(info.path, byId);  // kept as the user gave it
  EXPECT_EQ(info.usbId, "0403:6001");
  EXPECT_FALSE(DescribeSerialDevice(roots_.dev + "/ttyUSB7", info, roots_));
  EXPECT_FALSE(SerialDeviceExists(roots_.dev + "/ttyUSB7"));
  EXPECT_FALSE(SerialDeviceExists(""));
  EXPECT_TRUE(SerialDeviceExists(roots_.dev + "/ttyS0"));
}

TEST(PortOpenFailure, SaysWhichDeviceAndWhatToDo) {
  TextTable t;
  ASSERT_EQ(t.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English"), TextTable::LoadResult::Ok);
  const std::string dev = "/dev/ttyUSB0";
  const std::string head = t.Text(269) + "\n\nDevice: " + dev + "\n";
  EXPECT_EQ(PortOpenFailureText(t, dev, EACCES), head + t.Text(86));
  EXPECT_NE(t.Text(86).find("dialout"), std::string::npos);
  EXPECT_EQ(PortOpenFailureText(t, dev, ENOENT), head + t.Text(87));
  EXPECT_EQ(PortOpenFailureText(t, dev, ENXIO), head + t.Text(87));
  EXPECT_EQ(PortOpenFailureText(t, dev, EIO), head + "The system reports: " + std::strerror(EIO));
  // A port held by another program keeps its own message, naming the device.
  const std::string busy = PortOpenFailureText(t, dev, EBUSY);
  EXPECT_EQ(busy.rfind(t.Text(285).substr(0, t.Text(285).find("%s")) + dev, 0), 0u);
  EXPECT_NE(busy.find(t.Text(117)), std::string::npos);
  EXPECT_EQ(ClassifyOpenError(0), PortOpenProblem::kNone);
  EXPECT_EQ(ClassifyOpenError(EPERM), PortOpenProblem::kNoPermission);
}

}  // namespace
}  // namespace vb420
