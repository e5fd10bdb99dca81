// SPDX-License-Identifier: GPL-3.0-or-later
// Changing the model or band of the programming (Model Information dialog):
// what the change means, the warning it needs, and the fix-ups it makes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vb420 {

class RadioData;
class TextTable;

struct ModelChangeFlags {
  bool band = false;        // band code changed: all zones go
  bool kind = false;        // mobile <-> portable
  bool power = false;       // standard -> high power
  bool generation = false;  // first <-> second generation
  bool Any() const { return band || kind || power || generation; }
};

struct ModelChangePlan {
  ModelChangeFlags flags;
  // Empty when the change can be applied without asking; otherwise the text
  // of the OK/Cancel warning.
  std::string warning;
};

// The parts of a model change that belong to the zones, channels and keys.
// The application wires them to the zone memory manager and the key editor's
// core; an unset hook is skipped.
struct ModelChangeHooks {
  std::function<void()> clearAllZones;           // band change
  std::function<void()> reencodeAllChannels;     // kind change on the same band
  std::function<void()> recomputeChannelMarks;   // kind change on the same band
  std::function<void()> lowerConventionalPower;  // standard -> high power
  std::function<void()> zoneGenerationFixup;     // to second generation
};

// Compares the chosen model and band with the image's and builds the flags
// and the warning.
ModelChangePlan PlanModelChange(RadioData& data, TextTable& text, int newModel, uint8_t newBand);

// Writes the new model and band and makes every fix-up the flags call for.
void ApplyModelChange(RadioData& data, int newModel, uint8_t newBand, const ModelChangeFlags& flags,
                      const ModelChangeHooks& hooks);

// Cuts the 12-character names of the image and the extension area to the
// 8 characters a second-generation model holds.
void CutNamesToSecondGeneration(RadioData& data);

}  // namespace vb420
