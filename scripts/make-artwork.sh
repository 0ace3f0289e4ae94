#!/usr/bin/env bash
# Renders the project's logo and icon from their SVG sources into the PNGs that are built into
# the program. Run after editing resources/*.svg; needs ImageMagick and the Liberation fonts.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages imagemagick fonts-liberation2

convert -background none resources/logo.svg -depth 8 resources/logo.png
for size in 16 32 48 64 128 256; do
  convert -background none -density 300 resources/bitwatch.svg -resize "${size}x${size}" -depth 8 \
    "resources/icon-${size}.png"
done
echo "==> Rendered resources/logo.png and resources/icon-*.png"
