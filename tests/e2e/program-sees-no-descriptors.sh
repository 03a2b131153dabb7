#!/usr/bin/env bash
# A program the clock starts inherits none of the clock's descriptors: only 0, 1 and 2. The
# chime has loaded the multimedia module with a wave sound before the alarm starts the program.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fake-time.sh"

e2e_private_env
e2e_start_x
OUT=$E2E_TMP/descriptors
# The shell lists its own descriptors from a child, which opens the listing and the file in
# itself (a shell saves a redirected descriptor above 9 while it runs a command). The
# shell runs without faketime's library, whose own descriptors would be listed too.
write_settings AlarmMode=7 AlarmTime=421 \
    "AlarmName1=\"!/usr/bin/env -u LD_PRELOAD /bin/sh -c \\\"(ls /proc/\$\$/fd > $OUT.part) && mv $OUT.part $OUT\\\"\"" \
    "AlarmName2=$(dirname "$PROGRAM")/Default.wav"

# Ten times as fast, so the chime at 7:00 and the alarm at 7:01 come within seconds.
start_clock_at clock "2026-01-01 06:59:50 x10"
e2e_wait_bar "$CLOCK_PID"
wait_lines "$OUT" 1 60
descriptors=$(sort -n "$OUT" | paste -s -d ' ')
note "the started program had descriptors $descriptors"
[[ $descriptors == "0 1 2" ]] || fail "the started program inherited descriptors $descriptors"
note "ok: only the standard descriptors were passed on"
