// SPDX-License-Identifier: GPL-3.0-or-later
// A stop asked for from outside a radio conversation: a signal to the
// command-line tool (Ctrl+C, SIGTERM, a closed terminal), or the program
// quitting. Conversations look at it between their steps; once it is set they
// leave the radio safe (transmitter off, test or program mode ended, port
// closed) and return instead of going on. Nothing is retried while it is set.
#pragma once

namespace vb420 {

// Async-signal-safe: a signal handler may call it.
void RequestStop(int signal) noexcept;
bool StopRequested() noexcept;
// The signal that asked for the stop (0 when none did).
int StopSignalNumber() noexcept;
void ClearStop() noexcept;

}  // namespace vb420
