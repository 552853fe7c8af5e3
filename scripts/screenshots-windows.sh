#!/usr/bin/env bash
# Saves each of Pelgar's windows as the Windows program shows them, under Wine and Xvfb,
# against the in-process simulated reader, into docs/screenshots/windows-*.png: the main
# window after Get Config (and with a tip showing), the about box, the enhanced configuration
# window and the update window midway. Builds the windows preset (PELGAR_WINDOWS_BUILD names
# another build folder).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows
build=${PELGAR_WINDOWS_BUILD:-build/windows}
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target pelgar-screenshots

pictures=$(mktemp -d)
trap 'rm -rf "$pictures"' EXIT
# A prefix of its own, so that nothing here changes what the tests see. Wine's desktop
# process keeps the display it started with, so the prefix is made inside the same Xvfb
# display as the pictures.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  source scripts/wine-prefix.sh
  use_wine_prefix "$PWD/$1/screenshots-prefix"
  status=0
  "$wine" "$1/pelgar-screenshots.exe" "$2" || status=$?
  wineserver -k
  exit "$status"' screenshots "$build" "Z:${pictures//\//\\}"
mkdir -p docs/screenshots
for picture in "$pictures"/*.bmp; do
  name=$(basename "$picture" .bmp)
  # ImageMagick itself, not a stand-in of the same name earlier on the path.
  /usr/bin/convert "$picture" -strip "docs/screenshots/windows-$name.png"
done
ls docs/screenshots/windows-*.png
