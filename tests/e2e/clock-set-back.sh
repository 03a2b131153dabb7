#!/usr/bin/env bash
# The previous run saved two hours after the moment the clock starts at: the start check shows the
# message window "クイロン", 257 x 97, with the focus. The bar ticks on behind it: the ticks of
# 11:59:56 to 59 arm the chime (a program), which strikes noon while the window is open. Enter
# closes it and the clock runs on: the strikes go on to twelve.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"

e2e_private_env
e2e_start_x
OUT=$E2E_TMP/strikes
write_settings TimeCheckMode=1 "LastTime=2026/01/01 13:59:50" AlarmMode=2 \
    "AlarmName2=\"!/bin/sh -c \\\"date +%s.%N >> $OUT\\\"\""
start_clock_at clock "2026-01-01 11:59:50"

# The clock's visible window titled "クイロン" (the bar has no title).
message_window() { e2e_window_titled "$CLOCK_PID" "クイロン"; }

deadline=$(($(now_ms) + 20000))
until MESSAGE=$(message_window) && [[ -n $MESSAGE ]]; do
    e2e_alive "$CLOCK_PID" || fail "the clock ended before showing the message"
    (($(now_ms) < deadline)) || fail "no window titled クイロン within 20 s"
    sleep 0.1
done
size=$(xwininfo -id "$MESSAGE" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w " x " h }')
[[ $size == "257 x 97" ]] || fail "the message window is $size, not 257 x 97"

wait_lines "$OUT" 3 30
[[ $(message_window) == "$MESSAGE" ]] || fail "the message went away by itself"
[[ $(xdotool getwindowfocus) == "$MESSAGE" ]] || fail "the message window does not have the focus"
xdotool key Return
deadline=$(($(now_ms) + 5000))
while [[ -n $(message_window) ]]; do
    (($(now_ms) < deadline)) || fail "the message window is still open 5 s after Enter"
    sleep 0.05
done
at_close=$(lines_in "$OUT")
wait_lines "$OUT" 12 20
((at_close < 12)) || fail "all twelve strikes came before Enter"
[[ $(e2e_windows_of "$CLOCK_PID") != *$'\n'* ]] || fail "more windows than the bar are left"
note "ok: the message at start ($size), $at_close strikes behind it, Enter closed it, the clock ran on"
