#!/bin/bash
# mutter-check.sh BUILD_DIR [OUT_DIR]: where the dialogs open under GNOME's compositor. Starts Mutter
# nested in a private Xvfb (so xdotool can click and ImageMagick can see it) and the program on the
# virtual keyboard with Qt's Wayland platform; opens the key assignment editor with a click on the key
# A and the file dialog with the Save button, and measures each one's centre against the main
# window's: both must lie over the main window's centre, as under X11, within a few pixels. The main
# window is dimmed behind a dialog, so a dialog's pixels are those that differ both from the main
# window's and from the main window's dimmed. With OUT_DIR, leaves its screenshots there. Exits 77
# (skipped) when a tool it needs is missing.
set -eu
# Mutter wants a D-Bus session; the check runs in one of its own, which ends with it.
if [ -z "${ZELK_MUTTER_SESSION:-}" ] && command -v dbus-run-session >/dev/null; then
    export ZELK_MUTTER_SESSION=1
    exec timeout --kill-after=10 170 dbus-run-session -- "$0" "$@"
fi
build=$(realpath "$1")
out=${2:-}
program=$build/bin/Zelk
[ -x "$program" ] || { echo "mutter-check: $program not built" >&2; exit 1; }
for tool in dbus-run-session Xvfb mutter xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "mutter-check: $tool is missing (scripts/setup.sh test)" >&2; exit 77; }
done
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    { echo "mutter-check: Qt's Wayland platform is missing (qt6-wayland)" >&2; exit 77; }

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export ASAN_OPTIONS=detect_leaks=0
pids=()
finish() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    [ -n "$out" ] && mkdir -p "$out" && cp "$work"/*.png "$out"/ 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "mutter-check: $*" >&2
    cat "$work/mutter.log" "$work/zelk.log" >&2 2>/dev/null || true
    exit 1
}
# Waits up to tries × 100 ms for a command to succeed.
wait_for() {
    local tries=$1; shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# shellcheck source=scripts/private-xvfb.sh
. "$(dirname "$0")/private-xvfb.sh"
start_private_xvfb "${ZELK_MUTTER_CHECK_DISPLAY:-97}" || fail "Xvfb did not start"
pids+=("$xvfb")

socket=zelk-mutter-$$
MUTTER_DEBUG_DUMMY_MODE_SPECS=1200x900 mutter --nested --wayland --no-x11 --wayland-display="$socket" \
    >"$work/mutter.log" 2>&1 &
pids+=($!)
wait_for 300 test -S "$XDG_RUNTIME_DIR/$socket" || fail "mutter did not start"
export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland

screen() { import -window root -depth 8 "$work/$1.png"; }
# The bounding box ("W H X Y") of the pixels that are white in the mask image read from standard input.
box() {
    convert - -bordercolor black -border 1 -format '%@' info: 2>/dev/null |
        sed -n 's/^\([0-9]*\)x\([0-9]*\)+\([0-9]*\)+\([0-9]*\)$/\1 \2 \3 \4/p'
}
# White where two screenshots differ by more than 5% in a channel.
differ() {
    convert "$work/$1.png" "$work/$2.png" -compose difference -composite -separate \
        -evaluate-sequence max -threshold 5% "$3"
}
# The pointer waits in the desktop's corner, out of every screenshot's way.
xdotool mousemove 1195 895
# The desktop has shown once its middle is no longer black.
desktop_shown() {
    screen desktop
    [ "$(convert "$work/desktop.png" -format '%[fx:int(255*p{600,450}.b)]' info:)" != 0 ]
}
wait_for 100 desktop_shown || fail "mutter showed no desktop"
sleep 0.5
screen desktop
"$program" --virtual-keyboard="$work/keyboard.state" >"$work/zelk.log" 2>&1 &
pids+=($!)
# The main window: what the program's start changed on the desktop, once it stays the same.
main_shown() {
    screen main
    differ desktop main "$work/main-mask.png"
    local seen=$main_box
    main_box=$(box <"$work/main-mask.png")
    [ -n "$main_box" ] && [ "$main_box" = "$seen" ] && [ "${main_box%% *}" -gt 600 ]
}
main_box=
wait_for 300 main_shown || fail "the main window did not appear (last seen: ${main_box:-nothing})"
read -r mw mh mx my <<<"$main_box"
mx=$((mx - 1)) my=$((my - 1))
echo "mutter-check: the main window is ${mw}x$mh at $mx,$my"
# The main window dimmed behind a dialog: black at 96 of 255 over it.
convert "$work/main.png" -evaluate multiply 0.6235 "$work/dimmed.png"

click() { xdotool mousemove "$1" "$2"; sleep 0.2; xdotool click 1; sleep 0.2; xdotool mousemove 1195 895; sleep 0.3; }
# The centre of the dialog shown in the screenshot NAME, measured against the main window's: sets
# dx and dy, and fails when no dialog shows.
dialog_offset() {
    differ "$1" main "$work/$1-from-main.png"
    differ "$1" dimmed "$work/$1-from-dimmed.png"
    local found
    found=$(convert "$work/$1-from-main.png" "$work/$1-from-dimmed.png" -compose multiply -composite png:- | box)
    [ -n "$found" ] || return 1
    read -r w h x y <<<"$found"
    [ "$w" -gt 100 ] || return 1
    dx=$(((2 * (x - 1) + w) - (2 * mx + mw))) dy=$(((2 * (y - 1) + h) - (2 * my + mh)))
    dx=$((dx / 2)) dy=$((dy / 2))
    echo "mutter-check: $2 is ${w}x$h at $((x - 1)),$((y - 1)), its centre $dx,$dy px from the main window's"
}
within_few_pixels() { [ "${dx#-}" -le 4 ] && [ "${dy#-}" -le 4 ]; }

# The key assignment editor, opened with a click on the key A.
click $((mx + 292)) $((my + 340))
sleep 1.5
screen editor
dialog_offset editor "the key assignment editor" || fail "the editor did not open"
within_few_pixels || fail "the key assignment editor's centre is $dx,$dy px from the main window's"
xdotool key Escape
sleep 1
editor_closed() { screen closed && [ -z "$(differ closed main png:- | convert - -format '%[fx:mean>0.01?1:0]' info: | grep 1)" ]; }
wait_for 50 editor_closed || fail "Escape did not close the editor"

# Qt's file dialog, opened with the Save button.
click $((mx + 82)) $((my + 112))
sleep 1.5
screen save
dialog_offset save "the file dialog" || fail "the file dialog did not open"
within_few_pixels || fail "the file dialog's centre is $dx,$dy px from the main window's"
xdotool key Escape
echo "mutter-check: the editor and the file dialog open over the main window's centre"
