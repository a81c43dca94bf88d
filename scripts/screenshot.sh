#!/usr/bin/env bash
# Renders the main window under Xvfb with the virtual keyboard and writes PNGs:
#   main-zh-layer1.png  Chinese, Level 1, a key under the mouse
#   main-zh-layer2.png  Chinese, Level 2, a key under the mouse
#   main-en-layer1.png  English, Level 1, a key under the mouse
#   main-en-layer2.png  English, Level 2, a button under the mouse
# Usage: scripts/screenshot.sh [BUILD_DIR] [OUTPUT_DIR] [PROFILE.pro]
# With a profile, it is opened through the Open button first, so assigned keys show lit;
# res/demo.pro is the one behind res/screenshots/.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
out=${2:-$here/screenshots}
profile=${3:-}
program=$build/bin/Zelk
[ -x "$program" ] || { echo "screenshot.sh: $program not built" >&2; exit 1; }
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing" >&2; exit 1; }
done
mkdir -p "$out"

number=${ZELK_SCREENSHOT_DISPLAY:-97}
while [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
display=:$number
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export ASAN_OPTIONS=detect_leaks=0
export QT_QPA_PLATFORM=xcb

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
zelk=
cleanup() {
    [ -n "$zelk" ] && kill "$zelk" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    [ -n "${ZELK_KEEP:-}" ] && cp -r "$work" /tmp/zelk-shot-work; rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 300); do
    xdotool getmouselocation >/dev/null 2>&1 && break
    kill -0 "$xvfb" 2>/dev/null || { echo "screenshot.sh: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done

"$program" --virtual-keyboard="$work/keyboard.state" >"$work/zelk.log" 2>&1 &
zelk=$!
window=
for _ in $(seq 300); do
    window=$(xdotool search --name '^Zelk$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "screenshot.sh: the main window did not appear" >&2; cat "$work/zelk.log" >&2; exit 1; }
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
left=$X top=$Y

# Moves the pointer to window coordinates; clicks when asked.
at() { xdotool mousemove "$((left + $1))" "$((top + $2))"; sleep 0.3; }
click() { at "$1" "$2"; xdotool click 1; sleep 0.5; }
shot() {
    at 5 600  # leave every area so the last hover is cleared
    at "$2" "$3"
    import -window root -crop "${WIDTH}x${HEIGHT}+${left}+${top}" +repage -depth 8 "$out/$1"
    echo "wrote $out/$1"
}

if [ -n "$profile" ]; then
    click 190 112          # Open
    sleep 1
    xdotool type --delay 20 "$(realpath "$profile")"
    xdotool key Return
    sleep 1
fi

shot main-zh-layer1.png 334 290   # W (key 30)
click 85 240                       # layer switch
shot main-zh-layer2.png 253 240   # 1 (key 15)
click 1077 112                     # language switch
shot main-en-layer2.png 640 112   # over the backlight button
click 85 240
shot main-en-layer1.png 292 340   # A (key 43)
