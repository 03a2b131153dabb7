#!/usr/bin/env bash
# Listens to what the clock plays, each clock on a sound server of its own: the alarm's first
# sample within 0.15 s after its due second, for a wave and for an ogg file, by the real clock;
# silence soon after a click on the bar; and by a faked clock the strikes of 3:00, three of them,
# a second apart for a short sound and two seconds apart for one of 1.3 s.
# Times come from the recordings (see tools/listen): a sample is placed at most one 10 ms block
# of the recording early, so "never early" allows that much. The ogg file plays on Qt's FFmpeg
# backend: on a null sink the GStreamer backend's output stays silent (its sink stops after the
# first 0.1 s), so there would be nothing to time.
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
sox -n -r 44100 -b 16 -c 1 "$E2E_TMP/ring.wav" synth 4 sine 660 vol 0.5
sox "$E2E_TMP/ring.wav" "$E2E_TMP/ring.ogg"

# own_clock NAME: folders and a sound server of its own for the clock started next.
own_clock() {
    local dir=$E2E_TMP/$1
    mkdir -p "$dir/home" "$dir/config"
    mkdir -m 700 "$dir/runtime"
    export HOME=$dir/home XDG_CONFIG_HOME=$dir/config XDG_RUNTIME_DIR=$dir/runtime
    INI=$XDG_CONFIG_HOME/Quillon/Quillon.ini
    sound_server "$dir/sound" "$LISTEN" || exit 1
    E2E_PIDS+=("${SOUND_PIDS[@]}")
    export PULSE_SERVER=$SOUND_SERVER
}

# sounds NAME [FROM [TO]]: "START END" of each sound heard from that clock.
sounds() {
    "$LISTEN" sounds "$E2E_TMP/$1/sound/sink.raw" "${@:2}"
}

# The alarm sounds at a real minute far enough ahead for the faked chimes to be over by then.
now=${EPOCHREALTIME%[.,]*}
due=$(((now + 25 + 59) / 60 * 60))
for kind in wav ogg; do
    own_clock "$kind"
    SETTINGS_TOP=$([[ $kind == wav ]] && echo 1500 || echo 3000) write_settings AlarmMode=1 \
        "AlarmTime=$((due / 60 % 1440))" "AlarmName1=$E2E_TMP/ring.$kind"
    [[ $kind == ogg ]] && export QT_MEDIA_BACKEND=ffmpeg
    e2e_start_clock "$kind"
    unset QT_MEDIA_BACKEND
    e2e_wait_bar "$CLOCK_PID"
    declare "bar_$kind=$WINDOW"
done
for length in short long; do
    own_clock "$length"
    write_settings AlarmMode=2 "AlarmName2=$E2E_TMP/$length.wav"
    start_clock_at "$length" "2026-01-01 02:59:50"
done

# Three strikes each, and the spacing of their starts.
sleep 20
for check in "short 0.8 1.2" "long 1.8 2.2"; do
    read -r length shortest longest <<<"$check"
    heard=$(sounds "$length")
    gaps=$(awk 'NR > 1 { printf "%.3f ", $1 - last } { last = $1 }' <<<"$heard")
    note "strikes of the $length sound at 3:00: $(grep -c . <<<"$heard"), apart by $gaps s"
    (($(grep -c . <<<"$heard") == 3)) || fail "heard $(grep -c . <<<"$heard") strikes of the $length sound, not 3"
    for gap in $gaps; do
        awk -v g="$gap" -v a="$shortest" -v b="$longest" 'BEGIN { exit !(g >= a && g <= b) }' ||
            fail "strikes of the $length sound came $gap s apart, not $shortest to $longest"
    done
done

until ((${EPOCHREALTIME%[.,]*} > due)); do sleep 0.1; done
for kind in wav ogg; do
    window=bar_$kind
    clicked=$EPOCHREALTIME
    xdotool mousemove --window "${!window}" 30 20 click 1
    onset=$(sounds "$kind" $((due - 1)) "$clicked" | awk 'NR == 1 { print $1 }')
    [[ -n $onset ]] || fail "nothing heard of the $kind alarm due at $(date -u -d "@$due" +%T)"
    late=$(awk -v a="$onset" -v b="$due" 'BEGIN { printf "%.3f", a - b }')
    note "the $kind alarm was heard $late s after its due second"
    awk -v t="$late" 'BEGIN { exit !(t >= -0.01 && t <= 0.15) }' ||
        fail "the $kind alarm was heard $late s after its due second, not within 0 to 0.15 s"
    declare "clicked_$kind=$clicked"
done

# The rings last 4 s; a click ends them within a poll of the media play.
sleep 4
for kind in wav ogg; do
    clicked=clicked_$kind
    last=$(sounds "$kind" $((due - 1)) | awk 'END { print $2 }')
    after=$(awk -v a="$last" -v b="${!clicked}" 'BEGIN { printf "%.3f", a - b }')
    note "the $kind alarm ended $after s after the click"
    awk -v t="$after" 'BEGIN { exit !(t <= 0.4) }' || fail "the $kind alarm sounded on $after s after the click"
done
note "ok: alarms heard on time, strikes counted and spaced, silence after a click"
