// SPDX-License-Identifier: GPL-3.0-or-later
// Text typed into any field of any editor: a programming of a model the input
// chooses, with a zone of each kind and records in them, then one key and
// text after another stored through the settings-by-key operation the
// windows' cells use.
//
// Input: byte 0 chooses the model; then lines. A line whose first byte has
// its top bit clear picks a listed field (bytes 1 and 2, little-endian,
// modulo the count) and types the rest of the line into it; otherwise the
// rest of the line is "KEY=TEXT" as the command line takes it.
//
// What must hold: no crash, the image and extension area keep their sizes,
// the zone area stays sound, and typing the text a field shows after a store
// back into it stores the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "data/ImageLayout.h"
#include "data/ModelRecord.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/DelimitedText.h"

using namespace vb420;

namespace {

struct Base {
  std::vector<uint8_t> image, ext;
  std::vector<std::string> keys;
};

bool Store(RadioData& d, TextTable& text, const std::string& key, const std::string& value, forms::SettingLine& out) {
  int message = 0;
  return forms::SetSetting(d, text, key, value, out, message) == forms::SettingStatus::Ok;
}

// A programming of model `model` with a conventional, an LTR and a PassPort
// zone holding records, and the key of every field it lists.
const Base& BaseOf(int model) {
  static std::map<int, std::unique_ptr<Base>> bases;
  auto& slot = bases[model];
  if (slot) return *slot;
  TextTable& text = fuzz::ProgramTexts();
  RadioData d(&text);
  d.model.SetModel(model);
  const auto bands = ModelRecord::BandList(model);
  if (!bands.empty()) d.model.SetBandCode(static_cast<uint8_t>(bands.front().second));
  InitNewImage(d, false);
  d.SyncCodecs();
  forms::SettingLine out;
  CZoneMemory zones(d);
  for (int c = 1; c <= 3; ++c) Store(d, text, "zone.1.ch." + std::to_string(c) + ".rxf", "150.0", out);
  (void)zones.CreateZone(1, '0');
  Store(d, text, "zone.2.group.1.encode", "5", out);
  Store(d, text, "zone.2.rep.1.rxf", "151.0", out);
  (void)zones.CreateZone(2, '5');
  Store(d, text, "zone.3.group.1.id", "100", out);
  slot = std::make_unique<Base>();
  slot->image = d.buffers.ImageBytes();
  slot->ext = d.buffers.ExtBytes();
  std::vector<forms::SettingLine> lines;
  (void)forms::ListSettings(d, text, "", lines);
  for (const auto& l : lines) slot->keys.push_back(l.key);
  return *slot;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 1) return 0;
  TextTable& text = fuzz::ProgramTexts();
  const int model = bytes[0] % 10;
  const Base& base = BaseOf(model);
  RadioData data(&text);
  data.Image().write(0, base.image.data(), base.image.size());
  data.Ext().write(0, base.ext.data(), base.ext.size());
  data.SyncCodecs();
  VB420_FUZZ_CHECK(!base.keys.empty());

  std::string_view rest(reinterpret_cast<const char*>(bytes + 1), size - 1);
  int stores = 0;
  while (!rest.empty() && stores < 16) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (line.empty()) continue;
    ++stores;
    std::string key, value;
    if ((static_cast<uint8_t>(line[0]) & 0x80) == 0) {
      if (line.size() < 3) continue;
      const size_t pick = (static_cast<uint8_t>(line[1]) | static_cast<uint8_t>(line[2]) << 8) % base.keys.size();
      key = base.keys[pick];
      value = std::string(line.substr(3));
    } else {
      const std::string_view kv = line.substr(1);
      const size_t eq = kv.find('=');
      key = std::string(kv.substr(0, eq));
      value = eq == std::string_view::npos ? std::string() : std::string(kv.substr(eq + 1));
    }
    forms::SettingLine shown;
    if (!Store(data, text, key, value, shown)) continue;
    VB420_FUZZ_CHECK(data.buffers.ImageBytes().size() == kImageSize);
    VB420_FUZZ_CHECK(data.buffers.ExtBytes().size() == kExtSize);
    // What the field shows now, typed back in, changes nothing. Only for a
    // typed text: bytes that are no UTF-8 are stored as they came and show
    // as U+FFFD, which typed back is another text.
    if (ValidUtf8(value) != value) continue;
    const std::vector<uint8_t> image = data.buffers.ImageBytes(), ext = data.buffers.ExtBytes();
    forms::SettingLine again;
    if (Store(data, text, key, shown.text, again)) {
      if (again.text != shown.text)
        std::fprintf(stderr, "%s: typed \"%s\", shown \"%s\", typed back shows \"%s\"\n", key.c_str(),
                     value.c_str(), shown.text.c_str(), again.text.c_str());
      VB420_FUZZ_CHECK(again.text == shown.text);
      if (data.buffers.ImageBytes() != image || data.buffers.ExtBytes() != ext) {
        const auto& now = data.buffers.ImageBytes();
        for (size_t i = 0; i < now.size(); ++i)
          if (now[i] != image[i]) std::fprintf(stderr, "image 0x%zX: %02X became %02X\n", i, image[i], now[i]);
        std::fprintf(stderr, "%s: typed \"%s\", shown \"%s\"\n", key.c_str(), value.c_str(), shown.text.c_str());
      }
      VB420_FUZZ_CHECK(data.buffers.ImageBytes() == image);
      VB420_FUZZ_CHECK(data.buffers.ExtBytes() == ext);
    }
  }
  CZoneMemory zones(data);
  VB420_FUZZ_CHECK(zones.CheckZoneArea().empty());
  return 0;
}
