#!/usr/bin/env bash
# How late the alarm's first sample reaches the sound server after the second it is due, and how
# much of it is heard, on PulseAudio and on PipeWire, for a 5 s tone as a wave, ogg, mp3 and flac
# file: median and worst of the plays, with paplay (and pw-play on PipeWire) started at a known
# moment as the floor. Then a single chime strike of each file, and the strikes of the 11:00
# chime with the built-in 0.3 s sound: strikes 2 to 11, each due one second after the one before.
# Usage: bench/sound-lateness.sh [--plays N] [--cold] [CLOCK] [LISTEN]
#   N plays of each (5 by default); CLOCK defaults to build/app/quillon, LISTEN to
#   build/tools/listen/quillon-listen.
#   --cold: before each round of alarms, the sound libraries leave the page cache (as after a
#   restart), so loading them reads the disk again; pages another program has mapped stay.
# The alarms sound at real minutes, the four files' at once, each clock on a server of its own:
# a faked clock would change what is measured (media that Qt's GStreamer player plays wait for
# the system clock; the clock's own streams do not). The chimes run by a clock moved by a whole
# number of seconds (faketime, no start moment, no speed-up), so that the hour of its clock is a
# known second of the wall clock.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
plays=5
cold=0
while [[ ${1:-} == --* ]]; do
    case $1 in
        --plays) plays=$2; shift 2 ;;
        --cold) cold=1; shift ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
clock=${1:-$root/build/app/quillon}
listen=${2:-$root/build/tools/listen/quillon-listen}

for program in "$clock" "$listen"; do
    [[ -x $program ]] || { echo "not built: $program (run 'make build')" >&2; exit 2; }
done
for tool in sox paplay pw-play; do
    command -v "$tool" >/dev/null || { echo "'$tool' is missing: run tools/install-deps.sh --test" >&2; exit 2; }
done
faketime_lib=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2>/dev/null | head -n 1)
[[ -n $faketime_lib ]] || { echo "'faketime' is missing: run tools/install-deps.sh --test" >&2; exit 2; }

source "$root/bench/scratch.sh" quillon-lateness
source "$root/tests/e2e/sound-server.sh"

formats=(wav ogg mp3 flac)
sox -n -r 44100 -b 16 -c 1 "$tmp/tone.wav" synth 5 sine 660 vol 0.5
for format in "${formats[@]:1}"; do sox "$tmp/tone.wav" "$tmp/tone.$format"; done

# heard SINK FROM SECONDS: "START END" of the first sound heard in that many seconds from FROM.
heard() {
    "$listen" sounds "$1" "$2" "$(awk -v a="$2" -v b="$3" 'BEGIN { printf "%.6f", a + b }')" |
        awk 'NR == 1 { print $1, $2 }'
}

# floor SINK PLAYER...: "LATE LENGTH" of paplay or pw-play of the tone, started at a known moment.
floor() {
    local sink=$1 i started start end
    shift
    for ((i = 0; i < plays; ++i)); do
        sleep 1
        started=$EPOCHREALTIME
        "$@" "$tmp/tone.wav"
        read -r start end <<<"$(heard "$sink" "$started" 7)"
        [[ -z $start ]] || awk -v s="$start" -v e="$end" -v t="$started" 'BEGIN { printf "%.3f %.3f\n", s - t, e - s }'
    done
}

# run_clock NAME SERVER SECONDS FAKETIME KEY=VALUE...: starts the clock in the background on that
# sound server with these settings, and ends it SECONDS after DUE. FAKETIME, when not empty,
# moves its clock (faketime's format). The pid of what ends it goes to ENDING.
run_clock() {
    local name=$1 server=$2 seconds=$3 fake=$4 pid
    shift 4
    mkdir -p "$tmp/$name/config/Quillon" "$tmp/$name/home"
    mkdir -m 700 "$tmp/$name/runtime"
    printf '%s\n' "[Setting]" "Left=1500" "Top=1500" "$@" >"$tmp/$name/config/Quillon/Quillon.ini"
    (
        export HOME=$tmp/$name/home XDG_CONFIG_HOME=$tmp/$name/config
        export XDG_RUNTIME_DIR=$tmp/$name/runtime PULSE_SERVER=$server
        export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 TZ=UTC
        [[ -z $fake ]] || export LD_PRELOAD=$faketime_lib FAKETIME=$fake
        exec "$clock"
    ) >"$tmp/$name.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    (sleep "$((DUE - ${EPOCHREALTIME%[.,]*} + seconds))" && kill -TERM "$pid") &
    ENDING+=($!)
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

# alarms KIND: the alarms of the four files at real minutes, PLAYS rounds, each file's clock on
# a server of its own; "FORMAT LATE LENGTH" lines.
alarms() {
    local format round start end
    declare -A server
    for format in "${formats[@]}"; do
        sound_server "$tmp/$1-$format" "$listen" "$1" >&2
        pids+=("${SOUND_PIDS[@]}")
        server[$format]=$SOUND_SERVER
    done
    for ((round = 0; round < plays; ++round)); do
        ((cold == 0)) || drop_media_files
        # The next minute with 8 s to go at least: a due sound is readied 4 s ahead.
        DUE=$(((${EPOCHREALTIME%[.,]*} + 8 + 59) / 60 * 60))
        ENDING=()
        for format in "${formats[@]}"; do
            run_clock "$1-$format-$round" "${server[$format]}" 7 "" AlarmMode=1 \
                "AlarmTime=$((DUE / 60 % 1440))" "AlarmName1=$tmp/tone.$format"
        done
        wait "${ENDING[@]}" 2>/dev/null || true
        for format in "${formats[@]}"; do
            read -r start end <<<"$(heard "$tmp/$1-$format/sink.raw" $((DUE - 1)) 7)"
            [[ -z $start ]] ||
                awk -v f="$format" -v s="$start" -v e="$end" -v due="$DUE" 'BEGIN { printf "%s %.3f %.3f\n", f, s - due, e - s }'
        done
    done
}

# chime_at HOUR SECONDS NAME SETTING...: runs for SECONDS a clock on the present server, faked so
# that its HOUR:00 comes 9 s from now, at the wall clock's second DUE.
chime_at() {
    DUE=$((${EPOCHREALTIME%[.,]*} + 9))
    ENDING=()
    run_clock "$3-$RANDOM" "$SOUND_SERVER" "$2" "+$((($1 * 3600 - DUE % 86400 + 86400) % 86400))" "${@:4}"
    wait "${ENDING[@]}" 2>/dev/null || true
}

# chime SINK FILE: "LATE LENGTH" of a single strike at 8:00.
chime() {
    chime_at 8 7 chime AlarmMode=6 "AlarmName2=$2"
    read -r start end <<<"$(heard "$1" $((DUE - 1)) 7)"
    [[ -z $start ]] || awk -v s="$start" -v e="$end" -v due="$DUE" 'BEGIN { printf "%.3f %.3f\n", s - due, e - s }'
}

# strikes SINK: strikes 2 to 11 of the 11:00 chime with the built-in sound, each due a second
# after the one before; "LATE LENGTH" lines.
strikes() {
    chime_at 11 13 strikes AlarmMode=2 AlarmName2=
    "$listen" sounds "$1" $((DUE - 1)) $((DUE + 13)) | awk -v due="$DUE" '
        NR > 1 && NR <= 11 { printf "%.3f %.3f\n", $1 - due - (NR - 1), $2 - $1 }'
}

# report SERVER WHAT: the median and worst lateness and the shortest and median length heard of
# "LATE LENGTH" lines on standard input.
report() {
    local lines late heard
    lines=$(cat)
    if [[ -z $lines ]]; then
        printf "%-10s %-24s %5d  (none heard)\n" "$1" "$2" 0
        return
    fi
    late=$(cut -d' ' -f1 <<<"$lines" | sort -g | tr '\n' ' ')
    heard=$(cut -d' ' -f2 <<<"$lines" | sort -g | tr '\n' ' ')
    awk -v server="$1" -v what="$2" -v late="$late" -v heard="$heard" '
        function median(a, n) { return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
        BEGIN {
            n = split(late, l, " "); split(heard, h, " ")
            printf "%-10s %-24s %5d %+9.3f %+9.3f %9.3f %9.3f\n", server, what, n,
                median(l, n), l[n], h[1], median(h, n)
        }'
}

results=()
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for kind in pulseaudio pipewire; do
    sound_server "$tmp/$kind" "$listen" "$kind"
    pids+=("${SOUND_PIDS[@]}")
    sink=$tmp/$kind/sink.raw
    results+=("$(floor "$sink" env PULSE_SERVER="$SOUND_SERVER" paplay | report "$kind" "paplay (floor)")")
    if [[ $kind == pipewire ]]; then
        results+=("$(floor "$sink" env XDG_RUNTIME_DIR="$tmp/$kind/runtime" pw-play |
            report "$kind" "pw-play (floor)")")
    fi
    for format in "${formats[@]}"; do
        results+=("$(for ((i = 0; i < plays; ++i)); do chime "$sink" "$tmp/tone.$format"; done |
            report "$kind" "$format, chime strike")")
    done
    results+=("$(strikes "$sink" | report "$kind" "built-in 0.3 s, strikes")")
    # Not in a subshell: the servers it starts are ended here.
    alarms "$kind" >"$tmp/$kind.played"
    for format in "${formats[@]}"; do
        results+=("$(awk -v f="$format" '$1 == f { print $2, $3 }' "$tmp/$kind.played" |
            report "$kind" "$format, 5 s")")
    done
    # This kind's servers end before the next kind's start.
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    pids=()
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

printf "%-10s %-24s %5s %9s %9s %9s %9s\n" server sound plays "late med" "late max" "heard min" "heard med"
printf '%s\n' "${results[@]}"
echo "load average: $load_before before, $load_after after; $(nproc) cores$( ((cold == 0)) || echo "; sound libraries dropped from the page cache before each round of alarms")"
