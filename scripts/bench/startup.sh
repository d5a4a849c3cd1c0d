#!/usr/bin/env bash
# Start-up benchmark: how long Tavelmarque takes to map its window and to first draw in it, how
# much memory it holds once idle and whether it burns CPU while idle, each next to bench_floor,
# a bare Qt Widgets window, measured in the same run under the same conditions. A Qt program
# cannot start faster than the floor, so the ratio to it is what says whether the program wastes
# anything; absolute figures move from machine to machine and are only context.
#
# usage: scripts/bench/startup.sh [options] [RUNS]      RUNS: rounds, default 15
#   --build-dir DIR   Release tree to measure (default build-bench/, shared by the benchmarks);
#                     configured and built first unless --no-build
#   --no-build        measure DIR as it is
#   --no-tray         no notification area (trayer) on the private display
#   --no-cold         skip the runs with the page cache dropped
#   --cpu-runs N      rounds whose idle CPU is measured, 5 s each (default 3)
#   --csv FILE        where the raw samples go (default DIR/bench-startup.csv)
#   --program FILE    measure FILE instead of DIR/bin/Tavelmarque (a variant, an experiment)
#   --title TEXT      the title of its 180 x 180 window (default Tavelmarque)
#
# Needs: Xvfb, openbox, trayer (unless --no-tray), dbus-daemon; root for the cold runs
# and for "PSS alone". Elapsed times swing with whatever else the machine runs; "CPU to map",
# the program's own CPU time until then, hardly does and is the figure to trust on a busy machine.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD_DIR=$ROOT/build-bench
BUILD=1
TRAY=1
COLD=1
CPU_RUNS=3
IDLE_S=5
SETTLE_S=1
CSV=""
RUNS=15
PROGRAM=""
TITLE=Tavelmarque

while [ $# -gt 0 ]; do
  case $1 in
    --build-dir) BUILD_DIR=$2; shift 2 ;;
    --no-build) BUILD=0; shift ;;
    --no-tray) TRAY=0; shift ;;
    --no-cold) COLD=0; shift ;;
    --cpu-runs) CPU_RUNS=$2; shift 2 ;;
    --csv) CSV=$2; shift 2 ;;
    --program) PROGRAM=$2; shift 2 ;;
    --title) TITLE=$2; shift 2 ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    [0-9]*) RUNS=$1; shift ;;
    *) echo "startup.sh: unknown argument $1 (see --help)" >&2; exit 2 ;;
  esac
done
[ "$RUNS" -ge 1 ] || { echo "startup.sh: RUNS must be at least 1" >&2; exit 2; }
[ -n "$CSV" ] || CSV=$BUILD_DIR/bench-startup.csv

for tool in Xvfb openbox dbus-daemon; do
  command -v "$tool" >/dev/null || { echo "startup.sh: $tool is missing" >&2; exit 1; }
done
if [ "$TRAY" = 1 ] && ! command -v trayer >/dev/null; then
  echo "startup.sh: trayer is missing: running without a notification area" >&2
  TRAY=0
fi

# --- build -------------------------------------------------------------------------------------
# shellcheck source=scripts/bench/lib.sh
source "$ROOT/scripts/bench/lib.sh"
bench_build Tavelmarque bench_floor bench_mapstamp bench_pss
[ -n "$PROGRAM" ] || PROGRAM=$BUILD_DIR/bin/Tavelmarque
FLOOR=$BUILD_DIR/bin/bench_floor
MAPSTAMP=$BUILD_DIR/bin/bench_mapstamp
for f in "$PROGRAM" "$FLOOR" "$MAPSTAMP"; do
  [ -x "$f" ] || { echo "startup.sh: $f is missing (build it, or drop --no-build)" >&2; exit 1; }
done
# Figures from a debug or sanitized build say nothing about what users get.
build_type=$(bench_build_type)

# --- private desktop ---------------------------------------------------------------------------
# The harness's: a home, runtime folder and instance locks of its own, a session bus as a desktop
# session has one (without it Qt and libdbus would look for one in ways a user never pays for),
# openbox and the notification area.
if [ "$TRAY" = 1 ]; then bench_desktop startup 1280x800 --tray; else bench_desktop startup 1280x800; fi

can_drop=0
cold_note=""
if [ "$COLD" = 1 ]; then
  if sync && { echo 3 >/proc/sys/vm/drop_caches; } 2>/dev/null; then
    can_drop=1
  else
    cold_note="cold runs skipped: writing /proc/sys/vm/drop_caches is not permitted (needs root)"
  fi
else
  cold_note="cold runs skipped (--no-cold)"
fi

# --- one run -----------------------------------------------------------------------------------
clk_tck=$(getconf CLK_TCK)

switches() {  # each wake-up of an idle thread is a context switch
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {s += $2} END {print s + 0}'
}

echo "name,mode,round,map_ms,paint_ms,cpu_map_ms,cpu_paint_ms,pss_alone_kib,pss_kib,uss_kib,rss_kib,idle_cpu_ms,idle_run_ms,idle_wakeups,threads" >"$PX_WORK/samples.csv"

# run_once NAME MODE ROUND MEASURE_CPU -- PROGRAM...
run_once() {
  local name=$1 mode=$2 round=$3 cpu=$4
  shift 5
  local rt out current line pid map paint cpu_map cpu_paint alone pss uss rss t0 t1 r0 r1 s0 s1 threads
  local idle_cpu="" idle_run="" wakeups=""
  rt=$(mktemp -d "$PX_WORK/runtime.XXXXXX")  # a runtime folder of the run's own
  out=$PX_WORK/out
  : >"$out"
  if [ "$mode" = cold ]; then sync; echo 3 >/proc/sys/vm/drop_caches; fi
  XDG_RUNTIME_DIR=$rt "$MAPSTAMP" "${WATCH[@]}" --timeout-ms 20000 --hold-ms 60000 -- "$@" \
    >"$out" 2>>"$PX_LOGS/$name.log" &
  current=$!
  PX_PIDS+=("$current")
  if ! px_wait_for 25 grep -q . "$out"; then line="error=no-answer"; else line=$(head -n 1 "$out"); fi
  pid=$(sed -n 's/.*pid=\([0-9]*\).*/\1/p' <<<"$line")
  map=$(sed -n 's/.* map_ms=\([0-9.]*\).*/\1/p' <<<"$line")
  paint=$(sed -n 's/.* paint_ms=\([0-9.]*\).*/\1/p' <<<"$line")  # empty when not seen
  cpu_map=$(sed -n 's/.*cpu_map_ms=\([0-9.]*\).*/\1/p' <<<"$line")
  cpu_paint=$(sed -n 's/.*cpu_paint_ms=\([0-9.]*\).*/\1/p' <<<"$line")
  if [ -z "$map" ]; then
    echo "  $name $mode round $round: no window ($line); see below" >&2
    tail -n 5 "$PX_LOGS/$name.log" >&2 || true
    px_stop "$current"
    rm -rf "$rt"
    return 0
  fi
  # Mapped before the watch took hold: the time is an upper bound, which the log must say.
  if grep -q 'late=1' <<<"$line"; then echo "  $name $mode round $round: late map notice" >&2; fi
  sleep "$SETTLE_S"
  pss=$(rollup "$pid" Pss)
  alone=$(pss_alone "$pid")
  rss=$(rollup "$pid" Rss)
  uss=$(($(rollup "$pid" Private_Clean) + $(rollup "$pid" Private_Dirty)))
  threads=$(find "/proc/$pid/task" -mindepth 1 -maxdepth 1 | wc -l)
  if [ "$cpu" = 1 ]; then
    t0=$(cpu_ticks "$pid"); r0=$(run_ns "$pid"); s0=$(switches "$pid")
    sleep "$IDLE_S"
    t1=$(cpu_ticks "$pid"); r1=$(run_ns "$pid"); s1=$(switches "$pid")
    idle_cpu=$(((t1 - t0) * 1000 / clk_tck))
    idle_run=$(awk -v a="$r0" -v b="$r1" 'BEGIN {printf "%.3f", (b - a) / 1e6}')
    wakeups=$((s1 - s0))
  fi
  px_stop "$current"
  rm -rf "$rt"
  echo "$name,$mode,$round,$map,$paint,$cpu_map,$cpu_paint,$alone,$pss,$uss,$rss,$idle_cpu,$idle_run,$wakeups,$threads" >>"$PX_WORK/samples.csv"
}

run_program() {
  WATCH=(--size 180x180 --title "$TITLE")
  run_once program "$@" -- "$PROGRAM"
}
run_floor() {
  WATCH=(--size 180x180 --title bench_floor)
  run_once floor "$@" -- "$FLOOR"
}

# PSS splits each shared page among the processes that map it: any other Qt program running
# (a test, another engineer's session) lowers both programs' PSS, and not by the same amount.
# bench_pss takes them out ("PSS alone"); USS, the pages no one else maps, never depends on them.
others=$(grep -l 'libQt6Core' /proc/[0-9]*/maps 2>/dev/null | wc -l || true)

# --- the rounds --------------------------------------------------------------------------------
echo "$(basename "$PROGRAM") start-up vs the floor: $RUNS rounds, display $DISPLAY, openbox," \
  "$([ "$TRAY" = 1 ] && echo "trayer" || echo "no tray"), a private session bus"
# The program changes under the benchmark: the figures belong to the source state named here.
source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$BUILD_DIR/CMakeCache.txt" 2>/dev/null || true)
revision=$(git -C "${source_dir:-/nonexistent}" describe --always --dirty 2>/dev/null || echo "no git")
echo "source: ${source_dir:-unknown} ($revision)"
echo "build: $BUILD_DIR (${build_type:-unknown}); Qt $(dpkg-query -W -f '${Version}' libqt6core6 2>/dev/null ||
  echo unknown); $(nproc) CPUs, $(uname -r)"
[ -z "$cold_note" ] || echo "$cold_note"
if [ "${others:-0}" -gt 0 ]; then
  echo "note: $others other Qt program(s) running: plain PSS is lower than on a desktop of its own"
fi

# Untimed, so that the first warm runs find what the later ones find in the page cache.
run_program warm 0 0
run_floor warm 0 0
sed -i '2,$d' "$PX_WORK/samples.csv"

for ((round = 1; round <= RUNS; round++)); do
  cpu=$((round <= CPU_RUNS ? 1 : 0))
  # The order flips every round so that neither program always runs right after the other.
  if ((round % 2)); then order=(run_program run_floor); else order=(run_floor run_program); fi
  for run in "${order[@]}"; do "$run" warm "$round" "$cpu"; done
  if [ "$can_drop" = 1 ]; then
    for run in "${order[@]}"; do "$run" cold "$round" 0; done
  fi
  printf '\r  round %d/%d' "$round" "$RUNS" >&2
done
printf '\n' >&2

mkdir -p "$(dirname "$CSV")"
cp "$PX_WORK/samples.csv" "$CSV"

# --- report ------------------------------------------------------------------------------------
# values NAME MODE FIELD: the non-empty values of one metric (FIELD: a header name), one a line
values() {
  awk -F, -v n="$1" -v m="$2" -v name="$3" '
    NR == 1 { for (i = 1; i <= NF; i++) if ($i == name) f = i; next }
    f && $1 == n && (m == "" || $2 == m) && $f != "" { print $f }' "$PX_WORK/samples.csv"
}
# summary SCALE: "median p25 p75 min max count" of the numbers on stdin, divided by SCALE
summary() {
  sort -g | awk -v s="$1" '
    { v[NR] = $1 / s }
    function q(p,   i, f) { i = 1 + (NR - 1) * p; f = int(i); return v[f] + (i - f) * (v[f + 1 < NR ? f + 1 : NR] - v[f]) }
    END { if (NR == 0) { print "- - - - - 0"; exit } printf "%.3f %.3f %.3f %.3f %.3f %d\n", q(0.5), q(0.25), q(0.75), v[1], v[NR], NR }'
}
cell() {  # cell "median p25 p75 min max n" DECIMALS
  awk -v d="$2" '{ if ($6 == 0) { print "-"; exit }
    f = "%." d "f"; printf(f "  [" f "–" f "] (" f "–" f ") n=%d\n", $1, $2, $3, $4, $5, $6) }' <<<"$1"
}

echo
echo "median  [IQR]  (min–max)  n=samples"
printf '%-22s %-44s %-44s %s\n' metric "$(basename "$PROGRAM")" floor "program vs floor"
declare -A med_a med_b
row() {  # row LABEL MODE FIELD SCALE DECIMALS COMPARE(ratio|diff|none) KEY
  local a b ca cb cmp=""
  a=$(values program "$2" "$3" | summary "$4")
  b=$(values floor "$2" "$3" | summary "$4")
  ca=$(cell "$a" "$5"); cb=$(cell "$b" "$5")
  case $6 in
    ratio) cmp=$(awk -v a="${a%% *}" -v b="${b%% *}" 'BEGIN { if (a != "-" && b > 0) printf "×%.2f", a / b }') ;;
    diff) cmp=$(awk -v a="${a%% *}" -v b="${b%% *}" 'BEGIN { if (a != "-" && b != "-") printf "%+.1f MiB", a - b }') ;;
  esac
  printf '%-22s %-44s %-44s %s\n' "$1" "$ca" "$cb" "$cmp"
  med_a[$7]=${a%% *}  # kept for the verdict below
  med_b[$7]=${b%% *}
}
row "map warm (ms)" warm map_ms 1 1 ratio warm
if [ "$can_drop" = 1 ]; then row "map cold (ms)" cold map_ms 1 1 ratio cold; fi
row "1st paint warm (ms)" warm paint_ms 1 1 ratio pwarm
if [ "$can_drop" = 1 ]; then row "1st paint cold (ms)" cold paint_ms 1 1 ratio pcold; fi
row "CPU to map (ms)" warm cpu_map_ms 1 1 ratio cmap
row "CPU to 1st paint (ms)" warm cpu_paint_ms 1 1 ratio cpaint
row "PSS alone idle (MiB)" "" pss_alone_kib 1024 1 diff alone
row "PSS idle (MiB)" "" pss_kib 1024 1 diff pss
row "USS idle (MiB)" "" uss_kib 1024 1 diff uss
row "RSS idle (MiB)" "" rss_kib 1024 1 diff rss
row "idle CPU 5 s (ms)" warm idle_cpu_ms 1 0 none cpu
row "on-CPU 5 s (ms)" warm idle_run_ms 1 3 none run
row "wake-ups 5 s" warm idle_wakeups 1 0 none wake
row "threads once idle" "" threads 1 0 none thr

echo
verdict() {  # verdict LABEL CONDITION NOTE MEDIAN...: CONDITION in awk, over the MEDIANs
  local result label=$1 condition=$2 note=$3 v
  shift 3
  for v in "$@"; do [[ $v =~ ^[0-9.]+$ ]] || result="no data"; done
  if [ -n "${result:-}" ]; then
    :
  elif awk "BEGIN { exit !($condition) }"; then
    result=met
  else
    result=MISSED
  fi
  printf '%-34s %s%s\n' "$label" "$result" "${note:+  ($note)}"
}
cpu_ratio=$(awk -v a="${med_a[cmap]}" -v b="${med_b[cmap]}" \
  'BEGIN { if (a ~ /^[0-9.]+$/ && b > 0) printf "CPU to map ×%.2f", a / b }')
verdict "map warm within ×1.10 of floor" "${med_a[warm]} <= 1.10 * ${med_b[warm]}" "$cpu_ratio" \
  "${med_a[warm]}" "${med_b[warm]}"
if [ "$can_drop" = 1 ]; then
  verdict "map cold within ×1.10 of floor" "${med_a[cold]} <= 1.10 * ${med_b[cold]}" "" \
    "${med_a[cold]}" "${med_b[cold]}"
fi
if [[ ${med_a[alone]} =~ ^[0-9.]+$ ]]; then
  verdict "PSS within 3 MiB of floor" "${med_a[alone]} - ${med_b[alone]} <= 3" \
    "PSS alone: as if no other Qt program ran" "${med_a[alone]}" "${med_b[alone]}"
else
  pss_note=""
  if [ "${others:-0}" -gt 0 ]; then
    pss_note="understated: $others other Qt program(s) share the pages, and PSS alone needs root"
  fi
  verdict "PSS within 3 MiB of floor" "${med_a[pss]} - ${med_b[pss]} <= 3" "$pss_note" \
    "${med_a[pss]}" "${med_b[pss]}"
fi
if [ "$CPU_RUNS" -gt 0 ]; then
  max_cpu=$(values program warm idle_cpu_ms | sort -g | tail -n 1)
  verdict "no CPU while idle" "${max_cpu:--} == 0" \
    "largest of $(values program warm idle_cpu_ms | wc -l) runs" "${max_cpu:--}"
fi
echo "raw samples: $CSV"
