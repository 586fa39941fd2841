#!/usr/bin/env bash
# Installs what building and testing Pexo needs on Debian 12 (as root), then
# fetches the third-party sources into third_party/. A second run skips what is there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive

need=()
for cmd in x86_64-w64-mingw32-g++-posix cmake ninja wine xvfb-run ccache zip npm; do
  command -v "$cmd" >/dev/null 2>&1 || need+=("$cmd")
done
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ -f /usr/x86_64-w64-mingw32/lib/libz.a ] || need+=(zlib)
[ -f /usr/share/fonts/truetype/wqy/wqy-microhei.ttc ] || need+=(fonts)

if [ ${#need[@]} -gt 0 ] || [ ! -f "$root/third_party/VERSIONS.txt" ]; then
  echo "[setup] installing: ${need[*]:-third-party sources}" >&2
  # fetch-deps installs the cross compiler, Wine, Xvfb, fonts and GoogleTest, then
  # lays out SQLite, minizip, libwebp and nanosvg sources.
  bash "$root/scripts/fetch-deps.sh" "$root/third_party"
  command -v ccache >/dev/null 2>&1 || apt-get install -y -qq --no-install-recommends ccache >/dev/null
fi
