// SPDX-License-Identifier: GPL-3.0-or-later
#include "Programmings.h"

#include <cstdio>
#include <string>

#include "data/NewImage.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/ZoneMemory.h"

namespace vb420::testsupport {

void LoadNumberedTexts(TextTable& t) {
  std::string lng = "*Language,English\n";
  for (int i = 0; i < TextTable::kEntryCount; ++i) lng += "^#" + TextTable::IdentifierOf(i) + ",T" + std::to_string(i) + "\n";
  t.LoadText(lng, "English");
}

TextTable& NumberedTexts() {
  static TextTable t = [] {
    TextTable table;
    LoadNumberedTexts(table);
    return table;
  }();
  return t;
}

void FreshProgramming(RadioData& d) {
  d.buffers.Clear();
  InitNewImage(d, true);
  d.SyncCodecs();
}

namespace {

void Set(RadioData& d, const std::string& key, const std::string& value) {
  forms::SettingLine out;
  int message = 0;
  (void)forms::SetSetting(d, NumberedTexts(), key, value, out, message);
}

}  // namespace

void FillFullPlan(RadioData& d) {
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
    for (int r = 1; r <= 8; ++r) {
      (void)zm.InsertRepeater(z, r - 1);
      char f[32];
      std::snprintf(f, sizeof f, "%.5f", 150.0 + 0.025 * (z * 8 + r));
      Set(d, "zone." + std::to_string(z + 1) + ".rep." + std::to_string(r) + ".rxf", f);
    }
  }
  // The lists need the radio's own identity.
  Set(d, "vantelix.ownfleet", "200");
  Set(d, "vantelix.ownid", "1000");
  for (int n = 1; n <= 100; ++n) {
    Set(d, "idlist." + std::to_string(n) + ".fleet", "200");
    Set(d, "idlist." + std::to_string(n) + ".id", std::to_string(1000 + n));
  }
  for (int n = 1; n <= 90; ++n) Set(d, "status." + std::to_string(n) + ".sts", std::to_string(10 + n % 90));
}

}  // namespace vb420::testsupport
