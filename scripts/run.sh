#!/usr/bin/env bash
# Installs what is missing, builds, and starts Pexo.exe under Wine (inside a
# virtual X display when there is none). PEXO_RUN_SECONDS limits how long it runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PEXO_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh" Pexo
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all,err+module
limit=${PEXO_RUN_SECONDS:-600}
status=0
if [ -n "${DISPLAY:-}" ]; then
  timeout "$limit" wine "$build/app/Pexo.exe" main || status=$?
else
  timeout "$limit" xvfb-run -a -s "-screen 0 1280x1024x24" wine "$build/app/Pexo.exe" main || status=$?
fi
wineserver -k >/dev/null 2>&1 || true
[ $status = 124 ] && echo "Pexo ran for ${limit}s and was stopped." && status=0
exit $status
