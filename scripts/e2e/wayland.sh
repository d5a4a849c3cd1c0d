#!/usr/bin/env bash
# The main window as a native Wayland client, on a headless Weston: it maps, and as a Wayland
# shape only limits input, it paints its own disc and leaves the square's corners transparent,
# at scale 1 and 2.
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

e2e_finish
