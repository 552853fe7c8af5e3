#!/usr/bin/env bash
# Builds the libFuzzer harnesses (the fuzz preset) and runs each for SECONDS (default 60)
# over a copy of its seeds in tests/fuzz/corpus/<name>/. New inputs and findings go to a
# scratch folder, never into the repository. Prints per harness the executions, the
# coverage (libFuzzer's cov and ft) and the findings; exits with 1 when there is a finding.
#
#   scripts/fuzz.sh [SECONDS]
#
# PELGAR_FUZZ_SCRATCH names the scratch folder (default: a fresh one under /tmp, kept when
# something was found so that the crash files can be looked at). PELGAR_FUZZ_SEED fixes
# libFuzzer's seed (default 0: a new one each run).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

scripts/install-deps.sh --fuzz

echo "== fuzz: build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

scratch="${PELGAR_FUZZ_SCRATCH:-$(mktemp -d /tmp/pelgar-fuzz.XXXXXX)}"
bin=build/fuzz/tests/fuzz
found=0
printf '%-16s %12s %8s %8s  %s\n' harness executions cov ft findings
for corpus in tests/fuzz/corpus/*/; do
  name="$(basename "$corpus")"
  work="$scratch/$name"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/findings"
  cp -r "$corpus". "$work/corpus/"
  options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/findings/"
           -close_fd_mask=1 -seed="${PELGAR_FUZZ_SEED:-0}")
  [ -f "tests/fuzz/$name.dict" ] && options+=(-dict="tests/fuzz/$name.dict")
  status=0
  "$bin/fuzz_$name" "${options[@]}" "$work/corpus" >"$work/log" 2>&1 || status=$?
  runs="$(awk '/stat::number_of_executed_units:/ {print $2}' "$work/log")"
  coverage="$(grep -E '^#[0-9]+' "$work/log" | grep -o 'cov: [0-9]* ft: [0-9]*' | tail -1)"
  cov="$(awk '{print $2}' <<<"$coverage")"
  ft="$(awk '{print $4}' <<<"$coverage")"
  findings="$(find "$work/findings" -type f | wc -l)"
  if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
    found=1
    summary="$findings in $work/findings (exit status $status, log $work/log)"
  else
    summary=none
  fi
  printf '%-16s %12s %8s %8s  %s\n' "$name" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$summary"
done

if [ "$found" -ne 0 ]; then
  echo "Findings: see above; their inputs belong in tests/fuzz/corpus/<name>/ once fixed." >&2
  exit 1
fi
[ -z "${PELGAR_FUZZ_SCRATCH:-}" ] && rm -rf "$scratch"
exit 0
