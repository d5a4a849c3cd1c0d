# The Orca screen reader on the private desktop of tests/e2e/lib.sh: a speech server that writes
# every utterance to a text file instead of a sound card, Orca with preferences and a debug log of
# the check's own, and a way to press a key and read what Orca said after it.
#
# A check sources lib.sh, then this file, calls e2e_start_x, orca_start_speech, then starts the
# program and Orca in the order it tests (orca_start), and ends with e2e_finish: the exit trap
# ends Orca first (SIGTERM, so that it says goodbye and closes its log), then the speech server.
#
# What Orca said is read from the "SPEECH OUTPUT" lines of its debug log, one utterance a line,
# as Orca produced it (the speech server's own file, which also gets say-all's text, is there for
# a person reading a failure). Checks match the words and numbers that matter, never Orca's whole
# phrase: it adds role names and positions, in its own language.
# shellcheck shell=bash
# shellcheck disable=SC2034 # the ORCA_ variables are read by the scripts that source this file

ORCA_DEBUG_LOG=$E2E_WORK/logs/orca-debug.log
ORCA_SPEECH_LOG=$E2E_WORK/logs/speech.log
ORCA_PREFS=$E2E_WORK/orca-prefs
ORCA_SPEECH_SOCKET=$E2E_WORK/speechd.sock
ORCA_PID=""
ORCA_SPEECH_PID=""
ORCA_MARK=0
# Seconds Orca may take to start: a few on an idle 2-core machine, tens under load.
ORCA_START_SECONDS=60

# orca_require: bails out unless Orca, the speech server and its generic module are there.
orca_require() {
  local missing=() tool
  for tool in orca speech-dispatcher; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  [ -x /usr/lib/speech-dispatcher-modules/sd_generic ] || missing+=(sd_generic)
  [ ${#missing[@]} -eq 0 ] || e2e_bail "the screen reader and its speech server are present" \
    "missing: ${missing[*]}" "Debian packages: orca speech-dispatcher"
  e2e_require xkbcomp dbus-send
  e2e_require_screen_reader
}

# ---------------------------------------------------------------------------------------------
# The speech server and the accessibility bus

# orca_start_speech: speech-dispatcher on a socket of the check's own, with one output module
# that appends "LANGUAGE<tab>TEXT" lines to ORCA_SPEECH_LOG, and English and French voices.
# There is no sound card here: the server's audio goes to ALSA's null device.
orca_start_speech() {
  local conf=$E2E_WORK/speechd
  mkdir -p "$conf/modules"
  : >"$ORCA_SPEECH_LOG"
  printf '%s\n' 'AudioOutputMethod "alsa"' 'AudioALSADevice "null"' \
    'AddModule "textlog" "sd_generic" "textlog.conf"' 'DefaultModule textlog' \
    'LogLevel 3' >"$conf/speechd.conf"
  # The generic module runs the command through the shell with the text between single quotes,
  # its own quotes escaped.
  cat >"$conf/modules/textlog.conf" <<EOF
GenericExecuteSynth "printf '%s\\\\t%s\\\\n' '\$LANGUAGE' '\$DATA' >>$ORCA_SPEECH_LOG"
AddVoice "en" "MALE1" "en"
AddVoice "fr" "MALE1" "fr"
GenericLanguage "en" "en" "utf-8"
GenericLanguage "fr" "fr" "utf-8"
EOF
  e2e_spawn speechd speech-dispatcher --run-single --timeout 0 --config-dir "$conf" \
    --socket-path "$ORCA_SPEECH_SOCKET" --pid-file "$E2E_WORK/speechd.pid" --log-dir "$conf"
  ORCA_SPEECH_PID=$E2E_LAST_PID
  export SPEECHD_ADDRESS=unix_socket:$ORCA_SPEECH_SOCKET
  e2e_wait_for 20 test -S "$ORCA_SPEECH_SOCKET" ||
    e2e_bail "the speech server starts" "$(tail -n 5 "$E2E_WORK/logs/speechd.log")"
  orca_start_a11y_bus
}

# orca_start_a11y_bus: the accessibility bus is up before any program starts, as in a desktop
# session, where the session starts it at logon; a program then reads at its start whether a
# screen reader runs. Left to start on a screen reader's first call instead, it would be
# registered while the program watches for it, a moment before Orca turns accessibility on.
orca_start_a11y_bus() {
  timeout 20 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress >/dev/null 2>&1 ||
    e2e_bail "the accessibility bus starts" "no answer from org.a11y.Bus in 20 s"
}

# ---------------------------------------------------------------------------------------------
# Orca

# orca_start [en|fr] [SETTING=VALUE...]: starts Orca in that language (by default English),
# with the default settings but what a headless run needs and the settings given (names and
# Python values of orca.settings: enableKeyEcho=False), and waits until it listens to the
# desktop.
orca_start() {
  local lang=${1:-en} env=(LANG=C.UTF-8 LC_ALL=C.UTF-8) setting
  [ $# -gt 0 ] && shift
  if [ "$lang" = fr ]; then
    e2e_french_locale || e2e_bail "Orca starts in French" "no French locale on this machine"
    env=("${E2E_FR_ENV[@]}")
  fi
  mkdir -p "$ORCA_PREFS"
  # Orca's own hook for a user's code, run when its settings load, before anything is said.
  cat >"$ORCA_PREFS/orca-customizations.py" <<'EOF'
from gi.repository import GLib

import orca.debug
import orca.settings

# Python runs a signal's handler only once its own code runs again, and Orca idles in a main
# loop of C: without a tick, an idle Orca would act on SIGTERM only at the next event.
GLib.timeout_add(200, lambda: True)

# The check reads the debug log while Orca runs: each line reaches the file at once, not a block
# of 8 KiB at a time.
if orca.debug.debugFile:
    orca.debug.debugFile.reconfigure(line_buffering=True)

# There is no braille display: Orca would try to reach one at every message.
orca.settings.enableBraille = False
EOF
  for setting in "$@"; do
    echo "orca.settings.${setting%%=*} = ${setting#*=}" >>"$ORCA_PREFS/orca-customizations.py"
  done
  : >"$ORCA_DEBUG_LOG"
  ORCA_MARK=0
  # Orca refuses to start while another Orca of the user runs (it asks pgrep), wherever it runs:
  # the user's own, another check's. Only one on this check's session bus counts here.
  mkdir -p "$E2E_WORK/orca-bin"
  cat >"$E2E_WORK/orca-bin/pgrep" <<'EOF'
#!/bin/sh
for pid in $(/usr/bin/pgrep "$@"); do
  tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null |
    grep -qxF "DBUS_SESSION_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS" && echo "$pid"
done
exit 0
EOF
  chmod +x "$E2E_WORK/orca-bin/pgrep"
  # Never --replace: it would end every Orca of the user, the caller's own included.
  e2e_spawn orca env "${env[@]}" PATH="$E2E_WORK/orca-bin:$PATH" \
    orca --debug-file "$ORCA_DEBUG_LOG" -u "$ORCA_PREFS"
  ORCA_PID=$E2E_LAST_PID
  local started
  started=$(e2e_now_ms)
  px_wait_while_running "$ORCA_START_SECONDS" "$ORCA_PID" \
    grep -aq 'ORCA: Starting ATSPI registry' "$ORCA_DEBUG_LOG"
  case $? in
    1) e2e_bail "Orca starts" "not listening $ORCA_START_SECONDS s after its start" ;;
    2) e2e_bail "Orca starts" "it exited: $(tail -n 5 "$E2E_WORK/logs/orca.log")" ;;
  esac
  ORCA_START_MS=$(($(e2e_now_ms) - started))
}

# orca_stop: ends Orca (SIGTERM: it says goodbye and closes its log), then the speech server.
orca_stop() {
  if [ -n "$ORCA_PID" ]; then
    e2e_exited "$ORCA_PID" || kill -TERM "$ORCA_PID" 2>/dev/null
    # Orca unregisters its listeners one D-Bus call at a time; it gives itself 10 s to do so.
    local started
    started=$(e2e_now_ms)
    # Stopped once the last program has gone, Orca's goodbye fails and Orca ends itself with
    # SIGKILL, its log complete: the shell's "Killed" notice is not worth showing.
    {
      e2e_wait_for 15 e2e_exited "$ORCA_PID" || kill -KILL "$ORCA_PID"
      wait "$ORCA_PID"
    } 2>/dev/null
    echo "# Orca ended $(($(e2e_now_ms) - started)) ms after SIGTERM"
    ORCA_PID=""
  fi
  if [ -n "$ORCA_SPEECH_PID" ]; then
    e2e_stop "$ORCA_SPEECH_PID"
    ORCA_SPEECH_PID=""
  fi
}

# ---------------------------------------------------------------------------------------------
# What Orca says

orca_size() { stat -c %s "$1" 2>/dev/null || echo 0; }

# orca_mark: what Orca says from now on is what the next reads return.
orca_mark() { ORCA_MARK=$(orca_size "$ORCA_DEBUG_LOG"); }

# orca_key KEY...: marks, then presses the keys (xdotool's names) into the focused window.
orca_key() {
  orca_mark
  xdotool key --delay 100 "$@"
}

# orca_said: what Orca said since the mark, one utterance a line, without its voice settings.
# (A line of the log reads "12:34:56.789012 - SPEECH OUTPUT: 'text' {voice}", the voice settings
# a list for flat review's lines.)
orca_said() {
  tail -c +$((ORCA_MARK + 1)) "$ORCA_DEBUG_LOG" |
    sed -nE "s/^[0-9:.]+ - SPEECH OUTPUT: '(.*)'( voice=[^[{]*| )?[[{].*$/\1/p"
}

# orca_quoted: what Orca said since the mark, each utterance quoted, on one line.
orca_quoted() { orca_said | sed "s/.*/'&'/" | tr '\n' ' '; }

# orca_said_matches ERE...: what Orca said since the mark, taken as one line, matches every
# extended regular expression, ignoring case.
orca_said_matches() {
  local text re
  text=$(orca_said | tr '\n' ' ')
  for re in "$@"; do
    grep -Eqi -- "$re" <<<"$text" || return 1
  done
}

# orca_check_said NAME SECONDS ERE...: within the time, Orca comes to say what matches every ERE.
orca_check_said() {
  local name=$1 seconds=$2
  shift 2
  if e2e_wait_for "$seconds" orca_said_matches "$@"; then
    e2e_pass "$name"
  else
    e2e_fail "$name" "expected: $*" "heard: $(orca_quoted)"
  fi
}

# orca_settle: waits until Orca's debug log has not grown for half a second (at most 10 s), that
# is until Orca has done with the last events. It logs every event it receives.
orca_settle() {
  local size last=-1 still=0 deadline=$(($(e2e_now_ms) + 10000))
  while [ "$(e2e_now_ms)" -lt "$deadline" ]; do
    size=$(orca_size "$ORCA_DEBUG_LOG")
    if [ "$size" = "$last" ]; then
      still=$((still + 1))
      [ "$still" -ge 10 ] && return 0
    else
      still=0
      last=$size
    fi
    sleep 0.05
  done
  return 1
}

# orca_count_said ERE: how many utterances since the mark are wholly matched by the ERE
# (ignoring case and blanks at either end).
orca_count_said() {
  orca_said | sed -E 's/^ +| +$//g' | grep -Ecix -- "$1"
}

# orca_check_said_once NAME ERE: once Orca has settled, exactly one utterance since the mark is
# the ERE (a digit typed: the key echo, not also the program's own).
orca_check_said_once() {
  orca_settle
  local n
  n=$(orca_count_said "$2")
  if [ "$n" -eq 1 ]; then
    e2e_pass "$1"
  else
    e2e_fail "$1" "said $n times" "heard: $(orca_quoted)"
  fi
}

# Orca goes first when everything ends: it says goodbye through the speech server. A failed
# check keeps Orca's debug log beside its screenshots: it says what Orca ignored, and why.
rm -f "$E2E_SHOTS/$E2E_NAME-orca-debug.log"
orca_cleanup() {
  orca_stop
  if [ "$E2E_FAILED" -gt 0 ] && [ -s "$ORCA_DEBUG_LOG" ]; then
    cp "$ORCA_DEBUG_LOG" "$E2E_SHOTS/$E2E_NAME-orca-debug.log"
  fi
  e2e_cleanup
}
trap orca_cleanup EXIT
