// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/SimProcess.h"

#include "support/ChildProcess.h"
#include "support/Paths.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace vb420::testing {

std::string SimBinary() { return ::vb420::testsupport::BinaryDir() + "/tools/sim/vb420sim"; }

std::string TempPath(const std::string& name) {
  static std::atomic<int> counter{0};
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/vb420e2e_" + std::to_string(getpid()) + "_" +
         std::to_string(counter++) + "_" + name;
}

SimProcess::SimProcess(const std::vector<std::string>& args) {
  // Everything the child needs is made before the fork: the GUI tests fork
  // from a process with other threads running (Qt's drawing pool, the test
  // watchdog), and a child of such a process may only make async-signal-safe
  // calls until it execs. An allocation or a lazily bound library call there
  // can find a lock that another thread held at the fork and hang or crash.
  // The radio asks for real-time scheduling: the program's 100 ms time-outs
  // are then met however many other processes share the machine.
  std::vector<std::string> all = {SimBinary(), "--realtime"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return;
  pid_ = StartChild(argv, fds[1], -1);
  ::close(fds[1]);
  out_ = fds[0];
  if (pid_ < 0) return;
  // The device is the first line; give up after five seconds.
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c;
    if (::read(out_, &c, 1) != 1) break;
    if (c == '\n') {
      device_ = line;
      break;
    }
    line += c;
  }
}

SimProcess::~SimProcess() {
  if (pid_ > 0 && !reaped_) Stop();
  if (out_ >= 0) ::close(out_);
}

void SimProcess::Signal(int sig) {
  if (pid_ > 0 && !reaped_) kill(pid_, sig);
}

bool SimProcess::Running() { return pid_ > 0 && !reaped_ && Wait(0) == -1 && !reaped_; }

int SimProcess::Wait(int timeoutMs) {
  if (pid_ <= 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (reaped_) return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    int st = 0;
    if (waitpid(pid_, &st, WNOHANG) == pid_) {
      reaped_ = true;
      status_ = st;
      continue;
    }
    if (std::chrono::steady_clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

int SimProcess::Stop() {
  if (pid_ <= 0) return -1;
  if (reaped_) return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  // SIGTERM asks the radio to write its memory (--save) and leave. That takes
  // a moment on a loaded machine, and the tests read that file next: killing
  // it early left no file, and a test comparing against it read past the end
  // of an empty buffer. Only a radio that hangs is killed, and it is said.
  SignalGroup(pid_, SIGTERM);
  const int rc = Wait(kStopGraceMs);
  if (!reaped_) {
    std::fprintf(stderr, "vb420sim (pid %d) did not stop within %d ms of SIGTERM: killed, nothing saved\n",
                 static_cast<int>(pid_), kStopGraceMs);
    SignalGroup(pid_, SIGKILL);
    Wait(2000);
  }
  return rc;
}

std::vector<TraceByte> ReadTrace(const std::string& path) {
  std::vector<TraceByte> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    TraceByte t{};
    std::string dir;
    unsigned hex = 0;
    ls >> t.seconds >> dir >> std::hex >> hex >> std::dec >> t.baud;
    if (!ls) continue;
    t.fromRadio = dir == "out";
    t.byte = static_cast<uint8_t>(hex);
    out.push_back(t);
  }
  return out;
}

bool WaitForHangUp(const std::string& path, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    std::ifstream in(path);
    std::string line, last;
    while (std::getline(in, line))
      if (!line.empty()) last = line;
    if (last.size() >= 13 && last.compare(last.size() - 13, 13, " line hang-up") == 0) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool WaitForTrace(const std::string& path, const std::function<bool(const std::vector<TraceByte>&)>& done,
                  int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (done(ReadTrace(path))) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

std::vector<std::string> TraceNotes(const std::string& path) {
  std::vector<std::string> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const auto at = line.find(" note =");
    if (at != std::string::npos) out.push_back(line.substr(at + 7));
  }
  return out;
}

std::vector<uint8_t> TraceBytes(const std::vector<TraceByte>& trace, bool fromRadio) {
  std::vector<uint8_t> out;
  for (const auto& t : trace)
    if (t.fromRadio == fromRadio) out.push_back(t.byte);
  return out;
}

std::vector<long> TraceSpeedsOf(const std::vector<TraceByte>& trace, const std::string& text) {
  std::vector<TraceByte> in;
  for (const auto& t : trace)
    if (!t.fromRadio) in.push_back(t);
  std::vector<long> speeds;
  for (size_t i = 0; i + text.size() <= in.size(); ++i) {
    bool match = true;
    for (size_t k = 0; k < text.size() && match; ++k) match = in[i + k].byte == static_cast<uint8_t>(text[k]);
    if (match) speeds.push_back(in[i].baud);
  }
  return speeds;
}

size_t CountOf(const std::vector<uint8_t>& hay, const std::vector<uint8_t>& needle) {
  size_t n = 0;
  if (needle.empty() || hay.size() < needle.size()) return 0;
  for (auto it = hay.begin(); (it = std::search(it, hay.end(), needle.begin(), needle.end())) != hay.end(); ++it)
    ++n;
  return n;
}

bool Contains(const std::vector<uint8_t>& hay, const std::vector<uint8_t>& needle) {
  return CountOf(hay, needle) > 0;
}

}  // namespace vb420::testing
