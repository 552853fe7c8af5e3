#!/usr/bin/env bash
# The Windows build and its tests, on this Linux machine: cross-compiles pelgar.exe and the
# test programs with mingw-w64 (the windows preset), runs every test program under Wine (the
# windows under Xvfb), then pelgar.exe end to end against the Linux pelgar-sim beside the
# Linux pelgar, and pelgarctl.exe beside the Linux pelgarctl. Also what
# `scripts/test.sh --windows` runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows

echo "== windows: build"
cmake --preset windows >/dev/null
cmake --build --preset windows

echo "== windows: test under Wine"
# One Wine prefix for the tests, made once, and one persistent wineserver so that each of the
# many test processes starts quickly. Wine's desktop process starts with the prefix's first
# program and keeps the display it found, so all of it runs inside one Xvfb display (the
# windows need it; the other tests do not mind it).
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  source scripts/wine-prefix.sh
  use_wine_prefix "$PWD/build/windows/wineprefix"
  status=0
  ctest --preset windows || status=$?
  wineserver -k
  exit "$status"'

echo "== windows: end to end under Wine"
# The Linux programs of scripts/test.sh's first build, which CI has made already.
cmake --preset ci >/dev/null
cmake --build --preset ci --target pelgar pelgar-sim pelgarctl
tests/wine/end_to_end.sh build/windows/pelgar.exe build/ci/pelgar-sim build/ci/pelgar
tests/wine/pelgarctl_end_to_end.sh build/windows/pelgarctl.exe build/ci/pelgar-sim build/ci/pelgarctl
