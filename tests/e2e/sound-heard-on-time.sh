#!/usr/bin/env bash
# Listens to what the clock plays, each clock on a sound server of its own, PulseAudio and
# PipeWire alike: by the real clock, the alarm's first sample within -0.02 to +0.15 s of its due
# second and the whole of a 5 s file heard, a wave and a media file on each server, even with the
# clock or the server stopped for half a second meanwhile; silence soon after a click on the bar;
# and by a faked clock the strikes of 3:00, three of them, a second apart and each heard whole
# for a short wave, two seconds apart for one of 1.3 s, and of 2:00 for a 4 s ogg, five seconds
# apart: its play over soon after its last sample.
# Times come from the recordings (see tools/listen): a sample is placed at most one 10 ms block
# of the recording early. The alarms are timed by the real clock: under faketime the media
# backend's decoding waits for the faked clock.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"
source "$(dirname "$0")/sound-server.sh"
LISTEN=${2:-}
[[ -x $LISTEN ]] || fail "usage: $0 QUILLON QUILLON-LISTEN"
command -v sox >/dev/null 2>&1 || fail "'sox' is not installed; run tools/install-deps.sh"

e2e_private_env
e2e_start_x
sox -n -r 44100 -b 16 -c 1 "$E2E_TMP/short.wav" synth 0.3 sine 660 vol 0.5
sox -n -r 44100 -b 16 -c 1 "$E2E_TMP/long.wav" synth 1.3 sine 660 vol 0.5
sox -n -r 44100 -b 16 -c 1 "$E2E_TMP/ring.wav" synth 5 sine 660 vol 0.5
# At 8 kHz: FFmpeg's resampler keeps the last 2 ms of it, so fewer samples come than its length.
sox -n -r 8000 -b 16 -c 1 "$E2E_TMP/media.ogg" synth 4 sine 660 vol 0.5
for format in ogg mp3 flac; do
    sox "$E2E_TMP/ring.wav" "$E2E_TMP/ring.$format" ||
        fail "sox cannot write $format; run tools/install-deps.sh --test"
done

# own_clock NAME SERVER: folders and a sound server of its own for the clock started next.
own_clock() {
    local dir=$E2E_TMP/$1
    mkdir -p "$dir/home" "$dir/config"
    mkdir -m 700 "$dir/runtime"
    export HOME=$dir/home XDG_CONFIG_HOME=$dir/config XDG_RUNTIME_DIR=$dir/runtime
    INI=$XDG_CONFIG_HOME/Quillon/Quillon.ini
    sound_server "$dir/sound" "$LISTEN" "$2" || exit 1
    E2E_PIDS+=("${SOUND_PIDS[@]}")
    export PULSE_SERVER=$SOUND_SERVER
}

# sounds NAME [FROM [TO]]: "START END" of each sound heard from that clock.
sounds() {
    "$LISTEN" sounds "$E2E_TMP/$1/sound/sink.raw" "${@:2}"
}

# within VALUE LOW HIGH: true when LOW <= VALUE <= HIGH.
within() {
    awk -v v="$1" -v a="$2" -v b="$3" 'BEGIN { exit !(v >= a && v <= b) }'
}

# The alarms sound at a real minute far enough ahead for the faked chimes to be over by then.
# NAME SERVER FILE, one per line; the last is clicked a second after it is due.
alarms="pulse-wav pulseaudio ring.wav
pulse-ogg pulseaudio ring.ogg
pipewire-wav pipewire ring.wav
pipewire-mp3 pipewire ring.mp3
clicked-flac pulseaudio ring.flac"
now=${EPOCHREALTIME%[.,]*}
due=$(((now + 30 + 59) / 60 * 60))
# Each bar in a place of its own, so a click reaches the one it is meant for.
top=1500
while read -r name server file; do
    own_clock "$name" "$server"
    SETTINGS_TOP=$top write_settings AlarmMode=1 "AlarmTime=$((due / 60 % 1440))" \
        "AlarmName1=$E2E_TMP/$file"
    top=$((top + 1500))
    e2e_start_clock "$name"
    e2e_wait_bar "$CLOCK_PID"
    declare "bar_${name//-/_}=$WINDOW" "clock_${name//-/_}=$CLOCK_PID"
    declare "server_${name//-/_}=$SOUND_SERVER_PID"
done <<<"$alarms"
# NAME FILE HOUR STRIKES SHORTEST LONGEST LENGTH: a clock striking HOUR o'clock by a faked clock,
# its strikes' starts SHORTEST to LONGEST s apart, each heard for LENGTH s. The 4 s ogg is still
# being decoded when it starts, so its length is the decoder's guess: its play must still end
# with its last sample, not seconds later.
chimes="short short.wav 3 3 0.8 1.2 0.3
long long.wav 3 3 1.8 2.2 1.3
media media.ogg 2 2 4.8 5.2 4.0"
while read -r name file hour _; do
    own_clock "$name" pulseaudio
    SETTINGS_TOP=$top write_settings AlarmMode=2 "AlarmName2=$E2E_TMP/$file"
    top=$((top + 1500))
    start_clock_at "$name" "2026-01-01 0$((hour - 1)):59:50"
done <<<"$chimes"

sleep 21
while read -r name file hour strikes shortest longest length; do
    heard=$(sounds "$name")
    gaps=$(awk 'NR > 1 { printf "%.3f ", $1 - last } { last = $1 }' <<<"$heard")
    note "strikes of $file at $hour:00: $(grep -c . <<<"$heard"), apart by $gaps s;" \
        "heard from-to: $(tr '\n' ' ' <<<"$heard")"
    (($(grep -c . <<<"$heard") == strikes)) || fail "heard $(grep -c . <<<"$heard") strikes of $file, not $strikes"
    for gap in $gaps; do
        within "$gap" "$shortest" "$longest" ||
            fail "strikes of $file came $gap s apart, not $shortest to $longest"
    done
    # A lossy file at 8 kHz begins and ends a little softer: a wider margin, as for the alarms.
    margin=0.02
    [[ $file == *.wav ]] || margin=0.1
    for strike in $(awk '{ printf "%.3f\n", $2 - $1 }' <<<"$heard"); do
        awk -v v="$strike" -v l="$length" -v m="$margin" 'BEGIN { exit !(v >= l - m && v <= l + m) }' ||
            fail "a strike of $file ($length s) was heard for $strike s"
    done
done <<<"$chimes"

until ((${EPOCHREALTIME%[.,]*} > due)); do sleep 0.1; done
window=$bar_clicked_flac
xdotool mousemove --window "$window" 30 20 click 1
clicked=$EPOCHREALTIME
# Half a second without the processor, for two clocks and a server, is not heard as a gap.
sleep 1.5
stalled=("$clock_pulse_wav" "$clock_pipewire_mp3" "$server_pulse_ogg")
kill -STOP "${stalled[@]}"
sleep 0.5
kill -CONT "${stalled[@]}"
until ((${EPOCHREALTIME%[.,]*} > due + 6)); do sleep 0.1; done
while read -r name server file; do
    heard=$(sounds "$name" $((due - 1)))
    [[ -n $heard ]] || fail "nothing heard of the $file alarm on $server due at $(date -u -d "@$due" +%T)"
    read -r late length <<<"$(awk -v due="$due" 'NR == 1 { start = $1 } { end = $2 }
        END { printf "%.3f %.3f", start - due, end - start }' <<<"$heard")"
    note "$file on $server: first sample $late s after its due second, heard for $length s"
    within "$late" -0.02 0.15 ||
        fail "the $file alarm on $server was heard $late s after its due second, not within -0.02 to 0.15 s"
    if [[ $name == clicked-* ]]; then
        after=$(awk -v a="$(tail -n 1 <<<"$heard" | cut -d' ' -f2)" -v b="$clicked" 'BEGIN { printf "%.3f", a - b }')
        note "the $file alarm ended $after s after the click"
        within "$after" -5 0.3 || fail "the $file alarm sounded on $after s after the click"
    elif [[ $file == *.wav ]]; then
        within "$length" 4.98 5.02 || fail "the 5 s wave on $server was heard for $length s"
    else
        within "$length" 4.9 5.1 || fail "the 5 s $file file on $server was heard for $length s"
    fi
done <<<"$alarms"
note "ok: alarms heard on time and whole on both servers, strikes counted, spaced and whole, silence after a click"
