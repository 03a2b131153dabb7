#!/usr/bin/env bash
# A tray that starts after the clock, as at many logins, still gets the icon, and gets it back
# when it restarts.
source "$(dirname "$0")/lib.sh"

command -v trayer >/dev/null 2>&1 || fail "'trayer' is not installed; run tools/install-deps.sh"

e2e_private_env
e2e_start_x
e2e_store_settings Left=3000 Top=3000 TaskTray=1
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"
bar=$WINDOW

# The clock's visible windows besides the bar: the icon, once a tray has taken it in.
icon_windows() {
    e2e_windows_of "$CLOCK_PID" | grep -vx "$bar" || true
}

# e2e_start_tray NAME: starts trayer, the icon's host; its pid goes to TRAY_PID.
start_tray() {
    trayer --edge top --align right --widthtype pixel --width 100 --height 24 \
        >"$E2E_TMP/$1.log" 2>&1 &
    TRAY_PID=$!
    E2E_PIDS+=("$TRAY_PID")
}

wait_icon() {
    local deadline=$(($(now_ms) + 10000))
    until [[ -n $(icon_windows) ]]; do
        e2e_alive "$TRAY_PID" || fail "trayer ended: $(cat "$E2E_TMP"/tray*.log)"
        (($(now_ms) < deadline)) || fail "no icon in the tray within 10 s ($1)"
        sleep 0.05
    done
}

# Two seconds drawn since the bar showed: an icon the clock made at its start would show by now.
e2e_wait_ticks "$bar" 2
[[ -z $(icon_windows) ]] || fail "an icon is shown with no tray to hold it: $(icon_windows)"
start_tray tray
wait_icon "tray started after the clock"
note "icon in the tray started after the clock"

kill -TERM "$TRAY_PID"
e2e_wait_gone "$TRAY_PID" 5 || fail "trayer did not end"
start_tray tray-again
wait_icon "tray restarted"
e2e_alive "$CLOCK_PID" || fail "the clock ended with the tray"
note "the icon came to a late tray and back to a restarted one"

# A right press on the icon opens the menu where the pointer is: Qt pops it itself.
icon=$(icon_windows)
xdotool mousemove --window "$icon" 5 5 mousedown 3
pointer=$(xdotool getmouselocation --shell | sed -n 's/^[XY]=//p' | paste -sd ' ')
deadline=$(($(now_ms) + 5000))
until menu=$(icon_windows | grep -vx "$icon"); do
    (($(now_ms) < deadline)) || fail "no menu after a right press on the icon"
    sleep 0.05
done
xdotool mouseup 3
read -r px py <<<"$pointer"
read -r mx my <<<"$(e2e_window_position "$menu")"
info=$(xwininfo -id "$menu")
((mx <= px && px <= mx + $(xwininfo_field "$info" Width) && my <= py && py <= my + $(xwininfo_field "$info" Height))) ||
    fail "menu at $mx $my, away from the pointer at $pointer"
note "ok: a right press on the icon opened the menu at the pointer"
