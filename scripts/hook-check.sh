#!/bin/sh
# Runs the keyboard-capture test program under an Xvfb of its own, where xdotool types the keys.
#   scripts/hook-check.sh TEST_PROGRAM [ARGUMENTS...]
# ctest runs it (test hwi_hook_x11). Exits 77, which ctest reports as skipped, when Xvfb or xdotool is
# not installed (scripts/setup.sh installs both). Takes the first free display of ZELK_HOOK_DISPLAYS
# (default 41 to 48).
set -u
[ $# -ge 1 ] || { echo "usage: $0 TEST_PROGRAM [ARGUMENTS...]" >&2; exit 2; }
program=$1
shift
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "hook-check: $tool is not installed, so the capture is not tested (scripts/setup.sh installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb=
finish() {
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    fi
    rm -rf "$work"
}
trap finish EXIT
trap 'exit 1' INT TERM

# -noreset: the server would otherwise start afresh whenever its last client leaves, between two tests.
# Xvfb writes its display number to descriptor 3 once it takes connections, and quits where another
# server holds the display (one started since the lock check); then the next number is tried.
for number in ${ZELK_HOOK_DISPLAYS:-41 42 43 44 45 46 47 48}; do
    [ -e "/tmp/.X$number-lock" ] && continue
    : >"$work/display"
    Xvfb ":$number" -screen 0 640x480x24 -nolisten tcp -noreset -displayfd 3 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    tries=0
    while [ "$tries" -lt 100 ] && [ ! -s "$work/display" ] && kill -0 "$xvfb" 2>/dev/null; do
        sleep 0.1
        tries=$((tries + 1))
    done
    [ -s "$work/display" ] && break
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    xvfb=
done
if [ -z "$xvfb" ]; then
    echo "hook-check: no Xvfb could be started on ${ZELK_HOOK_DISPLAYS:-41 to 48}" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi

DISPLAY=:$(cat "$work/display")
export DISPLAY
unset WAYLAND_DISPLAY
echo "hook-check: Xvfb on $DISPLAY"
timeout -k 5 240 "$program" "$@"
