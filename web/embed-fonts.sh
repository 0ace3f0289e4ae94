#!/usr/bin/env bash
# Writes SITE/fonts.css with the Liberation Sans and Serif regular faces inline as data URLs (a
# page opened straight from disk may not fetch font files), and copies the fonts' licence beside
# it. Every text the page draws in these faces is printable ASCII (its captions, digits, the
# explanations, the lists' entries), so each face is cut down to those glyphs and carried as
# WOFF2; any other character typed into a box is drawn by the next font of the style's stack.
# The hinting stays, so that the glyphs are drawn exactly as the whole faces draw them.
# Usage: embed-fonts.sh FONT_DIR LICENCE_FILE SITE
set -euo pipefail
font_dir=$1
licence=$2
site=$3
if ! command -v pyftsubset >/dev/null; then
  echo "embed-fonts.sh: pyftsubset is missing: install fonttools and python3-brotli" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$site/fonts"
{
  echo "/* Liberation Sans and Liberation Serif from fonts-liberation2, cut down to printable ASCII,"
  echo "   under the SIL Open Font License 1.1: see fonts/LICENSE. */"
  for face in Sans Serif; do
    file="$font_dir/Liberation$face-Regular.ttf"
    if [ ! -f "$file" ]; then
      echo "embed-fonts.sh: $file is missing: install fonts-liberation2" >&2
      exit 1
    fi
    # The name table keeps the copyright and licence records the licence asks to travel along.
    pyftsubset "$file" --unicodes=U+0020-007E,U+00A0 --flavor=woff2 \
      --name-IDs='*' --name-languages='*' --output-file="$work/$face.woff2" 2>"$work/log" ||
      { cat "$work/log" >&2; exit 1; }
    printf '@font-face {\n  font-family: "Bitwatch %s";\n  font-weight: 400;\n  font-style: normal;\n' "$face"
    printf '  unicode-range: U+0020-007E, U+00A0;\n'
    printf '  src: url(data:font/woff2;base64,%s) format("woff2");\n}\n' "$(base64 -w 0 "$work/$face.woff2")"
  done
} >"$site/fonts.css.new"
mv "$site/fonts.css.new" "$site/fonts.css"
cp "$licence" "$site/fonts/LICENSE"
