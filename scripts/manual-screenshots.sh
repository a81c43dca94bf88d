#!/usr/bin/env bash
# Renews the pictures of the user manual (res/manual/images/) from a build, as 8-bit palette PNGs:
# the main window (with res/demo.pro opened), the device dialogs, and the key assignment editor and
# the backlight dialogs where the build has them.
# Usage: scripts/manual-screenshots.sh [BUILD_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
images=$here/res/manual/images
program=$build/bin/Zelk
[ -x "$program" ] || { echo "manual-screenshots.sh: $program not built" >&2; exit 1; }
mkdir -p "$images"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$here/scripts/screenshot.sh" "$build" "$scratch" "$here/res/demo.pro"
for name in main-zh-layer1 main-zh-layer2 main-en-layer1 main-en-layer2; do
    convert "$scratch/$name.png" +dither -colors 256 "PNG8:$images/$name.png"
done
# The session below sets its own exit trap, so the scratch folder goes now.
rm -rf "$scratch"
"$here/scripts/screenshot-devices.sh" "$build" "$images"

# The windows of the key editor and the backlight settings, each in both languages.
. "$here/scripts/xvfb-session.sh"
start_program
open_profile "$here/res/demo.pro"
for lang in zh en; do
    [ "$lang" = en ] && click_in "$main" 1077 112
    click_in "$main" 334 290 # key W opens its editor
    if editor=$(tries=60 title=. find_window any "$main"); then
        park_mouse
        shot "$editor" "$images/editor-$lang.png"
        xdotool key Escape
        sleep 0.5
    else
        echo "manual-screenshots.sh: no key editor in this build" >&2
    fi
    click_in "$main" 640 112 # backlight
    if backlight=$(tries=60 title=. find_window any "$main"); then
        park_mouse
        shot "$backlight" "$images/backlight-$lang.png"
        click_in "$backlight" 389 437 # MultiKey
        if multi=$(tries=60 title=. find_window any "$main" "$backlight"); then
            park_mouse
            shot "$multi" "$images/multikey-$lang.png"
            click_in "$multi" 1001 27 # its close button
        fi
        click_in "$backlight" 1001 27 # its close button
    else
        echo "manual-screenshots.sh: no backlight dialog in this build" >&2
    fi
done
