#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and checks what it holds and what it needs.
#   package_test.sh BUILD_DIR
set -uo pipefail
build=${1:?build folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! command -v dpkg-deb >/dev/null; then
  echo "dpkg-deb is not installed: no Debian package to check"
  exit 0
fi
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: cpack made no .deb" >&2; cat "$work/cpack.log"; exit 1; }
failures=0
list=$(dpkg-deb -c "$deb")
for f in ./usr/bin/vb420cli ./usr/bin/vb420sim ./usr/share/vb420/vb420.lng ./usr/share/vb420/help/en/index.html \
         ./usr/share/vb420/help/sp/index.html; do
  grep -q " $f\$" <<<"$list" || { echo "FAIL: $f not in the package" >&2; failures=$((failures + 1)); }
done
if [ -f "$build/src/app/vb420" ]; then
  for f in ./usr/bin/vb420 ./usr/share/applications/vb420.desktop ./usr/share/icons/hicolor/scalable/apps/vb420.svg; do
    grep -q " $f\$" <<<"$list" || { echo "FAIL: $f not in the package" >&2; failures=$((failures + 1)); }
  done
  dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" ||
    { echo "FAIL: the package does not depend on Qt's widgets library" >&2; failures=$((failures + 1)); }
fi
[ "$(dpkg-deb -f "$deb" Package)" = vb420 ] || { echo "FAIL: package name" >&2; failures=$((failures + 1)); }
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# What a distribution asks of a package: the licence, the changelog, the
# manual pages (compressed), the completion, a maintainer who can be written to.
for f in ./usr/share/doc/vb420/copyright ./usr/share/doc/vb420/changelog.Debian.gz ./usr/share/man/man1/vb420cli.1.gz \
         ./usr/share/man/man1/vb420sim.1.gz ./usr/share/bash-completion/completions/vb420cli; do
  grep -q " $f\$" <<<"$list" || fail "$f not in the package"
done
if [ -f "$build/src/app/vb420" ]; then
  grep -q " ./usr/share/man/man1/vb420.1.gz\$" <<<"$list" || fail "no manual page of vb420"
fi
maintainer=$(sed -n 's/^VB420_MAINTAINER:STRING=//p' "$build/CMakeCache.txt")
[ -n "$maintainer" ] && [ "$(dpkg-deb -f "$deb" Maintainer)" = "$maintainer" ] ||
  fail "the Maintainer field is not VB420_MAINTAINER ($maintainer)"
grep -q "localhost" <<<"$(dpkg-deb -f "$deb" Maintainer)" && fail "the maintainer's address is on localhost"
[ "$(dpkg-deb -f "$deb" Recommends)" = "qt6-translations-l10n" ] || fail "Recommends is not qt6-translations-l10n"
mkdir -p "$work/x" && dpkg-deb -x "$deb" "$work/x"
head -1 "$work/x/usr/share/doc/vb420/copyright" | grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
  fail "the copyright file is not in the machine-readable format"
grep -q "^License: GPL-3+" "$work/x/usr/share/doc/vb420/copyright" || fail "the copyright file names no GPL-3+"
# The manual of the tool names every verb its help lists.
manual=$(zcat "$work/x/usr/share/man/man1/vb420cli.1.gz")
for verb in $("$build/tools/vb420cli" --help | awk '/^verbs:/ { on = 1; next } on && /^$/ { exit } on && /^  [^ ]/ { print $1 }'); do
  # (roff writes a hyphen as "\-")
  grep -qxF ".SS ${verb//-/\\-}" <<<"$manual" || fail "the manual page of vb420cli has no section for $verb"
done

# lintian, when it is installed (the scripts install it), finds nothing to
# warn about: any error or warning fails the test.
if command -v lintian >/dev/null; then
  lintian --allow-root "$deb" >"$work/lintian.log" 2>&1
  if grep -E '^[EW]: ' "$work/lintian.log" >&2; then
    fail "lintian reports errors or warnings"
  fi
else
  echo "lintian is not installed: the package was not checked by it"
fi
[ $failures -eq 0 ] || exit 1
echo "package test passed: $(basename "$deb")"
