# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by run.sh and test.sh: install what is missing, configure, build.
# Sourced, not run.
set -euo pipefail

VB420_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
VB420_BUILD="${VB420_BUILD:-$VB420_ROOT/build}"

vb420_packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-multimedia-dev qt6-translations-l10n
  libgl-dev xvfb xauth
  clang
  poppler-utils
  lintian
  fonts-dejavu-core
)

vb420_install_missing() {
  local missing=()
  for p in "${vb420_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

vb420_build() {
  # -g1: functions and line tables, enough for a backtrace, without the
  # variable descriptions (measured: a quarter of the compile time, and most
  # of the link time).
  cmake -S "$VB420_ROOT" -B "$VB420_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" "$@"
  cmake --build "$VB420_BUILD" -j "$(nproc)"
}

# The second build: AddressSanitizer and UndefinedBehaviorSanitizer over the
# core and end-to-end tests (no GUI), with the libFuzzer harnesses when the
# compiler is clang. Its own folder, so the ordinary build is never touched.
VB420_SAN_BUILD="${VB420_SAN_BUILD:-$VB420_ROOT/build-san}"
vb420_sanitizer_build() {
  # -O1 with line tables only: what the sanitizers need for their reports,
  # at a fraction of the compile and link time of full debug information.
  local cxx=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG")
  if command -v clang++ >/dev/null 2>&1; then
    cxx=(-DCMAKE_CXX_COMPILER=clang++ -DVB420_FUZZ=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG")
  fi
  cmake -S "$VB420_ROOT" -B "$VB420_SAN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVB420_GUI=OFF -DVB420_BENCH=OFF -DVB420_SANITIZE=address,undefined "${cxx[@]}"
  cmake --build "$VB420_SAN_BUILD" -j "$(nproc)"
}

# The third build: the core, vb420cli and the core and end-to-end tests
# cross-compiled for Windows with mingw-w64, run under Wine, and vb420cli.exe
# against the simulated radio (tests/windows/wine_radio_test.sh, which needs
# the ordinary build's vb420sim and vb420cli). Its own folder and its own Wine
# prefix inside it; VB420_SKIP_WINDOWS=1 leaves the stage out of test.sh.
VB420_WIN_BUILD="${VB420_WIN_BUILD:-$VB420_ROOT/build-win}"
vb420_windows_packages=(g++-mingw-w64-x86-64-posix wine wine64 unzip)
vb420_windows_stage() {
  vb420_packages=("${vb420_windows_packages[@]}")
  vb420_install_missing
  # No debug information: nothing debugs these programs here, and it halves
  # the cross build's link time.
  cmake -S "$VB420_ROOT" -B "$VB420_WIN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$VB420_ROOT/cmake/MinGW64.cmake" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG"
  cmake --build "$VB420_WIN_BUILD" -j "$(nproc)"
  export WINEPREFIX="$VB420_WIN_BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  [ -f "$WINEPREFIX/system.reg" ] || wine wineboot -i >/dev/null 2>&1
  # COM1 is the link the radio test points at its simulated radio; Wine
  # reads the port map when its server starts, so the server is restarted.
  mkdir -p "$VB420_WIN_BUILD/wine-radio"
  wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$VB420_WIN_BUILD/wine-radio/com1" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  # Each test program starts Wine once: two at a time keeps both cores busy.
  (cd "$VB420_WIN_BUILD" && ctest --output-on-failure --timeout 600 -j "$(nproc)")
  "$VB420_ROOT/tests/windows/wine_radio_test.sh" "$VB420_WIN_BUILD" "$VB420_BUILD"
  wineserver -k >/dev/null 2>&1 || true
}
