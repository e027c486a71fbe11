#!/usr/bin/env bash
# Renders the program's icon, portico.svg, at the fixed sizes desktops look for. Run it from
# anywhere after changing the drawing (needs rsvg-convert, from librsvg2-bin); the PNGs are
# committed and installed under the application id's name.
set -euo pipefail
cd "$(dirname "$0")"

for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" portico.svg -o "portico-$size.png"
done
