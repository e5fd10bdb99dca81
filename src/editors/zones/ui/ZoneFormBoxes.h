// SPDX-License-Identifier: GPL-3.0-or-later
// Controls of the zone editors' forms that are not image fields: the number
// boxes that choose what the form shows (zone, channel, group), captions and
// buttons.
#pragma once

#include <functional>
#include <string>

#include "data/FieldCodec.h"
#include "editors/forms/FormEngine.h"
#include "editors/grid/FilterEdit.h"

namespace vb420 {

// A number box 1..count over a 0-based value the editor keeps: typing moves
// to that number (clamped), a spin steps with wrap-around.
inline forms::FieldDescriptor ZoneNumberBox(int label, std::function<int()> get, std::function<void(int)> set,
                                            int count) {
  forms::FieldDescriptor d;
  d.labelEntry = label;
  d.kind = forms::ControlKind::EditSpin;
  d.encoding = forms::Encoding::Custom;
  d.inputMode = kInputDigits;
  d.maxLength = 3;
  d.customShow = [get](const forms::FormContext&) { return std::to_string(get() + 1); };
  d.customStore = [set, count](forms::FormContext&, std::string& text) {
    if (text.empty()) return;
    std::string t = text;
    set(CFieldCodec::ClampIntText(t, count, 1, 1) - 1);
  };
  d.customSpin = [get, set, count](forms::FormContext&, int dir) { set((get() + (dir > 0 ? 1 : count - 1)) % count); };
  return d;
}

inline forms::FieldDescriptor FormCaption(int label) {
  forms::FieldDescriptor d;
  d.labelEntry = label;
  d.kind = forms::ControlKind::Caption;
  return d;
}

inline forms::FieldDescriptor FormButton(int label) {
  forms::FieldDescriptor d;
  d.labelEntry = label;
  d.kind = forms::ControlKind::Button;
  return d;
}

}  // namespace vb420
