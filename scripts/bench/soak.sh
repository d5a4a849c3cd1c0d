#!/usr/bin/env bash
# Soak: the program under a long use, watched for memory that grows. On a private display with a
# window manager and a notification area (trayer), it is typed at (100,000 keys by default:
# amounts, the separator, Backspace, Enter, Tab, Escape, over and over) and then hidden with
# Alt+R and brought back with a double-click on its tray icon (1,000 times by default). Its
# memory is taken at checkpoints; at the end of each phase the window must still convert.
#
# usage: scripts/bench/soak.sh [options]
#   --build-dir DIR   Release tree to use (default build-bench/, shared by the benchmarks);
#                     configured and built first unless --no-build
#   --no-build        use DIR as it is
#   --keys N          keys typed (default 100000)
#   --cycles N        hide and show cycles (default 1000)
#   --csv FILE        the checkpoints (default DIR/bench-soak.csv)
#
# Memory, in KiB: the written private pages (Private_Dirty: the heap and everything else the
# program wrote, where a leak shows, whatever other programs run), PSS alone (bench_pss: as if no
# other Qt program ran; needs root), and plain PSS, which moves whenever another program maps or
# drops the same libraries. "Flat" means that from the first checkpoint after the warm-up (10,000
# keys) to the last, the written pages grew by less than 1 MiB: caches fill during the warm-up,
# a leak goes on growing. Not part of the timed tests: it takes several minutes.
# shellcheck disable=SC2317,SC2119 # functions run through px_wait_for; optional arguments
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD_DIR=$ROOT/build-bench
BUILD=1
KEYS=100000
CYCLES=1000
CSV=""
WARMUP_KEYS=10000
CHECK_KEYS=10000
CHECK_CYCLES=100
FLAT_KIB=1024

while [ $# -gt 0 ]; do
  case $1 in
    --build-dir) BUILD_DIR=$2; shift 2 ;;
    --no-build) BUILD=0; shift ;;
    --keys) KEYS=$2; shift 2 ;;
    --cycles) CYCLES=$2; shift 2 ;;
    --csv) CSV=$2; shift 2 ;;
    -h | --help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "soak.sh: unknown argument $1 (see --help)" >&2; exit 2 ;;
  esac
done
[ -n "$CSV" ] || CSV=$BUILD_DIR/bench-soak.csv

# shellcheck source=scripts/bench/lib.sh
source "$ROOT/scripts/bench/lib.sh"
bench_build Tavelmarque xshot textprobe bench_pss
for f in Tavelmarque xshot textprobe; do
  [ -x "$BUILD_DIR/bin/$f" ] || { echo "soak.sh: $BUILD_DIR/bin/$f is missing" >&2; exit 1; }
done

# From here on, the harness's waits and probes answer through their status: no set -e.
set +eu
PX_PROBE_OPTS=(--bold)

bench_desktop soak 1024x768 --tray
px_start_app
APP=$PX_APP_PID
WID=$(px_find_window 20)
[ -n "$WID" ] || fail "the window did not show"

# --- memory ------------------------------------------------------------------------------------
echo "phase,keys,cycles,dirty_kib,pss_alone_kib,pss_kib,rss_kib" >"$PX_WORK/soak.csv"
checkpoint() {  # checkpoint PHASE KEYS CYCLES
  settle "$APP"
  local alone dirty pss
  alone=$(pss_alone "$APP")
  dirty=$(rollup "$APP" Private_Dirty)
  pss=$(rollup "$APP" Pss)
  echo "$1,$2,$3,$dirty,$alone,$pss,$(rollup "$APP" Rss)" >>"$PX_WORK/soak.csv"
  printf '  %-7s %6s keys %4s cycles   written %6s KiB   PSS alone %6s KiB   PSS %6s KiB\n' \
    "$1" "$2" "$3" "$dirty" "${alone:--}" "$pss" >&2
}

sleep 1
checkpoint start 0 0

# --- typing ------------------------------------------------------------------------------------
# One round: an amount with the separator, Enter, the other row, Backspace, Escape; two Tabs, so
# that every round ends on the francs row where it began.
ROUND=(1 2 comma 5 0 Return Tab 3 4 BackSpace 7 Return Escape Tab)
timeout 10 xdotool windowactivate --sync "$WID" || fail "the window could not be activated"
typed=0
started=$(px_now_ms)
while [ "$typed" -lt "$KEYS" ]; do
  batch=()
  while [ ${#batch[@]} -lt 700 ] && [ $((typed + ${#batch[@]})) -lt "$KEYS" ]; do
    batch+=("${ROUND[@]}")
  done
  batch=("${batch[@]:0:$((KEYS - typed < ${#batch[@]} ? KEYS - typed : ${#batch[@]}))}")
  xdotool key --delay 0 "${batch[@]}"
  previous=$typed
  typed=$((typed + ${#batch[@]}))
  if [ $((typed / CHECK_KEYS)) -gt $((previous / CHECK_KEYS)) ] || [ "$typed" -ge "$KEYS" ]; then
    px_running "$APP" || fail "the program ended while being typed at"
    if [ "$typed" -ge "$WARMUP_KEYS" ] && [ "$previous" -lt "$WARMUP_KEYS" ]; then
      checkpoint warm "$typed" 0
    else
      checkpoint typing "$typed" 0
    fi
  fi
done
echo "  typed $typed keys in $((($(px_now_ms) - started) / 1000)) s" >&2
# A round that stopped half-way is finished with Escape, then Tab back to the francs row if it
# had left it; an entry of 100 francs must still give 15.24 euros.
rest=$((typed % ${#ROUND[@]}))
finish="Escape"
[ "$rest" -gt 6 ] && [ "$rest" -lt 14 ] && finish="Escape Tab"
converts "after $typed keys, 100 Enter still converts to 15.24 euros" \
  "$finish 1 0 0 Return" 15.24 15,24 100 0 655.96

# --- hiding and showing from the tray ----------------------------------------------------------
PANEL=$(xdotool search --onlyvisible --class '^trayer$' 2>/dev/null | head -n 1)
px_wait_for 10 tray_icon_centre "$PANEL" >/dev/null || fail "no icon of the program in the tray"
read -r ICON_X ICON_Y <<<"$(tray_icon_centre "$PANEL")"

active() { px_is_active "$WID"; }
# The pointer rests on the icon from now on; nothing else moves it.
px_pointer_to "$ICON_X" "$ICON_Y" || fail "the pointer could not be put on the icon"
started=$(px_now_ms)
for ((cycle = 1; cycle <= CYCLES; cycle++)); do
  px_wait_for 5 active || fail "cycle $cycle: the window is not active"
  xdotool key alt+r
  px_wait_for 5 px_main_window_hidden || fail "cycle $cycle: Alt+R did not hide the window"
  xdotool click --repeat 2 --delay 80 1
  px_wait_for 5 px_main_window_shown || fail "cycle $cycle: the double-click did not show it"
  if ((cycle % CHECK_CYCLES == 0)); then checkpoint tray "$typed" "$cycle"; fi
done
echo "  $CYCLES hide and show cycles in $((($(px_now_ms) - started) / 1000)) s" >&2
WID=$(px_main_windows | head -n 1)
converts "after $CYCLES cycles, 200 Enter converts to 30.49 euros" "2 0 0 Return" \
  30.49 30,49 15.24 200 0

# --- report ------------------------------------------------------------------------------------
mkdir -p "$(dirname "$CSV")"
cp "$PX_WORK/soak.csv" "$CSV"
metric=dirty_kib
column() { csv_column "$CSV" "$1"; }
# Without a warm-up checkpoint (a short run), the first one after the start stands for it.
warm=$(column "$metric" | awk '$1 == "warm" { print $2; exit }')
[ -n "$warm" ] || warm=$(column "$metric" | awk '$1 != "start" { print $2; exit }')
last=$(column "$metric" | tail -n 1 | awk '{ print $2 }')
peak=$(column "$metric" | awk '$1 != "start" { if ($2 > m) m = $2 } END { print m }')
echo "written pages after the warm-up $warm KiB, at the end $last KiB, highest $peak KiB"
alone=$(column pss_alone_kib | awk '$1 != "start" && $2 != "" { v[++n] = $2 } END {
  if (n) printf "PSS alone after the warm-up %s KiB, at the end %s KiB\n", v[1], v[n] }')
[ -z "$alone" ] || echo "$alone"
echo "checkpoints: $CSV"
if [ -n "$warm" ] && [ $((last - warm)) -lt "$FLAT_KIB" ] && [ $((peak - warm)) -lt "$FLAT_KIB" ]; then
  bench_pass "memory stays flat after the warm-up (written pages within $FLAT_KIB KiB)"
else
  bench_fail "memory stays flat after the warm-up (written pages within $FLAT_KIB KiB)" \
    "after the warm-up ${warm:-?} KiB, at the end $last KiB, highest $peak KiB"
fi
bench_finish
