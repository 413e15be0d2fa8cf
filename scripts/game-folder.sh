#!/bin/sh
# Brings the player's game folder up to date with a build and prints its path:
# ${XDG_DATA_HOME:-$HOME/.local/share}/keyhaven, outside the build, so that the
# records survive a rebuild or a clean checkout.
#   game-folder.sh BUILT_FOLDER
# Copies the exe and the sounds from BUILT_FOLDER and never touches the records
# already there. Records that earlier versions kept in the built folder move
# over once, while the player's folder has none.
set -eu
built=$1
game="${XDG_DATA_HOME:-$HOME/.local/share}/keyhaven"

mkdir -p "$game"
if [ ! -e "$game/Rank.dat" ] && [ ! -e "$game/Best.dat" ]; then
  for records in Rank.dat Best.dat; do
    if [ -e "$built/$records" ]; then
      mv "$built/$records" "$game/"
      echo "Moved $records from $built to $game" >&2
    fi
  done
fi
# A copy that replaces a file instead of writing into it leaves a game that
# still runs from the folder unharmed.
for file in "$built"/*.exe "$built"/*.wav; do
  cp "$file" "$game/.incoming"
  mv -f "$game/.incoming" "$game/${file##*/}"
done
echo "$game"
