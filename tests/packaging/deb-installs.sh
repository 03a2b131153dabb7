#!/usr/bin/env bash
# The Debian package, installed with apt into a fresh tree of the release it was built on
# (debootstrap's and nothing else), brings all the clock needs: started there by its command, the
# clock shows its bar and saves its settings on SIGTERM. Run as root by tools/debian13.sh, in a
# mount namespace of its own, with the fresh tree mounted at FRESH.
# Usage: deb-installs.sh FRESH DEB (DEB's path inside FRESH)
set -euo pipefail
fresh=$1 deb=$2

# The test's X server and folders live under /tmp: the fresh tree sees them at the same paths.
mount --bind /tmp "$fresh/tmp"
start=$fresh/root/start-quillon
printf '#!/bin/sh\nexec chroot %q quillon\n' "$fresh" >"$start"
chmod +x "$start"
source "$(dirname "$0")/../e2e/lib.sh" "$start"

chroot "$fresh" sh -c 'apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$0" </dev/null' "$deb" >"$E2E_TMP/apt.log" 2>&1 ||
    fail "apt could not install $deb:"$'\n'"$(tail -n 30 "$E2E_TMP/apt.log")"
note "installed $(chroot "$fresh" dpkg-query -W -f='${Package} ${Version}, ${Installed-Size} KiB' quillon)" \
    "with $(grep -c '^Setting up' "$E2E_TMP/apt.log") packages"

e2e_private_env
e2e_start_x
e2e_start_clock clock
e2e_wait_bar "$CLOCK_PID"
kill -TERM "$CLOCK_PID"
e2e_wait_gone "$CLOCK_PID" 5 || fail "the clock still runs 5 s after SIGTERM"
grep -q '^LastTime=' "$INI" 2>/dev/null || fail "no settings saved at $INI after SIGTERM"
note "ok: installed on a fresh $(. "$fresh/etc/os-release" && echo "$PRETTY_NAME"), the clock ran and saved"
