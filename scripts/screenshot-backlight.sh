#!/usr/bin/env bash
# Renders the backlight editor under Xvfb with the virtual keyboard and writes PNGs, after opening the
# demo profile with its keys recoloured in rainbow colours along every row:
#   backlight-zh.png           the backlight settings dialog, Chinese
#   backlight-multikey-zh.png  the multi-key dialog with W, A, S, D and Space selected
#   backlight-colour-en.png    the whole screen with the colour dialog opened on Esc, its colour preselected
#   backlight-en.png           the backlight settings dialog, English
#   backlight-multikey-en.png  the multi-key dialog with Shift, Z and X selected
# Usage: scripts/screenshot-backlight.sh [BUILD_DIR] [OUTPUT_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
out=${2:-$here/screenshots}
program=$build/bin/Zelk
[ -x "$program" ] || { echo "screenshot-backlight.sh: $program not built" >&2; exit 1; }
for tool in Xvfb xdotool import awk; do
    command -v "$tool" >/dev/null || { echo "screenshot-backlight.sh: $tool is missing" >&2; exit 1; }
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
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 300); do
    xdotool getmouselocation >/dev/null 2>&1 && break
    kill -0 "$xvfb" 2>/dev/null || { echo "screenshot-backlight.sh: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done

# The demo profile with its keys in rainbow colours, running left to right along every row.
profile=$work/rainbow.pro
awk '
function channel(h) { h = h % 360; if (h < 60) return 255 * h / 60; if (h < 180) return 255;
                      if (h < 240) return 255 * (240 - h) / 60; return 0 }
BEGIN { split("1 14 28 42 55 67 75 88", start, " ") }
/<AREA ID=/ {
    match($0, /ID="[0-9]+"/); id = substr($0, RSTART + 4, RLENGTH - 5) + 0
    for (row = 1; row < 8; ++row) if (id >= start[row] && id < start[row + 1]) break
    hue = 300 * (id - start[row]) / (start[row + 1] - start[row])
    printf "<AREA ID=\"%d\" Red=\"%d\" Green=\"%d\" Blue=\"%d\"/>\n", id, channel(hue + 120), channel(hue), channel(hue + 240)
    next
}
{ print }' "$here/res/demo.pro" >"$profile"

"$program" --virtual-keyboard="$work/keyboard.state" >"$work/zelk.log" 2>&1 &
zelk=$!

# Waits for a window whose title matches, and sets left, top, WIDTH and HEIGHT to its geometry.
find_window() {
    local window=
    for _ in $(seq 300); do
        window=$(xdotool search --name "$1" 2>/dev/null | head -n1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "screenshot-backlight.sh: no window $1" >&2; cat "$work/zelk.log" >&2; import -window root "$out/failed.png"; exit 1; }
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$window")"
    left=$X top=$Y
}
at() { xdotool mousemove "$((left + $1))" "$((top + $2))"; sleep 0.3; }
click() { at "$1" "$2"; xdotool click 1; sleep 0.5; }
shot() {
    import -window root -crop "${WIDTH}x${HEIGHT}+${left}+${top}" +repage -depth 8 "$out/$1"
    echo "wrote $out/$1"
}

find_window '^Zelk$'
main_left=$left main_top=$top
click 190 112 # Open
sleep 1
xdotool type --delay 20 "$profile"
xdotool key Return
sleep 1

click 640 112 # LightSet
find_window '^背光设置面板$'
at 1030 300 # clear of every area
shot backlight-zh.png
click 389 437 # MultiKey
find_window '^多键设置面板$'
for key in 200,224 160,275 211,275 262,275 396,376; do click "${key%,*}" "${key#*,}"; done
at 1030 300
shot backlight-multikey-zh.png
click 1001 27 # close
find_window '^背光设置面板$'
click 741 437 # Cancel

left=$main_left top=$main_top
click 1077 112 # language
click 640 112  # LightSet
find_window '^BackLight Settings$'
click 70 123 # Esc: the colour dialog opens with the key's colour
sleep 1
import -window root -depth 8 "$work/screen.png"
xdotool key Escape
sleep 0.5
cp "$work/screen.png" "$out/backlight-colour-en.png"
echo "wrote $out/backlight-colour-en.png"
at 1030 300
shot backlight-en.png
click 389 437 # MultiKey
find_window '^Set Multi Key$'
for key in 149,323 200,323 251,323; do click "${key%,*}" "${key#*,}"; done
at 1030 300
shot backlight-multikey-en.png
click 1001 27
find_window '^BackLight Settings$'
click 741 437
