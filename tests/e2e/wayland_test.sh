#!/usr/bin/env bash
# Both programs under a real Wayland compositor: sway, headless, started here
# with its own runtime folder and, as sway refuses root, as an unprivileged
# user. The windows map with the app ids of their desktop entries, Form1
# keeps its geometry and has the focus, and keys typed through the
# compositor's virtual keyboard (wtype) write the demo's lines. The real
# program is only opened and closed: nothing is written to any port.
# Usage: wayland_test.sh SOURCE_DIR PATH/TO/puerto-paralelo PATH/TO/puerto-paralelo-demo
# Exits 77 (skipped) only where sway, wtype or jq is not installed.
set -euo pipefail
. "$(dirname "$0")/../support/session.sh"

src=$1 program=$2 demo=$3
for tool in sway swaymsg wtype jq; do
    command -v "$tool" >/dev/null || {
        echo "SKIPPED: $tool is not installed (Debian packages sway, wtype, jq); nothing was proven."
        exit 77
    }
done

work=$(mktemp -d)
chmod 0755 "$work"
pids=()
cleanup() {
    [ "${#pids[@]}" -eq 0 ] || kill "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FALLO: $*" >&2
    for log in "$work"/*.err "$work/sway.log"; do
        [ -s "$log" ] && { echo "--- $log:" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}

# As root, everything on the compositor runs as nobody, who may not reach
# the clone (a home folder is 0700): the programs and the sanitizers'
# suppressions are copied where nobody can read them. Nobody owns only its
# home and runtime folders; everything root writes or reads back (the
# configuration, the logs, the programs' output) stays in $work, which only
# root can change, so nobody cannot plant a link there for root to follow.
as_user=()
if [ "$(id -u)" = 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    mkdir "$work/bin"
    cp "$program" "$demo" "$work/bin/"
    program=$work/bin/$(basename "$program") demo=$work/bin/$(basename "$demo")
    if [[ ${LSAN_OPTIONS:-} =~ suppressions=(\"([^\"]+)\"|([^:]+)) ]]; then
        cp "${BASH_REMATCH[2]:-${BASH_REMATCH[3]}}" "$work/lsan.supp"
        LSAN_OPTIONS=${LSAN_OPTIONS/"${BASH_REMATCH[1]}"/\"$work/lsan.supp\"}
    fi
    chmod -R a+rX "$work"
fi
home=$work/home runtime=$work/runtime
mkdir -m 0700 "$home" "$runtime"
[ "${#as_user[@]}" -eq 0 ] || chown nobody:nogroup "$home" "$runtime"
session=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime"
    ASAN_OPTIONS="${ASAN_OPTIONS:-}" LSAN_OPTIONS="${LSAN_OPTIONS:-}"
    UBSAN_OPTIONS="${UBSAN_OPTIONS:-}")
# Nobody tries to plant a link, at each file root is about to write, to a
# file of root's.
written=(config sway.log program.out program.err demo.out demo.err)
if [ "${#as_user[@]}" -gt 0 ]; then
    for name in "${written[@]}"; do
        ! "${as_user[@]}" ln -s /etc/shadow "$work/$name" 2>/dev/null ||
            fail "nobody could plant a link at $work/$name, which root then writes"
    done
fi

touch "$work/started"
# Headless, software rendering, no input devices but the virtual ones; our
# windows float at their own size, as on a stacking desktop.
cat >"$work/config" <<'CONFIG'
xwayland disable
output HEADLESS-1 resolution 1024x768
for_window [app_id="^org\.puertoparalelo\."] floating enable
CONFIG
"${as_user[@]}" "${session[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1 sway -c "$work/config" >"$work/sway.log" 2>&1 &
pids+=($!)
display= ipc=
for _ in $(seq 100); do
    display=$(cd "$runtime" && ls wayland-[0-9] 2>/dev/null | head -n 1) || true
    ipc=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -n 1) || true
    [ -n "$display" ] && [ -n "$ipc" ] && break
    sleep 0.1
done
[ -n "$display" ] && [ -n "$ipc" ] || fail "sway did not start"
client=("${as_user[@]}" "${session[@]}" WAYLAND_DISPLAY="$display" SWAYSOCK="$ipc"
    QT_QPA_PLATFORM=wayland)

# A virtual keyboard kept for the whole test: with no input device, the seat
# has a keyboard only while one exists, and a client's keyboard appears a
# moment after the seat's; each wtype below would otherwise race it.
"${client[@]}" wtype -s 600000 &
pids+=($!)

# One line per window of ours: app_id, title, width, height, focused.
windows() {
    "${client[@]}" swaymsg -t get_tree -r | jq -r '.. | objects | select(has("app_id")) |
        select(.app_id != null) | [.app_id, .name, .geometry.width, .geometry.height, .focused] |
        @tsv'
}
# Starts a program on the compositor and waits until it has $1 windows.
start() { # COUNT NAME PROGRAM...
    local count=$1 name=$2
    shift 2
    "${client[@]}" "$@" >"$work/$name.out" 2>"$work/$name.err" </dev/null &
    pid=$!
    pids+=("$pid")
    for _ in $(seq 100); do
        [ "$(windows | wc -l)" -ge "$count" ] && return
        kill -0 "$pid" 2>/dev/null || fail "$name ended at start"
        sleep 0.1
    done
    fail "$name: expected $count windows, got: $(windows)"
}
ended() { # NAME: waits for the program started last to end with status 0
    reap 10 "$pid" "$1" || fail "$1 did not end when its window closed"
    [ "$status" = 0 ] || fail "$1 ended with status $status"
}
entry() { basename "$src/packaging/$1" .desktop; }

# The program: its one window bears its entry's name; closed by the compositor.
start 1 program "$program"
main=$(entry org.puertoparalelo.PuertoParalelo.desktop)
got=$(windows)
[ "$got" = "$(printf '%s\tPuerto Paralelo\t207\t255\ttrue' "$main")" ] ||
    fail "the program's window: '$got'"
echo "wayland: puerto-paralelo maps with app id $(cut -f1 <<<"$got"), 207 x 255, focused"
"${client[@]}" swaymsg "[app_id=\"^$main\$\"] kill" >/dev/null
ended puerto-paralelo

# The demo: both windows bear its entry's name; Form1 has the focus.
start 2 demo "$demo"
entry=$(entry org.puertoparalelo.PuertoParaleloDemo.desktop)
got=$(windows)
grep -qxF "$(printf '%s\tPuerto Paralelo\t207\t255\ttrue' "$entry")" <<<"$got" ||
    fail "Form1 under Wayland: '$got'"
grep -qF "$(printf '%s\tDisplay del puerto 0x378 (simulado)\t' "$entry")" <<<"$got" ||
    fail "the display under Wayland: '$got'"
echo "wayland: puerto-paralelo-demo maps both windows with app id $entry, Form1 207 x 255, focused"

# Through the compositor's virtual keyboard: Tab from "Sacar Dato" to key
# "1" and Space; Shift+Tab back to Text1, "200", Shift+Tab twice to "Sacar
# Dato" and Space; Tab to "Salir" and Space.
type_keys() { "${client[@]}" wtype "$@"; }
lines() { # COUNT: waits for the demo to have printed COUNT lines
    for _ in $(seq 100); do
        [ "$(wc -l <"$work/demo.out")" -ge "$1" ] && return
        sleep 0.05
    done
    fail "expected $1 lines, got: $(cat "$work/demo.out")"
}
type_keys -k Tab -k Tab -k Tab -k space
lines 1
type_keys -M shift -k Tab -m shift -s 100 200 -M shift -k Tab -k Tab -m shift -k space
lines 2
type_keys -k Tab -k space
ended puerto-paralelo-demo
expected=$(printf '0x378 <- 0x06  0b00000110  líneas altas: D1 D2\n0x378 <- 0xC8  0b11001000  líneas altas: D3 D6 D7')
[ "$(cat "$work/demo.out")" = "$expected" ] || fail "the demo printed: $(cat "$work/demo.out")"
echo "wayland: keys typed through the compositor wrote 0x06 and 0xC8, Salir ended the demo"
# Once everything ran as nobody: of the places open to everyone, nobody wrote
# only in its home and runtime folders (not, say, Qt falling back to a
# runtime folder of its own in /tmp).
if [ "${#as_user[@]}" -gt 0 ]; then
    made=$(find /tmp /var/tmp /dev/shm -xdev -user nobody -newer "$work/started" \
        ! -path "$home" ! -path "$home/*" ! -path "$runtime" ! -path "$runtime/*" 2>/dev/null || true)
    [ -z "$made" ] || fail "nobody wrote outside its own folders: $made"
    echo "wayland: nobody could plant a link at any of the files root writes (${written[*]}), and wrote only in its home and runtime folders"
fi
