#!/usr/bin/env bash
# Builds pelgar and pelgar-sim for release, hardened as Debian builds its packages, and makes
# their Debian package. Prints only the package's path on standard output, so that
# `deb=$(scripts/package.sh)` works; the build's own output goes to standard error.
#
# Two runs on one commit make the same package byte for byte, whatever was built before:
# every file's time is the last commit's (SOURCE_DATE_EPOCH, unless already set), and the
# package build preset fixes the time Qt's resource compiler writes into the program
# (QT_RCC_SOURCE_DATE_OVERRIDE), which would be the icon's file time or SOURCE_DATE_EPOCH,
# neither of which an incremental build tracks. PELGAR_PACKAGE_MAINTAINER="Name <address>"
# names another maintainer. tests/package/check_package.sh checks the result.
set -euo pipefail
cd "$(dirname "$0")/.."
exec 3>&1 1>&2
scripts/install-deps.sh

export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}"
# Configured afresh from the preset each time (the objects stay), so that nothing set by hand
# in an earlier run reaches the package.
rm -f build/package/CMakeCache.txt
cmake --preset package \
  ${PELGAR_PACKAGE_MAINTAINER:+"-DPELGAR_PACKAGE_MAINTAINER=$PELGAR_PACKAGE_MAINTAINER"} >/dev/null
cmake --build --preset package
cd build/package
rm -f ./*.deb
cpack -G DEB
realpath ./*.deb >&3
