#!/usr/bin/env bash
# The Windows build under Wine: the installer installs silently into a Wine
# prefix of the test's own, with its own Xvfb, and the installed programs are
# driven with xdotool. A stand-in inpoutx64.dll, built here, records each
# Out32 instead of touching a port; a stand-in cfgmgr32.dll gives Windows'
# device list a parallel port at 0xE050 (Wine's own lists none). The real
# InpOut driver is never exercised.
# Usage: wine_test.sh BUILD_WINDOWS_DIR   (as packaging/windows/build.sh left it)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/session.sh"
out=$(cd "$1" && pwd)
installer=$(ls "$out"/puerto-paralelo-*-instalador.exe)
zip=$(ls "$out"/puerto-paralelo-*-windows-x64.zip)

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FALLO: $*" >&2
    [ -s "$work/stderr" ] && { echo "--- standard error:" >&2; cat "$work/stderr" >&2; }
    exit 1
}

# The stand-ins, with the compiler the program was built with.
for standin in inpout_standin cfgmgr32_standin; do
    x86_64-w64-mingw32-gcc-posix -Wall -Wextra -Werror -O2 -shared "$here/$standin.c" \
        -o "$work/$standin.dll"
done

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
# No Mono or Gecko to install, and no menu entries written into $HOME.
export HOME=$work WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
overrides="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDLLOVERRIDES=$overrides
within 120 "wineboot to make the prefix" wine wineboot --init >/dev/null 2>&1 || fail "no Wine prefix"
settle() { within 60 "Wine's processes to end" wineserver -w || fail "Wine did not settle"; }
settle

# --- Installing, silently, as an administrator would.
within 120 "the installer" wine "$installer" /S >/dev/null 2>&1 || fail "the installer failed"
settle
dir="$WINEPREFIX/drive_c/Program Files/Puerto Paralelo"
for file in puerto-paralelo.exe puerto-paralelo-demo.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
    platforms/qwindows.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll LEEME.txt \
    licencias/Qt/LGPL-3.0-only.txt desinstalar.exe; do
    [ -f "$dir/$file" ] || fail "not installed: $file"
done
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Puerto Paralelo"
for entry in "Puerto Paralelo" "Puerto Paralelo (demostración)" "Desinstalar Puerto Paralelo"; do
    [ -f "$menu/$entry.lnk" ] || fail "no Start-menu entry $entry: $(ls "$menu" 2>&1)"
done
# The zip holds the same files as the installation (but the uninstaller).
diff <(cd "$dir" && find . -type f ! -name desinstalar.exe | sort) \
    <(unzip -Z1 "$zip" | grep -v '/$' | sed 's|^|./|' | sort) >/dev/null ||
    fail "the zip and the installation differ"
echo "wine: installed silently, with its Start-menu entries; the zip holds the same files"

program='C:\Program Files\Puerto Paralelo\puerto-paralelo.exe'
log=$work/inpout.log
export PP_INPOUT_LOG
PP_INPOUT_LOG=$(winepath -w "$log")

# Starts the installed program with the options given and waits for its
# window, whose id it leaves in $window.
start() {
    : >"$work/stderr"
    wine "$program" "$@" >"$work/stdout" 2>"$work/stderr" </dev/null &
    pid=$!
    window=
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --name '^Puerto Paralelo$' 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        kill -0 "$pid" 2>/dev/null || fail "the program ended at start"
        sleep 0.1
    done
    [ -n "$window" ] || fail "no window"
}
click() { # LEFT TOP WIDTH HEIGHT, in the client area
    xdotool mousemove --window "$window" $(($1 + $3 / 2)) $(($2 + $4 / 2)) click 1
    sleep 0.3
}
ended() { # waits for the program to end; leaves its status in $status
    reap 30 "$pid" "the program" || fail "the program did not end"
}
salir() {
    click 104 168 57 25
    ended
    [ "$status" = 0 ] || fail "status $status after Salir"
}
# Dismisses the message box with Enter; leaves its window id in $box.
dismiss() {
    box=
    for _ in $(seq 300); do
        box=$(xdotool search --onlyvisible --name '^Velmarin$' 2>/dev/null | head -n 1) || true
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || fail "no message box"
    within 10 "the focus on the message box" xdotool windowfocus --sync "$box" ||
        fail "the message box did not take the focus"
    xdotool key Return
}
# Starts the program with the options given; its first key must end it with
# a message box and a status other than 0. WHAT names the case in failures.
refused() { # WHAT [OPTIONS...]
    local what=$1
    shift
    start "$@"
    click 56 104 41 25
    dismiss
    ended
    [ "$status" != 0 ] || fail "$what: the program ended with status 0"
}
keys() { # the keypad, a key again, and two typed bytes
    click 56 104 41 25  # 8
    click 8 40 41 25    # 1
    click 56 136 41 25  # A
    click 56 136 41 25  # A
    click 152 136 41 25 # F
    click 144 16 49 19  # Text1
    xdotool type --delay 50 200
    click 24 168 65 25  # Sacar Dato
    click 144 16 49 19
    xdotool type --delay 50 '&HFF'
    click 24 168 65 25
}
written() { grep -v '^load$' "$log" | paste -sd' ' || true; }
console() { # OPTIONS...: the program's console output in $work/stdout and stderr
    within 60 "puerto-paralelo.exe $*" wine "$program" "$@" >"$work/stdout" 2>"$work/stderr"
}

# --- The window, its geometry, and the keys at 0x378, loading InpOut lazily.
cp "$work/inpout_standin.dll" "$dir/inpoutx64.dll"
: >"$log"
start
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p')
[ "$geometry" = 207x255 ] || fail "the window is $geometry, not 207x255"
# Centred on the 1024 x 768 screen, to a pixel of rounding.
read -r x y < <(xdotool getwindowgeometry "$window" | sed -n 's/ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
[ $((x - 408)) -ge -1 ] && [ $((x - 408)) -le 1 ] && [ $((y - 256)) -ge -1 ] && [ $((y - 256)) -le 1 ] ||
    fail "the window stands at $x,$y, not centred at 408,256"
[ ! -s "$log" ] || fail "InpOut loaded or written at start: $(cat "$log")"
keys
salir
expected="0x378 0x7F 0x378 0x06 0x378 0x77 0x378 0x77 0x378 0x71 0x378 0xC8 0x378 0xFF"
[ "$(written)" = "$expected" ] || fail "0x378 got: $(written)"
[ "$(head -n 1 "$log")" = load ] && [ "$(grep -c '^load$' "$log")" = 1 ] ||
    fail "InpOut not loaded once, before the first write: $(cat "$log")"
echo "wine: window $geometry at $x,$y, centred; keys and Sacar Dato wrote exactly their bytes to 0x378, InpOut loaded at the first key"

# --- A PCI Express card's port, which Windows lists at 0xE050.
cp "$work/cfgmgr32_standin.dll" "$dir/cfgmgr32.dll"
export WINEDLLOVERRIDES="$overrides;cfgmgr32=n,b"
: >"$log"
start --puerto 0xE050
[ ! -s "$log" ] || fail "InpOut loaded at start with --puerto 0xE050"
click 56 136 41 25 # A
click 8 136 41 25  # 0
salir
[ "$(written)" = "0xE050 0x77 0xE050 0x3F" ] || fail "0xE050 got: $(written)"
console --listar || fail "--listar failed"
grep -qF "LPT3 en 0xE050 (Puerto de impresora PCI ECP (LPT3)), E/S 0xE050-0xE057, 0xE040-0xE043" \
    "$work/stdout" || fail "--listar printed: $(cat "$work/stdout")"
echo "wine: --puerto 0xE050, listed by Windows, wrote there at the first key; --listar names it"

# An address Windows does not list is refused at the first key, InpOut unloaded.
: >"$log"
refused "--puerto 0xD010" --puerto 0xD010
grep -qF "No se encuentra el puerto paralelo 0xD010 (53264)." "$work/stderr" ||
    fail "0xD010: $(cat "$work/stderr")"
grep -qF "puerto-paralelo --puerto 0xE050" "$work/stderr" || fail "0xD010: no LPT3 offered"
[ ! -s "$log" ] || fail "0xD010: InpOut loaded or written: $(cat "$log")"
rm "$dir/cfgmgr32.dll"
export WINEDLLOVERRIDES=$overrides
echo "wine: --puerto 0xD010, not listed, refused at the first key without loading InpOut"

# --- InpOut missing, and its driver closed: fatal, explained, non-zero.
rm "$dir/inpoutx64.dll"
refused "without inpoutx64.dll"
grep -qF "falta inpoutx64.dll" "$work/stderr" || fail "without the DLL: $(cat "$work/stderr")"
grep -qF "highrez.co.uk" "$work/stderr" || fail "without the DLL, no word of where to get it"
# A DLL of that name that is not InpOut x64 (here: the other stand-in).
cp "$work/cfgmgr32_standin.dll" "$dir/inpoutx64.dll"
refused "with a wrong inpoutx64.dll"
grep -qF "no tiene la función Out32" "$work/stderr" || fail "wrong DLL: $(cat "$work/stderr")"
cp "$work/inpout_standin.dll" "$dir/inpoutx64.dll"
: >"$log"
PP_INPOUT_DRIVER=closed refused "with InpOut's driver closed"
grep -qF "su controlador no está abierto" "$work/stderr" ||
    fail "driver closed: $(cat "$work/stderr")"
[ -z "$(written)" ] || fail "driver closed, yet written: $(written)"
echo "wine: no inpoutx64.dll, a wrong one and a closed driver each end the program at the first key, saying what to do"

# --- The console: help and the list of ports.
console --help || fail "--help failed"
grep -q "^Uso: puerto-paralelo \[--puerto P\]" "$work/stdout" || fail "--help: $(cat "$work/stdout")"
console --listar || fail "--listar failed"
grep -q "Windows no conoce ningún puerto paralelo" "$work/stdout" ||
    fail "--listar: $(cat "$work/stdout")"
echo "wine: --help and --listar print on the console"

# --- The demo from the same installation, and the uninstaller.
program='C:\Program Files\Puerto Paralelo\puerto-paralelo-demo.exe' start
click 56 104 41 25
salir
grep -q "^0x378 <- 0x7F" "$work/stdout" || fail "the demo printed: $(cat "$work/stdout")"
rm "$dir/inpoutx64.dll"
within 60 "the uninstaller" wine "$dir/desinstalar.exe" /S >/dev/null 2>&1 || true
for _ in $(seq 100); do [ -e "$dir" ] || break; sleep 0.2; done
settle
[ ! -e "$dir" ] || fail "left after uninstalling: $(cd "$dir" && find . | head)"
[ ! -e "$menu" ] || fail "the Start-menu entries stay after uninstalling"
echo "wine: the demo prints its lines; the uninstaller removes everything"
