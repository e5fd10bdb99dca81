// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/core/PrintOptions.h"

namespace vb420::testing {

// The report with one section chosen and every other left out.
inline print::PrintOptions Only(int option) {
  print::PrintOptions o = print::PrintOptions::Defaults();
  o.SetAll(false);
  o.Set(option, true);
  return o;
}

}  // namespace vb420::testing
