// SPDX-License-Identifier: GPL-3.0-or-later
// What a model change and the version re-check do to zones and channels.
// The model-change code calls these (directly or through ModelChangeHooks).
#pragma once

namespace vb420 {

class RadioData;
struct ModelChangeHooks;

// Band change: every zone is deleted (with its per-channel entries and
// references) and the whole zone area is left empty.
void ClearAllZones(RadioData& data);
// Mobile/portable change on the same band: every channel and repeater
// frequency is encoded again for the new model, without clamping to the band.
void ReencodeAllChannels(RadioData& data);
// Every channel's and repeater's receive-range flags and transmit-check flag.
void RecomputeChannelMarks(RadioData& data);
// Standard to high power: the conventional header word +0x13 is lowered to
// 600 where it is larger.
void LowerConventionalPower(RadioData& data);
// To the second generation: every 12-character name of the zone area (zone,
// channel and group names) is cut to 8 characters by the name rules.
void ZoneGenerationFixup(RadioData& data);
// Version re-check: every channel's and repeater's transmit-check flag.
void RecomputeTransmitChecks(RadioData& data);

// What Open does to a file once it is accepted as the working image: the
// identification check (a file without the identification block becomes a
// new image of its model), the version re-check (every transmit-check flag
// recomputed for this version) and the post-load adjustments (the fixed
// settings bytes, the option board and key clean-ups, the scan bytes). The
// program's Open and every vb420cli verb that loads a file call it, so both
// work on the same programming.
void AdjustOpenedFile(RadioData& data);

// Fills the zone hooks of a model change with the functions above.
void WireZoneFixups(ModelChangeHooks& hooks, RadioData& data);

}  // namespace vb420
