// SPDX-License-Identifier: GPL-3.0-or-later
// The pre-write checks that judge zone data. They live with the zone code
// (the radio link knows nothing of zones) and join the write validation's
// slots when a program that writes to a radio starts.
#pragma once

#include <vector>

#include "link/WriteValidation.h"

namespace vb420 {

class RadioData;

// The one rule for what a priority channel may name: channel `channel` of
// zone `zone` (both 1-based, as stored) exists and the zone is a plain
// conventional zone.
bool PriorityTargetExists(RadioData& data, int zone, int channel);

// What is wrong with priority channel `which` (1 or 2). Its mode byte says
// how it is chosen: '0' fixed, it must name a channel; '2' selectable, it may
// be unset, but a set zone needs its channel; other modes name none.
enum class PriorityFault {
  None,
  Unset,     // mode '0' without zone or channel; mode '2' with a zone but no channel
  Dangling,  // zone and channel set, but no such channel (a loaded file, a removed record)
};
PriorityFault JudgePriorityChannel(RadioData& data, int which);

// Priority channel `which`: adds problem 816 or 817 for every fault of a
// fixed channel and for a selectable one left without its channel. (A
// selectable channel naming a channel that is gone is the scan settings'
// own check; both judge by JudgePriorityChannel.)
void CheckPriorityChannel(RadioData& data, int which, std::vector<WriteProblem>& out);

// Puts the zone checks into their slots. Safe to call more than once: the
// checks are added the first time only.
void RegisterZoneWriteChecks();

}  // namespace vb420
