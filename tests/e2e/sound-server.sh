# A private sound server that plays into a null sink and records what it plays, for the tests and
# the benchmark that listen. Source it; it needs bash with EPOCHREALTIME.
# sound_server FOLDER LISTEN: starts PulseAudio with one mono null sink in FOLDER (its own
# runtime folder and socket, nothing shared) and records the sink's monitor from then on through
# the LISTEN tool into FOLDER/sink.raw, with the wall-clock time of its first sample in
# FOLDER/sink.raw.start. Sets SOUND_SERVER (a PULSE_SERVER value) and SOUND_PIDS.
sound_server() {
    local folder=$1 listen=$2 socket deadline
    for tool in pulseaudio parec; do
        command -v "$tool" >/dev/null 2>&1 ||
            { echo "FAIL: '$tool' is not installed; run tools/install-deps.sh" >&2; return 1; }
    done
    mkdir -p "$folder"
    mkdir -m 700 "$folder/runtime"
    socket=$folder/runtime/native
    SOUND_SERVER=unix:$socket
    SOUND_PIDS=()
    # Nothing that leads to another server (a bus found through the display included): it would
    # take that one for itself, already running, and end.
    env -u PULSE_SERVER -u DISPLAY -u DBUS_SESSION_BUS_ADDRESS HOME="$folder" \
        XDG_CONFIG_HOME="$folder/config" XDG_RUNTIME_DIR="$folder/runtime" pulseaudio -n --daemonize=no --use-pid-file=no \
        --exit-idle-time=-1 --load="module-null-sink sink_name=listen rate=44100 channels=1" \
        --load="module-native-protocol-unix socket=$socket" >"$folder/server.log" 2>&1 &
    SOUND_PIDS+=($!)
    deadline=$((${EPOCHREALTIME/[.,]/} / 1000 + 15000))
    until [[ -S $socket ]]; do
        kill -0 "${SOUND_PIDS[0]}" 2>/dev/null ||
            { echo "FAIL: the sound server ended at start" >&2; cat "$folder/server.log" >&2; return 1; }
        ((${EPOCHREALTIME/[.,]/} / 1000 < deadline)) ||
            { echo "FAIL: no sound server within 15 s" >&2; return 1; }
        sleep 0.05
    done
    # Small fragments: each read of the recording is then close to the moment it was played.
    PULSE_SERVER=$SOUND_SERVER parec --raw --format=s16le --rate=44100 --channels=1 \
        --latency-msec=10 -d listen.monitor 2>"$folder/parec.log" |
        "$listen" record "$folder/sink.raw" &
    SOUND_PIDS+=($!)
    until [[ -s $folder/sink.raw.start ]]; do
        ((${EPOCHREALTIME/[.,]/} / 1000 < deadline)) ||
            { echo "FAIL: nothing recorded from the sound server" >&2; cat "$folder/parec.log" >&2; return 1; }
        sleep 0.05
    done
}
