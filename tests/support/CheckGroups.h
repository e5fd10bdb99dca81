// SPDX-License-Identifier: GPL-3.0-or-later
// The groups of pre-write checks that every entry point (the program, vb420cli
// for one radio and for a fleet, the tests) must have registered: the radio
// link's own ("link") and one per part that owns checks.
#pragma once

#include <string>
#include <vector>

namespace vb420::testsupport {

inline const std::vector<std::string>& AllWriteCheckGroups() {
  static const std::vector<std::string> groups = {"link", "dtmf",       "features", "keys", "merge",
                                                  "scan", "signalling", "trunk",    "zones"};
  return groups;
}

}  // namespace vb420::testsupport
