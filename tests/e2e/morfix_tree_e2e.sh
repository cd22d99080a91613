#!/bin/bash
# The converter's folder trees as a user clicks them: the folder listed and
# converted is always the one the tree shows selected, also when a collapse
# moves the selection up to the collapsed folder.
#
# Usage: morfix_tree_e2e.sh <case>   (BIN and E2E_ROOT as for e2e-lib.sh)
source "$(dirname "$0")/e2e-lib.sh"

scenario=$1
source "$(dirname "$0")/morfix-lib.sh"

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
*)
  fail "unknown case $scenario"
  ;;
esac
echo "PASS: $scenario"
