// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated radio's end of the cable: the master side of a
// pseudo-terminal. The program under test opens the slave device as its
// serial port, and the line settings it applies there are read back here, so
// a byte sent at the wrong baud rate is known to be garbage.
#pragma once

#include <termios.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vb420::sim {

class SimLine {
 public:
  using Clock = std::chrono::steady_clock;

  SimLine() = default;
  ~SimLine();
  SimLine(const SimLine&) = delete;
  SimLine& operator=(const SimLine&) = delete;

  // Opens the pseudo-terminal; false with a message in `error`.
  bool Open(std::string& error);
  const std::string& SlavePath() const { return slavePath_; }

  // Pace every byte at the line's own speed (11 bits a byte at 8N2).
  void SetLineRate(bool on) { lineRate_ = on; }
  // Every byte in and out, with a timestamp, direction and line speed.
  bool SetTrace(const std::string& path);
  // A line of the trace that names what the bytes before it meant
  // ("<seconds> note =<text>"); readers of the byte lines skip it.
  void TraceNote(const std::string& text);
  // A change of the line itself ("line hang-up"), apart from the notes.
  void TraceLineState(const char* state);

  // The baud rate the other side has set on the line (0 when it is none the
  // radio knows).
  long Baud() const;
  static long BaudOf(speed_t speed);
  // True for the rates a radio can listen at.
  static bool KnownBaud(long baud);

  // One byte within `timeoutMs` (-1: no limit). False on time-out, on a
  // hang-up (the other side closed its port) or when `stop` became true.
  bool Get(uint8_t& b, long& baud, int timeoutMs);
  // Gives back a byte that Get delivered, to be delivered again first.
  void Unget(uint8_t b, long baud);
  bool HungUp() const { return hungUp_; }
  void ClearHangUp() { hungUp_ = false; }
  // Waits until the other side has the port open again (or stop).
  void WaitForPeer();
  // Waits up to `timeoutMs` for the other side to close the port, so that
  // the last answer is taken before this side goes away.
  void WaitForHangUp(int timeoutMs);

  void Send(const std::vector<uint8_t>& bytes);
  void Send(uint8_t b) { Send(std::vector<uint8_t>{b}); }

  // Set from a signal handler: every wait returns soon after.
  static volatile int stop;
  // Called while waiting for bytes, for work a signal asked for.
  static inline std::function<void()> idleHook;

  void Close();

 private:
  struct InByte {
    uint8_t byte;
    long baud;
    Clock::time_point arrival;  // when the byte would have finished arriving
  };
  bool Fill(int timeoutMs);
  void TraceByte(const char* dir, uint8_t b, long baud);
  std::chrono::nanoseconds ByteTime(long baud) const;

  int master_ = -1;
  std::string slavePath_;
  bool lineRate_ = false;
  bool hungUp_ = false;
  std::deque<InByte> in_;
  Clock::time_point inLineFree_{};
  Clock::time_point outLineFree_{};
  std::FILE* trace_ = nullptr;
  Clock::time_point start_ = Clock::now();
};

}  // namespace vb420::sim
