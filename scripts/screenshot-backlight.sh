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
. "$here/scripts/xvfb-session.sh"

# The demo profile with its keys in rainbow colours, running left to right along every row.
profile=$work/rainbow.pro
need awk
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

start_program
open_profile "$profile"

# Prints the id of the dialog whose title matches, once it has settled; without one, leaves the
# screen in failed.png for a look.
dialog() {
    local id
    id=$(tries=600 title=$1 find_window any "$main") || {
        echo "$session_name: no window $1" >&2
        cat "$work/zelk.log" >&2
        import -window root "$out/failed.png"
        exit 1
    }
    sleep 0.5
    echo "$id"
}
# Clicks the keys given as X,Y in a window.
click_keys() {
    local window=$1 key; shift
    for key in "$@"; do click_in "$window" "${key%,*}" "${key#*,}"; done
}

click_in "$main" 640 112 # LightSet
backlight=$(dialog '^背光设置面板$')
point_in "$backlight" 1030 300 # clear of every area
grab "$backlight" "$out/backlight-zh.png"
click_in "$backlight" 389 437 # MultiKey
multikey=$(dialog '^多键设置面板$')
click_keys "$multikey" 200,224 160,275 211,275 262,275 396,376
point_in "$multikey" 1030 300
grab "$multikey" "$out/backlight-multikey-zh.png"
click_in "$multikey" 1001 27   # close
click_in "$backlight" 741 437 # Cancel

click_in "$main" 1077 112 # language
click_in "$main" 640 112  # LightSet
backlight=$(dialog '^BackLight Settings$')
click_in "$backlight" 70 123 # Esc: the colour dialog opens with the key's colour
sleep 1
import -window root -depth 8 "$work/screen.png"
xdotool key Escape
sleep 0.5
cp "$work/screen.png" "$out/backlight-colour-en.png"
echo "wrote $out/backlight-colour-en.png"
point_in "$backlight" 1030 300
grab "$backlight" "$out/backlight-en.png"
click_in "$backlight" 389 437 # MultiKey
multikey=$(dialog '^Set Multi Key$')
click_keys "$multikey" 149,323 200,323 251,323
point_in "$multikey" 1030 300
grab "$multikey" "$out/backlight-multikey-en.png"
click_in "$multikey" 1001 27
click_in "$backlight" 741 437
