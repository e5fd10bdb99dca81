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

namespace {

using namespace vb420;

TextTable& Texts() {
  static TextTable t = [] {
    TextTable table;
    std::string lng = "*Language,English\n";
    for (int i = 0; i < TextTable::kEntryCount; ++i) lng += "^#" + TextTable::IdentifierOf(i) + ",T" + std::to_string(i) + "\n";
    table.LoadText(lng, "English");
    return table;
  }();
  return t;
}

void Fresh(RadioData& d) {
  d.buffers.Clear();
  InitNewImage(d, true);
  d.SyncCodecs();
}

void Set(RadioData& d, const std::string& key, const std::string& value) {
  forms::SettingLine out;
  int message = 0;
  (void)forms::SetSetting(d, Texts(), key, value, out, message);
}

// 96 channels in four conventional zones, 416 groups in two LTR zones, 16
// repeaters, and the ID and status lists where this build has them.
void FullPlan(RadioData& d) {
  CZoneMemory zm(d);
  for (int z = 0; z < 4; ++z) {
    (void)zm.CreateZone(z, '1');
    for (int c = 1; c <= 24; ++c) {
      const std::string p = "zone." + std::to_string(z + 1) + ".ch." + std::to_string(c);
      char f[32];
      std::snprintf(f, sizeof f, "%.5f", 140.0 + 0.0125 * (z * 24 + c));
      Set(d, p + ".rxf", f);
      Set(d, p + ".rxtone", "D754N");
      Set(d, p + ".name", "CH," + std::to_string(c));
    }
  }
  for (int z = 4; z < 6; ++z) {
    (void)zm.CreateZone(z, '0');
    for (int g = 1; g <= 208; ++g) {
      const std::string p = "zone." + std::to_string(z + 1) + ".group." + std::to_string(g);
      Set(d, p + ".encode", std::to_string(g % 250 + 1));
      Set(d, p + ".decode", std::to_string(g % 250 + 1));
      Set(d, p + ".name", "G" + std::to_string(g));
    }
    for (int r = 1; r <= 8; ++r) Set(d, "zone." + std::to_string(z + 1) + ".rep." + std::to_string(r) + ".rxf", "150.0");
  }
  for (int n = 1; n <= 100; ++n) {
    Set(d, "idlist." + std::to_string(n) + ".fleet", "200");
    Set(d, "idlist." + std::to_string(n) + ".id", std::to_string(1000 + n));
  }
  for (int n = 1; n <= 90; ++n) Set(d, "status." + std::to_string(n) + ".sts", std::to_string(10 + n % 90));
}

void BM_ExportFullPlan(benchmark::State& state) {
  RadioData d(&Texts());
  Fresh(d);
  FullPlan(d);
  for (auto _ : state) benchmark::DoNotOptimize(BuildItmText(d, Texts()));
}
BENCHMARK(BM_ExportFullPlan)->Unit(benchmark::kMillisecond);

void BM_ImportFullPlan(benchmark::State& state) {
  RadioData src(&Texts());
  Fresh(src);
  FullPlan(src);
  const std::string text = BuildItmText(src, Texts());
  RadioData d(&Texts());
  for (auto _ : state) {
    state.PauseTiming();
    Fresh(d);
    state.ResumeTiming();
    ItmImportSummary s;
    (void)ImportItmText(text, d, Texts(), nullptr, s);
  }
}
BENCHMARK(BM_ImportFullPlan)->Unit(benchmark::kMillisecond);

// 128 small zones (two channels each) pasted over 128 others.
void BM_Paste128Zones(benchmark::State& state) {
  RadioData src(&Texts());
  Fresh(src);
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
    Fresh(d);
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
