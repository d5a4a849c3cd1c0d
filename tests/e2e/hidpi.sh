#!/usr/bin/env bash
# The main window on a high-density X screen (Qt's scale factor 2, 1.5 and 1.25): it keeps its
# layout in pixels and so grows in device pixels, still a whole disc with see-through corners,
# the banknote drawn from its dense picture, and it follows a drag exactly.
#
# usage: hidpi.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

e2e_start_x

# check_scale FACTOR SIZE: runs the program at the factor, its 180-pixel window SIZE device
# pixels wide.
# check_scale FACTOR SIZE xft: the same, the factor coming from the screen's Xft.dpi resource, as
# GNOME and KDE set it, instead of from Qt's variable.
check_scale() {
  local factor=$1 size=$2 wid x y w h shot ours out
  local half=$((size / 2)) far=$((size - 3))
  e2e_new_runtime
  # Only the program is scaled: xshot and the other tools must see device pixels.
  E2E_APP_ENV=(LANG=C.UTF-8 LC_ALL=C.UTF-8 "QT_SCALE_FACTOR=$factor")
  if [ "${3:-}" = xft ]; then
    E2E_APP_ENV=(LANG=C.UTF-8 LC_ALL=C.UTF-8)
    # Qt reads the resource only when its line ends.
    local resources
    printf -v resources 'Xft.dpi:\t%d\n' "$(awk -v f="$factor" 'BEGIN { printf "%d", 96 * f }')"
    xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$resources"
  fi
  e2e_start_app
  local tag=$factor
  [ "${3:-}" = xft ] && tag=$factor-xft && factor="$factor (Xft.dpi)"
  wid=$(e2e_find_window 20)
  if [ -z "$wid" ]; then
    e2e_fail "at scale $factor the main window maps" "no visible window named Tavelmarque in 20 s"
    e2e_stop "$E2E_APP_PID"
    return
  fi
  e2e_pass "at scale $factor the main window maps"

  read -r x y w h <<<"$(e2e_geometry "$wid")"
  e2e_check_eq "at scale $factor the window is $size x $size device pixels" \
    "$size x $size" "$w x $h"

  # The screenshot covers the window's square; its corners show what lies behind.
  if shot=$(e2e_shot "scale-$tag" "$wid") && out=$("$E2E_XSHOT" --disc "$size" "$shot"); then
    e2e_pass "at scale $factor the window is a painted disc of $size device pixels"
  else
    e2e_fail "at scale $factor the window is a painted disc of $size device pixels" \
      "${out:-no screenshot}"
  fi

  ours=$(e2e_toplevel "$wid")
  local p under bad=()
  for p in "$half,$half" "3,$half" "$far,$half" "$half,3" "$half,$far"; do
    under=$(e2e_window_at $((x + ${p%,*})) $((y + ${p#*,})))
    [ "$under" = "$ours" ] || bad+=("($p) is not the window's")
  done
  for p in "1,1" "$((size - 2)),1" "1,$((size - 2))" "$((size - 2)),$((size - 2))"; do
    under=$(e2e_window_at $((x + ${p%,*})) $((y + ${p#*,})))
    [ "$under" != "$ours" ] || bad+=("($p) is the window's")
  done
  if [ ${#bad[@]} -eq 0 ]; then
    e2e_pass "at scale $factor the disc takes the pointer and the corners let it through"
  else
    e2e_fail "at scale $factor the disc takes the pointer and the corners let it through" \
      "${bad[@]}"
  fi

  # A click at a corner reaches the window lying behind the square.
  e2e_spawn "behind-$tag" xev -name "tavelmarque-e2e-behind-$tag" -event button \
    -geometry "$((size + 120))x$((size + 120))+$((x - 60))+$((y - 60))"
  local xev=$E2E_LAST_PID log=$E2E_WORK/logs/behind-$tag.log
  local cx=$((x + 2)) cy=$((y + 2))
  if timeout 10 xdotool search --sync --onlyvisible --name "^tavelmarque-e2e-behind-$tag\$" \
    >/dev/null && timeout 10 xdotool windowactivate --sync "$wid" >/dev/null 2>&1; then
    e2e_pointer_to "$cx" "$cy" && xdotool click 1
    pressed_at() { grep -A1 '^ButtonPress event' "$log" | grep -q "root:($1,$2)"; }
    if e2e_wait_for 5 pressed_at "$cx" "$cy"; then
      e2e_pass "at scale $factor a click at a corner reaches the window behind"
    else
      e2e_fail "at scale $factor a click at a corner reaches the window behind" \
        "the window behind logged no button press at ($cx,$cy)"
    fi
  else
    e2e_fail "at scale $factor a click at a corner reaches the window behind" \
      "setup: no window behind the square, or the window not on top"
  fi
  e2e_stop "$xev"

  # A drag on the background moves the window by what the pointer moved, in device pixels:
  # exactly at a whole factor; at a fractional one, window positions are whole pixels of the
  # scaled screen, so within one device pixel. (45,90) in the window's own pixels is bare
  # banknote.
  read -r x y _ _ <<<"$(e2e_geometry "$wid")"
  local bx by slack=1
  bx=$(awk -v f="${factor%% *}" 'BEGIN { printf "%d", 45 * f }')
  by=$(awk -v f="${factor%% *}" 'BEGIN { printf "%d", 90 * f }')
  [ "${factor%% *}" = 2 ] && slack=0
  moved_by() {
    local nx ny
    read -r nx ny _ _ <<<"$(e2e_geometry "$wid")"
    [ -n "$ny" ] && [ $((nx - x - 60)) -le "$slack" ] && [ $((x + 60 - nx)) -le "$slack" ] &&
      [ $((ny - y - 40)) -le "$slack" ] && [ $((y + 40 - ny)) -le "$slack" ]
  }
  e2e_drag 1 $((x + bx)) $((y + by)) 60 40
  if e2e_wait_for 5 moved_by; then
    e2e_pass "at scale $factor a drag moves the window by the pointer's (+60,+40)"
  else
    e2e_fail "at scale $factor a drag moves the window by the pointer's (+60,+40)" \
      "from ($x,$y), now at ($(e2e_geometry "$wid" | cut -d' ' -f1,2 | tr ' ' ,))"
  fi
  e2e_stop "$E2E_APP_PID"
}

check_scale 2 360
check_scale 1.5 270
check_scale 1.25 225
check_scale 2 360 xft
xprop -root -remove RESOURCE_MANAGER

e2e_finish
