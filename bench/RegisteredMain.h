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

#ifdef VB420_BENCH_QT
// Programs that open windows: a Qt application first, offscreen unless
// QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#endif

int main(int argc, char** argv) {
#ifdef VB420_BENCH_QT
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
#endif
  ::vb420::RegisterCore();
#ifdef VB420_BENCH_REGISTER
  // Benchmarks made from the program's own tables, once they are filled.
  VB420_BENCH_REGISTER();
#endif
  ::benchmark::Initialize(&argc, argv);
  if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ::vb420::bench::ErrorCountingReporter reporter;
  ::benchmark::RunSpecifiedBenchmarks(&reporter);
  ::benchmark::Shutdown();
#ifdef VB420_BENCH_FINISH
  // What the benchmarks built goes while the application still stands.
  VB420_BENCH_FINISH();
#endif
  return reporter.errors == 0 ? 0 : 1;
}
