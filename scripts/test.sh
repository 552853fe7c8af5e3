#!/usr/bin/env bash
# Checks the layout of every C++ file and who includes whom (scripts/check-layers.py), builds
# Pelgar with warnings as errors, runs every test, then does the same under AddressSanitizer
# and UndefinedBehaviorSanitizer. With
# --windows it builds and tests the Windows program under Wine instead
# (scripts/test-windows.sh). Last, pelgarctl's tests of many readers at once under
# ThreadSanitizer (the tsan preset builds only what they need).
#
#   scripts/test.sh [--windows]
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${1:-}" = "--windows" ] && exec scripts/test-windows.sh
scripts/install-deps.sh

echo "== format"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "== layers"
python3 scripts/check-layers.py

for preset in ci ci-asan; do
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test"
  ctest --preset "$preset"
done

echo "== tsan: pelgarctl's many readers at once"
cmake --preset tsan >/dev/null
cmake --build --preset tsan
ctest --preset tsan
