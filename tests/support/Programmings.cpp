// SPDX-License-Identifier: GPL-3.0-or-later
#include "Programmings.h"

#include <cstdio>
#include <random>
#include <string>

#include "data/NewImage.h"
#include "editors/forms/FieldSets.h"
#include "editors/plan/SettingsText.h"
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

void FreshProgramming(RadioData& d, int model) {
  settingstext::MakeNewProgramming(d, model, ModelTable(model).bands.front());
}

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

void FillRichProgramming(RadioData& d, unsigned seed) {
  FillFullPlan(d);
  CZoneMemory zm(d);
  // The conventional types of the voting function, an empty zone and a
  // PassPort zone with groups.
  const uint8_t kinds[] = {'2', '3', '4', '1'};
  for (int i = 0; i < 4; ++i) {
    (void)zm.CreateZone(6 + i, kinds[i]);
    if (i == 3) break;  // zone 10 stays empty
    for (int c = 1; c <= 3; ++c) {
      char f[32];
      std::snprintf(f, sizeof f, "%.5f", 160.0 + 0.025 * (i * 4 + c));
      Set(d, "zone." + std::to_string(7 + i) + ".ch." + std::to_string(c) + ".rxf", f);
    }
  }
  (void)zm.CreateZone(10, '5');
  for (int g = 1; g <= 12; ++g) {
    const std::string p = "zone.11.group." + std::to_string(g);
    Set(d, p + ".id", std::to_string(100 + g));
    Set(d, p + ".name", "PP" + std::to_string(g));
  }
  for (int r = 1; r <= 80; ++r) {
    Set(d, "ppmobile." + std::to_string(r) + ".id", std::to_string(2000 + r));
    Set(d, "ppsite." + std::to_string(r) + ".id", std::to_string(r % 250 + 1));
  }
  // Every editor touched: each list and check box of every record at its
  // last row (the rows as the record offers them when it is reached).
  TextTable& text = NumberedTexts();
  for (const forms::FieldSet& set : forms::FieldSets()) {
    if (set.name == "zone") continue;  // the zone kinds are set above
    for (const forms::FieldSetRecord& r : set.records(d)) {
      std::unique_ptr<forms::BoundRecord> b = set.bind(d, text, r.cursor);
      if (!b) continue;
      for (const forms::FieldDescriptor& f : *set.fields) {
        if (f.key.empty() || (f.kind != forms::ControlKind::Combo && f.kind != forms::ControlKind::Check)) continue;
        const std::vector<std::string> rows = forms::FormEngine::ChoiceTexts(b->Context(), f);
        if (!rows.empty()) Set(d, r.prefix + "." + f.key, rows.back());
      }
    }
  }
  // Random bytes where no zone walks: outside the zone table and area, the
  // identification and model bytes.
  std::mt19937 random(seed);
  ByteArea image = d.Image();
  ByteArea ext = d.Ext();
  for (int n = 0; n < 64; ++n) {
    const size_t at = random() % image.size();
    const bool zoneBytes = (at >= zones::kAreaStart && at < zones::kAreaEnd) ||
                           (at >= zones::kTable && at < zones::kTable + 2 * zones::kZoneCount);
    if (zoneBytes || (at >= img::kIdentBlock && at < img::kModelBytes + 8)) continue;
    image.setU8(at, static_cast<uint8_t>(random()));
  }
  for (int n = 0; n < 16; ++n) ext.setU8(random() % ext.size(), static_cast<uint8_t>(random()));
}

}  // namespace vb420::testsupport
