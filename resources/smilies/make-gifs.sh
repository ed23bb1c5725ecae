#!/bin/sh
# Regenerates the 16x16 smiley GIFs from the SVG drawings in src/.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick (imagemagick).
#
# GIF has one-bit transparency, so each picture is rendered with
# anti-aliasing, its soft edge blended onto white (the preview page's
# background), and every pixel less than half covered made transparent.
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for svg in src/*.svg; do
  name=$(basename "$svg" .svg)
  rsvg-convert -w 16 -h 16 -f png -o "$tmp/in.png" "$svg"
  convert "$tmp/in.png" \
    \( -clone 0 -background white -alpha remove -alpha off \) \
    \( -clone 0 -alpha extract -threshold 50% \) \
    -delete 0 -alpha off -compose CopyOpacity -composite \
    -strip "GIF:$tmp/out.gif"
  mv "$tmp/out.gif" "$name.gif"
  echo "$name.gif"
done
