#!/usr/bin/env bash
# Fails when a lower layer includes a higher one: the framework (ui/) never
# includes launcher headers (app/, data/), and search_client/ stands alone.
set -u
root=${1:-.}
cd "$root" || exit 2
bad=0
check() {  # check DIR FORBIDDEN-REGEX
  local hits
  hits=$(grep -rn -E "#include[[:space:]]+\"($2)/" "$1" 2>/dev/null)
  if [ -n "$hits" ]; then echo "$hits"; bad=1; fi
}
check ui 'app|data|search_client'
check search_client 'app|data|ui'
check data 'app'
[ $bad = 0 ] && echo "layering: ok"
exit $bad
