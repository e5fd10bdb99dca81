// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/RadioData.h"
#include "lang/TextTable.h"

namespace vb420::testsupport {

// Loads into `t` a complete table whose entry i reads "T<i>": tables and
// checks work without the shipped language file.
void LoadNumberedTexts(TextTable& t);

// One such table, shared.
TextTable& NumberedTexts();

// A new programming of the default model.
void FreshProgramming(RadioData& d);

// A full channel plan a fleet would carry, stored through the same rules as
// typing: 96 channels in four conventional zones, 416 groups and 16
// repeaters in two LTR zones, and the ID and status lists. It passes every
// check a write makes.
void FillFullPlan(RadioData& d);

// A new programming of `model` (0..9) on its first band.
void FreshProgramming(RadioData& d, int model);

// Everything a programming can hold at once, on top of FillFullPlan: a zone
// of every kind (the voting types and PassPort too, and an empty zone), the
// PassPort mobile-ID and site lists filled, every editor's fields touched
// (each list and check box of every record set to its last row), and random
// bytes (from `seed`) in places no zone walks. Shared by the settings-text
// round trip, its fuzz seeds and its benchmark; not meant to pass the
// write checks.
void FillRichProgramming(RadioData& d, unsigned seed = 29);

}  // namespace vb420::testsupport
