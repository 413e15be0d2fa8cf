#!/bin/sh
# Installs what building, playing and testing need on Debian or Ubuntu.
# Quiet and quick when everything is there already.
set -eu

packages="cmake make g++ googletest g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 \
wine wine64 xvfb xauth locales fonts-ipafont-gothic fonts-wine python3-fonttools \
python3"
# The fuzzers need clang and its runtime; without them they are skipped.
optional="clang libclang-rt-14-dev"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
for p in $optional; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$p" >/dev/null 2>&1 ||
    echo "Optional package $p is not available; the fuzzers will be skipped"
done

# Wine takes its ANSI code page from the locale, and only from one that exists:
# Japanese for the game and its tests, English for the tests that check the
# game keeps its own code page on another system.
for loc in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
    echo "Generating the $loc.UTF-8 locale"
    as_root sed -i "s/^# *\($loc.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
done
