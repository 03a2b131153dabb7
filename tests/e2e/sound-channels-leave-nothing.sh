#!/usr/bin/env bash
# Sounds reach the speakers their files name, and leave nothing behind. Two clocks by a faked
# clock, each on a stereo null sink of its own: a 6:59 alarm, then a 7:00 chime that plays a 5.1
# wave with a tone in its front-right channel only, which must be loud on the right and near
# silent on the left. On PulseAudio the alarm is an ogg file; on PipeWire a 7.1 wave, which must
# be heard. 15 s after each sound the clock holds no client and no stream on the server, and has
# the threads and open descriptors it had idle before its first sound.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"
source "$(dirname "$0")/sound-server.sh"
LISTEN=${2:-}
[[ -x $LISTEN ]] || fail "usage: $0 QUILLON QUILLON-LISTEN"
command -v sox >/dev/null 2>&1 || fail "'sox' is not installed; run tools/install-deps.sh"

e2e_private_env
e2e_start_x
sox -n -r 44100 -b 16 -c 1 "$E2E_TMP/tone.wav" synth 1 sine 660 vol 0.5
sox "$E2E_TMP/tone.wav" "$E2E_TMP/ring.ogg"
# sox writes more than two channels as WAVE_FORMAT_EXTENSIBLE, its mask the first channels'
# speakers: 0x3f is FL FR FC LFE BL BR, 0x63f adds SL SR. Undithered: silent channels stay 0.
sox -D "$E2E_TMP/tone.wav" "$E2E_TMP/front-right.wav" remix 0 1 0 0 0 0
sox -D "$E2E_TMP/tone.wav" "$E2E_TMP/seven-one.wav" remix 1 1 0 0 0 0 0 0
for wave in front-right:3f000000 seven-one:3f060000; do
    file=$E2E_TMP/${wave%:*}.wav
    [[ $(od -An -tx1 -j20 -N2 "$file" | tr -d ' ') == feff &&
        $(od -An -tx1 -j40 -N4 "$file" | tr -d ' ') == "${wave#*:}" ]] ||
        fail "sox did not write ${wave%:*}.wav as an extensible wave with mask ${wave#*:}"
done

# NAME SERVER ALARM, one per line.
CLOCKS="pulse pulseaudio ring.ogg
pipewire pipewire seven-one.wav"
declare -A server_address server_dir clock_pid idle_threads idle_fds
while read -r name kind _; do
    sound_server "$E2E_TMP/$name/sound" "$LISTEN" "$kind" 2 || exit 1
    E2E_PIDS+=("${SOUND_PIDS[@]}")
    server_address[$name]=$SOUND_SERVER
    server_dir[$name]=$E2E_TMP/$name/sound
done <<<"$CLOCKS"
top=1500
started=$(now_ms)
while read -r name _ alarm; do
    dir=$E2E_TMP/$name
    mkdir -p "$dir/home" "$dir/config"
    mkdir -m 700 "$dir/runtime"
    export HOME=$dir/home XDG_CONFIG_HOME=$dir/config XDG_RUNTIME_DIR=$dir/runtime
    export PULSE_SERVER=${server_address[$name]}
    INI=$XDG_CONFIG_HOME/Quillon/Quillon.ini
    SETTINGS_TOP=$top write_settings AlarmMode=7 AlarmTime=419 "AlarmName1=$E2E_TMP/$alarm" \
        "AlarmName2=$E2E_TMP/front-right.wav"
    top=$((top + 1500))
    start_clock_at "$name" "2026-01-01 06:58:40"
    clock_pid[$name]=$CLOCK_PID
done <<<"$CLOCKS"

threads_of() { awk '/^Threads:/ { print $2 }' "/proc/$1/status"; }
descriptors_of() { find "/proc/$1/fd" -mindepth 1 -maxdepth 1 -printf '%l\n' | sort; }

# Idle, a few seconds drawn and well before the alarm is readied at 6:58:56, 16 s after the start.
while read -r name _; do
    pid=${clock_pid[$name]}
    e2e_wait_bar "$pid"
    e2e_wait_ticks "$WINDOW" 2
    idle_threads[$name]=$(threads_of "$pid")
    descriptors_of "$pid" >"$E2E_TMP/$name/idle-descriptors"
    idle_fds[$name]=$(grep -c . "$E2E_TMP/$name/idle-descriptors")
done <<<"$CLOCKS"
looked=$(($(now_ms) - started))
((looked < 14000)) || fail "looked at the idle clocks only $looked ms after their start"

PROBLEMS=()
sleep_until() {
    local left=$(($1 - $(now_ms)))
    ((left <= 0)) || sleep "$((left / 1000)).$(printf %03d $((left % 1000)))"
}

# heard NAME WHAT DUE: the sounds heard from clock NAME from 1 s before DUE (real milliseconds);
# sets END_MS to when the last of them ended, or to DUE + 1 s when none was heard.
heard() {
    local sounds
    sounds=$("$LISTEN" sounds "${server_dir[$1]}/sink.raw" $(($3 / 1000 - 1)))
    note "$1: $2 heard from-to: $(tr '\n' ' ' <<<"${sounds:-nothing}")"
    [[ -n $sounds ]] || PROBLEMS+=("$1: nothing heard of $2")
    END_MS=$(awk -v none=$(($3 + 1000)) 'END { printf "%.0f", NR ? $2 * 1000 : none }' <<<"$sounds")
}

# left_behind NAME WHAT: 15 s after WHAT, the clock holds nothing on the server, and has as many
# threads and descriptors as it had idle.
left_behind() {
    local pid=${clock_pid[$1]} held threads fds new
    e2e_alive "$pid" || fail "$1: the clock ended by itself"
    held=$(sound_held_by "${server_address[$1]}" "$pid" | paste -sd , -)
    threads=$(threads_of "$pid")
    descriptors_of "$pid" >"$E2E_TMP/$1/descriptors"
    fds=$(grep -c . "$E2E_TMP/$1/descriptors")
    note "$1, 15 s after $2: on the server ${held:-nothing}; $threads threads, $fds descriptors" \
        "(idle ${idle_threads[$1]}, ${idle_fds[$1]})"
    [[ -z $held ]] || PROBLEMS+=("$1: 15 s after $2 the clock still holds $held")
    ((threads == idle_threads[$1])) ||
        PROBLEMS+=("$1: 15 s after $2 the clock has $threads threads, not ${idle_threads[$1]}")
    if ((fds != idle_fds[$1])); then
        new=$(comm -13 "$E2E_TMP/$1/idle-descriptors" "$E2E_TMP/$1/descriptors" | tr '\n' ' ')
        PROBLEMS+=("$1: 15 s after $2 the clock has $fds descriptors, not ${idle_fds[$1]}: $new")
    fi
}

# The 6:59 alarm, 1 s long.
declare -A ended
sleep_until $((started + 24000))
while read -r name _ alarm; do
    heard "$name" "the $alarm alarm" $((started + 20000))
    ended[$name]=$END_MS
done <<<"$CLOCKS"
while read -r name _ alarm; do
    sleep_until $((ended[$name] + 15000))
    left_behind "$name" "the $alarm alarm"
done <<<"$CLOCKS"

# The 7:00 chime, recorded in stereo from now on.
while read -r name _; do
    PULSE_SERVER=${server_address[$name]} parec --raw --format=s16le --rate=44100 --channels=2 \
        --channel-map=front-left,front-right --latency-msec=10 -d listen.monitor \
        >"$E2E_TMP/$name/stereo.raw" 2>"$E2E_TMP/$name/parec-stereo.log" &
    E2E_PIDS+=($!)
done <<<"$CLOCKS"
sleep_until $((started + 84000))
while read -r name _; do
    heard "$name" "the 5.1 chime" $((started + 80000))
    ended[$name]=$END_MS
    # Peak levels in dBFS, left then right; digital silence as -999.
    levels=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$E2E_TMP/$name/stereo.raw" -n stats 2>&1 |
        awk '/^Pk lev dB/ { for (i = 5; i <= 6; i++) if ($i == "-inf") $i = -999; print $5, $6 }')
    read -r left right <<<"$levels"
    note "$name: the front-right chime peaked at $left dBFS on the left, $right dBFS on the right"
    awk -v l="$left" -v r="$right" 'BEGIN { exit !(r >= -20 && l <= -50) }' ||
        PROBLEMS+=("$name: the front-right chime is not loud on the right only (-20 dBFS or more)")
done <<<"$CLOCKS"
while read -r name _; do
    sleep_until $((ended[$name] + 15000))
    left_behind "$name" "the 5.1 chime"
done <<<"$CLOCKS"

if ((${#PROBLEMS[@]})); then
    printf '%s\n' "${PROBLEMS[@]}" >&2
    fail "${#PROBLEMS[@]} problem(s) with the channels or what sounds leave behind"
fi
note "ok: front-right heard on the right only, 7.1 heard, nothing left behind after each sound"
