// SPDX-License-Identifier: GPL-3.0-or-later
// The field sets that every entry point (the program, vb420cli, the tests and
// the fuzz harnesses) must have registered, in the order the registration
// lists them: a part whose sets went missing shows up here by name.
#pragma once

#include <string>
#include <vector>

namespace vb420::testsupport {

inline const std::vector<std::string>& AllFieldSetNames() {
  static const std::vector<std::string> names = {
      "zone",          "conv-zone",     "channel",         "ltr-zone",        "ltr-group",       "repeater",        "passport-group",
      "passport-system", "passport-search", "passport-seed", "testfreq",        "message",         "passmessage",
      "features",      "keys",            "keysetup",        "optboard",        "extfunc",         "special",
      "ppmobile",      "ppsite",          "alert",           "alertstep",       "emergency",       "idlist",
      "status",        "vantelix",        "scan",            "scan-voting",     "scanlist",        "dtmf",
      "dtmf-own",      "dtmf-stunkill",   "dtmf-memory",     "twotone",         "twotone-code",    "twotone-decode1",
      "twotone-decode2", "twotone-decode3", "twotone-decode4", "twotone-dgrid"};
  return names;
}

}  // namespace vb420::testsupport
