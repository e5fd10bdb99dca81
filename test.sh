#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
source "$(dirname "$0")/scripts_common.sh"
vb420_install_missing
vb420_build
export QT_QPA_PLATFORM=offscreen
cd "$VB420_BUILD"
ctest --output-on-failure --timeout 900 "$@"
