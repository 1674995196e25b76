#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its drawing. The PNGs are committed, so a build
# never needs ImageMagick; run this after changing resources/desktop/icons/lekta.svg.
set -euo pipefail
cd "$(dirname "$0")/../resources/desktop/icons"
for size in 16 22 24 32 48 64 128 256; do
    # Drawn at four times the size, then scaled down, for smooth edges at the small sizes.
    density=$((96 * size / 256 * 4))
    convert -background none -density "${density}x${density}" lekta.svg -resize "${size}x${size}" \
        -strip "png32:$size.png"
done
