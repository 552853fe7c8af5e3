#!/usr/bin/env bash
# pelgar.exe under Wine against the Linux pelgar-sim, beside the Linux pelgar doing the same:
# a configuration load, a debug command and a reader that is not there, each with its exit
# status, the reader's flash afterwards, and the frames on the wire, which must be the same
# from both programs. Then the bad inputs that Windows has as well, each with its status and
# the line that says why (tests/e2e/BadInputEndToEndTest.cpp has them all on Linux).
#
#   tests/wine/end_to_end.sh PELGAR_EXE PELGAR_SIM LINUX_PELGAR
#
# Runs in a fresh Wine prefix whose COM3 links to the simulator's pseudo-terminal.
# PELGAR_KEEP_WORK=1 keeps the work folder (outputs, traces) for a look. Exclusive opening of
# the port is not tried here: Wine does not enforce the sharing mode.
set -euo pipefail
exe="$(realpath "$1")"
sim="$(realpath "$2")"
linux_pelgar="$(realpath "$3")"
here="$(cd "$(dirname "$0")/../.." && pwd)"

work="$(mktemp -d /tmp/pelgar-wine-e2e.XXXXXX)"
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${PELGAR_KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

# Eightfold: the programs' 500 ms read windows take 62.5 ms, a margin that a busy machine
# keeps (and Wine's reads return only at the end of a slice).
export PELGAR_PORT_DIR="$work/ports" PELGAR_TIME_SCALE="${PELGAR_TIME_SCALE:-8}"
mkdir -p "$PELGAR_PORT_DIR"
source "$here/scripts/wine-prefix.sh"
use_wine_prefix "$work/wineprefix"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# A fresh reader with the same flash for each run, on COM3 for both programs; the arguments
# go to pelgar-sim.
start_reader() {
  stop_reader
  rm -f "$PELGAR_PORT_DIR/COM3"
  printf '# pelgar-sim reader flash\noption_byte 51\n' >"$work/flash"
  "$sim" --port COM3 --state "$work/flash" "$@" >"$work/sim.log" 2>&1 &
  sim_pid=$!
  for _ in $(seq 100); do [ -L "$PELGAR_PORT_DIR/COM3" ] && break; sleep 0.05; done
  ln -sfn "$PELGAR_PORT_DIR/COM3" "$WINEPREFIX/dosdevices/com3"
}
stop_reader() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  sim_pid=""
}

# run NAME EXPECTED_STATUS PROGRAM ARGUMENT...: output (standard error too) in $work/NAME.out,
# CR LF made LF, and the wire's events without time and device in $work/NAME.wire.
run() {
  local name="$1" expected="$2" program="$3" status=0
  shift 3
  rm -f "$work/$name.trace"
  if [ "$program" = windows ]; then
    (cd "$work" && PELGAR_TRACE="$work/$name.trace" timeout 120 "$wine" "$exe" "$@" \
      </dev/null >"$work/$name.raw" 2>&1) || status=$?
  else
    (cd "$work" && PELGAR_TRACE="$work/$name.trace" timeout 120 "$linux_pelgar" "$@" \
      </dev/null >"$work/$name.raw" 2>&1) || status=$?
  fi
  tr -d '\r' <"$work/$name.raw" >"$work/$name.out"
  [ -f "$work/$name.trace" ] && tr -d '\r' <"$work/$name.trace" | cut -d' ' -f3- >"$work/$name.wire"
  [ "$status" -eq "$expected" ] || fail "$name: exit status $status, expected $expected"
}
expect_output() {
  grep -qF -- "$2" "$work/$1.out" || { fail "$1: no \"$2\" in its output:"; cat "$work/$1.out" >&2; }
}
same_wire() {
  if ! diff -u "$work/$1-linux.wire" "$work/$1-windows.wire" >"$work/$1.diff"; then
    fail "$1: the programs sent different frames or got different replies:"
    cat "$work/$1.diff" >&2
  elif ! grep -q '^send ' "$work/$1-windows.wire"; then
    fail "$1: nothing was sent"
  fi
}

cp "$here/examples/CONFIG.DAT" "$work/CONFIG.DAT"
for program in linux windows; do
  start_reader
  run "load-$program" 0 "$program" "CONFIG.DAT,COM3,19200"
  expect_output "load-$program" "MSR Configuration is updated successfully."
  expect_output "load-$program" "This window will close in 5 seconds.... 5 4 3 2 1"
  stop_reader
  cp "$work/flash" "$work/flash-$program"
  grep -q '^option_byte 40$' "$work/flash-$program" || fail "load-$program: the flash is $(cat "$work/flash-$program")"

  start_reader
  run "debug-$program" 0 "$program" "/C:0100001118D6,COM3"
  expect_output "debug-$program" "MSR Command Response:"
  expect_output "debug-$program" ":0100001118D6.:03000011001800D4"
  stop_reader

  # Nobody on the port: not claimed, status 1, nothing written, one line that says why.
  rm -f "$PELGAR_PORT_DIR/COM3" "$WINEPREFIX/dosdevices/com3"
  run "absent-$program" 1 "$program" "CONFIG.DAT,COM3,19200"
  expect_output "absent-$program" "The MSR has not been claimed by the application."
  expect_output "absent-$program" "MSR not claimed: COM3: "
  expect_output "absent-$program" "; tried 10 times"
  ! grep -qE "Error (restoring|opening)" "$work/absent-$program.out" ||
    fail "absent-$program: more than the one line about the claim"
done

# Bad input: case name, exit status, the line that says why, then pelgar.exe's arguments.
printf 'Zyr MSR Configuration File\r\n' >"$work/one-line.dat"
: >"$work/empty.dat"
mkdir -p "$work/folder.dat"
enhanced='Zyr MSR Configuration File\r\n5c%%;+?\r\nZyr MSR Enhanced Configuration File\r\n'
printf "$enhanced"'12H:AB\\999\r\n12T:\r\n13:0F\r\n15:01\r\n' >"$work/bad-escape.dat"
printf 'Zyr MSR Configuration File\r\nZZ%%;+?\r\n' >"$work/lenient.dat"
start_reader
while IFS='|' read -r name expected line arguments; do
  # shellcheck disable=SC2086 # the arguments are split at blanks on purpose
  run "bad-$name" "$expected" windows $arguments
  expect_output "bad-$name" "$line"
done <<CASES
frame|1|pelgar: the command frame is longer than 49 characters|/C:$(printf '0%.0s' $(seq 60)),COM3
path|1|pelgar: the configuration file path is longer than 259 characters|$(printf 'p%.0s' $(seq 296)).DAT
port|1|pelgar: the port name is longer than 9 characters|CONFIG.DAT,COM1234567
baud-text|1|pelgar: the baud rate is longer than 9 characters|CONFIG.DAT,COM3,1234567890
rate|1|MSR not claimed: COM3: unsupported baud rate 12345 (9600, 19200 or 38400)|/C:0100001118D6,COM3,12345
missing|1|pelgar: none.dat: no such file|none.dat
blank|1|pelgar: fields are separated by commas, without blanks: pelgar FILE.DAT,COM3,19200|none.dat COM3 19200
folder|1|pelgar: folder.dat: is a folder|folder.dat
console|1|pelgar: CON.DAT: not a regular file|CON.DAT
null|1|pelgar: NUL.DAT: not a regular file|NUL.DAT
empty|1|pelgar: empty.dat: line 1 has no configuration header|empty.dat
one-line|1|pelgar: one-line.dat: no line 2|one-line.dat
escape|1|basic configuration stored; enhanced settings not sent: line 4: the escape at column 7|bad-escape.dat
lenient|0|pelgar: lenient.dat: line 2: no option byte, read as 00|lenient.dat
help|0|Usage: PELGAR.EXE|--help
version|0|pelgar 1.32|--version
CASES
stop_reader
for name in frame path port baud-text help version; do
  ! grep -q "This window will close" "$work/bad-$name.out" || fail "bad-$name: counted down"
done
[ ! -f "$work/bad-rate.trace" ] || ! grep -q 12345 "$work/bad-rate.trace" ||
  fail "bad-rate: the trace names a rate the port was never set to"

# The reader falls silent in the middle of a load, then its port vanishes (the simulator
# ends, as an unplugged adapter would): no hang, status 1, a message that says so.
start_reader --fault silent-after=3
(sleep 1 && kill "$sim_pid") &
started=$(date +%s)
run vanish-windows 1 windows "CONFIG.DAT,COM3,19200"
took=$(( $(date +%s) - started ))
[ "$took" -le 30 ] || fail "vanish-windows: took $took s, the bound is 30 s"
grep -qE "^(The MSR has not been claimed|There was an error found)" "$work/vanish-windows.out" ||
  fail "vanish-windows: the summary does not say that the load failed"
wait
stop_reader

same_wire load
same_wire debug
cmp -s "$work/flash-linux" "$work/flash-windows" || fail "the two loads left different flash contents"

if [ "$failures" -ne 0 ]; then
  echo "end to end under Wine: $failures failed; kept $work" >&2
  PELGAR_KEEP_WORK=1
  exit 1
fi
echo "end to end under Wine: configuration load, debug command, absent reader and bad input as on Linux"
