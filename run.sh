#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts the VB-420 program.
source "$(dirname "$0")/scripts_common.sh"
vb420_install_missing
vb420_build
if [ -x "$VB420_BUILD/src/app/vb420" ]; then
  # On a machine without a display the program still starts, on a virtual one.
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$VB420_BUILD/src/app/vb420" "$@"
  fi
  exec "$VB420_BUILD/src/app/vb420" "$@"
fi
# Until the desktop program is built: show a new programming's summary.
tmp="$(mktemp -d)"
"$VB420_BUILD/tools/vb420cli" new -o "$tmp/vb420.dat"
exec "$VB420_BUILD/tools/vb420cli" info "$tmp/vb420.dat"
