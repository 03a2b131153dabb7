#!/usr/bin/env bash
# The daily alarm at 7:00 with a program for its sound. The clock starts at 6:59:50 by a faked
# clock and starts the program once, within 1.5 s after 7:00:00 by that same clock. The chime,
# a program too, strikes seven from the same tick on and marks the seconds after it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"

e2e_private_env
e2e_start_x
OUT=$E2E_TMP/alarm-times
STRIKES=$E2E_TMP/strikes
# Split like a shell but run by none, so the shell for the redirection is named.
write_settings AlarmMode=3 AlarmTime=420 \
    "AlarmName1=\"!/bin/sh -c \\\"date +%s.%N >> $OUT\\\"\"" \
    "AlarmName2=\"!/bin/sh -c \\\"date +%s.%N >> $STRIKES\\\"\""

start_clock_at clock "2026-01-01 06:59:50"
e2e_wait_bar "$CLOCK_PID"
wait_lines "$OUT" 1 25
# The seventh strike comes six ticks after the alarm's; a second start of the alarm's program,
# which must not come, would have come by then.
wait_lines "$STRIKES" 7 25
(($(lines_in "$OUT") == 1)) || fail "the program ran $(lines_in "$OUT") times:"$'\n'"$(cat "$OUT")"

due=$(epoch "2026-01-01 07:00:00")
ran=$(head -n 1 "$OUT")
late=$(awk -v ran="$ran" -v due="$due" 'BEGIN { printf "%.3f", ran - due }')
note "the program ran ${late} s after 7:00:00"
awk -v late="$late" 'BEGIN { exit !(late >= 0 && late <= 1.5) }' ||
    fail "the alarm's program ran ${late} s after 7:00:00, not within 0 to 1.5 s"
e2e_alive "$CLOCK_PID" || fail "the clock ended after the alarm"
note "ok: the alarm started its program once, ${late} s after 7:00:00"
