#!/usr/bin/env bash
# Configures and builds everything into build/ (or $PEXO_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PEXO_BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DTHIRD_PARTY_DIR="${PEXO_THIRD_PARTY_DIR:-$root/third_party}" \
    -DPEXO_WINEPREFIX="$build/wineprefix" >/dev/null
fi
cmake --build "$build" -- -j"${PEXO_JOBS:-$(nproc)}" "$@"
# A Wine prefix of our own, with CJK fonts and no crash dialog.
[ -d "$build/wineprefix/drive_c/windows/system32" ] || bash "$root/scripts/wine-prefix.sh" "$build/wineprefix"
