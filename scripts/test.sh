#!/usr/bin/env bash
# Builds and runs every test: once with warnings as errors, once under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
jobs=$(nproc)

for preset in ci asan; do
  echo "==> Configuring and building preset '$preset'"
  cmake --preset "$preset"
  cmake --build --preset "$preset" --parallel "$jobs"
  echo "==> Running the tests of preset '$preset'"
  ctest --preset "$preset" --parallel "$jobs"
done
echo "==> All tests passed"
