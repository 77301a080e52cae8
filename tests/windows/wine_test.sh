#!/usr/bin/env bash
# One Windows build under Wine: the one installer installs silently into a
# Wine prefix of the test's own, with its own Xvfb, and the installed programs
# are driven with xdotool. ARCH x64: a 64-bit prefix reporting Windows 10 gets
# the x64 build, and afterwards the installer's choice is checked on 64-bit
# Vista and XP, and a reinstall into a folder of the user's choice; x86: a
# 32-bit Windows XP prefix gets the 32-bit build, and Windows 2000 none. A
# stand-in InpOut (inpoutx64.dll, inpout32.dll), built here, records its
# loading and each Out32 instead of touching a port; a stand-in cfgmgr32.dll
# gives Windows' device list the parallel ports named in PP_PORTS (Wine's own
# lists none): LPT1 at 0x378, LPT3 at 0xE050 as a PCI Express card, a printer
# that calls itself LPT2, of another class, and an LPT4 no longer there; for
# x86, as before Windows 7, a list that cannot be filtered by class or
# presence. The service and registry states of InpOut's driver are made in the
# prefix with sc and reg. The real InpOut driver is never exercised.
# The installer and the 32-bit build are 32-bit programs: how this machine
# runs them (natively, or through QEMU; PP_WINE32=emulated forces QEMU) is
# i386_programs.sh's, and the run says which it took.
# Also what a screen reader reads of the window, through MSAA.
# Usage: wine_test.sh BUILD_WINDOWS_DIR x64|x86   (as packaging/windows/build.sh left it)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/xvfb.sh"
. "$here/i386_programs.sh"
out=$(cd "$1" && pwd)
arch=$2
installer=$(ls "$out"/puerto-paralelo-*-instalador.exe)
zip=$(ls "$out"/puerto-paralelo-*-windows-"$arch".zip)
# What differs between the builds: the compiler of the stand-ins, the prefix,
# the InpOut, and what is installed.
case $arch in
x64)
    triplet=x86_64-w64-mingw32 winearch=win64 windows=win10 inpout=inpoutx64.dll machine=x86-64 xp=
    # What --listar says of InpOut: its service, and on Windows 10 what can
    # keep its driver from loading.
    listed=('inpoutx64.dll: C:\Program Files\Puerto Paralelo\inpoutx64.dll'
        "Controlador de InpOut (servicio inpoutx64): no está instalado" "Integridad de memoria: ")
    unlisted=
    # The driver closed, as the service manager and the registry tell it
    # (Wine's process runs elevated, its Memory Integrity off).
    closed=(
        "no service|algo lo impide|no está instalado"
        "the service, the blocklist on|lista de bloqueo de controladores vulnerables de Microsoft está activada|Lista de bloqueo"
        "the service, the blocklist off|algo lo impide|CodeIntegrity › Operational"
        "the service, Smart App Control on|control inteligente de aplicaciones (Smart App Control)|Control de aplicaciones y navegador"
    )
    ;;
x86)
    # InpOut32's functions are stdcall, exported by their plain names.
    triplet=i686-w64-mingw32 winearch=win32 windows=winxp inpout=inpout32.dll machine="Intel 80386" xp=,xp
    kill_at=-Wl,--kill-at
    # InpOut32's service has no name of its own to ask for, and Windows XP has
    # neither Memory Integrity nor the blocklist, nor the log of drivers refused.
    listed=('inpout32.dll: C:\Program Files\Puerto Paralelo\inpout32.dll')
    unlisted="Integridad de memoria"
    closed=("elevated|algo lo impide|antivirus")
    ;;
*) echo "wine_test.sh: no Windows build '$arch'" >&2; exit 2 ;;
esac
said="wine ($arch)"

before_cleanup() {
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    i386_programs_end
}

# The stand-ins, with the compiler the program was built with.
for standin in inpout_standin cfgmgr32_standin; do
    "$triplet-gcc-posix" -Wall -Wextra -Werror -O2 -shared ${kill_at:-} "$here/$standin.c" \
        -o "$work/$standin.dll"
done
# As a run killed by SIGKILL (its EXIT trap skipped) leaves it, QEMU stays
# registered for i386 programs: the start removes it before it asks the
# kernel, and where the kernel runs them the native path is taken.
# Only as root, who may register.
left=
if [ "$arch" = x86 ] && [ "${PP_WINE32:-auto}" = auto ] && [ "$(id -u)" = 0 ]; then
    kernel_runs_i386 && left=native || left=emulated
    fetch_qemu_i386 && i386_register || fail "cannot register QEMU as a killed run would leave it"
    i386_registered=
fi
i386_programs_start || fail "32-bit programs cannot run here"
if [ -n "$left" ]; then
    [ "$i386_path" = "$left" ] || fail "with a killed run's registration left, the $i386_path path, not $left"
    [ "$i386_path" = emulated ] || [ ! -e "$binfmt/$i386_entry" ] ||
        fail "a killed run's registration is still there: $(cat "$binfmt/$i386_entry")"
fi
echo "$said: 32-bit programs run $i386_path$([ "$i386_path" = native ] || echo ", through $qemu_i386")${left:+ (the registration a killed run left removed first)}"
exit_within=$((30 * slow)) start_within=$((30 * slow))
after_exit() { # through QEMU a program's last writes may come after its end
    [ "$slow" = 1 ] || settle
}

start_xvfb
# No Mono or Gecko to install, and no menu entries written into $HOME; file
# names such as "Puerto Paralelo (demostración).lnk" in UTF-8, which Wine
# cannot write in the C locale.
export HOME=$work WINEPREFIX=$work/prefix WINEARCH=$winearch WINEDEBUG=-all LC_ALL=C.UTF-8
overrides="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDLLOVERRIDES=$overrides
export PP_PORTS=LPT1,LPT3,LPT2,LPT4$xp
within $((120 * slow)) "wineboot to make the prefix" "${silently[@]}" wine wineboot --init ||
    fail "no Wine prefix"
settle() { within $((60 * slow)) "Wine's processes to end" wineserver -w || fail "Wine did not settle"; }
settle
# A crash ends the program, as on Windows without a debugger: Wine would
# otherwise start its own and wait for it.
cat >"$work/crash.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Auto"="0"
"Debugger"=-

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
within $((60 * slow)) "regedit" "${silently[@]}" wine regedit /S "$(winepath -w "$work/crash.reg")" ||
    fail "regedit"
# Windows 10 for x64, where Memory Integrity and the blocklist exist; the
# oldest Windows it is for, XP, for x86.
reports() { # WINDOWS: the prefix reports that Windows
    within $((60 * slow)) "winecfg -v $1" "${silently[@]}" wine winecfg -v "$1" || fail "winecfg -v $1"
    settle
}
reports "$windows"

# --- Installing, silently, as an administrator would.
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Puerto Paralelo"
entries=("Puerto Paralelo" "Puerto Paralelo (demostración)" "Desinstalar Puerto Paralelo")
# The installer, silently, with OPTIONS; leaves its exit status in $status.
run_installer() { # [OPTIONS...]
    status=0
    within $((120 * slow)) "the installer" "${silently[@]}" wine "$installer" /S "$@" || status=$?
    settle
}
install() { # FOLDER MACHINE [OPTIONS...]: the installer's choice, where it put it (in C:)
    local folder=$1 machine=$2
    shift 2
    run_installer "$@"
    [ "$status" = 0 ] || fail "the installer failed: status $status"
    dir="$WINEPREFIX/drive_c/$folder"
    file -b "$dir/puerto-paralelo.exe" | grep -qF "$machine" ||
        fail "not the $machine build in $folder: $(file -b "$dir/puerto-paralelo.exe" 2>&1)"
    # Two programs, the README and the licences, and no DLL: nothing is
    # loaded but Windows' own, and InpOut.
    for file in puerto-paralelo.exe puerto-paralelo-demo.exe LEEME.txt licencias/LEEME.txt desinstalar.exe; do
        [ -f "$dir/$file" ] || fail "not installed in $folder: $file"
    done
    [ -z "$(cd "$dir" && find . -iname '*.dll')" ] || fail "installed DLLs: $(cd "$dir" && find . -iname '*.dll')"
    for entry in "${entries[@]}"; do
        [ -f "$menu/$entry.lnk" ] || fail "no Start-menu entry $entry: $(ls "$menu" 2>&1)"
    done
}
install "Program Files/Puerto Paralelo" "$machine"
# The licences' notice names this build's InpOut, and no Qt.
grep -qF "($inpout)" "$dir/licencias/LEEME.txt" && ! grep -qi "qt" "$dir/licencias/LEEME.txt" ||
    fail "the licences' notice is not this build's: $(cat "$dir/licencias/LEEME.txt")"
# The zip holds the same files as the installation (but the uninstaller).
diff <(cd "$dir" && find . -type f ! -name desinstalar.exe | sort) \
    <(unzip -Z1 "$zip" | grep -v '/$' | sed 's|^|./|' | sort) >/dev/null ||
    fail "the zip and the installation differ"
echo "$said: installed silently as Windows $windows into Program Files (the $machine build: two programs of $(du -ch "$dir"/puerto-paralelo*.exe | tail -n 1 | cut -f1), no DLL), with its Start-menu entries and its own licences' notice; the zip holds the same files"

program='C:\Program Files\Puerto Paralelo\puerto-paralelo.exe'
log=$work/inpout.log
export PP_INPOUT_LOG
PP_INPOUT_LOG=$(winepath -w "$log")

# Whether the window, its frame included, stands centred on the 1024 x 768
# screen: Wine's X window is the client area only, which then stands centred
# across (408, to a pixel of rounding) and lower than centred (256) by half of
# what the title bar adds over the bottom border (5 to 20 pixels). Leaves the
# client area's corner in $x and $y.
centred() {
    read -r x y < <(xdotool getwindowgeometry "$window" | sed -n 's/ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
    [ $((x - 408)) -ge -1 ] && [ $((x - 408)) -le 1 ] && [ $((y - 256)) -ge 5 ] && [ $((y - 256)) -le 20 ]
}
# Starts the installed program with the options given, in the folder $from
# (this one by default), and waits for its window, whose id it leaves in
# $window, and for the program to centre it again once Wine has framed it
# (a click before that would land where the window was).
start() {
    : >"$work/stderr"
    start_program env -C "${from:-.}" wine "$program" "$@"
    for _ in $(seq $((10 * slow))); do centred && break; sleep 0.2; done
}
click() { # LEFT TOP WIDTH HEIGHT, in the client area
    click_at "$@"
    sleep 0.3
}
# Dismisses the message box with Enter; leaves its window id in $box.
dismiss() {
    box=
    for _ in $(seq $((300 * slow))); do
        box=$(xdotool search --onlyvisible --name '^Velmarin$' 2>/dev/null | head -n 1) || true
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || fail "no message box"
    # Enter again where the box is still there a second later: a key that
    # came before the box could take it is lost. A box that is closing may
    # refuse the focus: it fails only if it is still shown after the last try.
    local enters=0
    for _ in $(seq $((5 * slow))); do
        if within $((5 * slow)) "the focus on the message box" xdotool windowfocus --sync "$box"; then
            xdotool key Return
            enters=$((enters + 1))
        fi
        sleep 1
        xdotool search --onlyvisible --name '^Velmarin$' 2>/dev/null | grep -qx "$box" || return 0
    done
    fail "the message box stayed, after $((5 * slow)) tries ($enters of them with the focus, given Enter)"
}
# Starts the program with the options given; its first key must end it with
# a message box and a status other than 0. WHAT names the case in failures.
refused() { # WHAT [OPTIONS...]
    local what=$1
    shift
    start "$@"
    click 56 104 41 25
    dismiss
    wait_for_exit
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
    within $((60 * slow)) "puerto-paralelo.exe $*" wine "$program" "$@" >"$work/stdout" 2>"$work/stderr"
}

# --- The window, its geometry, and the keys at 0x378, where Windows lists
# LPT1, loading InpOut lazily.
cp "$work/cfgmgr32_standin.dll" "$dir/cfgmgr32.dll"
export WINEDLLOVERRIDES="$overrides;cfgmgr32=n,b"
cp "$work/inpout_standin.dll" "$dir/$inpout"
: >"$log"
start
if [ "$arch" = x86 ]; then
    i386_program_proof "$program_pid" || fail "the 32-bit program does not run $i386_path"
    echo "$said: the program runs $i386_path: its process runs $(readlink "/proc/$program_pid/exe")"
fi
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p')
[ "$geometry" = 207x255 ] || fail "the window is $geometry, not 207x255"
centred || fail "the window's client area stands at $x,$y: the window, frame included, is not centred"
[ ! -s "$log" ] || fail "InpOut loaded or written at start: $(cat "$log")"
keys
salir
expected="0x378 0x7F 0x378 0x06 0x378 0x77 0x378 0x77 0x378 0x71 0x378 0xC8 0x378 0xFF"
[ "$(written)" = "$expected" ] || fail "0x378 got: $(written)"
[ "$(head -n 1 "$log")" = load ] && [ "$(grep -c '^load$' "$log")" = 1 ] ||
    fail "InpOut not loaded once, before the first write: $(cat "$log")"
echo "$said: window $geometry at $x,$y, centred with its frame; keys and Sacar Dato wrote exactly their bytes to 0x378, InpOut loaded at the first key"

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
console --listar || fail "--listar failed: $(cat "$work/stderr")"
for line in "LPT1 en 0x378 (Puerto de impresora ECP (LPT1)), E/S 0x378-0x37F, 0x778-0x77A" \
    "LPT3 en 0xE050 (Puerto de impresora PCI ECP (LPT3)), E/S 0xE050-0xE057, 0xE040-0xE043" \
    "${listed[@]}"; do
    grep -qF "$line" "$work/stdout" || fail "--listar printed no '$line': $(cat "$work/stdout")"
done
for wrong in "LPT2" "LPT4" "$unlisted"; do
    [ -z "$wrong" ] || ! grep -qF "$wrong" "$work/stdout" ||
        fail "--listar printed '$wrong' (a printer's device, a port not there, or on Windows XP): $(cat "$work/stdout")"
done
echo "$said: --puerto 0xE050, listed by Windows (also when the list grows while it is read$([ -z "$xp" ] || echo ", and read whole, as before Windows 7")), wrote there at the first key; --listar names both ports and neither the printer's LPT2 nor the absent LPT4, InpOut$([ "$arch" = x86 ] || echo " and its driver: $(grep -F 'Integridad' "$work/stdout")")"

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
PP_PORTS=LPT3$xp refusal "0x378 with only the card listed" "puerto-paralelo --puerto 0xE050"
PP_PORTS=${xp#,} refusal "0x378 with no port listed" "Administrador de dispositivos, en «Puertos (COM y LPT)»"
grep -qF "BIOS" "$work/stderr" || fail "no port listed: no word of the BIOS"
: >"$log"
PP_PORTS=error start
click 56 104 41 25 # 8
salir
[ "$(written)" = "0x378 0x7F" ] || fail "with no device list, 0x378 got: $(written)"
# As a 32-bit program on 64-bit Windows 8 and 8.1 is, not given the ports'
# I/O ranges: the list is unreadable, not one of ports without an address.
: >"$log"
PP_PORTS=LPT1,LPT3,wow64$xp start
click 56 104 41 25 # 8
salir
[ "$(written)" = "0x378 0x7F" ] || fail "without I/O ranges, 0x378 got: $(written)"
PP_PORTS=LPT1,LPT3,wow64$xp refusal "0xE050 without I/O ranges" "no ha podido dar su lista" \
    --puerto 0xE050
echo "$said: at 0x378 with only LPT3 listed, with no port listed, at 0xD010 and at 0x37A (LPT1's control register): refused without loading InpOut; 0x378 written only where the list cannot be read (also where it has no I/O ranges)"

# --- InpOut only from the program's folder or System32: copies planted in
# the folder the program starts in and in a folder on PATH are never loaded.
rm "$dir/$inpout"
mkdir -p "$work/planted/here" "$work/planted/path"
cp "$work/inpout_standin.dll" "$work/planted/here/$inpout"
cp "$work/inpout_standin.dll" "$work/planted/path/$inpout"
export WINEPATH
WINEPATH=$(winepath -w "$work/planted/path")
from=$work/planted/here refusal "without $inpout, planted copies about" "falta $inpout"
for place in "C:\Program Files\Puerto Paralelo" "C:\windows\system32"; do
    grep -qiF "$place" "$work/stderr" || fail "without the DLL, no word of $place"
done
grep -qF "highrez.co.uk" "$work/stderr" || fail "without the DLL, no word of where to get it"
system32=$WINEPREFIX/drive_c/windows/system32/$inpout
cp "$work/inpout_standin.dll" "$system32"
: >"$log"
from=$work/planted/here start
click 56 104 41 25 # 8
salir
[ "$(cat "$log" | paste -sd' ')" = "load 0x378 0x7F" ] ||
    fail "from System32, planted copies about: $(cat "$log")"
rm "$system32"
unset WINEPATH
echo "$said: copies of $inpout in the working folder and on PATH never loaded; the one in System32 loaded at the first key"

# --- A wrong inpoutx64.dll (here: the other stand-in), and InpOut's driver
# closed: each cause and its remedy, as Windows' service manager and
# registry tell it (Wine's process runs elevated, its Memory Integrity off).
cp "$work/cfgmgr32_standin.dll" "$dir/$inpout"
refused "with a wrong $inpout"
grep -qF "no tiene la función Out32" "$work/stderr" || fail "wrong DLL: $(cat "$work/stderr")"
cp "$work/inpout_standin.dll" "$dir/$inpout"
blocklist() { within 60 "reg" wine reg add 'HKLM\SYSTEM\CurrentControlSet\Control\CI\Config' \
    /v VulnerableDriverBlocklistEnable /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || fail "reg add"; }
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
    echo "$said: driver closed, $what: $(grep -oF -- "$cause" "$work/stderr")"
done
echo "$said: no $inpout, a wrong one and a closed driver each end the program at the first key, saying what to do"

# --- The console: help and the list of ports.
console --help || fail "--help failed: $(cat "$work/stderr")"
grep -q "^Uso: puerto-paralelo \[--puerto P\]" "$work/stdout" || fail "--help: $(cat "$work/stdout")"
PP_PORTS=${xp#,} console --listar || fail "--listar failed: $(cat "$work/stderr")"
grep -q "Windows no conoce ningún puerto paralelo" "$work/stdout" ||
    fail "--listar: $(cat "$work/stdout")"
[ "$arch" = x86 ] || grep -qF "está instalado, pero parado" "$work/stdout" ||
    fail "--listar: $(cat "$work/stdout")"
echo "$said: --help and --listar print on the console"

# --- The demo from the same installation, and the uninstaller.
# The native demo's controls and display as a screen reader reads them
# through MSAA, before and after a key: each key by its digit, the text box by
# its label, the buttons by their captions, Picture1 by its description, the
# display by its reading.
form_names="Sacar Dato|Salir|Introdusca el dato a sacar|Introdusca el dato a sacar|1|2|3|4|5|6|7|8|9|0|A|B|C|D|E|F|Icono de Puerto Paralelo: el conector de un cable de puerto paralelo|Manejo del puerto paralelo en Tessavon      por Dravenko"
display_title="Display del puerto 0x378 (simulado)"
dark="0x00. Segmentos encendidos: ninguno. Líneas altas: ninguna."
eight="0x7F, muestra 8. Segmentos encendidos: a b c d e f g. Líneas altas: D0 D1 D2 D3 D4 D5 D6."
read_aloud() { # TITLE: "ROLE<TAB>NAME" per control
    within $((30 * slow)) "the accessible tree of $1" wine "$work/accessible_tree.exe" "$1" </dev/null |
        tr -d '\r'
}
"$triplet-gcc-posix" -Wall -Wextra -Werror -O2 "$here/accessible_tree.c" \
    -o "$work/accessible_tree.exe" -loleacc -loleaut32 -lole32
program='C:\Program Files\Puerto Paralelo\puerto-paralelo-demo.exe' start
[ "$(read_aloud "Puerto Paralelo" | cut -f2 | paste -sd'|')" = "$form_names" ] ||
    fail "the screen reader reads Form1's controls as: $(read_aloud "Puerto Paralelo" | paste -sd'|')"
read_aloud "Puerto Paralelo" | grep -qx "text	Introdusca el dato a sacar" ||
    fail "Text1 is not read as a text named by its label"
[ "$(read_aloud "$display_title")" != "" ] && [ "$(read_aloud "$display_title" | cut -f2)" = "$dark" ] ||
    fail "the display, dark, reads: $(read_aloud "$display_title")"
click 56 104 41 25
for _ in $(seq $((10 * slow))); do
    [ "$(read_aloud "$display_title" | cut -f2)" != "$eight" ] || break
    sleep 0.5
done
[ "$(read_aloud "$display_title" | cut -f2)" = "$eight" ] ||
    fail "the display, after 8, reads after $((5 * slow)) s: $(read_aloud "$display_title")"
salir
grep -q "^0x378 <- 0x7F" "$work/stdout" || fail "the demo printed: $(cat "$work/stdout")"
rm "$dir/$inpout" "$dir/cfgmgr32.dll"
echo "$said: the demo prints its lines; through MSAA each control is read by its caption, label or description, and the display by its reading of each byte"

# The uninstaller removes what it installed, and of the Start-menu folder
# the entries it made, by name: one the user put there stays; and so does
# InpOut, which the user brought.
uninstall() {
    : >"$menu/Mi acceso.lnk"
    : >"$dir/$inpout"
    within $((60 * slow)) "the uninstaller" "${silently[@]}" wine "$dir/desinstalar.exe" /S || true
    for _ in $(seq $((100 * slow))); do [ -e "$dir/desinstalar.exe" ] || break; sleep 0.2; done
    settle
    [ "$(ls -A "$dir")" = "$inpout" ] || fail "left after uninstalling: $(cd "$dir" && find . | head)"
    [ "$(ls "$menu")" = "Mi acceso.lnk" ] || fail "after uninstalling, the Start menu holds: $(ls "$menu")"
    rm -r "$menu" "$dir"
}
uninstall
echo "$said: the uninstaller removes everything it installed; the user's own Start-menu entry and $inpout stay"

# How many installations "Programs and Features" lists, in either registry view.
entries_listed() {
    local view count=0
    for view in 32 64; do
        wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\PuertoParalelo' \
            /v InstallLocation /reg:$view >/dev/null 2>&1 && count=$((count + 1))
    done
    echo "$count"
}
# --- The installer's choice on other Windows: on 64-bit Vista the x64 build;
# on 64-bit XP the 32-bit one, in the 32-bit programs' folder; before XP,
# nothing, and status 2. A reinstall into a folder of the user's choice
# leaves one copy and one entry, and the next reinstall goes there too.
if [ "$arch" = x64 ]; then
    reports vista
    install "Program Files/Puerto Paralelo" x86-64
    uninstall
    reports winxp64
    install "Program Files (x86)/Puerto Paralelo" "Intel 80386"
    [ ! -e "$WINEPREFIX/drive_c/Program Files/Puerto Paralelo" ] || fail "on 64-bit XP, the x64 build installed too"
    uninstall
    # NSIS takes /D= unquoted, and Wine quotes an argument with a space.
    reports win10
    install "Program Files/Puerto Paralelo" x86-64
    install "Banco/PuertoParalelo" x86-64 '/D=C:\Banco\PuertoParalelo'
    [ ! -e "$WINEPREFIX/drive_c/Program Files/Puerto Paralelo" ] || fail "reinstalled elsewhere, the first copy stays"
    install "Banco/PuertoParalelo" x86-64
    [ "$(entries_listed)" = 1 ] || fail "after reinstalling, $(entries_listed) entries in Programs and Features"
    # An earlier uninstaller that fails: the installer stops with status 2,
    # and the earlier copy keeps its entry.
    mv "$dir/desinstalar.exe" "$work/desinstalar.exe"
    echo 'int main(void) { return 1; }' >"$work/failing.c"
    "$triplet-gcc-posix" "$work/failing.c" -o "$dir/desinstalar.exe"
    run_installer
    [ "$status" = 2 ] && [ -f "$dir/puerto-paralelo.exe" ] && [ "$(entries_listed)" = 1 ] ||
        fail "over an uninstaller that fails: status $status, $(entries_listed) entries, $(ls "$dir")"
    mv "$work/desinstalar.exe" "$dir/desinstalar.exe"
    uninstall
    echo "$said: on 64-bit Vista the installer chose the x64 build; on 64-bit XP the 32-bit one, in Program Files (x86); reinstalled into a folder of the user's choice, one copy and one entry, and the next reinstall went there too, but not over an earlier uninstaller that failed (status 2, the copy and its entry kept)"
else
    reports win2k
    run_installer
    [ "$status" = 2 ] || fail "the installer on Windows 2000: status $status, not 2"
    [ ! -e "$WINEPREFIX/drive_c/Program Files/Puerto Paralelo" ] || fail "installed on Windows 2000"
    echo "$said: on Windows 2000 the installer installed nothing (status $status)"
fi
