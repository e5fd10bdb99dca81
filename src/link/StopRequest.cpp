// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/StopRequest.h"

#include <csignal>

namespace vb420 {
namespace {
volatile std::sig_atomic_t g_stopSignal = 0;
volatile std::sig_atomic_t g_stopRequested = 0;
}  // namespace

void RequestStop(int signal) noexcept {
  g_stopSignal = signal;
  g_stopRequested = 1;
}

bool StopRequested() noexcept { return g_stopRequested != 0; }
int StopSignalNumber() noexcept { return g_stopSignal; }

void ClearStop() noexcept {
  g_stopRequested = 0;
  g_stopSignal = 0;
}

}  // namespace vb420
