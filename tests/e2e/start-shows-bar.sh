#!/usr/bin/env bash
# First start with no settings: the clock shows one borderless 240 x 40 bar in the middle of
# the screen, with no title, and keeps running.
source "$(dirname "$0")/lib.sh"

e2e_private_env
e2e_start_x
started=$(now_ms)
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"
note "window $WINDOW after $(($(now_ms) - started)) ms"

# Centred on the 1280 x 1024 screen by the window's size before the pictures are loaded.
e2e_wait_position "$WINDOW" "512 471" ||
    fail "window stands at ($POSITION), not centred at (512 471):"$'\n'"$(xwininfo -id "$WINDOW")"

[[ $(xwininfo_field "$WININFO" "Map State") == IsViewable ]] ||
    fail "window is not viewable:"$'\n'"$WININFO"
[[ $(xwininfo_field "$WININFO" "Border width") == 0 ]] ||
    fail "window has an X border:"$'\n'"$WININFO"

# With no window manager there is no frame to look at; what a manager would draw is decided
# by the window's own request: none at all (override-redirect) or Motif hints without decorations.
override=$(xwininfo_field "$WININFO" "Override Redirect State")
motif=$(xprop -id "$WINDOW" _MOTIF_WM_HINTS 2>&1 || true)
if [[ $override != yes ]]; then
    # flags, functions, decorations, ...: the decorations bit (2) set and no decorations.
    read -r flags _ decorations _ < <(sed -n 's/^.*= *//p' <<<"$motif" | tr -d ',')
    [[ -n ${flags:-} ]] && (((flags & 2) && decorations == 0)) ||
        fail "window asks for a frame: override-redirect '$override', $motif"
fi

# The bar has no title; the time lives in its tool-tip. (Qt fills _NET_WM_NAME with the
# application's name when the title is empty, so only WM_NAME says what the program set.)
name=$(xprop -id "$WINDOW" WM_NAME 2>&1 || true)
[[ $name =~ ^WM_NAME\([A-Z0-9_]+\)\ =\ *(\"\")?$ ]] || fail "window has a title: $name"

class=$(xprop -id "$WINDOW" WM_CLASS 2>&1 || true)
[[ ${class,,} == *'"quillon"'* ]] || fail "WM_CLASS does not name quillon: $class"

# Still running and still showing three seconds after the start.
until (($(now_ms) - started >= 3000)); do
    e2e_alive "$CLOCK_PID" || fail "the clock ended within 3 s of starting"
    sleep 0.1
done
e2e_alive "$CLOCK_PID" || fail "the clock ended within 3 s of starting"
[[ $(e2e_windows_of "$CLOCK_PID") == "$WINDOW" ]] || fail "the window went away within 3 s"

note "ok: 240 x 40 at (512, 471), no border, no title, still running after 3 s"
