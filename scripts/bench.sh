#!/usr/bin/env bash
# Builds the benchmark programs and runs each under Wine, printing their timings.
# Give names to run only some: scripts/bench.sh link_store_bench markup_parse_bench
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PEXO_BUILD_DIR:-$root/build}
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in "$root"/bench/*_bench.cpp; do names+=("$(basename "$f" .cpp)"); done
fi
bash "$root/scripts/build.sh" "${names[@]}"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all,err+module
work=$(mktemp -d)
trap 'rm -rf "$work"; wineserver -k >/dev/null 2>&1 || true' EXIT
for n in "${names[@]}"; do
  echo "== $n"
  (cd "$work" && timeout 900 xvfb-run -a wine "$build/bench/$n.exe")
done
