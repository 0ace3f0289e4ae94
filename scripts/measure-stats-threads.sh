#!/usr/bin/env bash
# How bitwatch-stats scales from one worker thread to two: wall time of the same seeded rows
# (which give the same counts on any number of threads) for every mode, fastest of three runs.
# Run it on a quiet machine: scripts/measure-stats-threads.sh [frames per row, default 20000000].
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-20000000}
build=build/release-stats
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBITWATCH_BUILD_UI=OFF \
  -DBITWATCH_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --parallel --target bitwatch-stats >/dev/null
stats="$build/stats/bitwatch-stats"

fastest() {
  local best=""
  for _ in 1 2 3; do
    local start end took
    start=$(date +%s.%N)
    "$stats" "$@" >/dev/null
    end=$(date +%s.%N)
    took=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
    best=$(awk -v t="$took" -v b="$best" 'BEGIN { print (b == "" || t < b) ? t : b }')
  done
  echo "$best"
}

printf '%-10s %10s %10s %8s\n' mode "1 thread" "2 threads" speedup
while IFS= read -r mode; do
  one=$(fastest --modes "$mode" --rates 5 --frames "$frames" --seed 1 --threads 1)
  two=$(fastest --modes "$mode" --rates 5 --frames "$frames" --seed 1 --threads 2)
  printf '%-10s %9.2fs %9.2fs %7.2fx\n' "$mode" "$one" "$two" \
    "$(awk -v a="$one" -v b="$two" 'BEGIN { print a / b }')"
done < <("$stats" --exact-only --csv --rates 5 | tail -n +2 | cut -d, -f1)
