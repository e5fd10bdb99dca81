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

}  // namespace vb420::testsupport
