# A private sound server that plays into a null sink and records what it plays, for the tests and
# the benchmark that listen. Source it; it needs bash with EPOCHREALTIME.
# sound_server FOLDER LISTEN [pulseaudio|pipewire [CHANNELS]]: starts the server (PulseAudio by
# default, or PipeWire with WirePlumber and its PulseAudio service, on a session bus of its own)
# with one null sink named "listen" (mono unless CHANNELS says otherwise) as the default sink, all
# in FOLDER (its own runtime folder and socket, nothing shared), and records the sink's monitor,
# mixed down to mono, from then on through the LISTEN tool into FOLDER/sink.raw, with the
# wall-clock time of each read in FOLDER/sink.raw.reads.
# Sets SOUND_SERVER (a PULSE_SERVER value), SOUND_PIDS (every process started here) and
# SOUND_SERVER_PID (the one that serves SOUND_SERVER: ending it ends the server for its clients).
sound_server() {
    local folder=$1 listen=$2 kind=${3:-pulseaudio} channels=${4:-1} socket tool
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
    SOUND_DEADLINE=$((${EPOCHREALTIME/[.,]/} / 1000 + 15000))
    # Nothing that leads to another server or session (a bus found through the display
    # included): a server would take that one for itself, already running, and end.
    local server_env=(env -u PULSE_SERVER -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS
        HOME="$folder" XDG_CONFIG_HOME="$folder/config" XDG_STATE_HOME="$folder/state"
        XDG_DATA_HOME="$folder/data" XDG_RUNTIME_DIR="$folder/runtime")
    if [[ $kind == pulseaudio ]]; then
        socket=$folder/runtime/native
        "${server_env[@]}" pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 \
            --load="module-null-sink sink_name=listen rate=44100 channels=$channels" \
            --load="module-native-protocol-unix socket=$socket" >"$folder/server.log" 2>&1 &
        SOUND_PIDS+=($!)
    else
        socket=$folder/runtime/pulse/native
        server_env+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$folder/runtime/bus")
        "${server_env[@]}" dbus-daemon --session --nofork --address="unix:path=$folder/runtime/bus" \
            >"$folder/bus.log" 2>&1 &
        SOUND_PIDS+=($!)
        sound_wait "a session bus for PipeWire" "$folder/bus.log" test -S "$folder/runtime/bus" || return 1
        "${server_env[@]}" pipewire >"$folder/server.log" 2>&1 &
        SOUND_PIDS+=($!)
        sound_wait PipeWire "$folder/server.log" test -S "$folder/runtime/pipewire-0" || return 1
        "${server_env[@]}" wireplumber >"$folder/wireplumber.log" 2>&1 &
        SOUND_PIDS+=($!)
        "${server_env[@]}" pipewire-pulse >"$folder/pipewire-pulse.log" 2>&1 &
        SOUND_PIDS+=($!)
    fi
    SOUND_SERVER=unix:$socket
    SOUND_SERVER_PID=${SOUND_PIDS[-1]}
    sound_wait "the sound server" "$folder/server.log" test -S "$socket" || return 1
    if [[ $kind == pipewire ]]; then
        PULSE_SERVER=$SOUND_SERVER pactl load-module module-null-sink sink_name=listen rate=44100 \
            channels="$channels" >/dev/null ||
            { echo "FAIL: PipeWire made no null sink" >&2; return 1; }
        PULSE_SERVER=$SOUND_SERVER pactl set-default-sink listen
        # The session manager routes new streams to the default sink once it has taken it.
        sound_wait "the null sink as PipeWire's default" "$folder/wireplumber.log" \
            sound_default_sink_is listen || return 1
    fi
    # Small fragments: each read of the recording is then close to the moment it was played.
    PULSE_SERVER=$SOUND_SERVER parec --raw --format=s16le --rate=44100 --channels=1 \
        --latency-msec=10 -d listen.monitor 2>"$folder/parec.log" |
        "$listen" record "$folder/sink.raw" &
    SOUND_PIDS=($! "${SOUND_PIDS[@]}")
    sound_wait "a recording" "$folder/parec.log" test -s "$folder/sink.raw.reads"
}

# sound_wait WHAT LOG COMMAND...: waits until COMMAND succeeds, while the process started last
# runs and until SOUND_DEADLINE; else says that WHAT did not come, shows LOG and fails.
sound_wait() {
    local what=$1 log=$2
    shift 2
    until "$@"; do
        if ! kill -0 "${SOUND_PIDS[-1]}" 2>/dev/null ||
            ((${EPOCHREALTIME/[.,]/} / 1000 >= SOUND_DEADLINE)); then
            echo "FAIL: no $what within 15 s" >&2
            tail -n 20 "$log" >&2
            return 1
        fi
        sleep 0.05
    done
}

sound_default_sink_is() {
    [[ $(PULSE_SERVER=$SOUND_SERVER pactl get-default-sink 2>/dev/null) == "$1" ]]
}

# sound_held_by SERVER PID: the clients and streams that process PID holds on the server SERVER (a
# PULSE_SERVER value), one "Client #N" or "Sink Input #N" line each; libpulse gives every client
# the application.process.id of its process, and a stream shows its client's.
sound_held_by() {
    local list
    for list in clients sink-inputs; do
        PULSE_SERVER=$1 pactl list "$list" | awk -v pid="\"$2\"" '
            /^[A-Z][A-Za-z ]* #[0-9]+$/ { item = $0 }
            $1 == "application.process.id" && $3 == pid { print item }'
    done
}
