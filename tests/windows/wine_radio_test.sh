#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# vb420cli.exe under Wine against the simulated radio, and its zip.
#   wine_radio_test.sh WINDOWS_BUILD LINUX_BUILD
# COM1 of the Wine prefix (made by the caller: WINEPREFIX) is mapped to a
# fixed link that each simulated radio points at its pseudo-terminal. A read
# and a write through the Windows program must leave the same bytes as the
# Linux program's: the file read, and the radio's memory after the write.
# The settings listings must match line for line and in order. Then the zip
# (cpack -G ZIP) is unpacked and its program run from there: the
# language file beside it must be found.
set -uo pipefail
win=${1:?Windows build folder}
lin=${2:?Linux build folder}
: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
export WINEDEBUG=-all
wine=$(command -v wine64 || command -v wine)
exe="$win/tools/vb420cli.exe"
cli="$lin/tools/vb420cli"
sim="$lin/tools/sim/vb420sim"
link="$win/wine-radio/com1"
mkdir -p "$(dirname "$link")"
work=$(mktemp -d)
sims=()
dev=
cleanup() {
  for p in "${sims[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# Every backup the runs make goes to the scratch folder.
export XDG_DATA_HOME="$work/xdg" LOCALAPPDATA='Z:'"${work//\//\\}"'\local'

# A radio on the fixed link; `dev` is its device. $1: the file its memory is
# saved into when it stops, then its own options.
start_radio() {
  local save=$1
  shift
  rm -f "$link"
  "$sim" --link "$link" --save "$save" "$@" >"$work/sim.out" 2>"$work/sim.err" &
  sims+=($!)
  for _ in $(seq 100); do
    [ -s "$work/sim.out" ] && [ -e "$link" ] && break
    sleep 0.05
  done
  dev=$(head -1 "$work/sim.out")
}
stop_radio() {
  local pid=${sims[-1]}
  kill -TERM "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  unset 'sims[-1]'
}
same() {  # $1 $2: files that must be byte-identical; $3: what they are
  if [ ! -s "$1" ] || [ ! -s "$2" ]; then fail "$3: a file is missing or empty ($1, $2)"
  elif ! cmp -s "$1" "$2"; then fail "$3 differ: $(cmp "$1" "$2" | head -1)"
  else echo "ok: $3 are byte-identical ($(stat -c %s "$1") bytes)"; fi
}
differ() {  # $1 $2: files that must not be the same (the write changed the radio)
  cmp -s "$1" "$2" && fail "$3"
}
winpath() { echo "Z:${1//\//\\}"; }

# The radio's programming: a UHF VT-2600 with channels and names whose bytes
# hold line ends (0x0A, 0x0D) as the file must keep them.
"$cli" new --model VT-2600 --band 450-520 -o "$work/radio.dat" >/dev/null || fail "new"
"$cli" settings "$work/radio.dat" zone.1.ch.1.rxf=451.0125 zone.1.ch.1.name=YARD zone.1.ch.2.rxf=462.5625 \
  zone.1.ch.2.name=DEPOT >/dev/null || fail "settings"
grep -q $'\n' <(head -c 53568 "$work/radio.dat") || fail "the programming holds no LF byte to test with"

# Read: the same radio read by both programs.
start_radio "$work/after-reads.dat" --image "$work/radio.dat"
"$wine" "$exe" read --port COM1 -o "$(winpath "$work/win-read.dat")" >"$work/win-read.log" 2>&1 ||
  { fail "vb420cli.exe read: $(cat "$work/win-read.log")"; }
"$cli" read --port "$dev" -o "$work/linux-read.dat" >"$work/linux-read.log" 2>&1 ||
  fail "vb420cli read: $(cat "$work/linux-read.log")"
stop_radio
same "$work/win-read.dat" "$work/linux-read.dat" "files read through Windows and Linux"

# Write: the file read, changed, written into a fresh radio by each program.
"$cli" settings "$work/linux-read.dat" zone.1.ch.3.rxf=453.1000 zone.1.ch.3.name=WINE >/dev/null || fail "settings"
start_radio "$work/win-radio.dat" --model VT-2600 --band 450-520
"$wine" "$exe" write "$(winpath "$work/linux-read.dat")" --port COM1 --yes --no-adjust-time \
  >"$work/win-write.log" 2>&1 || fail "vb420cli.exe write: $(cat "$work/win-write.log")"
stop_radio
start_radio "$work/linux-radio.dat" --model VT-2600 --band 450-520
"$cli" write "$work/linux-read.dat" --port "$dev" --yes --no-adjust-time >"$work/linux-write.log" 2>&1 ||
  fail "vb420cli write: $(cat "$work/linux-write.log")"
stop_radio
same "$work/win-radio.dat" "$work/linux-radio.dat" "radio memories written through Windows and Linux"
differ "$work/win-radio.dat" "$work/after-reads.dat" "the write through Windows left the radio as it was"

# The settings listing follows the registration, not the link order: the
# same lines in the same order from both programs.
"$wine" "$exe" settings "$(winpath "$work/linux-read.dat")" >"$work/win-settings.txt" 2>&1 || fail "vb420cli.exe settings"
"$cli" settings "$work/linux-read.dat" >"$work/linux-settings.txt" 2>&1 || fail "vb420cli settings"
same "$work/win-settings.txt" "$work/linux-settings.txt" "settings listings of Windows and Linux"

# The zip: the program with its language file and help beside it.
if cpack --config "$win/CPackConfig.cmake" -G ZIP -B "$work/zip" >"$work/cpack.log" 2>&1; then
  zip=$(ls "$work"/zip/*.zip 2>/dev/null | head -1)
  list=$(unzip -Z1 "$zip")
  for f in vb420cli.exe vb420.lng help/en/index.html help/sp/index.html LICENSE.txt; do
    grep -q "/$f\$" <<<"$list" || fail "$f is not in the zip"
  done
  unzip -q "$zip" -d "$work/unzipped"
  folder=$(dirname "$(find "$work/unzipped" -name vb420cli.exe | head -1)")
  # A Spanish message comes from the language file beside the program.
  none=$(winpath "$work/none.dat")
  out=$(VB420_LANGUAGE=Spanish "$wine" "$folder/vb420cli.exe" check "$none" 2>&1)
  expected=$(VB420_LANGUAGE=Spanish "$cli" check "$work/none.dat" 2>&1)
  [ "${out//"$none"/F}" = "${expected//"$work/none.dat"/F}" ] ||
    fail "the unpacked program says \"$out\", the Linux one \"$expected\""
else
  fail "cpack -G ZIP: $(cat "$work/cpack.log")"
fi

[ "$failures" -eq 0 ] && echo "wine_radio_test: all passed"
exit $((failures > 0))
