#!/usr/bin/env bash
# Builds the browser edition into build/web (static files: the page, its script with the
# WebAssembly inside, the logo and the fonts) and serves it on 127.0.0.1 with a plain static
# server. Installs what is missing: Debian's emscripten, and the browser tests' npm packages from
# web/package-lock.json. Safe to run again.
#   ./scripts/web.sh               build, then serve on http://127.0.0.1:8080/ (PORT=... to change)
#   ./scripts/web.sh --build-only  build only
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh

ensure_packages "${WEB_PACKAGES[@]}"
# Debian's emscripten runs its optimiser on Debian's own node modules.
export NODE_PATH=/usr/share/nodejs
echo "==> Building the browser edition (build/web)"
cmake --preset web >/dev/null
cmake --build --preset web --parallel "$(nproc)"
echo "==> Installing the browser tests' packages (web/package-lock.json)"
(cd web && npm ci --no-audit --no-fund --loglevel=error)
echo "==> Built build/web: open build/web/index.html, or serve the folder"

if [ "${1:-}" = "--build-only" ]; then
  exit 0
fi
port=${PORT:-8080}
echo "==> Serving build/web at http://127.0.0.1:$port/ (Ctrl-C stops)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web
