#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine through ctest
# (inside a virtual X display, since many tests open real windows).
# Extra arguments go to ctest, e.g. scripts/test.sh -R data_.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PEXO_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all,err+module
# Start Wine's server and its desktop services on this display once, before the
# tests: test programs that all start together on a cold server race the start
# of those services, and one of them can then hang at its exit.
run_tests='wineserver -p30 && wine cmd.exe /c exit >/dev/null 2>&1; cd "$0" && ctest --output-on-failure -j"${PEXO_JOBS:-$(nproc)}" "$@"'
# The random drive of the real program (label "drive", about ten minutes, run
# alone) is part of every run; PEXO_DRIVE=0 leaves it out of a quick local run.
filter=()
[ "${PEXO_DRIVE:-1}" = 0 ] && filter=(-LE drive)
status=0
if [ -n "${DISPLAY:-}" ]; then
  bash -c "$run_tests" "$build" "${filter[@]}" "$@" || status=$?
else
  # -noreset: by default the X server resets whenever its last client leaves, and
  # a program that opens the display during the reset is turned away; Wine then
  # goes on without a display driver and no window of it can be made. Between
  # test programs the display is often left without a client for a moment.
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash -c "$run_tests" "$build" "${filter[@]}" "$@" || status=$?
fi
wineserver -k >/dev/null 2>&1 || true
exit $status
