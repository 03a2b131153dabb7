#!/usr/bin/env bash
# A read-only settings folder: "長い" still widens the bar and a message "クイロン" says the
# settings are not saved; SIGTERM ends the clock with 0 and one line on standard error naming
# the file and the reason. The file stays as it was.
source "$(dirname "$0")/lib.sh"

e2e_private_env
e2e_start_x
e2e_store_settings Left=7800 Top=7380 TimeWidth=240
folder=$(dirname "$INI")
cp "$INI" "$E2E_TMP/before.ini"
if ((EUID == 0)); then
    # Permissions do not stop root: a read-only mount of the folder, seen by the clock alone.
    PROGRAM_RUN=(unshare --mount --propagation private
        sh -c 'mount --bind -o ro "$0" "$0" && exec "$@"' "$folder" "$PROGRAM")
else
    chmod a-w "$folder"
    trap 'status=$?; chmod u+w "$folder"; (exit $status); e2e_cleanup' EXIT
    PROGRAM_RUN=("$PROGRAM")
fi
"${PROGRAM_RUN[@]}" >"$E2E_TMP/clock.log" 2>&1 &
CLOCK_PID=$!
E2E_PIDS+=("$CLOCK_PID")
e2e_wait_bar "$CLOCK_PID"

# "表示幅", then its third item "長い"; Enter closes the message once it has the focus.
e2e_open_menu
xdotool key --delay 100 Down Right Down Down Return
deadline=$(($(now_ms) + 5000))
until message=$(e2e_window_titled "$CLOCK_PID" "クイロン") && [[ -n $message &&
    $(xdotool getwindowfocus) == "$message" ]]; do
    (($(now_ms) < deadline)) || fail "no message with the focus after choosing 長い"
    sleep 0.05
done
[[ $(xwininfo_field "$(xwininfo -id "$WINDOW")" Width) == 360 ]] || fail "the bar is not 360 wide"
xdotool key Return
while [[ -n $(e2e_window_titled "$CLOCK_PID" "クイロン") ]]; do
    (($(now_ms) < deadline)) || fail "the message is still open after Enter"
    sleep 0.05
done

kill -TERM "$CLOCK_PID"
e2e_wait_gone "$CLOCK_PID" 5 || fail "the clock still runs 5 s after SIGTERM"
wait "$CLOCK_PID" || fail "the clock ended with status $?"
line=$(grep '^quillon: ' "$E2E_TMP/clock.log" || true)
[[ $line == "quillon: the settings could not be saved to $INI: "?* && $line != *$'\n'* ]] ||
    fail "not one line naming $INI and a reason: '$line'"
cmp -s "$E2E_TMP/before.ini" "$INI" && [[ $(ls -A "$folder") == Quillon.ini ]] ||
    fail "the folder changed: $(ls -A "$folder")"$'\n'"$(cat "$INI")"
note "ok: the bar widened, one message; at the end: $line"
