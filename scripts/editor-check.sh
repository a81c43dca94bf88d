#!/bin/bash
# editor-check.sh BUILD_DIR [OUT_DIR]: the key assignment editor under a real X server. Starts the
# program on the virtual keyboard; clicks the key A, the Multimedia tab, the Mute icon and OK; records
# a macro for the key S from keys pressed with xdotool while the desktop's keyboard is captured;
# edits one of its delays and scrolls the step list under the open delay editor; saves the profile
# through the file dialog and finds both assignments, every step in place, in the file. With OUT_DIR,
# also writes a screenshot of every page of the editor in both languages there. Exits 77, which ctest
# reports as skipped, when Xvfb, xdotool or ImageMagick is not installed.
set -eu
build=$(realpath "$1")
out=${2:-}
# shellcheck source=scripts/xvfb-session.sh
. "$(dirname "$0")/xvfb-session.sh"

fail() { echo "editor-check: $*" >&2; cat "$work/zelk.log" >&2; exit 1; }

start_program

# Clicks a key of the main window and returns the editor that opens.
open_editor() {
    click_in "$main" "$1" "$2"
    tries=100 find_window any "$main" || fail "the editor did not open"
}

if [ -n "$out" ]; then
    for language in zh en; do
        editor=$(open_editor 292 340)
        for page in 1 2 3 4 5 6 7; do
            click_in "$editor" $((18 + 78 * (page - 1) + 38)) 64
            park_mouse
            shot "$editor" "$out/editor-$language-page$page.png"
        done
        click_in "$editor" 503 336 # Cancel
        click_in "$main" 1077 112  # the language button
    done
fi

editor=$(open_editor 292 340) # the key A
click_in "$editor" 290 64      # Multimedia
click_in "$editor" 413 170     # Mute
click_in "$editor" 407 336     # OK
for _ in $(seq 40); do
    xdotool search --onlyvisible --name '^Zelk$' 2>/dev/null | grep -qx "$editor" || break
    sleep 0.05
done
! xdotool search --onlyvisible --name '^Zelk$' 2>/dev/null | grep -qx "$editor" || fail "OK did not close the editor"

# Waits until the editor has closed.
closed() {
    for _ in $(seq 40); do
        xdotool search --onlyvisible --name '^Zelk$' 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.05
    done
    return 1
}

editor=$(open_editor 344 340) # the key S
click_in "$editor" 134 64      # Macro
click_in "$editor" 75 273      # New: the name editor opens with a name
click_in "$editor" 300 300     # commits the name
click_in "$editor" 462 231     # Record
xdotool key --delay 120 a b
sleep 0.5
click_in "$editor" 300 300 # stops the recording
# The delay after A Down opened for editing, the record bar moved two steps down, a new value typed:
# the value belongs to the delay it was opened for, and nothing lands on the release now selected.
click_in "$editor" 280 134
click_in "$editor" 280 134
click_in "$editor" 362 237 # the record bar's down arrow
click_in "$editor" 362 237
xdotool type --delay 50 777
click_in "$editor" 407 336 # OK
closed "$editor" || fail "OK did not close the editor after recording"

profile=$work/edited.pro
click_in "$main" 82 112 # Save
answer_file_dialog "$profile" "$main"
for _ in $(seq 200); do
    [ -s "$profile" ] && break
    sleep 0.05
done
[ -s "$profile" ] || fail "the profile was not saved"
grep -q '<KEY ID="43" Level="0" Mode="5" HWCode="112">' "$profile" || fail "the key A is not Mute in the profile"
grep -A40 '<KEY ID="44" Level="0" Mode="3"' "$profile" >"$work/macro.txt" || fail "the key S is no macro in the profile"
# The steps in order, with a delay item between each two.
steps=$(sed -n 's/.*<x ID="[0-9]*" t1="\([^"]*\)".*/\1/p' "$work/macro.txt" | head -7 | sed 's/&lt;[0-9]* ms&gt;/DELAY/' | paste -sd,)
[ "$steps" = "A Down,DELAY,A UP,DELAY,B Down,DELAY,B UP" ] || fail "the recorded macro reads $steps"
echo "editor-check: the key A saved as Mute, the key S as the recorded macro"
