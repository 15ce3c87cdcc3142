#!/bin/sh
# Renders the PNG icons from the two drawings (needs rsvg-convert, Debian package librsvg2-bin):
# 16 and 24 px from numbers3zubarin-small.svg, the larger sizes from numbers3zubarin.svg.
set -e
cd "$(dirname "$0")"
for size in 16 24; do
  rsvg-convert -w $size -h $size numbers3zubarin-small.svg -o numbers3zubarin-$size.png
done
for size in 32 48 64 128 256; do
  rsvg-convert -w $size -h $size numbers3zubarin.svg -o numbers3zubarin-$size.png
done
