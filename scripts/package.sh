#!/usr/bin/env bash
# Builds the Debian package, checks its file list, both manual pages, the hardening of both
# programs, the desktop entry and the AppStream metainfo, runs lintian (no warnings allowed),
# then installs the package, asks both programs for their version, starts bitwatch under Xvfb to
# see its window open, and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" dpkg-dev file desktop-file-utils appstream lintian \
  devscripts binutils groff man-db xvfb xauth xdotool

build=build/package
echo "==> Building the release and the package"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBITWATCH_BUILD_TESTS=OFF \
  -DBITWATCH_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"
rm -f "$build"/bitwatch_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/bitwatch_*_amd64.deb)
version=$(sed -n 's/^project(Bitwatch$//; /^    VERSION /{s/^    VERSION //p;q}' CMakeLists.txt)
echo "==> Built $deb"

echo "==> Checking the file list"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort >"$build/files.txt"
expected="/usr/bin/bitwatch
/usr/bin/bitwatch-stats
/usr/share/applications/org.bitwatch.Bitwatch.desktop
/usr/share/doc/bitwatch/changelog.gz
/usr/share/doc/bitwatch/copyright
/usr/share/icons/hicolor/128x128/apps/org.bitwatch.Bitwatch.png
/usr/share/icons/hicolor/16x16/apps/org.bitwatch.Bitwatch.png
/usr/share/icons/hicolor/256x256/apps/org.bitwatch.Bitwatch.png
/usr/share/icons/hicolor/32x32/apps/org.bitwatch.Bitwatch.png
/usr/share/icons/hicolor/48x48/apps/org.bitwatch.Bitwatch.png
/usr/share/icons/hicolor/64x64/apps/org.bitwatch.Bitwatch.png
/usr/share/icons/hicolor/scalable/apps/org.bitwatch.Bitwatch.svg
/usr/share/man/man1/bitwatch-stats.1.gz
/usr/share/man/man1/bitwatch.1.gz
/usr/share/metainfo/org.bitwatch.Bitwatch.metainfo.xml"
if ! diff <(echo "$expected") "$build/files.txt"; then
  echo "==> The package's file list differs from the expected one"
  exit 1
fi
dpkg-deb -f "$deb" Depends | grep -q fonts-liberation2
echo "    Depends: $(dpkg-deb -f "$deb" Depends)"

echo "==> Checking the manual pages"
for page in bitwatch bitwatch-stats; do
  # groff -ww warns of every construct it finds doubtful; it must say nothing.
  warnings=$(groff -ww -man -Tutf8 "$build/packaging/$page.1" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$warnings"
    echo "==> groff warns about $page.1"
    exit 1
  fi
  MANWIDTH=80 man -l "$build/packaging/$page.1" | grep -q "SEE ALSO"
done

echo "==> Checking the hardening of both programs"
unpacked="$build/unpacked"
rm -rf "$unpacked"
dpkg-deb -x "$deb" "$unpacked"
for program in bitwatch bitwatch-stats; do
  # Control-flow protection cannot be had with Debian 12's start files (see CMakeLists.txt).
  hardening-check --nocfprotection "$unpacked/usr/bin/$program"
  # Stripped, down to the compilers' notes.
  if readelf -S "$unpacked/usr/bin/$program" | grep -q -E '\.(symtab|comment|debug_)'; then
    echo "==> $program is not stripped"
    exit 1
  fi
  if readelf -d "$unpacked/usr/bin/$program" | grep -E 'RPATH|RUNPATH'; then
    echo "==> $program carries a library search path of its own"
    exit 1
  fi
done

echo "==> Validating the desktop entry and the metainfo"
desktop-file-validate packaging/org.bitwatch.Bitwatch.desktop
appstreamcli validate --no-net --pedantic "$build/packaging/org.bitwatch.Bitwatch.metainfo.xml"

echo "==> lintian"
lintian --tag-display-limit 0 "$deb" | tee "$build/lintian.txt" || true
if grep -q -E '^[EW]:' "$build/lintian.txt"; then
  echo "==> lintian reports errors or warnings"
  exit 1
fi

echo "==> Installing the package and starting bitwatch"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "./$deb"
for program in bitwatch bitwatch-stats; do
  reported=$("$program" --version)
  if [ "$reported" != "$program $version" ]; then
    echo "==> the installed $program says \"$reported\", not version $version"
    exit 1
  fi
  echo "    $reported"
done
xvfb-run --auto-servernum bash -c '
  bitwatch 2>/dev/null & pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  timeout 20 xdotool search --sync --onlyvisible --name "Kelm.s Bitwatch Demo" >/dev/null
  echo "    the installed bitwatch opened its window"
'
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y bitwatch >/dev/null
echo "==> Package checks passed"
