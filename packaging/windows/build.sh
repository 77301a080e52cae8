#!/usr/bin/env bash
# Builds Puerto Paralelo for Windows on Debian, in build-windows/, with
# MinGW-w64: both programs on the Win32 API, each one .exe with the C and C++
# runtimes linked in, for each build:
#   puerto-paralelo-VERSION-instalador.exe    the installer for Windows XP SP3
#                                              to 11, of both builds
#   puerto-paralelo-VERSION-windows-x64.zip   the x64 build (64-bit Windows
#                                              from Vista on), portable
#   puerto-paralelo-VERSION-windows-x86.zip   the 32-bit build (32-bit Windows
#                                              from XP SP3 on), portable
# and each build as installed, in build-windows/stage-x64 and stage-x86.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

scripts/deps.sh windows
out=$root/build-windows
jobs=$(nproc)
version=$(sed -n '1s/^puerto-paralelo (\([0-9.]*\)).*/\1/p' debian/changelog)

# The icon tool runs here, so it is built for this machine.
cmake -S . -B "$out/host" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$out/host" -j "$jobs" --target make_icons >/dev/null

# Both programs for ARCH (x64, x86), on the Win32 API, installed into
# $out/stage-ARCH, stripped, and zipped.
build() { # ARCH
    local arch=$1 triplet
    triplet=$([ "$arch" = x64 ] && echo x86_64-w64-mingw32 || echo i686-w64-mingw32)
    echo "== Windows $arch: building both programs"
    cmake -S . -B "$out/program-$arch" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/toolchain.cmake" \
        -DPP_WINDOWS_TRIPLET="$triplet" -DBUILD_TESTING=OFF -DPP_WERROR=ON \
        -DPP_HOST_MAKE_ICONS="$out/host/resources/make_icons" \
        >"$out/configure-$arch.log" || { cat "$out/configure-$arch.log"; exit 1; }
    cmake --build "$out/program-$arch" -j "$jobs"
    local stage=$out/stage-$arch zip=$out/puerto-paralelo-$version-windows-$arch.zip
    rm -rf "$stage"
    cmake --install "$out/program-$arch" --prefix "$stage" >/dev/null
    find "$stage" -name "*.exe" -exec "$triplet-strip" --strip-unneeded {} +
    rm -f "$zip"
    (cd "$stage" && zip -qr -X "$zip" .)
    echo "== Windows $arch: $zip"
}
build x64
build x86

echo "== Windows: the installer, of both builds"
installer=$out/puerto-paralelo-$version-instalador.exe
# The uninstaller removes exactly what a build installs, folders last; both
# builds have the same files.
installed() { (cd "$out/stage-$1" && find . -mindepth 1 | sort); }
[ "$(installed x64)" = "$(installed x86)" ] ||
    { echo "build.sh: the two builds install different files:" >&2; diff <(installed x64) <(installed x86) >&2; exit 1; }
files=$(cd "$out/stage-x64" && find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|')
folders=$(cd "$out/stage-x64" && find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|')
# Which Windows gets which build, said as the documents say it: into a sed
# replacement and an NSIS string, so none of the characters either reads.
which_build=$(cat packaging/windows/which_build.txt)
case $which_build in *[\&\|\\\$\"\`]* | "")
    echo "build.sh: packaging/windows/which_build.txt is empty or holds one of & | \\ \$ \" \`" >&2
    exit 1
    ;;
esac
# (Through the environment: awk -v would read backslashes as escapes.)
files=$files folders=$folders awk '/^@uninstall_(files|folders)@$/ { print ENVIRON[substr($0, 12, length($0) - 12)]; next }
    { print }' \
    packaging/windows/installer.nsi.in |
    sed -e "s|@PROJECT_VERSION@|$version|g" -e "s|@installer@|$installer|" \
        -e "s|@which_build@|$which_build|" \
        -e "s|@stage_x64@|$out/stage-x64|" -e "s|@stage_x86@|$out/stage-x86|" \
        -e "s|@icon_ico@|$out/program-x86/resources/icons/icon.ico|" >"$out/installer.nsi"
! grep -nE '@[A-Za-z_0-9]+@' "$out/installer.nsi" ||
    { echo "build.sh: the installer's script keeps a placeholder (above)" >&2; exit 1; }
makensis -V2 "$out/installer.nsi"
echo "== Windows: $installer"
