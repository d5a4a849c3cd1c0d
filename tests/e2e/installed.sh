#!/usr/bin/env bash
# The program as installed (cmake --install, or unpacked from the Debian package), started
# through its command in bin as a menu entry or a terminal starts it: it runs from the install's
# lib/tavelmarque folder with its help file beside it, its window shows, carries the icon and the
# class its desktop entry names, and its icon shows in the notification area.
#
# usage: installed.sh PREFIX/bin/tavelmarque XSHOT SCREENSHOT_DIR
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

PREFIX=$(cd "$(dirname "$E2E_APP")/.." && pwd -P)
PROGRAM=$PREFIX/lib/tavelmarque/Tavelmarque
ENTRY=$(find "$PREFIX/share/applications" -name '*.desktop' 2>/dev/null | head -n 1)
[ -n "$ENTRY" ] || e2e_bail "the install holds a desktop entry" "none in $PREFIX/share/applications"

e2e_check_eq "the command in bin leads to lib/tavelmarque/Tavelmarque" \
  "$PROGRAM" "$(readlink -f "$E2E_APP")"

e2e_start_x --tray
e2e_start_app

WID=$(e2e_find_window 20)
[ -n "$WID" ] || e2e_bail "the main window maps" "no visible window named Tavelmarque in 20 s"
e2e_pass "the main window maps"

# The program finds its help file beside the executable the kernel started: the same path its
# folder is read from (/proc/self/exe).
RUNNING=$(readlink "/proc/$E2E_APP_PID/exe")
e2e_check_eq "the running executable is the installed one" "$PROGRAM" "$RUNNING"
e2e_check "the help file lies beside the running executable" \
  test -f "$(dirname "$RUNNING")/Tavelmarque.hlp"

# An X11 dock matches the window to its entry by the window's class.
wm_class() { xprop -id "$WID" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)"$/\1/p'; }
e2e_check_eq "the window's class is the entry's StartupWMClass" \
  "$(sed -n 's/^StartupWMClass=//p' "$ENTRY")" "$(wm_class)"

# Task switchers show the icon the window carries: the application icon in its small sizes.
icon_sizes() {
  xprop -id "$WID" _NET_WM_ICON | sed -n 's/.*Icon (\([0-9]*\) x \([0-9]*\)).*/\1x\2/p' |
    sort -n | tr '\n' ' '
}
e2e_check_eq "the window carries the application icon in 16, 32 and 48 pixels" \
  "16x16 32x32 48x48 " "$(icon_sizes)"

# The notification area's panel holds a window named after the program: its icon.
PANEL=$(xdotool search --onlyvisible --class '^trayer$' 2>/dev/null | head -n 1)
tray_has_icon() { xwininfo -tree -id "$PANEL" 2>/dev/null | grep -q '"Tavelmarque"'; }
if [ -n "$PANEL" ] && e2e_wait_for 10 tray_has_icon; then
  e2e_pass "the icon shows in the notification area"
else
  e2e_fail "the icon shows in the notification area" "no window named Tavelmarque in the tray"
fi

# Once painted, the whole screen: the window and the icon in the tray.
painted() { timeout 20 "$E2E_XSHOT" "$WID" "$E2E_WORK/window.png" >/dev/null 2>&1 &&
  "$E2E_XSHOT" --painted "$E2E_WORK/window.png" >/dev/null 2>&1; }
e2e_wait_for 5 painted
e2e_shot desktop >/dev/null

# F1 opens the help, which the program found beside itself: the window then holds pages of text,
# whose picture compresses to tens of kilobytes; the one line that says the file is missing
# compresses to a few.
HELP_SHOT_MIN_BYTES=25000
help_window() { xdotool search --onlyvisible --name '^Aide de Tavelmarque$' 2>/dev/null; }
help_shown() { [ -n "$(help_window)" ]; }
help_pictured() {
  timeout 20 "$E2E_XSHOT" "$(help_window | head -n 1)" "$E2E_WORK/help.png" >/dev/null 2>&1 &&
    [ "$(stat -c %s "$E2E_WORK/help.png")" -ge "$HELP_SHOT_MIN_BYTES" ]
}
if timeout 10 xdotool windowactivate --sync "$WID" && xdotool key F1 &&
  e2e_wait_for 10 help_shown; then
  e2e_pass "F1 opens the help window"
  if e2e_wait_for 5 help_pictured; then
    e2e_pass "the help window shows the installed help file"
  else
    e2e_fail "the help window shows the installed help file" \
      "its picture is $(stat -c %s "$E2E_WORK/help.png" 2>/dev/null || echo no) bytes:" \
      "the message of a missing help file, not the help"
  fi
  e2e_shot help "$(help_window | head -n 1)" >/dev/null
else
  e2e_fail "F1 opens the help window" "no window named 'Aide de Tavelmarque' in 10 s"
fi

e2e_finish
