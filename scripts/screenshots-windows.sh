#!/usr/bin/env bash
# Saves each of Pelgar's windows as the Windows program shows them, under Wine and Xvfb,
# against the in-process simulated reader, into docs/screenshots/windows-*.png: the main
# window after Get Config (and with a tip showing), the about box, the enhanced configuration
# window and the update window midway. Builds the windows preset (PELGAR_WINDOWS_BUILD names
# another build folder).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows
# Wine's own fonts: MS Sans Serif, Tahoma and Marlett (the caption buttons' glyphs) look as
# on Windows; without them the dialogs take whatever the system has, at other sizes.
if ! dpkg-query -W -f='${Status}' fonts-wine 2>/dev/null | grep -q "install ok installed"; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    fonts-wine >/dev/null
fi

build=${PELGAR_WINDOWS_BUILD:-build/windows}
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target pelgar-screenshots

# A prefix of its own, so that the settings below change nothing for the tests.
export WINEPREFIX="$PWD/$build/screenshots-prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine)"
if [ ! -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
  # Wine draws each window's frame itself, as Windows does, rather than leaving it to an X
  # window manager, which Xvfb has none of.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  # Debian's Wine finds its own fonts only in the prefix's Fonts folder.
  ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
fi

pictures=$(mktemp -d)
trap 'rm -rf "$pictures"; wineserver -k >/dev/null 2>&1 || true' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$wine" "$build/pelgar-screenshots.exe" "Z:${pictures//\//\\}"
mkdir -p docs/screenshots
for picture in "$pictures"/*.bmp; do
  name=$(basename "$picture" .bmp)
  # ImageMagick itself, not a stand-in of the same name earlier on the path.
  /usr/bin/convert "$picture" -strip "docs/screenshots/windows-$name.png"
done
ls docs/screenshots/windows-*.png
