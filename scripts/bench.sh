#!/usr/bin/env bash
# Builds the benchmark programs, runs each under Wine and prints one table of what
# they measured. Give names to run only some: scripts/bench.sh link_store_bench
# Benchmarks are not tests: they assert nothing about time and are not in ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PEXO_BUILD_DIR:-$root/build}
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in "$root"/bench/*_bench.cpp; do names+=("$(basename "$f" .cpp)"); done
fi
bash "$root/scripts/build.sh" "${names[@]}" >/dev/null
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
work=$(mktemp -d)
# The prefix's wine server is left to end by itself: tests may be using it.
trap 'rm -rf "$work"' EXIT

# What each benchmark measures, in the order the table shows them; a name whose
# program does not exist yet is listed as such.
declare -A what=(
  [startup_bench]="start-up, working set beside the baseline, tag switch; 10 000 links, first tag of 500 and of 5 000 cards"
  [search_typing_bench]="keystroke to search results"
  [long_text_start_bench]="window answering at start with one very long stored text; WM_CLOSE to exit"
  [rich_edit_typing_bench]="typing into the rich edit"
  [link_store_bench]="link store load and search, 10 000 links"
  [run_count_bench]="run-count saves, 10 000 links"
  [icon_cache_bench]="icon cache load, 10 000 icons"
  [image_cache_bench]="image cache, PNG and SVG icons"
  [markup_parse_bench]="skin markup parse"
)
order=(startup_bench search_typing_bench long_text_start_bench rich_edit_typing_bench link_store_bench run_count_bench
       icon_cache_bench image_cache_bench markup_parse_bench)
for n in "${names[@]}"; do
  [[ " ${order[*]} " == *" $n "* ]] || order+=("$n")
done

rows=()
for n in "${order[@]}"; do
  wanted=0
  for m in "${names[@]}"; do [ "$m" = "$n" ] && wanted=1; done
  label=${what[$n]:-$n}
  if [ $wanted -eq 0 ] || [ ! -f "$root/bench/$n.cpp" ]; then
    [ $# -eq 0 ] && rows+=("$label|(no benchmark yet)")
    continue
  fi
  echo "running $n ..." >&2
  if out=$(cd "$work" && timeout 900 xvfb-run -a wine "$build/bench/$n.exe" 2>/dev/null | tr -d '\r'); then
    status=""
  else
    status=" [exit $?]"
  fi
  first=1
  while IFS= read -r line; do
    [[ "$line" =~ ^0[A-Za-z] ]] && line=${line#0}  # a stray status digit printed before a line
    # The icon cache's trace of every icon it adds and the theme's trace of every
    # load are not measurements.
    [[ -z "$line" || "$line" =~ ^Add[A-Za-z]+To(Cache|Cahce)( |$) || "$line" =~ ^LoadTheme: ]] && continue
    if [ $first -eq 1 ]; then rows+=("$label|$line$status"); first=0; else rows+=("|$line"); fi
  done <<<"$out"
  [ $first -eq 1 ] && rows+=("$label|(no output)$status")
done

width=0
for r in "${rows[@]}"; do l=${r%%|*}; [ ${#l} -gt $width ] && width=${#l}; done
printf "%-${width}s | %s\n" "benchmark" "result"
printf "%s-+-%s\n" "$(printf '%*s' "$width" '' | tr ' ' '-')" "$(printf '%60s' '' | tr ' ' '-')"
for r in "${rows[@]}"; do printf "%-${width}s | %s\n" "${r%%|*}" "${r#*|}"; done
