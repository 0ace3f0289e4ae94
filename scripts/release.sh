#!/usr/bin/env bash
# Writes one release into build/release/VERSION: the Debian package (built and checked by
# scripts/package.sh), the browser edition as one file (bitwatch-VERSION.html), the static folder
# for a web host (bitwatch-web-VERSION.zip) and SHA256SUMS over the three. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(Bitwatch$//; /^    VERSION /{s/^    VERSION //p;q}' CMakeLists.txt)
./scripts/package.sh
./scripts/web.sh --build-only

out="build/release/$version"
echo "==> Writing the release into $out"
rm -rf "$out"
mkdir -p "$out"
cp build/package/bitwatch_"${version}"_amd64.deb "$out/"
cp build/web/bitwatch.html "$out/bitwatch-$version.html"
# The folder as it is served, under one top-level folder, with the same bytes every time (the
# entries sorted, each dated as the release's commit).
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
python3 - "$out/bitwatch-web-$version.zip" "bitwatch-web-$version" build/web "$stamp" <<'PY'
import os
import sys
import time
import zipfile

archive, top, site, stamp = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
# The folder's own files: the one-file page travels on its own beside the archive.
skip = {"bitwatch.html"}
date = time.gmtime(max(stamp, 315532800))[:6]  # zip dates start in 1980
with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as zip_file:
    for folder, folders, files in os.walk(site):
        folders.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, site)
            if relative in skip:
                continue
            entry = zipfile.ZipInfo(f"{top}/{relative}", date)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.external_attr = 0o644 << 16
            with open(path, "rb") as source:
                zip_file.writestr(entry, source.read())
PY
(cd "$out" && sha256sum -- *.deb *.html *.zip >SHA256SUMS && sha256sum --check --quiet SHA256SUMS)
ls -l "$out"
echo "==> Release $version written to $out"
