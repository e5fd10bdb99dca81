// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include <gtest/gtest.h>

#include "PtyPeer.h"
#include "link/SerialPort.h"

namespace vb420 {
namespace {

using testing::PtyPeer;
using Clock = std::chrono::steady_clock;

long MillisSince(Clock::time_point t0) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
}

TEST(OpenState, IdempotentBothWays) {
  PtyPeer peer;
  SerialPort port;
  port.SetDevicePath(peer.Path());
  EXPECT_EQ(port.SetOpenState(0), 1);  // closed → closed: nothing to do
  EXPECT_FALSE(port.IsOpen());
  ASSERT_EQ(port.SetOpenState(1), 1);
  const int fd = port.Descriptor();
  EXPECT_EQ(port.SetOpenState(1), 1);  // open → open keeps the same handle
  EXPECT_EQ(port.Descriptor(), fd);
  EXPECT_EQ(port.SetOpenState(0), 1);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.Descriptor(), -1);
}

TEST(OpenState, MissingDeviceFailsWithNothingOpen) {
  SerialPort port;
  port.SetDevicePath("/nonexistent/tty");
  EXPECT_EQ(port.SetOpenState(1), 0);
  EXPECT_FALSE(port.IsOpen());
}

TEST(OpenState, NonTtyOpensHalfwayAndCloseReleasesIt) {
  SerialPort port;
  port.SetDevicePath("/dev/null");
  EXPECT_EQ(port.SetOpenState(1), 0);  // line settings cannot be applied
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.IsRs232Port(), 0);
  EXPECT_EQ(port.SetOpenState(0), 1);
  EXPECT_FALSE(port.IsOpen());
}

TEST(OpenState, PortHeldByAnotherProgramDoesNotOpen) {
  PtyPeer peer;
  const int other = ::open(peer.Path().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  SerialPort port;
  port.SetDevicePath(peer.Path());
  EXPECT_EQ(port.SetOpenState(1), 0);
  EXPECT_FALSE(port.IsOpen());
  ::close(other);
  EXPECT_EQ(port.SetOpenState(1), 1);
}

// The exclusive mode belongs to the line, so it is asked on a descriptor of
// our own. The superuser may open an exclusive line anyway; only others get
// EBUSY, so that part is checked only when the tests do not run as root.
int LineExclusive(int fd) {
  int on = -1;
  return ioctl(fd, TIOCGEXCL, &on) == 0 ? on : -1;
}

TEST(OpenState, LineIsExclusiveWhileOpenAndGivenBackOnClose) {
  PtyPeer peer;
  SerialPort port;
  port.SetDevicePath(peer.Path());
  ASSERT_EQ(port.SetOpenState(1), 1);
  EXPECT_EQ(LineExclusive(port.Descriptor()), 1);
  if (geteuid() != 0) {
    errno = 0;
    EXPECT_EQ(::open(peer.Path().c_str(), O_RDWR | O_NOCTTY), -1);
    EXPECT_EQ(errno, EBUSY);
  }
  // A second port object is refused as busy in any case (the lock).
  SerialPort second;
  second.SetDevicePath(peer.Path());
  EXPECT_EQ(second.SetOpenState(1), 0);
  EXPECT_TRUE(second.PortBusy());
  EXPECT_EQ(port.SetOpenState(0), 1);
  const int fd = ::open(peer.Path().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(LineExclusive(fd), 0);
  ::close(fd);
  // Changing the port number closes and opens: the new line is exclusive,
  // the old one is not left so.
  ASSERT_EQ(port.SetOpenState(1), 1);
  PtyPeer other;
  ASSERT_EQ(port.SetDevicePath(other.Path()), 1);
  EXPECT_EQ(LineExclusive(port.Descriptor()), 1);
  const int oldFd = ::open(peer.Path().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(oldFd, 0);
  EXPECT_EQ(LineExclusive(oldFd), 0);
  ::close(oldFd);
}

TEST(OpenState, WhyTheOpeningFailed) {
  SerialPort port;
  port.SetDevicePath("/nonexistent/tty");
  EXPECT_EQ(port.SetOpenState(1), 0);
  EXPECT_EQ(port.OpenError(), ENOENT);
  EXPECT_FALSE(port.PortBusy());

  PtyPeer peer;
  const int holder = ::open(peer.Path().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(ioctl(holder, TIOCEXCL), 0);  // another program made the line exclusive
  port.SetDevicePath(peer.Path());
  if (geteuid() != 0) {
    EXPECT_EQ(port.SetOpenState(1), 0);
    EXPECT_EQ(port.OpenError(), EBUSY);
    EXPECT_TRUE(port.PortBusy());
  }
  ioctl(holder, TIOCNXCL);
  ::close(holder);
  EXPECT_EQ(port.SetOpenState(1), 1);
  EXPECT_EQ(port.OpenError(), 0);
  EXPECT_FALSE(port.PortBusy());
}

TEST(LineSettings, ModeWithBlanksIsStoredAndAppliedWithout) {
  PtyPeer peer;
  SerialPort port;
  port.SetDevicePath(peer.Path());
  ASSERT_EQ(port.SetOpenState(1), 1);
  EXPECT_EQ(peer.Baud(), 9600);
  termios t{};
  ASSERT_EQ(tcgetattr(port.Descriptor(), &t), 0);
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  // A pseudo-terminal always carries 8 bits without parity, so only the rate
  // and the stop bits show what was applied.
  EXPECT_EQ(port.SetModeString("19200, E, 7, 1"), 1);
  EXPECT_EQ(port.GetModeString(), "19200,E,7,1");
  ASSERT_EQ(tcgetattr(port.Descriptor(), &t), 0);
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
  EXPECT_FALSE(t.c_cflag & CSTOPB);
  EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));
  EXPECT_EQ(port.SetBaudField("4800"), 1);
  EXPECT_EQ(port.GetModeString(), "4800,E,7,1");
  EXPECT_EQ(port.SetModeString("4800,N,8,2"), 1);
  ASSERT_EQ(tcgetattr(port.Descriptor(), &t), 0);
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_EQ(peer.Baud(), 4800);
  EXPECT_EQ(port.SetModeString("1234,N,8,2"), 0);  // not a rate the line has
  EXPECT_EQ(port.IsRs232Port(), 1);
}

TEST(Reading, EightBytesArriveOrTheReadFails) {
  PtyPeer peer;
  SerialPort port;
  port.SetDevicePath(peer.Path());
  ASSERT_EQ(port.SetOpenState(1), 1);
  port.SetReadTimeout(150);
  peer.Start([](PtyPeer& p, std::optional<uint8_t> b, long) {
    if (b == 'A') p.Send({1, 2, 3, 4, 5, 6, 7, 8});
    if (b == 'B') p.Send({1, 2, 3, 4, 5, 6, 7});
  });
  uint8_t buf[8] = {};
  ASSERT_EQ(port.WriteByte('A'), 1);
  EXPECT_EQ(port.Read(buf, 8), 1);
  EXPECT_EQ(buf[7], 8);

  ASSERT_EQ(port.WriteByte('B'), 1);
  const auto t0 = Clock::now();
  EXPECT_EQ(port.Read(buf, 8), 0);
  const long took = MillisSince(t0);
  EXPECT_GE(took, 140);  // it waited for the whole time-out ...
  EXPECT_LT(took, 600);  // ... and no longer
}

TEST(Reading, TimeOutGrowsWithMultiplier) {
  PtyPeer peer;
  SerialPort port;
  port.SetDevicePath(peer.Path());
  ASSERT_EQ(port.SetOpenState(1), 1);
  port.SetReadTimeout(50);
  port.SetReadTimeoutMultiplier(10);
  uint8_t buf[20];
  const auto t0 = Clock::now();
  EXPECT_EQ(port.Read(buf, 20), 0);
  EXPECT_GE(MillisSince(t0), 240);
}

TEST(Writing, StaleInputIsDiscardedBeforeEachWrite) {
  PtyPeer peer;
  SerialPort port;
  port.SetDevicePath(peer.Path());
  ASSERT_EQ(port.SetOpenState(1), 1);
  port.SetReadTimeout(300);
  peer.Send({0x99, 0x98});  // a late answer of an earlier exchange
  SerialPort::Wait(30);
  peer.Start([](PtyPeer& p, std::optional<uint8_t> b, long) {
    if (b == 'Q') p.Send(0x42);
  });
  ASSERT_EQ(port.WriteByte('Q'), 1);
  uint8_t got = 0;
  ASSERT_EQ(port.Read(&got, 1), 1);
  EXPECT_EQ(got, 0x42);
}

TEST(Reading, VanishedPeerFailsAtOnce) {
  auto peer = std::make_unique<PtyPeer>();
  SerialPort port;
  port.SetDevicePath(peer->Path());
  ASSERT_EQ(port.SetOpenState(1), 1);
  port.SetReadTimeout(3000);
  peer->HangUp();
  uint8_t b;
  const auto t0 = Clock::now();
  EXPECT_EQ(port.Read(&b, 1), 0);
  EXPECT_LT(MillisSince(t0), 1000);
  EXPECT_EQ(port.WriteByte(0x41), 0);
}

}  // namespace
}  // namespace vb420
