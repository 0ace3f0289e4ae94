#!/usr/bin/env bash
# Measures the real window under Xvfb against two yardsticks kept in bench/yardsticks/:
# - CPU share of a fast run, every mode, against bitwatch_cell_floor (the same frames shown by one
#   plain widget per cell that lays out its digit on every paint): the median of interleaved
#   rounds, so that a busy moment of the machine falls on both alike;
# - start-up, from launch to the map of the window and to its first paint (to the millisecond,
#   bitwatch_map_timer), and resident memory a second later, against bitwatch_bare_window (one
#   label): medians of interleaved launches. bitwatch_text_window (the start's texts in their
#   fonts, as plain labels) shows how much of the difference the fonts and glyphs alone cost.
# Both programs run in a D-Bus session of their own, as on a desktop: without one, the first
# program to ask whether a screen reader listens waits while D-Bus starts a bus for it.
# Run it on a quiet machine. ROUNDS (default 3), SECONDS_PER_RUN (default 4), LAUNCHES (default
# 31) and MODES (comma-separated, default all twelve) change the work.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev libxcb1-dev libxcb-damage0-dev xvfb xauth dbus

build=build/measure
cmake --preset measure >/dev/null
cmake --build --preset measure --parallel >/dev/null
modes=${MODES:-$("$build/app/bitwatch-stats" --exact-only --csv --rates 1 | tail -n +2 | cut -d, -f1 | paste -sd, -)}

xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -dpi 96" dbus-run-session -- bash -c '
  set -euo pipefail
  build=$1 modes=$2 rounds=${ROUNDS:-3} seconds=${SECONDS_PER_RUN:-4} launches=${LAUNCHES:-31}
  median() { sort -n | awk "{ v[NR] = \$1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }"; }
  # A virtual machine may run a launch in a slow spell; the quickest quarter shows the programs
  # when neither is held up.
  quartile() { sort -n | awk "{ v[NR] = \$1 } END { print v[int((NR + 3) / 4)] }"; }
  cpu_of() { sed -n "s/.*CPU \([0-9.]*\) %.*/\1/p"; }
  fps_of() { sed -n "s/.* = \([0-9.]*\) frames\/s.*/\1/p"; }

  echo "== Fast run: CPU share of one core, median of $rounds interleaved rounds of $seconds s"
  printf "%-10s %9s %9s %7s %9s\n" mode window floor ratio "frames/s"
  IFS=, read -r -a list <<<"$modes"
  for mode in "${list[@]}"; do
    window=() floor=() fps=()
    for _ in $(seq "$rounds"); do
      line=$("$build/bench/yardsticks/bitwatch_window_fast_run" "$seconds" "$mode" 2>/dev/null | head -n 1)
      window+=("$(cpu_of <<<"$line")")
      fps+=("$(fps_of <<<"$line")")
      floor+=("$("$build/bench/yardsticks/bitwatch_cell_floor" "$seconds" "$mode" 2>/dev/null | cpu_of)")
    done
    w=$(printf "%s\n" "${window[@]}" | median)
    f=$(printf "%s\n" "${floor[@]}" | median)
    printf "%-10s %8.1f%% %8.1f%% %6.2fx %9s\n" "$mode" "$w" "$f" \
      "$(awk -v a="$w" -v b="$f" "BEGIN { print a / b }")" "$(printf "%s\n" "${fps[@]}" | median)"
  done

  echo "== Start-up to the mapped window, to its first paint, and resident memory, median of $launches interleaved launches"
  demo_map=() demo_paint=() demo_kib=() bare_map=() bare_paint=() bare_kib=() text_paint=()
  for _ in $(seq "$launches"); do
    read -r map paint kib < <("$build/bench/yardsticks/bitwatch_map_timer" "$build/app/bitwatch" 2>/dev/null)
    demo_map+=("$map") demo_paint+=("$paint") demo_kib+=("$kib")
    read -r map paint kib < <("$build/bench/yardsticks/bitwatch_map_timer" "$build/bench/yardsticks/bitwatch_bare_window" 2>/dev/null)
    bare_map+=("$map") bare_paint+=("$paint") bare_kib+=("$kib")
    read -r map paint kib < <("$build/bench/yardsticks/bitwatch_map_timer" "$build/bench/yardsticks/bitwatch_text_window" 2>/dev/null)
    text_paint+=("$paint")
  done
  dm=$(printf "%s\n" "${demo_map[@]}" | median) bm=$(printf "%s\n" "${bare_map[@]}" | median)
  dp=$(printf "%s\n" "${demo_paint[@]}" | median) bp=$(printf "%s\n" "${bare_paint[@]}" | median)
  dk=$(printf "%s\n" "${demo_kib[@]}" | median) bk=$(printf "%s\n" "${bare_kib[@]}" | median)
  tp=$(printf "%s\n" "${text_paint[@]}" | median)
  ratio() { awk -v a="$1" -v b="$2" "BEGIN { print a / b }"; }
  printf "bitwatch:    %7.1f ms to the window, %7.1f ms to its first paint, %6d KiB resident\n" "$dm" "$dp" "$dk"
  printf "bare window: %7.1f ms to the window, %7.1f ms to its first paint, %6d KiB resident\n" "$bm" "$bp" "$bk"
  printf "ratios:      map %.2fx, first paint %.2fx, memory %.2fx\n" "$(ratio "$dm" "$bm")" "$(ratio "$dp" "$bp")" "$(ratio "$dk" "$bk")"
  printf "text only:   %7.1f ms to its first paint, %.2fx the bare window\n" "$tp" "$(ratio "$tp" "$bp")"
  dq=$(printf "%s\n" "${demo_paint[@]}" | quartile) bq=$(printf "%s\n" "${bare_paint[@]}" | quartile)
  tq=$(printf "%s\n" "${text_paint[@]}" | quartile)
  printf "first paint, quickest quarter: bitwatch %.1f ms, bare %.1f ms (%.2fx), text only %.1f ms (%.2fx)\n" \
    "$dq" "$bq" "$(ratio "$dq" "$bq")" "$tq" "$(ratio "$tq" "$bq")"
' bash "$build" "$modes"
