// SPDX-License-Identifier: GPL-3.0-or-later
// The zone memory manager, the conventional field operations and the record
// copy buffers of a running program: one set per main window, shared by the
// Zone Information window, the channel and zone editors and their dialogs.
#pragma once

#include "frame/ui/Workspace.h"
#include "editors/zones/ConvFields.h"
#include "editors/zones/GroupFields.h"
#include "editors/zones/RecordCopy.h"
#include "editors/zones/ZoneMemory.h"
#include "frame/ui/EditorView.h"

namespace vb420 {

struct ZoneServices {
  explicit ZoneServices(Workspace& ws) : zones(ws.data), conv(zones, ws.text), groups(zones, ws.text) {}
  CZoneMemory zones;
  CConvFields conv;
  CGroupFields groups;  // LTR and PassPort group texts for the grids
  CRecordCopyBuffer convBuffer;  // conventional channels
  CRecordCopyBuffer ltrBuffer;   // LTR groups
  CRepeaterCopyBuffer repBuffer;  // LTR repeaters (the repeater editor)
  // The zone Zone Information shows (0-based); kept while it is closed.
  int shownZone = 0;
  // That zone's type: its own when it exists, else the type it will be
  // created with. Zone Information shows it and the key window picks its
  // table by it (the PassPort table for '5').
  uint8_t ShownZoneType() const {
    return zones.ZoneExists(shownZone) ? zones.ZoneType(shownZone) : zones.PendingType();
  }
};

// Lives as long as the main window of `ctx` (made on first use).
ZoneServices& ZonesOf(EditorContext& ctx);

}  // namespace vb420
