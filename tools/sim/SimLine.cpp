// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimLine.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <thread>


namespace vb420::sim {

volatile int SimLine::stop = 0;

namespace {
struct Rate {
  long baud;
  speed_t speed;
};
constexpr Rate kRates[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
                           {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
}  // namespace

long SimLine::BaudOf(speed_t speed) {
  for (const Rate& r : kRates)
    if (r.speed == speed) return r.baud;
  return 0;
}

bool SimLine::KnownBaud(long baud) {
  for (const Rate& r : kRates)
    if (r.baud == baud) return true;
  return false;
}

SimLine::~SimLine() {
  Close();
  if (trace_) std::fclose(trace_);
}

void SimLine::Close() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

bool SimLine::Open(std::string& error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = "cannot open a pseudo-terminal";
    return false;
  }
  const char* name = ptsname(master_);
  if (!name) {
    error = "cannot name the pseudo-terminal";
    return false;
  }
  slavePath_ = name;
  // Raw 9600,N,8,2 until the other side sets its own line.
  const int slave = ::open(name, O_RDWR | O_NOCTTY);
  if (slave >= 0) {
    termios t{};
    tcgetattr(slave, &t);
    cfmakeraw(&t);
    t.c_cflag |= CSTOPB | CLOCAL;
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    tcsetattr(slave, TCSANOW, &t);
    ::close(slave);
  }
  return true;
}

bool SimLine::SetTrace(const std::string& path) {
  trace_ = std::fopen(path.c_str(), "w");
  return trace_ != nullptr;
}

long SimLine::Baud() const {
  termios t{};
  if (master_ < 0 || tcgetattr(master_, &t) != 0) return 0;
  return BaudOf(cfgetospeed(&t));
}

std::chrono::nanoseconds SimLine::ByteTime(long baud) const {
  if (baud <= 0) baud = 9600;
  return std::chrono::nanoseconds(11LL * 1000000000LL / baud);
}

void SimLine::TraceByte(const char* dir, uint8_t b, long baud) {
  if (!trace_) return;
  const double t = std::chrono::duration<double>(Clock::now() - start_).count();
  std::fprintf(trace_, "%.6f %s %02X %ld\n", t, dir, b, baud);
  std::fflush(trace_);
}

void SimLine::TraceNote(const std::string& text) {
  if (!trace_) return;
  const double t = std::chrono::duration<double>(Clock::now() - start_).count();
  std::fprintf(trace_, "%.6f note =%s\n", t, text.c_str());
  std::fflush(trace_);
}

void SimLine::TraceLineState(const char* state) {
  if (!trace_) return;
  const double t = std::chrono::duration<double>(Clock::now() - start_).count();
  std::fprintf(trace_, "%.6f line %s\n", t, state);
  std::fflush(trace_);
}

bool SimLine::Fill(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    if (stop) return false;
    if (idleHook) idleHook();
    int slice = 50;
    if (timeoutMs >= 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return false;
      slice = static_cast<int>(std::min<long long>(left, 50));
    }
    pollfd p{master_, POLLIN, 0};
    const int r = poll(&p, 1, slice);
    if (r < 0 && errno != EINTR) return false;
    if (r <= 0) continue;
    if (p.revents & POLLIN) {
      uint8_t buf[1024];
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n > 0) {
        const long baud = Baud();
        const auto now = Clock::now();
        for (ssize_t i = 0; i < n; ++i) {
          Clock::time_point arrival = now;
          if (lineRate_) {
            arrival = std::max(now, inLineFree_) + ByteTime(baud);
            inLineFree_ = arrival;
          }
          in_.push_back({buf[i], baud, arrival});
        }
        return true;
      }
    }
    if (p.revents & (POLLHUP | POLLERR)) {
      // Everything the other side sent has been read by now: the note tells
      // a reader of the trace that it holds the whole conversation.
      if (!hungUp_) TraceLineState("hang-up");
      hungUp_ = true;
      return false;
    }
  }
}

bool SimLine::Get(uint8_t& b, long& baud, int timeoutMs) {
  if (in_.empty() && !Fill(timeoutMs)) return false;
  const InByte x = in_.front();
  in_.pop_front();
  if (lineRate_) std::this_thread::sleep_until(x.arrival);
  b = x.byte;
  baud = x.baud;
  TraceByte("in", b, baud);
  return true;
}

void SimLine::Unget(uint8_t b, long baud) { in_.push_front({b, baud, Clock::now()}); }

void SimLine::WaitForPeer() {
  while (!stop) {
    if (idleHook) idleHook();
    pollfd p{master_, POLLIN, 0};
    const int r = poll(&p, 1, 0);
    if (r >= 0 && !(p.revents & (POLLHUP | POLLERR))) {
      hungUp_ = false;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void SimLine::WaitForHangUp(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!stop && Clock::now() < deadline) {
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, 10) > 0) {
      if (p.revents & (POLLHUP | POLLERR)) return;
      uint8_t buf[256];
      if (p.revents & POLLIN) (void)::read(master_, buf, sizeof buf);
    }
  }
}

void SimLine::Send(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return;
  const long baud = Baud();
  if (lineRate_) {
    // Each byte is there for the other side once all its bits have gone. The
    // times are reckoned from the start of the answer, so a late wake-up does
    // not slow the bytes after it.
    const auto start = std::max(Clock::now(), outLineFree_);
    const auto byteTime = ByteTime(baud);
    for (size_t i = 0; i < bytes.size(); ++i) {
      const auto done = start + byteTime * static_cast<long>(i + 1);
      std::this_thread::sleep_until(done);
      if (::write(master_, &bytes[i], 1) != 1) return;
      outLineFree_ = done;
      TraceByte("out", bytes[i], baud);
    }
    return;
  }
  size_t sent = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(2);
  while (sent < bytes.size() && Clock::now() < deadline) {
    const ssize_t n = ::write(master_, bytes.data() + sent, bytes.size() - sent);
    if (n > 0) {
      for (ssize_t i = 0; i < n; ++i) TraceByte("out", bytes[sent + i], baud);
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return;
    pollfd p{master_, POLLOUT, 0};
    poll(&p, 1, 20);
  }
}

}  // namespace vb420::sim
