// SPDX-License-Identifier: GPL-3.0-or-later
// The type of each zone as a setting, `zone.Z.type`: the record a zone's
// other keys live in. Storing a type into a zone that does not exist creates
// it (empty, as the Zone Information window does); storing one of another
// class replaces the zone by an empty one of that class; one of the same
// class changes the conventional type in place. A settings text lists it
// before every other key of the zone, so applying the text rebuilds every
// zone kind, empty zones included.
#pragma once

namespace vb420 {

// Adds the "zone" set. The one registration calls it before the zone tables'
// sets so that the listing names each zone before its records.
void RegisterZoneTypeFieldSet();

}  // namespace vb420
