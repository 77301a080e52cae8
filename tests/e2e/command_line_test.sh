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
done
echo "command_line: help, version, --listar and mistakes without a display; no crash without one"
