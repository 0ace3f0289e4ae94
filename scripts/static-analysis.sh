#!/usr/bin/env bash
# clang-tidy (checks in .clang-tidy), the clang-format layout and cppcheck over the project's
# sources. Needs the
# compile commands of a configured build (default build/ci).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}

mapfile -t sources < <(git ls-files '*.cpp' | grep -v '^fuzz/')
echo "==> clang-tidy on ${#sources[@]} files"
# The compile commands come from GCC; clang does not know every GCC warning flag.
run-clang-tidy -quiet -p "$build" -extra-arg=-Wno-unknown-warning-option "${sources[@]}" \
  >"$build/clang-tidy.log" 2>&1 || {
  sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E -A3 "(warning|error):" | head -n 80
  echo "==> clang-tidy found problems"
  exit 1
}

echo "==> clang-format (.clang-format)"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

echo "==> cppcheck"
cppcheck --enable=warning,performance,portability --language=c++ --std=c++20 \
  --library=qt --library=googletest --inline-suppr --error-exitcode=1 --quiet \
  -I . core channel ui app stats web tests bench fuzz
echo "==> Static analysis clean"
