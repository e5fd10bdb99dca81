// SPDX-License-Identifier: GPL-3.0-or-later
// Filling the Vantelix ID list (100 entries: fleet, ID, name, inhibit) and
// the status list (90 entries: number, message, inhibit) through the
// settings keys, as `vb420cli settings` and the text import do.
#include <benchmark/benchmark.h>

#include <string>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/signalling/VantelixFields.h"
#include "lang/TextTable.h"

namespace {

using namespace vb420;

struct Fixture {
  Fixture() {
    text.LoadFile(std::string(VB420_RESOURCE_DIR) + "/vb420.lng", "English");
    data.field.SetTextTable(&text);
    InitNewImage(data, true);
    data.SyncCodecs();
    (void)VantelixFieldTable();
    (void)IdListFieldTable();
  }
  void Set(const std::string& key, const std::string& value) {
    forms::SettingLine out;
    int message = 0;
    if (forms::SetSetting(data, text, key, value, out, message) != forms::SettingStatus::Ok) std::abort();
  }
  TextTable text;
  RadioData data;
};

void BM_FillIdList(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    for (int n = 1; n <= 100; ++n) {
      const std::string p = "idlist." + std::to_string(n);
      f.Set(p + ".fleet", std::to_string(100 + n));
      f.Set(p + ".id", std::to_string(1000 + n));
      f.Set(p + ".name", "UNIT " + std::to_string(n));
      f.Set(p + ".inh", n % 2 ? "Yes" : "No");
    }
  }
}
BENCHMARK(BM_FillIdList)->Unit(benchmark::kMillisecond);

void BM_FillStatusList(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    for (int n = 1; n <= 90; ++n) {
      const std::string p = "status." + std::to_string(n);
      f.Set(p + ".sts", std::to_string(9 + n));
      f.Set(p + ".name", "STATUS " + std::to_string(n));
      f.Set(p + ".inh", n % 2 ? "Yes" : "No");
    }
  }
}
BENCHMARK(BM_FillStatusList)->Unit(benchmark::kMillisecond);

}  // namespace

#include "RegisteredMain.h"
