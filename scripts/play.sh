#!/bin/sh
# Builds Keyhaven.exe, brings the player's game folder up to date with it (see
# game-folder.sh) and starts the game there under Wine with a Japanese locale,
# in a prefix of its own whose windows the desktop manages.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/build-win64.sh game_folder
game=$(scripts/game-folder.sh build/win64/game)

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: set DISPLAY to an X server (or run under xvfb-run) to play." >&2
  echo "The game folder is ready in $game." >&2
  exit 1
fi

# Without a sound device the audio library complains at every sound: say so
# once and pass everything else on as it comes. The status is Wine's.
cd "$game"
exec 3>&1
status=$({ { "$root/scripts/wine-run" --play "$root/build/win64/play-wineprefix" Keyhaven.exe \
               2>&1 >&3 3>&- 4>&- && echo 0 >&4 || echo $? >&4; } |
           awk '/^ALSA lib/ { if (!seen++) print "(no sound device: the audio library messages are not shown)"; next }
                { print; fflush() }' >&2; } 4>&1)
exit "$status"
