#!/usr/bin/env bash
# Runs a test program with a private sound server that plays into a null sink, so real playback
# runs its whole course without a sound card and without the user's own server. Where no server
# can be started, the test runs with none, which the players must cope with as well.
# Usage: with-null-sink.sh PROGRAM [ARGS...]
set -euo pipefail

folder=$(mktemp -d "${TMPDIR:-/tmp}/quillon-sink.XXXXXX")
server=
cleanup() {
    if [[ -n $server ]]; then
        # A test may have left it stopped.
        kill -CONT "$server" 2>/dev/null || true
        kill -TERM "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$folder"
}
trap cleanup EXIT

mkdir -m 700 "$folder/runtime"
socket=$folder/runtime/native
export PULSE_SERVER=unix:$socket
if command -v pulseaudio >/dev/null 2>&1; then
    HOME=$folder XDG_RUNTIME_DIR=$folder/runtime pulseaudio -n --daemonize=no \
        --use-pid-file=no --exit-idle-time=-1 --load=module-null-sink \
        --load="module-native-protocol-unix socket=$socket" >"$folder/server.log" 2>&1 &
    server=$!
    for _ in $(seq 100); do
        [[ -S $socket ]] && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.05
    done
fi
if [[ -S $socket ]]; then
    echo "# sound server with a null sink at $socket"
else
    echo "# no sound server; playing without one"
fi

# The tests that stop the server find it here.
export QUILLON_TEST_SOUND_SERVER_PID=$server
"$@"
