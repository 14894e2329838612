#!/bin/bash
# Installs the Debian 12 packages that building, running and testing need.
set -euo pipefail
PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  fonts-ipafont
  libcanberra-dev sound-theme-freedesktop
  xvfb openbox xfwm4 kwin-x11 mutter picom xdotool x11-utils x11-xserver-utils x11-apps imagemagick
  libxcb1-dev libx11-dev libxext-dev xrestop
  faketime util-linux
  at-spi2-core python3-pyatspi python3-gi dbus-daemon dbus-bin
  desktop-file-utils lintian dpkg-dev file
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
