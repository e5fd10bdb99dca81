// SPDX-License-Identifier: GPL-3.0-or-later
// The main() of every benchmark program, included once in place of
// BENCHMARK_MAIN(): everything is registered first, as the programs do at
// start (RegisterCore), then the benchmarks run. A benchmark that stops on
// an error (a programming the write refuses, a simulator that did not
// start) fails the program, so that the quick run in the test suite
// catches a benchmark that measures nothing.
#pragma once

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "editors/registry/Registration.h"

int main(int argc, char** argv) {
  ::vb420::RegisterCore();
  ::benchmark::Initialize(&argc, argv);
  if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ::vb420::bench::ErrorCountingReporter reporter;
  ::benchmark::RunSpecifiedBenchmarks(&reporter);
  ::benchmark::Shutdown();
  return reporter.errors == 0 ? 0 : 1;
}
