// SPDX-License-Identifier: GPL-3.0-or-later
// The settings text of a rich programming (every zone kind, full lists,
// every editor touched): the whole listing, its application to a new
// programming, and the checks a write makes, as `vb420cli settings --all`,
// `new --from` and `check` run them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "data/RadioData.h"
#include "editors/plan/SettingsText.h"
#include "lang/TextTable.h"
#include "link/WriteValidation.h"
#include "support/Programmings.h"

namespace {

using namespace vb420;

TextTable& Texts() { return testsupport::NumberedTexts(); }

size_t LineCount(const std::string& s) { return static_cast<size_t>(std::count(s.begin(), s.end(), '\n')); }

void BM_ListRichProgramming(benchmark::State& state) {
  RadioData d(&Texts());
  testsupport::FreshProgramming(d);
  testsupport::FillRichProgramming(d);
  std::string listing;
  for (auto _ : state) {
    listing = settingstext::BuildListing(d, Texts());
    benchmark::DoNotOptimize(listing.data());
  }
  state.counters["lines"] = static_cast<double>(LineCount(listing));
}
BENCHMARK(BM_ListRichProgramming)->Unit(benchmark::kMillisecond);

void BM_ApplyRichListing(benchmark::State& state) {
  RadioData src(&Texts());
  testsupport::FreshProgramming(src);
  testsupport::FillRichProgramming(src);
  const std::string listing = settingstext::BuildListing(src, Texts());
  RadioData d(&Texts());
  for (auto _ : state) {
    const settingstext::ApplyReport r = settingstext::NewFromListing(listing, d, Texts(), {});
    if (r.result != settingstext::ApplyResult::Ok) {
      state.SkipWithError("the listing was refused");
      break;
    }
  }
  if (d.buffers.ImageBytes() != src.buffers.ImageBytes()) state.SkipWithError("the image came back otherwise");
  state.counters["lines"] = static_cast<double>(LineCount(listing));
}
BENCHMARK(BM_ApplyRichListing)->Unit(benchmark::kMillisecond);

void BM_CheckFullProgramming(benchmark::State& state) {
  RadioData d(&Texts());
  testsupport::FreshProgramming(d);
  testsupport::FillFullPlan(d);
  for (auto _ : state) {
    const WriteValidationResult v = ValidateForWrite(d, Texts());
    if (!v.Passed()) {
      state.SkipWithError("the full programming fails the checks");
      break;
    }
    benchmark::DoNotOptimize(DueWriteWarnings(d, false, false));
  }
}
BENCHMARK(BM_CheckFullProgramming)->Unit(benchmark::kMillisecond);

}  // namespace

#include "RegisteredMain.h"
