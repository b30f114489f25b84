#!/usr/bin/env bash
# Renders the program's icon (data/pellinoraxis.svg) to the PNG sizes desktops look for, under
# data/icons/hicolor/<size>x<size>/apps/, named after the desktop entry so that menus find it,
# and to the sizes built into the program (gui/icons/).
# The PNGs are committed; run this again only when the SVG changes. The output is the same on
# every run for the same librsvg, so a re-run that changes nothing shows no difference in git.
set -euo pipefail
cd "$(dirname "$0")/.."

command -v rsvg-convert >/dev/null || {
  echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2
  exit 1
}

id=example.corvane.Pellinoraxis
svg=data/pellinoraxis.svg
for size in 16 24 32 48 64 128 256; do
  dir=data/icons/hicolor/${size}x${size}/apps
  mkdir -p "$dir"
  rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio --format png \
    --output "$dir/$id.png" "$svg"
done
# The windows' own icon, built into the program: pictures need no image plugin to load.
for size in 16 32 256; do
  rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio --format png \
    --output "gui/icons/pellinoraxis-$size.png" "$svg"
done
