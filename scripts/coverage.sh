#!/usr/bin/env bash
# Builds Pelgar with gcc's coverage counters, runs every test (the executables the end-to-end
# tests start count too), and prints the lines and branches the tests reach, per folder.
# Branches that only throw or that the compiler made unreachable are left out: they are the
# compiler's, not ours. The screenshot programs in tools/ are developer tools that no test
# runs, and CMake's probe of the compiler is not ours either.
#
#   scripts/coverage.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --coverage

cmake --preset coverage >/dev/null
cmake --build --preset coverage
find build/coverage -name '*.gcda' -delete
status=0
ctest --preset coverage || status=$?

summary=build/coverage/coverage.json
# Several pelgar-sim processes may end at once and leave a counter gcov cannot read: that line
# is skipped rather than the whole report lost.
gcovr --root . --object-directory build/coverage --gcov-ignore-parse-errors \
  --filter '(app|cli|config|device|firmware|platform|sim|ui|hosts)/' \
  --exclude-directories 'build/coverage/CMakeFiles/[0-9.]+$' \
  --exclude-throw-branches --exclude-unreachable-branches \
  --json-summary "$summary" build/coverage >/dev/null
python3 - "$summary" <<'EOF'
import json, sys

folders = ["app/", "cli/", "config/", "device/", "firmware/", "platform/", "sim/", "ui/",
           "hosts/qt/"]
sums = {folder: [0, 0, 0, 0] for folder in folders + ["total"]}
for entry in json.load(open(sys.argv[1]))["files"]:
    counts = [entry["line_covered"], entry["line_total"],
              entry["branch_covered"], entry["branch_total"]]
    for key in [f for f in folders if entry["filename"].startswith(f)] + ["total"]:
        sums[key] = [a + b for a, b in zip(sums[key], counts)]

def percent(covered, total):
    return f"{100.0 * covered / total:5.1f}%" if total else "    -"

print(f"{'folder':<10} {'lines':>17} {'branches':>17}")
for key, (lines, line_total, branches, branch_total) in sums.items():
    if line_total:
        print(f"{key:<10} {percent(lines, line_total)} {lines:5}/{line_total:<5}"
              f" {percent(branches, branch_total)} {branches:5}/{branch_total:<5}")
EOF
exit $status
