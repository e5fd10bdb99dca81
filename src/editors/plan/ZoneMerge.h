// SPDX-License-Identifier: GPL-3.0-or-later
// Moving whole zones: the zone copy buffer behind Zone Merge's Copy, Paste
// and Delete, the 20 merge entries kept outside the image (saved as ".sdt"),
// the entry-to-zone assignments of the switchable grid, and the pre-write
// check on them.
//
// A zone travels with everything that belongs to it: its block, the per-zone
// check box (ext 0x6F0), the per-zone byte (ext 0xF00 + zone), the zone's
// 16-byte record (ext 0x700 + 16 x zone), its selective-call scrambler switch
// and code (ext 0x570 bit, ext 0x580 + zone) and, for each channel or group,
// its values in the three per-channel tables. Every change of the zone area
// goes through CZoneMemory.
//
// How an entry holds a zone (the ".sdt" slot):
//   block            the zone's block as it stood in the image
//   mark             the per-zone byte (ext 0xF00 + zone)
//   name             the zone's 16-byte record (ext 0x700 + 16 x zone)
//   perChannel[0]    per record, in order: bit 0 ext 0x670, bit 1 ext 0x6B0;
//                    bit 2 of the first byte: the zone's ext 0x570 bit
//   perChannel[1]    per record: the byte of ext 0x1000
//   perChannel[2]    first byte: the zone's byte ext 0x580 + zone (the
//                    others unused)
//   marks[0][slot]   the zone class (ZoneClassCode)
//   marks[1][slot]   the per-zone check box bit (0 or 1)
//   marks[2][slot]   the zone number it was copied from (1..128, 0 unknown)
//   marks[3][slot]   the zone it is to be merged into (1..128, 0 none)
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/RadioData.h"
#include "editors/forms/FormEngine.h"
#include "editors/zones/ZoneMemory.h"
#include "link/WriteValidation.h"

namespace vb420 {

class TextTable;

// One zone with its per-zone and per-channel values. An empty block stands for
// a zone that does not exist.
struct ZoneCopy {
  std::vector<uint8_t> block;
  int cls = kClassNone;
  uint8_t checkBox = 1;      // ext 0x6F0 bit
  uint8_t perZoneByte = 0xFF;  // ext 0xF00 + zone
  std::array<uint8_t, 16> record{};  // ext 0x700 + 16 x zone
  uint8_t scramblerBit = 1;     // ext 0x570 bit (0: scrambler on selective call)
  uint8_t scramblerCode = 0xFF; // ext 0x580 + zone
  std::vector<PerChannelValues> perChannel;  // one per channel or group, in order
  int sourceZone = -1;       // 0-based, -1 unknown

  bool Exists() const { return !block.empty(); }
};

// Results of pasting zones, with the numbers of the zone rules: 1 done, 0 not
// enough free memory (text entry 275), -2 the channel limit (299), -3 a
// damaged entry (its block does not hold together; text entry 281).
enum class MergeResult : int { Done = 1, NoRoom = 0, ChannelLimit = -2, Damaged = -3 };
int MergeMessage(MergeResult r);

// The zone as it stands in the image.
ZoneCopy ReadZoneCopy(CZoneMemory& zones, int zone);
// Whether a block holds together (type, counts, size, record numbers in order).
bool ZoneBlockSound(const std::vector<uint8_t>& block);
// Writes `copy` over zone `zone` (deleting the target first), the way Paste
// does for one zone. The model fix-ups are left to the caller
// (`FixUpPastedZones`), so that a long paste runs them once.
MergeResult WriteZoneCopy(CZoneMemory& zones, int zone, const ZoneCopy& copy);
// What the current model needs of zones that came from elsewhere: names cut
// to 8 characters on second-generation models, the conventional time-out
// word lowered on high-power models, the receive-range and transmit-check
// flags, and group signalling choices the signalling ID mode does not allow.
void FixUpPastedZones(CZoneMemory& zones, int firstZone, int lastZone);

// An entry as a ZoneCopy, and back.
ZoneCopy SlotCopy(const MergeSlots& slots, int slot);
void SetSlot(MergeSlots& slots, int slot, const ZoneCopy& copy);
void ClearSlot(MergeSlots& slots, int slot);
bool SlotUsed(const MergeSlots& slots, int slot);

// The copy buffer shared by the zone list and the entry list.
class CZoneCopyBuffer {
 public:
  void CopyZones(CZoneMemory& zones, int first, int last);
  void CopyEntries(const MergeSlots& slots, int first, int last);
  // Writes the buffered zones into zones from `at` on, stopping at zone 128
  // and at the first zone that does not fit. `written` counts the zones
  // written.
  MergeResult PasteZones(CZoneMemory& zones, int at, int* written = nullptr) const;
  // Writes the buffered zones into entries from `at` on, stopping at entry 20.
  int PasteEntries(MergeSlots& slots, int at) const;

  bool Empty() const { return zones_.empty(); }
  size_t Size() const { return zones_.size(); }
  int FirstZone() const { return first_; }
  int LastZone() const { return last_; }
  void Clear() {
    zones_.clear();
    first_ = last_ = -1;
  }

 private:
  std::vector<ZoneCopy> zones_;
  int first_ = -1, last_ = -1;
};

// Deletes zones first..last; returns how many existed.
int DeleteZones(CZoneMemory& zones, int first, int last);
void DeleteEntries(MergeSlots& slots, int first, int last);

// ---- the switchable grid: which entry goes into which zone --------------------

// The zone (0-based) entry `slot` is to be merged into, -1 for none.
int AssignedZone(const MergeSlots& slots, int slot);
void AssignZone(MergeSlots& slots, int slot, int zone);
// The entry assigned to a zone (the first one), -1 for none.
int EntryForZone(const MergeSlots& slots, int zone);
// Sets the entry for a zone (-1 takes the zone's assignments away).
void AssignEntryToZone(MergeSlots& slots, int zone, int slot);

// Merges every assigned entry into its zone, in entry order; an entry that was
// merged loses its assignment. Stops at the first entry that does not fit and
// names it in `stoppedAt` (-1 when all went in). Runs the fix-ups.
MergeResult MergeAssigned(CZoneMemory& zones, MergeSlots& slots, int* stoppedAt = nullptr);

// The pre-write check on the merge data: an assignment not merged yet, an
// assignment of an empty entry, a zone that two entries are assigned to.
void CheckMergeData(RadioData& data, TextTable& text, std::vector<WriteProblem>& out);
// Puts the check into its slot (once).
void RegisterMergeWriteCheck();

// Texts of the lists: the type text of a zone type byte (528..533, 1190) and
// a block's zone name.
std::string MergeTypeText(uint8_t type, bool exists, TextTable& text);
std::string BlockZoneName(const std::vector<uint8_t>& block, int nameWidth);

// ---- the window's columns, as field descriptors ------------------------------
// A row's record is the cursor's `record` (the zone or the entry, 0-based).
namespace mergefields {

// The zone list: each zone's type and name (shown, not typed into).
const std::vector<forms::FieldDescriptor>& ZoneListFields();
// The merge list: each entry's type and name.
const std::vector<forms::FieldDescriptor>& EntryListFields();
// The switchable grid: by zone, the entry (1..20) each zone takes; by
// entry, the zone (1..128) each entry goes into. An empty text takes the
// assignment away; a number outside the list is refused.
const forms::FieldDescriptor& AssignmentField(bool byEntry);

}  // namespace mergefields

}  // namespace vb420
