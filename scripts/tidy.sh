#!/usr/bin/env bash
# Runs clang-tidy with the checked-in .clang-tidy over Pelgar's own sources: every file that
# build/tidy compiles, the desktop host and the tests included, and the headers they include
# from the project's folders. Exits non-zero on any warning.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/tidy"
folders="app|bench|config|device|firmware|hosts|platform|sim|tests|ui"

if ! command -v run-clang-tidy-14 >/dev/null || ! command -v clang-tidy-14 >/dev/null; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please install clang-tidy-14 as root" >&2; exit 1; }
    sudo=sudo
  fi
  echo "Installing clang-tidy-14 ..."
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends clang-tidy-14
fi

start=$(date +%s)
# Configuring is enough: compile_commands.json names every source with its flags (the Qt
# include folders among them), and the only generated header, version.h, is written then.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELGAR_BUILD_TESTS=ON \
  -DPELGAR_BUILD_BENCH=ON >/dev/null

status=0
# The header filter given here is anchored at the checkout, stricter than the .clang-tidy one
# that editors use, so no system folder of the same name can match.
run-clang-tidy-14 -p "$build" -j 2 -quiet -clang-tidy-binary clang-tidy-14 \
  -header-filter="^$root/($folders)/" "^$root/($folders)/" || status=$?

echo "clang-tidy took $(( $(date +%s) - start )) s"
[ "$status" -eq 0 ] && echo "clang-tidy: no warnings" || echo "clang-tidy: warnings found" >&2
exit "$status"
