# Sourced by the checks under X: start_private_xvfb FIRST_NUMBER [SCREEN] starts Xvfb on the first free
# display from FIRST_NUMBER, keeping its log and display number in $work, and sets $xvfb (its process)
# and DISPLAY; fails when no server came up after ten numbers.
# Xvfb writes its display number to descriptor 3 once it takes connections, and quits without it where
# another server holds the display (one started since the lock check, perhaps by a parallel run);
# then the next number is tried. It does not reset when its last client goes (xdotool's between the
# program's start and its connection), which would turn a connection made meanwhile away.
start_private_xvfb() {
    local number=$1 screen=${2:-1280x1024x24}
    xvfb=
    for _ in $(seq 10); do
        while [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
        : >"$work/display"
        Xvfb ":$number" -screen 0 "$screen" -nolisten tcp -noreset -displayfd 3 3>"$work/display" \
            >"$work/xvfb.log" 2>&1 &
        xvfb=$!
        for _ in $(seq 300); do
            [ -s "$work/display" ] || ! kill -0 "$xvfb" 2>/dev/null && break
            sleep 0.1
        done
        if [ -s "$work/display" ]; then
            export DISPLAY=:$number
            return 0
        fi
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
        xvfb=
        number=$((number + 1))
    done
    return 1
}
