#!/usr/bin/env bash
# In real time, with AlarmWake=1 and the alarm two hours ahead, the clock holds one timer on the
# kernel's alarm clock (clockid 8), due 10 s before the alarm minute; it follows when the alarm
# window moves the alarm by an hour. With the key off it holds none. Without CAP_WAKE_ALARM it
# holds none either, the alarm window says the computer cannot be woken, and the clock still
# runs and saves.
source "$(dirname "$0")/lib.sh"
command -v setpriv >/dev/null 2>&1 || fail "'setpriv' is not installed; run tools/install-deps.sh"

export TZ=UTC

# alarm_timers PID: the seconds left on each alarm-clock timer the process holds, one a line.
alarm_timers() {
    local info
    for info in /proc/"$1"/fdinfo/*; do
        awk '/^clockid:/ { clock = $2 } /^it_value:/ { gsub(/[(),]/, " "); left = $2 }
             END { if (clock == 8) print left }' "$info" 2>/dev/null || true
    done
}

# expect_timer_for DUE WHAT: the clock holds exactly one, within 2 s of 10 s before DUE.
expect_timer_for() {
    local deadline=$(($(now_ms) + 5000)) timers
    until timers=$(alarm_timers "$CLOCK_PID") && [[ -n $timers ]]; do
        (($(now_ms) < deadline)) || fail "no timer on the alarm clock within 5 s ($2)"
        sleep 0.1
    done
    (($(grep -c . <<<"$timers") == 1)) || fail "more than one alarm-clock timer: $timers"
    local want=$(($1 - 10 - $(date +%s)))
    ((timers >= want - 2 && timers <= want + 2)) ||
        fail "the timer has $timers s left, not $want ($2)"
    note "ok: $2, $timers s left"
}

# dark_pixels WINDOW X Y W H: how many pixels of that rectangle are dark, as text is.
dark_pixels() {
    local row count=0
    e2e_window_pixels "$1"
    for ((row = $3; row < $3 + $5; row++)); do
        count=$((count + $(od -An -v -tu1 -w4 -j $((XWD_START + row * XWD_STRIDE + $2 * 4)) -N $(($4 * 4)) \
            "$XWD_FILE" | awk '$1 < 128 && $2 < 128 && $3 < 128 { n++ } END { print n + 0 }')))
    done
    echo "$count"
}

# open_alarm_window: from the bar's menu; sets ALARM.
open_alarm_window() {
    e2e_open_menu
    xdotool key --delay 100 Down Down Right Down Return
    local deadline=$(($(now_ms) + 5000))
    until ALARM=$(e2e_window_titled "$CLOCK_PID" "クイロン ｱﾗｰﾑ設定") && [[ -n $ALARM ]]; do
        (($(now_ms) < deadline)) || fail "no alarm window within 5 s of the menu"
        sleep 0.05
    done
}

# The line under the box, 27,285 and 286 x 17 in the window: shown, it has dark text.
line_shown() {
    (($(dark_pixels "$ALARM" 27 285 286 17) > 20))
}

e2e_private_env
e2e_start_x
# Whether a hardware clock here could wake the computer; without one the line shows anyway.
waking_clock=0
compgen -G '/sys/class/rtc/*/wakealarm' >/dev/null && waking_clock=1

now=$(date +%s)
due=$((now / 60 * 60 + 2 * 3600))
alarm_minute=$(((due % 86400) / 60))
e2e_store_settings "Left=7800" "Top=7380" "AlarmMode=1" "AlarmTime=$alarm_minute" "AlarmWake=1"
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"
expect_timer_for "$due" "alarm at $(date -u -d "@$due" +%H:%M), two hours ahead"

# The hour list, 168,54 in the window: an hour on, or back where 11 is the last of the list.
open_alarm_window
if line_shown; then shown=1; else shown=0; fi
((shown != waking_clock)) || fail "the line says $shown where a waking clock is $waking_clock"
step=Down moved=3600
(((alarm_minute / 60) % 12 == 11)) && step=Up moved=-3600
windows_now() { e2e_windows_of "$CLOCK_PID" | grep -c .; }
xdotool mousemove --window "$ALARM" 188 64 click 1
deadline=$(($(now_ms) + 5000))
until (($(windows_now) > 2)); do
    (($(now_ms) < deadline)) || fail "the hour list did not open within 5 s of a click on it"
    sleep 0.05
done
xdotool key --delay 100 "$step" Return
deadline=$(($(now_ms) + 5000))
until (($(windows_now) == 2)); do
    (($(now_ms) < deadline)) || fail "the hour list did not close within 5 s of Enter"
    sleep 0.05
done
xdotool key Return
deadline=$(($(now_ms) + 5000))
while [[ -n $(e2e_window_titled "$CLOCK_PID" "クイロン ｱﾗｰﾑ設定") ]]; do
    (($(now_ms) < deadline)) || fail "the alarm window is still open 5 s after Enter"
    sleep 0.05
done
grep -qx "AlarmTime=$((alarm_minute + moved / 60))" "$INI" ||
    fail "the window stored $(grep '^AlarmTime=' "$INI"), not AlarmTime=$((alarm_minute + moved / 60))"
expect_timer_for $((due + moved)) "after the alarm window moved the alarm by $moved s"
kill -TERM "$CLOCK_PID"
e2e_wait_gone "$CLOCK_PID" 5 || fail "the clock still runs 5 s after SIGTERM"

# The key off: nothing held, once the first minute's arming has surely come and gone.
sed -i 's/^AlarmWake=1$/AlarmWake=0/' "$INI"
e2e_start_clock off
e2e_wait_bar "$CLOCK_PID"
e2e_wait_ticks "$WINDOW" 2
[[ -z $(alarm_timers "$CLOCK_PID") ]] || fail "a timer on the alarm clock with AlarmWake=0"
note "ok: no timer with the key off"
kill -TERM "$CLOCK_PID"
e2e_wait_gone "$CLOCK_PID" 5 || fail "the clock still runs 5 s after SIGTERM"

# Without the capability: the key on, nothing held, the line shown, and the clock saves.
sed -i 's/^AlarmWake=0$/AlarmWake=1/' "$INI"
setpriv --inh-caps=-wake_alarm --bounding-set=-wake_alarm "$PROGRAM" >"$E2E_TMP/nocap.log" 2>&1 &
CLOCK_PID=$!
E2E_PIDS+=("$CLOCK_PID")
e2e_wait_bar "$CLOCK_PID"
e2e_wait_ticks "$WINDOW" 2
[[ -z $(alarm_timers "$CLOCK_PID") ]] || fail "a timer on the alarm clock without CAP_WAKE_ALARM"
open_alarm_window
line_shown || fail "the alarm window does not say that the computer cannot be woken"
xdotool key Escape
saved_before=$(stat -c %Y "$INI")
sleep 1
kill -TERM "$CLOCK_PID"
e2e_wait_gone "$CLOCK_PID" 5 || fail "the clock still runs 5 s after SIGTERM"
status=0
wait "$CLOCK_PID" || status=$?
((status == 0)) || fail "without the capability the clock ended with status $status"
(($(stat -c %Y "$INI") > saved_before)) && grep -qx "AlarmWake=1" "$INI" ||
    fail "without the capability the clock did not save AlarmWake=1"
note "ok: without CAP_WAKE_ALARM no timer, the line shown, the clock ran and saved"
