#!/usr/bin/env bash
# Lets the Orca screen reader listen to the real window and prints what it says: starts Orca and
# the demo under Xvfb in a private D-Bus session, presses "One" from the keyboard and tabs
# through the controls. A check by ear for what the AT-SPI test checks by rule.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" orca xvfb xauth xdotool dbus at-spi2-core
if [ -z "${BITWATCH_IN_SESSION:-}" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --parallel --target bitwatch >/dev/null
  exec env BITWATCH_IN_SESSION=1 dbus-run-session -- \
    xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" "$0"
fi
log=$(mktemp)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset QT_QPA_PLATFORM
orca --replace --debug-file="$log" >/dev/null 2>&1 &
sleep 4
build/release/app/bitwatch 2>/dev/null &
sleep 3
xdotool search --name "Kelm" windowfocus --sync >/dev/null
sleep 1
xdotool key space # "One" has the focus
sleep 2
for _ in 1 2 3 4 5; do
  xdotool key Tab
  sleep 1
done
kill %2 %1 2>/dev/null || true
grep 'SPEECH OUTPUT' "$log" | sed -E "s/.*SPEECH OUTPUT: '(.*)' ?\{.*/\1/"
rm -f "$log"
