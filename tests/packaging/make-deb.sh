#!/usr/bin/env bash
# Makes the Debian package from the build as make package does, but into FOLDER; checks its name,
# its dependencies and its prefix, and unpacks it into FOLDER/root.
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
for needed in libqt6widgets6 libqt6multimedia6 fonts-ipafont-gothic gstreamer1.0-plugins-base \
    gstreamer1.0-plugins-good; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done
outside=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '^\./$' | grep -v '^\./usr/' || true)
[[ -z $outside ]] || fail "files outside /usr:"$'\n'"$outside"

dpkg-deb -x "$deb" "$folder/root"
echo "# ok: $(basename "$deb"), Depends: $depends"
