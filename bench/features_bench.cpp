// SPDX-License-Identifier: GPL-3.0-or-later
// The radio-wide editors' core operations, as the windows and the settings
// verb run them: listing every optional feature, a spin step through the
// engine, a key assignment with its companions, the key pages of a model.
#include <benchmark/benchmark.h>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/features/FeatureFields.h"
#include "editors/features/KeyFields.h"
#include "editors/forms/FieldSets.h"
#include "lang/TextTable.h"

namespace {

using namespace vb420;

struct Setup {
  Setup() {
    text.LoadFile(std::string(VB420_RESOURCE_DIR) + "/vb420.lng", "English");
    InitNewImage(data, true);
    data.SyncCodecs();
    (void)FeatureFieldTable();
  }
  TextTable text;
  RadioData data{&text};
};

void BM_ListFeatures(benchmark::State& state) {
  Setup s;
  for (auto _ : state) {
    std::vector<forms::SettingLine> lines;
    forms::ListSettings(s.data, s.text, "features", lines);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_ListFeatures);

void BM_SpinStep(benchmark::State& state) {
  Setup s;
  s.data.Image().setU8(0x853, 0);
  forms::FormContext ctx(s.data, s.text);
  const auto& budget = FeaturePages()[6].fields[2];
  for (auto _ : state) forms::FormEngine::Spin(ctx, budget, 1);
}
BENCHMARK(BM_SpinStep);

void BM_AssignKey(benchmark::State& state) {
  Setup s;
  int i = 0;
  for (auto _ : state) {
    bool others = false;
    AssignKeyFunction(s.data, {}, 3 + (i & 3), 0, (i & 1) ? 34 : 20, &others);
    ++i;
  }
}
BENCHMARK(BM_AssignKey);

void BM_KeyPages(benchmark::State& state) {
  Setup s;
  s.data.Image().setU8(0x583, '2');
  for (auto _ : state) benchmark::DoNotOptimize(KeyPages(s.data));
}
BENCHMARK(BM_KeyPages);

}  // namespace

#include "RegisteredMain.h"
