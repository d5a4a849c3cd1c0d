#!/usr/bin/env bash
# The about window as a user meets it on an X desktop: opened with a click on the main window's
# about image while an amount is being typed there, its texts as a screen reader reads them, its
# round shape, the line scrolling across the middle and nothing else moving, both links handed
# to the desktop's opener (a stand-in that writes down what it was given), Escape; the typing in
# the main window goes on where it was. Opened again, the window manager's Alt+F4 closes the
# about window alone.
#
# usage: about.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

PIXELDIFF=${PIXELDIFF:-$(dirname "$E2E_XSHOT")/pixeldiff}
TITLE='A propos de...'

# Places in window pixels: the layouts' twips divided by 15, which holds once the windows are
# 180 pixels wide (2700 twips at 96 dots per inch).
SIZE=180
MAIN_FRANCS="56 40"    # main window lblP(0): 840,600
MAIN_EUROS="72 104"    # main window lblP(2): 1080,1560
MAIN_ABOUT_X=72        # middle of the main window's about image, imaCommand(3): 960,2355
MAIN_ABOUT_Y=165
ABOUT_TITLE="56 24"    # lblTitle: 840,360
ABOUT_VERSION="56 40"  # lblVersion: 840,600
ABOUT_WEB="24 120"     # lblWeb: 360,1800, 2172x252 twips
ABOUT_MAIL="48 136"    # lblMail: 720,2040, 1452x252 twips
WEB_X=96               # inside lblWeb, above lblMail
WEB_Y=126
MAIL_X=96              # inside lblMail
MAIL_Y=146
STRIP_TOP=80           # lblMarquee: top 1200, height 192 twips
STRIP_BOTTOM=93

e2e_require "$PIXELDIFF"
e2e_require_screen_reader

# The desktop's opener is a stand-in that writes down its argument, one line a launch.
OPENED=$E2E_WORK/opened.txt
mkdir -p "$E2E_WORK/bin"
cat >"$E2E_WORK/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$OPENED"
EOF
chmod +x "$E2E_WORK/bin/xdg-open"
export PATH=$E2E_WORK/bin:$PATH

e2e_start_x
# Qt speaks to the accessibility bus only when a screen reader asks for it, or when told to.
E2E_APP_ENV+=(QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
e2e_start_app

WID=$(e2e_find_window 20)
[ -n "$WID" ] || e2e_bail "the main window maps"
e2e_wait_for 5 e2e_is_active "$WID" || e2e_bail "the main window has the keyboard"

# --- Opening over an entry in the main window --------------------------------------------------

xdotool key 1 2
e2e_check_reads "the main window shows the francs being typed: 12" Tavelmarque "$MAIN_FRANCS" 12

AW=""
about_shown() {
  AW=$(xdotool search --onlyvisible --name '^A propos de\.\.\.$' 2>/dev/null | head -n 1)
  [ -n "$AW" ]
}
about_gone() { ! about_shown; }

# open_about: a left click on the main window's about image.
open_about() {
  local x y
  read -r x y _ _ <<<"$(e2e_geometry "$WID")"
  e2e_pointer_to $((x + MAIN_ABOUT_X)) $((y + MAIN_ABOUT_Y)) && xdotool click 1
}

open_about
e2e_wait_for 10 about_shown ||
  e2e_bail "a click on the about image opens the about window" "no window titled '$TITLE' in 10 s"
e2e_pass "a click on the about image opens the about window"
if e2e_wait_for 5 e2e_is_active "$AW"; then
  e2e_pass "it has the keyboard"
else
  e2e_bail "it has the keyboard" "active: $(e2e_active_window); window: $((AW))"
fi
e2e_check_eq "it stands over the main window, centred on it" \
  "$(e2e_geometry "$WID")" "$(e2e_geometry "$AW")"
if e2e_has_net_state "$AW" _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER; then
  e2e_pass "it is left out of task bars and pagers"
else
  e2e_fail "it is left out of task bars and pagers" "$(xprop -id "$AW" _NET_WM_STATE)"
fi

e2e_check_reads "a screen reader reads the product name" "$TITLE" "$ABOUT_TITLE" Tavelmarque
e2e_check_reads "and the version" "$TITLE" "$ABOUT_VERSION" 1.0.1
# Each link is read with its role and the action that opens it.
AS_LINK=" [link: Press]"
WEB=$(e2e_read_label "$TITLE" "$ABOUT_WEB")
MAIL=$(e2e_read_label "$TITLE" "$ABOUT_MAIL")
if [[ $WEB == http*://*"$AS_LINK" ]]; then
  e2e_pass "and the web link: $WEB"
else
  e2e_fail "and the web link" "read: $WEB"
fi
if [[ $MAIL == ?*@?*"$AS_LINK" ]]; then
  e2e_pass "and the e-mail link: $MAIL"
else
  e2e_fail "and the e-mail link" "read: $MAIL"
fi
WEB=${WEB%"$AS_LINK"}
MAIL=${MAIL%"$AS_LINK"}
# The scrolling line is read whole, wherever it stands.
LINE=$(e2e_labels "$TITLE" | awk '$2 == '"$STRIP_TOP"' { sub(/^[^ ]+ [^ ]+ /, ""); print; exit }')
if [[ $LINE == "Convertisseur Francs-Euros   -   "?*"   -   "* ]]; then
  e2e_pass "and the whole scrolling line: $LINE"
else
  e2e_fail "and the whole scrolling line" "read: '$LINE'"
fi

# --- What it looks like ------------------------------------------------------------------------

# The pointer stays off the window: no tooltip over the pictures.
e2e_pointer_to 5 5
SHOT=$(e2e_shot opened "$AW") || e2e_fail "a screenshot of the about window"
if [ -n "$SHOT" ]; then
  if out=$("$E2E_XSHOT" --disc "$SIZE" "$SHOT"); then
    e2e_pass "it shows a painted disc $SIZE pixels across"
  else
    e2e_fail "it shows a painted disc $SIZE pixels across" "$out"
  fi
fi

# Two pictures a moment apart: the line has moved, and nothing outside its strip has changed.
BEFORE=$E2E_WORK/before.png
AFTER=$E2E_WORK/after.png
timeout 20 "$E2E_XSHOT" "$AW" "$BEFORE" >/dev/null 2>&1
sleep 0.3
timeout 20 "$E2E_XSHOT" "$AW" "$AFTER" >/dev/null 2>&1
cp "$AFTER" "$E2E_SHOTS/$E2E_NAME-moved.png" 2>/dev/null
CHANGED=$("$PIXELDIFF" "$BEFORE" "$AFTER" 2>&1)
read -r _ CY _ CH <<<"$CHANGED"
if [ "$CHANGED" = none ] || [ -z "${CH:-}" ]; then
  e2e_fail "the line scrolls" "the two pictures 0.3 s apart are the same ($CHANGED)"
elif [ "$CY" -ge "$STRIP_TOP" ] && [ $((CY + CH)) -le "$STRIP_BOTTOM" ]; then
  e2e_pass "the line scrolls, and only its strip changes (changed: $CHANGED)"
else
  e2e_fail "the line scrolls, and only its strip changes" \
    "changed: $CHANGED (x y w h); the strip is rows $STRIP_TOP to $((STRIP_BOTTOM - 1))"
fi

# --- The links ---------------------------------------------------------------------------------

opened_lines() { [ "$(wc -l <"$OPENED" 2>/dev/null || echo 0)" -ge "$1" ]; }
# click_at X Y: a click on that point of the window.
click_at() {
  local ax ay
  read -r ax ay _ _ <<<"$(e2e_geometry "$AW")"
  e2e_pointer_to $((ax + $1)) $((ay + $2)) && xdotool click 1
}
# press NAME: a screen reader presses the link of that name.
press() { PRESS=$1 e2e_labels "$TITLE" >/dev/null; }
# open_link NAME EXPECTED LINE COMMAND...: after the command, the opener's LINE-th argument is
# EXPECTED and the window is still open.
open_link() {
  local name=$1 expected=$2 line=$3
  shift 3
  "$@"
  if e2e_wait_for 5 opened_lines "$line"; then
    e2e_check_eq "$name" "$expected" "$(sed -n "${line}p" "$OPENED")"
  else
    e2e_fail "$name" "the desktop's opener was not started within 5 s"
  fi
  sleep 0.3
  e2e_check "and the about window stays open" about_shown
}
open_link "a click on the web link opens the address it shows" "$WEB" 1 click_at "$WEB_X" "$WEB_Y"
open_link "a click on the e-mail link opens a message to the address it shows" "mailto:$MAIL" 2 \
  click_at "$MAIL_X" "$MAIL_Y"
open_link "a screen reader's press on the web link opens it as a click does" "$WEB" 3 press "$WEB"

# --- Closed with Escape, the main window goes on -----------------------------------------------

timeout 10 xdotool windowactivate --sync "$AW" >/dev/null 2>&1
xdotool key Escape
if e2e_wait_for 5 about_gone; then
  e2e_pass "Escape closes the about window"
else
  e2e_bail "Escape closes the about window" "still shown 5 s after"
fi
e2e_check "the main window is still shown" e2e_main_window_shown
if e2e_wait_for 5 e2e_is_active "$WID"; then
  e2e_pass "the main window has the keyboard again"
else
  e2e_fail "the main window has the keyboard again" \
    "active: $(e2e_active_window); focus: $(xdotool getwindowfocus 2>&1); window: $((WID))"
fi
xdotool key 3
e2e_check_reads "a digit typed there is appended to the running entry: 123" \
  Tavelmarque "$MAIN_FRANCS" 123
e2e_check_reads "the entry is still running: no euros yet" Tavelmarque "$MAIN_EUROS" 0
xdotool key Return
e2e_check_reads "Enter converts it: 18.75 euros" Tavelmarque "$MAIN_EUROS" 18.75

# --- The window manager's close closes the about window alone ----------------------------------

open_about
e2e_wait_for 10 about_shown || e2e_bail "the about image opens the about window again"
e2e_wait_for 5 e2e_is_active "$AW" || e2e_bail "opened again, it has the keyboard"
# Openbox takes Alt+F4 itself and asks the active window to close.
xdotool key alt+F4
if e2e_wait_for 5 about_gone; then
  e2e_pass "Alt+F4 closes the about window"
else
  e2e_fail "Alt+F4 closes the about window" "still shown 5 s after"
fi
sleep 0.5
e2e_check "the program is still running" e2e_running "$E2E_APP_PID"
e2e_check "the main window is still shown" e2e_main_window_shown
xdotool key 2 Return
e2e_check_reads "and still converts: 2 francs are 0.30 euros" Tavelmarque "$MAIN_EUROS" 0.30

e2e_finish
