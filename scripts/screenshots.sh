#!/usr/bin/env bash
# Renders each of Pelgar's windows from the real Qt host, against the simulated reader, into
# docs/screenshots/*.png: the main window after Get Config (and with a tip showing), the
# enhanced configuration window, the update window midway and the about box. Runs under
# Xvfb, so it needs no display of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if ! command -v xvfb-run >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get install -y -qq --no-install-recommends xvfb xauth >/dev/null
fi

cmake --preset release >/dev/null
cmake --build --preset release --target pelgar-screenshots
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 1280x1024x24" build/release/pelgar-screenshots docs/screenshots
rm -f docs/screenshots/screenshots-firmware.hex
ls docs/screenshots/*.png
