#!/bin/sh
# Builds the release ZIP for Windows players: build/win64/Keyhaven-1.0.0.2-win64.zip
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64 -j"$(nproc)" --target Keyhaven
(cd build/win64 && cpack -C Release >/dev/null)
ls -l build/win64/Keyhaven-*-win64.zip
