#!/usr/bin/env bash
# The clock held up (stopped, as in a suspend) over the seconds that arm the 7:00 alarm and
# chime: once it runs again in the minute 7:00 both sound, once, within that minute by the
# faked clock; the alarm's program runs once and the chime's seven times.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"

e2e_private_env
e2e_start_x
ALARM=$E2E_TMP/alarm-times
CHIME=$E2E_TMP/chime-times
write_settings AlarmMode=3 AlarmTime=420 \
    "AlarmName1=\"!/bin/sh -c \\\"date +%s.%N >> $ALARM\\\"\"" \
    "AlarmName2=\"!/bin/sh -c \\\"date +%s.%N >> $CHIME\\\"\""

# The faked clock runs from 6:59:35 at the start, in step with the real one.
started=$(now_ms)
start_clock_at clock "2026-01-01 06:59:35"
e2e_wait_bar "$CLOCK_PID"
# Stopped from at latest 6:59:55 to about 7:00:03.
until (($(now_ms) - started >= 19500)); do sleep 0.05; done
kill -STOP "$CLOCK_PID"
stopped_after=$(($(now_ms) - started))
((stopped_after <= 20000)) || fail "the clock was stopped only ${stopped_after} ms after its start"
until (($(now_ms) - started >= 28000)); do sleep 0.05; done
kill -CONT "$CLOCK_PID"

wait_lines "$ALARM" 1 20
wait_lines "$CHIME" 7 30
# Room for more runs, which must not come.
sleep 3
(($(lines_in "$ALARM") == 1)) || fail "the alarm's program ran $(lines_in "$ALARM") times"
(($(lines_in "$CHIME") == 7)) || fail "the chime's program ran $(lines_in "$CHIME") times"

due=$(epoch "2026-01-01 07:00:00")
read -r alarm first <<<"$(head -n 1 "$ALARM") $(sort -n "$CHIME" | head -n 1)"
late=$(awk -v a="$alarm" -v c="$first" -v due="$due" 'BEGIN { printf "%.3f %.3f", a - due, c - due }')
note "alarm and first strike ran ${late% *} s and ${late#* } s after 7:00:00"
awk -v a="$alarm" -v c="$first" -v due="$due" \
    'BEGIN { exit !(a - due >= 2 && a - due < 60 && c - due >= 2 && c - due < 60) }' ||
    fail "alarm and chime ran ${late% *} s and ${late#* } s after 7:00:00, not after the stop within that minute"
e2e_alive "$CLOCK_PID" || fail "the clock ended after the alarm"
note "ok: the missed alarm and chime sounded once each after the stop"
