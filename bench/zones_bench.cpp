// SPDX-License-Identifier: GPL-3.0-or-later
// The zone area under a full channel plan: filling it, listing a zone as the
// Zone Information grid does, deleting a zone from the front, retyping.
#include <benchmark/benchmark.h>

#include <string>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/zones/ConvFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace {

using namespace vb420;

TextTable& Texts() {
  static TextTable t;
  return t;
}

struct Plan {
  RadioData data{&Texts()};
  CZoneMemory zm{data};
  CConvFields conv{zm, Texts()};
  Plan() {
    data.buffers.Clear();
    InitNewImage(data, true);
  }
  // 512 records over 16 zones, as much as the area holds: 4 conventional
  // zones of 20 channels (each entered by its receive frequency) and 12 LTR
  // zones of 36 groups; 71 bytes stay free.
  void Fill() {
    for (int z = 0; z < 4; ++z)
      for (int c = 0; c < 20; ++c) conv.SetFrequency(z, c, 3, std::to_string(146.0 + 0.0125 * c), false);
    for (int z = 4; z < 16; ++z) {
      (void)zm.CreateZone(z, '0');
      for (int g = 0; g < 36; ++g) (void)zm.InsertRecord(z, g);
    }
  }
};

void BM_FillFullChannelPlan(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Plan p;
    state.ResumeTiming();
    p.Fill();
    state.counters["channels"] = p.zm.TotalChannels();
    state.counters["free"] = p.zm.FreeBytes();
  }
}
BENCHMARK(BM_FillFullChannelPlan)->Unit(benchmark::kMillisecond);

void BM_ListZoneChannelTexts(benchmark::State& state) {
  Plan p;
  p.Fill();
  std::string s;
  size_t chars = 0;
  for (auto _ : state) {
    // Switching to zone 4 (the last conventional zone): all 250 rows, the
    // columns the grid shows.
    for (int row = 0; row < 250; ++row)
      for (int f : {3, 4, 5, 6, 7, 8, 9, 14, 10}) {
        p.conv.RecordFieldText(3, row, f, s);
        chars += s.size();
      }
  }
  benchmark::DoNotOptimize(chars);
}
BENCHMARK(BM_ListZoneChannelTexts)->Unit(benchmark::kMicrosecond);

void BM_DeleteFirstZoneOfFullArea(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Plan p;
    p.Fill();
    state.ResumeTiming();
    (void)p.zm.ChangeZone(0, kClassNone);
  }
}
BENCHMARK(BM_DeleteFirstZoneOfFullArea)->Unit(benchmark::kMicrosecond);

void BM_DeleteMiddleZoneOfFullArea(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Plan p;
    p.Fill();
    state.ResumeTiming();
    (void)p.zm.ChangeZone(7, kClassNone);
  }
}
BENCHMARK(BM_DeleteMiddleZoneOfFullArea)->Unit(benchmark::kMicrosecond);

void BM_RetypeZone(benchmark::State& state) {
  Plan p;
  p.Fill();
  int i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(p.zm.SetZoneType(2, (i++ & 1) ? '1' : '3'));
}
BENCHMARK(BM_RetypeZone)->Unit(benchmark::kMicrosecond);

void BM_RetypeZoneToAnotherClass(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Plan p;
    p.Fill();
    state.ResumeTiming();
    (void)p.zm.ChangeZone(2, kClassPassPort);
  }
}
BENCHMARK(BM_RetypeZoneToAnotherClass)->Unit(benchmark::kMicrosecond);

}  // namespace
#include "RegisteredMain.h"
