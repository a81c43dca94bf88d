# Sourced by the screenshot scripts: starts Xvfb on a free display, and offers start_program to run
# the desktop program on the virtual keyboard in it and helpers to find, click and capture its windows.
# Needs: $build (the build folder). May be set before sourcing: $out (the output folder; created).
# Sets: $program (the Zelk binary), $work (a scratch folder, removed at exit; with ZELK_KEEP set it is
# kept as /tmp/zelk-shot-work), and $main (the main window's id) once start_program returns. Its exit
# trap replaces any the caller set.

session_name=${0##*/}
# Exits 77, which ctest reports as skipped, unless every tool named is installed: a check installs
# nothing itself (scripts/setup.sh test or screenshots installs them all).
need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || {
            echo "$session_name: $tool is not installed, so this is skipped (scripts/setup.sh installs it)" >&2
            exit 77
        }
    done
}
need Xvfb xdotool import convert
program=$build/bin/Zelk
[ -x "$program" ] || { echo "$session_name: $program not built" >&2; exit 1; }
if [ -n "${out:-}" ]; then
    mkdir -p "$out"
fi

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export ASAN_OPTIONS=detect_leaks=0
export QT_QPA_PLATFORM=xcb

xvfb=
zelk=
session_end() {
    [ -n "$zelk" ] && kill "$zelk" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    if [ -n "${ZELK_KEEP:-}" ]; then
        rm -rf /tmp/zelk-shot-work
        cp -r "$work" /tmp/zelk-shot-work
    fi
    rm -rf "$work"
}
trap session_end EXIT

# shellcheck source=scripts/private-xvfb.sh
. "$(dirname "${BASH_SOURCE[0]:-$0}")/private-xvfb.sh"
start_private_xvfb "${ZELK_SCREENSHOT_DISPLAY:-97}" ||
    { echo "$session_name: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }

# Starts the program on the virtual keyboard, with any further arguments given, and waits up to 30 s
# for its main window. Whatever the caller prepares in $work is in place before the program starts.
start_program() {
    "$program" --virtual-keyboard="$work/keyboard.state" "$@" >"$work/zelk.log" 2>&1 &
    zelk=$!
    main=$(tries=600 find_window any) || {
        echo "$session_name: the main window did not appear" >&2
        cat "$work/zelk.log" >&2
        exit 1
    }
    sleep 0.5
}

# Prints the id of a visible window whose title matches $title (default: Zelk), other than the
# ones given, whose size matches (WIDTHxHEIGHT, or any). Fails when none appears within tries × 50 ms
# (default 200).
find_window() {
    local size=$1; shift
    local id
    for _ in $(seq "${tries:-200}"); do
        for id in $(xdotool search --onlyvisible --name "${title:-^Zelk\$}" 2>/dev/null); do
            case " $* " in *" $id "*) continue ;; esac
            eval "$(xdotool getwindowgeometry --shell "$id")"
            if [ "$size" = any ] || [ "${WIDTH}x${HEIGHT}" = "$size" ]; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.05
    done
    return 1
}
# Clicks at coordinates inside a window.
click_in() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove "$((X + $2))" "$((Y + $3))"
    sleep 0.2
    xdotool click 1
    sleep 0.4
}
# Moves the pointer to coordinates inside a window.
point_in() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove "$((X + $2))" "$((Y + $3))"
    sleep 0.3
}
park_mouse() { xdotool mousemove 5 5; sleep 0.3; }
# Writes a window's picture to a file as an 8-bit palette PNG.
shot() {
    import -window "$1" "$work/shot.png"
    convert "$work/shot.png" +dither -colors 256 "PNG8:$2"
    echo "wrote $2"
}
# Writes the part of the screen a window covers to a file in full colour; unlike shot, whatever lies
# over the window (a tooltip, a hover) shows too.
grab() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -depth 8 "$2"
    echo "wrote $2"
}
# Answers the file dialog that the last click opened over the windows given with a path. Waits for
# the dialog first: on a busy machine it can take more than a second, and keys typed before it are lost.
answer_file_dialog() {
    local path=$1; shift
    tries=200 title=. find_window any "$@" >/dev/null || { echo "$session_name: no file dialog" >&2; exit 1; }
    sleep 0.5
    xdotool type --delay 10 "$path"
    xdotool key Return
    sleep 1
}
# Opens a profile through the main window's Open button.
open_profile() {
    local path
    path=$(realpath -e "$1" 2>/dev/null) || { echo "$session_name: no profile $1" >&2; exit 1; }
    click_in "$main" 190 112
    answer_file_dialog "$path" "$main"
}
