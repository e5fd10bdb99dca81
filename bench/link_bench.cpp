// SPDX-License-Identifier: GPL-3.0-or-later
// A whole-memory transfer against vb420sim pacing every byte at 19200 baud,
// set against the line's own floor: the bytes exchanged × 11 bits / 19200.
// A ratio near 1 means the protocol code adds nothing worth measuring.
//
// The simulator is the one of this build, or $VB420_SIM.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "link/RadioLink.h"

namespace {

using namespace vb420;

std::string SimPath() {
  if (const char* env = std::getenv("VB420_SIM"); env && *env) return env;
  return std::string(VB420_BINARY_DIR) + "/tools/sim/vb420sim";
}

// The simulator as a child process; its device is its first output line.
class Sim {
 public:
  explicit Sim(std::vector<std::string> args) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(fds[1], STDOUT_FILENO);
      args.insert(args.begin(), SimPath());
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(fds[1]);
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') device_ += c;
    close(fds[0]);
  }
  ~Sim() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& Device() const { return device_; }

 private:
  pid_t pid_ = -1;
  std::string device_;
};

constexpr double kBitsPerByte = 11;  // start, 8 data, 2 stop
constexpr double kBaud = 19200;
// R hi lo | 'W' 256 bytes sum | ACK | ACK
constexpr int kReadBytesPerBlock = 3 + 1 + kBlockSize + 1 + 1 + 1;
// 'W' hi lo 256 bytes sum | ACK
constexpr int kWriteBytesPerBlock = 1 + 2 + kBlockSize + 1 + 1;

bool Connect(RadioLink& link, const Sim& sim) {
  link.SetDevicePath(sim.Device());
  return !sim.Device().empty() && link.SetOpenState(1) && link.EnterProgramMode() == LinkResult::kOk;
}

void Report(benchmark::State& state, int bytesPerBlock, double seconds) {
  const double floor = kBlockCount * bytesPerBlock * kBitsPerByte / kBaud;
  const double perIteration = seconds / static_cast<double>(state.iterations());
  state.counters["line_floor_s"] = floor;
  state.counters["measured_s"] = perIteration;
  state.counters["ratio_to_floor"] = perIteration / floor;
}

void BM_Read192BlocksAtLineRate(benchmark::State& state) {
  Sim sim(bench::AtLineRate({"--no-fill"}));
  RadioLink link;
  if (!Connect(link, sim)) {
    state.SkipWithError("the simulator did not answer");
    return;
  }
  std::vector<uint8_t> image(kImageSize);
  double seconds = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int n = 0; n < kBlockCount; ++n)
      if (link.BlockRead(image.data() + n * kBlockSize, n) != BlockReadResult::kOk) {
        state.SkipWithError("a block read failed");
        return;
      }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  (void)link.EndProgramMode();
  Report(state, kReadBytesPerBlock, seconds);
}

void BM_Write192BlocksAtLineRate(benchmark::State& state) {
  Sim sim(bench::AtLineRate({}));
  RadioLink link;
  if (!Connect(link, sim)) {
    state.SkipWithError("the simulator did not answer");
    return;
  }
  // No block of equal bytes, so every block goes in full.
  std::vector<uint8_t> image(kImageSize);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 31 + (i >> 8));
  double seconds = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int n = 0; n < kBlockCount; ++n)
      if (link.BlockWrite(image.data() + n * kBlockSize, n) != LinkResult::kOk) {
        state.SkipWithError("a block write failed");
        return;
      }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  (void)link.EndProgramMode();
  Report(state, kWriteBytesPerBlock, seconds);
}

BENCHMARK(BM_Read192BlocksAtLineRate)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_Write192BlocksAtLineRate)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

#include "RegisteredMain.h"
