#!/usr/bin/env bash
# Both programs' command line as a user over ssh would meet it: no display at
# all. Help, version, the list of ports and mistakes need none; without one,
# the window cannot open and the program says so in Spanish, without a core
# dump. Touches no port: no option here opens the window.
# Usage: command_line_test.sh PATH/TO/puerto-paralelo PATH/TO/puerto-paralelo-demo
set -euo pipefail
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FALLO: $*" >&2; exit 1; }

run() { # EXPECTED-STATUS PROGRAM ARGS...: output in $work/out and $work/err
    local want=$1 status=0
    shift
    "$@" >"$work/out" 2>"$work/err" </dev/null || status=$?
    [ "$status" = "$want" ] ||
        fail "$* ended with $status, not $want: $(cat "$work/out" "$work/err")"
}
starts() { # FILE TEXT
    [ "$(head -c "${#2}" "$1")" = "$2" ] || fail "$1 does not start with '$2': $(cat "$1")"
}

for program in "$@"; do
    name=$(basename "$program")
    run 0 "$program" --help
    starts "$work/out" "Uso: $name [--puerto P]"
    grep -q -- "--puerto 0xD010" "$work/out" || fail "no example in the help"
    run 0 "$program" --version
    starts "$work/out" "$name "
    run 0 "$program" --listar
    [ -s "$work/out" ] && [ ! -s "$work/err" ] || fail "--listar printed nothing, or on stderr"
    for mistake in "--bogus" "--puerto 0x10000" "--puerto -1" "--puerto abc" "--puerto 0x" \
        "--puerto /etc/passwd" "--puerto"; do
        # shellcheck disable=SC2086
        run 2 "$program" $mistake
        starts "$work/err" "$name: "
        grep -q "^Uso: $name" "$work/err" || fail "$mistake: no usage: $(cat "$work/err")"
        [ ! -s "$work/out" ] || fail "$mistake printed on stdout"
    done
    # Qt's options go to Qt: offscreen, the window opens without a display
    # and runs until it is ended.
    run 124 timeout 3 "$program" -platform offscreen -style Fusion
    # The window itself: no display, so a message and status 1, not abort().
    run 1 "$program"
    grep -q "^$name: no se puede abrir la ventana: no hay ninguna pantalla gráfica" "$work/err" ||
        fail "without a display: $(cat "$work/err")"
    # A display named, but no Qt plugin for the window system asked for: said
    # so, not "no display".
    DISPLAY=:99 QT_QPA_PLATFORM=ventanas run 1 "$program"
    grep -q "^$name: no se puede abrir la ventana: hay una pantalla gráfica (:99), pero Qt no puede cargar su complemento para el sistema de ventanas («ventanas»)" "$work/err" ||
        fail "with a display and no plugin: $(cat "$work/err")"
done

# A display, but Qt's X11 plugin cannot load. Since Qt 6.5 it needs
# libxcb-cursor0: hidden in a private mount (root only), the message names it.
core=$(ldd "$1" | grep -o '/[^ ]*/libQt6Core\.so\.6' | head -n 1)
cursor=$(ldd "$(dirname "$core")/qt6/plugins/platforms/libqxcb.so" 2>/dev/null |
    grep -o '/[^ ]*/libxcb-cursor\.so\.0' | head -n 1 || true)
if [ -z "$cursor" ]; then
    echo "command_line: Qt's X11 plugin here needs no libxcb-cursor0 (Qt < 6.5): not tried"
elif [ "$(id -u)" != 0 ] || ! unshare --mount --propagation unchanged true 2>/dev/null; then
    echo "command_line: SKIPPED hiding libxcb-cursor0: needs root and unshare"
else
    Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    for program in "$@"; do
        status=0
        DISPLAY=":$(head -n 1 "$work/display")" unshare --mount --propagation unchanged sh -c \
            'mount --bind /dev/null "$1" && shift && exec "$@"' sh "$cursor" "$program" \
            >"$work/out" 2>"$work/err" </dev/null || status=$?
        [ "$status" = 1 ] || fail "without libxcb-cursor0: status $status: $(cat "$work/err")"
        grep -q "hay una pantalla gráfica (:" "$work/err" && grep -q "sudo apt install libxcb-cursor0" "$work/err" ||
            fail "without libxcb-cursor0: $(cat "$work/err")"
    done
    echo "command_line: without libxcb-cursor0 the message names it"
fi
echo "command_line: help, version, --listar and mistakes without a display; no crash without one"
