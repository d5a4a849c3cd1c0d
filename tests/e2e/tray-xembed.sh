#!/usr/bin/env bash
# The notification-area icon in an XEmbed tray (trayer), clicked with the real mouse: a hidden
# start leaves only the icon; a double-click on it brings the window up with the keyboard, any
# number of times and with the amounts as they were; other clicks do nothing; Alt+R hides the
# window again, a second start adds nothing, and closing takes the icon away.
#
# usage: tray-xembed.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

# Window-relative places of the amounts in pixels: the layout's twips divided by 15.
AMOUNT_FRANCS="56 40 89 15"   # lblP(0): 840,600 1332x228 twips
AMOUNT_EUROS="72 104 89 15"   # lblP(2): 1080,1560 1332x228 twips
# Clicks that should do nothing are watched for this long, many times what a double-click takes
# to bring the window up; the double-click time of the toolkit (400 ms) is over by then too, so
# that two separate clicks never make one double-click.
QUIET_S=2

e2e_require "$E2E_TEXTPROBE"
e2e_start_x --tray

PANEL=$(xdotool search --onlyvisible --class '^trayer$' 2>/dev/null | head -n 1)
[ -n "$PANEL" ] || e2e_bail "the notification area's panel is found"

# The windows embedded in the tray, one a line: "ID NAME WIDTHxHEIGHT". trayer puts a socket
# window of its own into its panel for each icon and the icon's window into that socket: the
# panel's grandchildren, which xwininfo indents by eight blanks.
tray_icons() {
  xwininfo -tree -id "$PANEL" 2>/dev/null | awk '
    /^        0x[0-9a-f]+ / {
      name = "-"
      if (match($0, /"[^"]*":/)) name = substr($0, RSTART + 1, RLENGTH - 3)
      size = ""
      for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { size = $i; sub(/\+.*/, "", size) }
      print $1, name, size
    }'
}
tray_icon_count() { tray_icons | grep -c .; }
tray_empty() { [ "$(tray_icon_count)" -eq 0 ]; }

# The program's icon: its window in ICON, and its centre on the screen.
ICON=""
find_icon() {
  ICON=$(tray_icons | awk '$2 == "Tavelmarque" { print $1; exit }')
  [ -n "$ICON" ]
}
icon_centre() {
  local x y w h
  read -r x y w h <<<"$(e2e_geometry "$ICON")"
  [ -n "$h" ] && echo "$((x + w / 2)) $((y + h / 2))"
}

# click_icon BUTTON [REPEAT]: real clicks at the centre of the icon, as a user's hand gives them.
click_icon() {
  local cx cy
  read -r cx cy <<<"$(icon_centre)"
  [ -n "$cy" ] && e2e_pointer_to "$cx" "$cy" || return 1
  xdotool click --repeat "${2:-1}" --delay 80 "$1"
}

# check_no_window_for NAME SECONDS: the main window stays unmapped the whole time.
check_no_window_for() {
  if e2e_wait_for "$2" e2e_main_window_shown; then
    e2e_fail "$1" "a main window mapped: $(e2e_main_windows)"
  else
    e2e_pass "$1"
  fi
}

# check_read NAME SHOTNAME ROW EXPECTED RIVAL...: reads the amount of a row (francs or euros)
# off the main window.
check_read() {
  local name=$1 shot=$2 place=$AMOUNT_EUROS
  # The amounts are bold 8.25-point text; the selected row (the francs, here) is drawn in the
  # highlight colour, the others in black.
  E2E_PROBE_OPTS=(--bold)
  if [ "$3" = francs ]; then
    place=$AMOUNT_FRANCS
    E2E_PROBE_OPTS=(--bold --ink 506478)
  fi
  shift 3
  if e2e_read_text 10 "$WID" "$shot" "$place" "$@"; then
    e2e_pass "$name"
  else
    e2e_fail "$name" "$E2E_READ_REPORT"
  fi
}

# check_double_click_shows NAME: a double-click on the icon maps the window and gives it the
# keyboard; sets WID and SHOW_MS.
check_double_click_shows() {
  local name=$1 started shown
  started=$(e2e_now_ms)
  click_icon 1 2
  shown=$(e2e_find_window 10)
  if [ -z "$shown" ]; then
    e2e_fail "$name" "no main window mapped within 10 s"
    return 1
  fi
  SHOW_MS=$(($(e2e_now_ms) - started))
  [ -n "${WID:-}" ] && [ "$shown" != "$WID" ] &&
    e2e_fail "$name: the same window as before" "was $WID, now $shown"
  WID=$shown
  if e2e_wait_for 5 e2e_is_active "$WID"; then
    e2e_pass "$name"
  else
    e2e_fail "$name" "the window maps but is not active with the focus" \
      "active: $(e2e_active_window); focus: $(xdotool getwindowfocus 2>&1); window: $WID"
  fi
}

# check_out_of_task_bars NAME: a window brought back from the notification area is still one that
# task bars and pagers leave out; window managers drop those states when a window is unmapped.
out_of_task_bars() {
  e2e_has_net_state "$WID" _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER
}
check_out_of_task_bars() {
  if e2e_wait_for 5 out_of_task_bars; then
    e2e_pass "$1"
  else
    e2e_fail "$1" "$(xprop -id "$WID" _NET_WM_STATE)"
  fi
}

# check_hides NAME: Alt+R, typed into the active window, unmaps it without minimising it, and
# the icon stays.
check_hides() {
  local name=$1
  e2e_check_alt_r_hides "$name" || return 1
  e2e_check_eq "$name: the icon stays in the tray" "1 Tavelmarque" \
    "$(tray_icon_count) $(tray_icons | awk '{ print $2 }' | tr '\n' ' ' | sed 's/ $//')"
}

# --- A hidden start ----------------------------------------------------------------------------

# Even a window shown for a moment enters the window manager's client list.
e2e_watch_clients || e2e_bail "the window manager's client list is watched"

e2e_start_app /Hidden
APP=$E2E_APP_PID
if e2e_wait_for 20 find_icon; then
  e2e_pass "a start with /Hidden puts an icon into the tray"
else
  e2e_bail "a start with /Hidden puts an icon into the tray" "embedded: $(tray_icons)"
fi
# The icon is embedded from the event loop, after the window would have been asked to show:
# a window that was going to show is on its way by now.
check_no_window_for "a start with /Hidden shows no window" "$QUIET_S"
NEW_CLIENTS=$(e2e_new_clients)
if [ -z "$NEW_CLIENTS" ]; then
  e2e_pass "a start with /Hidden shows no window even for a moment"
else
  e2e_fail "a start with /Hidden shows no window even for a moment" \
    "the window manager took on: $NEW_CLIENTS" "client list: $(cat "$E2E_CLIENTS_LOG")"
fi
e2e_check_eq "the tray holds exactly one icon, the program's" "1" "$(tray_icon_count)"
read -r _ _ ICON_W ICON_H <<<"$(e2e_geometry "$ICON")"
if [ "${ICON_W:-0}" -ge 16 ] && [ "${ICON_W:-0}" -le 32 ] && [ "${ICON_H:-0}" -ge 16 ] &&
  [ "${ICON_H:-0}" -le 32 ]; then
  e2e_pass "the icon is icon-sized ($ICON_W x $ICON_H)"
else
  e2e_fail "the icon is icon-sized" "${ICON_W:-?} x ${ICON_H:-?}"
fi
e2e_shot hidden-start >/dev/null

# Its icon in the tray, the program sleeps: a tray taking or dropping the icon is news from the X
# server, not something looked for on a timer. Every thread's context switches over 3 s.
switches() {
  cat /proc/"$APP"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { n += $2 } END { print n + 0 }'
}
IDLE_FROM=$(switches)
sleep 3
IDLE_SWITCHES=$(($(switches) - IDLE_FROM))
if [ "$IDLE_SWITCHES" -le 2 ]; then
  e2e_pass "left alone with its icon shown, the program sleeps ($IDLE_SWITCHES wake-ups in 3 s)"
else
  e2e_fail "left alone with its icon shown, the program sleeps" "$IDLE_SWITCHES wake-ups in 3 s"
fi

# --- The tooltip ---------------------------------------------------------------------------------

tooltip_window() {
  local w
  for w in $(xdotool search --onlyvisible --class '^Tavelmarque$' 2>/dev/null); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_TOOLTIP &&
      echo "$w" && return 0
  done
  return 1
}
read -r CX CY <<<"$(icon_centre)"
# A tooltip follows a pointer that rests over the icon after moving there.
e2e_pointer_to $((CX - 3)) "$CY" && e2e_pointer_to "$CX" "$CY"
if e2e_wait_for 5 tooltip_window >/dev/null; then
  TIP=$(tooltip_window)
  read -r _ _ TIP_W TIP_H <<<"$(e2e_geometry "$TIP")"
  # The tooltip's text in the toolkit's standard font, inside its one-pixel frame, with the
  # label's few pixels of margin on the right. A tip filled up with blanks makes a far wider
  # window, which the reading does not match either.
  E2E_PROBE_OPTS=(--font "Sans Serif" --points 9)
  if e2e_read_text 5 "$TIP" tooltip "1 1 $((TIP_W - 7)) $((TIP_H - 2))" Tavelmarque \
    Tavelmarqu avelmarque Tavelmarquee Dorvanta; then
    e2e_pass "hovering the icon shows the tooltip 'Tavelmarque'"
  else
    e2e_fail "hovering the icon shows the tooltip 'Tavelmarque'" "tooltip $TIP_W x $TIP_H" \
      "$E2E_READ_REPORT"
  fi
else
  e2e_fail "hovering the icon shows the tooltip 'Tavelmarque'" "no tooltip window in 5 s"
fi
e2e_check "hovering the icon shows no window" e2e_main_window_hidden
# The pointer leaves the icon so that the tooltip goes away.
e2e_pointer_to $((E2E_SCREEN_W / 2)) $((E2E_SCREEN_H / 2))
no_tooltip() { ! tooltip_window >/dev/null; }
e2e_wait_for 5 no_tooltip

# --- A double-click shows the window with the keyboard -----------------------------------------

WID=""
check_double_click_shows "a double-click on the icon shows the window and makes it active" ||
  e2e_bail "the checks below need the window brought up by the icon"
echo "# the double-click brought the window up in $SHOW_MS ms"
SHOWN_AT=$(e2e_geometry "$WID" | cut -d' ' -f1,2)
e2e_check_eq "the window manager's active window (_NET_ACTIVE_WINDOW) is the window" \
  "$WID" "$(e2e_active_window)"
e2e_check_eq "xdotool getactivewindow names the window" "$WID" "$(xdotool getactivewindow 2>&1)"
check_out_of_task_bars "shown from the icon, the window is left out of task bars and pagers"
e2e_shot shown-by-double-click >/dev/null

# No windowactivate here: the keys go where the double-click left the focus.
xdotool key 1 0 0 Return
check_read "typing 1 0 0 Enter right after the double-click shows 15.24 euros" typed-100 \
  euros 15.24 15.25 655.96 100 0 0.00

# --- Alt+R hides; other clicks do nothing --------------------------------------------------------

check_hides "Alt+R hides the window (unmapped, not minimised)"
e2e_check "the program still runs with its window hidden" e2e_running "$APP"

click_icon 1
check_no_window_for "a single click on the icon while hidden does not show the window" "$QUIET_S"
click_icon 3
check_no_window_for "a right click on the icon while hidden does not show the window" "$QUIET_S"
click_icon 2
check_no_window_for "a middle click on the icon while hidden does not show the window" "$QUIET_S"
e2e_check_eq "the clicks leave one icon in the tray" "1" "$(tray_icon_count)"

check_double_click_shows "a double-click after Alt+R shows the window again and makes it active"
check_out_of_task_bars "brought back, the window is still left out of task bars and pagers"
e2e_check_eq "the window comes back where it was" "$SHOWN_AT" \
  "$(e2e_geometry "$WID" | cut -d' ' -f1,2)"

# --- A double-click while shown brings the window to the front -----------------------------------

e2e_spawn other xev -name tavelmarque-e2e-other -event button -geometry 400x400+20+20
OTHER_PID=$E2E_LAST_PID
OTHER=$(timeout 10 xdotool search --sync --onlyvisible --name '^tavelmarque-e2e-other$' | head -n 1)
if [ -n "$OTHER" ] && timeout 10 xdotool windowactivate --sync "$OTHER" >/dev/null 2>&1 &&
  e2e_wait_for 5 e2e_is_active "$OTHER"; then
  click_icon 1 2
  if e2e_wait_for 5 e2e_is_active "$WID"; then
    e2e_pass "a double-click while the window is shown but not active activates it again"
  else
    e2e_fail "a double-click while the window is shown but not active activates it again" \
      "active: $(e2e_active_window); other window: $((OTHER)); ours: $WID"
  fi
  e2e_check "the window is still shown" e2e_main_window_shown
else
  e2e_fail "a double-click while the window is shown but not active activates it again" \
    "setup: another window could not be made active"
fi
e2e_stop "$OTHER_PID"

# --- The amounts survive hiding ------------------------------------------------------------------

# An entry left running when the window is hidden goes on when it is back: the next digit is
# appended, and Enter converts the whole amount.
e2e_wait_for 5 e2e_is_active "$WID"
xdotool key 1 2
check_read "typing 1 2 starts a new entry: the francs row shows 12" typed-12 \
  francs 12 1 100 0
check_hides "Alt+R during an entry hides the window"
check_double_click_shows "a double-click brings the window back during the entry"
xdotool key 3 Return
check_read "the entry went on: the francs row shows 123" typed-123 \
  francs 123 3 12 1003 100 0
check_read "and its conversion: 18.75 euros" converted-123 \
  euros 18.75 0.46 1.83 15.24 15.25 0.00

# --- A second start while hidden -----------------------------------------------------------------

check_hides "Alt+R hides the window once more"
started=$(e2e_now_ms)
e2e_start_app
SECOND=$E2E_APP_PID
if e2e_wait_exit "$SECOND" 10; then
  elapsed=$(($(e2e_now_ms) - started))
  if [ "$E2E_EXIT_STATUS" -eq 0 ] && [ "$elapsed" -le 2000 ]; then
    e2e_pass "a second start while the first is hidden ends at once with status 0"
  else
    e2e_fail "a second start while the first is hidden ends at once with status 0" \
      "status $E2E_EXIT_STATUS after $elapsed ms (at most 2000 ms wanted)"
  fi
else
  e2e_fail "a second start while the first is hidden ends at once with status 0" \
    "still running after 10 s"
fi
# Looked at before a second program that failed to end is stopped: whatever it added is there.
check_no_window_for "the second start shows no window" "$QUIET_S"
e2e_check_eq "the second start adds no icon" "1" "$(tray_icon_count)"
e2e_stop "$SECOND"
e2e_check "the first program still runs" e2e_running "$APP"

# --- Closing -------------------------------------------------------------------------------------

# check_closed NAME: the program ends with status 0 and takes its icon out of the tray.
check_closed() {
  if e2e_wait_exit "$APP" 10; then
    e2e_check_eq "$1 ends the program with status 0" 0 "$E2E_EXIT_STATUS"
  else
    e2e_fail "$1 ends the program with status 0" "still running 10 s after"
  fi
  if e2e_wait_for 5 tray_empty; then
    e2e_pass "$1: the icon is gone from the tray"
  else
    e2e_fail "$1: the icon is gone from the tray" "embedded: $(tray_icons)"
  fi
}

# Alt+F4 as this desktop has it: the window manager takes the key and asks the window to close.
check_double_click_shows "a double-click shows the window before closing"
xdotool key alt+F4
check_closed "Alt+F4"
e2e_shot closed >/dev/null

# The window's own command images, clicked: "Réduire" hides it to the icon, "Fermer" ends the
# program. Their places in window pixels: the layout's twips (960,120 and 720,120) divided by 15,
# and a few pixels into the picture.
CLOSE_X=71
CLOSE_Y=15
REDUCE_X=55
REDUCE_Y=15
e2e_new_runtime
e2e_start_app /Hidden
APP=$E2E_APP_PID
e2e_wait_for 20 find_icon || e2e_bail "a new start with /Hidden puts its icon into the tray"
WID=""
check_double_click_shows "a new start: a double-click shows its window"
click_window() {  # X Y, in window pixels
  local x y
  read -r x y _ _ <<<"$(e2e_geometry "$WID")"
  e2e_pointer_to $((x + $1)) $((y + $2)) && xdotool click 1
}
click_window "$REDUCE_X" "$REDUCE_Y"
if e2e_wait_for 5 e2e_main_window_hidden; then
  e2e_pass "a click on the 'Réduire' image hides the window"
else
  e2e_fail "a click on the 'Réduire' image hides the window" "still mapped after 5 s"
fi
e2e_check_eq "and the icon stays" "1" "$(tray_icon_count)"
check_double_click_shows "a double-click brings it back"
click_window "$CLOSE_X" "$CLOSE_Y"
check_closed "a click on the 'Fermer' image"

e2e_finish
