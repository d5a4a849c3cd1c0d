#!/usr/bin/env bash
# One program per user and display: a second start, while the first runs shown or hidden, ends at
# once without showing anything, whatever its environment; a start on another display runs beside
# the first; of four starts at once one runs. The "/Hidden" argument (exactly so spelled) starts
# without a window.
#
# usage: single-instance.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

# A notification area is there, as on a desktop that starts the program hidden at logon: without
# one, a hidden start must show the window after all.
e2e_start_x --tray

# Every window created as a child of the root (a program's window, or the frame the window
# manager puts around it) and every change of a root property is logged. Root properties set by
# the checks are marks: whatever the server did before a mark is in the log above it.
e2e_spawn root-events xev -root -event substructure -event property
ROOT_LOG=$E2E_WORK/logs/root-events.log
MARKS=0
set_and_see_mark() {
  xprop -root -f "_TAVELMARQUE_E2E_MARK_$1" 32c -set "_TAVELMARQUE_E2E_MARK_$1" 1 &&
    grep -q "(_TAVELMARQUE_E2E_MARK_$1)" "$ROOT_LOG"
}
# Set again until seen: the first mark may come before xev listens.
mark() {
  MARKS=$((MARKS + 1))
  e2e_wait_for 10 set_and_see_mark "$MARKS"
}
# Windows larger than 16 x 16 created between two marks, as "WIDTHxHEIGHT" words. Toolkits make
# tiny unmapped helper windows; whatever a user could see is larger.
windows_created_between() {
  awk -v from="$1" -v to="$2" '
    match($0, /\(_TAVELMARQUE_E2E_MARK_[0-9]+\)/) {
      current = substr($0, RSTART + 23, RLENGTH - 24) + 0
    }
    created && current >= from && current < to && match($0, /width [0-9]+, height [0-9]+/) {
      split(substr($0, RSTART, RLENGTH), f, /[ ,]+/)
      if (f[2] > 16 && f[4] > 16) printf "%sx%s ", f[2], f[4]
    }
    { created = /^CreateNotify event/ }' "$ROOT_LOG"
}
mark || e2e_bail "the root window's events are logged"

# check_second_start WHEN [VARIABLE=VALUE...]: starts a second program, in the environment given,
# while the first runs and checks that it ends at once, successfully, having created no window.
check_second_start() {
  local when=$1 before after started elapsed status created saved=("${E2E_APP_ENV[@]}")
  shift
  before=$(e2e_main_windows | sort | tr '\n' ' ')
  mark
  local from=$MARKS
  started=$(e2e_now_ms)
  E2E_APP_ENV+=("$@")
  e2e_start_app
  E2E_APP_ENV=("${saved[@]}")
  if e2e_wait_exit "$E2E_APP_PID" 10; then
    elapsed=$(($(e2e_now_ms) - started))
    status=$E2E_EXIT_STATUS
    if [ "$status" -eq 0 ] && [ "$elapsed" -le 2000 ]; then
      e2e_pass "a second start while the first is $when ends at once with status 0"
    else
      e2e_fail "a second start while the first is $when ends at once with status 0" \
        "status $status after $elapsed ms (at most 2000 ms wanted)"
    fi
  else
    e2e_fail "a second start while the first is $when ends at once with status 0" \
      "still running after 10 s"
    e2e_stop "$E2E_APP_PID"
  fi
  mark
  created=$(windows_created_between "$from" "$MARKS")
  after=$(e2e_main_windows | sort | tr '\n' ' ')
  if [ -z "$created" ] && [ "$before" = "$after" ]; then
    e2e_pass "a second start while the first is $when creates no window"
  else
    e2e_fail "a second start while the first is $when creates no window" \
      "windows created: ${created:-none}" "main windows before: ${before:-none}; after: ${after:-none}"
  fi
}

# --- Started shown -----------------------------------------------------------------------------

started=$(e2e_now_ms)
e2e_start_app
FIRST=$E2E_APP_PID
WID=$(e2e_find_window 20)
[ -n "$WID" ] || e2e_bail "a first start shows the main window"
MAP_MS=$(($(e2e_now_ms) - started))
e2e_pass "a first start shows the main window"
e2e_shot first-shown >/dev/null

check_second_start shown
# The lock follows the user and the display, not the session's variables.
mkdir -m 700 "$E2E_WORK/elsewhere"
check_second_start "shown, from another runtime folder, TMPDIR and no session bus" \
  XDG_RUNTIME_DIR="$E2E_WORK/elsewhere" TMPDIR="$E2E_WORK/elsewhere" \
  DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_WORK/no-bus"
e2e_check "the first program still runs" e2e_running "$FIRST"
e2e_check_eq "the first program's window is still the one main window" "$WID" "$(e2e_main_windows)"

# --- Another display -----------------------------------------------------------------------------

# A second X server, as another session of the same user would have (a remote desktop, ssh -X).
FIRST_DISPLAY=$DISPLAY
mkdir "$E2E_WORK/second-x"
if px_start_server e2e_spawn "$E2E_WORK/second-x" 800x600 15; then
  SECOND_DISPLAY=$DISPLAY
  export DISPLAY=$FIRST_DISPLAY
  DISPLAY=$SECOND_DISPLAY e2e_start_app
  DISPLAY=$SECOND_DISPLAY e2e_check "a start on another display shows its window there" \
    e2e_wait_for 20 e2e_main_window_shown
  e2e_check "the first program still runs beside it" e2e_running "$FIRST"
  e2e_stop "$E2E_APP_PID"
else
  export DISPLAY=$FIRST_DISPLAY
  e2e_fail "a second X server starts" "$PX_ERROR"
fi
e2e_stop "$FIRST"

# --- Four at once --------------------------------------------------------------------------------

starters=()
for _ in 1 2 3 4; do
  e2e_start_app
  starters+=("$E2E_APP_PID")
done
e2e_wait_for 20 e2e_main_window_shown
running=()
for pid in "${starters[@]}"; do
  e2e_wait_exit "$pid" 5 && [ "$E2E_EXIT_STATUS" -eq 0 ] || running+=("$pid")
done
e2e_check_eq "of four starts at once, three end and one runs with one window" "1 1" \
  "${#running[@]} $(e2e_main_windows | wc -l)"
for pid in "${running[@]}"; do e2e_stop "$pid"; done

# --- Started hidden ----------------------------------------------------------------------------

# A hidden start has no event that says it is done: it is watched for five times as long as the
# shown start took to map its window, and at least 3 s.
WATCH_S=$(((MAP_MS * 5 + 999) / 1000))
[ "$WATCH_S" -lt 3 ] && WATCH_S=3

e2e_new_runtime
e2e_start_app /Hidden
FIRST=$E2E_APP_PID
if e2e_wait_for "$WATCH_S" e2e_main_window_shown; then
  e2e_fail "a start with /Hidden shows no window" "a main window mapped: $(e2e_main_windows)"
else
  e2e_pass "a start with /Hidden shows no window"
fi
e2e_check "a start with /Hidden keeps running" e2e_running "$FIRST"
e2e_shot first-hidden >/dev/null

check_second_start hidden
e2e_check "the hidden program still runs" e2e_running "$FIRST"
e2e_check "the second start did not bring the hidden window up" e2e_main_window_hidden
e2e_stop "$FIRST"

# --- Other spellings -----------------------------------------------------------------------------

# check_starts_shown NAME ARG...
check_starts_shown() {
  local name=$1
  shift
  e2e_new_runtime
  e2e_start_app "$@"
  if [ -n "$(e2e_find_window 20)" ]; then e2e_pass "$name"; else e2e_fail "$name"; fi
  LAST=$E2E_APP_PID
}

check_starts_shown "a start with /hidden (lower case) shows the window" /hidden
e2e_shot lower-case-hidden >/dev/null
# The program is killed outright, leaving its lock behind as a crash would.
e2e_stop "$LAST" KILL

# Same runtime folder: the lock of the killed program is still there.
e2e_start_app
if [ -n "$(e2e_find_window 20)" ]; then
  e2e_pass "a start after the running program was killed takes over its lock and shows the window"
else
  e2e_fail "a start after the running program was killed takes over its lock and shows the window" \
    "$(ls -l "$XDG_RUNTIME_DIR")"
fi
e2e_stop "$E2E_APP_PID"

check_starts_shown "a start with /Hidden and another argument shows the window" /Hidden more
e2e_stop "$LAST"

e2e_finish
