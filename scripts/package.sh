#!/bin/sh
# Builds the release ZIP for Windows players: build/win64/Keyhaven-1.0.0.2-win64.zip
set -eu
cd "$(dirname "$0")/.."
scripts/build-win64.sh Keyhaven
(cd build/win64 && cpack -C Release >/dev/null)
ls -l build/win64/Keyhaven-*-win64.zip
