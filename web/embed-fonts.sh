#!/usr/bin/env bash
# Writes SITE/fonts.css with the Liberation Sans and Serif regular faces inline as data URLs (a
# page opened straight from disk may not fetch font files), and copies the fonts' licence beside
# it. Usage: embed-fonts.sh FONT_DIR LICENCE_FILE SITE
set -euo pipefail
font_dir=$1
licence=$2
site=$3
mkdir -p "$site/fonts"
{
  echo "/* Liberation Sans and Liberation Serif from fonts-liberation2, under the SIL Open Font"
  echo "   License 1.1: see fonts/LICENSE. */"
  for face in Sans Serif; do
    file="$font_dir/Liberation$face-Regular.ttf"
    if [ ! -f "$file" ]; then
      echo "embed-fonts.sh: $file is missing: install fonts-liberation2" >&2
      exit 1
    fi
    printf '@font-face {\n  font-family: "Bitwatch %s";\n  font-weight: 400;\n  font-style: normal;\n' "$face"
    printf '  src: url(data:font/ttf;base64,%s) format("truetype");\n}\n' "$(base64 -w 0 "$file")"
  done
} >"$site/fonts.css.new"
mv "$site/fonts.css.new" "$site/fonts.css"
cp "$licence" "$site/fonts/LICENSE"
