#!/usr/bin/env bash
# Makes the Debian package from the build as make package does, but into FOLDER; unpacks it into
# FOLDER/root and checks its name, its dependencies, its prefix, its AppStream description, its
# changelog's version and that lintian finds no error or warning.
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

# The file names the release it was built on, whose library names its Depends carry.
release=$(. /etc/os-release && echo "$ID$VERSION_ID")
deb=$folder/quillon_${version}_${release}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no $deb; made: $(ls "$folder")"

depends=$(dpkg-deb -f "$deb" Depends)
needs=(libqt6widgets6 libpulse0 libsndfile1 fonts-ipafont-gothic)
for needed in "${needs[@]}"; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done
# Sound files are read by libsndfile alone: nothing of Qt's media stack is wanted.
for unwanted in libqt6multimedia6 gstreamer1.0-plugins-base gstreamer1.0-plugins-good; do
    [[ ", $depends," != *", $unwanted"[\ ,]* ]] || fail "Depends still has $unwanted: $depends"
done
outside=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '^\./$' | grep -v '^\./usr/' || true)
[[ -z $outside ]] || fail "files outside /usr:"$'\n'"$outside"

dpkg-deb -x "$deb" "$folder/root"
# Built as Debian builds its own: bound at start, and without the compiler's .comment.
for program in "$folder"/root/usr/lib/quillon/{quillon,libquillon_multimedia.so}; do
    readelf -d "$program" | grep -q 'FLAGS.*BIND_NOW' || fail "$program is not linked with -z now"
    ! readelf -S "$program" | grep -q '\.comment' || fail "$program keeps its .comment section"
done
# lintian 2.122 (Debian 13) turns any complaint of appstreamcli into one warning: the complaints
# are checked here instead, the missing homepage accepted, and that warning alone passes below.
bash "$(dirname "$0")/appstream-check.sh" "$folder"/root/usr/share/metainfo/*.metainfo.xml ||
    fail "the package's AppStream description does not validate"

command -v lintian >/dev/null 2>&1 || fail "'lintian' is not installed; run tools/install-deps.sh --test"
# Any other error or warning fails; the information tags are shown.
lintian --fail-on error --display-info "$deb" >"$folder/lintian.log" 2>&1 ||
    fail "lintian:"$'\n'"$(grep -v 'root privileges' "$folder/lintian.log")"
warnings=$(grep '^W: ' "$folder/lintian.log" | grep -v '^W: quillon: appstream-metadata-validation-failed' || true)
[[ -z $warnings ]] || fail "lintian:"$'\n'"$warnings"
grep -E '^[IW]: ' "$folder/lintian.log" || true

changelog=$(zcat "$folder/root/usr/share/doc/quillon/changelog.gz" | head -n 1)
[[ $changelog == "quillon ($version) "* ]] || fail "the changelog's last entry is not $version: $changelog"
echo "# ok: $(basename "$deb"), Depends: $depends"
