#!/usr/bin/env bash
# A desktop with no notification area at all, neither an XEmbed tray nor a StatusNotifierItem
# watcher: the program must stay reachable. A "/Hidden" start shows the window after all, and
# Alt+R minimises it into the task bar instead of hiding it; from there it comes back and still
# converts. A StatusNotifierItem watcher without a host, or one never answering, counts as none.
#
# usage: tray-none.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# The stand-in watcher is built beside xshot; CTest may name it in FAKEWATCHER.
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

AMOUNT_EUROS="72 104 89 15"   # lblP(2): 1080,1560 1332x228 twips, in window pixels
E2E_PROBE_OPTS=(--bold)

FAKEWATCHER=${FAKEWATCHER:-$(dirname "$E2E_XSHOT")/fakewatcher}
e2e_require "$E2E_TEXTPROBE" "$FAKEWATCHER" dbus-send
# No tray is started, and nothing owns the watcher's name on the private session bus.
e2e_start_x
if timeout 10 dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
  org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>&1 |
  grep -q 'boolean false'; then
  e2e_pass "the desktop has no StatusNotifierItem watcher"
else
  e2e_bail "the desktop has no StatusNotifierItem watcher"
fi

net_wm_state() { xprop -id "$WID" _NET_WM_STATE 2>/dev/null; }
has_state() { e2e_has_net_state "$WID" "$1"; }
lacks_state() { ! has_state "$1"; }
wm_state_is() { [ "$(e2e_wm_state "$WID")" = "$1" ]; }
# start_hidden: a start with /Hidden, its window (empty when none showed in 20 s) in WID.
start_hidden() {
  e2e_start_app /Hidden
  APP=$E2E_APP_PID
  WID=$(e2e_find_window 20)
}

# --- A hidden start shows the window -------------------------------------------------------------

start_hidden
[ -n "$WID" ] || e2e_bail "without a notification area a start with /Hidden shows the window" \
  "no visible window named Tavelmarque in 20 s"
e2e_pass "without a notification area a start with /Hidden shows the window"
e2e_check "and makes it active" e2e_wait_for 5 e2e_is_active "$WID"
# The starting point of the task-bar check below: shown, the window stays out of task bars.
if e2e_wait_for 5 has_state _NET_WM_STATE_SKIP_TASKBAR; then
  e2e_pass "shown, the window is left out of task bars (_NET_WM_STATE_SKIP_TASKBAR)"
else
  e2e_fail "shown, the window is left out of task bars (_NET_WM_STATE_SKIP_TASKBAR)" \
    "$(net_wm_state)"
fi
e2e_shot hidden-start-shown >/dev/null

# check_minimises NAME: Alt+R, typed into the active window, makes it iconic, not withdrawn, and
# puts it into the task bar, where a user finds it again.
check_minimises() {
  local name=$1
  xdotool key alt+r
  if e2e_wait_for 5 wm_state_is Iconic; then
    e2e_pass "$name (WM_STATE Iconic)"
  else
    e2e_fail "$name (WM_STATE Iconic)" "WM_STATE: $(e2e_wm_state "$WID")" \
      "map state: $(e2e_map_state "$WID")"
    return 1
  fi
  e2e_check "$name: the window manager marks it hidden (_NET_WM_STATE_HIDDEN)" \
    e2e_wait_for 5 has_state _NET_WM_STATE_HIDDEN
  if e2e_wait_for 5 lacks_state _NET_WM_STATE_SKIP_TASKBAR; then
    e2e_pass "$name: the window is in the task bar (no _NET_WM_STATE_SKIP_TASKBAR)"
  else
    e2e_fail "$name: the window is in the task bar (no _NET_WM_STATE_SKIP_TASKBAR)" \
      "$(net_wm_state)"
  fi
  e2e_check "$name: the program still runs" e2e_running "$APP"
}

# check_restored NAME: the window is back, normal, mapped and active.
check_restored() {
  local name=$1
  if e2e_wait_for 5 wm_state_is Normal && e2e_wait_for 5 e2e_main_window_shown &&
    e2e_wait_for 5 e2e_is_active "$WID"; then
    e2e_pass "$name"
  else
    e2e_fail "$name" "WM_STATE: $(e2e_wm_state "$WID"); map state: $(e2e_map_state "$WID")" \
      "active: $(e2e_active_window); window: $WID"
  fi
}

# check_converts NAME SHOTNAME KEYS EXPECTED RIVAL...
check_converts() {
  local name=$1 shot=$2 keys=$3
  shift 3
  # shellcheck disable=SC2086 # one key name a word
  xdotool key $keys
  if e2e_read_text 10 "$WID" "$shot" "$AMOUNT_EUROS" "$@"; then
    e2e_pass "$name"
  else
    e2e_fail "$name" "$E2E_READ_REPORT"
  fi
}

# --- Alt+R minimises -----------------------------------------------------------------------------

check_minimises "Alt+R minimises the window"
e2e_shot minimised >/dev/null

timeout 10 xdotool windowactivate --sync "$WID" >/dev/null 2>&1
check_restored "activating it from the task bar brings the window back"
check_converts "it still converts: 1 0 0 Enter shows 15.24 euros" restored-100 "1 0 0 Return" \
  15.24 15.25 655.96 100 0 0.00

# --- Once more, mapped back by the program's own request -----------------------------------------

check_minimises "Alt+R minimises the window again"
xdotool windowmap "$WID"
check_restored "mapping it again brings the window back"
check_converts "it still converts: 2 0 0 Enter shows 30.49 euros" restored-200 "2 0 0 Return" \
  30.49 30.48 15.24 1311.91 200 0 0.00
e2e_shot restored >/dev/null

# --- Closing -------------------------------------------------------------------------------------

check_closes() {  # NAME
  xdotool key alt+F4
  if e2e_wait_exit "$APP" 10; then
    e2e_check_eq "$1" 0 "$E2E_EXIT_STATUS"
  else
    e2e_fail "$1" "still running 10 s after Alt+F4"
  fi
}
check_closes "Alt+F4 ends the program with status 0"

# --- A watcher with no host ----------------------------------------------------------------------

# A StatusNotifierItem watcher whose host has not come up (a panel still starting, a crashed
# one) shows no icon either: the program must not count on it.
e2e_spawn watcher "$FAKEWATCHER" --no-host
WATCHER_PID=$E2E_LAST_PID
WATCHER_LOG=$E2E_WORK/logs/watcher.log
watcher_ready() { grep -q '^ready$' "$WATCHER_LOG"; }
e2e_wait_for 10 watcher_ready ||
  e2e_bail "the stand-in watcher is on the bus" "$(cat "$WATCHER_LOG")"
e2e_new_runtime
start_hidden
[ -n "$WID" ] || e2e_bail "with a watcher but no host a start with /Hidden shows the window" \
  "no visible window named Tavelmarque in 20 s"
e2e_pass "with a watcher but no host a start with /Hidden shows the window"
e2e_wait_for 5 e2e_is_active "$WID"
check_minimises "with a watcher but no host Alt+R minimises the window"
timeout 10 xdotool windowactivate --sync "$WID" >/dev/null 2>&1
check_restored "activating it brings the window back"
check_closes "Alt+F4 ends that program with status 0 too"

# --- A watcher that never answers ----------------------------------------------------------------

# A panel that owns the watcher's name but is hung, or too busy at logon to answer.
kill -STOP "$WATCHER_PID"
e2e_new_runtime
STARTED_MS=$(e2e_now_ms)
start_hidden
SHOWN_MS=$(($(e2e_now_ms) - STARTED_MS))
e2e_check "with a watcher that never answers /Hidden shows the window after 10 s ($SHOWN_MS ms)" \
  test -n "$WID" -a "$SHOWN_MS" -ge 9500 -a "$SHOWN_MS" -le 15000
e2e_wait_for 5 e2e_is_active "$WID"
check_converts "it answers keys: 1 0 0 Enter shows 15.24 euros" stalled-100 "1 0 0 Return" \
  15.24 15.25 655.96 100 0 0.00
check_minimises "with a watcher that never answers Alt+R minimises the window"
timeout 10 xdotool windowactivate --sync "$WID" >/dev/null 2>&1
check_closes "brought back, Alt+F4 ends it with status 0 as well"
kill -CONT "$WATCHER_PID"

e2e_finish
