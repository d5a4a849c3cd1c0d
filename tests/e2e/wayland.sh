#!/usr/bin/env bash
# The main window as a native Wayland client, on a headless Weston: it maps, and as a Wayland
# shape only limits input, it paints its own disc and leaves the square's corners transparent,
# at scale 1 and 2. Then, with keys typed by a test build of the program (Weston takes none from
# outside): the keys convert, Alt+Z opens the Zone Euro window as a child of the main window and
# on top, Alt+F4 closes it, and the notification-area icon registers as a StatusNotifierItem.
#
# usage: wayland.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

BOXCROP=${BOXCROP:-$(dirname "$E2E_XSHOT")/boxcrop}
e2e_require weston weston-screenshooter "$BOXCROP"

# A plain desktop with no panel: whatever is not its colour is the window. No Xwayland either,
# so that only a native client can show at all.
INI=$E2E_WORK/weston.ini
# No animation either: a picture taken while the desktop fades in is darker all over.
printf '%s\n' '[core]' 'idle-time=0' '[shell]' 'background-color=0xff204060' \
  'panel-position=none' 'locking=false' 'startup-animation=none' 'animation=none' \
  'close-animation=none' 'focus-animation=none' >"$INI"
export WAYLAND_DISPLAY=tavelmarque-e2e
# --debug lets weston-screenshooter take pictures.
e2e_spawn weston weston --backend=headless-backend.so --use-pixman \
  --width="$E2E_SCREEN_W" --height="$E2E_SCREEN_H" \
  --socket="$WAYLAND_DISPLAY" --config="$INI" --debug
e2e_wait_for 15 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ||
  e2e_bail "a headless Weston starts" "$(tail -n 5 "$E2E_WORK/logs/weston.log")"

# shoot NAME: a picture of the whole output into the screenshot folder; prints its path.
shoot() {
  local dir=$E2E_WORK/shot-$1 path=$E2E_SHOTS/$E2E_NAME-$1.png
  rm -rf "$dir" && mkdir -p "$dir" || return 1
  (cd "$dir" && timeout 10 weston-screenshooter >/dev/null 2>&1) || return 1
  mv "$dir"/*.png "$path" 2>/dev/null || return 1
  echo "$path"
}

# window_is SIZE NAME: the last screenshot shows something SIZE pixels square on the desktop.
window_is() {
  local shot
  shot=$(shoot "$2") || return 1
  BOX=$("$BOXCROP" "$shot" "$E2E_WORK/$2-window.png") || return 1
  [ "${BOX#* * }" = "$1 $1" ]
}

# check_scale FACTOR SIZE
check_scale() {
  local factor=$1 size=$2 out
  e2e_new_runtime
  # The compositor's socket stays in the first runtime folder.
  export WAYLAND_DISPLAY=$E2E_WORK/runtime/tavelmarque-e2e
  E2E_APP_ENV=(LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=wayland "QT_SCALE_FACTOR=$factor")
  e2e_start_app
  BOX=
  if e2e_wait_for 20 window_is "$size" "scale-$factor"; then
    e2e_pass "at scale $factor the main window maps natively, $size pixels square"
    if out=$("$E2E_XSHOT" --disc "$size" "$E2E_WORK/scale-$factor-window.png"); then
      e2e_pass "at scale $factor the window is a painted disc with transparent corners"
    else
      e2e_fail "at scale $factor the window is a painted disc with transparent corners" "$out"
    fi
  else
    e2e_fail "at scale $factor the main window maps natively, $size pixels square" \
      "what differs from the desktop: ${BOX:-nothing}" "$(tail -n 5 "$E2E_WORK/logs/app-$E2E_APP_RUNS.log")"
  fi
  e2e_stop "$E2E_APP_PID"
}

check_scale 1 180
check_scale 2 360

# --- Keys, an owned window, the notification area ------------------------------------------------

# Weston takes no input from outside: a test build of the program types the keys of a script into
# itself, once its window shows, and reports what its windows show (see keyscript.cpp).
# It waits for a file of the check's (hold) while the check takes a picture.
KEYSCRIPT=${KEYSCRIPT:-$(dirname "$E2E_APP")/Tavelmarque_keyscript}
FAKEWATCHER=${FAKEWATCHER:-$(dirname "$E2E_XSHOT")/fakewatcher}
PIXELDIFF=${PIXELDIFF:-$(dirname "$E2E_XSHOT")/pixeldiff}
e2e_require "$KEYSCRIPT" "$FAKEWATCHER" "$PIXELDIFF" dbus-daemon dbus-send

# A private session bus with a stand-in StatusNotifierItem watcher: the notification area a
# Wayland desktop offers.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$E2E_WORK/bus
e2e_spawn dbus dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS"
e2e_wait_for 10 test -S "$E2E_WORK/bus" || e2e_bail "a private session bus starts"
WATCHER_LOG=$E2E_WORK/logs/watcher.log
e2e_spawn watcher "$FAKEWATCHER"
watcher_says() { grep -q "$1" "$WATCHER_LOG"; }
e2e_wait_for 10 watcher_says '^ready$' ||
  e2e_bail "the stand-in watcher is on the bus" "$(cat "$WATCHER_LOG")"

R=$E2E_WORK/report
printf '%s\n' 'key 1' 'key 0' 'key 0' 'key Return' 'wait 300' "report $R-typed" \
  "hold $R-typed-seen" 'key Alt+Z' 'until Dorvanta' 'wait 500' "report $R-zone" \
  "hold $R-zone-seen" 'key Alt+F4' 'wait 500' "report $R-closed" 'key 3' 'key Return' \
  'wait 300' "report $R-after" >"$E2E_WORK/keys"

e2e_new_runtime
# WAYLAND_DEBUG: the requests the program makes of the compositor, in its log.
E2E_APP_ENV=(LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client
  "TAVELMARQUE_TEST_KEYS=$E2E_WORK/keys")
MAIN_APP=$E2E_APP
E2E_APP=$KEYSCRIPT
e2e_start_app
E2E_APP=$MAIN_APP

# label_in REPORT TITLE "X Y": the caption of the label at that corner of the window so titled.
label_in() {
  local x y
  read -r x y <<<"$3"
  awk -v t="window $2" -v x="$x" -v y="$y" -F '\t' '
    /^window / { inside = ($1 == t) }
    inside && /^label / { split($0, f, " "); if (f[2] == x && f[3] == y) {
      sub(/^label [^ ]+ [^ ]+ /, ""); print; exit } }' "$1"
}
# window_line REPORT TITLE: the report's line for the window so titled.
window_line() { grep -m1 "^window $2"$'\t' "$1"; }

MAIN_EUROS="72 104"   # main window lblP(2): 1080,1560 twips
MAIN_FRANCS="56 40"   # lblP(0): 840,600
if e2e_wait_for 20 test -e "$R-typed"; then
  e2e_check_eq "keys typed into the window convert: 1 0 0 Enter makes 15.24 euros" 15.24 \
    "$(label_in "$R-typed" Tavelmarque "$MAIN_EUROS")"
else
  e2e_bail "keys typed into the window convert" "no report within 20 s" \
    "$(tail -n 5 "$E2E_WORK/logs/app-$E2E_APP_RUNS.log")"
fi
BEFORE=$(shoot typed)
touch "$R-typed-seen"

if e2e_wait_for 15 test -e "$R-zone"; then
  ZONE=$(window_line "$R-zone" Dorvanta)
  if [ -n "$ZONE" ]; then
    e2e_pass "Alt+Z opens the Zone Euro window"
  else
    e2e_fail "Alt+Z opens the Zone Euro window" "$(cat "$R-zone")"
  fi
  e2e_check_eq "it is modal and owned by the main window (a transient child of it)" \
    "modal 1 transient-for Tavelmarque" "$(cut -f 2,3 <<<"$ZONE" | tr '\t' ' ')"
  # What the compositor was told: the owner as the parent of the new toplevel, which keeps the
  # window above it. Whether it places it over the owner is the compositor's choice (Weston
  # places every window at a random spot).
  if grep -qE 'xdg_toplevel@[0-9]+\.set_parent\(xdg_toplevel@[0-9]+\)' \
    "$E2E_WORK/logs/app-$E2E_APP_RUNS.log"; then
    e2e_pass "the compositor is told the main window is its parent (xdg_toplevel.set_parent)"
  else
    e2e_fail "the compositor is told the main window is its parent (xdg_toplevel.set_parent)" \
      "$(grep -E 'set_parent' "$E2E_WORK/logs/app-$E2E_APP_RUNS.log" | head -n 3)"
  fi
  AFTER=$(shoot zone)
  # What changed on the screen is the whole new window: nothing covers it.
  read -r zw zh <<<"${ZONE##*$'\t'size }"
  CHANGED=$("$PIXELDIFF" "$BEFORE" "$AFTER")
  echo "# the Zone Euro window ($zw x $zh) changed $CHANGED on the screen"
  if [ "${CHANGED#* * }" = "$zw $zh" ]; then
    e2e_pass "it maps whole, on top"
  else
    e2e_fail "it maps whole, on top" "window: $zw x $zh" "changed: $CHANGED"
  fi
else
  e2e_fail "Alt+Z opens the Zone Euro window" "no report within 15 s"
fi
touch "$R-zone-seen"

if e2e_wait_for 10 test -e "$R-closed"; then
  e2e_check_eq "Alt+F4 closes it" "" "$(window_line "$R-closed" Dorvanta)"
  e2e_check "the main window is still shown" grep -q "^window Tavelmarque" "$R-closed"
else
  e2e_fail "Alt+F4 closes it" "no report within 10 s"
fi
if e2e_wait_for 10 test -e "$R-after"; then
  e2e_check_eq "the main window takes keys again: 3 Enter makes 3 francs" 3 \
    "$(label_in "$R-after" Tavelmarque "$MAIN_FRANCS")"
else
  e2e_fail "the main window takes keys again" "no report within 10 s"
fi

if e2e_wait_for 10 watcher_says '^item '; then
  e2e_pass "the notification-area icon registers as a StatusNotifierItem"
  # A host with a token for the click hands it over before Activate (KDE Plasma does); Qt keeps it
  # for the window's next activation. Weston has no xdg-activation to use it: only the hand-over
  # is checked.
  read -r _ _ ITEM ITEM_PATH _ <<<"$(grep -m1 '^item ' "$WATCHER_LOG")"
  provide_token() {
    timeout 10 dbus-send --session --print-reply --reply-timeout=5000 --dest="$ITEM" \
      "$ITEM_PATH" org.kde.StatusNotifierItem.ProvideXdgActivationToken string:e2e-token >/dev/null
  }
  e2e_check "the item takes an activation token from the host (ProvideXdgActivationToken)" \
    provide_token
else
  e2e_fail "the notification-area icon registers as a StatusNotifierItem" "$(cat "$WATCHER_LOG")"
fi
e2e_stop "$E2E_APP_PID"

e2e_finish
