#!/usr/bin/env bash
# Builds pelgar and pelgar-sim for release and makes their Debian package; prints its path.
# The package's dependencies are worked out by dpkg-shlibdeps from the executables.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset package >/dev/null
cmake --build --preset package
cd build/package
rm -f ./*.deb
cpack -G DEB >&2
realpath ./*.deb
