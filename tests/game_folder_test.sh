#!/bin/sh
# The player's game folder across rebuilds (scripts/game-folder.sh, as play.sh
# runs it): a new exe comes in, the records there stay byte for byte, and
# records from the old built folder move over only while the player has none.
set -eu
folder=$(cd "$(dirname "$0")/../scripts" && pwd)/game-folder.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

built=$work/build/game
build() {  # a fresh build: its exe and sounds, and whatever records are given
  mkdir -p "$built"
  printf '%s' "$1" >"$built/Keyhaven.exe"
  printf 'RIFF' >"$built/bane.wav"
}
build exe-1
printf '\001\000\000\000old history' >"$built/Rank.dat"
printf '\002\000\000\000old best' >"$built/Best.dat"
cp "$built/Rank.dat" "$built/Best.dat" "$work/"

export XDG_DATA_HOME="$work/data"
game=$("$folder" "$built" 2>/dev/null)
[ "$game" = "$work/data/keyhaven" ] || fail "folder $game"
cmp -s "$work/Rank.dat" "$game/Rank.dat" && cmp -s "$work/Best.dat" "$game/Best.dat" ||
  fail "the old records did not move over"
[ ! -e "$built/Rank.dat" ] && [ ! -e "$built/Best.dat" ] || fail "the old records are still in the build"

# Records a build left behind again do not replace the player's, nor does a
# build from scratch.
build exe-2
printf 'stale' >"$built/Rank.dat"
"$folder" "$built" >/dev/null 2>&1
rm -rf "$work/build"
build exe-3
"$folder" "$built" >/dev/null 2>&1
[ "$(cat "$game/Keyhaven.exe")" = exe-3 ] && [ -f "$game/bane.wav" ] || fail "the new build was not copied in"
cmp -s "$work/Rank.dat" "$game/Rank.dat" && cmp -s "$work/Best.dat" "$game/Best.dat" ||
  fail "a rebuild changed the records"

game=$(HOME=$work/home XDG_DATA_HOME='' "$folder" "$built")
[ "$game" = "$work/home/.local/share/keyhaven" ] || fail "without XDG_DATA_HOME: folder $game"
