# The Orca screen reader on the private desktop of tests/e2e/lib.sh: a speech server that takes
# every utterance and sounds none, Orca with preferences and a debug log of the check's own, and a
# way to press keys and read what Orca said after them.
#
# A check sources lib.sh, then this file, calls e2e_start_x, orca_start_speech, then starts the
# program and Orca in the order it tests (orca_start), and ends with e2e_finish: the exit trap
# ends Orca first (SIGTERM, so that it says goodbye and closes its log), then the speech server.
#
# What Orca said is read from the "SPEECH OUTPUT" lines of its debug log, one utterance a line
# (say-all's text goes straight to the speech server and is not there). Checks match the words
# and numbers that matter, never Orca's whole phrase: it adds role names and positions, in its
# own language.
# shellcheck shell=bash
# shellcheck disable=SC2034 # the ORCA_ variables are read by the scripts that source this file

ORCA_DEBUG_LOG=$E2E_WORK/logs/orca-debug.log
ORCA_PREFS=$E2E_WORK/orca-prefs
ORCA_PID=""
ORCA_SPEECH_PID=""
ORCA_MARK=0
ORCA_START_SECONDS=60  # a few on an idle 2-core machine, tens under load
ORCA_SAY_SECONDS=5     # for what follows a key; Orca takes well under one

# orca_require: bails out unless Orca, the speech server and its generic module are there.
orca_require() {
  e2e_require orca speech-dispatcher /usr/lib/speech-dispatcher-modules/sd_generic xkbcomp \
    dbus-send
  e2e_require_screen_reader
}

# orca_start_speech: speech-dispatcher on a socket of the check's own, with one output module
# that sounds nothing, and English and French voices; its audio goes to ALSA's null device, there
# being no sound card (without one, it loads no module at all). Then the accessibility bus, up
# before any program starts as in a desktop session: left to start on a screen reader's first
# call, it would come up while the program watches for it, a moment before Orca turns it on.
orca_start_speech() {
  local conf=$E2E_WORK/speechd socket=$E2E_WORK/speechd.sock
  mkdir -p "$conf/modules"
  printf '%s\n' 'AudioOutputMethod "alsa"' 'AudioALSADevice "null"' 'LogLevel 3' \
    'AddModule "silent" "sd_generic" "silent.conf"' 'DefaultModule silent' >"$conf/speechd.conf"
  cat >"$conf/modules/silent.conf" <<'EOS'
GenericExecuteSynth "true"
AddVoice "en" "MALE1" "en"
AddVoice "fr" "MALE1" "fr"
GenericLanguage "en" "en" "utf-8"
GenericLanguage "fr" "fr" "utf-8"
EOS
  e2e_spawn speechd speech-dispatcher --run-single --timeout 0 --config-dir "$conf" \
    --socket-path "$socket" --pid-file "$E2E_WORK/speechd.pid" --log-dir "$conf"
  ORCA_SPEECH_PID=$E2E_LAST_PID
  export SPEECHD_ADDRESS=unix_socket:$socket
  e2e_wait_for 20 test -S "$socket" ||
    e2e_bail "the speech server starts" "$(tail -n 5 "$E2E_WORK/logs/speechd.log")"
  timeout 20 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress >/dev/null 2>&1 ||
    e2e_bail "the accessibility bus starts" "no answer from org.a11y.Bus in 20 s"
}

# orca_start [en|fr]: starts Orca in that language (by default English) with its default
# settings, but for what a headless run needs, and waits until it listens to the desktop.
orca_start() {
  local env=(LANG=C.UTF-8 LC_ALL=C.UTF-8) started
  if [ "${1:-en}" = fr ]; then
    e2e_french_locale || e2e_bail "Orca starts in French" "no French locale on this machine"
    env=("${E2E_FR_ENV[@]}")
  fi
  mkdir -p "$ORCA_PREFS" "$E2E_WORK/orca-bin"
  # Orca's hook for a user's code, run when its settings load, before anything is said.
  cat >"$ORCA_PREFS/orca-customizations.py" <<'EOS'
from gi.repository import GLib

import orca.debug
import orca.settings

# Python runs a signal's handler only once its own code runs again, and Orca idles in a main
# loop of C: without a tick, an idle Orca would act on SIGTERM only at the next event.
GLib.timeout_add(200, lambda: True)
# The check reads the log while Orca runs: each line reaches the file at once.
if orca.debug.debugFile:
    orca.debug.debugFile.reconfigure(line_buffering=True)
# There is no braille display: Orca would try to reach one at every message.
orca.settings.enableBraille = False
EOS
  # Orca refuses to start while another Orca of the user runs (it asks pgrep), wherever it runs:
  # only one on this check's session bus counts here.
  cat >"$E2E_WORK/orca-bin/pgrep" <<'EOS'
#!/bin/sh
for pid in $(/usr/bin/pgrep "$@"); do
  tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null |
    grep -qxF "DBUS_SESSION_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS" && echo "$pid"
done
exit 0
EOS
  chmod +x "$E2E_WORK/orca-bin/pgrep"
  : >"$ORCA_DEBUG_LOG"
  ORCA_MARK=0
  started=$(e2e_now_ms)
  # Never --replace: it would end every Orca of the user, the caller's own included.
  e2e_spawn orca env "${env[@]}" PATH="$E2E_WORK/orca-bin:$PATH" \
    orca --debug-file "$ORCA_DEBUG_LOG" -u "$ORCA_PREFS"
  ORCA_PID=$E2E_LAST_PID
  px_wait_while_running "$ORCA_START_SECONDS" "$ORCA_PID" \
    grep -aq 'ORCA: Starting ATSPI registry' "$ORCA_DEBUG_LOG"
  case $? in
    1) e2e_bail "Orca starts" "not listening $ORCA_START_SECONDS s after its start" ;;
    2) e2e_bail "Orca starts" "it exited: $(tail -n 5 "$E2E_WORK/logs/orca.log")" ;;
  esac
  ORCA_START_MS=$(($(e2e_now_ms) - started))
}

# orca_stop: ends Orca, then the speech server. Orca unregisters its listeners one D-Bus call at
# a time and gives itself 10 s for it; stopped once the last program has gone, its goodbye fails
# and it ends itself with SIGKILL, its log complete (the shell's "Killed" is not worth showing).
orca_stop() {
  if [ -n "$ORCA_PID" ]; then
    local started
    started=$(e2e_now_ms)
    e2e_exited "$ORCA_PID" || kill -TERM "$ORCA_PID" 2>/dev/null
    {
      e2e_wait_for 15 e2e_exited "$ORCA_PID" || kill -KILL "$ORCA_PID"
      wait "$ORCA_PID"
    } 2>/dev/null
    echo "# Orca ended $(($(e2e_now_ms) - started)) ms after SIGTERM"
    ORCA_PID=""
  fi
  [ -z "$ORCA_SPEECH_PID" ] || e2e_stop "$ORCA_SPEECH_PID"
  ORCA_SPEECH_PID=""
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
# (The log reads "12:34:56.789012 - SPEECH OUTPUT: 'text' {voice}", the voice settings a list
# for flat review's lines; a text of several lines goes on, indented, on the next lines.)
orca_said() {
  tail -c +$((ORCA_MARK + 1)) "$ORCA_DEBUG_LOG" | awk -v q="'" '
    BEGIN { start = "^[0-9:.]+ - SPEECH OUTPUT: " q; end = q "( voice=[^[{]*| )?[[{].*$" }
    $0 ~ start { text = $0; sub(start, "", text); on = 1 }
    on && $0 !~ start { line = $0; sub(/^ +/, "", line); text = text " " line }
    on && text ~ end { sub(end, "", text); print text; on = 0 }'
}

# orca_quoted: what Orca said since the mark, each utterance quoted, on one line.
orca_quoted() { orca_said | sed "s/.*/'&'/" | tr '\n' ' '; }

# orca_said_matches ERE...: what Orca said since the mark, taken as one line, matches every
# extended regular expression, ignoring case.
orca_said_matches() {
  local text re
  text=$(orca_said | tr '\n' ' ')
  for re in "$@"; do grep -Eqi -- "$re" <<<"$text" || return 1; done
}

# orca_check_said NAME ERE...: Orca comes to say what matches every ERE within ORCA_SAY_SECONDS.
orca_check_said() {
  local name=$1
  shift
  if e2e_wait_for "$ORCA_SAY_SECONDS" orca_said_matches "$@"; then
    e2e_pass "$name"
  else
    e2e_fail "$name" "expected: $*" "heard: $(orca_quoted)"
  fi
}

# orca_count_said ERE: how many utterances since the mark the ERE matches wholly (ignoring case
# and blanks at either end).
orca_count_said() { orca_said | sed -E 's/^ +| +$//g' | grep -Ecix -- "$1"; }

# orca_check_said_once NAME ERE: once Orca has done with the last events (its log, which gets
# every event, still for half a second), exactly one utterance since the mark is the ERE.
orca_log_still() {
  local size
  size=$(orca_size "$ORCA_DEBUG_LOG")
  sleep 0.5
  [ "$size" = "$(orca_size "$ORCA_DEBUG_LOG")" ]
}
orca_check_said_once() {
  e2e_wait_for 10 orca_log_still
  local n
  n=$(orca_count_said "$2")
  if [ "$n" -eq 1 ]; then
    e2e_pass "$1"
  else
    e2e_fail "$1" "said $n times" "heard: $(orca_quoted)"
  fi
}

# A failed check keeps Orca's debug log beside its screenshots: it says what Orca ignored, and why.
rm -f "$E2E_SHOTS/$E2E_NAME-orca-debug.log"
orca_cleanup() {
  orca_stop
  if [ "$E2E_FAILED" -gt 0 ] && [ -s "$ORCA_DEBUG_LOG" ]; then
    cp "$ORCA_DEBUG_LOG" "$E2E_SHOTS/$E2E_NAME-orca-debug.log"
  fi
  e2e_cleanup
}
trap orca_cleanup EXIT
