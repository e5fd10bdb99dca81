// The pre-write checks that judge zone data. They live with the zone code
// (the radio link knows nothing of zones) and join the write validation's
// slots when a program that writes to a radio starts.
#pragma once

#include <vector>

#include "link/WriteValidation.h"

namespace vb420 {

class RadioData;

// Priority channel `which` (1 or 2): in mode '0' it must name an existing
// channel of a plain conventional zone; in mode '2' a set zone needs its
// channel. Adds problem 816 or 817.
void CheckPriorityChannel(RadioData& data, int which, std::vector<WriteProblem>& out);

// Puts the zone checks into their slots. Safe to call more than once: the
// checks are added the first time only.
void RegisterZoneWriteChecks();

}  // namespace vb420
