#!/bin/sh
# Installs what Zelk needs to build, run and test on Debian 12.
set -eu
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
PACKAGES="build-essential cmake pkg-config libhidapi-dev qt6-base-dev qt6-base-dev-tools
  libgtest-dev googletest libxml2-dev binutils fonts-noto-cjk fonts-dejavu-core xvfb xauth
  libxcb1-dev libxcb-xkb-dev xdotool imagemagick clang-format qt6-translations-l10n"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
fi
# Gives the logged-in user access to the keyboard's configuration interface (only that one).
if [ -d /etc/udev/rules.d ] && ! cmp -s res/70-zelk.rules /etc/udev/rules.d/70-zelk.rules; then
  $SUDO install -m 644 res/70-zelk.rules /etc/udev/rules.d/70-zelk.rules
  if command -v udevadm >/dev/null 2>&1; then
    $SUDO udevadm control --reload >/dev/null 2>&1 || true
    $SUDO udevadm trigger --subsystem-match=hidraw >/dev/null 2>&1 || true
  fi
fi
