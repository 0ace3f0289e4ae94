#!/usr/bin/env bash
# Makes docs/screenshot.png from the real window under Xvfb: mode "CRC-8", a few frames sent at
# a 3 % error rate, then one received data bit flipped by a click.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth xdotool imagemagick

binary=${1:-build/release/app/bitwatch}
if [ ! -x "$binary" ]; then
  cmake --preset release
  cmake --build --preset release --parallel
fi
mkdir -p docs

xvfb-run --auto-servernum --server-args="-screen 0 1000x740x24 -dpi 96" bash -c '
  set -euo pipefail
  "$0" & pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  for _ in $(seq 50); do
    window=$(xdotool search --name "Kelm.s Bitwatch Demo" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.2
  done
  xdotool windowmove "$window" 0 0
  sleep 0.5
  origin() { xdotool getwindowgeometry "$window" | sed -n "s/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p"; }
  read -r ox oy < <(origin)
  click() { xdotool mousemove $((ox + $1)) $((oy + $2)) click 1; sleep 0.2; }
  # Mode box: select all, type the mode name.
  click 420 26
  xdotool key ctrl+a type --delay 30 "CRC-8"
  # Error-rate box: 3 %.
  click 240 602
  xdotool key ctrl+a type --delay 30 "3"
  for _ in 1 2 3 4 5 6; do click 60 560; done
  # Flip received data bit 5 of byte 2.
  click $((508 + 52 * 5 + 18)) $((52 + 68 * 2 + 30))
  sleep 0.5
  import -window root -crop 959x698+$ox+$oy +repage docs/screenshot.png
' "$binary"
echo "==> Wrote docs/screenshot.png"
