#!/usr/bin/env bash
# The Debian package, installed with apt into a fresh tree of the release it was built on
# (debootstrap's and nothing else), brings all the clock needs: started there by its command, the
# clock shows its bar, plays its ogg alarm to a sound server of the test tree, and saves its
# settings on SIGTERM. Run as root by tools/debian13.sh, in a mount namespace of its own, with
# the fresh tree mounted at FRESH; LISTEN is the test tree's recorder.
# Usage: deb-installs.sh FRESH DEB LISTEN (DEB's path inside FRESH)
set -euo pipefail
fresh=$1 deb=$2 listen=$3

# The test's X server and folders live under /tmp: the fresh tree sees them at the same paths.
mount --bind /tmp "$fresh/tmp"
# faketime's library, which the test preloads to bring the alarm's minute near, at its own path.
faketime_folder=$(dirname "$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 | head -n 1)")
mkdir -p "$fresh$faketime_folder"
mount --bind "$faketime_folder" "$fresh$faketime_folder"
start=$fresh/root/start-quillon
printf '#!/bin/sh\nexec chroot %q quillon\n' "$fresh" >"$start"
chmod +x "$start"
source "$(dirname "$0")/../e2e/lib.sh" "$start"
source "$(dirname "$0")/../e2e/fake-time.sh"
source "$(dirname "$0")/../e2e/sound-server.sh"

chroot "$fresh" sh -c 'apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$0" </dev/null' "$deb" >"$E2E_TMP/apt.log" 2>&1 ||
    fail "apt could not install $deb:"$'\n'"$(tail -n 30 "$E2E_TMP/apt.log")"
note "installed $(chroot "$fresh" dpkg-query -W -f='${Package} ${Version}, ${Installed-Size} KiB' quillon)" \
    "with $(grep -c '^Setting up' "$E2E_TMP/apt.log") packages"

e2e_private_env
e2e_start_x
sound_server "$E2E_TMP/sound" "$listen" || exit 1
E2E_PIDS+=("${SOUND_PIDS[@]}")
export PULSE_SERVER=$SOUND_SERVER
sox -n -r 44100 -c 1 "$E2E_TMP/ring.ogg" synth 3 sine 660 vol 0.5
write_settings AlarmMode=1 AlarmTime=420 "AlarmName1=$E2E_TMP/ring.ogg"
start_clock_at clock "2026-01-01 06:59:55"
e2e_wait_bar "$CLOCK_PID"
deadline=$(($(now_ms) + 15000))
until [[ -n $("$listen" sounds "$E2E_TMP/sound/sink.raw") ]]; do
    (($(now_ms) < deadline)) || fail "the installed clock's 7:00 ogg alarm was not heard"
    sleep 0.2
done
note "heard the alarm: $("$listen" sounds "$E2E_TMP/sound/sink.raw")"
kill -TERM "$CLOCK_PID"
e2e_wait_gone "$CLOCK_PID" 5 || fail "the clock still runs 5 s after SIGTERM"
grep -q '^LastTime=' "$INI" 2>/dev/null || fail "no settings saved at $INI after SIGTERM"
note "ok: installed on a fresh $(. "$fresh/etc/os-release" && echo "$PRETTY_NAME"), the clock ran, sounded and saved"
