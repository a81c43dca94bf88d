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
. "$here/scripts/xvfb-session.sh"
start_program

# Writes the main window with the pointer at the coordinates given, after leaving every area so that
# the last hover is cleared.
hover_shot() {
    point_in "$main" 5 600
    point_in "$main" "$2" "$3"
    grab "$main" "$out/$1"
}

if [ -n "$profile" ]; then
    open_profile "$profile"
fi

hover_shot main-zh-layer1.png 334 290 # W (key 30)
click_in "$main" 85 240               # layer switch
hover_shot main-zh-layer2.png 253 240 # 1 (key 15)
click_in "$main" 1077 112             # language switch
hover_shot main-en-layer2.png 640 112 # over the backlight button
click_in "$main" 85 240
hover_shot main-en-layer1.png 292 340 # A (key 43)
