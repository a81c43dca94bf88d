#!/bin/bash
# wayland-check.sh BUILD_DIR [OUT_DIR]: the desktop program under a real Wayland compositor. Starts
# weston (its X11 back end, inside a private Xvfb, so xdotool can click and ImageMagick can see it)
# and the program on the virtual keyboard with Qt's Wayland platform; checks that no pixel of a
# window's transparent colour shows around the main window and the key assignment editor; opens the
# editor with a click on the key A, records a macro from keys typed into it, saves the profile and
# finds the recording in it; then Hide puts the program's icon in a notification area (a D-Bus
# StatusNotifierWatcher, as KDE Plasma and GNOME's AppIndicator extension offer) and the icon brings the
# window back. With OUT_DIR, leaves its screenshots there. Exits 77 (skipped) when a tool it needs is
# missing; without D-Bus or python3-gi only the notification area's part is skipped.
set -eu
# The whole check runs in a D-Bus session of its own, which ends with it.
if [ -z "${ZELK_WAYLAND_SESSION:-}" ] && command -v dbus-run-session >/dev/null; then
    export ZELK_WAYLAND_SESSION=1
    exec timeout --kill-after=10 170 dbus-run-session -- "$0" "$@"
fi
build=$(realpath "$1")
out=${2:-}
program=$build/bin/Zelk
[ -x "$program" ] || { echo "wayland-check: $program not built" >&2; exit 1; }
for tool in Xvfb weston xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "wayland-check: $tool is missing (scripts/setup.sh test)" >&2; exit 77; }
done
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    { echo "wayland-check: Qt's Wayland platform is missing (qt6-wayland)" >&2; exit 77; }

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
    echo "wayland-check: $*" >&2
    cat "$work/weston.log" "$work/zelk.log" >&2 2>/dev/null || true
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

# A private X server on a free display.
# shellcheck source=scripts/private-xvfb.sh
. "$(dirname "$0")/private-xvfb.sh"
start_private_xvfb "${ZELK_WAYLAND_CHECK_DISPLAY:-87}" || fail "Xvfb did not start"
pids+=("$xvfb")

# weston's kiosk shell puts the main window at the output's top left.
width=1200 height=900
socket=zelk-check-$$
weston --backend=x11-backend.so --use-pixman --socket="$socket" --width=$width --height=$height \
    --shell=kiosk-shell.so >"$work/weston.log" 2>&1 &
pids+=($!)
wait_for 300 test -S "$XDG_RUNTIME_DIR/$socket" || fail "weston did not start"
export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland
# The notification area, there before the program asks for it.
tray_items=
if [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] && /usr/bin/python3 -c 'import gi' 2>/dev/null; then
    tray_items=$work/tray-items
    /usr/bin/python3 "$(dirname "$0")/status-notifier-watcher.py" "$tray_items" >"$work/watcher.log" 2>&1 &
    pids+=($!)
    watcher_up() {
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null | grep -q true
    }
    wait_for 100 watcher_up || fail "the notification area did not start: $(cat "$work/watcher.log")"
fi
"$program" --virtual-keyboard="$work/keyboard.state" >"$work/zelk.log" 2>&1 &
pids+=($!)

screen() { import -window root -depth 8 "$work/$1.png"; }
# The colour of one pixel of the last screenshot taken as NAME, as "r,g,b".
pixel() { convert "$work/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
# How many pixels of the screenshot NAME have exactly the colour given.
count() {
    convert "$work/$1.png" -alpha off -fill black +opaque "$2" -fill white -opaque "$2" \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}
click() { xdotool mousemove "$1" "$2"; sleep 0.2; xdotool click 1; sleep 0.5; }
# The main window has shown once its title's orange Z is drawn.
main_shown() { screen main && [ "$(pixel main 60 40)" != "0,0,0" ]; }
wait_for 300 main_shown || fail "the main window did not appear"
sleep 1
screen main
# The transparent colours of the skins: blue around the main window, red around the editor.
check_corners() {
    local colour n
    for colour in 'rgb(0,0,255)' 'rgb(255,0,0)'; do
        n=$(count "$1" "$colour")
        [ "$n" = 0 ] || fail "$n pixels of $colour show on the screen with $2"
    done
}
check_corners main "the main window"

# The editor, over the key A, drawn inside the main window (1170 × 680) at its centre.
click 292 340
ex=$(((1170 - 580) / 2)) ey=$(((680 - 372) / 2))
editor_shown() { screen editor && [ "$(pixel editor $((ex + 290)) $((ey + 20)))" != "$(pixel main $((ex + 290)) $((ey + 20)))" ]; }
wait_for 100 editor_shown || fail "the editor did not open"
sleep 0.5
screen editor
check_corners editor "the key assignment editor"

# A macro recorded from keys typed into the editor: Macro, New (its name committed by a click
# elsewhere), Record, the keys, a click that stops, OK.
click $((ex + 134)) $((ey + 64))
click $((ex + 75)) $((ey + 273))
click $((ex + 300)) $((ey + 300))
click $((ex + 462)) $((ey + 231))
screen recording
xdotool key --delay 150 a b
sleep 0.5
click $((ex + 300)) $((ey + 300))
click $((ex + 407)) $((ey + 336))

# Saved through the Save button and Qt's file dialog, drawn at the main window's centre too.
profile=$work/recorded.pro
click 82 112
dialog_shown() { screen dialog && [ "$(pixel dialog 585 340)" != "$(pixel main 585 340)" ]; }
wait_for 100 dialog_shown || fail "the file dialog did not open"
sleep 0.5
xdotool type --delay 20 "$profile"
xdotool key Return
wait_for 100 test -s "$profile" || fail "the profile was not saved"
grep -A40 '<KEY ID="43" Level="0" Mode="3"' "$profile" >"$work/macro.txt" || fail "the key A is no macro in the profile"
steps=$(sed -n 's/.*<x ID="[0-9]*" t1="\([^"]*\)".*/\1/p' "$work/macro.txt" | head -7 | sed 's/&lt;[0-9]* ms&gt;/DELAY/' | paste -sd,)
[ "$steps" = "A Down,DELAY,A UP,DELAY,B Down,DELAY,B UP" ] || fail "the recorded macro reads $steps"
echo "wayland-check: no transparent colour shows; the key A saved with the macro typed into the editor"

# Hide (the button left of Help) puts the icon in the notification area and the window away; the
# icon's activation (a click on it) brings the window back.
if [ -z "$tray_items" ]; then
    echo "wayland-check: D-Bus or python3-gi is missing, so the notification area's part is skipped" >&2
    exit 0
fi
click 1062 35
hidden() { screen hidden && [ "$(pixel hidden 60 40)" = "0,0,0" ]; }
wait_for 100 hidden || fail "Hide left the main window shown"
wait_for 100 test -s "$tray_items" || fail "Hide put no icon in the notification area"
item=$(head -n 1 "$tray_items")
dbus-send --session --print-reply --dest="$item" /StatusNotifierItem org.kde.StatusNotifierItem.Activate \
    int32:0 int32:0 >/dev/null || fail "the icon $item did not take the activation"
wait_for 100 main_shown || fail "the icon did not bring the main window back"
echo "wayland-check: Hide put the icon in the notification area, and the icon brought the window back"
