// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as a settings text, applied to a programming (vb420cli settings
// --from) and made into a new one (vb420cli new --from).
//
// Input: byte 0 chooses the model of the programming (modulo 10; bit 7 asks
// to keep going past refused lines, bit 6 for the model change); the rest is
// the settings text.
//
// What must hold: no crash; the image and extension area keep their sizes;
// every refused line names a line of the text; a refused text without
// --keep-going leaves the programming byte for byte as it was, and one of
// another model without --model-change as well; the model never changes
// unless the model change was asked for.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "data/RadioData.h"
#include "editors/plan/SettingsText.h"
#include "editors/zones/ZoneMemory.h"

using namespace vb420;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 1) return 0;
  const int model = bytes[0] % kModelCount;
  settingstext::ApplyOptions options;
  options.keepGoing = (bytes[0] & 0x80) != 0;
  options.modelChange = (bytes[0] & 0x40) != 0;
  const std::string_view listing(reinterpret_cast<const char*>(bytes + 1), size - 1);
  int lines = 0;
  for (char c : listing) lines += c == '\n';
  if (!listing.empty() && listing.back() != '\n') ++lines;

  TextTable& text = fuzz::ProgramTexts();
  RadioData d(&text);
  settingstext::MakeNewProgramming(d, model, ModelTable(model).bands.front());
  CZoneMemory zones(d);
  (void)zones.CreateZone(0, '1');
  (void)zones.InsertRecord(0, 0);
  (void)zones.CreateZone(1, '0');
  (void)zones.CreateZone(2, '5');
  const std::vector<uint8_t> image = d.buffers.ImageBytes();
  const std::vector<uint8_t> ext = d.buffers.ExtBytes();

  const settingstext::ApplyReport r = settingstext::ApplyListing(listing, d, text, options);
  VB420_FUZZ_CHECK(d.buffers.ImageBytes().size() == image.size() && d.buffers.ExtBytes().size() == ext.size());
  for (const settingstext::RefusedLine& f : r.refused) {
    VB420_FUZZ_CHECK(f.line >= 1 && f.line <= lines);
    VB420_FUZZ_CHECK(!settingstext::RefusedLineText(f, text).empty());
  }
  const bool untouched = r.result == settingstext::ApplyResult::OtherModel ||
                         (r.result == settingstext::ApplyResult::Refused && !options.keepGoing);
  if (untouched) VB420_FUZZ_CHECK(d.buffers.ImageBytes() == image && d.buffers.ExtBytes() == ext);
  if (r.result == settingstext::ApplyResult::OtherModel) VB420_FUZZ_CHECK(!options.modelChange);
  if (!options.modelChange) VB420_FUZZ_CHECK(d.model.ModelNumber() == model);

  RadioData made(&text);
  const settingstext::ApplyReport n = settingstext::NewFromListing(listing, made, text, options, model);
  VB420_FUZZ_CHECK(made.buffers.ImageBytes().size() == image.size() && made.buffers.ExtBytes().size() == ext.size());
  for (const settingstext::RefusedLine& f : n.refused) VB420_FUZZ_CHECK(f.line >= 1 && f.line <= lines);
  return 0;
}
