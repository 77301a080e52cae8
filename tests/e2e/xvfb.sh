# Helpers for end-to-end tests that drive the program through a real X server.
# Source it; it starts its own Xvfb on a free display and its own session bus,
# and stops both on exit.

set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../support/session.sh"

work=$(mktemp -d)
xvfb_pid=
program_pid=
wm_pid=

# A script that starts more may define before_cleanup, run first; and
# after_exit, run once the program has ended.
cleanup() {
    [ "$(type -t before_cleanup)" != function ] || before_cleanup
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    stop_session_bus
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FALLO: $*" >&2
    if [ -s "$work/stderr" ]; then
        echo "--- the program's standard error:" >&2
        cat "$work/stderr" >&2
    fi
    exit 1
}

# Starts Xvfb on a display it picks itself and exports DISPLAY, and a session
# bus of the test's own.
start_xvfb() {
    # -noreset: no reset, which may refuse a client, when xdotool leaves last.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$work/display")"
    # On this Xvfb, whatever the caller's session: X11, no Wayland, no
    # scaling, no desktop's theme or style, no accessibility forced on.
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR \
        QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE \
        XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION QT_LINUX_ACCESSIBILITY_ALWAYS_ON \
        QT_ACCESSIBILITY
    start_session_bus "$work" || fail "no session bus: dbus-daemon --session did not start"
}

# Starts a window manager (openbox) on the test's display: windows get a
# frame, which the program does not draw itself.
start_window_manager() {
    HOME=$work openbox >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        kill -0 "$wm_pid" 2>/dev/null || break
        sleep 0.1
    done
    fail "openbox did not start: $(cat "$work/openbox.log")"
}

# The geometry "X Y WIDTH HEIGHT" of the window manager's frame around
# window $1: its ancestor just below the root window.
frame_geometry() {
    local root top=$1 parent
    root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
    while parent=$(xwininfo -id "$top" -tree | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p') &&
        [ -n "$parent" ] && [ "$parent" != "$root" ]; do
        top=$parent
    done
    xwininfo -id "$top" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}

# Starts a program with its standard output in $work/stdout (or in
# $program_out) and waits for its window (at most $start_within seconds, 20
# by default), whose id it leaves in $window.
start_program() {
    "$@" >"${program_out:-$work/stdout}" 2>"$work/stderr" </dev/null &
    program_pid=$!
    window=
    for _ in $(seq $((${start_within:-20} * 10))); do
        window=$(xdotool search --onlyvisible --name '^Puerto Paralelo$' 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended at start: $(cat "$work/stderr")"
        sleep 0.1
    done
    [ -n "$window" ] || fail "no window appeared in ${start_within:-20} s (shown: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | paste -sd'|')): $(cat "$work/stderr")"
}

# Clicks the middle of a control given in window pixels: left top width height.
click_at() {
    xdotool mousemove --window "$window" $(($1 + $3 / 2)) $(($2 + $4 / 2)) click 1
}

# Waits until the program's standard output has $1 lines.
wait_for_lines() {
    for _ in $(seq 100); do
        [ "$(wc -l <"$work/stdout")" -ge "$1" ] && return 0
        sleep 0.05
    done
    fail "expected $1 lines, got: $(cat "$work/stdout")"
}

# Waits for the program to end (at most $exit_within seconds, 5 by default)
# and leaves its exit status in $status.
wait_for_exit() {
    reap "${exit_within:-5}" "$program_pid" "the program" || fail "the program did not end"
    program_pid=
    [ "$(type -t after_exit)" != function ] || after_exit
}

# Checks that the program printed exactly the lines of the array `expected`,
# each beginning with its "0x378 <- 0xHH" (or the port chosen instead).
expect_printed_lines() {
    local lines i
    mapfile -t lines <"$work/stdout"
    [ "${#lines[@]}" -eq "${#expected[@]}" ] ||
        fail "expected ${#expected[@]} lines, got: $(cat "$work/stdout")"
    for i in "${!expected[@]}"; do
        [ "${lines[$i]:0:${#expected[$i]}}" = "${expected[$i]}" ] ||
            fail "line $((i + 1)) is '${lines[$i]}', expected '${expected[$i]}…'"
    done
}

# Clicks "Salir" and checks that the program ended with status 0.
salir() {
    click_at 104 168 57 25
    wait_for_exit
    [ "$status" -eq 0 ] || fail "exit status $status after Salir"
}
