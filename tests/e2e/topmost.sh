#!/usr/bin/env bash
# TopMost=1: the bar asks to stay above other windows from the moment it shows.
source "$(dirname "$0")/lib.sh"

e2e_private_env
e2e_start_x
e2e_store_settings Left=3000 Top=3000 TopMost=1
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"

deadline=$(($(now_ms) + 5000))
until [[ $(xprop -id "$WINDOW" _NET_WM_STATE 2>&1) == *_NET_WM_STATE_ABOVE* ]]; do
    (($(now_ms) < deadline)) || fail "the bar is not above: $(xprop -id "$WINDOW" _NET_WM_STATE 2>&1)"
    sleep 0.05
done
e2e_wait_position "$WINDOW" "200 200" || fail "the bar stands at ($POSITION), not at the stored (200 200)"
note "ok: _NET_WM_STATE_ABOVE at the stored place"
