// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/signalling/SignallingChecks.h"

#include "data/RadioData.h"
#include "editors/signalling/EmergencyFields.h"
#include "editors/signalling/VantelixFields.h"
#include "editors/zones/ZoneMemory.h"

namespace vb420 {

namespace {
constexpr uint8_t kNone8 = 0xFF;
}  // namespace

void CheckEmergencyChannel(RadioData& data, std::vector<WriteProblem>& out) {
  const ByteArea image = data.Image();
  const int zone = image.u8(emf::kZone);
  const int channel = image.u8(emf::kChannel);
  if (zone == kNone8 && channel == kNone8) return;  // no emergency channel: the radio stays where it is
  // The same rule the emergency window offers its zones and channels by.
  if (!EmergencyChannelUsable(CZoneMemory(data), zone, channel)) out.push_back({779, {}});
}

void CheckEmergencyVantelixTarget(RadioData& data, std::vector<WriteProblem>& out) {
  const ByteArea image = data.Image();
  if (image.u8(emf::kSignalling) != '2') return;
  const int fleet = image.u8(emf::kFleet);
  const int id = image.u16le(emf::kId);
  if (fleet == kNone8 || id == 0xFFFF) return;  // 811 and 812 say what is missing
  if (fleet == 0 && id == 0) return;             // every fleet, every unit: no entry to name
  const PlacedList l = PlaceIdList(image);
  for (int r = 0; r < l.Rows(); ++r) {
    const size_t at = l.place.Row(static_cast<size_t>(r));
    const int f = image.u8(at + sig::kIdFleet);
    if (f == kNone8 || f != fleet) continue;
    if (id == 0 || image.u16le(at + sig::kIdId) == id) return;
  }
  out.push_back({813, {}, {static_cast<uint32_t>(emf::kFleet), static_cast<uint32_t>(emf::kId)}});
}

void RegisterSignallingWriteChecks() {
  static const bool registered = [] {
    RegisterWriteCheck("signalling", kSlotEmergency, [](RadioData& data, TextTable&, std::vector<WriteProblem>& out) {
      CheckEmergencyChannel(data, out);
    });
    // The radio calls a target outside the ID list all the same: the user is
    // told, and may write.
    RegisterWriteCheck("signalling", kSlotSettingWarnings, [](RadioData& data, TextTable&, std::vector<WriteProblem>& out) {
      CheckEmergencyVantelixTarget(data, out);
    });
    return true;
  }();
  (void)registered;
}

}  // namespace vb420
