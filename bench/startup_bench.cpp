// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time of the desktop program: from launching the process to its
// main window shown with Zone Information open, beside the same for a bare
// Qt main window with an MDI area (bench/reference/bare_mdi.cpp), the least
// any Qt program of this shape takes. Both on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise (xcb under a display is what users see).
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string ProgramPath() { return std::string(VB420_BINARY_DIR) + "/src/app/vb420"; }
std::string BarePath() { return std::string(VB420_BINARY_DIR) + "/bench/bench_ref_bare_mdi"; }

// Runs the program once; false when it could not be run or failed.
bool RunOnce(const std::string& program, const std::string& configDir) {
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("VB420_STARTUP_PROBE", "1", 1);
    setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void TimeStarts(benchmark::State& state, const std::string& program) {
  if (!std::filesystem::exists(program)) {
    state.SkipWithError((program + " is not built (Qt 6 missing?)").c_str());
    return;
  }
  const std::string config = std::filesystem::temp_directory_path() / "vb420-startup-bench";
  std::filesystem::create_directories(config);
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    if (!RunOnce(program, config)) {
      state.SkipWithError((program + " did not start").c_str());
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  std::filesystem::remove_all(config);
}

void BM_StartupToMainWindow(benchmark::State& state) { TimeStarts(state, ProgramPath()); }
BENCHMARK(BM_StartupToMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_BareQtMdiWindow(benchmark::State& state) { TimeStarts(state, BarePath()); }
BENCHMARK(BM_BareQtMdiWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

#include "RegisteredMain.h"
