#!/usr/bin/env bash
# Measures the real window under Xvfb: frames per second and CPU share during a fast run, and
# time from launch to the window shown plus resident memory, against a bare Qt window.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev xvfb xauth xdotool

build=build/measure
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBITWATCH_BUILD_TESTS=OFF \
  -DBITWATCH_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" --parallel >/dev/null

xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -dpi 96" bash -c '
  set -euo pipefail
  build=$0
  echo "== Fast run in the real window (10 s per mode)"
  for mode in None "Parity 1" CRC-8; do
    "$build/bench/bitwatch_window_fast_run" 10 "$mode" 2>/dev/null
  done

  # Launch to shown: xdotool --sync waits until a window with the title is mapped.
  measure() {
    local binary=$1 title=$2 runs=7 times=() rss=()
    for _ in $(seq $runs); do
      local start=$(date +%s%N)
      "$binary" 2>/dev/null & local pid=$!
      xdotool search --sync --onlyvisible --name "$title" >/dev/null
      local end=$(date +%s%N)
      sleep 1
      times+=($(( (end - start) / 1000000 )))
      rss+=($(awk "/VmRSS/ {print \$2}" /proc/$pid/status))
      kill $pid; wait $pid 2>/dev/null || true
    done
    local mt=$(printf "%s\n" "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
    local mr=$(printf "%s\n" "${rss[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
    echo "$title: launch to shown ${mt} ms (median of $runs), resident ${mr} KiB"
  }
  echo "== Start-up and memory"
  measure "$build/app/bitwatch" "Kelm.s Bitwatch Demo"
  measure "$build/bench/bitwatch_bare_window" "Bare Qt Window"
' "$build"
