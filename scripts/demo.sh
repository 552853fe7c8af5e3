#!/usr/bin/env bash
# Builds Pelgar, starts the simulated reader on COM3 and runs pelgar against it:
# reads the slide switch with a raw command, then applies an example configuration file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset release >/dev/null
cmake --build --preset release --target pelgar pelgar-sim

# A port directory of the demo's own, so nothing in ~/.config is touched.
export PELGAR_PORT_DIR
PELGAR_PORT_DIR=$(mktemp -d)
# The simulator and pelgar agree on time; 4 makes the demo quick but readable.
export PELGAR_TIME_SCALE=${PELGAR_TIME_SCALE:-4}
build/release/pelgar-sim --port COM3 --switch wedge &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -rf "$PELGAR_PORT_DIR"' EXIT
for _ in $(seq 50); do [ -e "$PELGAR_PORT_DIR/COM3" ] && break; sleep 0.1; done

echo
echo "\$ pelgar /C:0100001118D6,COM3        # ask the reader for its slide switch"
build/release/pelgar /C:0100001118D6,COM3 || true
echo
echo
echo "\$ pelgar examples/CONFIG.DAT,COM3,19200   # apply a configuration file"
build/release/pelgar examples/CONFIG.DAT,COM3,19200 || true
echo
