#!/usr/bin/env bash
# A sound server that stops answering never holds up the clock, on PulseAudio and PipeWire alike.
# Each clock, on a server of its own, has an ogg alarm due at 7:00 by a faked clock, its first
# media sound since the start. The server is stopped (SIGSTOP) just before the clock readies the
# alarm at 6:59:56, loading its sound module, or 1 s into the alarm's play; 1.5 s after the module
# came or the server stopped, SIGTERM must end the clock within 1 s, with status 0 and its
# settings saved.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"
source "$(dirname "$0")/sound-server.sh"
LISTEN=${2:-}
[[ -x $LISTEN ]] || fail "usage: $0 QUILLON QUILLON-LISTEN"
command -v sox >/dev/null 2>&1 || fail "'sox' is not installed; run tools/install-deps.sh"

e2e_private_env
e2e_start_x
sox -n -r 44100 -c 1 "$E2E_TMP/ring.ogg" synth 10 sine 660 vol 0.5

# NAME SERVER, one per line; each clock is stopped while it readies or while it plays.
CLOCKS="readying-pulse pulseaudio
readying-pipewire pipewire
playing-pulse pulseaudio
playing-pipewire pipewire"
declare -A server_pid server_dir server_address clock_pid clock_ini started_ms
while read -r name kind; do
    sound_server "$E2E_TMP/$name/sound" "$LISTEN" "$kind" || exit 1
    E2E_PIDS+=("${SOUND_PIDS[@]}")
    server_pid[$name]=$SOUND_SERVER_PID
    server_dir[$name]=$E2E_TMP/$name/sound
    server_address[$name]=$SOUND_SERVER
done <<<"$CLOCKS"

# All clocks at once: their faked 6:59:45 is the same real moment, give or take their starts.
top=1500
while read -r name _; do
    dir=$E2E_TMP/$name
    mkdir -p "$dir/home" "$dir/config"
    mkdir -m 700 "$dir/runtime"
    export HOME=$dir/home XDG_CONFIG_HOME=$dir/config XDG_RUNTIME_DIR=$dir/runtime
    export PULSE_SERVER=${server_address[$name]}
    INI=$XDG_CONFIG_HOME/Quillon/Quillon.ini
    SETTINGS_TOP=$top write_settings AlarmMode=1 AlarmTime=420 "AlarmName1=$E2E_TMP/ring.ogg"
    top=$((top + 1500))
    started_ms[$name]=$(now_ms)
    start_child_clock_at "$name" "2026-01-01 06:59:45"
    clock_pid[$name]=$CLOCK_PID
    clock_ini[$name]=$INI
done <<<"$CLOCKS"
while read -r name _; do e2e_wait_bar "${clock_pid[$name]}"; done <<<"$CLOCKS"

PROBLEMS=()
# sleep_until MS: waits for that moment, in milliseconds since the epoch.
sleep_until() {
    local left=$(($1 - $(now_ms)))
    ((left <= 0)) || sleep "$((left / 1000)).$(printf %03d $((left % 1000)))"
}

# end_clocks NAME...: sends each clock SIGTERM; every clock must then end within 1 s. Their
# servers, stopped before, resume afterwards.
end_clocks() {
    local name sent status
    sent=$(now_ms)
    for name; do kill -TERM "${clock_pid[$name]}"; done
    for name; do
        while e2e_alive "${clock_pid[$name]}" && (($(now_ms) < sent + 1000)); do sleep 0.02; done
        if e2e_alive "${clock_pid[$name]}"; then
            PROBLEMS+=("$name: the clock still runs 1 s after SIGTERM")
            continue
        fi
        status=0
        wait "${clock_pid[$name]}" || status=$?
        note "$name: ended $(($(now_ms) - sent)) ms or less after SIGTERM, with status $status"
        ((status == 0)) || PROBLEMS+=("$name: the clock ended with status $status")
        grep -q '^LastTime=' "${clock_ini[$name]}" ||
            PROBLEMS+=("$name: the clock did not save its settings when ending")
    done
    for name; do kill -CONT "${server_pid[$name]}"; done
}

# Stopped half a second before 6:59:56, when the clock readies the alarm.
readying=(readying-pulse readying-pipewire)
sleep_until $((started_ms[readying-pulse] + 10500))
for name in "${readying[@]}"; do
    e2e_alive "${clock_pid[$name]}" || fail "$name: the clock ended by itself"
    kill -STOP "${server_pid[$name]}"
done
note "the servers stopped at 6:59:55.5"
# The module comes with the first sound: the clock is readying it with the server stopped.
for name in "${readying[@]}"; do
    until grep -q quillon_multimedia "/proc/${clock_pid[$name]}/maps"; do
        (($(now_ms) < started_ms[$name] + 20000)) || fail "$name: no sound module for the alarm"
        sleep 0.05
    done
done
sleep 1.5
end_clocks "${readying[@]}"

# Stopped 1 s into the alarm's play, once it is heard.
playing=(playing-pulse playing-pipewire)
for name in "${playing[@]}"; do
    until heard=$("$LISTEN" sounds "${server_dir[$name]}/sink.raw") && [[ -n $heard ]]; do
        e2e_alive "${clock_pid[$name]}" || fail "$name: the clock ended before its alarm"
        (($(now_ms) < started_ms[$name] + 30000)) || fail "$name: nothing heard of the 7:00 alarm"
        sleep 0.05
    done
    first=$(awk 'NR == 1 { printf "%.0f", $1 * 1000 }' <<<"$heard")
    sleep_until $((first + 1000))
    kill -STOP "${server_pid[$name]}"
done
note "the servers stopped 1 s into the alarm"
sleep 1.5
end_clocks "${playing[@]}"

if ((${#PROBLEMS[@]})); then
    printf '%s\n' "${PROBLEMS[@]}" >&2
    fail "${#PROBLEMS[@]} problem(s) with a stopped sound server"
fi
note "ok: a stopped server, while readying or playing, never held up the end of the clock"
