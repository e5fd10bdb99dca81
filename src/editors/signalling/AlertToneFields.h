// SPDX-License-Identifier: GPL-3.0-or-later
// The alert-tone editor's data: eight records of 36 bytes at image 0x460,
// each a repeat count, a pause and 16 steps of frequency and duration.
//
// Settings keys: `alert.T.repeat`, `alert.T.pause` and
// `alert.T.step.S.freq|dur` (T 1 to 8, S 1 to 16).
#pragma once

#include <vector>

#include "data/Bytes.h"
#include "editors/forms/FormEngine.h"
#include "editors/signalling/TonePlayer.h"

namespace vb420 {

// The page every tone's tab shows, for the tone the form context's cursor
// names (cursor.record = tone, found by `AlertToneLocator`). Laid out in
// columns of 19 rows: the repeat count, the pause, the frequency heading and
// the 16 step frequencies; two empty places, the duration heading and the 16
// durations beside them; the test button last.
const forms::FormPage& AlertTonePage();
class AlertToneLocator : public forms::RecordLocator {
 public:
  long Locate(const forms::FormContext& ctx, forms::RecordBase base) const override;
};
constexpr int kAlertRowsPerColumn = 19;
constexpr int kAlertRepeatIndex = 0;
constexpr int kAlertPauseIndex = 1;
constexpr int AlertFreqIndex(int step) { return 3 + step; }       // step 0-based
constexpr int AlertDurationIndex(int step) { return 22 + step; }
constexpr int kAlertTestIndex = 38;

// The record of tone `t` (0-based) as the player takes it.
AlertToneRecord ReadAlertTone(const ByteArea& image, int tone);

const std::vector<forms::FieldDescriptor>& AlertToneFieldTable();      // repeat, pause
const std::vector<forms::FieldDescriptor>& AlertStepFieldTable();      // freq, dur

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterAlertToneFieldSets();

}  // namespace vb420
