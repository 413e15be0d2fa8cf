#!/bin/sh
# Builds the release ZIP for Windows players in a build of its own with only
# what ships, no tests: build/package/Keyhaven-1.0.0.2-win64.zip
set -eu
cd "$(dirname "$0")/.."
build=build/package

scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DKEYHAVEN_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack -C Release >/dev/null)
ls -l "$build"/Keyhaven-*-win64.zip
