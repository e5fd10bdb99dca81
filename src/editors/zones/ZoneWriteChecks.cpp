// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ZoneWriteChecks.h"

#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "editors/zones/BandCheck.h"
#include "editors/zones/TrunkWriteChecks.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextNames.h"
#include "lang/TextTable.h"

namespace vb420 {

namespace {

constexpr uint8_t kNone8 = 0xFF;

}  // namespace

bool PriorityTargetExists(RadioData& data, int zone, int channel) {
  if (zone < 1 || zone > zones::kZoneCount || channel < 1) return false;
  const CZoneMemory zm(data);
  return zm.ZoneType(zone - 1) == '1' && zm.RecordExists(zone - 1, channel - 1);
}

PriorityFault JudgePriorityChannel(RadioData& data, int which) {
  const uint8_t mode = data.Image().u8(which == 1 ? scanfld::kType1 : scanfld::kType2);
  const size_t ref = which == 1 ? ext::kPriority1 : ext::kPriority2;
  const uint8_t zone = data.Ext().u8(ref);  // 1-based, 0xFF none
  const uint8_t channel = data.Ext().u8(ref + 1);
  if (mode == '0') {
    if (zone == kNone8 || channel == kNone8) return PriorityFault::Unset;
  } else if (mode == '2') {
    if (zone == kNone8) return PriorityFault::None;
    if (channel == kNone8) return PriorityFault::Unset;
  } else {
    return PriorityFault::None;
  }
  return PriorityTargetExists(data, zone, channel) ? PriorityFault::None : PriorityFault::Dangling;
}

void CheckPriorityChannel(RadioData& data, int which, std::vector<WriteProblem>& out) {
  const PriorityFault f = JudgePriorityChannel(data, which);
  const bool fixed = data.Image().u8(which == 1 ? scanfld::kType1 : scanfld::kType2) == '0';
  if (f == PriorityFault::Unset || (fixed && f == PriorityFault::Dangling)) out.push_back({which == 1 ? text::kPriority1ZoneChannel : text::kPriority2ZoneChannel, {}});
}

void RegisterZoneWriteChecks() {
  static const bool registered = [] {
    RegisterWriteCheck("zones", kSlotPriority1, [](RadioData& data, TextTable&, std::vector<WriteProblem>& out) {
      CheckPriorityChannel(data, 1, out);
    });
    // Second-generation radios have one priority channel only.
    RegisterWriteCheck("zones", kSlotPriority2, [](RadioData& data, TextTable&, std::vector<WriteProblem>& out) {
      if (!data.model.IsSecondGen()) CheckPriorityChannel(data, 2, out);
    });
    // Frequencies outside the band are listed and the user is asked; they
    // do not refuse the write.
    RegisterWriteCheck("zones", kSlotBandRange, [](RadioData& data, TextTable& text, std::vector<WriteProblem>& out) {
      for (const OutOfBandFrequency& f : FindOutOfBandFrequencies(data)) out.push_back({0, OutOfBandLine(f, text)});
    });
    return true;
  }();
  (void)registered;
  RegisterTrunkWriteChecks();
}

}  // namespace vb420
