#!/usr/bin/env bash
# Installs what building and testing Brimble! needs on Debian 12. Safe to run again.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  libsqlcipher-dev libjpeg62-turbo-dev libemf2svg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  # the end-to-end suite: a window manager, a tray host, the accessibility bus and its
  # Python bridge, input and window tools, and the shell that reads the database file
  openbox trayer dbus-daemon at-spi2-core python3-pyatspi xdotool x11-utils sqlcipher
  # installing and packaging: the validators and the .deb tools
  desktop-file-utils appstream dpkg-dev file
  poppler-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
