#!/usr/bin/env bash
# Renders the committed PNG icons from the SVG (needs rsvg-convert, Debian's librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 128 256; do
  rsvg-convert -w "$size" -h "$size" org.corvane.Zandrel.svg -o "org.corvane.Zandrel-$size.png"
done
