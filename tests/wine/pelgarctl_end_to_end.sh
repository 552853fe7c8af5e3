#!/usr/bin/env bash
# pelgarctl.exe under Wine against Linux pelgar-sim readers, beside the Linux pelgarctl: apply
# with --verify on two readers at once (one named by its device path), JSON lines, get, an
# absent reader that fails alone, and the frames of an apply, which must be the same from both
# programs.
#
#   tests/wine/pelgarctl_end_to_end.sh PELGARCTL_EXE PELGAR_SIM LINUX_PELGARCTL
#
# Runs in a fresh Wine prefix whose COM3 and COM4 link to the simulators' pseudo-terminals.
# PELGAR_KEEP_WORK=1 keeps the work folder for a look.
set -euo pipefail
exe="$(realpath "$1")"
sim="$(realpath "$2")"
linux_ctl="$(realpath "$3")"
here="$(cd "$(dirname "$0")/../.." && pwd)"

work="$(mktemp -d /tmp/pelgarctl-wine-e2e.XXXXXX)"
sim_pids=()
cleanup() {
  stop_readers
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${PELGAR_KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

export PELGAR_PORT_DIR="$work/ports" PELGAR_TIME_SCALE="${PELGAR_TIME_SCALE:-8}"
mkdir -p "$PELGAR_PORT_DIR"
source "$here/scripts/wine-prefix.sh"
use_wine_prefix "$work/wineprefix"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Fresh readers on COM3 and COM4, in the wedge position.
start_readers() {
  stop_readers
  for n in 3 4; do
    rm -f "$PELGAR_PORT_DIR/COM$n" "$work/flash$n"
    "$sim" --port "COM$n" --switch wedge --state "$work/flash$n" >"$work/sim$n.log" 2>&1 &
    sim_pids+=($!)
  done
  for n in 3 4; do
    for _ in $(seq 100); do [ -L "$PELGAR_PORT_DIR/COM$n" ] && break; sleep 0.05; done
    ln -sfn "$PELGAR_PORT_DIR/COM$n" "$WINEPREFIX/dosdevices/com$n"
  done
}
stop_readers() {
  for pid in "${sim_pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  sim_pids=()
}

# ctl NAME EXPECTED_STATUS windows|linux ARGS...: output in $work/NAME.out (CR LF made LF), the
# wire's events without time and device in $work/NAME.wire.
ctl() {
  local name="$1" expected="$2" program="$3" status=0
  shift 3
  rm -f "$work/$name.trace"
  if [ "$program" = windows ]; then
    (cd "$work" && timeout 120 "$wine" "$exe" --trace "$work/$name.trace" "$@" \
      </dev/null >"$work/$name.raw" 2>&1) || status=$?
  else
    (cd "$work" && timeout 120 "$linux_ctl" --trace "$work/$name.trace" "$@" \
      </dev/null >"$work/$name.raw" 2>&1) || status=$?
  fi
  tr -d '\r' <"$work/$name.raw" >"$work/$name.out"
  [ -f "$work/$name.trace" ] && tr -d '\r' <"$work/$name.trace" | cut -d' ' -f3- >"$work/$name.wire"
  [ "$status" -eq "$expected" ] || fail "$name: exit status $status, expected $expected"
}
expect_output() {
  grep -qF -- "$2" "$work/$1.out" || { fail "$1: no \"$2\" in its output:"; cat "$work/$1.out" >&2; }
}

cp "$here/examples/WRAPPED.DAT" "$work/WRAPPED.DAT"
start_readers
ctl apply 0 windows -j -p 'COM3,\\.\COM4' apply WRAPPED.DAT --verify
expect_output apply '{"port":"COM3","device":"\\\\.\\COM3","command":"apply","result":"ok"'
expect_output apply '{"port":"\\\\.\\COM4","device":"\\\\.\\COM4","command":"apply","result":"ok"'
expect_output apply '"verified":true'
ctl get 0 windows -p COM4 get
expect_output get "12H:["
ctl absent 1 windows -p COM3,COM5 info
expect_output absent "COM3: REV 2.30, switch wedge, enhanced settings"
expect_output absent "pelgarctl: COM5: not claimed"

# The same apply from both programs, each on a fresh reader: the same frames.
for program in linux windows; do
  start_readers
  ctl "wire-$program" 0 "$program" -p COM3 apply WRAPPED.DAT
done
stop_readers
if ! diff -u "$work/wire-linux.wire" "$work/wire-windows.wire" >"$work/wire.diff"; then
  fail "the programs sent different frames or got different replies:"
  cat "$work/wire.diff" >&2
elif ! grep -q '^send :06' "$work/wire-windows.wire"; then
  fail "no configuration was sent"
fi

if [ "$failures" -ne 0 ]; then
  echo "pelgarctl end to end under Wine: $failures failed; kept $work" >&2
  PELGAR_KEEP_WORK=1
  exit 1
fi
echo "pelgarctl end to end under Wine: apply and verify on two readers, get, an absent reader, the same frames as on Linux"
