// SPDX-License-Identifier: GPL-3.0-or-later
// The channel plan and zone merge at full size: export and import of 512
// records with every section filled, and a paste of 128 zones.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/plan/ItmFile.h"
#include "editors/plan/ZoneMerge.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"
#include "support/Programmings.h"

namespace {

using namespace vb420;

using testsupport::FillFullPlan;
using testsupport::FreshProgramming;
TextTable& Texts() { return testsupport::NumberedTexts(); }

void BM_ExportFullPlan(benchmark::State& state) {
  RadioData d(&Texts());
  FreshProgramming(d);
  FillFullPlan(d);
  for (auto _ : state) benchmark::DoNotOptimize(BuildItmText(d, Texts()));
}
BENCHMARK(BM_ExportFullPlan)->Unit(benchmark::kMillisecond);

void BM_ImportFullPlan(benchmark::State& state) {
  RadioData src(&Texts());
  FreshProgramming(src);
  FillFullPlan(src);
  const std::string text = BuildItmText(src, Texts());
  RadioData d(&Texts());
  for (auto _ : state) {
    state.PauseTiming();
    FreshProgramming(d);
    state.ResumeTiming();
    ItmImportSummary s;
    (void)ImportItmText(text, d, Texts(), nullptr, s);
  }
}
BENCHMARK(BM_ImportFullPlan)->Unit(benchmark::kMillisecond);

// 128 small zones (two channels each) pasted over 128 others.
void BM_Paste128Zones(benchmark::State& state) {
  RadioData src(&Texts());
  FreshProgramming(src);
  CZoneMemory sz(src);
  for (int z = 0; z < zones::kZoneCount; ++z) {
    (void)sz.CreateZone(z, z % 2 ? '0' : '1');
    for (int r = 0; r < 2; ++r) (void)sz.InsertRecord(z, r);
  }
  CZoneCopyBuffer buf;
  buf.CopyZones(sz, 0, zones::kZoneCount - 1);
  RadioData d(&Texts());
  for (auto _ : state) {
    state.PauseTiming();
    FreshProgramming(d);
    CZoneMemory dz(d);
    for (int z = 0; z < zones::kZoneCount; ++z) {
      (void)dz.CreateZone(z, '1');
      (void)dz.InsertRecord(z, 0);
    }
    state.ResumeTiming();
    benchmark::DoNotOptimize(buf.PasteZones(dz, 0));
  }
}
BENCHMARK(BM_Paste128Zones)->Unit(benchmark::kMillisecond);

}  // namespace

#include "RegisteredMain.h"
