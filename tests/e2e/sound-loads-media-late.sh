#!/usr/bin/env bash
# An idle clock does not map the media libraries; arming its first sound loads them, and the clock
# runs on and ends cleanly afterwards. The alarm plays the default sound at 7:00 by a faked
# clock; there is no sound server, which playing must survive.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"

e2e_private_env
e2e_start_x
write_settings AlarmMode=1 AlarmTime=420

media_maps() {
    grep -c Multimedia "/proc/$CLOCK_PID/maps" || true
}

start_clock_at clock "2026-01-01 06:59:50"
e2e_wait_bar "$CLOCK_PID"
sleep 2
idle=$(media_maps)
rss_idle=$(awk '/^VmHWM:/ { print $2 }' "/proc/$CLOCK_PID/status")
((idle == 0)) || fail "the idle clock maps $idle Multimedia object(s) before any sound"

# 7:00:00 is ten seconds after the start; wait until a little after it.
deadline=$(($(now_ms) + 20000))
until (($(media_maps) > 0)); do
    e2e_alive "$CLOCK_PID" || fail "the clock ended when the alarm sounded"
    (($(now_ms) < deadline)) || fail "no media library mapped after the alarm was due"
    sleep 0.2
done
sleep 2
e2e_alive "$CLOCK_PID" || fail "the clock ended after the alarm sounded"
note "Multimedia mappings: $idle idle, $(media_maps) after the alarm; idle peak RSS ${rss_idle} KiB"

kill -TERM "$CLOCK_PID"
e2e_wait_gone "$CLOCK_PID" 5 || fail "the clock still runs 5 s after SIGTERM"
# The clock is faketime's child, not ours: its clean end shows in the settings it saved.
grep -q '^LastTime=' "$INI" || fail "the clock did not save its settings when ending"
note "ok: media libraries loaded only once a sound was armed; clean end"
