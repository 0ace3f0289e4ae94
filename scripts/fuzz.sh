#!/usr/bin/env bash
# Runs each libFuzzer target for a bounded time (default 30 s) from its seed corpus. A crash
# fails; its input is left in build/fuzz/artifacts/ to be added to fuzz/regressions/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
build=build/fuzz
mkdir -p "$build/artifacts"
for target in text_number apply_mode actions; do
  corpus=$(mktemp -d)
  cp fuzz/corpus/"$target"/* "$corpus"/
  echo "==> Fuzzing $target for $seconds s"
  if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/${target}-" "$corpus" \
      >"$build/artifacts/$target.log" 2>&1; then
    tail -n 40 "$build/artifacts/$target.log"
    echo "==> fuzz_$target found a fault; its input is in $build/artifacts/"
    rm -rf "$corpus"
    exit 1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/artifacts/$target.log" | tr '\n' ' '
  echo
  rm -rf "$corpus"
done
