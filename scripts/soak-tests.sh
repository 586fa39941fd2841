#!/usr/bin/env bash
# soak-tests.sh [-n RUNS] [-k BUSY] [-d DIR] [-- CTEST_ARGS...]
#
# Runs the whole suite RUNS times (default 3) from one fresh clone of HEAD, each
# run in a new Wine prefix as a fresh machine has it, optionally with BUSY
# processes (plain shell loops) competing for the CPUs the whole time. Prints,
# per test program, how many runs failed, and exits 1 when any did.
#
# The clone reuses this checkout's third_party/ when it is there (the sources
# setup.sh would fetch again); DIR (default a new temporary folder) holds the
# clone, its build and every run's ctest log.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=3 busy=0 dir=
while getopts "n:k:d:" opt; do
  case $opt in
    n) runs=$OPTARG ;;
    k) busy=$OPTARG ;;
    d) dir=$OPTARG ;;
    *) echo "usage: $0 [-n RUNS] [-k BUSY] [-d DIR] [-- CTEST_ARGS...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ -n "$dir" ] || dir=$(mktemp -d /tmp/pexo-soak.XXXXXX)
mkdir -p "$dir"

clone=$dir/clone
rm -rf "$clone"
git clone -q --no-local "$root" "$clone" || exit 1
git -C "$clone" checkout -q "$(git -C "$root" rev-parse HEAD)" || exit 1
[ -d "$root/third_party" ] && export PEXO_THIRD_PARTY_DIR=$root/third_party
export PEXO_BUILD_DIR=$clone/build
# The clone's compiles find this checkout's in ccache: paths are taken relative to the build.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-/} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
echo "[soak] $(git -C "$clone" log -1 --format='%h %s'), $runs runs, $busy busy processes, logs in $dir"

busy_pids=()
stop_busy() {
  for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null; done
  busy_pids=()
}
trap stop_busy EXIT
for _ in $(seq 1 "$busy"); do
  (while :; do :; done) &
  busy_pids+=($!)
done

declare -A failed=()
all_tests=
for run in $(seq 1 "$runs"); do
  # A fresh prefix each run: Wine's first start in a prefix is what CI's run meets.
  rm -rf "$PEXO_BUILD_DIR/wineprefix"
  log=$dir/run$run.log
  start=$(date +%s)
  bash "$clone/scripts/test.sh" "$@" >"$log" 2>&1
  status=$?
  seconds=$(( $(date +%s) - start ))
  summary=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)
  echo "[soak] run $run: exit $status in ${seconds} s: ${summary:-no ctest summary}"
  # ctest lists each failed test as "  NN - name (Failed)" after "The following tests FAILED:".
  while read -r name; do
    failed[$name]=$(( ${failed[$name]:-0} + 1 ))
  done < <(sed -n '/The following tests FAILED:/,$p' "$log" | sed -nE 's/^[[:space:]]*[0-9]+ - ([^ ]+) .*/\1/p')
  if [ $status -ne 0 ] && [ -z "$summary" ]; then failed["(the run itself)"]=$(( ${failed["(the run itself)"]:-0} + 1 )); fi
  [ -n "$all_tests" ] || all_tests=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#' "$log")
done
stop_busy

echo
echo "| test program | failed runs (of $runs) |"
echo "|---|---|"
if [ ${#failed[@]} -eq 0 ]; then
  echo "| (none of ${all_tests:-?}) | 0 |"
  exit 0
fi
for name in "${!failed[@]}"; do echo "| $name | ${failed[$name]} |"; done | sort
exit 1
