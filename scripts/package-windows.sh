#!/usr/bin/env bash
# Builds pelgar.exe (the windows preset) and packs build/windows/pelgar-<version>-win64.zip:
# pelgar.exe and pelgarctl.exe, which need no DLL beside them, the README, the licence and
# the manual pages as text, and the example configuration files, all text with Windows line
# ends. Prints the zip's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows

cmake --preset windows >/dev/null
cmake --build --preset windows --target pelgar pelgarctl
version="$(sed -n 's/.*kVersion = "\(.*\)";/\1/p' build/windows/generated/version.h)"
name="pelgar-$version-win64"
stage="build/windows/package/$name"
rm -rf "build/windows/package" "build/windows/$name.zip"
mkdir -p "$stage/examples"

# Line ends for Notepad; the configuration files already have them and stay byte for byte.
crlf() { sed 's/\r$//; s/$/\r/'; }
# Without the debugging information, which only a developer with the build tree can use.
x86_64-w64-mingw32-strip -o "$stage/pelgar.exe" build/windows/pelgar.exe
x86_64-w64-mingw32-strip -o "$stage/pelgarctl.exe" build/windows/pelgarctl.exe
crlf <README.md >"$stage/README.txt"
crlf <LICENSE >"$stage/LICENSE.txt"
MANWIDTH=80 man --warnings=!all -l build/windows/docs/pelgar.1 2>/dev/null | col -bx | crlf \
  >"$stage/pelgar.txt"
MANWIDTH=80 man --warnings=!all -l build/windows/docs/pelgarctl.1 2>/dev/null | col -bx | crlf \
  >"$stage/pelgarctl.txt"
for page in pelgar pelgarctl; do
  [ -s "$stage/$page.txt" ] || { echo "The manual page $page did not render" >&2; exit 1; }
done
for file in examples/*; do
  case "$file" in
    *.DAT) cp "$file" "$stage/examples/" ;;
    *) crlf <"$file" >"$stage/examples/$(basename "$file" .md).txt" ;;
  esac
done
(cd build/windows/package && zip -q -r -X "../$name.zip" "$name")
realpath "build/windows/$name.zip"
