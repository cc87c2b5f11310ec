#!/usr/bin/env bash
# Contact sheets of the generated Layout pictures, for a person to check:
#
#   tools/pictures/contact_sheets.sh PICTURES_DIR OUT_DIR
#
# OUT_DIR/layout-previews.png holds the 106 preview bitmaps with their ids
# and what each should show; OUT_DIR/layout-icons.png the 17 list icons,
# enlarged four times, in image-list order.
set -euo pipefail
pictures=$1
out=$2
mkdir -p "$out"
captions=$pictures/captions.txt

previews=()
icons=()
while IFS=$'\t' read -r file caption; do
  id=${file%.*}
  case $file in
    *.bmp) previews+=(-label "$id\n$caption" "$pictures/$file") ;;
    *.ico)
      tmp=$(mktemp -d)
      convert "$pictures/$file" -background '#008080' -flatten -scale 400% "$tmp/$id.png"
      icons+=(-label "$id\n$caption" "$tmp/$id.png") ;;
  esac
done <"$captions"

montage "${previews[@]}" -tile 8x -geometry +6+6 -font DejaVu-Sans -pointsize 11 -background '#e0e0e0' \
  "$out/layout-previews.png"
montage "${icons[@]}" -tile 6x -geometry +10+10 -font DejaVu-Sans -pointsize 11 -background '#e0e0e0' \
  "$out/layout-icons.png"
echo "contact sheets: $out/layout-previews.png $out/layout-icons.png"
