// SPDX-License-Identifier: GPL-3.0-or-later
// The PassPort zone header (96 bytes) as three field tables, one per window
// that edits it:
//   system data       (zone.Z.system.KEY): identity, DFA channels, timers and
//                     feature switches;
//   search and hold   (zone.Z.search.KEY): site search timers, RSSI levels,
//                     the ASID blacklist and the selective-call scrambler
//                     (the last two in the extension area, per zone);
//   seed frequencies  (zone.Z.seed.KEY): two seed search frequencies at +84
//                     and +88, their switches (bit 0 of +71, bit 7 of +78)
//                     and the seed dwell time at +47.
// No byte belongs to two tables. The forms label their controls with fixed
// texts (English and Spanish here), not with entries of the language file.
#pragma once

#include <string>
#include <vector>

#include "editors/forms/FormEngine.h"

namespace vb420 {

class RadioData;
class TextTable;
class CZoneMemory;
enum class ZoneTable;

namespace passport {

std::vector<forms::FieldDescriptor> MakeSystemTable();
std::vector<forms::FieldDescriptor> MakeSearchTable();
std::vector<forms::FieldDescriptor> MakeSeedTable();

// The fixed label of a field of a PassPort header table in the language of
// `text` ("" when the key is not one of them).
std::string FormLabel(ZoneTable table, const std::string& key, const TextTable& text);

// Whether a control of the system data form is shown on this model: the TX
// DFA channels only on VHF bands, "Use Band 5B Frequencies" only with DFA
// band 5, "Use Band IIB Frequencies" only with DFA band 0.
bool SystemFieldShown(const forms::FormContext& ctx, const std::string& key);

// What opening the system data editor does to zone `zone`: a missed-call
// alert tone above 8 becomes 0; on UHF bands both TX DFA channels become "no
// channel". Returns whether a byte changed.
bool OpenSystemData(RadioData& data, int zone);
// What opening the search and hold editor does: a scrambler code of 0xFF
// becomes 1. Returns whether a byte changed.
bool OpenSearchHold(RadioData& data, int zone);

// The ASID blacklist of a PassPort zone (ASIDs 1 to 127; bit n mod 8 of
// byte +53 + n / 8).
bool AsidBlacklisted(RadioData& data, int zone, int asid);
void SetAsidBlacklisted(RadioData& data, int zone, int asid, bool on);
// "Set All" / "Clear All": bits 1 to 127; bit 0 of byte +53 is left alone.
void SetAllAsids(RadioData& data, int zone, bool on);

// The three lines above the search and hold form: ASID, MIN and primary
// group ID of the zone's system data ("ASID: 1", ...).
std::vector<std::string> SystemSummary(RadioData& data, int zone);

}  // namespace passport
}  // namespace vb420
