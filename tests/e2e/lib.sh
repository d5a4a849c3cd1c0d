# What the end-to-end checks add to the private desktop of scripts/private-x.sh: the checks'
# arguments, assertions and their report, screenshots kept for a failure, and the probes of the
# window manager's state and of the windows' texts (AT-SPI) that the checks assert on.
#
# A check script sources this file with its arguments:  PROGRAM XSHOT SCREENSHOT_DIR
# then calls e2e_start_x, its assertions, and e2e_finish.
# shellcheck shell=bash
# shellcheck disable=SC2034 # the E2E_ variables are read by the scripts that source this file

set -uo pipefail

# shellcheck source=scripts/private-x.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/private-x.sh"

if [ $# -ne 3 ]; then
  echo "usage: $0 TAVELMARQUE XSHOT SCREENSHOT_DIR" >&2
  exit 2
fi
E2E_APP=$1
E2E_XSHOT=$2
E2E_SHOTS=$3
E2E_NAME=$(basename "$0" .sh)
# The text reader is built beside xshot; CTest may name it explicitly.
E2E_TEXTPROBE=${TEXTPROBE:-$(dirname "$E2E_XSHOT")/textprobe}

E2E_PASSED=0
E2E_FAILED=0
E2E_SHOT_COUNT=0
E2E_SCREEN_W=1024
E2E_SCREEN_H=768

# A private session: nothing of the caller's may leak in.
px_private_session e2e || exit 2
E2E_WORK=$PX_WORK
E2E_LOCK_FOLDER=$TAVELMARQUE_LOCK_ROOT/run/user/$(id -u)
PX_XSHOT=$E2E_XSHOT
PX_TEXTPROBE=$E2E_TEXTPROBE
# The checks' names for the harness's state, which they read (and E2E_PIDS add to).
declare -n E2E_PIDS=PX_PIDS E2E_LAST_PID=PX_LAST_PID E2E_APP_PID=PX_APP_PID \
  E2E_APP_RUNS=PX_APP_RUNS E2E_READ_REPORT=PX_READ_REPORT
# The program's environment and the font of the text read, which the checks set.
E2E_APP_ENV=("${PX_APP_ENV[@]}")
E2E_PROBE_OPTS=()
mkdir -p "$E2E_SHOTS" || exit 2
rm -f "$E2E_SHOTS/$E2E_NAME"-*.png

# ---------------------------------------------------------------------------------------------
# Assertions

e2e_pass() {
  E2E_PASSED=$((E2E_PASSED + 1))
  echo "ok - $1"
}

# e2e_fail NAME [DETAIL...]
e2e_fail() {
  E2E_FAILED=$((E2E_FAILED + 1))
  echo "not ok - $1"
  shift
  local detail line
  for detail in "$@"; do
    while IFS= read -r line; do echo "#   $line"; done <<<"$detail"
  done
}

# e2e_check NAME COMMAND...: passes when the command succeeds.
e2e_check() {
  local name=$1
  shift
  if "$@"; then e2e_pass "$name"; else e2e_fail "$name" "failed: $*"; fi
}

# e2e_check_eq NAME EXPECTED ACTUAL
e2e_check_eq() {
  if [ "$2" = "$3" ]; then
    e2e_pass "$1"
  else
    e2e_fail "$1" "expected: $2" "actual:   $3"
  fi
}

e2e_finish() {
  [ "$E2E_FAILED" -eq 0 ] || px_app_log_tails
  echo "$E2E_PASSED passed, $E2E_FAILED failed"
  [ "$E2E_FAILED" -eq 0 ]
  exit $?
}

# e2e_bail NAME [DETAIL...]: a failure after which nothing else can be checked.
e2e_bail() {
  e2e_fail "$@"
  e2e_finish
}

# ---------------------------------------------------------------------------------------------
# The checks' names for the harness's waits and processes (scripts/private-x.sh)

e2e_now_ms() { px_now_ms; }
e2e_wait_for() { px_wait_for "$@"; }
e2e_spawn() { px_spawn "$@"; }
e2e_exited() { px_exited "$1"; }
e2e_running() { px_running "$1"; }
e2e_stop() { px_stop "$@"; }

# e2e_wait_exit PID SECONDS: waits for the process to end and puts its exit status into
# E2E_EXIT_STATUS; fails if it still runs at the deadline. Not in a subshell: only this shell can
# collect its children's status.
e2e_wait_exit() {
  e2e_wait_for "$2" e2e_exited "$1" || return 1
  E2E_EXIT_STATUS=0
  wait "$1" 2>/dev/null || E2E_EXIT_STATUS=$?
}

e2e_cleanup() { px_end_session; }
trap e2e_cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# ---------------------------------------------------------------------------------------------
# The private desktop

e2e_require() {
  local missing=() tool
  for tool in "$@"; do command -v "$tool" >/dev/null 2>&1 || missing+=("$tool"); done
  [ -x "$E2E_APP" ] || missing+=("$E2E_APP")
  [ -x "$E2E_XSHOT" ] || missing+=("$E2E_XSHOT")
  [ ${#missing[@]} -eq 0 ] || e2e_bail "the tools of the checks are present" "missing: ${missing[*]}" \
    "Debian packages: xvfb xauth xdotool openbox trayer x11-utils x11-xkb-utils dbus"
}

# e2e_start_x [--tray]: the harness's private desktop, and with --tray a notification area.
e2e_start_x() {
  e2e_require Xvfb xauth xdpyinfo xwininfo xprop xdotool openbox dbus-daemon setxkbmap xev
  [ "${1:-}" != --tray ] || e2e_require trayer
  px_start_desktop "${E2E_SCREEN_W}x${E2E_SCREEN_H}" "$@" ||
    e2e_bail "the private desktop starts" "$PX_ERROR"
}

# e2e_start_tray: a notification area, when the desktop runs.
e2e_start_tray() {
  e2e_require trayer
  px_start_tray || e2e_bail "the notification area (trayer) starts" "$PX_ERROR"
}

# ---------------------------------------------------------------------------------------------
# The program

e2e_new_runtime() { px_new_runtime; }

# e2e_start_app [ARG...]: starts the program (E2E_APP) with E2E_APP_ENV; its id in E2E_APP_PID.
e2e_start_app() {
  PX_APP=$E2E_APP
  PX_APP_ENV=("${E2E_APP_ENV[@]}")
  px_start_app "$@"
}

# e2e_start_app_read_only FOLDER [VAR=VALUE...]: starts the program with that environment, the
# folder read-only for it alone (root writes through any permission bits): a read-only mount in
# a mount namespace of its own, which nothing outside it sees. Its id in E2E_LAST_PID. Bails out
# of the check, as skipped, where no mount namespace may be made.
e2e_start_app_read_only() {
  if ! unshare -m true 2>/dev/null; then
    echo "# skipped: no mount namespace may be made here (unshare -m needs CAP_SYS_ADMIN)"
    e2e_finish
  fi
  local folder=$1
  shift
  e2e_spawn app-read-only unshare -m --propagation private sh -c \
    'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && shift && exec "$@"' \
    sh "$folder" env "$@" "$E2E_APP"
}

# e2e_french_locale: sets E2E_FR_ENV to the environment of a French locale (decimal comma), made
# in the work folder when the machine has the definition but not the compiled locale. Fails when
# neither is there.
e2e_french_locale() {
  if locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
    E2E_FR_ENV=(LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8)
    return 0
  fi
  command -v localedef >/dev/null 2>&1 || return 1
  [ -e /usr/share/i18n/locales/fr_FR ] || return 1
  mkdir -p "$E2E_WORK/locale"
  timeout 60 localedef -i fr_FR -f UTF-8 "$E2E_WORK/locale/fr_FR.UTF-8" >/dev/null 2>&1 || return 1
  E2E_FR_ENV=(LOCPATH="$E2E_WORK/locale" LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8)
}

e2e_main_windows() { px_main_windows; }
e2e_main_window_shown() { px_main_window_shown; }
e2e_main_window_hidden() { px_main_window_hidden; }
e2e_find_window() { px_find_window "$1"; }
e2e_geometry() { px_geometry "$1"; }
e2e_pointer_at() { px_pointer_at "$@"; }
e2e_pointer_to() { px_pointer_to "$@"; }

# e2e_position_is WID X Y
e2e_position_is() {
  local g
  g=$(e2e_geometry "$1") || return 1
  [ "${g% * *}" = "$2 $3" ]
}

# e2e_toplevel WID: prints (in decimal) the child of the root that holds the window: the window
# manager's frame around it, or the window itself.
e2e_toplevel() {
  local w=$1 root parent _
  root=$(xwininfo -root | awk '/Window id:/ { print $4; exit }')
  for _ in 1 2 3 4 5 6 7 8; do
    parent=$(xwininfo -tree -id "$w" 2>/dev/null | awk '/Parent window id:/ { print $4 }')
    [ -n "$parent" ] || return 1
    if [ $((parent)) -eq $((root)) ]; then
      echo $((w))
      return 0
    fi
    w=$parent
  done
  return 1
}

# e2e_window_at X Y: prints (in decimal) the child of the root under the screen point.
e2e_window_at() {
  e2e_pointer_to "$1" "$2" || return 1
  xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p'
}

# e2e_drag BUTTON X Y DX DY: presses the button at (X, Y), moves the pointer by (DX, DY) in four
# steps, each one reaching the server, and releases the button there.
e2e_drag() {
  local button=$1 x=$2 y=$3 dx=$4 dy=$5 step
  e2e_pointer_to "$x" "$y" || return 1
  xdotool mousedown "$button" || return 1
  for step in 1 2 3 4; do
    e2e_pointer_to $((x + dx * step / 4)) $((y + dy * step / 4)) || break
  done
  xdotool mouseup "$button"
}

# e2e_shot NAME [WID]: saves a picture of the window (default: the whole screen) into the
# screenshot folder; prints its path.
e2e_shot() {
  E2E_SHOT_COUNT=$((E2E_SHOT_COUNT + 1))
  local path
  path=$E2E_SHOTS/$(printf '%s-%02d-%s.png' "$E2E_NAME" "$E2E_SHOT_COUNT" "$1")
  timeout 20 "$E2E_XSHOT" "${2:-0}" "$path" >/dev/null 2>&1 || return 1
  echo "$path"
}

# e2e_read_text SECONDS WID SHOTNAME "X Y W H" EXPECTED OTHER...: the harness's px_read_text, in
# the font of E2E_PROBE_OPTS; keeps the last screenshot in the screenshot folder, and when the
# reading fails the box as seen, the ink read from it and the expected text.
e2e_read_text() {
  local seconds=$1 wid=$2 name=$3 shot=$E2E_WORK/read.png status=0 kept
  shift 3
  PX_PROBE_OPTS=("${E2E_PROBE_OPTS[@]}")
  px_read_text "$seconds" "$wid" "$shot" "$@" || status=$?
  E2E_SHOT_COUNT=$((E2E_SHOT_COUNT + 1))
  kept=$E2E_SHOTS/$(printf '%s-%02d-%s' "$E2E_NAME" "$E2E_SHOT_COUNT" "$name")
  cp "$shot" "$kept.png" 2>/dev/null
  [ "$status" -eq 0 ] || cp "$shot-reading.png" "$kept-reading.png" 2>/dev/null
  return "$status"
}

# ---------------------------------------------------------------------------------------------
# Window manager state

e2e_active_window() { px_active_window; }
e2e_is_active() { px_is_active "$1"; }

# e2e_wm_state WID: prints the ICCCM state the window manager gives the window (Normal, Iconic,
# Withdrawn); nothing when it has given none.
e2e_wm_state() {
  xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'
}

# e2e_map_state WID: prints IsViewable, IsUnviewable or IsUnMapped.
e2e_map_state() {
  xwininfo -id "$1" 2>/dev/null | sed -n 's/^  Map State: //p'
}

# e2e_has_net_state WID STATE...: the window's _NET_WM_STATE holds every one of the states.
e2e_has_net_state() {
  local states state
  states=$(xprop -id "$1" _NET_WM_STATE 2>/dev/null) || return 1
  shift
  for state in "$@"; do
    grep -qE "(= |, )$state(,|\$)" <<<"$states" || return 1
  done
}

# e2e_watch_clients: from now on, every window the window manager manages is logged. It lists
# each one in the root's _NET_CLIENT_LIST, so that a window shown even for a moment leaves its
# trace in the log; icons in a tray and tooltips are not managed. The window manager may write
# the list again unchanged: only windows missing from its first value count.
e2e_watch_clients() {
  E2E_CLIENTS_LOG=$E2E_WORK/logs/clients.log
  e2e_spawn clients xprop -root -spy _NET_CLIENT_LIST
  # xprop prints the list as it is first, then each new value.
  e2e_wait_for 10 grep -q . "$E2E_CLIENTS_LOG"
}

# e2e_new_clients: prints the windows managed since e2e_watch_clients, one a line.
e2e_new_clients() {
  local first
  first=$(head -n 1 "$E2E_CLIENTS_LOG" | grep -o '0x[0-9a-f]*' | sort -u)
  tail -n +2 "$E2E_CLIENTS_LOG" | grep -o '0x[0-9a-f]*' | sort -u | grep -vxF "${first:-none}"
}

# e2e_check_alt_r_hides NAME: Alt+R, typed into the active window, unmaps it without minimising
# it. Returns 1 when the window is still mapped.
e2e_check_alt_r_hides() {
  local name=$1 state
  xdotool key alt+r
  if ! e2e_wait_for 5 e2e_main_window_hidden; then
    e2e_fail "$name" "the window is still mapped 5 s after Alt+R"
    return 1
  fi
  state=$(e2e_wm_state "$WID")
  if [ "$(e2e_map_state "$WID")" = IsUnMapped ] && [ "$state" != Iconic ]; then
    e2e_pass "$name"
  else
    e2e_fail "$name" "map state $(e2e_map_state "$WID"), WM_STATE ${state:-none}:" \
      "minimised, not hidden"
  fi
}

# ---------------------------------------------------------------------------------------------
# Reading the windows as a screen reader does (AT-SPI)

# Debian's own Python, which has pyatspi; a Python of the user's may come first in PATH.
E2E_PYTHON=/usr/bin/python3
E2E_ATSPI=$(dirname "${BASH_SOURCE[0]}")/atspi-labels.py

# e2e_require_screen_reader: bails out unless the accessibility library is there.
e2e_require_screen_reader() {
  e2e_require "$E2E_PYTHON"
  "$E2E_PYTHON" -c 'import pyatspi' 2>/dev/null ||
    e2e_bail "the screen reader's library is present" \
      "Debian packages: at-spi2-core python3-pyatspi"
}

# e2e_labels TITLE: "X Y NAME" for each label of the program's window titled TITLE.
e2e_labels() { "$E2E_PYTHON" "$E2E_ATSPI" Tavelmarque "$1" 2>/dev/null; }

# e2e_read_label TITLE "X Y": the caption of the label at that corner of the window.
e2e_read_label() {
  local x y
  read -r x y <<<"$2"
  e2e_labels "$1" |
    awk -v x="$x" -v y="$y" '$1 == x && $2 == y { sub(/^[^ ]+ [^ ]+ /, ""); print; exit }'
}
e2e_label_reads() { [ "$(e2e_read_label "$1" "$2")" = "$3" ]; }

# e2e_check_reads NAME TITLE "X Y" EXPECTED: the label comes to read EXPECTED within 5 s.
e2e_check_reads() {
  if e2e_wait_for 5 e2e_label_reads "$2" "$3" "$4"; then
    e2e_pass "$1"
  else
    e2e_fail "$1" "expected: $4" "read:     $(e2e_read_label "$2" "$3")"
  fi
}
