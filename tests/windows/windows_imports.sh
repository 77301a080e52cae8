#!/usr/bin/env bash
# Whether the Windows programs and DLLs in a folder (an installed build) would
# start on the oldest Windows they are for, FLOOR: xp (Windows XP SP3, the
# 32-bit build), vista (Windows Vista, the x64 build) or 7 (Windows 7 SP1).
#  - No function imported that FLOOR lacks: a function newer than that must
#    be looked up at run time instead. Each function imported from a DLL that
#    the folder does not ship is looked for in MinGW-w64's Windows headers,
#    read as for FLOOR (_WIN32_WINNT), which declare most functions only for
#    the Windows that has them; one they do not declare there is reported, and
#    so is one of the few of Windows 8 and later that they declare for older
#    Windows all the same (listed below, as Microsoft's documentation dates
#    them).
#  - The C runtime, msvcrt.dll, as Windows has it: XP's lacks the secure
#    functions (strcpy_s, fopen_s, _vsnprintf_s, ...), which Vista's has.
#  - The PE headers' operating-system and subsystem versions no higher than
#    FLOOR's (XP refuses a 32-bit program whose subsystem is above 5.1, XP
#    x64 one above 5.2).
#  - On XP, each program's icon: XP reads only an icon's bitmap images (not
#    PNG), so each program holds its 16-, 32- and 48-pixel images as 32-bit
#    bitmaps (their BITMAPINFOHEADERs: size 40, width, twice the height, one
#    plane, 32 bits).
# Usage: windows_imports.sh FLOOR FOLDER   (exits 1, listing them, where any is found)
set -euo pipefail
floor=$1 folder=$2
case $floor in
xp) winnt=0x0501 ntddi=0x05010300 most=5.1 name="Windows XP SP3" ;;
vista) winnt=0x0600 ntddi=0x06000000 most=6.0 name="Windows Vista" ;;
7) winnt=0x0601 ntddi=0x06010000 most=6.1 name="Windows 7 SP1" ;;
*) echo "windows_imports.sh: no floor '$floor' (xp, vista, 7)" >&2; exit 2 ;;
esac
# Windows 8 and later (SetDefaultDllDirectories and its two: Windows 7 and
# Vista only with update KB2533623), though MinGW-w64's headers declare them
# for older Windows.
newer=(GetSystemTimePreciseAsFileTime SetDefaultDllDirectories AddDllDirectory RemoveDllDirectory
    WaitOnAddress WakeByAddressSingle WakeByAddressAll InitializeSynchronizationBarrier
    EnterSynchronizationBarrier DeleteSynchronizationBarrier GetOverlappedResultEx CopyFile2
    CreateFileMappingFromApp MapViewOfFileFromApp GetDisplayAutoRotationPreferences
    SetDisplayAutoRotationPreferences GetAutoRotationState GetCurrentInputMessageSource
    QueryInterruptTime QueryInterruptTimePrecise QueryUnbiasedInterruptTimePrecise)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# x86_64's objdump reads both 32-bit and 64-bit programs.
objdump=x86_64-w64-mingw32-objdump
files=()
while IFS= read -r -d '' file; do files+=("$file"); done < <(find "$folder" \( -iname '*.exe' -o -iname '*.dll' \) -print0)
[ "${#files[@]}" -gt 0 ] || { echo "windows_imports.sh: no program in $folder" >&2; exit 2; }
# The headers as the files' machine has them.
if "$objdump" -f "${files[0]}" | grep -q 'x86-64'; then
    compiler=x86_64-w64-mingw32-gcc-win32
else
    compiler=i686-w64-mingw32-gcc-win32
fi

# "DLL FUNCTION" for each import of each file, DLL names in lower case.
shipped=$(cd "$folder" && find . -iname '*.dll' -printf '%f\n' | tr '[:upper:]' '[:lower:]')
for file in "${files[@]}"; do "$objdump" -p "$file"; done >"$work/headers"
awk '/^\tDLL Name: / { dll = tolower($3); next }
     /^\tvma: / { next }
     /^$/ { dll = "" }
     dll != "" && NF >= 3 && $1 ~ /^[0-9a-f]+$/ { print dll, $3 }' "$work/headers" |
    sort -u >"$work/imports"
awk -v skip="msvcrt.dll $shipped" 'BEGIN { n = split(skip, names); for (i = 1; i <= n; i++) own[names[i]] = 1 }
    !($1 in own)' "$work/imports" >"$work/checked"
cut -d' ' -f1 "$work/checked" | sort -u >"$work/system"

{
    echo "#define _WIN32_WINNT $winnt"
    echo "#define WINVER $winnt"
    echo "#define NTDDI_VERSION $ntddi"
    for header in winsock2.h ws2tcpip.h windows.h shellapi.h shlobj.h shlwapi.h ole2.h oleauto.h \
        commdlg.h commctrl.h imm.h mmsystem.h uxtheme.h dwmapi.h userenv.h lm.h winnetwk.h \
        cfgmgr32.h setupapi.h wtsapi32.h usp10.h psapi.h winspool.h aclapi.h sddl.h wincrypt.h \
        ntsecapi.h dxgi.h d3d11.h; do
        echo "#include <$header>"
    done
    awk '{ printf "void* check_%d = (void*)&%s;\n", NR, $2 }' "$work/checked"
} >"$work/check.c"
LC_ALL=C "$compiler" -fsyntax-only -w "$work/check.c" 2>"$work/errors" || true
missing=$({
    sed -n "s/.*error: '\([A-Za-z0-9_]*\)' undeclared.*/\1/p" "$work/errors"
    cut -d' ' -f2 "$work/checked" | grep -xF -f <(printf '%s\n' "${newer[@]}") || true
} | sort -u)
failed=0
if [ -n "$missing" ]; then
    echo "Imported, but not in $name (as MinGW-w64's headers have it):"
    grep -wF -f <(echo "$missing") "$work/checked" | sed 's/^/    /'
    failed=1
fi
if grep -v 'undeclared' "$work/errors" | grep -q 'error:'; then
    echo "The check itself failed:"
    head -n 20 "$work/errors"
    exit 1
fi
# The C runtime's secure functions: Windows Vista's msvcrt.dll on.
secure=$(awk '$1 == "msvcrt.dll" && $2 ~ /_s$/ { print $2 }' "$work/imports")
if [ "$floor" = xp ] && [ -n "$secure" ]; then
    echo "Imported from msvcrt.dll, which Windows XP's lacks:"
    echo "$secure" | sed 's/^/    /'
    failed=1
fi
# The versions each file's PE header asks for.
too_new=$(awk -v most="$most" '
    /^[^\t ].*:[ \t]+file format/ { file = $1; sub(/:$/, "", file) }
    /^Major(OSystem|Subsystem)Version/ { major[$1] = $2 }
    /^Minor(OSystem|Subsystem)Version/ {
        kind = $1; sub(/^Minor/, "", kind)
        version = major["Major" kind] "." $2
        if (version + 0 > most + 0) print "    " file " " kind " " version
    }' "$work/headers")
if [ -n "$too_new" ]; then
    echo "PE headers asking for a Windows newer than $name ($most):"
    echo "$too_new"
    failed=1
fi
if [ "$floor" = xp ]; then
    for file in "${files[@]}"; do
        [[ "$file" == *.exe ]] || continue
        bytes=$(od -An -tx1 -v "$file" | tr -d ' \n')
        for size in 10 20 30; do # 16, 32 and 48, as the header's bytes have them
            height=$(printf '%02x' $((2 * 0x$size)))
            [[ "$bytes" == *"28000000${size}000000${height}00000001002000"* ]] || {
                echo "No $((0x$size))-pixel bitmap icon, which Windows XP would show, in $file"
                failed=1
            }
        done
    done
fi
[ "$failed" = 0 ] || exit 1
echo "$(wc -l <"$work/checked") functions imported from $(wc -l <"$work/system") DLLs of Windows," \
    "all in $name; PE headers no newer than $most$([ "$floor" != xp ] || echo "; no secure function of the C runtime; icons as bitmaps")"
