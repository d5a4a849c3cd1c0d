# Harness shared by the end-to-end checks: a private X server with a window manager (a tray when
# asked), a private session bus, home and runtime folder, assertions and screenshots.
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
E2E_PIDS=()
E2E_SHOT_COUNT=0
E2E_SCREEN_W=1024
E2E_SCREEN_H=768

E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/tavelmarque-e2e.XXXXXX") || exit 2
mkdir -p "$E2E_SHOTS" || exit 2
rm -f "$E2E_SHOTS/$E2E_NAME"-*.png

# Nothing of the caller's session may leak in: a program that found the caller's display, bus,
# session manager or runtime folder would show up on the caller's desktop or see the caller's
# running instance.
px_forget_session
unset LANGUAGE LC_ALL
export HOME=$E2E_WORK/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_RUNTIME_DIR=$E2E_WORK/runtime
export XAUTHORITY=$E2E_WORK/Xauthority
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The instance lock's folders (run/user/UID, tmp) moved under the work folder, away from the caller's.
export TAVELMARQUE_LOCK_ROOT=$E2E_WORK/lock-root
E2E_LOCK_FOLDER=$TAVELMARQUE_LOCK_ROOT/run/user/$(id -u)
mkdir -p "$TAVELMARQUE_LOCK_ROOT/run/user" && mkdir -m 700 "$E2E_LOCK_FOLDER"
mkdir -m 1777 "$TAVELMARQUE_LOCK_ROOT/tmp"

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
  if [ "$E2E_FAILED" -gt 0 ]; then
    local log
    for log in "$E2E_WORK"/logs/app-*.log; do
      [ -s "$log" ] || continue
      echo "# --- $(basename "$log") (last lines)"
      tail -n 15 "$log" | sed 's/^/#   /'
    done
  fi
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
# Time and bounded waits

e2e_now_ms() { px_now_ms; }

# e2e_wait_for SECONDS COMMAND...: polls the command until it succeeds; fails at the deadline.
e2e_wait_for() { px_wait_for "$@"; }

# ---------------------------------------------------------------------------------------------
# Processes. Every background process goes through e2e_spawn, so that the exit trap ends it.

mkdir -p "$E2E_WORK/logs"

# e2e_spawn LOGNAME COMMAND...: starts the command in the background; its id in E2E_LAST_PID.
e2e_spawn() {
  local log=$E2E_WORK/logs/$1.log
  shift
  "$@" >"$log" 2>&1 &
  E2E_LAST_PID=$!
  E2E_PIDS+=("$E2E_LAST_PID")
}

# True when the process has ended; a child not yet reaped counts as ended.
e2e_exited() { px_exited "$1"; }

e2e_running() { ! e2e_exited "$1"; }

# e2e_wait_exit PID SECONDS: waits for the process to end and puts its exit status into
# E2E_EXIT_STATUS; fails if it still runs at the deadline. Not in a subshell: only this shell can
# collect its children's status.
e2e_wait_exit() {
  e2e_wait_for "$2" e2e_exited "$1" || return 1
  E2E_EXIT_STATUS=0
  wait "$1" 2>/dev/null || E2E_EXIT_STATUS=$?
}

# e2e_stop PID [SIGNAL]: ends a process started here, by force if it does not end in time.
e2e_stop() {
  e2e_exited "$1" && { wait "$1" 2>/dev/null; return 0; }
  kill "-${2:-TERM}" "$1" 2>/dev/null
  e2e_wait_for 5 e2e_exited "$1" || kill -KILL "$1" 2>/dev/null
  # Braces: the shell's own "Killed" notice goes to the redirection too.
  { wait "$1"; } 2>/dev/null
  return 0
}

e2e_cleanup() {
  local i pid
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    pid=${E2E_PIDS[i]}
    e2e_exited "$pid" || kill -TERM "$pid" 2>/dev/null
  done
  for pid in "${E2E_PIDS[@]}"; do
    e2e_wait_for 3 e2e_exited "$pid" || kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$E2E_WORK"
}
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

e2e_display_answers() { xdpyinfo >/dev/null 2>&1; }
# The window manager has taken the screen: only then may a window map (see private-x.sh).
e2e_wm_answers() { px_wm_ready; }

# e2e_start_x [--tray]: private X server (a display number of its own choosing, its own cookie),
# private session bus, openbox, and with --tray a notification area (trayer).
e2e_start_x() {
  local with_tray=0
  [ "${1:-}" = --tray ] && with_tray=1
  e2e_require Xvfb xauth xdpyinfo xwininfo xprop xdotool openbox dbus-daemon setxkbmap xev
  [ "$with_tray" -eq 1 ] && e2e_require trayer

  px_start_server e2e_spawn "$E2E_WORK/logs" "${E2E_SCREEN_W}x${E2E_SCREEN_H}" 15 ||
    e2e_bail "a private X server starts" "$PX_ERROR" "$(tail -n 5 "$E2E_WORK/logs/xvfb.log")"

  # The program may use the session bus (notification area): it must find a private one.
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$E2E_WORK/bus
  e2e_spawn dbus dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS"
  e2e_wait_for 10 test -S "$E2E_WORK/bus" || e2e_bail "a private session bus starts"

  # Openbox's own placement puts a new window in the middle of the free area, which would hide a
  # program that does not centre its window itself: new windows go to the top left here.
  local rc=$E2E_WORK/openbox-rc.xml
  if [ -r /etc/xdg/openbox/rc.xml ]; then
    sed 's|<center>yes</center>|<center>no</center>|' /etc/xdg/openbox/rc.xml >"$rc"
  else
    printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' \
      '<openbox_config xmlns="http://openbox.org/3.4/rc">' \
      '<placement><policy>Smart</policy><center>no</center></placement></openbox_config>' >"$rc"
  fi
  px_start_wm e2e_spawn "$E2E_WORK/logs" 15 --config-file "$rc" ||
    e2e_bail "the window manager starts" "$PX_ERROR" "$(tail -n 5 "$E2E_WORK/logs/openbox.log")"

  # Keyboard layouts are changed by some checks; every script starts from the US layout.
  setxkbmap -layout us || e2e_bail "the US keyboard layout is set"

  [ "$with_tray" -eq 1 ] && e2e_start_tray
}

# e2e_start_tray: an XEmbed notification area (trayer) at the bottom right of the screen.
e2e_start_tray() {
  e2e_require trayer
  # trayer maps its panel once it has taken the notification area's selection. On a busy
  # machine it sometimes never maps it, waiting for good with the panel made but unmapped:
  # such a trayer is replaced by a new one.
  local tries
  for tries in 1 2 3; do
    e2e_spawn "trayer-$tries" trayer --edge bottom --align right --widthtype request \
      --height 24 --SetDockType true --transparent false
    local trayer=$E2E_LAST_PID
    timeout 10 xdotool search --sync --onlyvisible --class '^trayer$' >/dev/null 2>&1 && return 0
    e2e_stop "$trayer"
  done
  e2e_bail "the notification area (trayer) starts" "$(tail -n 5 "$E2E_WORK"/logs/trayer-*.log)"
}

# ---------------------------------------------------------------------------------------------
# The program

E2E_APP_ENV=(LANG=C.UTF-8 LC_ALL=C.UTF-8)
E2E_APP_RUNS=0

# e2e_new_runtime: a fresh runtime folder for the programs started from now on, so that the
# instance lock of an earlier, ended program plays no part.
e2e_new_runtime() {
  export XDG_RUNTIME_DIR=$E2E_WORK/runtime-$((E2E_APP_RUNS + 1))
  mkdir -m 700 "$XDG_RUNTIME_DIR"
}

# e2e_start_app [ARG...]: starts the program with E2E_APP_ENV; its id in E2E_APP_PID.
e2e_start_app() {
  E2E_APP_RUNS=$((E2E_APP_RUNS + 1))
  e2e_spawn "app-$E2E_APP_RUNS" env "${E2E_APP_ENV[@]}" "$E2E_APP" "$@"
  E2E_APP_PID=$E2E_LAST_PID
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

# Ids of the program's visible main windows, one a line (none: empty).
e2e_main_windows() { px_main_windows; }

e2e_main_window_shown() { [ -n "$(e2e_main_windows)" ]; }
e2e_main_window_hidden() { [ -z "$(e2e_main_windows)" ]; }

# e2e_find_window SECONDS: prints the id of the visible main window, waiting for it to map.
e2e_find_window() {
  e2e_wait_for "$1" e2e_main_window_shown && e2e_main_windows | head -n 1
}

# e2e_geometry WID: prints "X Y WIDTH HEIGHT", position on the screen.
e2e_geometry() { px_geometry "$1"; }

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

e2e_pointer_at() {
  local loc
  loc=$(xdotool getmouselocation --shell 2>/dev/null) || return 1
  grep -qx "X=$1" <<<"$loc" && grep -qx "Y=$2" <<<"$loc"
}

# e2e_pointer_to X Y: moves the pointer and waits until the server has it there.
e2e_pointer_to() {
  xdotool mousemove "$1" "$2" && e2e_wait_for 3 e2e_pointer_at "$1" "$2"
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

# Font of the text that e2e_read_text reads (textprobe's options).
E2E_PROBE_OPTS=()

# e2e_read_text SECONDS WID SHOTNAME "X Y W H" EXPECTED OTHER...: screenshots the window until
# the text reader finds the expected text in the box (window pixels) or the time is up; the window
# repaints on its own time. Keeps the last screenshot and leaves the reader's report in
# E2E_READ_REPORT.
e2e_read_text() {
  local seconds=$1 wid=$2 name=$3 box
  read -r -a box <<<"$4"
  shift 4
  local shot=$E2E_WORK/read.png deadline status=1
  deadline=$(($(e2e_now_ms) + seconds * 1000))
  while :; do
    if timeout 20 "$E2E_XSHOT" "$wid" "$shot" >/dev/null 2>&1; then
      E2E_READ_REPORT=$(timeout 20 "$E2E_TEXTPROBE" "${E2E_PROBE_OPTS[@]}" \
        --debug "$E2E_WORK/read-debug.png" "$shot" "${box[@]}" "$@" 2>&1)
      status=$?
    else
      E2E_READ_REPORT="xshot could not take a picture of window $wid"
      status=1
    fi
    [ "$status" -eq 0 ] && break
    [ "$(e2e_now_ms)" -ge "$deadline" ] && break
    sleep 0.1
  done
  E2E_SHOT_COUNT=$((E2E_SHOT_COUNT + 1))
  local kept
  kept=$E2E_SHOTS/$(printf '%s-%02d-%s' "$E2E_NAME" "$E2E_SHOT_COUNT" "$name")
  cp "$shot" "$kept.png" 2>/dev/null
  # When the reading fails: the box as seen, the ink read from it, and the expected text.
  [ "$status" -eq 0 ] || cp "$E2E_WORK/read-debug.png" "$kept-reading.png" 2>/dev/null
  return "$status"
}

# ---------------------------------------------------------------------------------------------
# Window manager state

# e2e_active_window: prints (in decimal) the window the window manager has made active; nothing
# when there is none.
e2e_active_window() {
  local id
  id=$(xprop -root _NET_ACTIVE_WINDOW 2>/dev/null |
    sed -n 's/.*window id # \(0x[0-9a-fA-F]*\).*/\1/p')
  [ -n "$id" ] && [ $((id)) -ne 0 ] && echo $((id))
}

# e2e_is_active WID: the window is the active one and has the keyboard focus, so that keys typed
# now reach it.
e2e_is_active() {
  [ "$(e2e_active_window)" = "$(($1))" ] &&
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]
}

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
