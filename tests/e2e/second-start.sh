#!/usr/bin/env bash
# A second start while the clock runs hands over to the running copy and ends at once:
# status 0, no window of its own, the running copy in front with the focus, and the settings
# file left as it was.
source "$(dirname "$0")/lib.sh"

e2e_private_env
e2e_start_x

# A previous run leaves a saved settings file, so there is something the second start could touch.
e2e_start_clock previous-run
e2e_wait_bar "$CLOCK_PID"
kill -TERM "$CLOCK_PID"
e2e_wait_gone "$CLOCK_PID" 5 || fail "setup: the first run did not end within 5 s of SIGTERM"
[[ -s $INI ]] || fail "setup: the first run saved no settings at $INI"

file_state() {
    # Content, modification time in nanoseconds and inode: a rewrite by rename changes the inode.
    echo "$(sha256sum <"$INI" | cut -d' ' -f1) $(stat -c '%.9Y %i %s' "$INI")"
}

e2e_start_clock running
running_pid=$CLOCK_PID
e2e_wait_bar "$running_pid"
running_window=$WINDOW
before=$(file_state)
before_text=$(cat "$INI")

# Another program is in front when the clock is started again.
xmessage -name other "another program" >"$E2E_TMP/xmessage.log" 2>&1 &
E2E_PIDS+=($!)
other=$(xdotool search --sync --onlyvisible --classname other | head -n 1)
xdotool windowactivate --sync "$other" 2>/dev/null || xdotool windowfocus --sync "$other"

started=$(now_ms)
e2e_start_clock second
second_pid=$CLOCK_PID
# Watch for a window of the second copy for as long as it lives, however briefly.
second_windows=
while e2e_alive "$second_pid"; do
    second_windows+=$(e2e_windows_of "$second_pid" | tr "\n" " ")
    (($(now_ms) - started <= 2000)) || fail "the second start still runs after 2 s"
    sleep 0.02
done
elapsed=$(($(now_ms) - started))
status=0
wait "$second_pid" || status=$?
note "second start ended after $elapsed ms with status $status"
((status == 0)) || fail "the second start ended with status $status"
[[ -z $second_windows ]] || fail "the second start showed window(s): $second_windows"

e2e_alive "$running_pid" || fail "the running copy ended when the second one started"
clock_windows=$(e2e_clock_windows)
[[ $clock_windows == "$running_window" ]] ||
    fail "expected only the running copy's window $running_window, found: ${clock_windows:-none}"

# The running copy comes forward as the window manager's active window. (With no window
# manager the X server refuses the focus to a request older than the last focus change.)
active_window() {
    xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*window id # *//p' | xargs printf '%d\n'
}
if [[ -n ${QUILLON_E2E_WM:-} ]]; then
    deadline=$(($(now_ms) + 5000))
    until [[ $(active_window) == "$running_window" ]]; do
        (($(now_ms) < deadline)) ||
            fail "the running copy did not come forward: active $(active_window), bar $running_window"
        sleep 0.05
    done
fi

after=$(file_state)
if [[ $after != "$before" ]]; then
    echo "before: $before" >&2
    echo "after:  $after" >&2
    diff <(echo "$before_text") "$INI" >&2 || true
    fail "the settings file changed during the second start"
fi

note "ok: second start ended in $elapsed ms with 0, one window in front, settings untouched"
