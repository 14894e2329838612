#!/bin/bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 or 13 packages a task needs:
#   scripts/deps.sh run       building and running the clock (scripts/run.sh)
#   scripts/deps.sh package   that, and building its Debian package (scripts/package.sh)
#   scripts/deps.sh test      all of that, and the test tools (scripts/test.sh)
set -euo pipefail
RUN=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libxcb1-dev libxcb-xfixes0-dev libx11-dev libxext-dev
  libcanberra-dev sound-theme-freedesktop
  fonts-ipafont qt6-translations-l10n
)
PACKAGE=(dpkg-dev file)
TEST=(
  xvfb openbox xfwm4 kwin-x11 mutter picom xdotool x11-utils x11-xserver-utils x11-apps imagemagick
  xrestop
  faketime util-linux
  at-spi2-core python3-pyatspi python3-gi dbus-daemon dbus-bin
  desktop-file-utils lintian devscripts appstream fonts-vlgothic
  # the GNOME Shell and KWin Wayland sessions, and KWin's input for the tests
  gnome-shell pipewire kwin-wayland xwayland plasma-wayland-protocols libwayland-dev
  # sway, its screenshots and the virtual pointer's protocol code; the native Wayland window of those tests
  sway grim libwayland-bin qt6-wayland
)
# Debian 13 has the layer shell for Qt 6: the clock's native Wayland mode,
# and the compositors and desktop its checks run on. (Debian 12's is for Qt 5.)
. /etc/os-release
if [ "${VERSION_ID:-99}" -ge 13 ] 2>/dev/null; then
  RUN+=(liblayershellqtinterface-dev layer-shell-qt qt6-wayland qt6-wayland-dev qt6-wayland-dev-tools libwayland-dev libwayland-bin plasma-wayland-protocols)
  TEST+=(labwc swaybg)
fi
case "${1:-}" in
  run) PACKAGES=("${RUN[@]}") ;;
  package) PACKAGES=("${RUN[@]}" "${PACKAGE[@]}") ;;
  test) PACKAGES=("${RUN[@]}" "${PACKAGE[@]}" "${TEST[@]}") ;;
  *) echo "usage: $0 run|package|test" >&2; exit 2 ;;
esac

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  # sudo -v asks for the password once and fails when sudo is not allowed.
  if ! command -v sudo >/dev/null || ! sudo -v; then
    echo "These Debian packages are missing, and installing them needs root:" >&2
    echo "  ${missing[*]}" >&2
    echo "Install them as root (apt-get install ${missing[*]}), then run this again." >&2
    exit 1
  fi
  SUDO=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
