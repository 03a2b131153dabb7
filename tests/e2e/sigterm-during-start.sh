#!/usr/bin/env bash
# SIGTERM while the clock is still starting, held up by a session bus that does not answer yet:
# once the bus answers, the clock comes up, saves every setting and ends with status 0.
source "$(dirname "$0")/lib.sh"

e2e_private_env
e2e_start_x
# The bus is the first server started; stopped, it leaves connections waiting in its queue.
bus=${SERVER_PIDS[0]}
kill -STOP "$bus"
e2e_start_clock clock

# The sign that the clock is inside its start: its connection waits for the bus to take it.
deadline=$(($(now_ms) + 20000))
until awk -v bus="$XDG_RUNTIME_DIR/bus" '$6 == "02" && $8 == bus { found = 1 } END { exit !found }' \
    /proc/net/unix; do
    e2e_alive "$CLOCK_PID" || fail "the clock ended before asking the session bus"
    (($(now_ms) < deadline)) || fail "the clock did not ask the session bus within 20 s"
    sleep 0.05
done
[[ -z $(e2e_windows_of "$CLOCK_PID") ]] || fail "the clock showed a window before the bus answered"

kill -TERM "$CLOCK_PID"
kill -CONT "$bus"
e2e_wait_gone "$CLOCK_PID" 20 || fail "the clock still runs 20 s after SIGTERM"
wait "$CLOCK_PID" || fail "the clock ended with status $? after SIGTERM during its start"
saved=$(grep -c '=' "$INI" 2>/dev/null || true)
((saved == 23)) || fail "${saved:-no} settings saved, not 23"
note "ok: SIGTERM during the start ended the clock with 0, all 23 settings saved"
