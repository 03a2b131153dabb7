#!/usr/bin/env bash
# The mouse alone: a right click opens the menu, "長い" widens the bar to 360 pixels and stores
# it, a drag moves the window by the pointer's travel, and "終了" stores the new place.
source "$(dirname "$0")/lib.sh"

e2e_private_env
e2e_start_x
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"
e2e_wait_position "$WINDOW" "512 471" || fail "a first start should centre by the initial size; at ($POSITION)"

# The first item opens "表示幅"; its third item is "長い".
e2e_open_menu
xdotool key --delay 100 Down Right Down Down Return
deadline=$(($(now_ms) + 5000))
until [[ $(xwininfo_field "$(xwininfo -id "$WINDOW")" Width) == 360 ]]; do
    (($(now_ms) < deadline)) || fail "the bar is not 360 wide after choosing 長い"
    sleep 0.05
done
grep -q '^TimeWidth=360$' "$INI" || fail "TimeWidth=360 was not stored:"$'\n'"$(cat "$INI" 2>/dev/null)"
start=$(e2e_window_position "$WINDOW")
note "widened to 360; the window stands at ($start)"

# Drag by (+150, -90) in small steps, as a hand would.
read -r x y <<<"$start"
xdotool mousemove --window "$WINDOW" 40 20 mousedown 1
for _ in $(seq 15); do xdotool mousemove_relative -- 10 -6; sleep 0.02; done
xdotool mouseup 1
e2e_wait_position "$WINDOW" "$((x + 150)) $((y - 90))" ||
    fail "after a drag by (150, -90) from ($start) the window stands at ($POSITION)"
note "dragged to ($POSITION)"

# "終了" is the last item: Up from no selection reaches it.
e2e_open_menu
xdotool key --delay 100 Up Return
e2e_wait_gone "$CLOCK_PID" 5 || fail "the clock still runs 5 s after 終了"
wait "$CLOCK_PID" || fail "the clock ended with status $? after 終了"
grep -q "^Left=$(((x + 150) * 15))$" "$INI" && grep -q "^Top=$(((y - 90) * 15))$" "$INI" ||
    fail "the dragged place was not stored:"$'\n'"$(grep -E '^(Left|Top)=' "$INI")"
note "ok: menu, 長い, drag and 終了 all did their part"
