// SPDX-License-Identifier: GPL-3.0-or-later
// The serial line on POSIX systems: termios and poll.
#ifndef _WIN32
#include "link/SerialPort.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace vb420 {

namespace {

using Clock = std::chrono::steady_clock;

int MillisLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Reads run at raised priority so that the answer is collected without delay.
// Most users may not raise it; then we stop trying after the first refusal.
class PriorityBoost {
 public:
  PriorityBoost() {
    if (refused_) return;
    errno = 0;
    old_ = getpriority(PRIO_PROCESS, 0);
    if (errno != 0) return;
    if (setpriority(PRIO_PROCESS, 0, -10) == 0) raised_ = true;
    else refused_ = true;
  }
  ~PriorityBoost() {
    if (raised_) setpriority(PRIO_PROCESS, 0, old_);
  }

 private:
  // Several ports may be read at once (a fleet), each on its own thread.
  static inline std::atomic<bool> refused_ = false;
  int old_ = 0;
  bool raised_ = false;
};

}  // namespace

namespace {
struct BaudPair {
  long baud;
  speed_t constant;
};
constexpr BaudPair kBauds[] = {
    {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},   {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600}, {115200, B115200},
    {230400, B230400},
};
}  // namespace

unsigned BaudConstant(long baud) {
  for (const auto& b : kBauds)
    if (b.baud == baud) return b.constant;
  return 0;
}

long BaudOfConstant(unsigned speed) {
  for (const auto& b : kBauds)
    if (b.constant == speed) return b.baud;
  return 0;
}

bool SerialPort::Open() {
  openError_ = 0;
  const std::string name = DeviceName();
  if (name.empty()) {
    openError_ = ENOENT;
    return false;
  }
  const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    // A line that another program made exclusive answers EBUSY.
    openError_ = errno;
    return false;
  }
  // The port is ours alone while it is open: another program holding it makes
  // the open fail, as the radio cannot talk to two programs at once. The lock
  // keeps out the programs that ask for it; the line's exclusive mode keeps
  // out every other opener (the superuser excepted) until we close.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    openError_ = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    return false;
  }
  // Not every device is a tty; such a one simply has no exclusive mode.
  exclusive_ = ioctl(fd, TIOCEXCL) == 0;
  fd_ = fd;
  open_ = true;
  if (!SetReceiveQueueSize(rxQueue_) || !SetTransmitQueueSize(txQueue_)) return false;
  if (!ApplyLineSettings()) return false;
  return true;
}

bool SerialPort::Close() {
  if (!open_) return true;
  // The exclusive mode belongs to the line, not to our descriptor: give the
  // line back as we found it.
  if (exclusive_) ioctl(fd_, TIOCNXCL);
  exclusive_ = false;
  const int rc = ::close(fd_);
  fd_ = -1;
  open_ = false;
  return rc == 0;
}

bool SerialPort::ApplyLineSettings() {
  if (!open_) return false;
  LineSettings ls;
  if (!ParseModeString(mode_, ls)) return false;
  termios t{};
  if (tcgetattr(fd_, &t) != 0) return false;
  // A tty starts in line-editing mode; the radio needs every byte as it is,
  // as a plain serial port delivers them.
  t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
  t.c_oflag &= ~OPOST;
  t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= CREAD | CLOCAL;
  switch (ls.dataBits) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    default: t.c_cflag |= CS8; break;
  }
  switch (ls.parity) {
    case 'E': t.c_cflag |= PARENB; break;
    case 'O': t.c_cflag |= PARENB | PARODD; break;
    case 'M': t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 'S': t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
  if (ls.stopBits == 2) t.c_cflag |= CSTOPB;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  const speed_t sp = BaudConstant(ls.baud);
  cfsetispeed(&t, sp);
  cfsetospeed(&t, sp);
  if (tcsetattr(fd_, TCSANOW, &t) != 0) return false;
  // DTR on powers the programming cable; RTS stays off. Lines without modem
  // control (a pseudo-terminal) simply have none to set.
  int dtr = TIOCM_DTR, rts = TIOCM_RTS;
  ioctl(fd_, TIOCMBIS, &dtr);
  ioctl(fd_, TIOCMBIC, &rts);
  return true;
}

bool SerialPort::WriteBytes(const uint8_t* buffer, size_t count) {
  if (!open_) return false;
  tcflush(fd_, TCIFLUSH);
  // Never block for good on a line whose peer has stopped reading.
  const auto deadline = Clock::now() + std::chrono::milliseconds(1000 + 2 * count);
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd_, buffer + done, count - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    pollfd p{fd_, POLLOUT, 0};
    const int left = MillisLeft(deadline);
    if (left == 0) return false;
    if (poll(&p, 1, left) < 0 && errno != EINTR) return false;
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) return false;
  }
  return true;
}

bool SerialPort::Read(uint8_t* buffer, size_t count) {
  if (!open_) return false;
  PriorityBoost boost;
  const auto deadline =
      Clock::now() + std::chrono::milliseconds(readTimeout_ + static_cast<uint64_t>(readMultiplier_) * count);
  size_t got = 0;
  bool hungUp = false;
  while (got < count) {
    const ssize_t n = ::read(fd_, buffer + got, count - got);
    if (n > 0) {
      got += static_cast<size_t>(n);
      continue;
    }
    // A raw tty answers 0 when nothing is waiting; an error, or nothing more
    // on a line that has hung up (the radio's side is gone), fails at once
    // instead of at the time-out.
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (hungUp) return false;
    const int left = MillisLeft(deadline);
    if (left == 0) return false;
    pollfd p{fd_, POLLIN, 0};
    const int r = poll(&p, 1, left);
    if (r < 0 && errno != EINTR) return false;
    if (r == 0) return false;
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) hungUp = true;
  }
  return true;
}

int SerialPort::ProviderSubtype() {
  Wait(10);
  termios t{};
  const bool tty = open_ && tcgetattr(fd_, &t) == 0;
  Wait(10);
  return tty ? 1 : -1;
}

}  // namespace vb420

#endif  // !_WIN32
