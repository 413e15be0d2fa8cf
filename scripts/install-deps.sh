#!/bin/sh
# Installs what building, playing and testing need on Debian or Ubuntu.
# Quiet and quick when everything is there already.
#   install-deps.sh          the Windows game: building it, playing it, its tests
#   install-deps.sh web      the browser game: building its site
#   install-deps.sh browser  that, and Chromium, Firefox ESR, WebKitGTK's driver and
#                            npm for the page's tests and benchmark
#   install-deps.sh all      everything
set -eu

desktop="cmake make g++ googletest g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 \
wine wine64 xvfb xauth locales fonts-ipafont-gothic fonts-wine python3-fonttools \
python3"
# Emscripten brings Node.js; the fonts are cut down to WOFF2 with Brotli.
web="cmake make python3 emscripten fonts-ipafont-gothic python3-fonttools python3-brotli"
# The page's tests run in three engines: Chromium, Firefox ESR (driven over
# WebDriver BiDi) and WebKitGTK (its WebDriver and MiniBrowser, on a virtual
# display); the browser group needs Xvfb too when the desktop's are not there.
engines="chromium firefox-esr webkit2gtk-driver xvfb xauth"
# The fuzzers need clang and its runtime; without them they are skipped.
optional="clang libclang-rt-14-dev"

group=${1:-desktop}
case $group in
  desktop) packages=$desktop ;;
  web) packages=$web optional="" ;;
  browser) packages="$web $engines" optional="" ;;
  all) packages="$desktop $web $engines" ;;
  *) echo "usage: $0 [web|browser|all]" >&2; exit 2 ;;
esac
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
# A Node.js from elsewhere may bring its own npm.
if { [ "$group" = browser ] || [ "$group" = all ]; } && ! command -v npm >/dev/null 2>&1; then
  missing="$missing npm"
fi

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
if [ "$group" = desktop ] || [ "$group" = all ]; then
  for loc in ja_JP en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
      echo "Generating the $loc.UTF-8 locale"
      as_root sed -i "s/^# *\($loc.UTF-8 UTF-8\)/\1/" /etc/locale.gen
      grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
      as_root locale-gen >/dev/null
    fi
  done
fi
