#!/usr/bin/env bash
# Start at logon, end to end: the options window, opened with Alt+O over the main window, writes
# the start-up entry when its first box is checked and confirmed; a real autostart runner (dex)
# then starts the program from that entry, hidden with only its icon in the tray; unchecked and
# confirmed from there, the entry is gone. Escape and the window manager's Alt+F4 change nothing.
# With a read-only autostart folder, confirming the box ticked tells the user at once, in a
# message box a screen reader reads, and again at the next try; the window goes on working.
#
# usage: options.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

# A window that should not show is watched for this long.
QUIET_S=2
AUTOSTART=$XDG_CONFIG_HOME/autostart
ENTRY=$AUTOSTART/Tavelmarque.desktop
# The entry starts the executable of this name in the program's own folder.
PROGRAM=$(dirname "$(readlink -f "$E2E_APP")")/Tavelmarque

e2e_require dex desktop-file-validate
e2e_require_screen_reader
e2e_start_x --tray

PANEL=$(xdotool search --onlyvisible --class '^trayer$' 2>/dev/null | head -n 1)
[ -n "$PANEL" ] || e2e_bail "the notification area's panel is found"

# The windows embedded in the tray, one a line: "ID NAME" (trayer's sockets hold them: the
# panel's grandchildren, which xwininfo indents by eight blanks).
tray_icons() {
  xwininfo -tree -id "$PANEL" 2>/dev/null | awk '
    /^        0x[0-9a-f]+ / {
      name = "-"
      if (match($0, /"[^"]*":/)) name = substr($0, RSTART + 1, RLENGTH - 3)
      print $1, name
    }'
}
ICON=""
find_icon() {
  ICON=$(tray_icons | awk '$2 == "Tavelmarque" { print $1; exit }')
  [ -n "$ICON" ]
}
double_click_icon() {
  local x y w h
  read -r x y w h <<<"$(e2e_geometry "$ICON")"
  [ -n "$h" ] && e2e_pointer_to $((x + w / 2)) $((y + h / 2)) &&
    xdotool click --repeat 2 --delay 80 1
}

# The options window: the program's only window titled "Options".
OPT=""
options_shown() {
  OPT=$(xdotool search --onlyvisible --name '^Options$' 2>/dev/null | head -n 1)
  [ -n "$OPT" ]
}
options_gone() { ! options_shown; }

# open_options NAME: Alt+O in the active main window opens the options window over it, with the
# keyboard.
open_options() {
  xdotool key alt+o
  if ! e2e_wait_for 10 options_shown; then
    e2e_fail "$1" "no window titled 'Options' within 10 s"
    return 1
  fi
  if e2e_wait_for 5 e2e_is_active "$OPT"; then
    e2e_pass "$1"
  else
    e2e_fail "$1" "the options window is not active with the focus" \
      "active: $(e2e_active_window); focus: $(xdotool getwindowfocus 2>&1); window: $OPT"
    return 1
  fi
}

# close_options NAME KEY...: the keys end the options window.
close_options() {
  local name=$1
  shift
  xdotool key "$@"
  if e2e_wait_for 5 options_gone; then
    e2e_pass "$name"
  else
    e2e_fail "$name" "still shown 5 s after: $*"
  fi
}

# main_window_active NAME: sets WID to the main window once it is shown and has the keyboard.
main_window_active() {
  WID=$(e2e_find_window 20)
  if [ -n "$WID" ] && e2e_wait_for 5 e2e_is_active "$WID"; then
    e2e_pass "$1"
  else
    e2e_bail "$1" "window: ${WID:-none}; active: $(e2e_active_window)"
  fi
}

# keyboard_back NAME: once the options window is gone, the main window has the keyboard again.
keyboard_back() {
  if e2e_wait_for 5 e2e_is_active "$WID"; then
    e2e_pass "$1"
  else
    e2e_fail "$1" "active: $(e2e_active_window); focus: $(xdotool getwindowfocus 2>&1)" \
      "main window: $WID"
  fi
}

entry_exists() { [ -f "$ENTRY" ]; }
entry_gone() { [ ! -e "$ENTRY" ]; }

# --- Options from a normal start -----------------------------------------------------------------

e2e_start_app
APP=$E2E_APP_PID
main_window_active "the program starts with its window active"

open_options "Alt+O opens the options window with the keyboard" ||
  e2e_bail "the checks below need the options window"
e2e_check_eq "it stands over the main window, centred on it" \
  "$(e2e_geometry "$WID")" "$(e2e_geometry "$OPT")"
e2e_check_eq "window lists name it 'Options'" '_NET_WM_NAME(UTF8_STRING) = "Options"' \
  "$(xprop -id "$OPT" _NET_WM_NAME)"
if e2e_has_net_state "$OPT" _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER; then
  e2e_pass "it is left out of task bars and pagers"
else
  e2e_fail "it is left out of task bars and pagers" "$(xprop -id "$OPT" _NET_WM_STATE)"
fi
# Pictures to look at: the first caption framed, then the second after Tab.
e2e_shot options-first-focused "$OPT" >/dev/null
xdotool key Tab
sleep 0.3
e2e_shot options-second-focused "$OPT" >/dev/null
close_options "Escape closes the options window" Escape
e2e_check "cancelled, it writes no entry" entry_gone
keyboard_back "the keyboard goes back to the main window"

# Alt+F4 is the window manager's here: it asks the options window to close, which cancels.
open_options "Alt+O opens the options window again"
close_options "Space then Alt+F4 closes the options window" space alt+F4
e2e_check "cancelled by the window manager, it writes no entry" entry_gone
e2e_check "and the program goes on" e2e_running "$APP"
keyboard_back "the keyboard goes back to the main window again"

open_options "Alt+O opens the options window once more"
close_options "Space then Enter checks the start-up box and confirms" space Return
if e2e_wait_for 5 entry_exists; then
  e2e_pass "confirmed, the start-up entry is written"
else
  e2e_bail "confirmed, the start-up entry is written" "no $ENTRY" \
    "autostart folder: $(ls -la "$AUTOSTART" 2>&1)"
fi
echo "# $ENTRY:"
sed 's/^/#   /' "$ENTRY"
VALIDATE=$(desktop-file-validate "$ENTRY" 2>&1)
STATUS=$?
e2e_check_eq "desktop-file-validate accepts it without a word" "0:" "$STATUS:$VALIDATE"
e2e_check_eq "it starts the program's executable hidden" "Exec=$PROGRAM /Hidden" \
  "$(grep '^Exec=' "$ENTRY")"
e2e_check_eq "it carries no key that keeps a desktop from starting it" "" \
  "$(grep -E '^(Hidden|NoDisplay|OnlyShowIn|NotShowIn|X-GNOME-Autostart-enabled)=' "$ENTRY")"

keyboard_back "confirmed, the keyboard goes back to the main window"
# Alt+F4 as this desktop has it: the window manager asks the window to close.
xdotool key alt+F4
if e2e_wait_exit "$APP" 10; then
  e2e_check_eq "Alt+F4 ends the program with status 0" 0 "$E2E_EXIT_STATUS"
else
  e2e_fail "Alt+F4 ends the program with status 0" "still running 10 s after"
fi
e2e_check "the entry outlives the program" entry_exists

# --- The next logon: an autostart runner starts the program from the entry ------------------------

e2e_new_runtime
e2e_watch_clients || e2e_bail "the window manager's client list is watched"
e2e_spawn dex env "${E2E_APP_ENV[@]}" dex -a -s "$AUTOSTART"
DEX=$E2E_LAST_PID
if e2e_wait_exit "$DEX" 20 && [ "$E2E_EXIT_STATUS" -eq 0 ]; then
  e2e_pass "dex -a -s runs the autostart folder"
else
  e2e_fail "dex -a -s runs the autostart folder" "status ${E2E_EXIT_STATUS:-none}" \
    "$(cat "$E2E_WORK/logs/dex.log")"
fi

# dex leaves the program running on its own; the instance lock names it, so that it is ended
# with the rest when the checks end.
LOCK=$E2E_LOCK_FOLDER/Tavelmarque.x11-$DISPLAY.lock  # the display's lock
lock_taken() { [ -s "$LOCK" ]; }
e2e_wait_for 20 lock_taken || e2e_bail "the program started by dex takes its instance lock" \
  "$(cat "$E2E_WORK/logs/dex.log")"
APP=$(head -n 1 "$LOCK")
E2E_PIDS+=("$APP")
e2e_check_eq "dex started the program's executable with /Hidden" "$PROGRAM /Hidden" \
  "$(tr '\0' ' ' <"/proc/$APP/cmdline" | sed 's/ $//')"

if e2e_wait_for 20 find_icon; then
  e2e_pass "started from the entry, the program puts its icon into the tray"
else
  e2e_bail "started from the entry, the program puts its icon into the tray" \
    "embedded: $(tray_icons)"
fi
if e2e_wait_for "$QUIET_S" e2e_main_window_shown; then
  e2e_fail "started from the entry, it shows no window" "mapped: $(e2e_main_windows)"
else
  e2e_pass "started from the entry, it shows no window"
fi
e2e_check_eq "not even for a moment" "" "$(e2e_new_clients)"
e2e_shot logon-start >/dev/null

# --- Back from the tray, the option is switched off -------------------------------------------

double_click_icon
main_window_active "a double-click on the icon shows the window with the keyboard"
open_options "Alt+O opens the options window from there"
e2e_shot options-entry-present "$OPT" >/dev/null
close_options "Space then Enter unchecks the start-up box and confirms" space Return
if e2e_wait_for 5 entry_gone; then
  e2e_pass "confirmed unchecked, the start-up entry is gone"
else
  e2e_fail "confirmed unchecked, the start-up entry is gone" "$(cat "$ENTRY")"
fi
e2e_check "the program still runs" e2e_running "$APP"
keyboard_back "and the keyboard goes back to the main window"

xdotool key alt+F4
if e2e_wait_for 10 e2e_exited "$APP"; then
  e2e_pass "Alt+F4 ends the program started by dex"
else
  e2e_fail "Alt+F4 ends the program started by dex" "still running 10 s after"
fi

# --- A read-only autostart folder: the failure is told -----------------------------------------

# Qt speaks to the accessibility bus only when a screen reader asks for it, or when told to; the
# reason is the system's own, in the user's language.
READ_ONLY_ENV=("${E2E_APP_ENV[@]}" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
if e2e_french_locale; then READ_ONLY_ENV+=("${E2E_FR_ENV[@]}"); fi
REASON=$(env "${READ_ONLY_ENV[@]}" "$E2E_PYTHON" -c \
  'import errno, locale, os; locale.setlocale(locale.LC_ALL, ""); print(os.strerror(errno.EROFS))')
EXPECTED=$(printf "Le lancement à l'ouverture de session n'a pas pu être enregistré\xc2\xa0:\n%s\n%s." \
  "$ENTRY" "$REASON")

# The program dex started took the runtime folder after the last one e2e_start_app made.
E2E_APP_RUNS=$((E2E_APP_RUNS + 1))
e2e_new_runtime
e2e_start_app_read_only "$AUTOSTART" "${READ_ONLY_ENV[@]}"
APP=$E2E_LAST_PID
main_window_active "started over a read-only autostart folder, the program shows its window"

# The message box: the program's other window titled "Tavelmarque", and the text a screen reader
# reads in it.
BOX=""
message_box_shown() {
  BOX=$(xdotool search --onlyvisible --name '^Tavelmarque$' 2>/dev/null | grep -vx "$WID" |
    head -n 1)
  [ -n "$BOX" ] && e2e_is_active "$BOX"
}
message_text() {
  "$E2E_PYTHON" "$E2E_ATSPI" Tavelmarque Tavelmarque alert 2>/dev/null |
    grep -v ' \[push button: [^]]*\]$' | sed -n '/ouverture de session/,$p' |
    sed '1s/^[0-9-]* [0-9-]* //'
}
message_reads() { [ "$(message_text)" = "$EXPECTED" ]; }
box_gone() { [ "$(e2e_map_state "$BOX")" != IsViewable ]; }

# told NAME: the message box comes over the main window with the keyboard, reads EXPECTED, and
# Enter dismisses it, giving the keyboard back to the main window.
told() {
  if ! e2e_wait_for 10 message_box_shown; then
    e2e_fail "$1" "no message box with the keyboard within 10 s" \
      "windows: $(xdotool search --onlyvisible --name '^Tavelmarque$' 2>&1 | tr '\n' ' ')"
    return 1
  fi
  e2e_shot message-box "$BOX" >/dev/null
  if e2e_wait_for 5 message_reads; then
    e2e_pass "$1"
  else
    e2e_fail "$1" "expected: $EXPECTED" "read:     $(message_text)"
  fi
  xdotool key Return
  if e2e_wait_for 5 box_gone; then
    e2e_pass "Enter dismisses the message box"
  else
    e2e_fail "Enter dismisses the message box" "still shown 5 s after"
  fi
  keyboard_back "the keyboard goes back to the main window after the message"
}

open_options "Alt+O opens the options window over the read-only folder"
close_options "Space then Enter checks the start-up box and confirms" space Return
told "the failure is told at once: what failed, the entry's path and the system's reason"
e2e_check "no entry is written" entry_gone
open_options "Alt+O opens the options window again"
close_options "Space then Enter, the box unchecked as the disk shows, tries again" space Return
told "the failure is told again"
open_options "the options window still opens"
close_options "and Escape closes it" Escape
keyboard_back "the window keeps working"
xdotool key alt+F4
if e2e_wait_exit "$APP" 10; then
  e2e_check_eq "Alt+F4 ends the program with status 0" 0 "$E2E_EXIT_STATUS"
else
  e2e_fail "Alt+F4 ends the program with status 0" "still running 10 s after"
fi

e2e_finish
