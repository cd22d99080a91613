#!/bin/bash
# End-to-end cases of the batch converter's output formats: a small mixed set
# converted to each target, every written file known by its own bytes (the
# GIF interlace flag included) and decoded by ImageMagick (see morfix_e2e.sh
# for the fixture drive M: and the dialog steps).
#
# Usage: morfix_targets_e2e.sh <case>   (BIN and E2E_ROOT as for e2e-lib.sh)
source "$(dirname "$0")/e2e-lib.sh"

scenario=$1
source "$(dirname "$0")/morfix-lib.sh"
image_kind() { python3 "$(dirname "${BASH_SOURCE[0]}")/image_kind.py" "$@"; }

# Four sources of 1, 4, 8 and 24 bits, at odd widths so that rows are
# padded, and an output folder for each target (the trees list the folders
# there are at start-up).
make_sources() {
  mkdir -p "$data/in"
  for folder in bmp clp dib gif gif-interlaced jpg pcx png rle tif wpg; do mkdir -p "$data/$folder"; done
  photo "BMP3:$data/in/mono.bmp" 37x23 1 -monochrome -type palette
  photo "BMP3:$data/in/four.bmp" 29x17 2 -colors 16 -type palette
  photo "$data/in/eight.gif" 33x21 3 -colors 200
  photo "PNG24:$data/in/deep.png" 31x19 4
}

# Pixels of $2 more than $3 (a fuzz; 0 for exact) off those of $1. Compare
# exits 1 when the images differ, which is an answer here; anything else is
# a file it could not read, or sizes that differ.
pixels_off() {
  local answer status=0
  answer=$($COMPARE -metric AE -fuzz "$3" "$1" "$2" null: 2>&1) || status=$?
  [ "$status" -le 1 ] || fail "compare could not pair $1 and $2: $answer"
  echo "${answer%% *}"
}

# Root mean square difference of $1 and $2, from 0 to 1.
rms_off() {
  local answer status=0
  answer=$($COMPARE -metric RMSE "$1" "$2" null: 2>&1) || status=$?
  [ "$status" -le 1 ] || fail "compare could not pair $1 and $2: $answer"
  sed 's/.*(\(.*\)).*/\1/' <<<"$answer"
}

# The written file as ImageMagick is to read it: DIB and RLE files are
# bitmap files under other names; a clipboard file's bitmap has been taken
# out into the case's folder.
decodable() {   # $1 file, $2 kind
  case $2 in
    clp) echo "$case_dir/$(basename "$1").bmp" ;;
    dib | rle) echo "BMP:$1" ;;
    *) echo "$1" ;;
  esac
}

# Converts the whole set to output format index $1 into folder $2 (named for
# the target) and checks each result: $3 is the kind of file written, $4 its
# extension, $5 the sources it refuses with the library's message $6. As
# convert_all, with the controls' handles looked up once (each driver call
# is a program start under Wine).
convert_to() {
  local index=$1 folder=$2 kind=$3 ext=$4 refused=$5 reason=$6 listing kinds source name base out decoded off
  kd tree-select "$output_tree" "My Computer\\M:\\$folder" || fail "no folder $folder"
  kd combo-select "$dlg" 1155 "$index" >/dev/null
  kd list-select "$input_list" all || fail "cannot select the input files"
  kd command "$dlg" 1
  listing=$(kd list-rows "$details_list")
  kinds=$(image_kind kind "$data/$folder"/*)
  if [ "$kind" = clp ]; then image_kind clip-bitmap "$case_dir" "$data/$folder"/* || fail "$folder: no bitmap"; fi
  [ "$(grep -c . <<<"$listing")" = 4 ] || { echo "$listing" >&2; fail "$folder: not one row per source"; }
  for source in "$data"/in/*; do
    name=$(basename "$source"); base=${name%.*}; out="$data/$folder/$base.$ext"
    if [[ " $refused " == *" $base "* ]]; then
      grep -q "^Cannot convert to M:\\\\$folder\\\\$base.$ext, $reason"$'\t\tFailed$' <<<"$listing" ||
        { echo "$listing" >&2; fail "$folder: no refusal for $name"; }
      [ ! -e "$out" ] || fail "$folder: refused $name left a file"
      continue
    fi
    grep -q "^M:\\\\in\\\\$name"$'\t'"M:\\\\$folder\\\\$base.$ext"$'\tSuccessful$' <<<"$listing" ||
      { echo "$listing" >&2; fail "$folder: no success row for $name"; }
    grep -qx "$base.$ext $kind" <<<"$kinds" ||
      fail "$folder: $base.$ext was written as $(grep "^$base.$ext " <<<"$kinds" | cut -d' ' -f2), not $kind"
    decoded=$(decodable "$out" "$kind")
    if [ "$kind/$base" = pcx/mono ]; then
      # ImageMagick takes a one-bit PCX file's set bits for black whatever
      # its palette says (the file's palette says white).
      $IM "$source" -negate "$case_dir/mono-as-read.png"
      source="$case_dir/mono-as-read.png"
    fi
    if [ "$kind" = jpg ]; then
      # Lossy at a fixed quality: near, not equal.
      off=$(rms_off "$source" "$decoded")
      echo "$folder: $base.$ext is off by $off"
      awk -v off="$off" 'BEGIN { exit !(off < 0.06) }' || fail "$folder: $base.$ext is too far off"
    else
      off=$(pixels_off "$source" "$decoded" 0)
      [ "$off" = 0 ] || fail "$folder: $base.$ext has $off pixels off"
    fi
  done
  [ -z "$(ls "$data/$folder" | grep -v "\\.$ext\$")" ] ||
    fail "$folder: stray files $(ls "$data/$folder")"
}

GIF_24="GIF format doesn't support 24-bit image. Please use other format."
WPG_24="WPG format doesn't support 24-bit image. Please use other format."
JPG_LOW="1-bit or 4-bit JPG format is not supported. Please use other format."

make_sources
start_morfix
output_tree=$(item 1153); input_list=$(item 1152); details_list=$(item 1003)
kd combo-select "$dlg" 1154 0 >/dev/null
kd tree-select "$(item 1151)" "My Computer\\M:\\in" || fail "cannot select the input folder"
case "$scenario" in
bitmap_files)
  # BMP, DIB and RLE are one writer's bitmap files; the clipboard file holds
  # the same bitmap.
  convert_to 0 bmp bmp bmp "" ""
  convert_to 2 dib bmp dib "" ""
  convert_to 8 rle bmp rle "" ""
  for base in mono four eight deep; do
    cmp -s "$data/bmp/$base.bmp" "$data/dib/$base.dib" || fail "$base.dib is not the bitmap file"
    cmp -s "$data/bmp/$base.bmp" "$data/rle/$base.rle" || fail "$base.rle is not the bitmap file"
  done
  convert_to 1 clp clp clp "" ""
  ;;
indexed_files)
  # GIF plain and interlaced and WPG take up to 8 bits.
  convert_to 3 gif gif gif deep "$GIF_24"
  convert_to 4 gif-interlaced gif-interlaced gif deep "$GIF_24"
  convert_to 10 wpg wpg wpg deep "$WPG_24"
  ;;
other_files)
  convert_to 5 jpg jpg jpg "mono four" "$JPG_LOW"
  convert_to 6 pcx pcx pcx "" ""
  convert_to 7 png png png "" ""
  convert_to 9 tif tif tif "" ""
  ;;
*)
  fail "unknown case $scenario"
  ;;
esac
exit_morfix
