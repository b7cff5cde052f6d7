#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need (as root).
# Quick when everything is there already: apt is only asked for missing packages.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config clang-format libsqlite3-dev libebur128-dev
    qt6-base-dev libqt6sql6-sqlite qt6-multimedia-dev qt6-svg-dev libgl-dev
    libavformat-dev libavcodec-dev libavutil-dev libswresample-dev libopencore-amrnb-dev
    libgtest-dev ffmpeg xvfb xauth xdotool imagemagick fonts-dejavu-core fonts-dejavu-extra parallel
    desktop-file-utils appstream lintian dpkg-dev fakeroot file
    dbus dbus-bin dbus-daemon dbus-session-bus-common
    qt6-l10n-tools qt6-translations-l10n qt6-wayland weston at-spi2-core python3-pyatspi
)
# TagLib's headers: libtag1-dev holds 1.x up to Debian 12, libtag-dev 2.x from Debian 13 on.
# shellcheck disable=SC1091
if [ "$(. /etc/os-release && echo "${VERSION_ID%%.*}")" = 12 ]; then
    packages+=(libtag1-dev)
else
    packages+=(libtag-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
