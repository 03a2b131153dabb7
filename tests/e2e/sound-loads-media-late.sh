#!/usr/bin/env bash
# An idle clock does not map the sound libraries; arming its first sound loads them, and the clock
# runs on and ends cleanly afterwards. The alarm plays the default sound at 7:00 by a faked
# clock; there is no sound server, which playing must survive. The chime, a program, strikes
# seven from the same tick on and marks the seconds after the alarm's play.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"

e2e_private_env
e2e_start_x
STRIKES=$E2E_TMP/strikes
write_settings AlarmMode=3 AlarmTime=420 \
    "AlarmName2=\"!/bin/sh -c \\\"date +%s.%N >> $STRIKES\\\"\""

# The sound module, the file reader and the sound server's library.
media_maps() {
    grep -c -e quillon_multimedia -e libsndfile -e libpulse "/proc/$CLOCK_PID/maps" || true
}

# The faked clock runs from 6:59:45 at the start, in step with the real one: the alarm is armed
# at 6:59:56, 11 s after it.
started=$(now_ms)
start_clock_at clock "2026-01-01 06:59:45"
e2e_wait_bar "$CLOCK_PID"
# Two seconds drawn since the bar showed: the idle clock has ticked.
e2e_wait_ticks "$WINDOW" 2
idle=$(media_maps)
rss_idle=$(awk '/^VmHWM:/ { print $2 }' "/proc/$CLOCK_PID/status")
looked=$(($(now_ms) - started))
((looked < 11000)) || fail "looked at the idle clock only ${looked} ms after its start, when it may have armed"
((idle == 0)) || fail "the idle clock maps $idle sound object(s) before any sound"

deadline=$(($(now_ms) + 20000))
until (($(media_maps) > 0)); do
    e2e_alive "$CLOCK_PID" || fail "the clock ended when the alarm was armed"
    (($(now_ms) < deadline)) || fail "no sound library mapped after the alarm was armed"
    sleep 0.2
done
# The third strike comes two ticks after the alarm's play.
wait_lines "$STRIKES" 3 25
e2e_alive "$CLOCK_PID" || fail "the clock ended after the alarm sounded"
note "sound mappings: $idle idle, $(media_maps) after the alarm; idle peak RSS ${rss_idle} KiB"

kill -TERM "$CLOCK_PID"
e2e_wait_gone "$CLOCK_PID" 5 || fail "the clock still runs 5 s after SIGTERM"
# The clock is faketime's child, not ours: its clean end shows in the settings it saved.
grep -q '^LastTime=' "$INI" || fail "the clock did not save its settings when ending"
note "ok: sound libraries loaded only once a sound was armed; clean end"
