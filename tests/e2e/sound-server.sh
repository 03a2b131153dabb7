# A private sound server that plays into a null sink and records what it plays, for the tests and
# the benchmark that listen. Source it; it needs bash with EPOCHREALTIME.
# sound_server FOLDER LISTEN [pulseaudio|pipewire]: starts the server (PulseAudio by default, or
# PipeWire with WirePlumber and its PulseAudio service, on a session bus of its own) with one
# mono null sink named "listen" as the default sink, all in FOLDER (its own runtime folder and
# socket, nothing shared), and records the sink's monitor from then on through the LISTEN tool
# into FOLDER/sink.raw, with the wall-clock time of each read in FOLDER/sink.raw.reads.
# Sets SOUND_SERVER (a PULSE_SERVER value), SOUND_PIDS (every process started here) and
# SOUND_SERVER_PID (the one that serves SOUND_SERVER: ending it ends the server for its clients).
sound_server() {
    local folder=$1 listen=$2 kind=${3:-pulseaudio} socket deadline tool
    local tools=(parec pactl)
    case $kind in
        pulseaudio) tools+=(pulseaudio) ;;
        pipewire) tools+=(pipewire wireplumber pipewire-pulse dbus-daemon) ;;
        *) { echo "FAIL: unknown sound server '$kind'" >&2; return 1; } ;;
    esac
    for tool in "${tools[@]}"; do
        command -v "$tool" >/dev/null 2>&1 ||
            { echo "FAIL: '$tool' is not installed; run tools/install-deps.sh" >&2; return 1; }
    done
    mkdir -p "$folder"
    mkdir -m 700 "$folder/runtime"
    SOUND_PIDS=()
    deadline=$((${EPOCHREALTIME/[.,]/} / 1000 + 15000))
    # Nothing that leads to another server or session (a bus found through the display
    # included): a server would take that one for itself, already running, and end.
    local server_env=(env -u PULSE_SERVER -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS
        HOME="$folder" XDG_CONFIG_HOME="$folder/config" XDG_STATE_HOME="$folder/state"
        XDG_DATA_HOME="$folder/data" XDG_RUNTIME_DIR="$folder/runtime")
    if [[ $kind == pulseaudio ]]; then
        socket=$folder/runtime/native
        "${server_env[@]}" pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 \
            --load="module-null-sink sink_name=listen rate=44100 channels=1" \
            --load="module-native-protocol-unix socket=$socket" >"$folder/server.log" 2>&1 &
        SOUND_PIDS+=($!)
    else
        socket=$folder/runtime/pulse/native
        server_env+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$folder/runtime/bus")
        "${server_env[@]}" dbus-daemon --session --nofork --address="unix:path=$folder/runtime/bus" \
            >"$folder/bus.log" 2>&1 &
        SOUND_PIDS+=($!)
        until [[ -S $folder/runtime/bus ]]; do
            ((${EPOCHREALTIME/[.,]/} / 1000 < deadline)) ||
                { echo "FAIL: no session bus for PipeWire within 15 s" >&2; return 1; }
            sleep 0.05
        done
        "${server_env[@]}" pipewire >"$folder/server.log" 2>&1 &
        SOUND_PIDS+=($!)
        until [[ -S $folder/runtime/pipewire-0 ]]; do
            kill -0 "${SOUND_PIDS[-1]}" 2>/dev/null ||
                { echo "FAIL: PipeWire ended at start" >&2; cat "$folder/server.log" >&2; return 1; }
            ((${EPOCHREALTIME/[.,]/} / 1000 < deadline)) ||
                { echo "FAIL: no PipeWire within 15 s" >&2; return 1; }
            sleep 0.05
        done
        "${server_env[@]}" wireplumber >"$folder/wireplumber.log" 2>&1 &
        SOUND_PIDS+=($!)
        "${server_env[@]}" pipewire-pulse >"$folder/pipewire-pulse.log" 2>&1 &
        SOUND_PIDS+=($!)
    fi
    SOUND_SERVER=unix:$socket
    SOUND_SERVER_PID=${SOUND_PIDS[-1]}
    until [[ -S $socket ]]; do
        kill -0 "$SOUND_SERVER_PID" 2>/dev/null ||
            { echo "FAIL: the sound server ended at start" >&2; cat "$folder/server.log" >&2; return 1; }
        ((${EPOCHREALTIME/[.,]/} / 1000 < deadline)) ||
            { echo "FAIL: no sound server within 15 s" >&2; return 1; }
        sleep 0.05
    done
    if [[ $kind == pipewire ]]; then
        PULSE_SERVER=$SOUND_SERVER pactl load-module module-null-sink sink_name=listen rate=44100 \
            channels=1 >/dev/null || { echo "FAIL: PipeWire made no null sink" >&2; return 1; }
        PULSE_SERVER=$SOUND_SERVER pactl set-default-sink listen
        # The session manager routes new streams to the default sink once it has taken it.
        until [[ $(PULSE_SERVER=$SOUND_SERVER pactl get-default-sink 2>/dev/null) == listen ]]; do
            ((${EPOCHREALTIME/[.,]/} / 1000 < deadline)) ||
                { echo "FAIL: PipeWire's default sink is not the null sink" >&2; return 1; }
            sleep 0.05
        done
    fi
    # Small fragments: each read of the recording is then close to the moment it was played.
    PULSE_SERVER=$SOUND_SERVER parec --raw --format=s16le --rate=44100 --channels=1 \
        --latency-msec=10 -d listen.monitor 2>"$folder/parec.log" |
        "$listen" record "$folder/sink.raw" &
    SOUND_PIDS=($! "${SOUND_PIDS[@]}")
    until [[ -s $folder/sink.raw.reads ]]; do
        ((${EPOCHREALTIME/[.,]/} / 1000 < deadline)) ||
            { echo "FAIL: nothing recorded from the sound server" >&2; cat "$folder/parec.log" >&2; return 1; }
        sleep 0.05
    done
}
