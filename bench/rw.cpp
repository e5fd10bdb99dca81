// SPDX-License-Identifier: GPL-3.0-or-later
// A whole read and a whole write through vb420cli against vb420sim pacing
// every byte at the line's real speed, set against the wire floor: every
// byte that crossed the line (both ways, from the simulator's trace) × 11
// bits at the speed it crossed at. The ratio is what the program, the
// process start and the turn-arounds add to the line itself.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "support/SimProcess.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "support/Programmings.h"

extern char** environ;

namespace {

using namespace vb420;
using testing::SimProcess;
using testing::TempPath;

constexpr double kBitsPerByte = 11;  // start, 8 data, 2 stop

// A full channel plan, as a fleet radio carries: a programming that passes
// every check of the write.
std::string MakeBusyImage() {
  RadioData data(&testsupport::NumberedTexts());
  testsupport::FreshProgramming(data);
  testsupport::FillFullPlan(data);
  const std::string path = TempPath("bench-image.dat");
  if (SaveDatFile(path, data).result != kFileOk) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return path;
}

// Runs vb420cli; its exit status.
int RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), std::string(VB420_BINARY_DIR) + "/tools/vb420cli");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double WireFloorSeconds(const std::string& trace, size_t& bytes) {
  double s = 0;
  const auto t = testing::ReadTrace(trace);
  bytes = t.size();
  for (const auto& b : t) s += b.baud > 0 ? kBitsPerByte / static_cast<double>(b.baud) : 0;
  return s;
}

void RunTransfer(benchmark::State& state, bool write) {
  const std::string image = MakeBusyImage();
  const std::string out = TempPath("bench-read.dat");
  const std::string trace = TempPath("bench-trace.txt");
  setenv("XDG_DATA_HOME", TempPath("bench-data").c_str(), 1);
  double wall = 0, floor = 0;
  size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    SimProcess sim(bench::AtLineRate({"--image", image, "--no-fill", "--trace", trace}));
    if (!sim.Started()) {
      state.SkipWithError("the simulator did not start");
      return;
    }
    state.ResumeTiming();
    const auto t0 = std::chrono::steady_clock::now();
    const int rc = write ? RunCli({"write", image, "--port", sim.Device(), "--no-adjust-time"})
                         : RunCli({"read", "--port", sim.Device(), "-o", out});
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.PauseTiming();
    sim.Stop();
    if (rc != 0) {
      state.SkipWithError("vb420cli failed");
      return;
    }
    size_t n = 0;
    floor += WireFloorSeconds(trace, n);
    bytes += n;
    ::unlink(trace.c_str());
    state.ResumeTiming();
  }
  const double it = static_cast<double>(state.iterations());
  state.counters["wire_bytes"] = static_cast<double>(bytes) / it;
  state.counters["wire_floor_s"] = floor / it;
  state.counters["measured_s"] = wall / it;
  state.counters["ratio_to_floor"] = wall / floor;
  ::unlink(out.c_str());
  ::unlink(image.c_str());
}

void BM_CliReadAtLineRate(benchmark::State& state) { RunTransfer(state, false); }
void BM_CliWriteAtLineRate(benchmark::State& state) { RunTransfer(state, true); }

BENCHMARK(BM_CliReadAtLineRate)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_CliWriteAtLineRate)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

#include "RegisteredMain.h"
