#!/usr/bin/env bash
# Opens the real window under Xvfb inside a private D-Bus session with the accessibility bus,
# checks the title the window manager sees, and reads the window through AT-SPI.
# Usage: run-atspi-check.sh path/to/bitwatch
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ -z "${BITWATCH_IN_SESSION:-}" ]; then
  exec env BITWATCH_IN_SESSION=1 dbus-run-session -- \
    xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
program=$1

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
unset QT_QPA_PLATFORM
log=$(mktemp)
"$program" 2>"$log" &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -f "$log"' EXIT

window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name "Bitwatch" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "FAIL: no window appeared"
  kill -0 $pid 2>/dev/null || echo "bitwatch has exited"
  cat "$log"
  exit 1
fi
title=$(xprop -id "$window" _NET_WM_NAME | sed 's/^[^=]*= "\(.*\)"$/\1/')
if [ "$title" != "Kelm's Bitwatch Demo" ]; then
  echo "FAIL: the window manager's title is \"$title\""
  exit 1
fi
echo "title: $title"
/usr/bin/python3 "${ATSPI_SCRIPT:-$here/atspi_check.py}"
