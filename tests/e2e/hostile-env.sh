#!/usr/bin/env bash
# The real program started in hostile session environments: each case either works (its window
# shows, and where it matters still converts) or ends at once with status 1 and a line on
# standard error saying why in plain words; never a crash, a core dump or a silent exit. One row per case in
# the table at the end.
#
# Permissions mean nothing to root, so the cases about them run the program as the user nobody,
# from a copy that nobody can reach, with an X cookie of its own; "another user" is uid 65533.
# A full runtime folder is a real one: a tmpfs of one page and two inodes, mounted in a mount
# namespace of the program's own (unshare -m), so nothing outside it sees the mount.
#
# usage: hostile-env.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
# Functions run through e2e_wait_for and the case functions look unreachable to shellcheck.
# shellcheck disable=SC2317,SC2119,SC2034 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"

USER_ID=65534 # nobody
OTHER_ID=65533
AMOUNT_EUROS="72 104 89 15" # the euro amount's box in the window (see main-window.sh)
E2E_PROBE_OPTS=(--bold)

e2e_require setpriv "$E2E_TEXTPROBE"
e2e_start_x

# Everything an unprivileged program touches lies under here, outside the harness's private
# work folder.
BASE=$(mktemp -d /tmp/tavelmarque-hostile.XXXXXX) || e2e_bail "a shared work folder is made"
chmod 755 "$BASE"
hostile_cleanup() {
  e2e_cleanup
  rm -rf "$BASE"
}
trap hostile_cleanup EXIT

# A copy of the program and its help file that every user can run.
mkdir -m 755 "$BASE/bin"
cp "$E2E_APP" "$BASE/bin/Tavelmarque"
HELP=$(dirname "$E2E_APP")/Tavelmarque.hlp
[ -r "$HELP" ] && cp "$HELP" "$BASE/bin/"
chmod -R a+rX "$BASE/bin"
PROGRAM=$BASE/bin/Tavelmarque

# The display's cookie, readable by the unprivileged user only.
cp "$XAUTHORITY" "$BASE/xauth-user"
chown "$USER_ID:$USER_ID" "$BASE/xauth-user"
chmod 600 "$BASE/xauth-user"

# ---------------------------------------------------------------------------------------------
# One case: the case function prepares its folders and sets these, then run_case starts the
# program and checks the outcome.

C_USER=root       # root, or the unprivileged user
C_PROGRAM=""      # the program to start
C_WRAP=()         # a command the start goes through (unshare)
C_CHECK=""        # a function run while the window shows
declare -A C_SET  # the environment: variables set ...
C_UNSET=()        # ... and removed

# new_case USER: a case folder with home, runtime and temporary folders owned by USER, and the
# usual environment pointing there.
new_case() {
  C_USER=$1
  C_PROGRAM=$PROGRAM
  C_WRAP=()
  C_CHECK=""
  C_SET=()
  C_UNSET=()
  CASE=$BASE/case-$CASE_NUMBER
  mkdir -p "$CASE/home/.config" "$CASE/runtime" "$CASE/tmp"
  chmod 700 "$CASE/runtime"
  chmod 1777 "$CASE/tmp"
  local owner=0
  [ "$C_USER" = root ] || owner=$C_USER
  chown -R "$owner:$owner" "$CASE/home" "$CASE/runtime"
  # The lock's folders follow the user id, here under a root of the case's own.
  USER_LOCKS=$CASE/lock-root/run/user/$owner
  mkdir -p "$CASE/lock-root/run/user" "$CASE/lock-root/tmp"
  mkdir -m 700 "$USER_LOCKS"
  chown "$owner:$owner" "$USER_LOCKS"
  chmod 1777 "$CASE/lock-root/tmp"
  C_SET=([HOME]=$CASE/home [XDG_CONFIG_HOME]=$CASE/home/.config
    [XDG_DATA_HOME]=$CASE/home/.local/share [XDG_CACHE_HOME]=$CASE/home/.cache
    [XDG_RUNTIME_DIR]=$CASE/runtime [TMPDIR]=$CASE/tmp [LANG]=C.UTF-8 [LC_ALL]=C.UTF-8
    [TAVELMARQUE_LOCK_ROOT]=$CASE/lock-root)
  [ "$C_USER" = root ] || C_SET[XAUTHORITY]=$BASE/xauth-user
}

unset_var() {
  unset "C_SET[$1]"
  C_UNSET+=(-u "$1")
}

# as USER COMMAND...: runs the command as that user (root: as it is).
as() {
  local user=$1
  shift
  if [ "$user" = root ]; then
    "$@"
  else
    setpriv --reuid="$user" --regid="$user" --clear-groups -- "$@"
  fi
}

# The command line that starts the program as the case says, from the case folder.
case_command() {
  local assignments=() name
  for name in "${!C_SET[@]}"; do assignments+=("$name=${C_SET[$name]}"); done
  CASE_COMMAND=("${C_WRAP[@]}")
  [ "$C_USER" = root ] || CASE_COMMAND+=(setpriv --reuid="$C_USER" --regid="$C_USER" --clear-groups --)
  CASE_COMMAND+=(env -C "$CASE" "${C_UNSET[@]}" "${assignments[@]}" "$C_PROGRAM")
}

start_program() {  # start_program LOGNAME: starts the case's command; its id in PID
  case_command
  e2e_spawn "$1" "${CASE_COMMAND[@]}"
  PID=$E2E_LAST_PID
  LOG=$E2E_WORK/logs/$1.log
}

# A status above 128 is a signal: a crash, an abort with its core dump.
describe_status() {
  if [ "$1" -gt 128 ]; then echo "killed by signal $(kill -l "$1")"; else echo "status $1"; fi
}

# run_case NAME EXPECT ID: EXPECT is "works" or "refuses:PATTERN", an extended regular expression
# that the program's own line on standard error must match; case_ID prepares the case.
CASE_NUMBER=0
run_case() {
  local name=$1 expect=$2 id=$3 status
  CASE_NUMBER=$((CASE_NUMBER + 1))
  if ! "case_$id"; then
    return 0 # the case function said why it was skipped
  fi
  start_program "app-$CASE_NUMBER-$id"
  APP_PID=$PID
  APP_LOG=$LOG
  if [ "$expect" = works ]; then
    status=0
    px_wait_while_running 20 "$APP_PID" px_main_window_shown || status=$?
    if [ "$status" -ne 0 ]; then
      local why="no window after 20 s"
      if [ "$status" -eq 2 ]; then
        e2e_wait_exit "$APP_PID" 1
        why="the program ended ($(describe_status "$E2E_EXIT_STATUS")) before its window showed"
      fi
      e2e_fail "$name: the window shows" "$why" "$(tail -n 5 "$APP_LOG")"
      e2e_stop "$APP_PID"
      return 0
    fi
    e2e_pass "$name: the window shows"
    WID=$(e2e_main_windows | head -n 1)
    [ -z "$C_CHECK" ] || "$C_CHECK" "$name"
    e2e_stop "$APP_PID"
  else
    local pattern=${expect#refuses:}
    if ! e2e_wait_exit "$APP_PID" 15; then
      e2e_fail "$name: the program ends at once" "still running after 15 s"
      e2e_stop "$APP_PID"
      return 0
    fi
    # The program's own line; the X server's reason for a refusal may come before it (libxcb
    # writes it), Qt's abort message never.
    local said
    said=$(grep -v '^[[:space:]]*$' "$APP_LOG")
    if [ "$E2E_EXIT_STATUS" -eq 1 ] &&
      [ "$(grep -c '^Tavelmarque cannot start: ' <<<"$said")" -eq 1 ] &&
      grep -Eq "^Tavelmarque cannot start: .*$pattern" <<<"$said" &&
      ! grep -Eqi 'could not connect to display|abort|core dump' <<<"$said"; then
      e2e_pass "$name: status 1 and the reason in plain words on standard error"
      while IFS= read -r line; do echo "#   $line"; done <<<"$said"
    else
      e2e_fail "$name: status 1 and the reason in plain words on standard error" \
        "$(describe_status "$E2E_EXIT_STATUS"); standard error:" "${said:-(nothing)}" \
        "wanted a line matching: $pattern"
    fi
  fi
}

# ---------------------------------------------------------------------------------------------
# Checks run while a case's window shows

# converts_to EXPECTED RIVAL...: types 100 and Enter; the euro row must read EXPECTED.
converts_to() {
  local name=$1 expected=$2
  shift 2
  E2E_READ_REPORT="the window could not be activated"
  if timeout 10 xdotool windowactivate --sync "$WID" && xdotool key 1 0 0 Return &&
    e2e_read_text 10 "$WID" "case-$CASE_NUMBER" "$AMOUNT_EUROS" "$expected" "$@"; then
    e2e_pass "$name: typing 100 Enter shows $expected euros"
  else
    e2e_fail "$name: typing 100 Enter shows $expected euros" "$E2E_READ_REPORT"
  fi
}
converts_with_point() { converts_to "$1" 15.24 15,24 655.96 100 0; }
converts_with_comma() { converts_to "$1" 15,24 15.24 655,96 100 0; }

help_window_shown() { xdotool search --onlyvisible --name '^Aide de Tavelmarque$' >/dev/null 2>&1; }

# F1 opens the help window, which says the file cannot be read, and the program goes on.
help_answers() {
  local name=$1
  if timeout 10 xdotool windowactivate --sync "$WID" && xdotool key F1 &&
    e2e_wait_for 10 help_window_shown; then
    e2e_pass "$name: F1 still opens the help window (telling that the file cannot be read)"
  else
    e2e_fail "$name: F1 still opens the help window (telling that the file cannot be read)" \
      "no visible window 'Aide de Tavelmarque' 10 s after F1; the program is $(
        e2e_running "$APP_PID" && echo running || echo gone)"
  fi
  # The help window may cover the main one; the main window must still convert.
  converts_with_point "$name"
}

# The display's instance lock, by its name in a folder.
LOCK=Tavelmarque.x11-$DISPLAY.lock

lock_in_temp_folder() {
  local name=$1 lock=$CASE/lock-root/tmp/tavelmarque-$C_USER/$LOCK
  e2e_check "$name: the instance lock lies in the user's own temporary folder" test -f "$lock"
}

not_in_log() { ! grep -q "$1" "$2"; }

lock_in_users_folder() {
  e2e_check "$1: the instance lock lies in the user's runtime folder, whatever the variables say" \
    test -f "$USER_LOCKS/$LOCK"
}

lock_not_in_foreign_runtime() {
  local name=$1
  e2e_check "$name: no lock is left in a runtime folder that is not the user's" \
    test ! -e "$CASE/foreign/$LOCK"
  lock_in_users_folder "$name"
  # The lock still keeps a second start out.
  start_program "second-$CASE_NUMBER"
  if e2e_wait_exit "$PID" 10 && [ "$E2E_EXIT_STATUS" -eq 0 ] && [ ! -s "$LOG" ]; then
    e2e_pass "$name: a second start sees the first and ends at once"
  else
    e2e_fail "$name: a second start sees the first and ends at once" \
      "$(describe_status "${E2E_EXIT_STATUS:-0}")" "$(cat "$LOG")"
    e2e_stop "$PID"
  fi
}

another_users_lock_kept() {
  local name=$1
  e2e_check "$name: the instance lock lies in the user's home, named for the host" \
    test -f "$USER_HOME/.local/state/tavelmarque/${LOCK%.lock}@$(hostname).lock"
  e2e_check "$name: nothing is said about the instance lock" \
    not_in_log 'instance lock' "$APP_LOG"
  e2e_check_eq "$name: the other user's lock is left as it was" "$OTHER_LOCK" \
    "$(cat "$CASE/lock-root/tmp/tavelmarque-$USER_ID/$LOCK")"
}

nothing_made_relative() {
  local name=$1
  e2e_check "$name: nothing is made at the relative path" test ! -e "$CASE/relative"
  converts_with_point "$name"
}

# ---------------------------------------------------------------------------------------------
# The cases

case_home_unset() { new_case "$USER_ID"; unset_var HOME; C_CHECK=converts_with_point; }
case_home_read_only() {
  new_case "$USER_ID"
  mkdir -m 555 "$CASE/read-only-home"
  C_SET[HOME]=$CASE/read-only-home
  unset_var XDG_CONFIG_HOME
  unset_var XDG_DATA_HOME
  unset_var XDG_CACHE_HOME
  C_CHECK=converts_with_point
}
case_runtime_unset() { new_case "$USER_ID"; unset_var XDG_RUNTIME_DIR; C_CHECK=lock_in_users_folder; }
case_runtime_foreign() {
  new_case "$USER_ID"
  # Anyone may write there, and it is not the user's: the lock must not go there.
  mkdir -m 1777 "$CASE/foreign"
  C_SET[XDG_RUNTIME_DIR]=$CASE/foreign
  C_CHECK=lock_not_in_foreign_runtime
}
case_runtime_full() {
  new_case "$USER_ID"
  if ! unshare -m true 2>/dev/null; then
    echo "# skipped: no mount namespace may be made here (unshare -m needs CAP_SYS_ADMIN)"
    return 1
  fi
  # The user's own runtime folder, full (one page and two inodes: the root and one file that
  # fills the page): the lock goes to the temporary folder.
  C_SET[XDG_RUNTIME_DIR]=$USER_LOCKS
  # shellcheck disable=SC2016 # the script's own arguments
  C_WRAP=(unshare -m --propagation private sh -c
    'mount -t tmpfs -o size=4k,nr_inodes=2,mode=0700,uid=$1,gid=$1 full "$2" &&
     dd if=/dev/zero of="$2/fill" bs=4096 count=2 2>/dev/null; chown "$1" "$2/fill"
     [ ! -e "$2/probe" ] && ! touch "$2/probe" 2>/dev/null || exit 3
     shift 2; exec "$@"' full "$USER_ID" "$USER_LOCKS")
  C_CHECK=lock_in_temp_folder
}
case_config_relative() { new_case root; C_SET[XDG_CONFIG_HOME]=relative/config; C_CHECK=nothing_made_relative; }
case_no_display() {
  new_case root
  unset_var DISPLAY
  unset_var WAYLAND_DISPLAY
  unset_var QT_QPA_PLATFORM  # as in a session that asks Qt for no platform of its own
}
case_display_absent() {
  new_case root
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  C_SET[DISPLAY]=:$n
}
case_display_no_cookie() { new_case root; : >"$CASE/no-cookie"; C_SET[XAUTHORITY]=$CASE/no-cookie; }
case_locale_missing() {
  new_case root
  C_SET[LANG]=xx_YY.UTF-8
  C_SET[LC_ALL]=xx_YY.UTF-8
  C_CHECK=converts_with_point
}
case_locale_c() { new_case root; C_SET[LANG]=C; C_SET[LC_ALL]=C; C_CHECK=converts_with_point; }
case_locale_arabic() {
  new_case root
  # Egyptian Arabic writes U+066B as its decimal separator.
  C_SET[LANG]=ar_EG.UTF-8
  C_SET[LC_ALL]=ar_EG.UTF-8
  C_CHECK=converts_with_comma
}
# Each help case has a copy of the program of its own, so that its help file can be changed.
own_copy() {
  mkdir -m 755 "$CASE/bin"
  cp "$PROGRAM" "$CASE/bin/"
  C_PROGRAM=$CASE/bin/Tavelmarque
}
case_help_missing() { new_case root; own_copy; C_CHECK=help_answers; }
case_help_unreadable() {
  new_case "$USER_ID"
  own_copy
  if [ ! -r "$HELP" ]; then
    echo "# skipped: no help file beside $E2E_APP to make unreadable"
    return 1
  fi
  cp "$HELP" "$CASE/bin/"
  chmod 000 "$CASE/bin/Tavelmarque.hlp"
  C_CHECK=help_answers
}
case_help_fifo() { new_case root; own_copy; mkfifo "$CASE/bin/Tavelmarque.hlp"; C_CHECK=help_answers; }
case_help_folder() { new_case root; own_copy; mkdir "$CASE/bin/Tavelmarque.hlp"; C_CHECK=help_answers; }

# A first program in the case's runtime folder, killed outright: its lock stays behind.
lock_of_killed_program() {
  start_program "killed-$CASE_NUMBER"
  px_wait_while_running 20 "$PID" px_main_window_shown || return 1
  { e2e_stop "$PID" KILL; } 2>/dev/null  # without the shell's "Killed" notice
  [ -s "$USER_LOCKS/$LOCK" ]
}
case_lock_dead() {
  new_case root
  lock_of_killed_program || { e2e_fail "lock of a dead process: set-up"; return 1; }
  C_CHECK=converts_with_point
}
case_lock_pid_reused() {
  new_case root
  lock_of_killed_program || { e2e_fail "lock naming another program: set-up"; return 1; }
  # The pid now names a live process of another program (this shell).
  sed -i "1s/.*/$$/" "$USER_LOCKS/$LOCK"
  C_CHECK=converts_with_point
}
case_lock_other_user() {
  new_case "$USER_ID"
  unset_var XDG_RUNTIME_DIR
  rmdir "$USER_LOCKS"
  # Another user takes the folder name first, with a lock naming a live program of its own
  # called Tavelmarque, in a folder that anyone may write to.
  mkdir -m 755 "$CASE/other"
  cp /bin/sleep "$CASE/other/Tavelmarque"
  e2e_spawn "other-user" setpriv --reuid="$OTHER_ID" --regid="$OTHER_ID" --clear-groups -- \
    "$CASE/other/Tavelmarque" 300
  local folder=$CASE/lock-root/tmp/tavelmarque-$USER_ID
  as "$OTHER_ID" mkdir -m 777 "$folder"
  OTHER_LOCK="$E2E_LAST_PID
Tavelmarque
$(hostname)"
  printf '%s\n' "$OTHER_LOCK" | as "$OTHER_ID" tee "$folder/$LOCK" >/dev/null
  as "$OTHER_ID" chmod 666 "$folder/$LOCK"
  # The user's home as the account database gives it, under the case's lock root.
  USER_HOME=$CASE/lock-root$(getent passwd "$USER_ID" | cut -d: -f6)
  mkdir -p "$USER_HOME"
  chown "$USER_ID:$USER_ID" "$USER_HOME"
  C_CHECK=another_users_lock_kept
}

# ---------------------------------------------------------------------------------------------
# The table: what the session looks like | what must happen | its case function

trim() { sed 's/^[[:space:]]*//; s/[[:space:]]*$//' <<<"$1"; }
# The table is read on its own descriptor: the commands of a case never see it on their input.
while IFS='|' read -r name expect id <&3; do
  [ -n "$id" ] || continue
  run_case "$(trim "$name")" "$(trim "$expect")" "$(trim "$id")"
done 3<<'TABLE'
HOME unset                                       | works                                   | home_unset
HOME not writable                                | works                                   | home_read_only
XDG_RUNTIME_DIR unset                            | works                                   | runtime_unset
XDG_RUNTIME_DIR not the user's (anyone writes)   | works                                   | runtime_foreign
XDG_RUNTIME_DIR full                             | works                                   | runtime_full
XDG_CONFIG_HOME relative                         | works                                   | config_relative
no display (DISPLAY and WAYLAND_DISPLAY unset)   | refuses:neither DISPLAY nor WAYLAND     | no_display
a display that no server answers                 | refuses:refused the connection          | display_absent
a display that refuses the connection (no cookie)| refuses:refused the connection          | display_no_cookie
a locale that does not exist (xx_YY.UTF-8)       | works                                   | locale_missing
LC_ALL=C                                         | works                                   | locale_c
a locale whose decimal separator is U+066B       | works                                   | locale_arabic
the help file missing                            | works                                   | help_missing
the help file unreadable                         | works                                   | help_unreadable
the help file is a named pipe                    | works                                   | help_fifo
the help file is a folder                        | works                                   | help_folder
the instance lock of a killed program            | works                                   | lock_dead
the instance lock naming another program's pid   | works                                   | lock_pid_reused
another user's /tmp folder, no runtime folder    | works                                   | lock_other_user
TABLE

e2e_finish
