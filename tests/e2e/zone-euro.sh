#!/usr/bin/env bash
# The Zone Euro window as a user meets it on an X desktop: Alt+Z over the main window while an
# amount is being typed there, another currency chosen with Right, an amount converted, the
# texts read back as a screen reader reads them (AT-SPI) and off the screen; then Alt+F4, and
# the main window's typing goes on where it was. Amounts pasted from the X clipboard with Ctrl+V
# in both windows.
#
# usage: zone-euro.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"


# Top-left corners of the labels in window pixels: the layouts' twips divided by 15, which holds
# once the windows are 180 pixels wide (2700 twips at 96 dots per inch).
MAIN_FRANCS="56 40"   # main window lblP(0): 840,600
MAIN_EUROS="72 104"   # main window lblP(2): 1080,1560
ZONE_NAME="40 40"     # Zone Euro lblP(0): 600,600
ZONE_AMOUNT="32 56"   # Zone Euro lblP(1): 480,840
ZONE_EUROS="24 120"   # Zone Euro lblP(2): 360,1800
ZONE_EUROS_BOX="24 120 129 15"  # and its box, 1932x228 twips
ZONE_CLOSE_X=72       # middle of the close image, imaCommand(0): 960,120
ZONE_CLOSE_Y=16
# The amounts are bold 8.25-point text.
E2E_PROBE_OPTS=(--bold)

e2e_require "$E2E_TEXTPROBE" xclip
e2e_require_screen_reader
e2e_start_x

# Qt speaks to the accessibility bus only when a screen reader asks for it, or when told to.
E2E_APP_ENV+=(QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
if e2e_french_locale; then
  E2E_APP_ENV=("${E2E_FR_ENV[@]}" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
  SEP=,
  OTHER_SEP=.
else
  echo "# no French locale on this machine: the amounts keep the decimal point"
  SEP=.
  OTHER_SEP=,
fi

# paste TEXT: puts the text on the X clipboard, as a program that copied it would hold it, and
# presses Ctrl+V. Each xclip serves the clipboard until the next one takes it over.
clipboard_holds() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
paste() {
  printf '%s' "$1" >"$E2E_WORK/clipboard"
  e2e_spawn clipboard xclip -quiet -i -selection clipboard "$E2E_WORK/clipboard"
  e2e_wait_for 5 clipboard_holds "$1" || e2e_fail "xclip holds the clipboard" "text: $1"
  xdotool key ctrl+v
}

e2e_start_app

WID=$(e2e_find_window 20)
[ -n "$WID" ] || e2e_bail "the main window maps"
e2e_wait_for 5 e2e_is_active "$WID" || e2e_bail "the main window has the keyboard"

# --- Opening over an entry in the main window --------------------------------------------------

xdotool key 1 2
e2e_check_reads "a screen reader reads the francs being typed in the main window: 12" \
  Tavelmarque "$MAIN_FRANCS" 12

ZW=""
zone_shown() {
  ZW=$(xdotool search --onlyvisible --name '^Dorvanta$' 2>/dev/null | head -n 1)
  [ -n "$ZW" ]
}
zone_gone() { ! zone_shown; }

xdotool key alt+z
e2e_wait_for 10 zone_shown ||
  e2e_bail "Alt+Z opens the Zone Euro window" "no window titled 'Dorvanta' within 10 s"
e2e_pass "Alt+Z opens the Zone Euro window"
if e2e_wait_for 5 e2e_is_active "$ZW"; then
  e2e_pass "it has the keyboard"
else
  e2e_bail "it has the keyboard" "active: $(e2e_active_window); window: $((ZW))"
fi
e2e_check_eq "it stands over the main window, centred on it" \
  "$(e2e_geometry "$WID")" "$(e2e_geometry "$ZW")"
if e2e_has_net_state "$ZW" _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER; then
  e2e_pass "it is left out of task bars and pagers"
else
  e2e_fail "it is left out of task bars and pagers" "$(xprop -id "$ZW" _NET_WM_STATE)"
fi
# To a screen reader the window is named "Zone Euro"; the window system sees its title, "Dorvanta".
e2e_check_reads "it opens on the French franc" "Zone Euro" "$ZONE_NAME" "Franc français"
e2e_check_reads "with no amount" "Zone Euro" "$ZONE_EUROS" 0

# --- Another currency --------------------------------------------------------------------------

xdotool key Right
e2e_check_reads "Right steps to the Luxembourg franc" "Zone Euro" "$ZONE_NAME" "Franc luxembourg."
xdotool key Right
e2e_check_reads "Right again to the lira" "Zone Euro" "$ZONE_NAME" "Lire italienne"

# 10000 lire are 5.1646 euros at 1936.27 lire to the euro.
xdotool key Tab 1 0 0 0 0 Return
e2e_check_reads "10000 lire typed on the second row" "Zone Euro" "$ZONE_AMOUNT" 10000
e2e_check_reads "a screen reader reads 10000 lire as 5${SEP}16 euros" "Zone Euro" "$ZONE_EUROS" "5${SEP}16"
# What a user sees: the rivals are what typical faults would show (no conversion, the wrong way,
# the franc's rate, other rounding, the other separator).
if e2e_read_text 10 "$ZW" lire-to-euros "$ZONE_EUROS_BOX" "5${SEP}16" 0 10000 \
  19362700${SEP}00 1524${SEP}49 5${SEP}17 "5${OTHER_SEP}16"; then
  e2e_pass "the window shows 5${SEP}16 euros"
else
  e2e_fail "the window shows 5${SEP}16 euros" "$E2E_READ_REPORT"
fi

# Back on the first row, a currency change converts the euros as shown: 5.16 x 1.95583.
xdotool key Up Right
e2e_check_reads "Up, then Right to the Deutsche Mark" "Zone Euro" "$ZONE_NAME" "Mark allemand"
e2e_check_reads "5${SEP}16 euros are 10${SEP}09 marks" "Zone Euro" "$ZONE_AMOUNT" "10${SEP}09"
e2e_shot zone-euro "$ZW" >/dev/null

# The mark's own sign in place of the decimal comma; Escape takes the paste back.
xdotool key Tab
paste 12DM50
e2e_check_reads "12DM50 pasted in the marks' row reads 12,50" "Zone Euro" "$ZONE_AMOUNT" "12,50"
xdotool key Escape
e2e_check_reads "Escape takes it back" "Zone Euro" "$ZONE_AMOUNT" "10${SEP}09"

# --- Closed, the main window goes on -----------------------------------------------------------

xdotool key alt+F4
if e2e_wait_for 5 zone_gone; then
  e2e_pass "Alt+F4 closes the Zone Euro window"
else
  e2e_bail "Alt+F4 closes the Zone Euro window" "still shown 5 s after"
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
e2e_check_reads "Enter converts it: 18${SEP}75 euros" Tavelmarque "$MAIN_EUROS" "18${SEP}75"

# --- A second opening starts afresh; the close image closes it ----------------------------------

xdotool key alt+z
e2e_wait_for 10 zone_shown || e2e_bail "Alt+Z opens the Zone Euro window again"
e2e_check_reads "opened again, it is back on the French franc" "Zone Euro" "$ZONE_NAME" "Franc français"
e2e_check_reads "with no amount" "Zone Euro" "$ZONE_AMOUNT" 0
read -r ZX ZY _ _ <<<"$(e2e_geometry "$ZW")"
e2e_pointer_to $((ZX + ZONE_CLOSE_X)) $((ZY + ZONE_CLOSE_Y)) && xdotool click 1
if e2e_wait_for 5 zone_gone; then
  e2e_pass "a click on the close image closes it"
else
  e2e_fail "a click on the close image closes it" "still shown 5 s after"
fi
e2e_check_reads "the main window keeps its amounts" Tavelmarque "$MAIN_EUROS" "18${SEP}75"

# --- Pasting into the main window --------------------------------------------------------------

e2e_wait_for 5 e2e_is_active "$WID" || timeout 10 xdotool windowactivate --sync "$WID"
xdotool key Tab
# Two cells of a spreadsheet's row are no amount: refused, the 7 typed next begins an entry of its
# own instead of ending "12345" or "123457".
paste $'12\t345'
xdotool key 7
e2e_check_reads "two cells pasted (12, Tab, 345) are refused" Tavelmarque "$MAIN_EUROS" 7
xdotool key Escape
e2e_check_reads "Escape puts the euros back" Tavelmarque "$MAIN_EUROS" "18${SEP}75"
paste '12€50'
e2e_check_reads "12€50 pasted in the euro row reads 12,50" Tavelmarque "$MAIN_EUROS" "12,50"
e2e_check_reads "and the francs wait for the entry to end" Tavelmarque "$MAIN_FRANCS" 0
xdotool key Return
e2e_check_reads "Enter converts it: 81${SEP}99 francs" Tavelmarque "$MAIN_FRANCS" "81${SEP}99"

e2e_finish
