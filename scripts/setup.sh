#!/bin/sh
# Installs from Debian 12's packages what Zelk needs, for each purpose named (run when none is):
#   run          build and run the programs; also gives the logged-in user access to the keyboard
#   test         build and run every test, and check an installation (scripts/install-check.sh)
#   package      build the .deb (scripts/package.sh)
#   screenshots  the tools of the screenshot scripts (Xvfb, xdotool, ImageMagick)
# Run it as root or as a user who may use sudo.
set -eu
cd "$(dirname "$0")/.."

build="build-essential cmake pkg-config libhidapi-dev qt6-base-dev qt6-base-dev-tools gzip libxcb1-dev
  libxcb-xkb-dev nlohmann-json3-dev"
packages=""
udev_rule=no
[ $# -gt 0 ] || set -- run
for purpose in "$@"; do
  case $purpose in
    run) packages="$packages $build fonts-noto-cjk qt6-translations-l10n"; udev_rule=yes ;;
    test) packages="$packages $build libgtest-dev googletest libxml2-dev binutils fonts-noto-cjk
            fonts-dejavu-core desktop-file-utils appstream lintian shared-mime-info xdg-utils libfile-mimeinfo-perl
            dpkg-dev file xvfb xauth xdotool imagemagick
            weston mutter qt6-wayland
            clang-format clang-tidy qt6-translations-l10n g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine
            wine64 python3-jsonschema at-spi2-core python3-pyatspi python3-gi dbus" ;;
    package) packages="$packages $build dpkg-dev file binutils lintian" ;;
    screenshots) packages="$packages xvfb xauth xdotool imagemagick python3 fonts-noto-cjk" ;;
    *) echo "usage: $0 [run] [test] [package] [screenshots]" >&2; exit 2 ;;
  esac
done

# Runs a command as root: directly when root, else through sudo (which keeps no environment of its own,
# so the variables go through env).
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    env DEBIAN_FRONTEND=noninteractive "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo env DEBIAN_FRONTEND=noninteractive "$@"
  else
    echo "setup.sh: this needs root, and sudo is not installed. As root, run:" >&2
    echo "  $*" >&2
    exit 1
  fi
}

missing=""
if command -v dpkg-query >/dev/null 2>&1; then
  for p in $packages; do
    case " $missing " in *" $p "*) continue ;; esac
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
else
  echo "setup.sh: not a Debian system; install the equivalents of:$packages" >&2
  exit 1
fi
if [ -n "$missing" ]; then
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
    echo "setup.sh: these packages are missing:$missing" >&2
    echo "sudo is not installed; as root (for example with su -), run:" >&2
    echo "  apt-get update && apt-get install -y$missing" >&2
    exit 1
  fi
  as_root apt-get update -qq
  as_root apt-get install -y -qq $missing
fi

# Gives the logged-in user access to the keyboard's configuration interface (only that one). An
# installed package brings the same rule under /usr/lib/udev/rules.d.
if [ "$udev_rule" = yes ] && [ -d /etc/udev/rules.d ] && ! cmp -s res/70-zelk.rules /etc/udev/rules.d/70-zelk.rules; then
  as_root install -m 644 res/70-zelk.rules /etc/udev/rules.d/70-zelk.rules
  if command -v udevadm >/dev/null 2>&1; then
    as_root udevadm control --reload >/dev/null 2>&1 || true
    as_root udevadm trigger --subsystem-match=hidraw >/dev/null 2>&1 || true
  fi
fi
