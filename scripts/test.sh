#!/usr/bin/env bash
# Builds and runs every test: with warnings as errors, again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then static analysis, a bounded run of each fuzzer, the Debian
# package (built, validated, installed, started and removed) and the rest of the release, and the
# browser edition (built with emscripten, compared frame for frame with the native library, and
# driven in Chromium, the one-file page among it).
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

./scripts/static-analysis.sh build/ci

echo "==> Configuring and building the fuzzers (clang)"
cmake --preset fuzz
cmake --build --preset fuzz --parallel "$jobs"
echo "==> Replaying the fuzzers' regression inputs"
ctest --preset fuzz
./scripts/fuzz.sh 30

# The release: the package (built, validated, installed, started and removed), the browser
# edition built with emscripten, the one-file page and the static folder's archive, with sums.
./scripts/release.sh
echo "==> Running the browser edition's tests (node, and Debian's Chromium)"
(cd web && BITWATCH_REPLAY_EVENTS="$PWD/../build/ci/tests/bitwatch_replay_events" \
  BITWATCH_RENDER_WINDOW="$PWD/../build/ci/tests/bitwatch_render_window" node --test tests/)

echo "==> All tests passed"
