#!/bin/sh
# Measures the browser version of the game in headless Chromium: the time
# from a page load to the opening dialog, from a key to the painted frame over
# 2,000 keys, and the site's size. Builds what it needs first.
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh browser
mkdir -p build
if ! scripts/web.sh --build >build/web-bench-build.log 2>&1; then
  cat build/web-bench-build.log >&2
  exit 1
fi
npm ci --prefix tests/web --no-audit --no-fund --silent --ignore-scripts

# Other work on the machine shows in every figure; the load average says how much.
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "date:    $(date -u '+%Y-%m-%d %H:%M:%S UTC'), load average $(cut -d ' ' -f 1-3 /proc/loadavg)"
echo
node bench/web_bench.mjs
