#!/usr/bin/env bash
# The hourly chime at noon with a program for its sound: the program runs twelve times, one
# second apart, the first within 1.5 s after 12:00:00 by the faked clock; then no more.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"

e2e_private_env
e2e_start_x
OUT=$E2E_TMP/strikes
write_settings AlarmMode=2 \
    "AlarmName2=\"!/bin/sh -c \\\"date +%s.%N >> $OUT\\\"\""

start_clock_at clock "2026-01-01 11:59:50"
e2e_wait_bar "$CLOCK_PID"
wait_lines "$OUT" 12 40
sleep 3
count=$(lines_in "$OUT")
((count == 12)) || fail "the chime's program ran $count times:"$'\n'"$(cat "$OUT")"

due=$(epoch "2026-01-01 12:00:00")
report=$(sort -n "$OUT" | awk -v due="$due" '
    NR == 1 { first = $1 - due }
    NR > 1 { gap = $1 - last; if (gap < small || NR == 2) small = gap; if (gap > large) large = gap }
    { last = $1 }
    END { printf "%.3f %.3f %.3f", first, small, large }')
read -r first small large <<<"$report"
note "first strike ${first} s after 12:00:00, strikes ${small} to ${large} s apart"
awk -v t="$first" 'BEGIN { exit !(t >= 0 && t <= 1.5) }' ||
    fail "the first strike came ${first} s after 12:00:00, not within 0 to 1.5 s"
awk -v a="$small" -v b="$large" 'BEGIN { exit !(a >= 0.7 && b <= 1.5) }' ||
    fail "strikes were ${small} to ${large} s apart, not about a second"
note "ok: twelve strikes for noon"
