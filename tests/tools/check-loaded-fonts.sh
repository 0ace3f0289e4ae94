#!/usr/bin/env bash
# Starts the real window under Xvfb and reads which font files it has loaded once it is shown:
# the window draws with one sans-serif and one serif face, and a third file would be a font
# loaded for nothing while the window starts.
# Usage: check-loaded-fonts.sh path/to/bitwatch
set -euo pipefail
if [ -z "${BITWATCH_UNDER_XVFB:-}" ]; then
  exec env BITWATCH_UNDER_XVFB=1 xvfb-run --auto-servernum \
    --server-args="-screen 0 1280x1024x24" "$0" "$@"
fi
unset QT_QPA_PLATFORM
"$1" 2>/dev/null &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

loaded_fonts() {
  grep -o -E '/[^ ]+\.(ttf|otf|ttc|pfb|pcf|pcf\.gz)$' "/proc/$pid/maps" | sort -u || true
}
# The serif face comes with the verdict, in the first paint.
for _ in $(seq 100); do
  [ "$(loaded_fonts | wc -l)" -ge 2 ] && break
  sleep 0.1
done
sleep 0.5
fonts=$(loaded_fonts)
echo "$fonts"
if [ "$(echo "$fonts" | grep -c .)" -ne 2 ]; then
  echo "FAIL: the window has loaded $(echo "$fonts" | grep -c .) font files, not 2"
  exit 1
fi
