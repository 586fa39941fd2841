#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine through ctest
# (inside a virtual X display, since many tests open real windows).
# Extra arguments go to ctest, e.g. scripts/test.sh -R data_.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PEXO_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all,err+module
status=0
if [ -n "${DISPLAY:-}" ]; then
  (cd "$build" && ctest --output-on-failure -j"${PEXO_JOBS:-$(nproc)}" "$@") || status=$?
else
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash -c 'cd "$0" && ctest --output-on-failure -j"${PEXO_JOBS:-$(nproc)}" "$@"' "$build" "$@" || status=$?
fi
wineserver -k >/dev/null 2>&1 || true
exit $status
