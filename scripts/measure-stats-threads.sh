#!/usr/bin/env bash
# How fast bitwatch-stats sends frames: first frames per second on one core in every mode, the
# vectorised draws in each instruction set this processor has against a plain scalar loop over
# the same generator (bench/yardsticks/stats_targets.cpp); then how it scales from one worker thread to two
# (wall time of the same seeded rows, which give the same counts on any number of threads,
# fastest of three runs). Run it on a quiet machine:
#   scripts/measure-stats-threads.sh [frames per row, default 20000000]
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-20000000}
build=build/release-stats
cmake --preset release-stats -DBITWATCH_BUILD_BENCHMARKS=ON >/dev/null
cmake --build --preset release-stats --parallel --target bitwatch-stats bitwatch_stats_targets \
  >/dev/null
stats="$build/app/bitwatch-stats"

echo "==> One core: instruction sets against the scalar loop"
"$build/bench/yardsticks/bitwatch_stats_targets" "$((frames / 5))"
"$stats" --verbose --exact-only --modes None --rates 1 >/dev/null

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

echo "==> One thread against two, $frames frames a row at 1 %"
printf '%-10s %14s %14s %8s\n' mode "1 thread M/s" "2 threads M/s" speedup
while IFS= read -r mode; do
  one=$(fastest --modes "$mode" --rates 1 --frames "$frames" --seed 1 --threads 1 --quiet)
  two=$(fastest --modes "$mode" --rates 1 --frames "$frames" --seed 1 --threads 2 --quiet)
  printf '%-10s %14.2f %14.2f %7.2fx\n' "$mode" "$(awk -v t="$one" -v f="$frames" 'BEGIN { print f / t / 1e6 }')" \
    "$(awk -v t="$two" -v f="$frames" 'BEGIN { print f / t / 1e6 }')" \
    "$(awk -v a="$one" -v b="$two" 'BEGIN { print a / b }')"
done < <("$stats" --exact-only --csv --rates 1 | tail -n +2 | cut -d, -f1)
