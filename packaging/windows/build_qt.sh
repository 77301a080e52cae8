#!/usr/bin/env bash
# Builds Qt for Windows (Core, Gui, Widgets, the Windows platform plugin and
# the Windows style) from Debian's own source, only what the programs use:
#   x64  Qt 6 from qt6-base, the version of the machine's Qt, whose moc, rcc
#        and uic then serve as host tools;
#   x86  Qt 5.15 from qtbase-opensource-src, the version Debian's archive has
#        (Qt 6 does not run on Windows 7, 8.1 nor 32-bit Windows), with host
#        tools of its own.
# Installs it into PREFIX and does nothing where it is there already. The
# source comes through a private source list derived from the machine's apt
# configuration, which is left untouched.
# Usage: build_qt.sh PREFIX x64|x86 VERSION
#   VERSION: the version of the source package to build.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1 arch=$2 version=$3
# (A Qt built before its libraries' licences were kept is built again.)
[ -f "$prefix/.built" ] && [ -d "$prefix/licences/3rdparty" ] && exit 0

case $arch in
x64) source=qt6-base ;;
x86) source=qtbase-opensource-src ;;
*) echo "build_qt.sh: no Windows build for '$arch'" >&2; exit 2 ;;
esac
work=$(mktemp -d "${TMPDIR:-/tmp}/qt-windows.XXXXXX")
trap 'rm -rf "$work"' EXIT

# deb-src twins of every configured deb source, one-line and deb822 alike.
mkdir -p "$work/apt/lists/partial" "$work/apt/sources"
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$list"
done >"$work/apt/sources/derived.list"
for list in /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] && sed 's/^Types:.*/Types: deb-src/' "$list" >"$work/apt/sources/$(basename "$list")"
done
apt_private=(-o "Dir::Etc::SourceList=$work/apt/sources/derived.list"
    -o "Dir::Etc::SourceParts=$work/apt/sources" -o "Dir::State::Lists=$work/apt/lists"
    -o "Debug::NoLocking=true")
echo "== Qt for Windows $arch: $source $version from Debian's source"
apt-get "${apt_private[@]}" update >"$work/apt-update.log" 2>&1 ||
    { cat "$work/apt-update.log"; exit 1; }
(cd "$work" && apt-get "${apt_private[@]}" source --download-only "$source=$version" >/dev/null)
(cd "$work" && dpkg-source --no-check -x "${source}"_*.dsc qtbase >/dev/null)

jobs=$(nproc)
echo "== Qt for Windows $arch: configuring"
if [ "$arch" = x64 ]; then
    # The toolchain file stays beside the Qt it built, where Qt's qt-cmake
    # finds it. Only the modules the program needs; wintab is not in Debian's
    # source, and without OpenGL the 6.4 plugin builds only with dynamic GL
    # off too.
    toolchain=$prefix-toolchain.cmake
    cp "$here/mingw-toolchain.cmake" "$toolchain"
    cmake -S "$work/qtbase" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_tabletevent=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF \
        -DFEATURE_vulkan=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_testlib=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_sql_odbc=OFF \
        >"$work/configure.log" 2>&1 || { tail -n 60 "$work/configure.log"; exit 1; }
    echo "== Qt for Windows $arch: building (this takes a while, once)"
    cmake --build "$work/build" --parallel "$jobs" >"$work/build.log" 2>&1 ||
        { grep -E -A3 '^FAILED:|error:' "$work/build.log" | head -n 60; exit 1; }
    rm -rf "$prefix"
    cmake --install "$work/build" >/dev/null
else
    # MinGW's -posix compilers under the names Qt's win32-g++ build rules call, as
    # for x64 (whichever variant the machine's alternatives point to).
    mkdir -p "$work/bin"
    for tool in gcc g++; do
        ln -s "$(command -v "i686-w64-mingw32-$tool-posix")" "$work/bin/i686-w64-mingw32-$tool"
    done
    # Of the platform plugins, only Windows' own.
    printf 'TEMPLATE = subdirs\nSUBDIRS = windows\n' >"$work/qtbase/src/plugins/platforms/platforms.pro"
    # wintab is not in Debian's source, hence no tablet events.
    (cd "$work/qtbase" && PATH=$work/bin:$PATH ./configure -prefix "$prefix" \
        -xplatform win32-g++ -device-option CROSS_COMPILE=i686-w64-mingw32- \
        -opensource -confirm-license -release -shared -nomake examples -nomake tests \
        -no-opengl -no-dbus -no-feature-sql -no-feature-network -no-feature-printer \
        -no-feature-xml -no-feature-testlib -no-feature-concurrent -no-feature-tabletevent \
        -qt-zlib -qt-libpng -qt-pcre -qt-freetype -qt-harfbuzz -no-libjpeg -no-gif -no-ico \
        -no-openssl) >"$work/configure.log" 2>&1 || { tail -n 60 "$work/configure.log"; exit 1; }
    echo "== Qt for Windows $arch: building (this takes a while, once)"
    (cd "$work/qtbase" && PATH=$work/bin:$PATH make -j "$jobs" >"$work/build.log" 2>&1) ||
        { grep -E -B2 -A3 'error:|Error [0-9]' "$work/build.log" | head -n 60; exit 1; }
    rm -rf "$prefix"
    (cd "$work/qtbase" && PATH=$work/bin:$PATH make install >/dev/null 2>&1)
    # Its CMake files find the compiler through this toolchain.
    sed -e 's/x86_64-w64-mingw32/i686-w64-mingw32/g' -e 's/x86_64/i686/' \
        "$here/mingw-toolchain.cmake" >"$prefix-toolchain.cmake"
fi
# The licences Qt is shipped under, from the same source, and those of the
# libraries compiled into it (each named in its qt_attribution.json; FreeType's
# own names the texts it offers a choice of).
mkdir -p "$prefix/licences"
cp "$work/qtbase/LICENSES/"* "$prefix/licences/" 2>/dev/null ||
    cp "$work/qtbase"/LICENSE.* "$prefix/licences/"
for library in freetype harfbuzz-ng pcre2 libpng zlib double-conversion md4c; do
    from=$work/qtbase/src/3rdparty/$library
    mkdir -p "$prefix/licences/3rdparty/$library"
    for file in $(sed -n 's/.*"LicenseFiles*": *"\([^"]*\)".*/\1/p' "$from/qt_attribution.json") \
        docs/FTL.TXT docs/GPLv2.TXT; do
        if [ -f "$from/$file" ]; then cp "$from/$file" "$prefix/licences/3rdparty/$library/"; fi
    done
    [ -n "$(ls "$prefix/licences/3rdparty/$library")" ] ||
        { echo "build_qt.sh: no licence text found for $library" >&2; exit 1; }
done
echo "$source $version (Debian source package)" >"$prefix/.built"
