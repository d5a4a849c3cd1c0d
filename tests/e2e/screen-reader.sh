#!/usr/bin/env bash
# What a blind user hears: the program driven with real keys while the Orca screen reader runs,
# every check reading what Orca said (its debug log). First Orca started after the program, as
# when the program starts hidden at logon; then the program started under a running Orca: the
# selected row spoken at opening and on Tab and Shift+Tab, a conversion spoken as it is shown,
# each digit typed spoken once, "where am I", the Zone Euro window by its name with a currency
# change, and its closing back to the main window's selected row.
#
# The checks match the program's words and numbers, not Orca's phrase: Orca adds role names and
# positions in its own language (French here, as the program's users hear it).
#
# usage: screen-reader.sh TAVELMARQUE XSHOT SCREENSHOT_DIR
#   SCREEN_READER_LANGUAGE=en in the environment runs Orca in English (the program stays French).
# Functions run through e2e_wait_for look unreachable to shellcheck; arguments are optional.
# shellcheck disable=SC2317,SC2119 source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/orca-lib.sh"

# Seconds Orca is given to say what follows a key; it takes well under one.
SAY_S=5

orca_require
e2e_start_x
orca_start_speech

# The program as it runs at logon: no QT_LINUX_ACCESSIBILITY_ALWAYS_ON, French amounts.
if e2e_french_locale; then
  E2E_APP_ENV=("${E2E_FR_ENV[@]}")
  ORCA_LANG=${SCREEN_READER_LANGUAGE:-fr}
  SEP=,
else
  echo "# no French locale on this machine: the amounts keep the decimal point"
  ORCA_LANG=en
  SEP=.
fi
# An amount as a whole number, an ERE: "0" is not the 0 of "15,04", and a full stop may end it.
amount() {
  printf '(^|[^0-9,.]|(^|[^0-9])[,.])%s([^0-9,.]|[,.]([^0-9]|$)|$)' "${1//./[.]}"
}

main_window() {
  WID=$(e2e_find_window 20)
  [ -n "$WID" ] || e2e_bail "$1: the main window maps"
  e2e_wait_for 5 e2e_is_active "$WID" || e2e_bail "$1: the main window has the keyboard"
}

# quit: Alt+F4 ends the program.
quit() {
  xdotool key alt+F4
  e2e_wait_exit "$E2E_APP_PID" 10 || e2e_bail "Alt+F4 ends the program"
}

# --- Orca started after the program ------------------------------------------------------------

e2e_start_app
main_window "started before Orca"
orca_start "$ORCA_LANG"
e2e_pass "Orca starts and listens to the desktop (in $((ORCA_START_MS / 1000)) s)"
orca_key Tab
orca_check_said "Orca started after the program: Tab speaks the euro row, 'prix en euros … 0'" \
  "$SAY_S" 'prix en euros' "$(amount 0)"
orca_key Shift+Tab
orca_check_said "and Shift+Tab the franc row, 'prix en francs … 0'" "$SAY_S" \
  'prix en francs' "$(amount 0)"
quit

# --- The program started under Orca -------------------------------------------------------------

e2e_new_runtime
orca_mark
e2e_start_app
main_window "started under Orca"
orca_check_said "at opening Orca speaks the selected row, 'prix en francs … 0'" "$SAY_S" \
  'prix en francs' "$(amount 0)"

orca_key Tab
orca_check_said "Tab speaks the euro row, 'prix en euros … 0'" "$SAY_S" 'prix en euros' "$(amount 0)"
orca_key Shift+Tab
orca_check_said "Shift+Tab speaks the franc row again" "$SAY_S" 'prix en francs' "$(amount 0)"

# 100 francs are 15.24 euros.
orca_key 1 0 0 Return
orca_check_said "1 0 0 Enter speaks the result with its row, 'prix en euros … 15${SEP}24'" "$SAY_S" \
  "prix en euros.*$(amount "15${SEP}24")"
orca_check_said_once "the digit 1 is spoken once (Orca's echo, not the program's too)" '1'
n=$(orca_count_said '0')
e2e_check_eq "the digit 0, typed twice, is spoken twice" 2 "$n"

orca_key KP_Enter
orca_check_said "'where am I' (keypad Enter) speaks the selected row, 'prix en francs … 100'" \
  "$SAY_S" "prix en francs.*$(amount 100)"

# --- The Zone Euro window ------------------------------------------------------------------------

orca_key alt+z
orca_check_said "Alt+Z: Orca names the window 'Zone Euro' and speaks its row, 'Franc français'" \
  "$SAY_S" 'zone euro' 'franc français'
if orca_said_matches 'dorvanta'; then
  e2e_fail "the title the window system sees, 'Dorvanta', is not what Orca speaks" \
    "heard: $(orca_quoted)"
else
  e2e_pass "the title the window system sees, 'Dorvanta', is not what Orca speaks"
fi

# 10 euros are 65.60 French francs; in Luxembourg francs (40.3399 to the euro), 403.40. The rows
# are the currency, the amount in it, the amount in euros.
orca_key Tab Tab 1 0 Return
orca_check_said "10 euros typed there: Orca speaks the francs, 65${SEP}60" "$SAY_S" \
  "$(amount "65${SEP}60")"
orca_key Up
orca_check_said "Up speaks the amount's row, 'Franc français … 65${SEP}60'" "$SAY_S" \
  'franc français' "$(amount "65${SEP}60")"
orca_key Up
orca_check_said "Up again speaks the currency's row, 'Franc français'" "$SAY_S" 'franc français'
orca_key Right
orca_check_said "Right speaks the next currency and the amount in it, 'Franc luxembourg… 403${SEP}40'" \
  "$SAY_S" 'franc luxembourg' "$(amount "403${SEP}40")"

orca_key alt+F4
orca_check_said "Alt+F4 closes it: Orca is back on the main window's selected row, 'prix en francs … 100'" \
  "$SAY_S" "prix en francs.*$(amount 100)"
orca_key Tab
orca_check_said "and the keys are the main window's: Tab speaks 'prix en euros … 15${SEP}24'" \
  "$SAY_S" "prix en euros.*$(amount "15${SEP}24")"

# --- Options, about and help ---------------------------------------------------------------------

orca_key alt+o
orca_check_said "Alt+O: Orca names the options window and its focused check box" "$SAY_S" \
  'options' "lancer à l'ouverture de session"
orca_key Escape
orca_check_said "Escape closes it, back on 'prix en euros … 15${SEP}24'" "$SAY_S" \
  "prix en euros.*$(amount "15${SEP}24")"

orca_mark
read -r x y _ _ <<<"$(e2e_geometry "$WID")"
e2e_pointer_to $((x + 72)) $((y + 165)) && xdotool click 1  # the euro sign
orca_check_said "a click on the euro sign: Orca names the about window and reads its line" \
  "$SAY_S" 'a propos de' 'convertisseur francs-euros'
# Orca's flat review (the keypad's 9: the next line) reads every text of the window in turn.
orca_key KP_9 KP_9 KP_9 KP_9 KP_9
orca_check_said "flat review reads the version and both links" "$SAY_S" \
  '[0-9]+[.][0-9]+[.][0-9]+' 'https?://' '@'
orca_key Escape
orca_check_said "Escape closes it, back on 'prix en euros … 15${SEP}24'" "$SAY_S" \
  "prix en euros.*$(amount "15${SEP}24")"

orca_key F1
orca_check_said "F1: Orca reads the help's title and its first line" "$SAY_S" \
  'aide de tavelmarque .*tavelmarque'
orca_key Down
orca_check_said "Down reads the next line" "$SAY_S" 'convertit les francs en euros'
orca_key alt+F4
orca_check_said "Alt+F4 closes the help, back on 'prix en euros … 15${SEP}24'" "$SAY_S" \
  "prix en euros.*$(amount "15${SEP}24")"

quit
e2e_finish
