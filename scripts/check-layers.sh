#!/usr/bin/env bash
# Fails when a lower layer includes a higher one: the framework (ui/) never
# includes launcher headers (app/, data/), its core never includes the stock
# controls, search_client/ stands alone, and the launcher's folders under app/
# keep their order (app_folder_deps below). Also fails when a stock control
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
# The launcher's folders, bottom-up: each includes its own headers and those of
# the folders named for it (the same as the libraries it links), so the dialogs,
# the controls and the search window never reach into the main window, and
# nothing under app/ but the entry includes the entry.
app_folder_deps() {
  case $1 in
    desktop) echo "" ;;
    launching) echo "" ;;
    hot_keys) echo "" ;;
    new_links) echo "" ;;
    controls) echo "hot_keys" ;;
    dialogs) echo "desktop launching hot_keys controls" ;;
    search_window) echo "desktop launching controls" ;;
    main_window) echo "desktop launching hot_keys new_links controls dialogs search_window" ;;
    entry) echo "desktop launching hot_keys new_links controls dialogs search_window main_window" ;;
    *) return 1 ;;
  esac
}
for dir in app/*/; do
  [ -d "$dir" ] || continue
  folder=$(basename "$dir")
  if ! allowed=$(app_folder_deps "$folder"); then
    echo "app/$folder: a folder the layering does not know"; bad=1; continue
  fi
  ok="$folder${allowed:+|${allowed// /|}}"
  hits=$(grep -rn -E '#include[[:space:]]+"app/' "$dir" | grep -v -E "#include[[:space:]]+\"app/($ok)/")
  if [ -n "$hits" ]; then echo "$hits"; bad=1; fi
done
stray=$(find app -maxdepth 1 -type f ! -name CMakeLists.txt 2>/dev/null)
if [ -n "$stray" ]; then echo "files outside the app/ folders:" $stray; bad=1; fi
check app 'tests'
# tests/app mirrors app/, with the whole program's tests and the helpers apart.
for dir in tests/app/*/; do
  [ -d "$dir" ] || continue
  case " desktop launching hot_keys new_links controls dialogs search_window main_window entry end_to_end support " in
    *" $(basename "$dir") "*) ;;
    *) echo "tests/app/$(basename "$dir"): not a folder of app/, end_to_end or support"; bad=1 ;;
  esac
done
stray=$(find tests/app -maxdepth 1 -type f ! -name CMakeLists.txt 2>/dev/null)
if [ -n "$stray" ]; then echo "files outside the tests/app/ folders:" $stray; bad=1; fi
[ $bad = 0 ] && echo "layering: ok"
exit $bad
