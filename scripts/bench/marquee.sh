#!/usr/bin/env bash
# Marquee benchmark: the CPU the about window's scrolling line costs while the window is open,
# next to bench_marquee_floor, a bare Qt window that scrolls one plain label every 10 ms (and
# every 16 ms, the about window's own tick, for a like-for-like figure), measured in the same run
# on the same private display. The main window alone, idle, is measured too: what the open about
# window adds is the difference.
#
# usage: scripts/bench/marquee.sh [options]
#   --build-dir DIR   Release tree to measure (default build-bench/, shared by the benchmarks);
#                     configured and built first unless --no-build
#   --no-build        measure DIR as it is
#   --rounds N        rounds, each measuring every case once (default 3)
#   --seconds S       length of each measurement (default 10)
#
# CPU is the process's utime+stime from /proc/PID/stat (clock ticks) and, finer, the time its
# threads spent on a CPU (schedstat); the X server's own CPU over the same seconds is shown
# beside it, since every repaint is also work for the server.
# shellcheck disable=SC2317,SC2119 # functions run through px_wait_for; optional arguments
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD_DIR=$ROOT/build-bench
BUILD=1
ROUNDS=3
SECONDS_EACH=10

while [ $# -gt 0 ]; do
  case $1 in
    --build-dir) BUILD_DIR=$2; shift 2 ;;
    --no-build) BUILD=0; shift ;;
    --rounds) ROUNDS=$2; shift 2 ;;
    --seconds) SECONDS_EACH=$2; shift 2 ;;
    -h | --help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "marquee.sh: unknown argument $1 (see --help)" >&2; exit 2 ;;
  esac
done
if [ "$ROUNDS" -lt 1 ] || [ "$SECONDS_EACH" -lt 1 ]; then
  echo "marquee.sh: --rounds and --seconds must be at least 1" >&2
  exit 2
fi

# shellcheck source=scripts/bench/lib.sh
source "$ROOT/scripts/bench/lib.sh"
bench_build Tavelmarque xshot bench_marquee_floor
for f in Tavelmarque xshot bench_marquee_floor; do
  [ -x "$BUILD_DIR/bin/$f" ] || { echo "marquee.sh: $BUILD_DIR/bin/$f is missing" >&2; exit 1; }
done
build_type=$(bench_build_type)
FLOOR=$BUILD_DIR/bin/bench_marquee_floor

# From here on, the harness's waits and probes answer through their status: no set -e.
set +eu
bench_desktop marquee 1024x768
XVFB=$PX_SERVER_PID
CLK_TCK=$(getconf CLK_TCK)


# measure NAME PID: the CPU of the process and of the X server over SECONDS_EACH, one CSV line.
measure() {
  local t0 r0 x0 t1 r1 x1
  t0=$(cpu_ticks "$2"); r0=$(run_ns "$2"); x0=$(run_ns "$XVFB")
  sleep "$SECONDS_EACH"
  t1=$(cpu_ticks "$2"); r1=$(run_ns "$2"); x1=$(run_ns "$XVFB")
  echo "$1,$(((t1 - t0) * 1000 / CLK_TCK)),$(awk -v a="$r0" -v b="$r1" 'BEGIN { printf "%.1f", (b - a) / 1e6 }'),$(awk -v a="$x0" -v b="$x1" 'BEGIN { printf "%.1f", (b - a) / 1e6 }')" >>"$PX_WORK/samples.csv"
}

AW=""
about_shown() {
  AW=$(xdotool search --onlyvisible --name '^A propos de\.\.\.$' 2>/dev/null | head -n 1)
  [ -n "$AW" ]
}
about_gone() { ! about_shown; }

run_program() {
  px_new_runtime
  px_start_app
  local wid x y
  wid=$(px_find_window 20)
  [ -n "$wid" ] || fail "the main window did not show"
  sleep 1
  measure "main window idle" "$PX_APP_PID"
  # The about image, imaCommand(3) at 960,2355 twips: (72,165) in the window's pixels.
  read -r x y _ _ <<<"$(px_geometry "$wid")"
  px_pointer_to $((x + 72)) $((y + 165)) && xdotool click 1
  px_wait_for 10 about_shown || fail "the about window did not open"
  # The pointer rests outside the windows: no tooltip, no hover.
  px_pointer_to 5 5
  sleep 1
  measure "about window open" "$PX_APP_PID"
  timeout 10 xdotool windowactivate --sync "$AW" >/dev/null 2>&1
  xdotool key Escape
  px_wait_for 5 about_gone || fail "the about window did not close"
  px_stop "$PX_APP_PID"
}

run_floor() {  # run_floor INTERVAL_MS
  px_spawn "floor-$1" "$FLOOR" "$1"
  local pid=$PX_LAST_PID
  timeout 10 xdotool search --sync --onlyvisible --name '^bench_marquee_floor$' >/dev/null 2>&1 ||
    fail "bench_marquee_floor did not show"
  sleep 1
  measure "floor: label moved every $1 ms" "$pid"
  px_stop "$pid"
}

echo "case,cpu_ms,on_cpu_ms,xserver_ms" >"$PX_WORK/samples.csv"
source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$BUILD_DIR/CMakeCache.txt" 2>/dev/null || true)
echo "scrolling line vs floor: $ROUNDS rounds of ${SECONDS_EACH} s, display $DISPLAY, openbox;" \
  "build $BUILD_DIR (${build_type:-unknown}), $(nproc) CPUs"
echo "source: ${source_dir:-unknown} ($(git -C "${source_dir:-/nonexistent}" describe --always --dirty 2>/dev/null || echo "no git"))"
for ((round = 1; round <= ROUNDS; round++)); do
  # The order turns every round so that no case always follows the same one.
  cases=(run_program "run_floor 10" "run_floor 16")
  for ((i = 0; i < 3; i++)); do
    ${cases[(i + round) % 3]}
  done
  printf '\r  round %d/%d' "$round" "$ROUNDS" >&2
done
printf '\n' >&2

# median of a column for a case
median() {
  awk -F, -v c="$1" -v f="$2" 'NR > 1 && $1 == c { print $f }' "$PX_WORK/samples.csv" | sort -g |
    awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2];
           else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
echo
printf '%-34s %12s %14s %14s\n' "median over $ROUNDS rounds, per ${SECONDS_EACH} s" "CPU (ms)" "on CPU (ms)" "X server (ms)"
for c in "main window idle" "about window open" "floor: label moved every 10 ms" \
  "floor: label moved every 16 ms"; do
  printf '%-34s %12s %14s %14s\n' "$c" "$(median "$c" 2)" "$(median "$c" 3)" "$(median "$c" 4)"
done
open=$(median "about window open" 3)
idle=$(median "main window idle" 3)
floor=$(median "floor: label moved every 10 ms" 3)
echo
awk -v o="$open" -v i="$idle" -v f="$floor" -v s="$SECONDS_EACH" 'BEGIN {
  printf "the scrolling line costs %.1f ms of CPU a second (%.2f %% of one core);" \
    " the floor (every 10 ms) %.1f ms\n", (o - i) / s, (o - i) / s / 10, f / s
  printf "no more than the floor: %s\n", (o - i <= f ? "met" : "MISSED") }'
cp "$PX_WORK/samples.csv" "$BUILD_DIR/bench-marquee.csv"
echo "raw samples: $BUILD_DIR/bench-marquee.csv"
