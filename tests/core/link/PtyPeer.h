// SPDX-License-Identifier: GPL-3.0-or-later
// An in-process peer on a pseudo-terminal: the test plays the radio's side
// with a small script while RadioLink talks to the slave device. Every byte in
// both directions is logged with the line speed it travelled at.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/SerialPort.h"

namespace vb420::testing {

struct WireByte {
  bool fromRadio;  // false: sent by the link
  uint8_t byte;
  long baud;       // line speed when the byte was seen
};

class PtyPeer {
 public:
  // Called for every byte the link sends, and with no byte about every
  // millisecond, so that a script can act on the passing of time.
  using Script = std::function<void(PtyPeer&, std::optional<uint8_t> byte, long baud)>;

  PtyPeer() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master_);
    unlockpt(master_);
    path_ = ptsname(master_);
    // Our own hold on the slave keeps the pair alive while the link closes
    // and reopens the port between conversations.
    slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
  }
  ~PtyPeer() {
    Stop();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
  }

  const std::string& Path() const { return path_; }

  void Start(Script script) {
    script_ = std::move(script);
    running_ = true;
    thread_ = std::thread([this] { Loop(); });
  }
  void Stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
  }
  // Closes the radio's side for good: the line hangs up.
  void HangUp() {
    Stop();
    ::close(slave_);
    slave_ = -1;
    ::close(master_);
    master_ = -1;
  }

  long Baud() const {
    termios t{};
    if (tcgetattr(master_, &t) != 0) return 0;
    return BaudOfConstant(cfgetospeed(&t));
  }
  void Send(const std::vector<uint8_t>& bytes) {
    {
      std::lock_guard<std::mutex> lock(mu_);
      const long baud = Baud();
      for (uint8_t b : bytes) log_.push_back({true, b, baud});
    }
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
  }
  void Send(uint8_t b) { Send(std::vector<uint8_t>{b}); }

  std::vector<WireByte> Log() {
    std::lock_guard<std::mutex> lock(mu_);
    return log_;
  }
  // The bytes the link sent, in order.
  std::vector<uint8_t> FromLink() {
    std::vector<uint8_t> out;
    for (const auto& w : Log())
      if (!w.fromRadio) out.push_back(w.byte);
    return out;
  }
  // Line speeds at which the link sent the given text, one per occurrence.
  std::vector<long> SpeedsOf(const std::string& text) {
    const auto log = Log();
    std::vector<WireByte> in;
    for (const auto& w : log)
      if (!w.fromRadio) in.push_back(w);
    std::vector<long> speeds;
    for (size_t i = 0; i + text.size() <= in.size(); ++i) {
      bool match = true;
      for (size_t k = 0; k < text.size() && match; ++k) match = in[i + k].byte == static_cast<uint8_t>(text[k]);
      if (match) speeds.push_back(in[i].baud);
    }
    return speeds;
  }

 private:
  void Loop() {
    while (running_) {
      pollfd p{master_, POLLIN, 0};
      const int r = poll(&p, 1, 1);
      if (r > 0 && (p.revents & POLLIN)) {
        uint8_t buf[512];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        const long baud = Baud();
        for (ssize_t i = 0; i < n; ++i) {
          {
            std::lock_guard<std::mutex> lock(mu_);
            log_.push_back({false, buf[i], baud});
          }
          script_(*this, buf[i], baud);
        }
      } else {
        script_(*this, std::nullopt, Baud());
      }
    }
  }

  int master_ = -1;
  int slave_ = -1;
  std::string path_;
  Script script_;
  std::atomic<bool> running_{false};
  std::thread thread_;
  std::mutex mu_;
  std::vector<WireByte> log_;
};

// Collects what the link sends until a request of `n` bytes is complete.
class Collector {
 public:
  bool Add(std::optional<uint8_t> b, size_t n) {
    if (b) bytes.push_back(*b);
    return bytes.size() >= n;
  }
  std::vector<uint8_t> bytes;
};

}  // namespace vb420::testing
