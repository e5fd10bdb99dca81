// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time of the desktop program: from launching the process to its
// main window shown with Zone Information open, on the offscreen platform.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string ProgramPath() { return std::string(VB420_BINARY_DIR) + "/src/app/vb420"; }

// Runs the program once; false when it could not be run or failed.
bool RunOnce(const std::string& program, const std::string& configDir) {
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("VB420_STARTUP_PROBE", "1", 1);
    setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_StartupToMainWindow(benchmark::State& state) {
  const std::string program = ProgramPath();
  if (!std::filesystem::exists(program)) {
    state.SkipWithError("vb420 is not built (Qt 6 missing?)");
    return;
  }
  const std::string config = std::filesystem::temp_directory_path() / "vb420-startup-bench";
  std::filesystem::create_directories(config);
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    if (!RunOnce(program, config)) {
      state.SkipWithError("vb420 did not start");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  std::filesystem::remove_all(config);
}
BENCHMARK(BM_StartupToMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

#include "RegisteredMain.h"
