#!/usr/bin/env bash
# The notification-area icon as a StatusNotifierItem, the kind a Plasma panel or GNOME's
# AppIndicator extension shows: on a private session bus with a stand-in watcher and no XEmbed
# tray, a hidden start registers an item and shows no window; the item's one activation (what
# such hosts send for a click) brings the window up, never toggles it away; Alt+R hides it again;
# closing takes the item off the bus.
#
# usage: tray-sni.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# The stand-in watcher is built beside xshot; CTest may name it in FAKEWATCHER.
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

FAKEWATCHER=${FAKEWATCHER:-$(dirname "$E2E_XSHOT")/fakewatcher}
AMOUNT_EUROS="72 104 89 15"   # lblP(2): 1080,1560 1332x228 twips, in window pixels
E2E_PROBE_OPTS=(--bold)
# Activations that should do nothing are watched for this long, many times what an activation
# takes to bring the window up.
QUIET_S=2

e2e_require "$E2E_TEXTPROBE" "$FAKEWATCHER" dbus-send
# No tray on the display: whatever the program shows in the notification area goes over the bus.
e2e_start_x

# bus_call DEST PATH INTERFACE.METHOD ARG...: a method call on the private session bus, its
# reply printed.
bus_call() {
  timeout 10 dbus-send --session --print-reply --reply-timeout=5000 --dest="$1" "$2" "$3" \
    "${@:4}" 2>&1
}
name_has_owner() {
  bus_call org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner "string:$1" |
    grep -q 'boolean true'
}
name_gone() { ! name_has_owner "$1"; }

WATCHER_LOG=$E2E_WORK/logs/watcher.log
e2e_spawn watcher "$FAKEWATCHER"
WATCHER_PID=$E2E_LAST_PID
watcher_says() { grep -q "$1" "$WATCHER_LOG"; }
e2e_wait_for 10 watcher_says '^ready$' ||
  e2e_bail "the stand-in watcher is on the bus" "$(cat "$WATCHER_LOG")"

# --- A hidden start registers an item ------------------------------------------------------------

# Even a window shown for a moment enters the window manager's client list.
e2e_watch_clients || e2e_bail "the window manager's client list is watched"

e2e_start_app /Hidden
APP=$E2E_APP_PID
if e2e_wait_for 20 watcher_says '^item '; then
  e2e_pass "a start with /Hidden registers an item with the watcher"
else
  e2e_bail "a start with /Hidden registers an item with the watcher" "$(cat "$WATCHER_LOG")"
fi
read -r _ _ ITEM ITEM_PATH _ <<<"$(grep -m1 '^item ' "$WATCHER_LOG")"
echo "# item $ITEM $ITEM_PATH"
e2e_check_eq "the item is the program's (the process behind its bus name)" "$APP" \
  "$(bus_call org.freedesktop.DBus / org.freedesktop.DBus.GetConnectionUnixProcessID \
    "string:$ITEM" | awk '/uint32/ { print $2 }')"
e2e_check_eq "one item registers" 1 "$(grep -c '^item ' "$WATCHER_LOG")"

item_property() {
  bus_call "$ITEM" "$ITEM_PATH" org.freedesktop.DBus.Properties.Get \
    string:org.kde.StatusNotifierItem "string:$1"
}
e2e_check_eq "the item's title is 'Tavelmarque'" 'string "Tavelmarque"' \
  "$(item_property Title | grep -o 'string ".*"')"
# The tooltip is a structure: icon name, icon pictures, title, text. Its title is the caption
# alone, as a user reads it.
e2e_check_eq "the item's tooltip reads 'Tavelmarque'" '"Tavelmarque"' \
  "$(item_property ToolTip | grep -o 'string ".*"' | sed -n '2s/^string //p')"
# Only the sizes of the pictures are looked at: "WIDTHxHEIGHT" words.
ICON_SIZES=$(item_property IconPixmap | awk '
  /int32/ { if (w == "") w = $2; else { printf "%sx%s ", w, $2; w = "" } }
  /array of bytes|array \[/ { w = "" }')
if grep -qE '(1[6-9]|[2-9][0-9]|[1-9][0-9]{2})x' <<<"$ICON_SIZES"; then
  e2e_pass "the item shows the program's icon (pictures ${ICON_SIZES% })"
else
  e2e_fail "the item shows the program's icon" "IconPixmap sizes: ${ICON_SIZES:-none}" \
    "IconName: $(item_property IconName | grep -o 'string ".*"')"
fi

check_no_window_for() {  # NAME SECONDS
  if e2e_wait_for "$2" e2e_main_window_shown; then
    e2e_fail "$1" "a main window mapped: $(e2e_main_windows)"
  else
    e2e_pass "$1"
  fi
}
check_no_window_for "a start with /Hidden shows no window" "$QUIET_S"
NEW_CLIENTS=$(e2e_new_clients)
if [ -z "$NEW_CLIENTS" ]; then
  e2e_pass "a start with /Hidden shows no window even for a moment"
else
  e2e_fail "a start with /Hidden shows no window even for a moment" \
    "the window manager took on: $NEW_CLIENTS" "client list: $(cat "$E2E_CLIENTS_LOG")"
fi
e2e_shot hidden-start >/dev/null

# --- Activations ---------------------------------------------------------------------------------

# item_method METHOD: calls the item as a host does when the icon is clicked, at a screen point.
item_method() {
  bus_call "$ITEM" "$ITEM_PATH" "org.kde.StatusNotifierItem.$1" int32:1000 int32:750 >/dev/null
}
# Sent without waiting for the reply, as fast as a host may send them one after the other.
item_method_no_wait() {
  timeout 10 dbus-send --session --type=method_call --dest="$ITEM" "$ITEM_PATH" \
    "org.kde.StatusNotifierItem.$1" int32:1000 int32:750
}

WID=""
# check_shown NAME: the window maps and takes the keyboard.
check_shown() {
  local shown
  shown=$(e2e_find_window 10)
  if [ -z "$shown" ]; then
    e2e_fail "$1" "no main window mapped within 10 s"
    return 1
  fi
  [ -n "$WID" ] && [ "$shown" != "$WID" ] && e2e_fail "$1: the same window" "was $WID, now $shown"
  WID=$shown
  if e2e_wait_for 5 e2e_is_active "$WID"; then
    e2e_pass "$1"
  else
    e2e_fail "$1" "the window maps but is not active with the focus" \
      "active: $(e2e_active_window); focus: $(xdotool getwindowfocus 2>&1); window: $WID"
  fi
}

# check_stays_shown NAME: the window is still mapped and active after a while.
check_stays_shown() {
  if e2e_wait_for "$QUIET_S" e2e_main_window_hidden; then
    e2e_fail "$1" "the window went away"
  elif ! e2e_is_active "$WID"; then
    e2e_fail "$1" "the window is shown but no longer active: $(e2e_active_window)"
  else
    e2e_pass "$1"
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

check_hides() {  # NAME
  e2e_check_alt_r_hides "$1"
}

if item_method Activate; then
  check_shown "one Activate of the item shows the window and makes it active"
else
  e2e_fail "one Activate of the item shows the window and makes it active" "the call failed"
fi
[ -n "$WID" ] || e2e_bail "the checks below need the window brought up by the item"
check_out_of_task_bars "shown by the item, the window is left out of task bars and pagers"
e2e_shot shown-by-activate >/dev/null

xdotool key 1 0 0 Return
if e2e_read_text 10 "$WID" typed-100 "$AMOUNT_EUROS" 15.24 15.25 655.96 100 0 0.00; then
  e2e_pass "typing 1 0 0 Enter right after the activation shows 15.24 euros"
else
  e2e_fail "typing 1 0 0 Enter right after the activation shows 15.24 euros" "$E2E_READ_REPORT"
fi

# A toggle would hide the window on the first of these and bring it back on the second; the
# window's unmaps are counted to see that.
e2e_spawn structure xev -id "$WID" -event structure -event property
STRUCTURE_LOG=$E2E_WORK/logs/structure.log
# xev says nothing until something happens: a property of our own on the window, set until xev
# reports it, shows that it listens.
poke_seen() {
  xprop -id "$WID" -f _TAVELMARQUE_E2E_POKE 32c -set _TAVELMARQUE_E2E_POKE 1 &&
    grep -q '(_TAVELMARQUE_E2E_POKE)' "$STRUCTURE_LOG"
}
e2e_wait_for 10 poke_seen || e2e_fail "the window's map events are logged"
unmaps() { grep -c '^UnmapNotify event' "$STRUCTURE_LOG"; }
item_method_no_wait Activate
item_method_no_wait Activate
check_stays_shown "two Activates in a row while shown leave the window shown and active"
e2e_check_eq "and it was never hidden in between (unmaps seen)" 0 "$(unmaps)"

check_hides "Alt+R hides the window (unmapped, not minimised)"
e2e_check "the item stays on the bus while the window is hidden" name_has_owner "$ITEM"
e2e_check "the program still runs" e2e_running "$APP"

# --- Other activations do nothing ----------------------------------------------------------------

# A host's middle click, and its right click where it lets the program show its own menu.
item_method SecondaryActivate
check_no_window_for "SecondaryActivate (a middle click) does not show the window" "$QUIET_S"
item_method ContextMenu
check_no_window_for "ContextMenu (a right click) does not show the window" "$QUIET_S"

if item_method Activate; then
  check_shown "another Activate after Alt+R shows the window again and makes it active"
  check_out_of_task_bars "brought back, the window is still left out of task bars and pagers"
else
  e2e_fail "another Activate after Alt+R shows the window again and makes it active" "call failed"
fi

check_hides "Alt+R hides the window again"
item_method_no_wait Activate
item_method_no_wait Activate
check_shown "two Activates in a row while hidden show the window"
check_stays_shown "and it stays shown and active"

# --- Closing -------------------------------------------------------------------------------------

xdotool key alt+F4
if e2e_wait_exit "$APP" 10; then
  e2e_check_eq "Alt+F4 ends the program with status 0" 0 "$E2E_EXIT_STATUS"
else
  e2e_fail "Alt+F4 ends the program with status 0" "still running 10 s after Alt+F4"
fi
if e2e_wait_for 5 name_gone "$ITEM" && e2e_wait_for 5 watcher_says "^gone $ITEM\$"; then
  e2e_pass "the item's bus name is gone, and the watcher saw it go"
else
  e2e_fail "the item's bus name is gone, and the watcher saw it go" "$(cat "$WATCHER_LOG")"
fi
e2e_check "the watcher still runs" e2e_running "$WATCHER_PID"

e2e_finish
