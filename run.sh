#!/usr/bin/env bash
# Installs what is missing, builds, and starts the VB-420 program.
source "$(dirname "$0")/scripts_common.sh"
vb420_install_missing
vb420_build
if [ -x "$VB420_BUILD/src/app/vb420" ]; then
  exec "$VB420_BUILD/src/app/vb420" "$@"
fi
# Until the desktop program is built: show a new programming's summary.
tmp="$(mktemp -d)"
"$VB420_BUILD/tools/vb420cli" new -o "$tmp/vb420.dat"
exec "$VB420_BUILD/tools/vb420cli" info "$tmp/vb420.dat"
