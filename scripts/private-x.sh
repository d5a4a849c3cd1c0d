# The one harness of the private X desktop, shared by the headless run (scripts/run), the
# end-to-end checks (tests/e2e/lib.sh) and the benchmarks (scripts/bench/lib.sh): processes that
# end with the caller, a session of its own (home, runtime folder, instance locks, session bus),
# an X server on a display it picks itself, a window manager that has taken the screen before any
# program maps a window, a notification area, the program and its windows, and bounded waits.
#
# A window mapped while the window manager is still starting may be left unmanaged and never
# shown, so a program is started only once px_start_wm has returned.
# shellcheck shell=bash
# shellcheck disable=SC2034 # the PX_ variables are read by the scripts that source this file

# ---------------------------------------------------------------------------------------------
# Time, processes and bounded waits

px_now_ms() {
  local t=${EPOCHREALTIME//[!0-9]/}
  echo $((10#$t / 1000))
}

# px_wait_for SECONDS COMMAND...: polls the command until it succeeds; fails at the deadline.
# Each poll is a short command, so that a signal sent to the caller is acted on at once.
px_wait_for() {
  local deadline=$(($(px_now_ms) + ${1%.*} * 1000))
  shift
  while :; do
    "$@" && return 0
    [ "$(px_now_ms)" -ge "$deadline" ] && return 1
    sleep 0.05
  done
}

# True when the process has ended; a child not yet reaped counts as ended.
px_exited() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
  stat=${stat##*) }
  [ "${stat%% *}" = Z ]
}

px_running() { ! px_exited "$1"; }

# px_wait_while_running SECONDS PID COMMAND...: polls the command while the process runs.
# Returns 0 when the command succeeded, 1 at the deadline, 2 when the process ended first.
px_wait_while_running() {
  local deadline=$(($(px_now_ms) + ${1%.*} * 1000)) pid=$2
  shift 2
  while :; do
    "$@" && return 0
    px_exited "$pid" && return 2
    [ "$(px_now_ms)" -ge "$deadline" ] && return 1
    sleep 0.05
  done
}

# px_log_reason FILE: the telling line of a log, for a one-line failure message: what follows the
# X server's "Fatal server error:", else the last line with text.
px_log_reason() {
  local line
  line=$(sed -n '/Fatal server error:/{n;s/^(EE) *//;p;q;}' "$1" 2>/dev/null)
  [ -n "$line" ] || line=$(sed 's/^(EE) *//' "$1" 2>/dev/null | grep -v '^[[:space:]]*$' | tail -n 1)
  [ -n "$line" ] && echo " ($line)"
}

# Every background process goes through px_spawn, its output into PX_LOGS/NAME.log (PX_LOGS is
# the caller's folder), so that px_stop_all ends it. PX_GUARD may name a command that runs it,
# such as setpriv --pdeathsig TERM.
PX_PIDS=()
PX_GUARD=()

# px_spawn NAME COMMAND...: starts the command in the background; its id in PX_LAST_PID.
px_spawn() {
  local log=$PX_LOGS/$1.log
  shift
  "${PX_GUARD[@]}" "$@" >"$log" 2>&1 &
  PX_LAST_PID=$!
  PX_PIDS+=("$PX_LAST_PID")
}

# px_stop PID [SIGNAL]: ends a process, by force if it does not end in time, and forgets it, so
# that its id, once reused, is never taken for it. Safe under set -e.
px_stop() {
  local i
  if ! px_exited "$1"; then
    kill "-${2:-TERM}" "$1" 2>/dev/null || true
    px_wait_for 5 px_exited "$1" || kill -KILL "$1" 2>/dev/null || true
  fi
  # Braces: the shell's own "Killed" notice goes to the redirection too.
  { wait "$1"; } 2>/dev/null || true
  for i in "${!PX_PIDS[@]}"; do [ "${PX_PIDS[i]}" != "$1" ] || unset 'PX_PIDS[i]'; done
  PX_PIDS=("${PX_PIDS[@]}")
}

# px_stop_all: ends every process of PX_PIDS, the last started first, so that a program does not
# see its display vanish under it.
px_stop_all() {
  while [ ${#PX_PIDS[@]} -gt 0 ]; do px_stop "${PX_PIDS[-1]}"; done
}

# ---------------------------------------------------------------------------------------------
# The session

# px_forget_session: nothing of the caller's session may leak into the private desktop. A
# program that found the caller's display, bus or session manager would show up on the caller's
# desktop; a scale factor would change the size of every window.
px_forget_session() {
  unset DISPLAY WAYLAND_DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS XDG_SESSION_TYPE
  unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_FONT_DPI
  unset QT_ENABLE_HIGHDPI_SCALING QT_STYLE_OVERRIDE
  export QT_QPA_PLATFORM=xcb
}

# px_private_session NAME: a work folder of its own (PX_WORK, its logs in PX_LOGS) and, for
# everything started from now on, none of the caller's session: a home, a runtime folder, an X
# cookie file and the instance lock's folders under the work folder, so that a program started
# here neither shows on the caller's desktop nor meets the caller's running instance.
px_private_session() {
  PX_WORK=$(mktemp -d "${TMPDIR:-/tmp}/tavelmarque-$1.XXXXXX") || return 1
  PX_LOGS=$PX_WORK/logs
  mkdir -p "$PX_LOGS"
  px_forget_session
  unset LANGUAGE LC_ALL
  export HOME=$PX_WORK/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
  export XDG_RUNTIME_DIR=$PX_WORK/runtime
  export XAUTHORITY=$PX_WORK/Xauthority
  mkdir -p "$HOME" "$XDG_CONFIG_HOME"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  # The instance lock's folders (run/user/UID, tmp) moved under the work folder, away from the
  # caller's.
  export TAVELMARQUE_LOCK_ROOT=$PX_WORK/lock-root
  mkdir -p "$TAVELMARQUE_LOCK_ROOT/run/user" && mkdir -m 700 "$TAVELMARQUE_LOCK_ROOT/run/user/$(id -u)"
  mkdir -m 1777 "$TAVELMARQUE_LOCK_ROOT/tmp"
}

# px_end_session: ends every process started and removes the work folder.
px_end_session() {
  px_stop_all
  rm -rf "$PX_WORK"
}

# ---------------------------------------------------------------------------------------------
# The desktop

# px_start_server WIDTHxHEIGHT SECONDS: starts Xvfb on the first free display, which the server
# itself reports once it accepts clients, with a fresh cookie in $XAUTHORITY (a private file the
# caller exported). Exports DISPLAY and sets PX_SERVER_PID; on failure sets PX_ERROR and
# returns 1.
px_start_server() {
  local size=$1 seconds=$2 numfile=$PX_LOGS/display-number cookie fd
  cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
  # The server accepts every cookie of its file whatever display the entry names; clients look
  # theirs up by display number, added below once the number is known.
  touch "$XAUTHORITY"
  if [ ${#cookie} -ne 32 ] || ! xauth -q -f "$XAUTHORITY" add :0 . "$cookie"; then
    PX_ERROR="the X server's cookie could not be written to $XAUTHORITY"
    return 1
  fi
  : >"$numfile"
  exec {fd}>"$numfile"
  # Without -noreset the server resets whenever its last client leaves, and a client that
  # connects during the reset is turned away.
  px_spawn xvfb Xvfb -displayfd "$fd" -screen 0 "${size}x24" -nolisten tcp -noreset \
    -auth "$XAUTHORITY"
  PX_SERVER_PID=$PX_LAST_PID
  exec {fd}>&-
  px_wait_while_running "$seconds" "$PX_SERVER_PID" px_number_written "$numfile"
  case $? in
    1)
      PX_ERROR="the X server (Xvfb) did not start in $seconds s"
      return 1
      ;;
    2)
      PX_ERROR="the X server (Xvfb) exited$(px_log_reason "$PX_LOGS/xvfb.log")"
      return 1
      ;;
  esac
  local n
  IFS= read -r n <"$numfile"
  export DISPLAY=:$n
  if ! xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie"; then
    PX_ERROR="the X server's cookie could not be written to $XAUTHORITY"
    return 1
  fi
}

# The server writes its display number and a newline once it accepts clients.
px_number_written() {
  local n
  IFS= read -r n <"$1" && [[ $n =~ ^[0-9]+$ ]]
}

# px_wm_ready: a window manager has taken the screen. _NET_SUPPORTING_WM_CHECK on the root names
# the manager's own window, which names itself in turn; a manager that died leaves the root's
# property naming a window that no longer exists.
px_wm_ready() {
  local id
  id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null |
    sed -n 's/.*window id # \(0x[0-9a-fA-F]*\).*/\1/p')
  [ -n "$id" ] || return 1
  [ "$(xprop -id "$id" _NET_SUPPORTING_WM_CHECK 2>/dev/null |
    sed -n 's/.*window id # \(0x[0-9a-fA-F]*\).*/\1/p')" = "$id" ]
}

# px_start_wm SECONDS [OPENBOX_ARG...]: starts openbox and waits until it has taken the screen.
# Sets PX_WM_PID; on failure sets PX_ERROR and returns 1.
px_start_wm() {
  local seconds=$1
  shift
  px_spawn openbox openbox --sm-disable "$@"
  PX_WM_PID=$PX_LAST_PID
  px_wait_while_running "$seconds" "$PX_WM_PID" px_wm_ready
  case $? in
    0) return 0 ;;
    1) PX_ERROR="the window manager (openbox) did not take the screen in $seconds s" ;;
    2) PX_ERROR="the window manager (openbox) exited$(px_log_reason "$PX_LOGS/openbox.log")" ;;
  esac
  return 1
}

# px_start_desktop WIDTHxHEIGHT [--tray]: in the private session, an X server, a session bus for
# the program to find (the notification area), openbox and the US keyboard layout, and with
# --tray a notification area. On failure sets PX_ERROR and returns 1.
px_start_desktop() {
  px_start_server "$1" 15 || return 1
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$PX_WORK/bus
  px_spawn dbus dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS"
  if ! px_wait_while_running 10 "$PX_LAST_PID" test -S "$PX_WORK/bus"; then
    PX_ERROR="the session bus (dbus-daemon) did not start$(px_log_reason "$PX_LOGS/dbus.log")"
    return 1
  fi
  # Openbox's own placement puts a new window in the middle of the free area, which would hide a
  # program that does not centre its window itself: new windows go to the top left here.
  local rc=$PX_WORK/openbox-rc.xml
  if [ -r /etc/xdg/openbox/rc.xml ]; then
    sed 's|<center>yes</center>|<center>no</center>|' /etc/xdg/openbox/rc.xml >"$rc"
  else
    printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' \
      '<openbox_config xmlns="http://openbox.org/3.4/rc">' \
      '<placement><policy>Smart</policy><center>no</center></placement></openbox_config>' >"$rc"
  fi
  px_start_wm 15 --config-file "$rc" || return 1
  # Some callers change the keyboard layout; each starts from the US layout.
  if ! setxkbmap -layout us; then
    PX_ERROR="the US keyboard layout could not be set"
    return 1
  fi
  [ "${2:-}" != --tray ] || px_start_tray
}

# px_start_tray: an XEmbed notification area (trayer) at the bottom right of the screen. On
# failure sets PX_ERROR and returns 1.
px_start_tray() {
  # trayer maps its panel once it has taken the notification area's selection. On a busy
  # machine it sometimes never maps it, waiting for good with the panel made but unmapped:
  # such a trayer is replaced by a new one.
  local tries trayer
  for tries in 1 2 3; do
    px_spawn "trayer-$tries" trayer --edge bottom --align right --widthtype request \
      --height 24 --SetDockType true --transparent false
    trayer=$PX_LAST_PID
    timeout 10 xdotool search --sync --onlyvisible --class '^trayer$' >/dev/null 2>&1 && return 0
    px_stop "$trayer"
  done
  PX_ERROR="the notification area (trayer) did not map$(px_log_reason "$PX_LOGS/trayer-3.log")"
  return 1
}

# ---------------------------------------------------------------------------------------------
# The program and its windows

# The program (PX_APP), started with PX_APP_ENV; PX_APP_RUNS counts the starts.
PX_APP_ENV=(LANG=C.UTF-8 LC_ALL=C.UTF-8)
PX_APP_RUNS=0

# px_new_runtime: a fresh runtime folder for the programs started from now on, so that what an
# earlier, ended program left there plays no part.
px_new_runtime() {
  export XDG_RUNTIME_DIR=$PX_WORK/runtime-$((PX_APP_RUNS + 1))
  mkdir -m 700 "$XDG_RUNTIME_DIR"
}

# px_start_app [ARG...]: starts the program, its output in PX_LOGS/app-N.log; its id in
# PX_APP_PID.
px_start_app() {
  PX_APP_RUNS=$((PX_APP_RUNS + 1))
  px_spawn "app-$PX_APP_RUNS" env "${PX_APP_ENV[@]}" "$PX_APP" "$@"
  PX_APP_PID=$PX_LAST_PID
}

# px_geometry WID: prints "X Y WIDTH HEIGHT", position on the screen.
px_geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ { x = $NF }
    /Absolute upper-left Y:/ { y = $NF }
    /^  Width:/ { w = $NF }
    /^  Height:/ { h = $NF }
    END { if (w != "") print x, y, w, h }'
}

# Ids of the program's viewable main windows, one a line (none: empty). A notification-area icon
# may carry the program's name too; it is icon-sized, the program's windows are not.
px_main_windows() {
  local w g gw gh
  for w in $(xdotool search --onlyvisible --name '^Tavelmarque$' 2>/dev/null); do
    g=$(px_geometry "$w") || continue
    read -r _ _ gw gh <<<"$g"
    [ "${gw:-0}" -ge 100 ] && [ "${gh:-0}" -ge 100 ] && echo "$w"
  done
}

px_main_window_shown() { [ -n "$(px_main_windows)" ]; }
px_main_window_hidden() { [ -z "$(px_main_windows)" ]; }

# px_find_window SECONDS: prints the id of the visible main window, waiting for it to map.
px_find_window() {
  px_wait_for "$1" px_main_window_shown && px_main_windows | head -n 1
}

px_pointer_at() {
  local loc
  loc=$(xdotool getmouselocation --shell 2>/dev/null) || return 1
  grep -qx "X=$1" <<<"$loc" && grep -qx "Y=$2" <<<"$loc"
}

# px_pointer_to X Y: moves the pointer and waits until the server has it there.
px_pointer_to() {
  xdotool mousemove "$1" "$2" && px_wait_for 3 px_pointer_at "$1" "$2"
}

# px_active_window: prints (in decimal) the window the window manager has made active; nothing
# when there is none.
px_active_window() {
  local id
  id=$(xprop -root _NET_ACTIVE_WINDOW 2>/dev/null |
    sed -n 's/.*window id # \(0x[0-9a-fA-F]*\).*/\1/p')
  [ -n "$id" ] && [ $((id)) -ne 0 ] && echo $((id))
}

# px_is_active WID: the window is the active one and has the keyboard focus, so that keys typed
# now reach it.
px_is_active() {
  [ "$(px_active_window)" = "$(($1))" ] &&
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]
}

# The screenshot tool (PX_XSHOT) and the text reader (PX_TEXTPROBE) with its font options.
PX_PROBE_OPTS=()

# px_read_text SECONDS WID SHOT "X Y W H" EXPECTED OTHER...: pictures the window into SHOT until
# the text reader finds the expected text in the box (window pixels) or the time is up: the
# window repaints on its own time. Leaves the reader's report in PX_READ_REPORT and its view of
# the box (the ink it read) in SHOT-reading.png.
px_read_text() {
  local seconds=$1 wid=$2 shot=$3 box deadline status=1
  read -r -a box <<<"$4"
  shift 4
  deadline=$(($(px_now_ms) + seconds * 1000))
  while :; do
    if timeout 20 "$PX_XSHOT" "$wid" "$shot" >/dev/null 2>&1; then
      PX_READ_REPORT=$(timeout 20 "$PX_TEXTPROBE" "${PX_PROBE_OPTS[@]}" \
        --debug "$shot-reading.png" "$shot" "${box[@]}" "$@" 2>&1)
      status=$?
    else
      PX_READ_REPORT="xshot could not take a picture of window $wid"
      status=1
    fi
    [ "$status" -eq 0 ] && break
    [ "$(px_now_ms)" -ge "$deadline" ] && break
    sleep 0.1
  done
  return "$status"
}

# px_app_log_tails: the last lines of each log of the program, for a report of what failed.
px_app_log_tails() {
  local log
  for log in "$PX_LOGS"/app-*.log; do
    [ -s "$log" ] || continue
    echo "# --- $(basename "$log") (last lines)"
    tail -n 15 "$log" | sed 's/^/#   /'
  done
}
