#!/usr/bin/env bash
# Renders the program icon, packaging/icons/velmora-arudha-lagna.svg, to the
# PNG sizes the package installs: 16 to 128 pixels into packaging/icons/NxN/,
# 256 pixels as the window icon, src/ui/icons/icon.png, which is installed as
# the 256x256 icon too. The PNGs are committed, so the build needs no SVG
# renderer; run this after changing the SVG. Needs rsvg-convert (Debian:
# librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
svg=packaging/icons/velmora-arudha-lagna.svg
command -v rsvg-convert >/dev/null || { echo "make-icons.sh: rsvg-convert not found (apt-get install librsvg2-bin)" >&2; exit 1; }
for size in 16 32 48 64 128; do
  mkdir -p "packaging/icons/${size}x${size}"
  rsvg-convert --width "$size" --height "$size" --output "packaging/icons/${size}x${size}/velmora-arudha-lagna.png" "$svg"
done
rsvg-convert --width 256 --height 256 --output src/ui/icons/icon.png "$svg"
