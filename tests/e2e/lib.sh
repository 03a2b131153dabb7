# Shared by the end-to-end tests: a private session bus and X server (or a Wayland session with
# XWayland), private settings and runtime folders, the clock started in the background, and
# cleanup of everything started here.
# Source it with the program's path as $1.
set -euo pipefail

if (($# < 1)) || [[ ! -x $1 ]]; then
    echo "usage: $0 PATH-TO-QUILLON (got '${1:-}', which is not an executable)" >&2
    exit 2
fi
PROGRAM=$1

for tool in Xvfb xwininfo xdotool xprop xwd; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAIL: '$tool' is not installed; run tools/install-deps.sh" >&2
        exit 1
    fi
done

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/quillon-e2e.XXXXXX")
E2E_PIDS=()
# Processes that end by themselves once the processes they wait for have ended: they are waited
# for after those, never sent SIGTERM. faketime's wrapper removes its shared memory and semaphore
# only then; killed, it leaves them behind, and a later wrapper given the same pid cannot start.
E2E_WAITED_PIDS=()
# The display server and the session bus it needs: ended after everything that uses them.
SERVER_PIDS=()

e2e_cleanup() {
    local status=$? pid i
    trap - EXIT
    # Logs and the window tree first, while the X server still runs.
    if ((status != 0)); then
        e2e_dump_logs
    fi
    for pid in "${E2E_PIDS[@]}"; do
        if e2e_alive "$pid"; then kill -TERM "$pid" 2>/dev/null || true; fi
    done
    for pid in "${E2E_PIDS[@]}" "${E2E_WAITED_PIDS[@]}"; do
        e2e_reap "$pid"
    done
    # The servers one by one, the last started first: mutter whose bus ends before it leaves its
    # X display locks behind.
    for ((i = ${#SERVER_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${SERVER_PIDS[i]}
        if e2e_alive "$pid"; then kill -TERM "$pid" 2>/dev/null || true; fi
        e2e_reap "$pid"
    done
    rm -rf "$E2E_TMP"
    exit "$status"
}
# e2e_reap PID: waits for the process to end; one that ignores SIGTERM for 3 s gets SIGKILL.
e2e_reap() {
    if ! e2e_wait_gone "$1" 3; then
        kill -KILL "$1" 2>/dev/null || true
    fi
    wait "$1" 2>/dev/null || true
}
trap e2e_cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

note() {
    echo "# $*"
}

e2e_dump_logs() {
    local log
    for log in "$E2E_TMP"/*.log; do
        [[ -s $log ]] || continue
        echo "--- $(basename "$log") ---" >&2
        tail -n 40 "$log" >&2
    done
    if [[ -n ${DISPLAY:-} && ${#SERVER_PIDS[@]} -gt 0 ]]; then
        echo "--- windows on $DISPLAY ---" >&2
        xwininfo -root -tree 2>&1 | tail -n 30 >&2 || true
    fi
}

# Milliseconds since the epoch, for deadlines.
now_ms() {
    local us=${EPOCHREALTIME/[.,]/}
    echo $((us / 1000))
}

# True while the process runs; a zombie counts as ended.
e2e_alive() {
    local state
    kill -0 "$1" 2>/dev/null || return 1
    state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) || return 1
    [[ $state != Z ]]
}

# e2e_wait_gone PID SECONDS: true if the process ended within the time.
e2e_wait_gone() {
    local deadline=$(($(now_ms) + $2 * 1000))
    while e2e_alive "$1"; do
        if (($(now_ms) > deadline)); then
            return 1
        fi
        sleep 0.05
    done
}

# Starts an X server of its own on a display it picks (no clash with parallel tests), and
# exports DISPLAY. Its one screen is E2E_SCREEN, 1280x1024x24 unless set.
# QUILLON_E2E_WM adds a window manager (openbox), or replaces the X server by a headless Wayland
# session whose XWayland the clock runs on, as on today's desktops (gnome, kde; 1280 x 1024).
# -noreset: by default the server resets whenever its last client leaves, and refuses every
# connection meanwhile; a clock starting just as an xdotool query ends would find no display.
e2e_start_x() {
    local display_file=$E2E_TMP/display
    e2e_start_bus
    case ${QUILLON_E2E_WM:-} in
        "" | openbox) ;;
        gnome | kde)
            e2e_start_wayland_session "$QUILLON_E2E_WM"
            return
            ;;
        *) fail "unknown window manager '$QUILLON_E2E_WM'" ;;
    esac
    : >"$display_file"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024x24}" -nolisten tcp -noreset \
        3>"$display_file" >"$E2E_TMP/xvfb.log" 2>&1 &
    SERVER_PIDS+=($!)
    # Xvfb writes the display number once it accepts clients.
    e2e_wait_ready "${SERVER_PIDS[-1]}" Xvfb test -s "$display_file"
    export DISPLAY=:$(tr -d '[:space:]' <"$display_file")
    note "X server on $DISPLAY"
    # Tests registered to run under a window manager as well get one here.
    if [[ ${QUILLON_E2E_WM:-} == openbox ]]; then
        e2e_start_wm
    fi
}

# Starts openbox on the private X server and waits until it manages windows. A window manager
# reparents the clock into a frame, answers _NET_ACTIVE_WINDOW and keeps _NET_WM_STATE.
e2e_start_wm() {
    local ready=$E2E_TMP/wm-ready
    command -v openbox >/dev/null 2>&1 || fail "'openbox' is not installed; run tools/install-deps.sh"
    # _NET_SUPPORTING_WM_CHECK comes too early: a window mapped soon after it was never managed
    # (left unmapped) now and then. The startup command runs once openbox has taken over.
    # No user configuration: openbox's own defaults.
    XDG_CONFIG_HOME=$E2E_TMP/wm-config openbox --sm-disable --startup "touch $ready" \
        >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    e2e_wait_ready "${E2E_PIDS[-1]}" openbox test -e "$ready"
    note "window manager: openbox"
}

# e2e_start_wayland_session gnome|kde: starts the desktop's compositor headless, with XWayland
# on the test's session bus, and exports what its programs would see: DISPLAY, XAUTHORITY,
# WAYLAND_DISPLAY and DBUS_SESSION_BUS_ADDRESS. The compositor picks a free X display; its
# Wayland socket lives in the test's own XDG_RUNTIME_DIR.
e2e_start_wayland_session() {
    local ready=$E2E_TMP/session-ready env_file=$E2E_TMP/session-env
    local compositor xauthority
    # mutter creates this folder, when missing, without the write access for all that it then
    # demands (its mkdir is subject to the umask); the system's own is 1777.
    mkdir -p -m 1777 /tmp/.X11-unix

    # Both compositors start a command once they and XWayland are ready; KWin passes it no
    # arguments, so it is a script of its own. It writes the session's environment and its own
    # pid, then stays: mutter ends with it.
    printf '#!/bin/sh\necho $$ >%q.pid\nenv >%q.tmp && mv %q.tmp %q\nexec sleep infinity\n' \
        "$env_file" "$env_file" "$env_file" "$env_file" >"$ready"
    chmod +x "$ready"
    case $1 in
        gnome)
            command -v mutter >/dev/null 2>&1 || fail "'mutter' is not installed; run tools/install-deps.sh"
            XDG_CONFIG_HOME=$E2E_TMP/wm-config mutter --headless --wayland --virtual-monitor 1280x1024 \
                --wayland-display=wayland-0 -- "$ready" >"$E2E_TMP/mutter.log" 2>&1 &
            compositor=mutter
            ;;
        kde)
            command -v kwin_wayland >/dev/null 2>&1 ||
                fail "'kwin_wayland' is not installed; run tools/install-deps.sh"
            # The installed file carries capabilities, which a container refuses to execute;
            # a plain copy needs none.
            cp "$(command -v kwin_wayland)" "$E2E_TMP/kwin_wayland"
            XDG_CONFIG_HOME=$E2E_TMP/wm-config "$E2E_TMP/kwin_wayland" --virtual --xwayland \
                --width 1280 --height 1024 --socket wayland-0 -- "$ready" >"$E2E_TMP/kwin.log" 2>&1 &
            compositor=kwin_wayland
            ;;
    esac
    SERVER_PIDS+=($!)
    e2e_wait_ready "${SERVER_PIDS[-1]}" "$compositor" test -e "$env_file"
    SERVER_PIDS+=("$(cat "$env_file.pid")")

    export DISPLAY=$(sed -n 's/^DISPLAY=//p' "$env_file")
    export WAYLAND_DISPLAY=$(sed -n 's/^WAYLAND_DISPLAY=//p' "$env_file")
    [[ -n $DISPLAY ]] || fail "$compositor started no XWayland"
    # mutter's XWayland wants its authority file; KWin's accepts any local client.
    xauthority=$(sed -n 's/^XAUTHORITY=//p' "$env_file")
    if [[ -n $xauthority ]]; then export XAUTHORITY=$xauthority; else unset XAUTHORITY; fi
    note "$compositor on $WAYLAND_DISPLAY, XWayland on $DISPLAY"
}

# A session bus of the test's own, in its runtime folder: nothing on the caller's bus (a panel,
# a screen reader, another test's clock) answers the clock. Exports DBUS_SESSION_BUS_ADDRESS.
e2e_start_bus() {
    local bus_file=$E2E_TMP/bus-address
    [[ -n ${XDG_RUNTIME_DIR:-} ]] || fail "call e2e_private_env before e2e_start_x"
    command -v dbus-daemon >/dev/null 2>&1 || fail "'dbus-daemon' is not installed; run tools/install-deps.sh"
    : >"$bus_file"
    dbus-daemon --session --nofork --address="unix:path=$XDG_RUNTIME_DIR/bus" --print-address=3 \
        3>"$bus_file" >"$E2E_TMP/dbus.log" 2>&1 &
    SERVER_PIDS+=($!)
    e2e_wait_ready "${SERVER_PIDS[-1]}" dbus-daemon test -s "$bus_file"
    export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$bus_file")
}

# e2e_wait_ready PID NAME COMMAND...: waits up to 15 s for COMMAND to succeed while PID runs.
e2e_wait_ready() {
    local pid=$1 name=$2 deadline=$(($(now_ms) + 15000))
    shift 2
    until "$@"; do
        e2e_alive "$pid" || fail "$name ended before it was ready"
        (($(now_ms) < deadline)) || fail "$name was not ready within 15 s"
        sleep 0.05
    done
}

# A fresh user environment: nothing from the caller's settings, sessions or sound server.
e2e_private_env() {
    export HOME=$E2E_TMP/home
    export XDG_CONFIG_HOME=$E2E_TMP/config
    export XDG_RUNTIME_DIR=$E2E_TMP/runtime
    mkdir -p "$HOME" "$XDG_CONFIG_HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    export QT_QPA_PLATFORM=xcb
    export LANG=C.UTF-8
    unset WAYLAND_DISPLAY LC_ALL QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
    # No sound server may be spawned by the clock and outlive the test.
    export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/no-pulse
    INI=$XDG_CONFIG_HOME/Quillon/Quillon.ini
}

# e2e_store_settings KEY=VALUE...: the settings a previous run left, read at the next start.
e2e_store_settings() {
    mkdir -p "$(dirname "$INI")"
    printf '[Setting]\n' >"$INI"
    printf '%s\n' "$@" >>"$INI"
}

# e2e_start_clock NAME: starts the program in the background; its pid goes to CLOCK_PID,
# its output to NAME.log.
e2e_start_clock() {
    "$PROGRAM" >"$E2E_TMP/$1.log" 2>&1 &
    CLOCK_PID=$!
    E2E_PIDS+=("$CLOCK_PID")
}

# Visible (mapped and viewable) top-level windows of a process, one id per line.
e2e_windows_of() {
    xdotool search --onlyvisible --pid "$1" 2>/dev/null || true
}

# Visible windows of any copy of the clock, found by WM_CLASS.
e2e_clock_windows() {
    xdotool search --onlyvisible --class quillon 2>/dev/null || true
}

# xwininfo_field WINDOW-INFO LABEL: the value after "LABEL:" in xwininfo's output.
xwininfo_field() {
    sed -n "s/^ *$2: *//p" <<<"$1" | head -n 1
}

# e2e_wait_bar PID: waits for the process's one visible window to be 240 x 40.
# Sets WINDOW and WININFO.
e2e_wait_bar() {
    local pid=$1 deadline windows count
    deadline=$(($(now_ms) + 20000))
    WININFO=
    while :; do
        e2e_alive "$pid" || fail "the clock ended before showing its window"
        windows=$(e2e_windows_of "$pid")
        count=$(grep -c . <<<"$windows" || true)
        if ((count == 1)); then
            WINDOW=$windows
            WININFO=$(xwininfo -id "$WINDOW" 2>&1 || true)
            if [[ $(xwininfo_field "$WININFO" Width) == 240 &&
                $(xwininfo_field "$WININFO" Height) == 40 ]]; then
                return 0
            fi
        fi
        if (($(now_ms) > deadline)); then
            echo "visible windows of pid $pid: ${windows:-none}" >&2
            [[ -n $WININFO ]] && echo "$WININFO" >&2
            fail "no single 240 x 40 window within 20 s"
        fi
        sleep 0.1
    done
}

# e2e_window_pixels WINDOW: dumps what the window shows into XWD_FILE; the pixels, 4 bytes each
# (blue, green, red, unused), start at byte XWD_START, a row every XWD_STRIDE bytes.
e2e_window_pixels() {
    local header
    XWD_FILE=$E2E_TMP/window.xwd
    xwd -silent -id "$1" >"$XWD_FILE" || fail "cannot read the pixels of window $1"
    # 25 big-endian 32-bit fields, then ncolors colour entries of 12 bytes, then the pixels.
    read -r -a header < <(od -An -N100 -tu4 --endian=big -w100 "$XWD_FILE")
    ((header[7] == 0 && header[11] == 32)) || fail "unexpected dump: byte order ${header[7]}, ${header[11]} bits"
    XWD_START=$((header[0] + header[19] * 12))
    XWD_STRIDE=${header[12]}
}

# e2e_window_titled PID TITLE: the process's visible window with that title, if any.
e2e_window_titled() {
    local id
    for id in $(e2e_windows_of "$1"); do
        [[ $(xprop -id "$id" _NET_WM_NAME 2>/dev/null) == *"= \"$2\"" ]] && echo "$id"
    done
    return 0
}

# e2e_open_menu: right click on the clock's bar $WINDOW, then wait for the popup's own window.
e2e_open_menu() {
    local deadline=$(($(now_ms) + 5000))
    xdotool mousemove --window "$WINDOW" 30 20 click 3
    until (($(e2e_windows_of "$CLOCK_PID" | grep -c .) > 1)); do
        (($(now_ms) < deadline)) || fail "no menu after a right click on the bar"
        sleep 0.05
    done
}

# e2e_window_position WINDOW: "X Y" of its upper-left corner on the screen.
e2e_window_position() {
    local info
    info=$(xwininfo -id "$1" 2>&1 || true)
    echo "$(xwininfo_field "$info" "Absolute upper-left X") $(xwininfo_field "$info" "Absolute upper-left Y")"
}

# e2e_wait_position WINDOW "X Y": true once the window stands there, false if not within 3 s
# (it may be moved just after being shown). Sets POSITION to where it was last seen.
e2e_wait_position() {
    local deadline=$(($(now_ms) + 3000))
    while :; do
        POSITION=$(e2e_window_position "$1")
        [[ $POSITION == "$2" ]] && return 0
        (($(now_ms) < deadline)) || return 1
        sleep 0.1
    done
}

# e2e_wait_ticks WINDOW COUNT: waits until the clock has drawn COUNT more seconds into its bar
# WINDOW (the character changes its frame every second), so that what it did before them is
# done and on the screen. Seconds drawn between two looks count once: it waits longer, never less.
e2e_wait_ticks() {
    local last=$E2E_TMP/tick-last.xwd now=$E2E_TMP/tick-now.xwd seen=0
    local deadline=$(($(now_ms) + ($2 + 5) * 1000))
    xwd -silent -id "$1" >"$last" || fail "cannot read the pixels of window $1"
    while ((seen < $2)); do
        (($(now_ms) < deadline)) || fail "the bar drew $seen of $2 seconds within $(($2 + 5)) s"
        sleep 0.05
        xwd -silent -id "$1" >"$now" || fail "cannot read the pixels of window $1"
        if ! cmp -s "$last" "$now"; then
            mv "$now" "$last"
            seen=$((seen + 1))
        fi
    done
}
