#!/bin/bash
# The converter's folder trees as a user clicks them: the folder listed and
# converted is always the one the tree shows selected, also when a collapse
# moves the selection up to the collapsed folder.
#
# Usage: morfix_tree_e2e.sh <case>   (BIN and E2E_ROOT as for e2e-lib.sh)
source "$(dirname "$0")/e2e-lib.sh"

scenario=$1
source "$(dirname "$0")/morfix-lib.sh"

# The reachable entries right in a fixture folder ($1 under the data folder,
# $2 its Windows path), as ansi_paths.py gives them, and the converter's
# texts (in the prefix's ANSI code page) as UTF-8.
reachable() {
  python3 "$(dirname "$0")/ansi_paths.py" "$data/$1" "$2" "$WINEPREFIX" "$3" "$4" | LC_ALL=C sort -f
}
from_ansi() {
  local acp
  acp=$(grep -a '^"ACP"=' "$WINEPREFIX/system.reg" | cut -d'"' -f4)
  if [ "$acp" = 65001 ]; then cat; else iconv -f "CP$acp" -t UTF-8; fi
}

case "$scenario" in
collapse_moves_selection)
  top="$data/Pics v1.2"
  mkdir -p "$top/set one.in" "$data/out"
  photo "BMP3:$top/outer.bmp" 20x14 1 -type truecolor
  photo "BMP3:$top/set one.in/inner.bmp" 22x16 2 -type truecolor
  start_morfix
  kd combo-select "$dlg" 1154 0 >/dev/null
  choose_folders "Pics v1.2\\set one.in" out
  [ "$(kd list-rows "$(item 1152)")" = inner.bmp ] || fail "the inner folder is not listed"
  # A real click on the "-" of the parent: the tree moves the selection to it.
  read -r x y <<<"$(kd tree-button "$(item 1151)" "My Computer\\M:\\Pics v1.2")" || fail "no button"
  kd drag "$x" "$y" "$x" "$y" >/dev/null
  for _ in $(seq 30); do
    [ "$(kd list-rows "$(item 1152)")" = outer.bmp ] && break
    sleep 0.1
  done
  listed=$(kd list-rows "$(item 1152)")
  [ "$listed" = outer.bmp ] || fail "after the collapse the list shows '$listed', not the selected folder's file"
  convert_all 7
  rows | grep -q "^M:\\\\Pics v1.2\\\\outer.bmp"$'\t'".*"$'\tSuccessful$' || fail "converted: $(rows)"
  [ -f "$data/out/outer.png" ] && [ ! -f "$data/out/inner.png" ] || fail "written: $(ls "$data/out")"
  exit_morfix
  ;;
unaddressable_names)
  # Folders and files the ANSI calls cannot reach (no such letters in the
  # code page, or a path past 259 characters) are not listed; every listed
  # file converts.
  long=$(printf 'L%.0s' $(seq 200))
  mkdir -p "$data/in/日本" "$data/in/Ωmega" "$data/in/plain" "$data/long/$long" "$data/out"
  for path in in/a.bmp in/日本.bmp in/café.bmp in/日本/x.bmp in/Ωmega/y.bmp \
              long/$long/$(printf 'b%.0s' $(seq 46)).bmp long/$long/$(printf 'c%.0s' $(seq 47)).bmp; do
    photo "BMP3:$data/$path" 20x14 1 -type truecolor
  done
  start_morfix
  kd combo-select "$dlg" 1154 0 >/dev/null
  in_tree=$(kd tree-items "$(item 1151)" 'My Computer\M:\in' | from_ansi | LC_ALL=C sort -f)
  [ "$in_tree" = "$(reachable in 'M:\in' top '^$')" ] || fail "the tree holds under in: $(echo $in_tree)"
  for folder in in "long\\$long"; do
    choose_folders "$folder" out
    listed=$(kd list-rows "$(item 1152)" | from_ansi | LC_ALL=C sort -f)
    [ "$listed" = "$(reachable "${folder//\\//}" "M:\\$folder" top '\.bmp$' | grep '\.bmp$')" ] ||
      fail "listed in $folder: $(echo $listed)"
    convert_all 7
    ! rows | grep -q $'\tFailed$' || fail "a listed file did not convert: $(rows | grep Failed | from_ansi)"
    [ "$(rows | grep -c $'\tSuccessful$')" = "$(echo "$listed" | grep -c .)" ] || fail "converted: $(rows | from_ansi)"
  done
  exit_morfix
  ;;
*)
  fail "unknown case $scenario"
  ;;
esac
echo "PASS: $scenario"
