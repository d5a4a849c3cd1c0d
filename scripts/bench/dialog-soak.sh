#!/usr/bin/env bash
# Dialog soak: each of the program's own windows opened and closed over and over, watched for
# memory that grows. Each opening builds its window afresh, so whatever a closing leaves behind
# adds up here. On a private display with a window manager, bench_latency opens the Zone Euro
# window (Alt+Z, closed with Alt+F4: there Escape takes back an entry), the options window (Alt+O,
# Escape) and the about window (a click on the about image, which has no key; Escape), 1,000
# times each by default, waiting each time until the window is mapped and drawn and then gone.
# The memory is taken at checkpoints as scripts/bench/soak.sh takes it; at the end the main window
# must still convert.
#
# usage: scripts/bench/dialog-soak.sh [options]
#   --build-dir DIR   Release tree to use (default build-bench/, shared by the benchmarks);
#                     configured and built first unless --no-build
#   --no-build        use DIR as it is
#   --cycles N        openings of each window (default 1000)
#   --csv FILE        the checkpoints (default DIR/bench-dialog-soak.csv)
#
# Memory, in KiB: the written private pages (Private_Dirty: the heap and all else the program
# wrote, where a leak shows whatever other programs run), PSS alone (bench_pss, needs root) and
# plain PSS. "Flat": from the checkpoint after the warm-up (10 openings of each window, which
# fill the caches of fonts and pictures) to the last, the written pages grew by less than 1 MiB.
# Not part of the timed tests: it takes several minutes.
# shellcheck disable=SC2317,SC2119 # functions run through px_wait_for; optional arguments
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD_DIR=$ROOT/build-bench
BUILD=1
CYCLES=1000
CSV=""
WARMUP=10
CHECK=100
FLAT_KIB=1024

while [ $# -gt 0 ]; do
  case $1 in
    --build-dir) BUILD_DIR=$2; shift 2 ;;
    --no-build) BUILD=0; shift ;;
    --cycles) CYCLES=$2; shift 2 ;;
    --csv) CSV=$2; shift 2 ;;
    -h | --help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "dialog-soak.sh: unknown argument $1 (see --help)" >&2; exit 2 ;;
  esac
done
[ "$CYCLES" -ge 1 ] 2>/dev/null || { echo "dialog-soak.sh: --cycles needs a positive number" >&2; exit 2; }
[ -n "$CSV" ] || CSV=$BUILD_DIR/bench-dialog-soak.csv

# shellcheck source=scripts/bench/lib.sh
source "$ROOT/scripts/bench/lib.sh"
bench_build Tavelmarque xshot textprobe bench_pss bench_latency
for f in Tavelmarque xshot textprobe bench_latency; do
  [ -x "$BUILD_DIR/bin/$f" ] || { echo "dialog-soak.sh: $BUILD_DIR/bin/$f is missing" >&2; exit 1; }
done
LATENCY=$BUILD_DIR/bin/bench_latency

# From here on, the harness's waits and probes answer through their status: no set -e.
set +eu
PX_PROBE_OPTS=(--bold)
ABOUT_IMAGE=72,165          # the middle of the about image at 960,2355 twips

bench_desktop dialog-soak 1024x768
px_start_app
APP=$PX_APP_PID
WID=$(px_find_window 20)
[ -n "$WID" ] || fail "the window did not show"

# --- memory, as scripts/bench/soak.sh takes it ------------------------------------------------
echo "phase,window,cycles,dirty_kib,pss_alone_kib,pss_kib,rss_kib" >"$PX_WORK/soak.csv"
checkpoint() {  # checkpoint PHASE WINDOW CYCLES
  settle "$APP"
  local alone dirty pss
  alone=$(pss_alone "$APP")
  dirty=$(rollup "$APP" Private_Dirty)
  pss=$(rollup "$APP" Pss)
  echo "$1,$2,$3,$dirty,$alone,$pss,$(rollup "$APP" Rss)" >>"$PX_WORK/soak.csv"
  printf '  %-7s %-8s %5s cycles   written %6s KiB   PSS alone %6s KiB   PSS %6s KiB\n' \
    "$1" "$2" "$3" "$dirty" "${alone:--}" "$pss" >&2
}

# cycle WINDOW N: opens and closes the window N times.
cycle() {
  local args
  case $1 in
    zone) args=(--dialog alt+z --close alt+F4) ;;
    options) args=(--dialog alt+o --close Escape) ;;
    about) args=(--click "$ABOUT_IMAGE" --close Escape) ;;
  esac
  "$LATENCY" --pid "$APP" --window "$WID" --rounds "$2" --label "$1" "${args[@]}" >"$PX_WORK/last" ||
    fail "$1: the window did not open and close: $(cat "$PX_WORK/last")"
  px_running "$APP" || fail "the program ended while $1 was opened and closed"
  local missed
  missed=$(sed -n 's/.* missed=\([0-9]*\).*/\1/p' "$PX_WORK/last")
  [ "${missed:-1}" = 0 ] || echo "  $1: $missed of $2 openings not seen drawn" >&2
}

sleep 1
checkpoint start - 0
for window in zone options about; do cycle "$window" "$WARMUP"; done
checkpoint warm all "$WARMUP"
started=$(px_now_ms)
for window in zone options about; do
  done_cycles=$WARMUP
  while [ "$done_cycles" -lt "$CYCLES" ]; do
    n=$((CYCLES - done_cycles < CHECK ? CYCLES - done_cycles : CHECK))
    cycle "$window" "$n"
    done_cycles=$((done_cycles + n))
    checkpoint soak "$window" "$done_cycles"
  done
done
echo "  $CYCLES openings of each window in $((($(px_now_ms) - started) / 1000)) s" >&2

converts "after the openings, 100 Enter still converts to 15.24 euros" \
  "Escape 1 0 0 Return" 15.24 15,24 100 0 655.96

# --- report ------------------------------------------------------------------------------------
mkdir -p "$(dirname "$CSV")"
cp "$PX_WORK/soak.csv" "$CSV"
column() { csv_column "$CSV" "$1"; }
start=$(column dirty_kib | awk '$1 == "start" { print $2; exit }')
warm=$(column dirty_kib | awk '$1 == "warm" { print $2; exit }')
last=$(column dirty_kib | tail -n 1 | awk '{ print $2 }')
peak=$(column dirty_kib | awk '$1 != "start" { if ($2 > m) m = $2 } END { print m }')
echo "written pages at the start $start KiB, after the warm-up $warm KiB, at the end $last KiB," \
  "highest $peak KiB"
alone=$(column pss_alone_kib | awk '$2 != "" { v[++n] = $2 } END {
  if (n) printf "PSS alone at the start %s KiB, after the warm-up %s KiB, at the end %s KiB\n", v[1], v[2], v[n] }')
[ -z "$alone" ] || echo "$alone"
echo "checkpoints: $CSV"
if [ $((last - warm)) -lt "$FLAT_KIB" ] && [ $((peak - warm)) -lt "$FLAT_KIB" ]; then
  bench_pass "memory stays flat after the warm-up (written pages within $FLAT_KIB KiB)"
else
  bench_fail "memory stays flat after the warm-up (written pages within $FLAT_KIB KiB)" \
    "after the warm-up $warm KiB, at the end $last KiB, highest $peak KiB"
fi
bench_finish
