#!/bin/sh
# Builds Keyhaven.exe, lays out its game folder (the exe, its sounds, and the
# record files it writes) and starts the game under Wine with a Japanese locale.
set -eu
cd "$(dirname "$0")/.."

scripts/build-win64.sh game_folder

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: set DISPLAY to an X server (or run under xvfb-run) to play." >&2
  echo "The game folder is ready in build/win64/game." >&2
  exit 1
fi

cd build/win64/game
exec ../../../scripts/wine-run "$(pwd)/../wineprefix" Keyhaven.exe
