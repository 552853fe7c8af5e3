#!/usr/bin/env bash
# Renders each of Pelgar's windows from the real Qt host, against the simulated reader, into
# docs/screenshots/*.png: the main window after Get Config (and with a tip showing), the
# enhanced configuration window, the update window midway and the about box. Runs under
# Xvfb with openbox managing the windows, so the pictures show the title bar and icon as a
# user sees them, and it needs no display of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --screenshots

cmake --preset release >/dev/null
cmake --build --preset release --target pelgar-screenshots
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  openbox & manager=$!
  # The windows must be framed as they appear: wait for the manager to take the screen,
  # and a moment more for it to finish starting (until then it frames windows unreliably).
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
  sleep 1
  status=0
  build/release/pelgar-screenshots docs/screenshots || status=$?
  kill "$manager"
  exit "$status"'
rm -f docs/screenshots/screenshots-firmware.hex
ls docs/screenshots/*.png
