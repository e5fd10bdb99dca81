// SPDX-License-Identifier: GPL-3.0-or-later
// Building a new image, and the checks and adjustments that follow a load or
// a read from a radio.
#pragma once

#include <functional>

namespace vb420 {

class RadioData;

// The 12-character program identification written at 0x110.
constexpr const char* kProgramIdentification = "VB-420 V1.20";
constexpr const char* kVersionString = "V1.20";

// Fills the new-image defaults into the working image and extension area.
// With `selectDefaultModel` the model bytes first become VT-1600 on 136-174 MHz.
void InitNewImage(RadioData& data, bool selectDefaultModel);

// File New: clears everything, keeps the model with both password bits set
// (no password), initialises and takes the snapshot.
void ResetToNewImage(RadioData& data);

// Default test frequencies (0x8C0) and tuning frequencies (0x960) of the model.
void WriteDefaultTestFrequencies(RadioData& data);
void WriteDefaultTuningFrequencies(RadioData& data);

// After a load: an image without the "VB420\0\0" identification is replaced by
// a new image of the same model. Returns true when it was replaced.
bool IdentificationCheck(RadioData& data);

// After a load or a read: limits into the codecs; for a "V1.20" image the
// given hook recomputes every channel's transmit validity mark.
void VersionRecheck(RadioData& data, const std::function<void()>& recomputeChannelMarks = {});

// After a load or a read, before the snapshot.
void PostLoadAdjustments(RadioData& data);

}  // namespace vb420
