#!/usr/bin/env bash
# cmake --install into a scratch DESTDIR: the program folder holds the program, its sounds and
# its module; bin/quillon resolves into it; the menu entry and the software-centre file pass
# their checkers; the icons come at every size; the manual page and the documents are there. Then make uninstall leaves no file behind.
set -euo pipefail
source_dir=$1 build=$2

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli file; do
    command -v "$tool" >/dev/null 2>&1 || fail "'$tool' is not installed; run tools/install-deps.sh --test"
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quillon-install.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export DESTDIR=$scratch/root
top=$DESTDIR/usr/local
# Only the default component: the list of files gets a name of its own, so the list of an
# install the user made from this build stays. Taken aside at once, for make uninstall.
cmake --install "$build" --prefix /usr/local --component Unspecified >"$scratch/install.log" ||
    fail "cmake --install failed:"$'\n'"$(cat "$scratch/install.log")"
cp "$build/install_manifest_Unspecified.txt" "$scratch/installed-files.txt"

folder=$top/lib/quillon
for file in quillon libquillon_multimedia.so Tolla.wav Gongo.wav Default.wav; do
    [[ -f $folder/$file ]] || fail "$folder/$file is missing:"$'\n'"$(cd "$DESTDIR" && find . | sort)"
done
[[ -L $top/bin/quillon && $(readlink -f "$top/bin/quillon") == "$(readlink -f "$folder/quillon")" ]] ||
    fail "bin/quillon does not link to lib/quillon/quillon: $(ls -l "$top/bin/quillon" 2>&1)"

desktop=$top/share/applications/quillon.desktop
metainfo=$top/share/metainfo/io.github.quillon.Quillon.metainfo.xml
report=$(desktop-file-validate "$desktop" 2>&1) && [[ -z $report ]] || fail "$desktop: $report"
bash "$(dirname "$0")/appstream-check.sh" "$metainfo"
grep -qx 'Icon=quillon' "$desktop" || fail "the menu entry names no icon quillon"
for size in 16 32 48 64 128 256; do
    icon=$top/share/icons/hicolor/${size}x$size/apps/quillon.png
    [[ $(file -b "$icon" 2>&1) == "PNG image data, $size x $size,"* ]] ||
        fail "$icon: $(file -b "$icon" 2>&1)"
done

for file in share/man/man1/quillon.1.gz share/doc/quillon/changelog.gz share/doc/quillon/copyright; do
    [[ -s $top/$file ]] || fail "$top/$file is missing"
done

# Started through the link, the program knows its file in the program folder: its login entry
# starts that file, and the entry passes the checker too.
export XDG_CONFIG_HOME=$scratch/config
env -u DISPLAY -u WAYLAND_DISPLAY "$top/bin/quillon" --autostart on
entry=$XDG_CONFIG_HOME/autostart/quillon.desktop
grep -qxF "Exec=\"$(readlink -f "$folder/quillon")\"" "$entry" ||
    fail "the login entry does not start the installed program:"$'\n'"$(cat "$entry")"
report=$(desktop-file-validate "$entry" 2>&1) && [[ -z $report ]] || fail "$entry: $report"

make -s -C "$source_dir" uninstall INSTALL_MANIFEST="$scratch/installed-files.txt" >/dev/null
left=$(cd "$DESTDIR" && find . ! -type d)
[[ -z $left ]] || fail "make uninstall left files behind:"$'\n'"$left"
[[ ! -e $folder ]] || fail "make uninstall left $folder"
echo "# ok: the installed tree is complete, checked, and goes away entirely"
