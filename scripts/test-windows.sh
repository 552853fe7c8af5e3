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

# One Wine prefix for the tests, made once, and one persistent wineserver so that each of the
# many test processes starts quickly.
source scripts/wine-prefix.sh
use_wine_prefix "$PWD/build/windows/wineprefix"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

echo "== windows: test under Wine"
# The windows need a display; the other tests do not mind one.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows

echo "== windows: end to end under Wine"
# The Linux programs of scripts/test.sh's first build, which CI has made already.
cmake --preset ci >/dev/null
cmake --build --preset ci --target pelgar pelgar-sim
tests/wine/end_to_end.sh build/windows/pelgar.exe build/ci/pelgar-sim build/ci/pelgar
