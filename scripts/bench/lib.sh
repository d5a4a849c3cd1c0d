# What the benchmarks share: their one Release tree, the private desktop of the harness
# (scripts/private-x.sh), reading a process's CPU time and memory from /proc, and the report of
# the checks a benchmark makes on the way. Sourced by each benchmark script after it has set
# BUILD_DIR (by default build-bench/ at the top of the repository).
# shellcheck shell=bash

BENCH_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=scripts/private-x.sh
source "$BENCH_ROOT/scripts/private-x.sh"

# bench_build TARGET...: unless BUILD is 0 (--no-build: the build is measured as it is),
# configures BUILD_DIR for Release with the benchmarks' programs and the tests' helpers (the text
# reader), the same for every benchmark so that they share the tree, and builds the targets.
bench_build() {
  [ "${BUILD:-1}" != 0 ] || return 0
  cmake -S "$BENCH_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTAVELMARQUE_TESTS=ON -DTAVELMARQUE_BENCHMARKS=ON >/dev/null
  cmake --build "$BUILD_DIR" --target "$@" >/dev/null
}

# bench_desktop NAME WIDTHxHEIGHT [--tray]: the harness's private session and desktop for the
# program of BUILD_DIR, ended with the script; exits when it cannot start.
bench_desktop() {
  local name=$1
  shift
  px_private_session "bench-$name" || { echo "$name: no work folder" >&2; exit 1; }
  trap px_end_session EXIT
  trap 'exit 129' HUP
  trap 'exit 130' INT
  trap 'exit 143' TERM
  PX_APP=$BUILD_DIR/bin/Tavelmarque
  PX_XSHOT=$BUILD_DIR/bin/xshot
  PX_TEXTPROBE=$BUILD_DIR/bin/textprobe
  px_start_desktop "$@" || { echo "$name: $PX_ERROR" >&2; exit 1; }
}

# The checks a benchmark makes on the way (the program still converts, its memory stays flat):
# "ok - NAME" or "not ok - NAME" and the details; bench_finish exits, failing when one failed.
BENCH_FAILED=0
bench_pass() { echo "ok - $1"; }
bench_fail() {
  BENCH_FAILED=$((BENCH_FAILED + 1))
  echo "not ok - $1"
  shift
  [ $# -eq 0 ] || printf '#   %s\n' "$@"
}
bench_finish() {
  [ "$BENCH_FAILED" -eq 0 ] || px_app_log_tails
  exit $((BENCH_FAILED > 0))
}

# fail MESSAGE: the benchmark cannot go on; says why and exits, failing.
fail() {
  echo "$(basename "$0"): $*" >&2
  BENCH_FAILED=$((BENCH_FAILED + 1))
  bench_finish
}

# bench_build_type: BUILD_DIR's build type, with a warning on standard error unless it is a
# Release build without sanitizers, the only one whose figures mean anything.
bench_build_type() {
  local type sanitize
  type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$BUILD_DIR/CMakeCache.txt" 2>/dev/null || true)
  sanitize=$(sed -n 's/^TAVELMARQUE_SANITIZE:BOOL=//p' "$BUILD_DIR/CMakeCache.txt" 2>/dev/null || true)
  [ "$type" = Release ] || echo "WARNING: $BUILD_DIR is a '${type:-unknown}' build, not Release" >&2
  [ "${sanitize:-OFF}" = OFF ] || echo "WARNING: $BUILD_DIR is built with sanitizers" >&2
  echo "${type:-unknown}"
}

# cpu_ticks PID: utime+stime of the whole process; the name field may hold spaces, so cut after it.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# run_ns PID: time on CPU of every thread, in ns: ticks are too coarse to tell 1 ms from none.
run_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { print s + 0 }'; }

# rollup PID FIELD: one field of the process's memory summary, in KiB.
rollup() { awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/smaps_rollup"; }

# pss_alone PID: the process's PSS as if no other Qt program shared its pages, in KiB (empty
# without bench_pss or the right to read other processes' maps).
pss_alone() {
  [ -x "$BUILD_DIR/bin/bench_pss" ] || return 0
  "$BUILD_DIR/bin/bench_pss" "$1" 2>/dev/null | sed -n 's/.*pss_alone_kib=\([0-9]*\).*/\1/p' || true
}

# settle PID: waits until the process has handled what it was sent: its CPU time stops moving.
settle() {
  local before after _
  before=$(cpu_ticks "$1")
  for _ in $(seq 100); do
    sleep 0.3
    after=$(cpu_ticks "$1")
    [ "$after" = "$before" ] && return 0
    before=$after
  done
}

# csv_column CSV NAME: each row's first field and its NAME field.
csv_column() {
  awk -F, -v name="$2" 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == name) f = i; next }
    { print $1, $f }' "$1"
}

# tray_icon_centre PANEL: "X Y", the centre of the program's icon in trayer's panel on the screen.
tray_icon_centre() {
  local icon x y w h
  icon=$(xwininfo -tree -id "$1" 2>/dev/null |
    awk '/^        0x[0-9a-f]+ "Tavelmarque"/ { print $1; exit }')
  [ -n "$icon" ] || return 1
  read -r x y w h <<<"$(px_geometry "$icon")"
  [ -n "$h" ] && echo "$((x + w / 2)) $((y + h / 2))"
}

# The euro row's box in the main window (see tests/e2e/main-window.sh).
# shellcheck disable=SC2034 # read by the scripts that source this file
AMOUNT_EUROS="72 104 89 15"

# converts NAME KEYS EXPECTED RIVAL...: types the keys into the main window (WID) and reads back
# its euro row.
converts() {
  local name=$1 keys=$2
  shift 2
  # shellcheck disable=SC2086 # one key name a word
  if timeout 10 xdotool windowactivate --sync "$WID" && xdotool key $keys &&
    px_read_text 10 "$WID" "$PX_WORK/read.png" "$AMOUNT_EUROS" "$@"; then
    bench_pass "$name"
  else
    bench_fail "$name" "$PX_READ_REPORT"
  fi
}
