#!/usr/bin/env bash
# Media sounds when the sound server is missing or goes away, by a faked clock, two clocks side
# by side. One has no server at all: its 7:00 alarm, an ogg file, cannot play, and the chime due
# in the same second, a program, still runs at once. The other's server ends 2 s into its 7:00
# chime, a 10 s ogg file, and comes back: the clock's 7:01 alarm is heard. Both clocks then end
# on SIGTERM and save their settings.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"
source "$(dirname "$0")/sound-server.sh"
LISTEN=${2:-}
[[ -x $LISTEN ]] || fail "usage: $0 QUILLON QUILLON-LISTEN"
command -v sox >/dev/null 2>&1 || fail "'sox' is not installed; run tools/install-deps.sh"

e2e_private_env
e2e_start_x
sox -n -r 44100 -b 16 -c 1 "$E2E_TMP/ring.ogg" synth 10 sine 660 vol 0.5
sox -n -r 44100 -b 16 -c 1 "$E2E_TMP/short.ogg" synth 0.5 sine 660 vol 0.5

# own_clock NAME: folders of its own for the clock started next; SOUND at the place of the
# sound server the clock looks for.
own_clock() {
    SOUND=$E2E_TMP/$1/sound
    mkdir -p "$E2E_TMP/$1/home" "$E2E_TMP/$1/config"
    mkdir -m 700 "$E2E_TMP/$1/runtime"
    export HOME=$E2E_TMP/$1/home XDG_CONFIG_HOME=$E2E_TMP/$1/config XDG_RUNTIME_DIR=$E2E_TMP/$1/runtime
    INI=$XDG_CONFIG_HOME/Quillon/Quillon.ini
    export PULSE_SERVER=unix:$SOUND/runtime/native
}

own_clock serverless
CHIMES=$E2E_TMP/chimes
SETTINGS_TOP=1500 write_settings AlarmMode=7 AlarmTime=420 "AlarmName1=$E2E_TMP/ring.ogg" \
    "AlarmName2=\"!/bin/sh -c \\\"date +%s.%N >> $CHIMES\\\"\""
start_clock_at serverless "2026-01-01 06:59:50"
e2e_wait_bar "$CLOCK_PID"
serverless_pid=$CLOCK_PID
serverless_ini=$INI

own_clock lost
sound_server "$SOUND" "$LISTEN" || exit 1
E2E_PIDS+=("${SOUND_PIDS[@]}")
SETTINGS_TOP=3000 write_settings AlarmMode=7 AlarmTime=421 "AlarmName1=$E2E_TMP/short.ogg" \
    "AlarmName2=$E2E_TMP/ring.ogg"
start_clock_at lost "2026-01-01 06:59:50"
started=${EPOCHREALTIME%[.,]*}
e2e_wait_bar "$CLOCK_PID"

# The chime's ring starts at 7:00:00; the server ends two seconds into it.
until [[ -n $("$LISTEN" sounds "$SOUND/sink.raw") ]]; do
    e2e_alive "$CLOCK_PID" || fail "the clock ended before its chime"
    ((${EPOCHREALTIME%[.,]*} < started + 25)) || fail "nothing heard of the 7:00 chime"
    sleep 0.1
done
sleep 2
kill -TERM "$SOUND_SERVER_PID"
e2e_wait_gone "$SOUND_SERVER_PID" 5 || fail "the sound server did not end"
note "the sound server ended 2 s into the chime"

# Back at once, in the same place, with a fresh recording.
rm -rf "$SOUND"
sound_server "$SOUND" "$LISTEN" || exit 1
E2E_PIDS+=("${SOUND_PIDS[@]}")
wait_lines "$CHIMES" 1 5
chimed=$(head -n 1 "$CHIMES")
late=$(awk -v ran="$chimed" -v due="$(epoch "2026-01-01 07:00:00")" 'BEGIN { printf "%.3f", ran - due }')
note "without a sound server, the chime's program ran $late s after 7:00:00"
awk -v late="$late" 'BEGIN { exit !(late >= 0 && late <= 1.5) }' ||
    fail "without a sound server, the chime's program ran $late s after 7:00:00, not within 1.5 s"

# The 7:01 alarm, on the server that came back.
deadline=$((started + 90))
until [[ -n $("$LISTEN" sounds "$SOUND/sink.raw") ]]; do
    e2e_alive "$CLOCK_PID" || fail "the clock ended after its sound server did"
    ((${EPOCHREALTIME%[.,]*} < deadline)) || fail "the 7:01 alarm was not heard on the server that came back"
    sleep 0.2
done
note "the 7:01 alarm was heard on the server that came back"

for clock in "$serverless_pid $serverless_ini" "$CLOCK_PID $INI"; do
    read -r pid ini <<<"$clock"
    e2e_alive "$pid" || fail "a clock ended by itself"
    kill -TERM "$pid"
    e2e_wait_gone "$pid" 5 || fail "a clock still runs 5 s after SIGTERM"
    grep -q '^LastTime=' "$ini" || fail "a clock did not save its settings when ending"
done
note "ok: media fail at once without a server, end when it goes, play again once it is back"
