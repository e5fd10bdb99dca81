// SPDX-License-Identifier: GPL-3.0-or-later
// What the benchmark programs share besides their main().
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace vb420::bench {

// The test suite runs every benchmark program once, quickly
// (VB420_BENCH_QUICK=1), to prove that each still measures something.
inline bool QuickRun() {
  const char* q = std::getenv("VB420_BENCH_QUICK");
  return q && *q && *q != '0';
}

// The simulator's arguments, pacing every byte at the line's own speed;
// in the quick run it answers as fast as it can instead.
inline std::vector<std::string> AtLineRate(std::vector<std::string> args) {
  if (!QuickRun()) args.push_back("--line-rate");
  return args;
}

// Counts the benchmarks that stopped on an error, so that main() can fail.
class ErrorCountingReporter : public ::benchmark::ConsoleReporter {
 public:
  int errors = 0;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) errors += r.error_occurred ? 1 : 0;
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace vb420::bench
