#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test.
source "$(dirname "$0")/scripts_common.sh"
vb420_install_missing
vb420_build
export QT_QPA_PLATFORM=offscreen
# Two tests per core: most of them wait on a simulated radio's line and
# time-outs rather than compute, and every one holds under that load.
jobs=$(( $(nproc) * 2 ))
cd "$VB420_BUILD"
ctest --output-on-failure --timeout 900 -j "$jobs" "$@"

# With no selection of tests, the sanitizer build runs too (core, end-to-end
# and the fuzz harnesses over their corpus); VB420_SKIP_SANITIZERS=1 leaves it
# out.
if [ "$#" -eq 0 ] && [ "${VB420_SKIP_SANITIZERS:-0}" != 1 ]; then
  vb420_sanitizer_build
  cd "$VB420_SAN_BUILD"
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
  # The install, package and completion tests belong to the ordinary build.
  ctest --output-on-failure --timeout 900 -j "$jobs" -E '^test_(install|package|completion)$'
fi

# With no selection of tests, the Windows build runs too: cross-compiled with
# mingw-w64 and tested under Wine (scripts_common.sh); VB420_SKIP_WINDOWS=1
# leaves it out.
if [ "$#" -eq 0 ] && [ "${VB420_SKIP_WINDOWS:-0}" != 1 ]; then
  vb420_windows_stage
fi
