#!/usr/bin/env bash
# How late the first sample of the alarm and of the chime's strikes reaches the sound server after
# the second it is due: median and worst of 10 plays of a wave and of an ogg file, for the first
# play after the clock's start and for later plays, beside paplay started at the due moment.
# Usage: bench/sound-lateness.sh [--cold] [CLOCK] [LISTEN]
#   CLOCK defaults to build/app/quillon, LISTEN to build/tools/listen/quillon-listen.
#   --cold: before each first play, the media libraries leave the page cache (as after a restart),
#   so loading them reads the disk again; pages another program has mapped stay.
# First plays: ten starts of the clock, each sounding its alarm. Later plays: one start sounding
# the eleven strikes of 11:00; strikes 2 to 11 are the later plays. A wave strike is due one
# second after the one before; a media strike plays to its end first, so its due second is taken
# as the whole second before it is heard (right while it is less than a second late).
# The clock runs offscreen with its clock moved by a whole number of seconds (faketime, no start
# moment, no speed-up), so a due second of its clock is a known second of the wall clock and no
# real minute has to come. Media files play on Qt's FFmpeg backend: on this null sink the
# GStreamer backend's output stays silent (its sink stops after the first 0.1 s).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cold=0
if [[ ${1:-} == --cold ]]; then
    cold=1
    shift
fi
clock=${1:-$root/build/app/quillon}
listen=${2:-$root/build/tools/listen/quillon-listen}
plays=10

for program in "$clock" "$listen"; do
    [[ -x $program ]] || { echo "not built: $program (run 'make build')" >&2; exit 2; }
done
for tool in sox paplay; do
    command -v "$tool" >/dev/null || { echo "'$tool' is missing: run tools/install-deps.sh --test" >&2; exit 2; }
done
faketime_lib=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2>/dev/null | head -n 1)
[[ -n $faketime_lib ]] || { echo "'faketime' is missing: run tools/install-deps.sh --test" >&2; exit 2; }

source "$root/bench/scratch.sh" quillon-lateness

source "$root/tests/e2e/sound-server.sh"
sound_server "$tmp/sound" "$listen"
pids+=("${SOUND_PIDS[@]}")
sink=$tmp/sound/sink.raw

# Short tones, so that strikes one second apart are heard apart.
sox -n -r 44100 -b 16 -c 1 "$tmp/tone.wav" synth 0.3 sine 660 vol 0.5
sox "$tmp/tone.wav" "$tmp/tone.ogg"

now() { echo "$EPOCHREALTIME"; }
# first_sound FROM SECONDS: start of the first sound heard in that many seconds from FROM.
first_sound() {
    "$listen" sounds "$sink" "$1" "$(awk -v a="$1" -v b="$2" 'BEGIN { printf "%.6f", a + b }')" |
        awk 'NR == 1 { print $1 }'
}

floor_lateness=()
for ((i = 0; i < plays; ++i)); do
    sleep 1
    started=$(now)
    PULSE_SERVER=$SOUND_SERVER paplay "$tmp/tone.wav"
    floor_lateness+=("$(awk -v a="$(first_sound "$started" 3)" -v b="$started" 'BEGIN { printf "%.3f", a - b }')")
done

# run_clock NAME TIME-OF-DAY LEAD SECONDS KEY=VALUE...: starts the clock LEAD seconds before its
# clock shows TIME-OF-DAY (seconds after midnight), with these settings, and ends it SECONDS
# after that moment. Sets DUE to the wall-clock second of TIME-OF-DAY.
run_clock() {
    local name=$1 target=$2 lead=$3 seconds=$4 offset pid
    shift 4
    mkdir -p "$tmp/$name/config/Quillon" "$tmp/$name/home"
    mkdir -m 700 "$tmp/$name/runtime"
    printf '%s\n' "[Setting]" "Left=1500" "Top=1500" "$@" >"$tmp/$name/config/Quillon/Quillon.ini"
    DUE=$((${EPOCHREALTIME%[.,]*} + 1 + lead))
    offset=$(((target - DUE % 86400 + 86400) % 86400))
    HOME=$tmp/$name/home XDG_CONFIG_HOME=$tmp/$name/config XDG_RUNTIME_DIR=$tmp/$name/runtime \
        PULSE_SERVER=$SOUND_SERVER QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 TZ=UTC \
        LD_PRELOAD=$faketime_lib FAKETIME="+$offset" "$clock" >"$tmp/$name.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    sleep "$((DUE - ${EPOCHREALTIME%[.,]*} + seconds))"
    kill -TERM "$pid"
    wait "$pid" || true
}

# The module, the Qt media backends, GStreamer's plugins and all the libraries they load.
media_files() {
    local plugins
    plugins=$(ls "$(dirname "$clock")"/*.so /usr/lib/*/qt6/plugins/multimedia/*.so)
    printf '%s\n' $plugins /usr/lib/*/gstreamer-1.0/*.so
    ldd $plugins | awk '/=> \// { print $3 }'
}

drop_media_files() {
    local file
    for file in $(media_files | sort -u); do
        dd if="$file" iflag=nocache count=0 status=none 2>/dev/null || true
    done
}

# first_plays NAME SOUND: lateness of the alarm in ten starts.
first_plays() {
    local i onset late=()
    for ((i = 0; i < plays; ++i)); do
        ((cold == 0)) || drop_media_files
        run_clock "$1-$i" $((7 * 3600)) 8 3 AlarmMode=1 AlarmTime=420 "AlarmName1=$2"
        onset=$(first_sound $((DUE - 1)) 4)
        [[ -z $onset ]] || late+=("$(awk -v a="$onset" -v b="$DUE" 'BEGIN { printf "%.3f", a - b }')")
    done
    echo "${late[*]}"
}

# later_plays NAME SOUND SECONDS WAVE: lateness of strikes 2 to 11 of the 11:00 chime.
later_plays() {
    run_clock "$1" $((11 * 3600)) 8 "$3" AlarmMode=2 "AlarmName2=$2"
    "$listen" sounds "$sink" $((DUE - 1)) $((DUE + $3)) | awk -v due="$DUE" -v wave="$4" '
        NR > 1 && NR <= 11 {
            late = wave ? $1 - due - (NR - 1) : $1 - due - int($1 - due)
            printf "%.3f ", late
        }'
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
wave_first=$(first_plays wave "$tmp/tone.wav")
wave_later=$(later_plays wave-later "$tmp/tone.wav" 13 1)
media_first=$(QT_MEDIA_BACKEND=ffmpeg first_plays media "$tmp/tone.ogg")
media_later=$(QT_MEDIA_BACKEND=ffmpeg later_plays media-later "$tmp/tone.ogg" 20 0)
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

report() {
    tr ' ' '\n' <<<"$2" | sed '/^$/d' | sort -n | awk -v what="$1" '
        { v[NR] = $1 }
        END {
            if (NR == 0) { printf "%-26s %6d  (none heard)\n", what, 0; exit }
            median = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            printf "%-26s %6d %+10.3f %+10.3f %+10.3f\n", what, NR, v[1], median, v[NR]
        }'
}
printf "%-26s %6s %10s %10s %10s\n" "late by (s)" plays best median worst
report "paplay (floor)" "${floor_lateness[*]}"
report "wave, first play" "$wave_first"
report "wave, later plays" "$wave_later"
report "ogg, first play" "$media_first"
report "ogg, later plays" "$media_later"
echo "load average: $load_before before, $load_after after; $(nproc) cores$( ((cold == 0)) || echo "; media libraries dropped from the page cache before each first play")"
