// SPDX-License-Identifier: GPL-3.0-or-later
// The scan, DTMF and 2-tone tables as `vb420cli settings` and the scan-list
// window use them: listing every key of a set, judging the 128 rows of a
// scan list, deleting a zone with the scan clean-up connected.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/dtmf/DtmfFields.h"
#include "editors/forms/FieldSets.h"
#include "editors/scan/ScanFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace {

using namespace vb420;

TextTable& Texts() {
  static TextTable t;
  return t;
}

// 64 conventional zones of one channel each, every zone in zone 1's list.
struct Programming {
  RadioData data{&Texts()};
  CZoneMemory zm{data};
  Programming() {
    (void)scan::ScanPages();
    (void)dtmf::DtmfPages();
    data.buffers.Clear();
    InitNewImage(data, true);
    for (int z = 0; z < 128; z += 2) {
      (void)zm.CreateZone(z, '1');
      (void)zm.InsertRecord(z, 0);
      scan::SetInScanList(data, 0, z, true);
    }
  }
};

void BM_ListSet(benchmark::State& state, const char* set) {
  Programming p;
  for (auto _ : state) {
    std::vector<forms::SettingLine> lines;
    forms::ListSettings(p.data, Texts(), set, lines);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK_CAPTURE(BM_ListSet, scan, "scan")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListSet, scanlist, "scanlist")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListSet, dtmf_memory, "dtmf-memory")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListSet, twotone_code, "twotone-code")->Unit(benchmark::kMillisecond);

void BM_ScanListRows(benchmark::State& state) {
  Programming p;
  for (auto _ : state)
    for (int r = 0; r < 128; ++r) benchmark::DoNotOptimize(scan::ScanListRow(p.zm, 0, r));
}
BENCHMARK(BM_ScanListRows)->Unit(benchmark::kMicrosecond);

void BM_DeleteZoneWithCleanUp(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Programming p;
    scan::ConnectZoneHooks(p.zm);
    state.ResumeTiming();
    (void)p.zm.ChangeZone(0, kClassNone);
  }
}
BENCHMARK(BM_DeleteZoneWithCleanUp)->Unit(benchmark::kMicrosecond);

}  // namespace

#include "RegisteredMain.h"
