// SPDX-License-Identifier: GPL-3.0-or-later
// The emergency editor's data (image 0x7D0 onwards, one page of 25
// controls).
//
// Settings keys: `emergency.KEY`.
#pragma once

#include <vector>

#include "data/SignallingLayout.h"
#include "editors/forms/FormEngine.h"

namespace vb420 {

class CZoneMemory;
class RadioData;

// Index of each control on the page.
enum EmergencyControl {
  kEmerChannelMode = 0, kEmerZone, kEmerChannel, kEmerCycles, kEmerActive, kEmerInterval, kEmerMicActive,
  kEmerMicInterval, kEmerAfter, kEmerDisplay, kEmerMode, kEmerKeyDelay, kEmerTxPower, kEmerAckTone, kEmerHorn,
  kEmerLoneCaption, kEmerLoneWorker, kEmerLoneTimer, kEmerPreAlert, kEmerLoneReset, kEmerSignalCaption,
  kEmerSignalling, kEmerDtmf, kEmerFleet, kEmerId, kEmerControls
};

const forms::FormPage& EmergencyPage();

// Whether the emergency setting may name this zone (1-based): a sound
// conventional zone. The window offers only these zones and the pre-write
// check accepts only these, so the two cannot disagree.
bool EmergencyZoneUsable(const CZoneMemory& zones, int zone1);
// ... and this channel (1-based) of that zone: one that exists.
bool EmergencyChannelUsable(const CZoneMemory& zones, int zone1, int channel1);
const std::vector<forms::FieldDescriptor>& EmergencyFieldTable();

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterEmergencyFieldSets();

}  // namespace vb420
