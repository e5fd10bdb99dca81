#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix, moves the prefix elsewhere, and
# runs the programs from there: they must find their language file and help
# beside themselves (../share/vb420) or in the XDG data folders, never in the
# source tree they were built from.
#   install_test.sh BUILD_DIR
set -uo pipefail
build=${1:?build folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Nothing of the user's own environment may help the programs find anything.
export HOME="$work/home" XDG_DATA_HOME="$work/xdg-home" XDG_DATA_DIRS="$work/xdg-none"
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen
unset VB420_LANGUAGE
mkdir -p "$HOME"

cmake --install "$build" --prefix "$work/first" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
mv "$work/first" "$work/moved"
p="$work/moved"

expected="bin/vb420cli bin/vb420sim share/vb420/vb420.lng share/vb420/help/en/index.html
          share/vb420/help/sp/index.html share/doc/vb420/README.md share/doc/vb420/LICENSE
          share/man/man1/vb420cli.1.gz share/man/man1/vb420sim.1.gz share/bash-completion/completions/vb420cli"
# The desktop program and its menu entry only when it was built (VB420_GUI).
if [ -x "$build/src/app/vb420" ]; then
  expected="$expected bin/vb420 share/applications/vb420.desktop share/icons/hicolor/scalable/apps/vb420.svg
            share/man/man1/vb420.1.gz"
fi
for f in $expected; do
  [ -e "$p/$f" ] || fail "not installed: $f"
done
[ -x "$p/bin/vb420cli" ] || { echo "FAIL: no vb420cli, nothing more to try" >&2; exit 1; }
if ! diff <(cd "$p/share/vb420/help/en" && ls) <(cd "$p/share/vb420/help/sp" && ls) >/dev/null; then
  fail "the English and Spanish help hold different pages"
fi
if [ -e "$p/share/applications/vb420.desktop" ]; then
  grep -q '^Exec=vb420$' "$p/share/applications/vb420.desktop" || fail "the desktop entry does not start vb420"
  grep -q '^Icon=vb420$' "$p/share/applications/vb420.desktop" || fail "the desktop entry names no vb420 icon"
fi

cd "$work"
# The command-line tool, from the moved prefix.
"$p/bin/vb420cli" new -o radio.dat --model VT-2600 --band 450-520 || fail "vb420cli new"
out=$("$p/bin/vb420cli" info radio.dat) || fail "vb420cli info"
grep -q "VT-2600" <<<"$out" || fail "info does not name the model: $out"
grep -q "450" <<<"$out" || fail "info does not name the band: $out"
[ "$(stat -c %s radio.dat)" = 53568 ] || fail "the new data file is not 53568 bytes"
# Texts come from the installed language file, in both languages.
# (The off value is text entry 362: identifier 10029001, English then Spanish.)
off_en=$(grep -a '^^#10029001,' "$p/share/vb420/vb420.lng" | cut -d, -f2 | tr -d '\r')
off_es=$(grep -a '^^#10029001,' "$p/share/vb420/vb420.lng" | cut -d, -f3 | tr -d '\r')
[ -n "$off_en" ] && [ -n "$off_es" ] && [ "$off_en" != "$off_es" ] || fail "no off value in the language file"
out=$(VB420_LANGUAGE=Spanish "$p/bin/vb420cli" codec tone D023) || fail "codec tone in Spanish"
[ "$out" = "word=0x2813 text=D023N" ] || fail "tone D023: $out"
out=$(VB420_LANGUAGE=Spanish "$p/bin/vb420cli" codec tone "$off_es") || fail "codec tone in Spanish"
[ "$out" = "word=0xFFFF text=$off_es" ] || fail "Spanish off value: $out"
out=$("$p/bin/vb420cli" codec tone "$off_en") || fail "codec tone in English"
[ "$out" = "word=0xFFFF text=$off_en" ] || fail "English off value: $out"
# The English word is no off value in Spanish: the Spanish column was read.
out=$(VB420_LANGUAGE=Spanish "$p/bin/vb420cli" codec tone "$off_en") || fail "codec tone in Spanish"
[ "${out%% *}" != "word=0xFFFF" ] || fail "the Spanish texts were not loaded: $out"
# (read whole first: grep -q would stop reading at its first match)
help=$("$p/bin/vb420cli" --help) && grep -q "info" <<<"$help" || fail "vb420cli --help lists no verbs"

# Without the installed share folder nothing is found: the source tree the
# programs were built from is not a fallback for an installed copy.
mv "$p/share/vb420" "$work/vb420-data"
if err=$("$p/bin/vb420cli" codec tone Off 2>&1); then
  fail "the language file was found without the installed share folder: $err"
fi
grep -q "Can't read language file" <<<"$err" || fail "missing language file not reported: $err"
# ... and the XDG data folders are searched.
mkdir -p "$work/xdg-dirs"
mv "$work/vb420-data" "$work/xdg-dirs/vb420"
out=$(XDG_DATA_DIRS="$work/nothing:$work/xdg-dirs" "$p/bin/vb420cli" codec tone Off) || fail "XDG_DATA_DIRS not searched"
out=$(XDG_DATA_HOME="$work/xdg-dirs" "$p/bin/vb420cli" codec tone Off) || fail "XDG_DATA_HOME not searched"
mv "$work/xdg-dirs/vb420" "$p/share/vb420"

# The desktop program starts from the moved prefix (offscreen) and ends
# normally once its main window is up; a missing language file would stop it
# at its error message instead.
if [ -x "$p/bin/vb420" ]; then
  err=$(VB420_STARTUP_PROBE=1 timeout 120 "$p/bin/vb420" 2>&1)
  rc=$?
  [ $rc = 0 ] || fail "vb420 did not start from the moved prefix (exit $rc): $err"
  grep -q "main window shown" <<<"$err" || fail "vb420 start-up not reported: $err"
fi

# The alert-tone test's audio output is a module the program loads when
# needed, never a library it starts with; it is found beside the program in
# the build tree and in the package's library folder once installed.
if [ -e "$build/src/app/vb420audio.so" ]; then
  compgen -G "$p/lib*/vb420/modules/vb420audio.so" >/dev/null || compgen -G "$p/lib/*/vb420/modules/vb420audio.so" >/dev/null ||
    fail "the audio module is not installed"
  ! ldd "$p/bin/vb420" | grep -q libQt6Multimedia || fail "vb420 is linked with Qt Multimedia at start"
  for prog in "$p/bin/vb420" "$build/src/app/vb420"; do
    err=$(VB420_STARTUP_PROBE=audio timeout 120 "$prog" 2>&1)
    grep -q "audio module loaded" <<<"$err" || fail "$prog does not find its audio module: $err"
  done
fi

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install test passed"
