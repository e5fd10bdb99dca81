// SPDX-License-Identifier: GPL-3.0-or-later
// The one registration of the core parts: every field set (the editors'
// tables, which `vb420cli settings`, import, export, the report, compare and
// undo read) and every pre-write check. The program, vb420cli, the tests and
// the fuzz harnesses call it before they use either; the program adds its
// windows and commands on top (app/AppRegistration.h), vb420cli its verbs.
// Nothing registers itself from a static initialiser, so a part cannot go
// missing because its library was linked without it.
#pragma once

#include <string>
#include <vector>

namespace vb420 {

// Registers everything once; later calls do nothing.
void RegisterCore();

// The names of the registered field sets and groups of pre-write checks, for
// the tests that hold every entry point to the same registration.
std::vector<std::string> RegisteredFieldSetNames();

}  // namespace vb420
