#!/usr/bin/env bash
# Makes the Debian package from the build as make package does, but into FOLDER; checks its name,
# its dependencies, its prefix, its changelog's version and that lintian finds no error or
# warning, and unpacks it into FOLDER/root.
# Usage: make-deb.sh CPACK BUILD FOLDER VERSION
set -euo pipefail
cpack=$1 build=$2 folder=$3 version=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$folder"
mkdir -p "$folder"
started=${EPOCHREALTIME/[.,]/}
"$cpack" --config "$build/CPackConfig.cmake" -B "$folder" >"$folder/cpack.log" 2>&1 ||
    fail "cpack failed:"$'\n'"$(cat "$folder/cpack.log")"
echo "# package made in $(((${EPOCHREALTIME/[.,]/} - started) / 1000)) ms"

deb=$folder/quillon_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no $deb; made: $(ls "$folder")"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6multimedia6 libpulse0 fonts-ipafont-gothic gstreamer1.0-plugins-base \
    gstreamer1.0-plugins-good; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done
outside=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '^\./$' | grep -v '^\./usr/' || true)
[[ -z $outside ]] || fail "files outside /usr:"$'\n'"$outside"

command -v lintian >/dev/null 2>&1 || fail "'lintian' is not installed; run tools/install-deps.sh --test"
# Any error or warning fails; the information tags are shown.
lintian --fail-on error,warning --display-info "$deb" >"$folder/lintian.log" 2>&1 ||
    fail "lintian:"$'\n'"$(grep -v 'root privileges' "$folder/lintian.log")"
grep '^I: ' "$folder/lintian.log" || true

dpkg-deb -x "$deb" "$folder/root"
changelog=$(zcat "$folder/root/usr/share/doc/quillon/changelog.gz" | head -n 1)
[[ $changelog == "quillon ($version) "* ]] || fail "the changelog's last entry is not $version: $changelog"
echo "# ok: $(basename "$deb"), Depends: $depends"
