#!/usr/bin/env bash
# Builds the demo and launches it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh

ensure_packages "${BUILD_PACKAGES[@]}"
echo "==> Configuring (build/release)"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBITWATCH_BUILD_TESTS=OFF
echo "==> Building"
cmake --build build/release --parallel
echo "==> Launching build/release/app/bitwatch"
exec build/release/app/bitwatch "$@"
