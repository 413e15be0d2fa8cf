#!/bin/sh
# Installs what is missing, configures the Windows cross build in build/win64
# and builds the given targets (everything when none is given).
#   build-win64.sh [TARGET...]
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
if [ $# -gt 0 ]; then
  cmake --build build/win64 -j"$(nproc)" --target "$@"
else
  cmake --build build/win64 -j"$(nproc)"
fi
