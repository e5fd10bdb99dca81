// SPDX-License-Identifier: GPL-3.0-or-later
// Runs vb420sim as a child process for a test: starts it, reads the device
// it prints first, and stops it when the test is done.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vb420::testing {

std::string SimBinary();
// A fresh path under the system's temporary folder.
std::string TempPath(const std::string& name);

class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& args);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool Started() const { return !device_.empty(); }
  const std::string& Device() const { return device_; }
  pid_t Pid() const { return pid_; }

  void Signal(int sig);
  // Waits for the process to end; its exit status, or -1 when it is still
  // running after `timeoutMs` (or was killed by a signal).
  int Wait(int timeoutMs);
  // SIGTERM, then the exit status. The radio saves its memory on SIGTERM, so
  // it gets kStopGraceMs to do so; only then is it killed (exit status -1).
  int Stop();
  static constexpr int kStopGraceMs = 30000;
  bool Running();

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int status_ = -1;
  bool reaped_ = false;
  std::string device_;
};

// One byte of the simulator's trace.
struct TraceByte {
  double seconds;
  bool fromRadio;
  uint8_t byte;
  long baud;
};
std::vector<TraceByte> ReadTrace(const std::string& path);
// Waits until the radio has read everything the program sent and seen the
// program close the line (the trace ends with "line hang-up"): a trace read
// after the program has ended then holds the whole conversation, however
// late the radio was scheduled. False after `timeoutMs`.
bool WaitForHangUp(const std::string& path, int timeoutMs = 10000);
// Waits until `done` holds for the trace read so far; false after
// `timeoutMs`.
bool WaitForTrace(const std::string& path, const std::function<bool(const std::vector<TraceByte>&)>& done,
                  int timeoutMs = 10000);
// The commands the radio named in its trace ("note =..." lines), in order.
std::vector<std::string> TraceNotes(const std::string& path);
// The bytes that went one way, in order.
std::vector<uint8_t> TraceBytes(const std::vector<TraceByte>& trace, bool fromRadio);
// Line speeds at which the program sent `text`, one per occurrence.
std::vector<long> TraceSpeedsOf(const std::vector<TraceByte>& trace, const std::string& text);
// True when `needle` occurs in `hay`.
bool Contains(const std::vector<uint8_t>& hay, const std::vector<uint8_t>& needle);
size_t CountOf(const std::vector<uint8_t>& hay, const std::vector<uint8_t>& needle);
// The last `n` elements of a trace, its bytes or its notes (all of them when
// there are fewer): compared with what a conversation must end with, an
// empty or short trace fails the comparison instead of being read past.
template <typename Seq>
std::vector<typename Seq::value_type> Tail(const Seq& seq, size_t n = 1) {
  const size_t k = n < seq.size() ? n : seq.size();
  return std::vector<typename Seq::value_type>(seq.end() - static_cast<std::ptrdiff_t>(k), seq.end());
}

}  // namespace vb420::testing
