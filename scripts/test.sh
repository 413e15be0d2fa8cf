#!/bin/sh
# Builds everything and runs every test: the unit tests natively under
# AddressSanitizer and UndefinedBehaviorSanitizer, the page's tests under Node,
# in headless Chromium and Firefox ESR and in WebKitGTK's MiniBrowser on a
# virtual display, the same unit tests and the end-to-end tests of the
# real Keyhaven.exe cross-built and run under Wine on a virtual X display, and
# the record-file fuzzers when clang is installed.
set -eu
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh all

cmake -S . -B build/native -DKEYHAVEN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$jobs"

scripts/build-win64.sh
scripts/web.sh --build
# The packages' install scripts would fetch browsers and drivers of their own.
npm ci --prefix tests/web --no-audit --no-fund --silent --ignore-scripts

fuzz=false
if command -v clang++ >/dev/null 2>&1; then
  fuzz=true
  cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DKEYHAVEN_FUZZ=ON \
        -DKEYHAVEN_TESTS=OFF >/dev/null
  cmake --build build/fuzz -j"$jobs"
fi

ctest --test-dir build/native --output-on-failure -j"$jobs"
# WebKitGTK runs on an Xvfb display of its own, or on KEYHAVEN_TEST_DISPLAY's.
node --test tests/web/same_bytes.test.mjs tests/web/browser.test.mjs tests/web/engines.test.mjs \
  tests/web/app.test.mjs
# The Wine tests run on a virtual display of their own, or on the X display
# that KEYHAVEN_TEST_DISPLAY names (say :0, to watch them).
if [ -n "${KEYHAVEN_TEST_DISPLAY:-}" ]; then
  DISPLAY=$KEYHAVEN_TEST_DISPLAY ctest --test-dir build/win64 --output-on-failure
else
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build/win64 --output-on-failure
fi
if $fuzz; then
  ctest --test-dir build/fuzz --output-on-failure -j"$jobs"
fi
