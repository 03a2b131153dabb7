#!/usr/bin/env bash
# "その他 ..." from the bar's menu opens the options window with a client area of 297 x 281.
# Clearing its first check box and pressing Enter stores TaskTray=0 and the rest as it was;
# ticking "常に手前に表示する" and pressing Enter puts the bar above the others where it stood.
source "$(dirname "$0")/lib.sh"

e2e_private_env
e2e_start_x
KEPT=("TopMost=0" "TmpMode=0" "TmpEnvName=QUILLON_NO_FOLDER" "TmpFileName=none*.tmp"
    "TimeCheckMode=3" "TimeCheckLength=30" "TimeWidth=240")
mkdir -p "$(dirname "$INI")"
printf '%s\n' "[Setting]" "Left=7800" "Top=7380" "TaskTray=1" "${KEPT[@]}" >"$INI"
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"
e2e_wait_position "$WINDOW" "520 492" || fail "the bar stands at ($POSITION), not at (520 492)"

options_window() { e2e_window_titled "$CLOCK_PID" "クイロン その他設定"; }

# click_and_set Y: opens the window ("設定", then its third item), clicks a check box's caption
# Y pixels from the top and presses Enter. Sets SIZE.
click_and_set() {
    local mask deadline=$(($(now_ms) + 5000))
    e2e_open_menu
    xdotool key --delay 100 Down Down Right Down Down Return
    until mask=$(options_window) && [[ -n $mask ]]; do
        (($(now_ms) < deadline)) || fail "no window titled クイロン その他設定 after the menu"
        sleep 0.05
    done
    SIZE=$(xwininfo -id "$mask" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w " x " h }')
    xdotool mousemove --window "$mask" 60 "$1" click 1
    until [[ $(xdotool getwindowfocus) == "$mask" ]]; do
        (($(now_ms) < deadline)) || fail "the options window does not get the focus"
        sleep 0.05
    done
    xdotool key Return
    while [[ -n $(options_window) ]]; do
        (($(now_ms) < deadline)) || fail "the options window is still open after Enter"
        sleep 0.05
    done
}

click_and_set 32
[[ $SIZE == "297 x 281" ]] || fail "the options window is $SIZE, not 297 x 281"
(($(grep -c '=' "$INI") == 23)) || fail "$(grep -c '=' "$INI") settings stored, not 23"
for line in "TaskTray=0" "${KEPT[@]}"; do
    grep -qxF "$line" "$INI" || fail "'$line' was stored as '$(grep "^${line%%=*}=" "$INI")'"
done
note "ok: the options window is $SIZE; Enter stored TaskTray=0, the rest unchanged"

click_and_set 56
deadline=$(($(now_ms) + 5000))
# Switching re-creates the bar's X window: look for it again.
until BAR=$(e2e_windows_of "$CLOCK_PID") && [[ $(xprop -id "$BAR" _NET_WM_STATE 2>&1) == *_ABOVE* ]]; do
    (($(now_ms) < deadline)) || fail "the bar is not above: $(xprop -id "$BAR" _NET_WM_STATE 2>&1)"
    sleep 0.05
done
e2e_wait_position "$BAR" "520 492" || fail "the bar moved to ($POSITION) from (520 492)"
grep -qxF "TopMost=1" "$INI" || fail "TopMost was stored as '$(grep '^TopMost=' "$INI")'"
note "ok: TopMost=1 put the bar above at once, where it stood"
