#!/usr/bin/env bash
# Whether the Windows programs and DLLs in a folder (an installed 32-bit
# build) import any function that Windows 7 SP1 lacks, which would keep them
# from starting there: a function newer than that must be looked up at run
# time instead. Each function imported from a DLL that the folder does not
# ship is looked for in MinGW-w64's Windows headers, read as for Windows 7
# (_WIN32_WINNT 0x0601), which declare most functions only for the Windows
# that has them; one they do not declare there is reported, and so is one of
# the few of Windows 8 and later that they declare for Windows 7 all the same
# (listed below, as Microsoft's documentation dates them). The C runtime
# (msvcrt.dll), which MinGW-w64 builds for every Windows from XP on, is not
# looked at.
# Usage: windows7_imports.sh FOLDER   (exits 1, listing them, where any is found)
set -euo pipefail
folder=$1
# Windows 8 and later (SetDefaultDllDirectories and its two: Windows 7 only
# with update KB2533623), though MinGW-w64's headers declare them for 7.
newer=(GetSystemTimePreciseAsFileTime SetDefaultDllDirectories AddDllDirectory RemoveDllDirectory
    WaitOnAddress WakeByAddressSingle WakeByAddressAll InitializeSynchronizationBarrier
    EnterSynchronizationBarrier DeleteSynchronizationBarrier GetOverlappedResultEx CopyFile2
    CreateFileMappingFromApp MapViewOfFileFromApp GetDisplayAutoRotationPreferences
    SetDisplayAutoRotationPreferences GetAutoRotationState GetCurrentInputMessageSource
    QueryInterruptTime QueryInterruptTimePrecise QueryUnbiasedInterruptTimePrecise)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "DLL FUNCTION" for each import of each file, DLL names in lower case.
shipped=$(cd "$folder" && find . -iname '*.dll' -printf '%f\n' | tr '[:upper:]' '[:lower:]')
find "$folder" \( -iname '*.exe' -o -iname '*.dll' \) -print0 |
    xargs -0 -n 1 i686-w64-mingw32-objdump -p |
    awk '/^\tDLL Name: / { dll = tolower($3); next }
         /^\tvma: / { next }
         /^$/ { dll = "" }
         dll != "" && NF >= 3 && $1 ~ /^[0-9a-f]+$/ { print dll, $3 }' |
    sort -u >"$work/imports"
awk -v skip="msvcrt.dll $shipped" 'BEGIN { n = split(skip, names); for (i = 1; i <= n; i++) own[names[i]] = 1 }
    !($1 in own)' "$work/imports" >"$work/checked"
cut -d' ' -f1 "$work/checked" | sort -u >"$work/system"

{
    echo '#define _WIN32_WINNT 0x0601'
    echo '#define WINVER 0x0601'
    echo '#define NTDDI_VERSION 0x06010000'
    for header in winsock2.h ws2tcpip.h windows.h shellapi.h shlobj.h shlwapi.h ole2.h oleauto.h \
        commdlg.h imm.h mmsystem.h uxtheme.h dwmapi.h userenv.h lm.h winnetwk.h cfgmgr32.h \
        setupapi.h wtsapi32.h usp10.h psapi.h winspool.h aclapi.h sddl.h wincrypt.h ntsecapi.h \
        dxgi.h d3d11.h; do
        echo "#include <$header>"
    done
    awk '{ printf "void* check_%d = (void*)&%s;\n", NR, $2 }' "$work/checked"
} >"$work/check.c"
LC_ALL=C i686-w64-mingw32-gcc-posix -fsyntax-only -w "$work/check.c" 2>"$work/errors" || true
missing=$({
    sed -n "s/.*error: '\([A-Za-z0-9_]*\)' undeclared.*/\1/p" "$work/errors"
    cut -d' ' -f2 "$work/checked" | grep -xF -f <(printf '%s\n' "${newer[@]}") || true
} | sort -u)
if [ -n "$missing" ]; then
    echo "Imported, but not in Windows 7 SP1 (as MinGW-w64's headers have it):"
    grep -wF -f <(echo "$missing") "$work/checked" | sed 's/^/    /'
    exit 1
fi
if grep -v 'undeclared' "$work/errors" | grep -q 'error:'; then
    echo "The check itself failed:"
    head -n 20 "$work/errors"
    exit 1
fi
echo "$(wc -l <"$work/checked") functions imported from $(wc -l <"$work/system") DLLs of Windows, all in Windows 7 SP1"
