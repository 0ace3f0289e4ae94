#!/usr/bin/env bash
# Installs the Debian packages given as arguments that are not installed yet.
# Sourced by the other scripts; safe to run any number of times.
set -euo pipefail

ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  if [ "${#missing[@]}" -eq 0 ]; then
    echo "==> Packages: all ${#} present"
    return 0
  fi
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  echo "==> Installing missing packages: ${missing[*]}"
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# What every build needs: the compiler, CMake, Qt 6 Widgets and the fonts the window asks for,
# and Google's Highway for bitwatch-stats' vectorised draws.
BUILD_PACKAGES=(g++ make cmake pkgconf qt6-base-dev libgl-dev fonts-liberation2 libhwy-dev)
# What the tests add: GoogleTest, Google Benchmark and the X libraries of the start-up timer in
# bench/, clang with its sanitizer and fuzzer runtimes, the static analysers, and for the
# accessibility test an X server, a D-Bus session with the accessibility bus, Python's AT-SPI
# bindings and the X tools that click and read the window.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev libxcb1-dev libxcb-damage0-dev clang
  libclang-rt-14-dev clang-tidy clang-format cppcheck xvfb xauth xdotool x11-utils dbus
  at-spi2-core python3-pyatspi)
# What the browser edition adds: Debian's emscripten, Node.js with npm for the browser tests,
# Chromium for them to drive, Python for the plain static server, and terser, which shrinks the
# one-file page's script.
WEB_PACKAGES=(emscripten nodejs chromium python3 fonts-liberation2 fonttools python3-brotli terser)
