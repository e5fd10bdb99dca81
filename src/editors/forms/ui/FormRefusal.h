// SPDX-License-Identifier: GPL-3.0-or-later
// A store the form's rules refused with a message (a zone or channel the radio
// cannot switch to, say): the window shows the message, and the form shows
// the stored value again. One rule for every window that asks it.
#pragma once

#include "editors/forms/ui/FormRenderer.h"

namespace vb420 {

// The message of a refused store, 0 when there is none. A refusal is taken:
// the context forgets it and the form shows what is stored again.
inline int TakeRefusal(forms::FormContext& ctx, CFormRenderer& form) {
  const int message = ctx.message;
  if (message) {
    ctx.message = 0;
    form.Refresh();
  }
  return message;
}

}  // namespace vb420
