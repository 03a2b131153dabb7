#!/usr/bin/env bash
# A start with the cleaning on deletes the leftovers that match the pattern, in either letter
# case, from the folder that TMP names, and keeps the other files there.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"

e2e_private_env
e2e_start_x
export TMP=$E2E_TMP/tmp
mkdir "$TMP"
touch "$TMP/~DF12.TMP" "$TMP/~df34.tmp" "$TMP/x.tmp"
write_settings TmpMode=1 TmpEnvName=TMP 'TmpFileName=~df*.tmp'

e2e_start_clock clock
# The cleaning is over before the window shows.
e2e_wait_bar "$CLOCK_PID"

left=$(cd "$TMP" && ls -A)
[[ $left == x.tmp ]] || fail "the temporary folder holds '${left//$'\n'/ }', not just x.tmp"
note "ok: ~DF12.TMP and ~df34.tmp deleted, x.tmp kept"
