// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and file figures: the language file, a new image, .dat load/save.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "lang/TextTable.h"

using namespace vb420;

namespace {

std::string LanguageFile() { return std::string(VB420_RESOURCE_DIR) + "/vb420.lng"; }

void BM_LoadLanguageFile(benchmark::State& state, const char* language) {
  TextTable t;
  for (auto _ : state) {
    if (t.LoadFile(LanguageFile(), language) != TextTable::LoadResult::Ok) {
      state.SkipWithError("language file did not load");
      break;
    }
    benchmark::DoNotOptimize(t.Text(1));
  }
}
BENCHMARK_CAPTURE(BM_LoadLanguageFile, English, "English")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadLanguageFile, Spanish, "Spanish")->Unit(benchmark::kMillisecond);

void BM_NewImage(benchmark::State& state) {
  RadioData d;
  d.model.SetBytes(kDefaultModelBytes);
  for (auto _ : state) {
    ResetToNewImage(d);
    benchmark::DoNotOptimize(d.Image().u8(0x100));
  }
}
BENCHMARK(BM_NewImage)->Unit(benchmark::kMicrosecond);

std::string TempDat() {
  return (std::filesystem::temp_directory_path() / "vb420-bench.dat").string();
}

void BM_SaveDat(benchmark::State& state) {
  RadioData d;
  d.model.SetBytes(kDefaultModelBytes);
  ResetToNewImage(d);
  for (auto _ : state) {
    if (SaveDatFile(TempDat(), d).result != kFileOk) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveDat)->Unit(benchmark::kMicrosecond);

void BM_LoadDat(benchmark::State& state) {
  RadioData d;
  d.model.SetBytes(kDefaultModelBytes);
  ResetToNewImage(d);
  if (SaveDatFile(TempDat(), d).result != kFileOk) state.SkipWithError("save failed");
  for (auto _ : state) {
    if (LoadDatFile(TempDat(), d).result != kFileOk) state.SkipWithError("load failed");
    d.buffers.AcceptScratch();
  }
}
BENCHMARK(BM_LoadDat)->Unit(benchmark::kMicrosecond);

}  // namespace

#include "RegisteredMain.h"
