#!/usr/bin/env bash
# How late the alarm's first sample reaches the sound server after the second it is due, and how
# much of it is heard, on PulseAudio and on PipeWire, for a 5 s tone as a wave, ogg, mp3, flac and
# opus file: median and worst of the plays, with paplay (and pw-play on PipeWire) started at a
# known moment as the floor. Then a single chime strike of each file, and the strikes of the 11:00
# chime with the built-in 0.3 s sound: strikes 2 to 11, each due one second after the one before.
# Then a one-hour wave (44.1 kHz, 16 bits, stereo) and a one-hour ogg as the alarm, each readied
# and played by a clock drawing on an X server: the sink's requested latency at idle, while the
# sound is readied and while it plays; the clock's memory over its idle size while readied and
# while playing; and how late each second's picture reaches the screen after its whole second.
# Usage: bench/sound-lateness.sh [--plays N] [--cold] [CLOCK] [LISTEN] [HELPER]
#   N plays of each (5 by default); CLOCK defaults to build/app/quillon, LISTEN to
#   build/tools/listen/quillon-listen, HELPER to build/bench/quillon-lateness-helper.
#   --cold: before each round of alarms, the sound libraries leave the page cache (as after a
#   restart), so loading them reads the disk again; pages another program has mapped stay.
# The alarms sound at real minutes, the five files' at once, each clock on a server of its own,
# as a user's clock does. The chimes run by a clock moved by a whole
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
helper=${3:-$root/build/bench/quillon-lateness-helper}

for program in "$clock" "$listen" "$helper"; do
    [[ -x $program ]] || { echo "not built: $program (run 'make build')" >&2; exit 2; }
done
for tool in sox paplay pw-play pactl pw-dump pw-profiler Xvfb dbus-daemon; do
    command -v "$tool" >/dev/null || { echo "'$tool' is missing: run tools/install-deps.sh --test" >&2; exit 2; }
done
faketime_lib=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2>/dev/null | head -n 1)
[[ -n $faketime_lib ]] || { echo "'faketime' is missing: run tools/install-deps.sh --test" >&2; exit 2; }

source "$root/bench/scratch.sh" quillon-lateness
source "$root/tests/e2e/sound-server.sh"

formats=(wav ogg mp3 flac opus)
sox -n -r 44100 -b 16 -c 1 "$tmp/tone.wav" synth 5 sine 660 vol 0.5
for format in ogg mp3 flac; do sox "$tmp/tone.wav" "$tmp/tone.$format"; done
# sox writes no Opus, and Opus takes no 44100 Hz.
sox "$tmp/tone.wav" -r 48000 "$tmp/tone-48k.wav"
"$helper" opus "$tmp/tone-48k.wav" "$tmp/tone.opus"

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
# moves its clock (faketime's format); CLOCK_ENV, when set, adds to its environment. The pid of
# what ends it goes to ENDING.
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
        ((${#CLOCK_ENV[@]} == 0)) || export "${CLOCK_ENV[@]}"
        exec "$clock"
    ) >"$tmp/$name.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    (sleep "$((DUE - ${EPOCHREALTIME%[.,]*} + seconds))" && kill -TERM "$pid") &
    ENDING+=($!)
}

# The sound module and all the libraries it loads.
media_files() {
    local module
    module=$(ls "$(dirname "$clock")"/*.so)
    printf '%s\n' $module
    ldd $module | awk '/=> \// { print $3 }'
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

# start_display NAME: an X server whose screen is a file the helper watches (-fbdir, its path in
# SCREEN), and a session bus, as a user's clock has; CLOCK_ENV from then on puts the clocks there.
start_display() {
    local folder=$tmp/$1 deadline=$((${EPOCHREALTIME%[.,]*} + 15))
    mkdir -p "$folder/fb"
    mkdir -m 700 "$folder/runtime"
    Xvfb -displayfd 3 -screen 0 400x200x24 -fbdir "$folder/fb" -nolisten tcp -noreset \
        3>"$folder/display" >"$folder/xvfb.log" 2>&1 &
    pids+=($!)
    dbus-daemon --session --nofork --address="unix:path=$folder/runtime/bus" \
        >"$folder/bus.log" 2>&1 &
    pids+=($!)
    until [[ -s $folder/display && -S $folder/runtime/bus ]]; do
        ((${EPOCHREALTIME%[.,]*} < deadline)) ||
            { echo "no X server or session bus within 15 s" >&2; exit 1; }
        sleep 0.05
    done
    SCREEN=$folder/fb/Xvfb_screen0
    CLOCK_ENV=(QT_QPA_PLATFORM=xcb "DISPLAY=:$(tr -d '[:space:]' <"$folder/display")"
        "DBUS_SESSION_BUS_ADDRESS=unix:path=$folder/runtime/bus")
}

# at MOMENT: sleeps until then, in seconds since the epoch.
at() {
    sleep "$(awk -v t="$1" -v now="${EPOCHREALTIME/,/.}" 'BEGIN { print (t > now ? t - now : 0) }')"
}

# latency KIND: "CONFIGURED QUANTUM ASKED" in ms of the present server: the null sink's requested
# latency as pactl says it; on PipeWire, whose pactl says 0, also the driver's quantum as
# pw-profiler sees it over 0.3 s and the least node.latency asked for; "none" while nothing runs
# or asks, "-" on PulseAudio.
latency() {
    local configured quantum=- asked=- profiler
    configured=$(PULSE_SERVER=$SOUND_SERVER pactl list sinks | awk '
        $1 == "Name:" { sink = $2 }
        sink == "listen" && $1 == "Latency:" { printf "%.1f", $5 / 1000 }')
    if [[ $1 == pipewire ]]; then
        mkdir -p "$tmp/profiler"
        : >"$tmp/profiler/log"
        # It writes its plots into the folder it runs in.
        (cd "$tmp/profiler" && exec env XDG_RUNTIME_DIR="$tmp/$1/runtime" pw-profiler -o log) \
            >/dev/null 2>&1 &
        profiler=$!
        sleep 0.3
        kill -TERM "$profiler"
        wait "$profiler" || true
        # Its fourth column is the cycle's length, the quantum over the rate, in µs.
        quantum=$(awk '
            { count[$4]++ }
            END { for (q in count) if (count[q] > most) { most = count[q]; mode = q }
                  if (most) printf "%.1f", mode / 1000; else print "none" }' "$tmp/profiler/log")
        asked=$(XDG_RUNTIME_DIR=$tmp/$1/runtime pw-dump | awk -F'"' '
            $2 == "node.latency" {
                split($4, f, "/"); ms = f[1] * 1000 / f[2]
                if (least == "" || ms < least) least = ms
            }
            END { if (least == "") print "none"; else printf "%.1f", least }')
    fi
    echo "$configured $quantum $asked"
}

kb() { awk -v key="$1:" '$1 == key { print $2 }' "/proc/$2/status"; }

# hour_alarm KIND FILE: the one-hour FILE as the alarm of a clock on the present server and the
# X server, ended 90 s into its play. Lines "latency idle|readied|playing CONFIGURED QUANTUM
# ASKED", "memory IDLE READIED PLAYING END" (kB: the size at idle, the peaks while readied and
# while playing, the size at the end), then the helper's "AT GAP" lines from 10 s before the
# minute to 15 s after it.
hour_alarm() {
    local pid ticks
    # The next minute with 18 s to go at least: the clock starts, idles, then readies 4 s ahead.
    DUE=$(((${EPOCHREALTIME%[.,]*} + 18 + 59) / 60 * 60))
    ENDING=()
    run_clock "hour-$1-${2##*.}" "$SOUND_SERVER" 90 "" AlarmMode=1 \
        "AlarmTime=$((DUE / 60 % 1440))" "AlarmName1=$2"
    pid=${pids[-1]}
    at $((DUE - 11))
    "$helper" ticks "$SCREEN" $((DUE + 15)) >"$tmp/ticks" &
    ticks=$!
    # Readings halfway between two ticks, not to delay one.
    at "$((DUE - 6)).3"
    local idle
    idle=$(kb VmRSS "$pid")
    # From here VmHWM is the peak since now.
    echo 5 >"/proc/$pid/clear_refs"
    echo "latency idle $(latency "$1")"
    at "$((DUE - 2)).2"
    echo "latency readied $(latency "$1")"
    at "$((DUE - 1)).5"
    local readied
    readied=$(kb VmHWM "$pid")
    echo 5 >"/proc/$pid/clear_refs"
    at "$((DUE + 3)).2"
    echo "latency playing $(latency "$1")"
    wait "$ticks"
    at $((DUE + 89))
    echo "memory $idle $readied $(kb VmHWM "$pid") $(kb VmRSS "$pid")"
    wait "${ENDING[@]}" 2>/dev/null || true
    cat "$tmp/ticks"
}

# hour_report SERVER WHAT: a row of the memory (MB) and ticks (s) of hour_alarm's lines on
# standard input: ticks seen from 4 s before the minute to 15 s after it, seconds of those with
# no tick, the median and the latest tick, the latest while idle (10 to 5 s before the minute),
# and the longest gap between the helper's looks before a tick it saw.
hour_report() {
    awk -v server="$1" -v what="$2" -v due="$DUE" '
        function sorted(a, n,   i, j, v) {
            for (i = 2; i <= n; i++) {
                v = a[i]
                for (j = i - 1; j > 0 && a[j] > v; j--) a[j + 1] = a[j]
                a[j + 1] = v
            }
        }
        $1 == "memory" { idle = $2; readied = $3; playing = $4; end = $5; next }
        $1 == "latency" { next }
        { second = int($1); if (!(second in late)) { late[second] = $1 - second; gap[second] = $2 } }
        END {
            for (s = due - 4; s < due + 15; s++) {
                if (!(s in late)) { missed++; continue }
                l[++n] = late[s]
                if (late[s] > worst || n == 1) worst = late[s]
                if (gap[s] > looks) looks = gap[s]
            }
            for (s = due - 10; s < due - 5; s++)
                if (s in late && late[s] > idleWorst) idleWorst = late[s]
            sorted(l, n)
            median = n % 2 ? l[(n + 1) / 2] : (l[n / 2] + l[n / 2 + 1]) / 2
            printf "%-10s %-24s %7.1f %+8.1f %+8.1f %+8.1f %5d %6d %+9.3f %+9.3f %+9.3f %9.3f\n",
                server, what, idle / 1024, (readied - idle) / 1024, (playing - idle) / 1024,
                (end - idle) / 1024, n, missed + 0, median, worst, idleWorst, looks
        }'
}

# latency_report SERVER: the sink's latency rows of hour_alarm's lines on standard input.
latency_report() {
    awk -v server="$1" '
        $1 == "latency" { configured[$2] = $3; quantum[$2] = $4; asked[$2] = $5 }
        END {
            printf "%-10s %-28s %9s %9s %9s\n", server, "requested (pactl)", configured["idle"],
                configured["readied"], configured["playing"]
            if (server != "pipewire") exit
            printf "%-10s %-28s %9s %9s %9s\n", server, "driver quantum (pw-profiler)",
                quantum["idle"], quantum["readied"], quantum["playing"]
            printf "%-10s %-28s %9s %9s %9s\n", server, "least node.latency (pw-dump)",
                asked["idle"], asked["readied"], asked["playing"]
        }'
}

CLOCK_ENV=()
# One hour at 44.1 kHz, 16 bits, stereo: about 600 MB.
sox -n -r 44100 -b 16 -c 2 "$tmp/hour.wav" synth 3600 sine 660 vol 0.5
sox "$tmp/hour.wav" "$tmp/hour.ogg"

results=()
hour_results=()
latency_results=()
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
    # The recording asks the sink for 10 ms, which would hide what the clock asks for; nothing
    # is listened to from here on.
    kill -TERM "${SOUND_PIDS[0]}"
    start_display "$kind-x"
    for format in wav ogg; do
        hour_alarm "$kind" "$tmp/hour.$format" >"$tmp/$kind-hour.$format"
        megabytes=$(($(stat -c %s "$tmp/hour.$format") / 1000000))
        hour_results+=("$(hour_report "$kind" "$format, 1 h, $megabytes MB" <"$tmp/$kind-hour.$format")")
    done
    latency_results+=("$(latency_report "$kind" <"$tmp/$kind-hour.wav")")
    CLOCK_ENV=()
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
rm -f "$tmp/hour.wav" "$tmp/hour.ogg"

printf "%-10s %-24s %5s %9s %9s %9s %9s\n" server sound plays "late med" "late max" "heard min" "heard med"
printf '%s\n' "${results[@]}"
echo
printf "%-10s %-28s %9s %9s %9s\n" server "sink latency, ms (wav 1 h)" idle readied playing
printf '%s\n' "${latency_results[@]}"
echo
printf "%-10s %-24s %7s %8s %8s %8s %5s %6s %9s %9s %9s %9s\n" server alarm "idle MB" "readied" \
    "playing" "at end" ticks missed "tick med" "tick max" "idle max" "look gap"
printf '%s\n' "${hour_results[@]}"
echo "MB: the clock's VmRSS at idle, then its peak (VmHWM) while readied and while playing, and its"
echo "size 89 s into the play, over idle. Ticks: when each second's picture reached the X server's"
echo "screen after its whole second, from 4 s before the minute to 15 s after it (idle: 10 to 5 s"
echo "before); each is seen within the look gap after it happened."
echo "load average: $load_before before, $load_after after; $(nproc) cores$( ((cold == 0)) || echo "; sound libraries dropped from the page cache before each round of alarms")"
