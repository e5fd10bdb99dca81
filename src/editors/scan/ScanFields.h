// SPDX-License-Identifier: GPL-3.0-or-later
// The scan settings (image 0x6A0 onwards, the two priority channels in the
// extension area) and the per-zone scan lists (ext 0x700, 16 bytes a zone),
// as tables of the form engine. The scan window, the scan-list window and
// `vb420cli settings` (keys scan.P.I and scanlist.Z.R) all store through
// these descriptors.
#pragma once

#include <string>
#include <vector>

#include "editors/forms/FormEngine.h"
#include "lang/TextNames.h"

namespace vb420 {

class CZoneMemory;
class RadioData;

namespace scan {

// Indexes of page 0 that other code names.
enum Page0 : int {
  kType1 = 0,
  kType2 = 1,
  kPriority1Zone = 2,
  kPriority1Channel = 3,
  kPriority2Zone = 4,
  kPriority2Channel = 5,
  kRevert = 6,
  kInterval1 = 9,
  kInterval2 = 10,
  kMode = 11,
};

// The message a refused priority channel is reported with.
constexpr int kPriorityRefused = text::kThePriorityChannelMust;

// Page 0 (19 controls) and page 1 (7 controls, the voting page: on the tab
// strip only while the model and the start-up switch allow voting).
const std::vector<forms::FormPage>& ScanPages();

// ---- scan lists ---------------------------------------------------------------

enum class RowState { Checked, Unchecked, Indeterminate };

// Whether zone `rowZone` is scanned with zone `listZone` (its bit is clear).
bool InScanList(RadioData& data, int listZone, int rowZone);
void SetInScanList(RadioData& data, int listZone, int rowZone, bool in);
// Whether the row may be changed: the list zone exists, is sound and has the
// flag that allows a scan list (LTR: bit 15 of the option word at +44;
// conventional: bit 14 of the word at +30; PassPort needs none), and the
// row zone exists and is sound.
bool ScanListRowEnabled(const CZoneMemory& zones, int listZone, int rowZone);
// What the row shows: a disabled row that is in the list, and a row whose
// zone does not exist, are indeterminate.
RowState ScanListRow(const CZoneMemory& zones, int listZone, int rowZone);

// The 128 rows of a list as check boxes "1".."128" (the cursor's zone is the
// list zone). Registered as the field set "scanlist" (keys scanlist.Z.R).
const std::vector<forms::FieldDescriptor>& ScanListFieldTable();
// Finds a list by the cursor's zone (ext 0x700 + 16 × zone).
class ScanListLocator : public forms::RecordLocator {
 public:
  long Locate(const forms::FormContext& ctx, forms::RecordBase base) const override;
};

// ---- zone clean-ups -------------------------------------------------------------

// A zone was deleted: its own list becomes empty (every bit set), it leaves
// every other zone's list, and its per-zone byte (ext 0xF00 + zone) goes
// back to none, the state of a zone that never existed.
void ZoneDeleted(RadioData& data, int zone);
// A priority channel that names the zone (and, with `number` >= 0, that
// record of it) is cleared.
void DropPriorityReferences(RadioData& data, int zone, int number = -1);
// After every zone was cleared at once (a model change to another band):
// the scan data of every zone that no longer exists goes as for a deletion.
void ZonesCleared(RadioData& data);
// Connects the clean-ups to a zone memory manager's hooks.
void ConnectZoneHooks(CZoneMemory& zones);

// ---- pre-write checks --------------------------------------------------------

// A user-selectable priority channel (type '2') that names a zone and channel
// must still name an existing channel of a plain conventional zone; true
// when it does not (reported as 816 or 817).
bool SelectablePriorityDangling(RadioData& data, int which);
// Adds the scan checks to the write validation (once).
void RegisterScanWriteChecks();

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterScanFieldSets();

}  // namespace scan
}  // namespace vb420
