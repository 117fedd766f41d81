#!/bin/sh
# Renders icon.svg into velotide.ico: six 32-bit images, 16 to 256 px, each
# stored PNG-compressed. Needs librsvg2-bin and icoutils (scripts/install-deps.sh).
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
args=""
for size in 16 32 48 64 128 256; do
    rsvg-convert -w $size -h $size icon.svg -o "$tmp/$size.png"
    args="$args --raw=$tmp/$size.png"
done
icotool -c -o velotide.ico $args
