#!/usr/bin/env bash
# Installs the Debian packages Quillon needs; only what is missing, nothing fetched when all is
# present. Usage: install-deps.sh [--package] [--test]
#   (none)     building and running the clock
#   --package  also making its Debian package (make package)
#   --test     also running every test, the package's included
set -euo pipefail

PACKAGES=(
    # Build tools.
    cmake g++ make pkg-config
    # Qt: widgets, moc/uic.
    qt6-base-dev qt6-base-dev-tools
    # Sound: reading every kind of sound file, and the sound server's client library
    # (PulseAudio's, which PipeWire serves too).
    libsndfile1-dev libpulse-dev
    # Telling when an XEmbed tray starts.
    libxcb1-dev
    # Japanese text in the bar and menus.
    fonts-ipafont-gothic
    # Qt's own texts (the file chooser's, the message boxes') in Japanese.
    qt6-translations-l10n
    # Wayland, for a Wayland session whose X server cannot be reached.
    qt6-wayland
)
PACKAGE_PACKAGES=(
    # CPack's dependency lookup: dpkg-shlibdeps, and file to find the programs among the files.
    dpkg-dev file
)
TEST_PACKAGES=(
    # Unit tests and benchmarks.
    libgtest-dev libgmock-dev libbenchmark-dev
    # Headless X server and the tools the end-to-end tests inspect windows with (xwd: their pixels).
    xvfb xauth x11-utils x11-xserver-utils xdotool x11-apps
    # A window manager and a tray host, to test the clock on a desktop like a user's.
    openbox trayer
    # A private session bus for each test, and a client to read the icon's menu as a panel does.
    dbus-daemon libglib2.0-bin
    # GNOME's and KDE's compositors, headless, with XWayland.
    mutter kwin-wayland xwayland
    # Tests that start the clock at a chosen time.
    faketime
    # Both sound servers (PulseAudio; PipeWire with its session manager and PulseAudio service),
    # their players and recorder, and making test clips (wave, ogg, flac, mp3).
    pulseaudio pulseaudio-utils pipewire pipewire-bin pipewire-pulse wireplumber sox libsox-fmt-mp3
    # The checkers of the menu entry, the software-centre description and the Debian package.
    desktop-file-utils appstream lintian
    # The format check (make check-format).
    clang-format
    "${PACKAGE_PACKAGES[@]}"
)

for option in "$@"; do
    case $option in
        --package) PACKAGES+=("${PACKAGE_PACKAGES[@]}") ;;
        --test) PACKAGES+=("${TEST_PACKAGES[@]}") ;;
        *)
            echo "usage: $0 [--package] [--test]" >&2
            exit 2
            ;;
    esac
done

# One dpkg-query call for all: it lists the installed ones; unknown names only go to stderr.
installed=" $(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${PACKAGES[@]}" 2>/dev/null |
    awk '$1 == "ii" { printf "%s ", $2 }' || true)"
missing=()
for pkg in "${PACKAGES[@]}"; do
    [[ $installed == *" $pkg "* ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if ((EUID == 0)); then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "These packages are missing and sudo is not available; install them as root: ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
