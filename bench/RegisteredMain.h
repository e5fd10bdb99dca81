// The main() of a benchmark that reads field sets or runs the pre-write
// checks: everything is registered first, as the programs do at start
// (RegisterCore), then the benchmarks run. Included once, in place of
// BENCHMARK_MAIN().
#pragma once

#include <benchmark/benchmark.h>

#include "editors/registry/Registration.h"

int main(int argc, char** argv) {
  ::vb420::RegisterCore();
  ::benchmark::Initialize(&argc, argv);
  if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ::benchmark::RunSpecifiedBenchmarks();
  return 0;
}
