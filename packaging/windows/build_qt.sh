#!/usr/bin/env bash
# Builds Qt for Windows x64 (Core, Gui, Widgets and the Windows platform
# plugin) from Debian's own qt6-base source package, the version of the
# machine's Qt, whose moc, rcc and uic then serve as host tools. Installs it
# into $1 and does nothing where it is there already. The source comes through
# a private source list derived from the machine's apt configuration, which is
# left untouched.
# Usage: build_qt.sh PREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
[ -f "$prefix/.built" ] && exit 0

version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
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
echo "== Qt for Windows: qt6-base $version from Debian's source"
apt-get "${apt_private[@]}" update >"$work/apt-update.log" 2>&1 ||
    { cat "$work/apt-update.log"; exit 1; }
(cd "$work" && apt-get "${apt_private[@]}" source --download-only "qt6-base=$version" >/dev/null)
(cd "$work" && dpkg-source --no-check -x qt6-base_*.dsc qtbase >/dev/null)

# The toolchain file stays beside the Qt it built, where Qt's qt-cmake finds it.
toolchain=$prefix-toolchain.cmake
cp "$here/mingw-toolchain.cmake" "$toolchain"

# Only the modules the program needs; wintab is not in Debian's source, and
# without OpenGL the 6.4 plugin builds only with dynamic GL off too.
echo "== Qt for Windows: configuring"
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
echo "== Qt for Windows: building (this takes a while, once)"
cmake --build "$work/build" --parallel "$(nproc)" >"$work/build.log" 2>&1 ||
    { grep -E -A3 '^FAILED:|error:' "$work/build.log" | head -n 60; exit 1; }
rm -rf "$prefix"
cmake --install "$work/build" >/dev/null
# The licences Qt is shipped under, from the same source.
mkdir -p "$prefix/licences"
cp "$work/qtbase/LICENSES/"* "$prefix/licences/" 2>/dev/null ||
    cp "$work/qtbase"/LICENSE.* "$prefix/licences/"
echo "qt6-base $version (Debian source package)" >"$prefix/.built"
