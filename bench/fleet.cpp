// SPDX-License-Identifier: GPL-3.0-or-later
// Fleet writes at the line's real speed: the same programming written into
// one simulated radio, then into four at once (each with its own identity,
// each verified), at 19200 baud with every byte paced. The conversations run
// side by side, so four radios should take hardly longer than one; the
// counter "four_over_one" is that ratio.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "support/SimProcess.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"

extern char** environ;

namespace {

using namespace vb420;
using testing::SimProcess;
using testing::TempPath;

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

// Seconds for writing `plan` into `n` radios at once; -1 when a write failed.
double WriteFleet(const std::string& plan, int n) {
  std::vector<std::unique_ptr<SimProcess>> sims;
  const std::string idsPath = TempPath("bench-ids.csv");
  std::vector<std::string> args = {"write", plan, "--identities", idsPath, "--log", TempPath("bench-fleet.csv")};
  std::ofstream ids(idsPath);
  ids << "message.1\n";
  for (int k = 0; k < n; ++k) {
    sims.push_back(std::make_unique<SimProcess>(
        bench::AtLineRate({"--baud", "19200", "--serial", "00000000900" + std::to_string(k)})));
    if (!sims.back()->Started()) return -1;
    args.insert(args.end(), {"--port", sims.back()->Device()});
    ids << "UNIT " << 100 + k << "\n";
  }
  ids.close();
  const auto t0 = std::chrono::steady_clock::now();
  const int rc = RunCli(args);
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  return rc == 0 ? s : -1;
}

void BM_FleetOfFourAgainstOne(benchmark::State& state) {
  RadioData data;
  InitNewImage(data, true);
  const std::string plan = TempPath("bench-plan.dat");
  if (SaveDatFile(plan, data).result != kFileOk) {
    state.SkipWithError("cannot write the plan");
    return;
  }
  setenv("XDG_DATA_HOME", TempPath("bench-data").c_str(), 1);
  double one = 0, four = 0;
  for (auto _ : state) {
    one = WriteFleet(plan, 1);
    four = WriteFleet(plan, 4);
    if (one < 0 || four < 0) {
      state.SkipWithError("a fleet write failed");
      return;
    }
  }
  state.counters["one_s"] = one;
  state.counters["four_s"] = four;
  state.counters["four_over_one"] = four / one;
  ::unlink(plan.c_str());
}

BENCHMARK(BM_FleetOfFourAgainstOne)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

#include "RegisteredMain.h"
