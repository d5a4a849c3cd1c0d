#!/usr/bin/env bash
# A hidden start at logon before the panel is up: the program waits for the notification area,
# puts its icon in as soon as the area appears, and never shows its window; until the panel goes
# away, when the window is shown so that it is not lost.
#
# usage: tray-late.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

# Longer than the program waits for a notification area before it shows its window instead.
WAIT_S=13

e2e_start_x
e2e_start_app /Hidden
sleep 2
e2e_check "the program still runs without a notification area" e2e_running "$E2E_APP_PID"
e2e_start_tray
TRAYER=$E2E_LAST_PID

PANEL=$(xdotool search --onlyvisible --class '^trayer$' 2>/dev/null | head -n 1)
icon_in() { xwininfo -tree -id "$PANEL" 2>/dev/null | grep -q '"Tavelmarque"'; }
if e2e_wait_for 10 icon_in; then
  e2e_pass "the icon goes into a notification area that appears 2 s after the start"
else
  e2e_fail "the icon goes into a notification area that appears 2 s after the start" \
    "$(xwininfo -tree -id "$PANEL" 2>&1 | head -n 20)"
fi
if e2e_wait_for "$WAIT_S" e2e_main_window_shown; then
  e2e_fail "the window stays hidden" "a main window mapped: $(e2e_main_windows)"
else
  e2e_pass "the window stays hidden"
fi
e2e_shot late-tray >/dev/null

e2e_stop "$TRAYER"
GONE_MS=$(e2e_now_ms)
if WID=$(e2e_find_window 30) && e2e_wait_for 5 e2e_is_active "$WID"; then
  e2e_pass "the panel gone, the window is shown ($(($(e2e_now_ms) - GONE_MS)) ms after)"
else
  e2e_fail "the panel gone, the window is shown" "no active main window within 30 s"
fi
e2e_finish
