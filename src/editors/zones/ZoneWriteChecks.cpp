#include "editors/zones/ZoneWriteChecks.h"

#include "data/RadioData.h"
#include "editors/zones/BandCheck.h"
#include "editors/zones/TrunkWriteChecks.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace vb420 {

namespace {

constexpr uint8_t kNone8 = 0xFF;

// Priority channel modes in the image, one byte each.
constexpr size_t kPriorityMode1 = 0x6A0;
constexpr size_t kPriorityMode2 = 0x6A1;

}  // namespace

void CheckPriorityChannel(RadioData& data, int which, std::vector<WriteProblem>& out) {
  const ByteArea image = data.Image();
  const ByteArea extArea = data.Ext();
  const uint8_t mode = image.u8(which == 1 ? kPriorityMode1 : kPriorityMode2);
  const size_t ref = which == 1 ? zones::kExtPriority1 : zones::kExtPriority2;
  const uint8_t zone = extArea.u8(ref);      // 1-based, 0xFF none
  const uint8_t channel = extArea.u8(ref + 1);
  bool ok = true;
  if (mode == '0') {
    ok = zone != kNone8 && channel != kNone8 && zone >= 1 && channel >= 1;
    if (ok) {
      const CZoneMemory zm(data);
      ok = zm.ZoneType(zone - 1) == '1' && zm.RecordExists(zone - 1, channel - 1);
    }
  } else if (mode == '2') {
    ok = zone == kNone8 || channel != kNone8;
  }
  if (!ok) out.push_back({which == 1 ? 816 : 817, {}});
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
