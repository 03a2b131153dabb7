#!/usr/bin/env bash
# Idle cost of the clock next to a bare Qt Widgets program that repaints once a second.
# Usage: bench/idle.sh SECONDS [CLOCK] [MINIMAL]
#   CLOCK defaults to build/app/quillon, MINIMAL to build/bench/minimal-idle/quillon-minimal-idle.
# Both run side by side under one private Xvfb, each with its own settings and runtime folders.
# CPU is counted from the moment each window is shown, so start-up work is reported apart.
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

tmp=$(mktemp -d "${TMPDIR:-/tmp}/quillon-idle.XXXXXX")
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

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

# start NAME PROGRAM: runs it with folders of its own; its pid goes to started_pid.
start() {
    mkdir -p "$tmp/$1/config" "$tmp/$1/home"
    mkdir -m 700 "$tmp/$1/runtime"
    HOME=$tmp/$1/home XDG_CONFIG_HOME=$tmp/$1/config XDG_RUNTIME_DIR=$tmp/$1/runtime \
        "$2" >"$tmp/$1.log" 2>&1 &
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
wait_window "$clock_pid" clock
wait_window "$minimal_pid" minimal
# Let both finish their first paints before counting.
sleep 1
clock_start=$(ticks "$clock_pid")
minimal_start=$(ticks "$minimal_pid")
echo "Measuring ${seconds} s of idle time on $DISPLAY ..."
sleep "$seconds"
for pid in "$clock_pid" "$minimal_pid"; do
    kill -0 "$pid" 2>/dev/null || { echo "a program ended during the run" >&2; exit 1; }
done
clock_end=$(ticks "$clock_pid")
minimal_end=$(ticks "$minimal_pid")
clock_rss=$(peak_rss_kib "$clock_pid")
minimal_rss=$(peak_rss_kib "$minimal_pid")

awk -v secs="$seconds" -v hz="$(getconf CLK_TCK)" \
    -v c0="$clock_start" -v c1="$clock_end" -v m0="$minimal_start" -v m1="$minimal_end" \
    -v crss="$clock_rss" -v mrss="$minimal_rss" '
function verdict(ok) { return ok ? "met" : "NOT met" }
BEGIN {
    tick = 1 / hz
    ccpu = (c1 - c0) / hz; mcpu = (m1 - m0) / hz
    printf "%-10s %12s %12s %10s %14s\n", "program", "start CPU s", "idle CPU s", "% of core", "peak RSS MiB"
    printf "%-10s %12.2f %12.2f %10.3f %14.1f\n", "clock", c0 / hz, ccpu, 100 * ccpu / secs, crss / 1024
    printf "%-10s %12.2f %12.2f %10.3f %14.1f\n", "minimal", m0 / hz, mcpu, 100 * mcpu / secs, mrss / 1024
    # CPU is counted in ticks: a baseline of zero ticks is taken as one, so the ratio stays finite.
    cpu_ratio = ccpu / (mcpu > 0 ? mcpu : tick)
    rss_ratio = crss / mrss
    printf "\nclock/minimal: CPU %.2fx, RSS %.2fx\n", cpu_ratio, rss_ratio
    printf "aim CPU within 1.5x the minimal program: %s\n", verdict(cpu_ratio <= 1.5 || ccpu <= tick)
    printf "aim RSS within 1.3x the minimal program: %s\n", verdict(rss_ratio <= 1.3)
    printf "aim under 0.5 %% of one core:            %s\n", verdict(100 * ccpu / secs < 0.5)
    if (secs < 60) printf "(short run: CPU is counted in %.2f s ticks; 60 s or more gives steadier figures)\n", tick
}'
