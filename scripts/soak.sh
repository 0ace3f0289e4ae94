#!/usr/bin/env bash
# A long headless run: TICKS timer ticks of a fast run in every code mode at RATE %, checking after
# each that the rate text is the exact ratio of the counters, and printing the resident memory
# after each mode, which stays flat. Exits 1 on any mismatch. About 40 s at the defaults:
#   scripts/soak.sh [TICKS, default 1000000] [RATE, default 5]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev libxcb1-dev libxcb-damage0-dev

cmake --preset measure >/dev/null
cmake --build --preset measure --parallel --target bitwatch_soak >/dev/null
exec build/measure/bench/yardsticks/bitwatch_soak "$@"
