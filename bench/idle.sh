#!/usr/bin/env bash
# Idle cost of the clock next to a bare Qt Widgets program that repaints once a second, and
# next to xclock ticking every second when it is installed.
# Usage: bench/idle.sh SECONDS [CLOCK] [MINIMAL]
#   CLOCK defaults to build/app/quillon, MINIMAL to build/bench/minimal-idle/quillon-minimal-idle.
# All run side by side under one private Xvfb, each with its own settings and runtime folders.
# CPU and wakeups are counted from the moment each window is shown, so start-up work is
# reported apart. Wakeups are the voluntary and involuntary context switches of all threads.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-}
clock=${2:-$root/build/app/quillon}
minimal=${3:-$root/build/bench/minimal-idle/quillon-minimal-idle}

if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 SECONDS [CLOCK] [MINIMAL]" >&2
    exit 2
fi
for program in "$clock" "$minimal"; do
    [[ -x $program ]] || { echo "not built: $program (run 'make build')" >&2; exit 2; }
done
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "'$tool' is missing: run tools/install-deps.sh" >&2; exit 2; }
done

source "$root/bench/scratch.sh" quillon-idle

now_ms() {
    local us=${EPOCHREALTIME/[.,]/}
    echo $((us / 1000))
}

# Xvfb picks a free display itself and tells it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
pids+=($!)
deadline=$(($(now_ms) + 15000))
until [[ -s $tmp/display ]]; do
    (($(now_ms) < deadline)) || { echo "Xvfb did not start" >&2; cat "$tmp/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
export DISPLAY=:$(tr -d '[:space:]' <"$tmp/display")
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8
unset WAYLAND_DISPLAY
# No sound server may be spawned on the clock's behalf and outlive the run.
export PULSE_SERVER=unix:$tmp/no-pulse

# start NAME PROGRAM [ARGUMENT...]: runs it with folders of its own; its pid goes to started_pid.
start() {
    mkdir -p "$tmp/$1/config" "$tmp/$1/home"
    mkdir -m 700 "$tmp/$1/runtime"
    HOME=$tmp/$1/home XDG_CONFIG_HOME=$tmp/$1/config XDG_RUNTIME_DIR=$tmp/$1/runtime \
        "${@:2}" >"$tmp/$1.log" 2>&1 &
    started_pid=$!
    pids+=("$started_pid")
}

# CPU time of a process in clock ticks (utime + stime); the name field may hold spaces.
ticks() {
    local stat
    stat=$(<"/proc/$1/stat")
    stat=${stat##*) }
    awk '{ print $12 + $13 }' <<<"$stat"
}

# Context switches of all the threads of a process, voluntary and involuntary.
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^(non)?voluntary_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}

peak_rss_kib() {
    awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"
}

wait_window() {
    local deadline=$(($(now_ms) + 20000))
    until [[ -n $(xdotool search --onlyvisible --pid "$1" 2>/dev/null) ]]; do
        kill -0 "$1" 2>/dev/null || { echo "$2 ended before showing a window:" >&2; cat "$tmp/$2.log" >&2; exit 1; }
        (($(now_ms) < deadline)) || { echo "$2 showed no window within 20 s" >&2; exit 1; }
        sleep 0.1
    done
}

start clock "$clock"
clock_pid=$started_pid
start minimal "$minimal"
minimal_pid=$started_pid
names=(clock minimal)
measured=("$clock_pid" "$minimal_pid")
if command -v xclock >/dev/null; then
    start xclock xclock -update 1
    measured+=("$started_pid")
    names+=(xclock)
fi
for i in "${!names[@]}"; do
    wait_window "${measured[$i]}" "${names[$i]}"
done
# Let all finish their first paints before counting.
sleep 1
declare -A cpu0 switch0
for i in "${!names[@]}"; do
    cpu0[$i]=$(ticks "${measured[$i]}")
    switch0[$i]=$(switches "${measured[$i]}")
done
echo "Measuring ${seconds} s of idle time on $DISPLAY ..."
sleep "$seconds"
rows=
for i in "${!names[@]}"; do
    pid=${measured[$i]}
    kill -0 "$pid" 2>/dev/null || { echo "${names[$i]} ended during the run" >&2; exit 1; }
    rows+="${names[$i]} ${cpu0[$i]} $(ticks "$pid") $(peak_rss_kib "$pid") ${switch0[$i]} $(switches "$pid")"$'\n'
done

awk -v secs="$seconds" -v hz="$(getconf CLK_TCK)" '
function verdict(ok) { return ok ? "met" : "NOT met" }
BEGIN {
    tick = 1 / hz
    printf "%-10s %12s %12s %10s %14s %12s\n", "program", "start CPU s", "idle CPU s", "% of core", "peak RSS MiB", "wakeups/s"
}
NF == 6 {
    cpu[$1] = ($3 - $2) / hz; rss[$1] = $4; wake[$1] = ($6 - $5) / secs
    printf "%-10s %12.2f %12.2f %10.3f %14.1f %12.2f\n", $1, $2 / hz, cpu[$1], 100 * cpu[$1] / secs, $4 / 1024, wake[$1]
}
END {
    # CPU is counted in ticks: a baseline of zero ticks is taken as one, so the ratio stays finite.
    cpu_ratio = cpu["clock"] / (cpu["minimal"] > 0 ? cpu["minimal"] : tick)
    rss_ratio = rss["clock"] / rss["minimal"]
    printf "\nclock/minimal: CPU %.2fx, RSS %.2fx, wakeups %.2fx\n", cpu_ratio, rss_ratio, wake["clock"] / wake["minimal"]
    printf "aim CPU within 1.5x the minimal program: %s\n", verdict(cpu_ratio <= 1.5 || cpu["clock"] <= tick)
    printf "aim RSS within 1.3x the minimal program: %s\n", verdict(rss_ratio <= 1.3)
    printf "aim under 0.5 %% of one core:            %s\n", verdict(100 * cpu["clock"] / secs < 0.5)
    printf "aim wakeups at most the minimal one:     %s\n", verdict(wake["clock"] <= wake["minimal"])
    if (secs < 60) printf "(short run: CPU is counted in %.2f s ticks; 60 s or more gives steadier figures)\n", tick
}' <<<"$rows"
