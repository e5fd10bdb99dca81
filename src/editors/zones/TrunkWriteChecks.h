// SPDX-License-Identifier: GPL-3.0-or-later
// The pre-write checks of the zone data that the trunking editors and Zone
// Information can leave inconsistent. Each adds its problem once, however
// many zones show it, except the first, which names each zone:
//   472        "Zone and channel data", then the zone and the reason: its
//              block is damaged (1272), an LTR zone's home repeater has no
//              repeater record (1270), a PassPort zone's data talkgroup names
//              a group it does not hold (1271); or more than 512 channels and
//              LTR groups exist (1273);
//   944        a PassPort scrambler is switched on without the scrambler
//              option board (system type 1), or its code is not 1 to 16;
//   431-995    a channel's or LTR group's PTT ID names an ID-list entry that
//              is not usable, or a value the signalling ID mode (image byte
//              0x180) does not offer;
//   575, 576   BOT or EOT is sent on a channel or group while the mode uses
//              the radio's own codes ('0') and that code is empty;
//   400-402    a zone of a voting type ('2', '3', '4') exists while the model
//   (309)      cannot vote.
#pragma once

#include <vector>

#include "link/WriteValidation.h"

namespace vb420 {

class RadioData;
class TextTable;

// An LTR zone whose header names a home repeater (not none) that it has no
// record for: the write check refuses it and the repeater editor asks before
// it closes.
bool HomeRepeaterMissing(RadioData& data, int zone);

void CheckZoneReferences(RadioData& data, TextTable& text, std::vector<WriteProblem>& out);
void CheckScramblers(RadioData& data, std::vector<WriteProblem>& out);
void CheckPttIds(RadioData& data, TextTable& text, std::vector<WriteProblem>& out);
void CheckBotEotCodes(RadioData& data, std::vector<WriteProblem>& out);
void CheckVotingZones(RadioData& data, TextTable& text, std::vector<WriteProblem>& out);

// Puts them into their slots (called once, with the other zone checks).
void RegisterTrunkWriteChecks();

}  // namespace vb420
