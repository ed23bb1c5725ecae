#!/bin/sh
# Renders every picture at 1x, 2x and 4x on the toolbar's grey face into one
# PNG for checking by eye: ./contact-sheet.sh [out.png] (default /tmp).
set -eu
cd "$(dirname "$0")"
out=${1:-/tmp/quorvane-contact-sheet.png}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for svg in icons/*.svg smilies/src/*.svg; do
  name=$(basename "$svg" .svg)
  size=$(rsvg-convert "$svg" -f png | identify -format '%w %h' -)
  w=${size% *}
  h=${size#* }
  if [ "$h" -gt 64 ]; then
    dims="16x16 32x32 64x64" # the application icon at sizes a desktop asks for
  elif [ "$w" -gt 24 ]; then
    dims="${w}x$h $((w * 2))x$((h * 2))"
  else
    dims="${w}x$h $((w * 2))x$((h * 2)) $((w * 4))x$((h * 4))"
  fi
  parts=
  for d in $dims; do
    rsvg-convert -w "${d%x*}" -h "${d#*x}" -f png -o "$tmp/part-$d.png" "$svg"
    parts="$parts $tmp/part-$d.png"
  done
  # shellcheck disable=SC2086
  convert $parts -background '#e0e0e0' -bordercolor '#e0e0e0' -border 3 \
    -gravity center +append "$tmp/$name.png"
  rm $parts
done
montage -label '%t' -pointsize 11 "$tmp"/*.png -tile 6x -geometry +3+3 -background '#b8b8b8' "$out"
echo "$out"
