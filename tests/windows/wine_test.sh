#!/usr/bin/env bash
# The Windows build under Wine: the installer installs silently into a Wine
# prefix of the test's own, with its own Xvfb, and the installed programs are
# driven with xdotool. A stand-in inpoutx64.dll, built here, records its
# loading and each Out32 instead of touching a port; a stand-in cfgmgr32.dll
# gives Windows' device list the parallel ports named in PP_PORTS (Wine's own
# lists none): LPT1 at 0x378, LPT3 at 0xE050 as a PCI Express card. The
# service and registry states of InpOut's driver are made in the prefix with
# sc and reg. The real InpOut driver is never exercised.
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
# No Mono or Gecko to install, and no menu entries written into $HOME; file
# names such as "Puerto Paralelo (demostración).lnk" in UTF-8, which Wine
# cannot write in the C locale.
export HOME=$work WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all LC_ALL=C.UTF-8
overrides="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDLLOVERRIDES=$overrides
export PP_PORTS=LPT1,LPT3
within 120 "wineboot to make the prefix" wine wineboot --init >/dev/null 2>&1 || fail "no Wine prefix"
settle() { within 60 "Wine's processes to end" wineserver -w || fail "Wine did not settle"; }
settle
# As Windows 10, the oldest the x64 build is for (Wine 8's prefixes are
# Windows 7, where Memory Integrity and the blocklist do not exist).
within 60 "winecfg -v win10" wine winecfg -v win10 >/dev/null 2>&1 || fail "winecfg -v win10"
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
file -b "$dir/puerto-paralelo.exe" | grep -q x86-64 ||
    fail "not the x64 build: $(file -b "$dir/puerto-paralelo.exe")"
echo "wine: installed silently (the x64 build), with its Start-menu entries; the zip holds the same files"

program='C:\Program Files\Puerto Paralelo\puerto-paralelo.exe'
log=$work/inpout.log
export PP_INPOUT_LOG
PP_INPOUT_LOG=$(winepath -w "$log")

# Starts the installed program with the options given, in the folder $from
# (this one by default), and waits for its window, whose id it leaves in
# $window.
start() {
    : >"$work/stderr"
    (cd "${from:-.}" && exec wine "$program" "$@") >"$work/stdout" 2>"$work/stderr" </dev/null &
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

# --- The window, its geometry, and the keys at 0x378, where Windows lists
# LPT1, loading InpOut lazily.
cp "$work/cfgmgr32_standin.dll" "$dir/cfgmgr32.dll"
export WINEDLLOVERRIDES="$overrides;cfgmgr32=n,b"
cp "$work/inpout_standin.dll" "$dir/inpoutx64.dll"
: >"$log"
start
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p')
[ "$geometry" = 207x255 ] || fail "the window is $geometry, not 207x255"
# The whole window, its frame included, centred on the 1024 x 768 screen:
# Wine's X window is the client area only, which then stands centred across
# (408, to a pixel of rounding) and lower than centred (256) by half of what
# the title bar adds over the bottom border (5 to 20 pixels).
read -r x y < <(xdotool getwindowgeometry "$window" | sed -n 's/ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
[ $((x - 408)) -ge -1 ] && [ $((x - 408)) -le 1 ] && [ $((y - 256)) -ge 5 ] && [ $((y - 256)) -le 20 ] ||
    fail "the window's client area stands at $x,$y: the window, frame included, is not centred"
[ ! -s "$log" ] || fail "InpOut loaded or written at start: $(cat "$log")"
keys
salir
expected="0x378 0x7F 0x378 0x06 0x378 0x77 0x378 0x77 0x378 0x71 0x378 0xC8 0x378 0xFF"
[ "$(written)" = "$expected" ] || fail "0x378 got: $(written)"
[ "$(head -n 1 "$log")" = load ] && [ "$(grep -c '^load$' "$log")" = 1 ] ||
    fail "InpOut not loaded once, before the first write: $(cat "$log")"
echo "wine: window $geometry at $x,$y, centred with its frame; keys and Sacar Dato wrote exactly their bytes to 0x378, InpOut loaded at the first key"

# --- A PCI Express card's port, which Windows lists at 0xE050.
: >"$log"
start --puerto 0xE050
[ ! -s "$log" ] || fail "InpOut loaded at start with --puerto 0xE050"
click 56 136 41 25 # A
click 8 136 41 25  # 0
salir
[ "$(written)" = "0xE050 0x77 0xE050 0x3F" ] || fail "0xE050 got: $(written)"
# The list grows between the two calls that read it: asked again, not taken
# for unreadable (which would refuse 0xE050).
: >"$log"
PP_LIST_GROWS=1 start --puerto 0xE050
click 56 136 41 25 # A
salir
[ "$(written)" = "0xE050 0x77" ] || fail "0xE050, the list growing meanwhile, got: $(written)"
console --listar || fail "--listar failed"
for line in "LPT1 en 0x378 (Puerto de impresora ECP (LPT1)), E/S 0x378-0x37F, 0x778-0x77A" \
    "LPT3 en 0xE050 (Puerto de impresora PCI ECP (LPT3)), E/S 0xE050-0xE057, 0xE040-0xE043" \
    "inpoutx64.dll: C:\Program Files\Puerto Paralelo\inpoutx64.dll" \
    "Controlador de InpOut (servicio inpoutx64): no está instalado" "Integridad de memoria: "; do
    grep -qF "$line" "$work/stdout" || fail "--listar printed no '$line': $(cat "$work/stdout")"
done
echo "wine: --puerto 0xE050, listed by Windows (also when the list grows while it is read), wrote there at the first key; --listar names both ports, InpOut and its driver: $(grep -F 'Integridad' "$work/stdout")"

# --- Where Windows lists no port at the address, nothing is written and
# InpOut is not loaded: the first key says why and what to use instead. Only
# where the list cannot be read at all is 0x378 written to, blindly.
refusal() { # WHAT TEXT [OPTIONS...]: refused at the first key, saying TEXT, InpOut unloaded
    local what=$1 text=$2
    shift 2
    : >"$log"
    refused "$what" "$@"
    grep -qF -- "$text" "$work/stderr" || fail "$what: $(cat "$work/stderr")"
    [ ! -s "$log" ] || fail "$what: InpOut loaded or written: $(cat "$log")"
}
refusal "--puerto 0xD010, not listed" "No se encuentra el puerto paralelo 0xD010 (53264)." \
    --puerto 0xD010
grep -qF "puerto-paralelo --puerto 0xE050" "$work/stderr" || fail "0xD010: no LPT3 offered"
refusal "--puerto 0x37A, LPT1's control register" "puerto-paralelo --puerto 0x378" --puerto 0x37A
PP_PORTS=LPT3 refusal "0x378 with only the card listed" "puerto-paralelo --puerto 0xE050"
PP_PORTS= refusal "0x378 with no port listed" "Administrador de dispositivos, en «Puertos (COM y LPT)»"
grep -qF "BIOS" "$work/stderr" || fail "no port listed: no word of the BIOS"
: >"$log"
PP_PORTS=error start
click 56 104 41 25 # 8
salir
[ "$(written)" = "0x378 0x7F" ] || fail "with no device list, 0x378 got: $(written)"
# As a 32-bit program on 64-bit Windows 8 and 8.1 is, not given the ports'
# I/O ranges: the list is unreadable, not one of ports without an address.
: >"$log"
PP_PORTS=LPT1,LPT3,wow64 start
click 56 104 41 25 # 8
salir
[ "$(written)" = "0x378 0x7F" ] || fail "without I/O ranges, 0x378 got: $(written)"
PP_PORTS=LPT1,LPT3,wow64 refusal "0xE050 without I/O ranges" "no ha podido dar su lista" \
    --puerto 0xE050
echo "wine: at 0x378 with only LPT3 listed, with no port listed, at 0xD010 and at 0x37A (LPT1's control register): refused without loading InpOut; 0x378 written only where the list cannot be read (also where it has no I/O ranges)"

# --- InpOut only from the program's folder or System32: copies planted in
# the folder the program starts in and in a folder on PATH are never loaded.
rm "$dir/inpoutx64.dll"
mkdir -p "$work/planted/here" "$work/planted/path"
cp "$work/inpout_standin.dll" "$work/planted/here/inpoutx64.dll"
cp "$work/inpout_standin.dll" "$work/planted/path/inpoutx64.dll"
export WINEPATH
WINEPATH=$(winepath -w "$work/planted/path")
from=$work/planted/here refusal "without inpoutx64.dll, planted copies about" "falta inpoutx64.dll"
for place in "C:\Program Files\Puerto Paralelo" "C:\windows\system32"; do
    grep -qiF "$place" "$work/stderr" || fail "without the DLL, no word of $place"
done
grep -qF "highrez.co.uk" "$work/stderr" || fail "without the DLL, no word of where to get it"
system32=$WINEPREFIX/drive_c/windows/system32/inpoutx64.dll
cp "$work/inpout_standin.dll" "$system32"
: >"$log"
from=$work/planted/here start
click 56 104 41 25 # 8
salir
[ "$(cat "$log" | paste -sd' ')" = "load 0x378 0x7F" ] ||
    fail "from System32, planted copies about: $(cat "$log")"
rm "$system32"
unset WINEPATH
echo "wine: copies of inpoutx64.dll in the working folder and on PATH never loaded; the one in System32 loaded at the first key"

# --- A wrong inpoutx64.dll (here: the other stand-in), and InpOut's driver
# closed: each cause and its remedy, as Windows' service manager and
# registry tell it (Wine's process runs elevated, its Memory Integrity off).
cp "$work/cfgmgr32_standin.dll" "$dir/inpoutx64.dll"
refused "with a wrong inpoutx64.dll"
grep -qF "no tiene la función Out32" "$work/stderr" || fail "wrong DLL: $(cat "$work/stderr")"
cp "$work/inpout_standin.dll" "$dir/inpoutx64.dll"
blocklist() { within 60 "reg" wine reg add 'HKLM\SYSTEM\CurrentControlSet\Control\CI\Config' \
    /v VulnerableDriverBlocklistEnable /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || fail "reg add"; }
closed=(
    "no service|algo lo impide|no está instalado"
    "the service, the blocklist on|lista de bloqueo de controladores vulnerables de Microsoft está activada|Lista de bloqueo"
    "the service, the blocklist off|algo lo impide|CodeIntegrity › Operational"
    "the service, Smart App Control on|control inteligente de aplicaciones (Smart App Control)|Control de aplicaciones y navegador"
)
for row in "${closed[@]}"; do
    IFS='|' read -r what cause remedy <<<"$row"
    case $what in
    "the service, the blocklist on")
        within 60 "sc" wine sc create inpoutx64 type= kernel start= demand \
            binPath= 'C:\windows\system32\drivers\inpoutx64.sys' >/dev/null 2>&1 || fail "sc create"
        blocklist 1
        ;;
    "the service, the blocklist off") blocklist 0 ;;
    "the service, Smart App Control on")
        within 60 "reg" wine reg add 'HKLM\SYSTEM\CurrentControlSet\Control\CI\Policy' \
            /v VerifiedAndReputablePolicyState /t REG_DWORD /d 1 /f >/dev/null 2>&1 || fail "reg add"
        ;;
    esac
    : >"$log"
    PP_INPOUT_DRIVER=closed refused "driver closed, $what"
    grep -qF -- "$cause" "$work/stderr" && grep -qF -- "$remedy" "$work/stderr" ||
        fail "driver closed, $what: $(cat "$work/stderr")"
    [ -z "$(written)" ] || fail "driver closed, $what, yet written: $(written)"
    echo "wine: driver closed, $what: $(grep -oF -- "$cause" "$work/stderr")"
done
echo "wine: no inpoutx64.dll, a wrong one and a closed driver each end the program at the first key, saying what to do"

# --- The console: help and the list of ports.
console --help || fail "--help failed"
grep -q "^Uso: puerto-paralelo \[--puerto P\]" "$work/stdout" || fail "--help: $(cat "$work/stdout")"
PP_PORTS= console --listar || fail "--listar failed"
grep -q "Windows no conoce ningún puerto paralelo" "$work/stdout" ||
    fail "--listar: $(cat "$work/stdout")"
grep -qF "está instalado, pero parado" "$work/stdout" || fail "--listar: $(cat "$work/stdout")"
echo "wine: --help and --listar print on the console"

# --- A broken installation: without Qt's Windows plugin the program says
# which file is missing and to reinstall, in its one message box (Qt's own,
# in English, would come first and keep it from showing) and on standard
# error, and ends with a status other than 0. Drive Z: is hidden meanwhile:
# through it Qt would find the plugin in the folder it was built into.
mv "$dir/platforms/qwindows.dll" "$work/qwindows.dll"
mv "$WINEPREFIX/dosdevices/z:" "$work/drive-z"
(exec wine "$program") >"$work/stdout" 2>"$work/stderr" </dev/null &
pid=$!
dismiss
ended
mv "$work/drive-z" "$WINEPREFIX/dosdevices/z:"
mv "$work/qwindows.dll" "$dir/platforms/qwindows.dll"
[ "$status" != 0 ] || fail "without qwindows.dll: status 0"
grep -qF 'platforms\qwindows.dll' "$work/stderr" && grep -qF "Vuelva a instalar" "$work/stderr" ||
    fail "without qwindows.dll: $(cat "$work/stderr")"
echo "wine: without platforms\qwindows.dll, one message box and standard error name it and say to reinstall; status $status"

# --- The demo from the same installation, and the uninstaller.
program='C:\Program Files\Puerto Paralelo\puerto-paralelo-demo.exe' start
click 56 104 41 25
salir
grep -q "^0x378 <- 0x7F" "$work/stdout" || fail "the demo printed: $(cat "$work/stdout")"
rm "$dir/inpoutx64.dll" "$dir/cfgmgr32.dll"
within 60 "the uninstaller" wine "$dir/desinstalar.exe" /S >/dev/null 2>&1 || true
for _ in $(seq 100); do [ -e "$dir" ] || break; sleep 0.2; done
settle
[ ! -e "$dir" ] || fail "left after uninstalling: $(cd "$dir" && find . | head)"
[ ! -e "$menu" ] || fail "the Start-menu entries stay after uninstalling"
echo "wine: the demo prints its lines; the uninstaller removes everything"
