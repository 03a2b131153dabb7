#!/usr/bin/env bash
# The program unpacked from the Debian package, started through its link in usr/bin, shows the
# bar; its first start names the default sounds in usr/lib/quillon, and they are there.
source "$(dirname "$0")/../e2e/lib.sh"

folder=$(readlink -f "$PROGRAM")
folder=${folder%/*}
[[ $folder == */usr/lib/quillon ]] || fail "$PROGRAM does not lead into usr/lib/quillon: $folder"

e2e_private_env
e2e_start_x
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"
kill -TERM "$CLOCK_PID"
e2e_wait_gone "$CLOCK_PID" 5 || fail "the clock still runs 5 s after SIGTERM"
[[ -s $INI ]] || fail "no settings file at $INI after SIGTERM"

for pair in AlarmName1=Tolla.wav AlarmName2=Gongo.wav; do
    key=${pair%=*}
    value=$(sed -n "s/^$key=//p" "$INI")
    [[ $value == "$folder/${pair#*=}" ]] || fail "$key=$value, expected $folder/${pair#*=}"
    [[ -s $value ]] || fail "$key names $value, which is not there"
done
note "ok: the packaged clock shows its bar and finds its sounds in $folder"
