#!/usr/bin/env bash
# The whole test suite on Debian 13 (trixie), from any Debian machine: a Debian 13 system tree
# made with debootstrap and kept outside the checkout, a clean copy of the checkout inside it,
# and the README's `make test` and `make package` run there as on a user's machine. The package
# is then installed with apt into a fresh debootstrap tree, where the clock must start and save.
#
# Usage: debian13.sh test        all of the above (make test-debian13)
#        debian13.sh run CMD...  CMD inside the test tree, at the copy of the checkout
#
# The trees live in $QUILLON_DEBIAN13_CACHE (/var/cache/quillon-debian13): base/ is debootstrap's
# tree, left as it is; test/ is a copy of it where make test installs what the tests need, so a
# second run fetches only packages that were added to tools/install-deps.sh since.
set -euo pipefail

self=$(readlink -f "$0")
source_dir=$(cd "$(dirname "$self")/.." && pwd)
cache=${QUILLON_DEBIAN13_CACHE:-/var/cache/quillon-debian13}
suite=trixie
copy=/root/quillon

if ((EUID != 0)); then
    # debootstrap, chroot and the mounts below are root's.
    exec sudo --preserve-env=QUILLON_DEBIAN13_CACHE,WARNINGS_AS_ERRORS bash "$self" "$@"
fi

say() { echo "debian13: $*" >&2; }

# The mirror this machine's own apt uses, so a machine behind a local mirror keeps using it.
mirror() {
    local uri
    uri=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null |
        grep -v security | head -n 1 || true)
    [[ -n $uri ]] || uri=$(awk '$1 == "deb" && $3 !~ /security/ { print $2; exit }' \
        /etc/apt/sources.list 2>/dev/null || true)
    echo "${uri:-http://deb.debian.org/debian}"
}

ensure_host_tools() {
    command -v debootstrap >/dev/null 2>&1 && return
    say "installing debootstrap"
    DEBIAN_FRONTEND=noninteractive apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap </dev/null
}

# debootstrap's own tree, made once; an interrupted attempt leaves only base.new behind.
ensure_base() {
    [[ -f $cache/base/etc/debian_version ]] && return
    ensure_host_tools
    mkdir -p "$cache"
    rm -rf "$cache/base.new"
    say "debootstrap $suite into $cache/base"
    debootstrap --variant=minbase "$suite" "$cache/base.new" "$(mirror)" >"$cache/debootstrap.log" 2>&1 || {
        tail -n 30 "$cache/debootstrap.log" >&2
        exit 1
    }
    mv "$cache/base.new" "$cache/base"
}

# What the README asks of a new machine before `make test`. The rest is make test's own business:
# tools/install-deps.sh installs what is missing, so the tree follows its list by itself.
readme_packages="git make sudo"
ensure_test_tree() {
    local stamp=$cache/test/.quillon-packages
    if [[ ! -d $cache/test ]]; then
        rm -rf "$cache/test.new"
        cp -a "$cache/base" "$cache/test.new"
        mv "$cache/test.new" "$cache/test"
    fi
    [[ $(cat "$stamp" 2>/dev/null) == "$readme_packages" ]] && return
    in_tree "$cache/test" -- sh -c 'apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" </dev/null' \
        sh $readme_packages
    echo "$readme_packages" >"$stamp"
}

# Mounts what a running system has into ROOT; only ever called inside a mount namespace of its
# own, so every mount goes away with the run. The root is made a mount point of its own, which
# `unshare --mount` in the tests needs.
mount_system() {
    local root=$1
    mount --bind "$root" "$root"
    mount -t proc proc "$root/proc"
    mount --rbind /sys "$root/sys"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
    mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
    cp -L /etc/resolv.conf "$root/etc/resolv.conf"
}

# in_tree ROOT [--fresh FRESH] -- CMD...: CMD run as root inside ROOT, with a clean environment;
# FRESH, when given, is mounted system and all at ROOT/mnt/fresh.
in_tree() {
    local root=$1 fresh=
    shift
    if [[ $1 == --fresh ]]; then
        fresh=$2
        shift 2
    fi
    shift
    # Without the lock's descriptor: a process left running there cannot hold the trees.
    unshare --mount --propagation private -- bash "$self" --inside "$root" "$fresh" "$@" 9>&-
}

inside() {
    local root=$1 fresh=$2
    shift 2
    mount_system "$root"
    if [[ -n $fresh ]]; then
        mkdir -p "$root/mnt/fresh"
        mount --rbind "$fresh" "$root/mnt/fresh"
        mount_system "$root/mnt/fresh"
        # apt there finds the packages the test tree has fetched already.
        mount --bind "$root/var/cache/apt/archives" "$root/mnt/fresh/var/cache/apt/archives"
    fi
    exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# The checkout's files as git sees them (committed, changed or new, but not ignored, so no build
# folder), copied afresh into the test tree.
copy_checkout() {
    local target=$cache/test$copy
    rm -rf "$target"
    mkdir -p "$target"
    git -C "$source_dir" ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do
            [[ -e $source_dir/$file || -L $source_dir/$file ]] && printf '%s\0' "$file"
        done |
        tar -C "$source_dir" --null -T - -cf - | tar -C "$target" -xf -
}

run_tests() {
    local started=$SECONDS deb
    # One run at a time: a second one waits for the first to leave the trees.
    mkdir -p "$cache"
    exec 9>"$cache/.lock"
    flock 9
    ensure_base
    ensure_test_tree
    copy_checkout
    # The same warnings option for both, or the package would be built anew with the other one.
    local warnings=WARNINGS_AS_ERRORS=${WARNINGS_AS_ERRORS:-OFF}
    say "make test in $cache/test$copy"
    in_tree "$cache/test" -- sh -c "cd $copy && make test $warnings </dev/null"
    say "make package"
    in_tree "$cache/test" -- sh -c "cd $copy && make package $warnings </dev/null"
    deb=$(cd "$cache/test$copy/build" && ls quillon_*_debian13_*.deb)

    say "installing $deb into a fresh $suite tree"
    rm -rf "$cache/fresh"
    cp -a "$cache/base" "$cache/fresh"
    cp "$cache/test$copy/build/$deb" "$cache/fresh/root/"
    in_tree "$cache/test" --fresh "$cache/fresh" -- \
        bash "$copy/tests/packaging/deb-installs.sh" /mnt/fresh "/root/$deb" \
        "$copy/build/tools/listen/quillon-listen"
    rm -rf "$cache/fresh"
    say "all passed in $((SECONDS - started)) s"
}

case ${1:-} in
    test) run_tests ;;
    run)
        shift
        ensure_base
        ensure_test_tree
        in_tree "$cache/test" -- sh -c 'cd "$0" 2>/dev/null || cd; exec "$@"' "$copy" "$@"
        ;;
    --inside)
        shift
        inside "$@"
        ;;
    *)
        echo "usage: $0 test | run CMD..." >&2
        exit 2
        ;;
esac
