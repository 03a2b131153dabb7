#!/usr/bin/env bash
# Two screens of different sizes side by side: a bar stored below the smaller one, where no
# screen shows it, comes back onto the nearest screen at start, and a drag keeps it on the
# screen it is dragged onto.
source "$(dirname "$0")/lib.sh"

e2e_private_env
# Two monitors on one X screen: 1280 x 1024, and 800 x 600 to its right.
command -v xrandr >/dev/null 2>&1 || fail "'xrandr' is not installed; run tools/install-deps.sh"
E2E_SCREEN=2080x1024x24 e2e_start_x
# The left one takes over the screen's own output, so no monitor spans both.
xrandr --setmonitor left 1280/339x1024/271+0+0 screen >/dev/null
xrandr --setmonitor right 800/212x600/159+1280+0 none >/dev/null
mkdir -p "$(dirname "$INI")"
# (1500, 900) in twips: below the right screen, beside the left one.
printf '[Setting]\nLeft=%d\nTop=%d\n' $((1500 * 15)) $((900 * 15)) >"$INI"
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"
# Nearer the right screen than the left: at least 8 pixels of it show there (it ends at y = 600).
e2e_wait_position "$WINDOW" "1500 592" || fail "the unseen bar stands at ($POSITION), not at (1500 592)"
note "brought back onto the right screen at (1500 592)"

# Dragged far right and down: it stops in the right screen's corner.
xdotool mousemove 1520 610 mousedown 1
for _ in $(seq 10); do xdotool mousemove_relative -- 60 40; sleep 0.02; done
xdotool mouseup 1
e2e_wait_position "$WINDOW" "$((2080 - 240)) $((600 - 40))" ||
    fail "after a drag past the right screen's corner the bar stands at ($POSITION)"
note "ok: kept on the screen it was dragged onto"
