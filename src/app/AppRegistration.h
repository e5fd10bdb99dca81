// SPDX-License-Identifier: GPL-3.0-or-later
// The one registration of the whole program: the core parts (field sets and
// every pre-write check, RegisterCore()), then each part's windows, commands
// and hooks in a fixed order. The application calls it when it is made; the
// tests that build views of their own call it too.
#pragma once

namespace vb420 {

// Registers everything once; later calls do nothing.
void RegisterAll();

}  // namespace vb420
