#!/usr/bin/env bash
# "ｱﾗｰﾑ設定 ..." from the bar's menu opens the alarm window with a client area of 321 x 310.
# The alarm (a program) falls due at 12:30 while the window is open, and sounds. Enter presses
# "設定": every setting is saved, and those of the window as they were shown.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"

e2e_private_env
e2e_start_x
OUT=$E2E_TMP/rings
printf '#!/bin/sh\ndate >>%s\n' "$OUT" >"$E2E_TMP/ring.sh"
chmod +x "$E2E_TMP/ring.sh"
SHOWN=("AlarmMode=29" "AlarmTime=750" "AlarmName1=!$E2E_TMP/ring.sh" "AlarmName2=/snd/目覚まし.wav")
write_settings "${SHOWN[@]}"
start_clock_at clock "2026-01-01 12:29:50"
e2e_wait_bar "$CLOCK_PID"

alarm_window() { e2e_window_titled "$CLOCK_PID" "クイロン ｱﾗｰﾑ設定"; }

# The second item opens "設定"; its second item is "ｱﾗｰﾑ設定 ...".
e2e_open_menu
xdotool key --delay 100 Down Down Right Down Return
deadline=$(($(now_ms) + 5000))
until ALARM=$(alarm_window) && [[ -n $ALARM ]]; do
    (($(now_ms) < deadline)) || fail "no window titled クイロン ｱﾗｰﾑ設定 within 5 s of the menu"
    sleep 0.05
done
size=$(xwininfo -id "$ALARM" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w " x " h }')
[[ $size == "321 x 310" ]] || fail "the alarm window is $size, not 321 x 310"

saved_before=$(grep -c '=' "$INI")
wait_lines "$OUT" 1 20
[[ $(alarm_window) == "$ALARM" ]] || fail "the alarm window closed by itself"
deadline=$(($(now_ms) + 5000))
until [[ $(xdotool getwindowfocus) == "$ALARM" ]]; do
    (($(now_ms) < deadline)) || fail "the alarm window does not get the focus"
    sleep 0.05
done
xdotool key Return
deadline=$(($(now_ms) + 5000))
while [[ -n $(alarm_window) ]]; do
    (($(now_ms) < deadline)) || fail "the alarm window is still open 5 s after Enter"
    sleep 0.05
done
saved=$(grep -c '=' "$INI")
((saved == 23)) || fail "$saved settings stored after Enter, not 23 (were $saved_before)"
for line in "${SHOWN[@]}"; do
    grep -qxF "$line" "$INI" || fail "'$line' was stored as '$(grep "^${line%%=*}=" "$INI")'"
done
note "ok: the menu opened the alarm window ($size), the alarm sounded behind it; Enter saved all 23 settings, its own unchanged"
