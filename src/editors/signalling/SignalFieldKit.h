// SPDX-License-Identifier: GPL-3.0-or-later
// Building blocks of the data-signalling, emergency and alert-tone tables:
// numbers whose shown value differs from the stored one (fleets shown 100 to
// 349 and stored 1 to 250, tone frequencies shown in Hz and stored in 10 Hz
// units), with a "none" value and an optional named zero.
#pragma once

#include <functional>
#include <string>

#include "editors/forms/FormEngine.h"

namespace vb420::sigfields {

// A number shown as stored × `scale` + `bias`.
struct ShiftedNumber {
  int bias = 0;
  int scale = 1;
  int low = 0;    // shown range
  int high = 0;
  int step = 1;   // in shown units
  int none = -1;            // stored none value (-1: the field has none)
  int noneText = -1;        // text entry shown for none (-1: an empty box)
  int zeroText = -1;        // text entry shown for a stored 0 (-1: 0 is an ordinary value)
  bool zeroTypedIsNone = false;  // a typed 0 stores none
  bool zeroTypedIsZero = false;  // a typed 0 stores 0 (outside the range)
  bool blankIsNone = true;       // an empty box stores none
  // Replaces `high` (for limits that follow another field).
  std::function<int(const forms::FormContext&)> dynamicHigh;
};

// A descriptor that shows, stores and spins by those rules.
forms::FieldDescriptor Shifted(std::string key, int label, forms::FieldRef ref, ShiftedNumber rule,
                               forms::ControlKind kind = forms::ControlKind::EditSpin);

// Shown text of a value by those rules ("" for an unreadable field).
std::string ShiftedText(const forms::FormContext& ctx, const ShiftedNumber& rule, int stored);
// The stored value a typed text gives, or -2 when the text leaves the
// value as it is (a text of none where there is none).
int ShiftedParse(forms::FormContext& ctx, const ShiftedNumber& rule, const std::string& typed);

// Fleet (shown 100..349, stored 1..250, 0xFF none) and ID (1000..4999,
// stored 1..4000, 0xFFFF none) boxes; `zeroText` names a stored 0 ("all").
forms::FieldDescriptor FleetBox(std::string key, int label, forms::FieldRef ref, int zeroText = -1);
forms::FieldDescriptor IdBox(std::string key, int label, forms::FieldRef ref, int zeroText = -1,
                             forms::ControlKind kind = forms::ControlKind::EditSpin);

constexpr int kFleetBias = 99;
constexpr int kIdBias = 999;
constexpr int kFleetLow = 100;
constexpr int kFleetHigh = 349;
constexpr int kIdLow = 1000;
constexpr int kIdHigh = 4999;

// Check box of a bit: checked stores 0, unchecked 1.
forms::FieldDescriptor BitCheck(std::string key, int label, forms::FieldRef ref);
// Check box of a whole byte with its own checked and unchecked values.
forms::FieldDescriptor ByteCheck(std::string key, int label, forms::FieldRef ref, int checkedValue,
                                 int uncheckedValue);
// List of named values.
forms::FieldDescriptor ChoiceList(std::string key, int label, forms::FieldRef ref, std::vector<forms::Choice> rows);
// Plain number box (stored as shown) with a range.
forms::FieldDescriptor NumberBox(std::string key, int label, forms::FieldRef ref, int low, int high, int step = 1);
// A decimal of seconds stored in milliseconds, shown "%.1f".
forms::FieldDescriptor SecondsBox(std::string key, int label, forms::FieldRef ref, int lowMs, int highMs, int stepMs);
forms::FieldDescriptor Caption(int label);

}  // namespace vb420::sigfields
