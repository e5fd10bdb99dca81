#!/usr/bin/env bash
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
[ $failures -eq 0 ] || exit 1
echo "package test passed: $(basename "$deb")"
