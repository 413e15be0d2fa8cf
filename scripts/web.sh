#!/bin/sh
# Builds the browser version of the game into build/web/site/, static files
# for any web server, and serves it at http://127.0.0.1:8000/ (PORT to change).
#   web.sh [--build]    --build: build only
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh web
emcmake cmake -S . -B build/web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/web -j"$(nproc)"
if [ "${1:-}" = --build ]; then
  exit 0
fi
port=${PORT:-8000}
echo "Serving the game at http://127.0.0.1:$port/ (Ctrl+C to stop)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/site
