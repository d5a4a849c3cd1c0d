#!/usr/bin/env bash
# The main window as a user meets it on an X desktop: where and how it shows, its round shape,
# its absence from task bars, typing an amount on a US and on a French keyboard, and moving it
# with the mouse.
#
# usage: main-window.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

# Window-relative places in pixels: the layout's twips divided by 15, which holds once the
# window is 180 pixels wide (2700 twips at 96 dots per inch).
SIZE=180
AMOUNT_EUROS="72 104 89 15"   # lblP(2): 1080,1560 1332x228 twips
BACKGROUND_X=45               # left middle of the disc: no label, icon or line there
BACKGROUND_Y=90
CAPTION_FRANCS_X=120          # inside lblEti(0): 960,360 1212x228 twips
CAPTION_FRANCS_Y=31
AMOUNT_EUROS_X=150            # inside lblP(2)
AMOUNT_EUROS_Y=111
# The amounts are bold 8.25-point text.
E2E_PROBE_OPTS=(--bold)

e2e_require "$E2E_TEXTPROBE"
e2e_start_x
e2e_start_app

WID=$(e2e_find_window 20)
[ -n "$WID" ] || e2e_bail "the main window maps" "no visible window named Tavelmarque in 20 s"
e2e_pass "the main window maps"
e2e_shot mapped >/dev/null

CENTRED_X=$(((E2E_SCREEN_W - SIZE) / 2))
CENTRED_Y=$(((E2E_SCREEN_H - SIZE) / 2))
# A window may be placed just after it maps.
e2e_wait_for 3 e2e_position_is "$WID" "$CENTRED_X" "$CENTRED_Y"
read -r X Y W H <<<"$(e2e_geometry "$WID")"
e2e_check_eq "the window is $SIZE x $SIZE pixels" "$SIZE x $SIZE" "$W x $H"
if [ "$W" != "$SIZE" ] || [ "$H" != "$SIZE" ]; then
  e2e_bail "the checks below need the window at its layout size"
fi

e2e_check_eq "the window manager adds no frame" "0, 0, 0, 0" \
  "$(xprop -id "$WID" _NET_FRAME_EXTENTS | sed -n 's/.* = //p')"

e2e_check_eq "the window is centred on the screen" "$CENTRED_X,$CENTRED_Y" "$X,$Y"

# --- Shape -------------------------------------------------------------------------------------

SHAPE=$(xwininfo -shape -id "$WID")
if grep -q 'Window shape extents' <<<"$SHAPE"; then
  e2e_pass "the window has a bounding shape"
else
  e2e_fail "the window has a bounding shape" "$(grep -i shape <<<"$SHAPE")"
fi

OURS=$(e2e_toplevel "$WID")
# Which window the server finds under the pointer is the shape as the server applies it, to
# drawing and to clicks alike.
points_owned_by_window() {  # EXPECT (1: ours, 0: not) then X,Y pairs in window pixels
  local expect=$1 p under bad=()
  shift
  for p in "$@"; do
    under=$(e2e_window_at $((X + ${p%,*})) $((Y + ${p#*,})))
    if [ "$expect" = 1 ] && [ "$under" != "$OURS" ]; then bad+=("($p) is not the window's"); fi
    if [ "$expect" = 0 ] && [ "$under" = "$OURS" ]; then bad+=("($p) is the window's"); fi
  done
  [ ${#bad[@]} -eq 0 ] && return 0
  printf '%s\n' "${bad[@]}"
  return 1
}
# The disc touches the middle of each side; the corners, and points on the diagonals just outside
# the circle (where a rounded rectangle would still be), are outside it.
if out=$(points_owned_by_window 1 90,90 3,90 176,90 90,3 90,176); then
  e2e_pass "the disc inscribed in the square takes the pointer"
else
  e2e_fail "the disc inscribed in the square takes the pointer" "$out"
fi
if out=$(points_owned_by_window 0 1,1 178,1 1,178 178,178 20,20 159,20 20,159 159,159); then
  e2e_pass "the square's corners outside the disc do not take the pointer"
else
  e2e_fail "the square's corners outside the disc do not take the pointer" "$out"
fi

# --- Task bar and pager ------------------------------------------------------------------------

# The window manager may take the state over after the map and rewrite it: watched for a while.
has_state() { xprop -id "$WID" _NET_WM_STATE | grep -q "$1"; }
check_state() {  # NAME STATE
  if e2e_wait_for 5 has_state "$2"; then
    e2e_pass "$1 ($2)"
  else
    e2e_fail "$1 ($2)" "$(xprop -id "$WID" _NET_WM_STATE)"
  fi
}
check_state "the window asks to be left out of task bars" _NET_WM_STATE_SKIP_TASKBAR
check_state "the window asks to be left out of pagers" _NET_WM_STATE_SKIP_PAGER

# --- Typing an amount --------------------------------------------------------------------------

# check_typed NAME SHOTNAME KEYS EXPECTED RIVAL...: types the keys (xdotool key names) into the
# activated window and reads the euro amount.
check_typed() {
  local name=$1 shot=$2 keys=$3
  shift 3
  E2E_READ_REPORT="the window could not be activated"
  # shellcheck disable=SC2086 # one key name a word
  if timeout 10 xdotool windowactivate --sync "$WID" && xdotool key $keys &&
    e2e_read_text 10 "$WID" "$shot" "$AMOUNT_EUROS" "$@"; then
    e2e_pass "$name"
  else
    e2e_fail "$name" "$E2E_READ_REPORT"
  fi
}

# 100 francs are 15.2449... euros; the rivals are what typical faults would show: nothing typed,
# no conversion, the conversion the wrong way, other rounding, the other decimal separator.
check_typed "typing 1 0 0 Enter shows 15.24 euros (C locale, US keyboard)" typed-100 \
  "1 0 0 Return" 15.24 15,24 15.25 655.96 100 0 0.00

# --- Clicks outside the disc -------------------------------------------------------------------

# A window lies behind the square; clicks that reach it are logged by xev.
e2e_spawn behind xev -name tavelmarque-e2e-behind -event button \
  -geometry 300x300+$((X - 60))+$((Y - 60))
XEV_PID=$E2E_LAST_PID
XEV_LOG=$E2E_WORK/logs/behind.log
BEHIND=$(timeout 10 xdotool search --sync --onlyvisible --name '^tavelmarque-e2e-behind$' |
  head -n 1)
CORNER_X=$((X + 2))
CORNER_Y=$((Y + 2))
CENTRE_X=$((X + 90))
CENTRE_Y=$((Y + 90))
covers_corner() {
  local bx by bw bh
  read -r bx by bw bh <<<"$(e2e_geometry "$1")"
  [ -n "$bh" ] && [ "$bx" -le "$CORNER_X" ] && [ "$by" -le "$CORNER_Y" ] &&
    [ $((bx + bw)) -gt "$CENTRE_X" ] && [ $((by + bh)) -gt "$CENTRE_Y" ]
}
if [ -z "$BEHIND" ] || ! covers_corner "$BEHIND" ||
  ! timeout 10 xdotool windowactivate --sync "$WID"; then
  e2e_fail "a click outside the disc reaches the window behind" \
    "setup: no window behind the square's corner ($CORNER_X,$CORNER_Y), or the window not on top"
else
  e2e_shot window-behind >/dev/null
  e2e_pointer_to "$CENTRE_X" "$CENTRE_Y" && xdotool click 1
  e2e_pointer_to "$CORNER_X" "$CORNER_Y" && xdotool click 1
  pressed_at() { grep -A1 '^ButtonPress event' "$XEV_LOG" | grep -q "root:($1,$2)"; }
  if e2e_wait_for 5 pressed_at "$CORNER_X" "$CORNER_Y"; then
    e2e_pass "a click outside the disc reaches the window behind"
    # The window behind hears of the two clicks in order: the first is in its log already if it
    # came through the disc.
    if pressed_at "$CENTRE_X" "$CENTRE_Y"; then
      e2e_fail "a click inside the disc does not reach the window behind"
    else
      e2e_pass "a click inside the disc does not reach the window behind"
    fi
  else
    e2e_fail "a click outside the disc reaches the window behind" \
      "the window behind logged no button press at ($CORNER_X,$CORNER_Y)"
  fi
fi
e2e_stop "$XEV_PID"
timeout 10 xdotool windowactivate --sync "$WID" >/dev/null 2>&1

# --- Dragging ----------------------------------------------------------------------------------

position_moved_from() { ! e2e_position_is "$WID" "$1" "$2"; }

# check_drag NAME BUTTON X Y DX DY: drags from the window point (X, Y) by (DX, DY) and expects
# the window to follow exactly.
check_drag() {
  local name=$1 button=$2 px=$3 py=$4 dx=$5 dy=$6 x y
  read -r x y _ _ <<<"$(e2e_geometry "$WID")"
  e2e_drag "$button" $((x + px)) $((y + py)) "$dx" "$dy"
  if e2e_wait_for 5 e2e_position_is "$WID" $((x + dx)) $((y + dy)); then
    e2e_pass "$name"
  else
    local now
    read -r now <<<"$(e2e_geometry "$WID")"
    e2e_fail "$name" "from ($x,$y) expected ($((x + dx)),$((y + dy))), now at ($(tr " " , <<<"${now% * *}"))"
  fi
}

check_drag "a left drag on the background moves the window by the pointer's (+60,+40)" \
  1 "$BACKGROUND_X" "$BACKGROUND_Y" 60 40
e2e_shot dragged-background >/dev/null
check_drag "a left drag on the caption 'prix en francs' moves the window by (-90,-30)" \
  1 "$CAPTION_FRANCS_X" "$CAPTION_FRANCS_Y" -90 -30

read -r X Y _ _ <<<"$(e2e_geometry "$WID")"
e2e_drag 3 $((X + BACKGROUND_X)) $((Y + BACKGROUND_Y)) 60 40
# Nothing announces that a drag was ignored: the window is watched for as long as a real drag
# takes many times over.
if e2e_wait_for 2 position_moved_from "$X" "$Y"; then
  e2e_fail "a right drag on the background leaves the window in place" \
    "moved from ($X,$Y) to ($(e2e_geometry "$WID" | cut -d' ' -f1,2 | tr ' ' ,))"
else
  e2e_pass "a right drag on the background leaves the window in place"
fi

check_drag "a right drag on an amount moves the window by (+30,-50)" \
  3 "$AMOUNT_EUROS_X" "$AMOUNT_EUROS_Y" 30 -50
e2e_shot dragged-amount >/dev/null

# --- A French keyboard and locale --------------------------------------------------------------

e2e_stop "$E2E_APP_PID"
e2e_new_runtime
if e2e_french_locale; then
  E2E_APP_ENV=("${E2E_FR_ENV[@]}")
  SEP=,
else
  echo "# no French locale on this machine: the amounts keep the decimal point"
  SEP=.
fi
setxkbmap -layout fr
if ! setxkbmap -query | grep -q '^layout: *fr$'; then
  e2e_bail "the French keyboard layout is set"
fi

e2e_start_app
WID=$(e2e_find_window 20)
[ -n "$WID" ] || e2e_bail "the main window maps in the French setting"

# On AZERTY the top row gives & é " ' ( - è _ ç à without Shift: xdotool presses those keys for
# these key names, so the program sees the keys of 1 0 0 with no modifier.
check_typed "the AZERTY top row unshifted (& à à Enter) types 100: 15${SEP}24 euros" azerty-100 \
  "ampersand agrave agrave Return" "15${SEP}24" 15,24 15.24 655${SEP}96 100 0

# With Shift held the same keys give the digits themselves, and they still type them.
check_typed "the AZERTY top row with Shift (2 0 0 Enter) types 200: 30${SEP}49 euros" \
  azerty-shift-200 "2 0 0 Return" "30${SEP}49" 30,49 30.49 "15${SEP}24" 200 0

e2e_finish
