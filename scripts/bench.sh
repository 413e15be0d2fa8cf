#!/bin/sh
# Measures the real Keyhaven.exe under Wine side by side with a bare Win32
# window: start-up, idle CPU, the time of one typed key with its repaint, peak
# memory and exe size. Builds what it needs first; runs on a virtual display.
set -eu
cd "$(dirname "$0")/.."
build=build/win64

scripts/install-deps.sh

echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "wine:    $(wine --version)"
echo "date:    $(date -u '+%Y-%m-%d %H:%M:%S UTC'), load average $(cut -d ' ' -f 1-3 /proc/loadavg)"
echo

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
if ! cmake --build "$build" -j"$(nproc)" --target game_folder keyhaven_bench >"$build/bench-build.log" 2>&1; then
  cat "$build/bench-build.log" >&2
  exit 1
fi

# Without a sound card every hit sound makes the audio library complain on
# stderr; keep everything else the run says there.
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" \
  scripts/wine-run "$(pwd)/$build/wineprefix" "$build/tests/bench/keyhaven_bench.exe" \
  2>"$build/bench-stderr.log" || status=$?
grep -v '^ALSA lib' "$build/bench-stderr.log" >&2 || true
exit $status
