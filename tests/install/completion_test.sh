#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The bash completion of vb420cli, against the built tool: verbs, options,
# the editors of --editor and the setting keys of the data file on the line.
#   completion_test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=${1:?build folder}
source_dir=${2:?source folder}
cli="$build/tools/vb420cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=/dev/null
source "$source_dir/resources/completion/vb420cli"
failures=0

# Completes the words given (the last one is the word being typed).
complete_words() {
  COMP_WORDS=("$cli" "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _vb420cli
  printf '%s\n' "${COMPREPLY[@]}"
}
expect() {  # expect WANTED WORDS...: WANTED is among the completions
  local wanted=$1
  shift
  if ! complete_words "$@" | grep -qxF -- "$wanted"; then
    echo "FAIL: completing '$*' does not offer '$wanted' (offers: $(complete_words "$@" | head -5 | tr '\n' ' '))" >&2
    failures=$((failures + 1))
  fi
}

"$cli" new -o "$work/p.dat" >/dev/null && "$cli" channel "$work/p.dat" 1 1 RXF=146.52 >/dev/null ||
  { echo "FAIL: vb420cli new or channel"; exit 1; }
expect settings se
expect zones-copy zones-c
expect --version --v
expect --editor settings "$work/p.dat" --ed
expect --clamp settings "$work/p.dat" --cl
expect --retries read --re
expect passport-system settings "$work/p.dat" --editor passport-sy
expect twotone-dgrid settings "$work/p.dat" --editor twotone-d
expect zone.1.ch.1.rxtone= settings "$work/p.dat" zone.1.ch.1.rxt
expect features.common.readpassword= settings "$work/p.dat" features.common.readp
expect "$work/p.dat" info "$work/p."
expect --model-change settings "$work/p.dat" --model-c
expect --keep-going new -o "$work/q.dat" --keep
expect "$work/p.dat" settings "$work/p.dat" --from "$work/p."
n=$(complete_words settings "$work/p.dat" zone.1.ch.1. | wc -l)
[ "$n" -ge 17 ] || { echo "FAIL: the keys of channel 1 are not offered ($n)" >&2; failures=$((failures + 1)); }
[ $failures -eq 0 ] || exit 1
echo "completion test passed"
