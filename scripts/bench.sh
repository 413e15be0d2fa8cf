#!/bin/sh
# Measures the real Keyhaven.exe under Wine side by side with a bare Win32
# window: start-up, idle CPU, the time of one typed key with its repaint, peak
# memory and exe size. Builds what it needs first; runs on a virtual display.
set -eu
cd "$(dirname "$0")/.."
build=build/win64

mkdir -p "$build"
if ! scripts/build-win64.sh game_folder keyhaven_bench >"$build/bench-build.log" 2>&1; then
  cat "$build/bench-build.log" >&2
  exit 1
fi

# Other work on the machine shows in every figure; the load average says how much.
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "wine:    $(wine --version 2>/dev/null)"
echo "date:    $(date -u '+%Y-%m-%d %H:%M:%S UTC'), load average $(cut -d ' ' -f 1-3 /proc/loadavg)"
echo

# The driver ends every program it started; waiting for the prefix's Wine
# server to go lets Wine's own helpers end before the display does. Without a
# sound card every hit sound makes the audio library complain on stderr; keep
# everything else the run says there.
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  scripts/wine-run "$1" "$2" && status=0 || status=$?
  WINEPREFIX="$1" wineserver -w
  exit $status' bench "$(pwd)/$build/wineprefix" "$build/bench/keyhaven_bench.exe" \
  2>"$build/bench-stderr.log" || status=$?
grep -v '^ALSA lib' "$build/bench-stderr.log" >&2 || true
exit $status
