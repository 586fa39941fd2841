#!/usr/bin/env bash
# wine-test.sh WINE EXE [ARGS...] — runs one GoogleTest program under Wine for ctest.
#
# Two Wine traits make a bare "wine test.exe" unreliable on a loaded machine:
#  - a process sometimes never leaves Wine's exit path after the program has
#    finished (every case run, the summary printed); it then sits there until
#    ctest's time limit and the run fails although every case passed;
#  - rarely, a window test stalls inside Wine before it finishes.
# So this runner watches the program's own output. Once GoogleTest's closing
# summary is there, the process gets a grace period to exit; after it the
# process is ended and the summary decides the result. A run that stalls
# before its summary is ended after PEXO_TEST_ATTEMPT_SECONDS and run once
# more; a second stall fails the test. A program that ends without its summary
# (a crash can leave Wine's exit code 0) fails. Failures are never run again,
# with one exception: a process that Wine ended before any of the program's own
# code ran (tests/support/program_start.cpp leaves a file to show it did) is a
# failed start, not a result, and it is started once more with all of Wine's
# error messages on.
set -u
wine=$1; shift
attempt_limit=${PEXO_TEST_ATTEMPT_SECONDS:-270}
exit_grace=${PEXO_TEST_EXIT_GRACE_SECONDS:-20}
log=$(mktemp)
started=$(mktemp)
trap 'rm -f "$log" "$started"' EXIT
# Z: is / in every prefix wine-prefix.sh makes.
export PEXO_TEST_STARTED_FILE="Z:${started//\//\\}"
# Wine ends a process on its own in a few places and says why only on an error
# channel that "-all" turns off: x11drv when a thread cannot open the display
# (exit code 1), ntdll when it cannot map the shared user data (exit code 1), an
# unhandled exception (its code as exit code). Without them such a run leaves
# nothing to go on.
export WINEDEBUG=${WINEDEBUG:--all},err+winediag,err+seh,err+virtual

summary_seen() { grep -qE '^\[==========\] [0-9]+ tests? from [0-9]+ test suites? ran\.' "$log"; }
summary_passed() {
  grep -qE '^\[  PASSED  \] [0-9]+ test' "$log" && ! grep -qE '^\[  FAILED  \] [0-9]+ test' "$log"
}
end_process() {
  kill -TERM "$1" 2>/dev/null
  for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$1" 2>/dev/null || return 0; sleep 0.2; done
  kill -KILL "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

# run_once: 0/1 = the program's result, 124 = stalled before its summary,
# 125 = Wine ended the process before the program's own code ran.
run_once() {
  : >"$log"
  rm -f "$started"
  "$wine" "$@" >"$log" 2>&1 &
  local pid=$! waited=0 summary_at=-1
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$summary_at" -lt 0 ] && summary_seen; then summary_at=$waited; fi
    if [ "$summary_at" -ge 0 ] && [ $((waited - summary_at)) -ge $((exit_grace * 2)) ]; then
      end_process "$pid"
      cat "$log"
      echo "wine-test: the program printed its summary but did not exit within ${exit_grace} s; ended it" >&2
      summary_passed && return 0 || return 1
    fi
    if [ "$waited" -ge $((attempt_limit * 2)) ]; then
      end_process "$pid"
      cat "$log"
      echo "wine-test: no result after ${attempt_limit} s; ended it" >&2
      return 124
    fi
    sleep 0.5
    waited=$((waited + 1))
  done
  wait "$pid"
  local status=$?
  cat "$log"
  # A program that crashed, or ended itself in the middle of a case, can leave
  # Wine with exit code 0: only a closing summary makes a run count.
  if ! summary_seen; then
    if [ ! -e "$started" ] && [ ! -s "$log" ]; then
      echo "wine-test: Wine ended the process (exit code $status) before the program's own code ran" >&2
      return 125
    fi
    echo "wine-test: the program ended (exit code $status) without GoogleTest's summary, after the lines above" >&2
    return 1
  fi
  if [ $status -eq 0 ] && ! summary_passed; then return 1; fi
  return $status
}

run_once "$@"
status=$?
if [ $status -eq 124 ]; then
  echo "wine-test: running it once more" >&2
  run_once "$@"
  status=$?
elif [ $status -eq 125 ]; then
  # Nothing of the test ran, so this is no result to hide; should Wine fail the
  # start again, its own messages say why.
  echo "wine-test: starting it once more, with Wine's error messages on" >&2
  export WINEDEBUG=${WINEDEBUG:+$WINEDEBUG,}err+all
  run_once "$@"
  status=$?
fi
[ $status -eq 125 ] && status=1
exit $status
