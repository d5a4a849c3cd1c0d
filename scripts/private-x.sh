# The private X desktop shared by the headless run (scripts/run) and the end-to-end checks
# (tests/e2e/lib.sh): an X server on a display it picks itself, a window manager that has
# taken the screen before any program maps a window, and bounded waits.
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

# ---------------------------------------------------------------------------------------------
# The desktop

# px_forget_session: nothing of the caller's session may leak into the private desktop. A
# program that found the caller's display, bus or session manager would show up on the caller's
# desktop; a scale factor would change the size of every window.
px_forget_session() {
  unset DISPLAY WAYLAND_DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS XDG_SESSION_TYPE
  unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_FONT_DPI
  unset QT_ENABLE_HIGHDPI_SCALING QT_STYLE_OVERRIDE
  export QT_QPA_PLATFORM=xcb
}

# px_start_server SPAWN WORKDIR WIDTHxHEIGHT SECONDS: starts Xvfb on the first free display,
# which the server itself reports once it accepts clients, with a fresh cookie in $XAUTHORITY
# (a private file the caller exported). SPAWN NAME COMMAND... is the caller's function that
# starts a command in the background of this shell and keeps its id for its own cleanup.
# Exports DISPLAY and sets PX_SERVER_PID; on failure sets PX_ERROR and returns 1.
px_start_server() {
  local spawn=$1 work=$2 size=$3 seconds=$4 numfile=$2/display-number cookie fd
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
  "$spawn" xvfb Xvfb -displayfd "$fd" -screen 0 "${size}x24" -nolisten tcp -noreset \
    -auth "$XAUTHORITY"
  PX_SERVER_PID=$!
  exec {fd}>&-
  px_wait_while_running "$seconds" "$PX_SERVER_PID" px_number_written "$numfile"
  case $? in
    1)
      PX_ERROR="the X server (Xvfb) did not start in $seconds s"
      return 1
      ;;
    2)
      PX_ERROR="the X server (Xvfb) exited$(px_log_reason "$work/xvfb.log")"
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

# px_start_wm SPAWN WORKDIR SECONDS [OPENBOX_ARG...]: starts openbox and waits until it has taken
# the screen. Sets PX_WM_PID; on failure sets PX_ERROR and returns 1.
px_start_wm() {
  local spawn=$1 work=$2 seconds=$3
  shift 3
  "$spawn" openbox openbox --sm-disable "$@"
  PX_WM_PID=$!
  px_wait_while_running "$seconds" "$PX_WM_PID" px_wm_ready
  case $? in
    0) return 0 ;;
    1) PX_ERROR="the window manager (openbox) did not take the screen in $seconds s" ;;
    2) PX_ERROR="the window manager (openbox) exited$(px_log_reason "$work/openbox.log")" ;;
  esac
  return 1
}

# ---------------------------------------------------------------------------------------------
# Windows

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
