#!/usr/bin/env bash
# Draws hosts/win32/pelgar.ico, the Windows program's icon, from the Qt host's
# hosts/qt/pelgar.svg: one picture each at 16, 32, 48 and 256 pixels, so that Windows never
# scales a small one up. The icon is committed; run this again after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --screenshots

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sizes=(16 32 48 256)
pictures=()
for size in "${sizes[@]}"; do
  rsvg-convert -w "$size" -h "$size" -o "$work/$size.png" hosts/qt/pelgar.svg
  pictures+=("$work/$size.png")
done
# ImageMagick itself, not a stand-in of the same name earlier on the path.
/usr/bin/convert "${pictures[@]}" hosts/win32/pelgar.ico
/usr/bin/identify hosts/win32/pelgar.ico
