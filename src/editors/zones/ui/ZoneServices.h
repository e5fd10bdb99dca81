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
};

// Lives as long as the main window of `ctx` (made on first use).
ZoneServices& ZonesOf(EditorContext& ctx);

}  // namespace vb420
