// SPDX-License-Identifier: GPL-3.0-or-later
// The pre-write checks of the emergency and data-signalling settings, put
// into the radio link's check slots by RegisterSignallingWriteChecks().
#pragma once

#include <vector>

#include "link/WriteValidation.h"

namespace vb420 {

class RadioData;

// Write checks (each adds its text entry to `out` when it fails):
//  779: a set emergency zone must exist and be conventional, and its channel
//       must be set and exist in it; a channel without a zone is refused too;
//  813 (a warning the user may write past): with Vantelix emergency
//       signalling, the target fleet and ID are not an entry of the ID list
//       (a fleet-wide target, ID "all", without an entry of that fleet). A
//       target of every fleet and unit (fleet 0, ID 0) names no entry.
void CheckEmergencyChannel(RadioData& data, std::vector<WriteProblem>& out);
void CheckEmergencyVantelixTarget(RadioData& data, std::vector<WriteProblem>& out);
// Puts both into the write checks (once).
void RegisterSignallingWriteChecks();

}  // namespace vb420
