#!/usr/bin/env bash
# Fails when a lower layer includes a higher one: the framework (ui/) never
# includes launcher headers (app/, data/), its core never includes the stock
# controls, and search_client/ stands alone. Also fails when a stock control
# sits in ui/core (only the scroll bar, which the scrollable box builds, lives
# there) or a control header in ui/controls has no source beside it.
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
check ui/base 'ui/(core|controls)'
check ui/render 'ui/(core|controls)'
check ui/core 'ui/controls'
check search_client 'app|data|ui'
check data 'app'
# Stock controls by file name; the core keeps only the seams it creates them through.
stray=$(ls ui/core 2>/dev/null | grep -E '^(label|button|check_box|option|list_box|list_container_element|list_item|progress|slider|combo|tree_node|tree_view|child_box|rich_edit|menu)[._]')
if [ -n "$stray" ]; then echo "stock controls in ui/core:" $stray; bad=1; fi
for header in ui/controls/*.h; do
  [ -e "$header" ] || continue
  if [ ! -e "${header%.h}.cpp" ]; then echo "no source for $header"; bad=1; fi
done
[ $bad = 0 ] && echo "layering: ok"
exit $bad
