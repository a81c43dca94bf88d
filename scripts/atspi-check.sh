#!/usr/bin/env bash
# atspi-check.sh BUILD_DIR: what a screen reader sees of the program, through AT-SPI. Under Xvfb, in a
# D-Bus session with the accessibility bus, starts the program on the virtual keyboard and runs
# scripts/atspi-check.py: the names of the command buttons and of keys, a key's default action that
# opens the key assignment editor, the keyboard alone assigning a key and saving the profile, the
# editor's page changes and the language button heard, the windows' names, and the backlight, progress
# and firmware dialogs' buttons.
# Exits 77, which ctest reports as skipped, when the accessibility bus, pyatspi, D-Bus, Xvfb or
# xdotool is not installed (scripts/setup.sh test installs them).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
launcher=/usr/libexec/at-spi-bus-launcher
python=/usr/bin/python3

if [ -z "${ZELK_ATSPI_SESSION:-}" ]; then
    if [ ! -x "$launcher" ] || ! command -v dbus-run-session >/dev/null || ! command -v dbus-send >/dev/null ||
        ! "$python" -c 'import pyatspi' 2>/dev/null; then
        echo "atspi-check: at-spi2-core, python3-pyatspi or dbus is not installed, so this is skipped" >&2
        exit 77
    fi
    # The whole check runs in a D-Bus session of its own, which ends with it.
    export ZELK_ATSPI_SESSION=1
    exec timeout --kill-after=10 170 dbus-run-session -- "$0" "$@"
fi

# Displays from 77 up, away from those the other X checks that ctest runs beside this one start at.
export ZELK_SCREENSHOT_DISPLAY=${ZELK_ATSPI_CHECK_DISPLAY:-77}
. "$here/scripts/xvfb-session.sh"

bus=
atspi_end() {
    [ -n "$bus" ] && kill "$bus" 2>/dev/null || true
    session_end
}
trap atspi_end EXIT

"$launcher" --launch-immediately >"$work/atspi-bus.log" 2>&1 &
bus=$!
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 ||
    { echo "atspi-check: the accessibility bus did not start" >&2; cat "$work/atspi-bus.log" >&2; exit 1; }

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program
export ZELK_MAIN_WINDOW=$main ZELK_ATSPI_WORK=$work
timeout --kill-after=5 120 "$python" "$here/scripts/atspi-check.py" || {
    echo "atspi-check: failed; the program said:" >&2
    cat "$work/zelk.log" >&2
    exit 1
}
