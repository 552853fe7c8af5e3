#!/usr/bin/env bash
# Runs clang-tidy with the checked-in .clang-tidy over Pelgar's own sources: every file that
# build/tidy compiles, the desktop host and the tests included, and the headers they include
# from the project's folders; then, when the mingw-w64 cross compiler is installed
# (scripts/install-deps.sh --windows), the Windows-only sources as the windows preset
# compiles them. Exits non-zero on any warning.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/tidy"
folders="app|bench|cli|config|device|firmware|hosts|platform|sim|tests|tools|ui"

"$root/scripts/install-deps.sh" --tidy

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

# The Windows-only folders, parsed for mingw-w64 with its own C++ headers (clang does not
# find them from the cross compiler's name). Only they: the rest was checked above. Two
# checks are off here: performance-no-int-to-ptr, since Windows hands a window's object
# through LPARAM and window longs; cert-dcl16-c, since mingw-w64's headers paste a lower-case
# "l" onto their constants (__MSABI_LONG), which clang-tidy reports with no place to mend.
if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  windows_build="$root/build/tidy-windows"
  cmake -S "$root" -B "$windows_build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Debug \
    -DPELGAR_BUILD_BENCH=OFF >/dev/null
  gcc_dir="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
  run-clang-tidy-14 -p "$windows_build" -j 2 -quiet -clang-tidy-binary clang-tidy-14 \
    -extra-arg=--target=x86_64-w64-mingw32 \
    -extra-arg=-isystem"$gcc_dir/include/c++" \
    -extra-arg=-isystem"$gcc_dir/include/c++/x86_64-w64-mingw32" \
    -checks=-performance-no-int-to-ptr,-cert-dcl16-c -header-filter="^$root/($folders)/" \
    "^$root/(hosts/win32|platform/win32|tests/.*/win32)/.*\.cpp$" ||
    status=$?
else
  echo "clang-tidy: the Windows sources were left out (no mingw-w64; install-deps.sh --windows)"
fi

echo "clang-tidy took $(( $(date +%s) - start )) s"
[ "$status" -eq 0 ] && echo "clang-tidy: no warnings" || echo "clang-tidy: warnings found" >&2
exit "$status"
