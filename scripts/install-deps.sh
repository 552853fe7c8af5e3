#!/usr/bin/env bash
# Installs what building, testing and packaging Pelgar needs on Debian 12, and nothing
# when it is all there already; every script installs what it needs through this one. With
# --windows, also what the Windows build and its tests under Wine need (a few hundred
# megabytes more, so only when asked); with --package, the tools that check the Debian
# package (tests/package/check_package.sh); the other options each name the script or
# preset that needs them.
#
#   scripts/install-deps.sh [--windows] [--package] [--coverage] [--clang] [--fuzz] [--tidy]
#                           [--screenshots]
set -euo pipefail

# clang-format checks the layout in scripts/test.sh; dpkg-dev's dpkg-shlibdeps works out
# the package's dependencies in scripts/package.sh. The window is Qt 6 Widgets: the
# platform plugins (a display's, and the offscreen one the tests use), the SVG plugin for
# the icon, and a font for windows drawn without a desktop. pelgarctl reads its options with
# CLI11 and writes JSON with nlohmann/json, both header-only (the Windows build uses them too).
packages=(cmake ninja-build g++ libgtest-dev libgmock-dev clang-format dpkg-dev
          qt6-base-dev qt6-qpa-plugins libqt6svg6 fonts-dejavu-core
          libcli11-dev nlohmann-json3-dev)
# The Windows build: mingw-w64's posix variant (the win32 one has no std::thread), GoogleTest's
# sources to build with it, Wine and its own fonts to run the tests, Xvfb for the windows,
# ImageMagick for the screenshots, zip and man for the package.
# The package's checks: lintian, hardening-check (devscripts), desktop-file-validate and
# appstreamcli.
for option in "$@"; do
  case "$option" in
    --windows)
      packages+=(g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-wine xvfb xauth imagemagick zip man-db) ;;
    --package) packages+=(lintian devscripts desktop-file-utils appstream) ;;
    --coverage) packages+=(gcovr) ;;  # scripts/coverage.sh
    --clang) packages+=(clang-14) ;;  # the clang preset
    --fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;  # scripts/fuzz.sh: libFuzzer
    --tidy) packages+=(clang-tidy-14) ;;  # scripts/tidy.sh
    # scripts/screenshots.sh: a display without a screen, a window manager to frame the
    # windows and xprop to see it start; scripts/make-windows-icon.sh: SVG and ICO.
    --screenshots) packages+=(xvfb xauth openbox x11-utils librsvg2-bin imagemagick) ;;
    *)
      echo "usage: $0 [--windows] [--package] [--coverage] [--clang] [--fuzz] [--tidy]" \
        "[--screenshots]" >&2
      exit 2
      ;;
  esac
done
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
echo "Installing ${missing[*]} ..."
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
