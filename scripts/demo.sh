#!/usr/bin/env bash
# Builds the demo and launches it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh

ensure_packages "${BUILD_PACKAGES[@]}"
echo "==> Configuring (build/release)"
cmake --preset release
echo "==> Building"
cmake --build --preset release --parallel
echo "==> Launching build/release/app/bitwatch"
exec build/release/app/bitwatch "$@"
