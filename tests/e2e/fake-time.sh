# For the end-to-end tests of the alarm and the chime: the clock started at a chosen moment
# under faketime, with settings written beforehand. Source it after lib.sh.

command -v faketime >/dev/null 2>&1 || fail "'faketime' is not installed; run tools/install-deps.sh"

# The faked moments are read as UTC, in the clock and in every program it starts.
export TZ=UTC
# Programs the clock starts carry on from the clock's faked time rather than from the start.
export FAKETIME_DONT_RESET=1

# write_settings KEY=VALUE...: the settings file of a later start (Top is set, so every value
# in the file is read), the window at the middle of the screen or SETTINGS_TOP twips down.
write_settings() {
    mkdir -p "$(dirname "$INI")"
    {
        echo "[Setting]"
        echo "Left=7800"
        echo "Top=${SETTINGS_TOP:-7380}"
        printf '%s\n' "$@"
    } >"$INI"
}

# start_clock_at NAME "YYYY-MM-DD HH:MM:SS": starts the program with its clock starting at that
# moment. CLOCK_PID is the program itself, not faketime's process around it.
start_clock_at() {
    local pid_file=$E2E_TMP/$1.pid deadline
    faketime -f "@$2" bash -c 'echo $$ >"$0"; exec "$1"' "$pid_file" "$PROGRAM" \
        >"$E2E_TMP/$1.log" 2>&1 &
    E2E_WAITED_PIDS+=($!)
    deadline=$(($(now_ms) + 5000))
    until [[ -s $pid_file ]]; do
        (($(now_ms) < deadline)) || fail "the clock did not start under faketime"
        sleep 0.02
    done
    CLOCK_PID=$(<"$pid_file")
    E2E_PIDS=("$CLOCK_PID" "${E2E_PIDS[@]}")
}

# start_child_clock_at NAME "YYYY-MM-DD HH:MM:SS": as start_clock_at, with faketime's library
# preloaded into the program itself rather than through the faketime command, so that the clock
# is this shell's child: `wait "$CLOCK_PID"` gives its exit status.
start_child_clock_at() {
    local lib
    lib=$(find /usr/lib /usr/lib64 -path '*/faketime/libfaketimeMT.so.1' 2>/dev/null | head -n 1)
    [[ -n $lib ]] || fail "faketime's libfaketimeMT.so.1 is not installed"
    LD_PRELOAD=$lib FAKETIME="@$2" "$PROGRAM" >"$E2E_TMP/$1.log" 2>&1 &
    CLOCK_PID=$!
    E2E_PIDS+=("$CLOCK_PID")
}

# epoch "YYYY-MM-DD HH:MM:SS": seconds since 1970 of that UTC moment.
epoch() {
    date -u -d "$1" +%s
}

# wait_lines FILE COUNT SECONDS: waits (in real time) for FILE to hold COUNT lines.
wait_lines() {
    local deadline=$(($(now_ms) + $3 * 1000))
    while (($(lines_in "$1") < $2)); do
        e2e_alive "$CLOCK_PID" || fail "the clock ended while waiting for $1"
        (($(now_ms) < deadline)) || fail "$1 holds $(lines_in "$1") line(s) after $3 s, expected $2"
        sleep 0.1
    done
}

lines_in() {
    if [[ -f $1 ]]; then grep -c . "$1" || true; else echo 0; fi
}
