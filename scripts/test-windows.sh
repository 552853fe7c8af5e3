#!/usr/bin/env bash
# The Windows build and its tests, on this Linux machine: cross-compiles pelgar.exe and the
# test programs with mingw-w64 (the windows preset), runs every test program under Wine (the
# windows under Xvfb), then pelgar.exe end to end against the Linux pelgar-sim beside the
# Linux pelgar. Also what `scripts/test.sh --windows` runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows

echo "== windows: build"
cmake --preset windows >/dev/null
cmake --build --preset windows

# One Wine prefix for the run, made once (about 15 s), and one persistent wineserver so that
# each of the many test processes starts quickly.
export WINEPREFIX="$PWD/build/windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine)"
"$wine" cmd /c exit >/dev/null 2>&1 || true
wineserver -p >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

echo "== windows: test under Wine"
# The windows need a display; the other tests do not mind one.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows

echo "== windows: end to end under Wine"
cmake --preset release >/dev/null
cmake --build --preset release --target pelgar pelgar-sim
tests/wine/end_to_end.sh build/windows/pelgar.exe build/release/pelgar-sim build/release/pelgar
