#!/usr/bin/env bash
# Builds Puerto Paralelo for Windows on Debian, in build-windows/:
#   puerto-paralelo-VERSION-instalador.exe    the installer for Windows 7 to
#                                              11, of both builds
#   puerto-paralelo-VERSION-windows-x64.zip   the x64 build, portable
#   puerto-paralelo-VERSION-windows-x86.zip   the 32-bit build (Windows 7, 8.1
#                                              and 32-bit Windows), portable
# and the native programs, on the Win32 API, without Qt, in
# build-windows/stage-native-x64 and stage-native-x86 (build.sh native: only
# those).
# Qt for Windows is built once from Debian's own source into the cache folder
# ($PP_CACHE, /var/cache/puerto-paralelo by default) and reused: Qt 6 for x64,
# Qt 5.15 for 32-bit x86 (Windows 7, 8.1 and 32-bit Windows).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

scripts/deps.sh windows
cache=${PP_CACHE:-/var/cache/puerto-paralelo}
mkdir -p "$cache"
out=$root/build-windows
jobs=$(nproc)
version=$(sed -n '1s/^puerto-paralelo (\([0-9.]*\)).*/\1/p' debian/changelog)

# The icon tool runs here, so it is built for this machine.
cmake -S . -B "$out/host" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$out/host" -j "$jobs" --target make_icons >/dev/null

# Both programs for ARCH (x64, x86), installed into $out/stage-ARCH, stripped,
# and zipped.
build() { # ARCH
    local arch=$1 qt version_qt configure triplet
    if [ "$arch" = x64 ]; then
        version_qt=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
        qt=$cache/qt-windows-$version_qt
        triplet=x86_64-w64-mingw32
    else
        # The source package's version: a binary-only rebuild gives the
        # binary package a version of its own.
        version_qt=$(apt-cache show --no-all-versions libqt5core5a | awk '
            /^Source: .*\(/ { gsub(/.*\(|\).*/, ""); source = $0 }
            /^Version: / { binary = $2 }
            END { print source != "" ? source : binary }')
        qt=$cache/qt5-windows-x86-$version_qt
        triplet=i686-w64-mingw32
    fi
    packaging/windows/build_qt.sh "$qt" "$arch" "$version_qt"
    if [ "$arch" = x64 ]; then
        configure=("$qt/bin/qt-cmake")
    else
        configure=(cmake -DCMAKE_TOOLCHAIN_FILE="$qt-toolchain.cmake" -DCMAKE_FIND_ROOT_PATH="$qt"
            -DCMAKE_PREFIX_PATH="$qt" -DPP_QT_MAJOR=5)
    fi
    echo "== Windows $arch: building both programs"
    "${configure[@]}" -S . -B "$out/program-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_TESTING=OFF -DPP_WERROR=ON -DPP_HOST_MAKE_ICONS="$out/host/resources/make_icons" \
        >"$out/configure-$arch.log" || { cat "$out/configure-$arch.log"; exit 1; }
    cmake --build "$out/program-$arch" -j "$jobs"
    local stage=$out/stage-$arch zip=$out/puerto-paralelo-$version-windows-$arch.zip
    rm -rf "$stage"
    cmake --install "$out/program-$arch" --prefix "$stage" >/dev/null
    find "$stage" \( -name "*.exe" -o -name "*.dll" \) -exec "$triplet-strip" --strip-unneeded {} +
    rm -f "$zip"
    (cd "$stage" && zip -qr -X "$zip" .)
    echo "== Windows $arch: $zip"
}
# The native programs for ARCH (x64, x86), on the Win32 API, installed into
# $out/stage-native-ARCH and stripped.
native() { # ARCH
    local arch=$1 triplet
    triplet=$([ "$arch" = x64 ] && echo x86_64-w64-mingw32 || echo i686-w64-mingw32)
    echo "== Windows $arch, native: building both programs"
    cmake -S . -B "$out/native-$arch" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/native-toolchain.cmake" \
        -DPP_WINDOWS_TRIPLET="$triplet" -DPP_FRONT_END=win32 -DBUILD_TESTING=OFF -DPP_WERROR=ON \
        -DPP_HOST_MAKE_ICONS="$out/host/resources/make_icons" \
        >"$out/configure-native-$arch.log" || { cat "$out/configure-native-$arch.log"; exit 1; }
    cmake --build "$out/native-$arch" -j "$jobs"
    local stage=$out/stage-native-$arch
    rm -rf "$stage"
    cmake --install "$out/native-$arch" --prefix "$stage" >/dev/null
    find "$stage" -name "*.exe" -exec "$triplet-strip" --strip-unneeded {} +
    echo "== Windows $arch, native: $stage"
}
native x64
native x86
[ "${1:-}" != native ] || exit 0

build x64
build x86

echo "== Windows: the installer, of both builds"
installer=$out/puerto-paralelo-$version-instalador.exe
# The uninstaller removes exactly what either build installs, folders last.
uninstall=$( (for arch in x64 x86; do (cd "$out/stage-$arch" && find . -type f); done | sort -u |
    sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
    for arch in x64 x86; do (cd "$out/stage-$arch" && find . -mindepth 1 -type d); done | sort -ru |
    sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'))
# (Through the environment: awk -v would read the "\f" of "3rdparty\freetype" as an escape.)
uninstall=$uninstall awk '{ if ($0 == "@uninstall_files@") print ENVIRON["uninstall"]; else print }' \
    packaging/windows/installer.nsi.in |
    sed -e "s|@PROJECT_VERSION@|$version|g" -e "s|@installer@|$installer|" \
        -e "s|@stage_x64@|$out/stage-x64|" -e "s|@stage_x86@|$out/stage-x86|" \
        -e "s|@icon_ico@|$out/program-x64/resources/icons/icon.ico|" >"$out/installer.nsi"
makensis -V2 "$out/installer.nsi"
echo "== Windows: $installer"
