#!/usr/bin/env bash
# Builds Puerto Paralelo for Windows x64 on Debian, in build-windows/:
#   puerto-paralelo-VERSION-instalador.exe   the installer (NSIS)
#   puerto-paralelo-VERSION-windows-x64.zip   the same files, portable
# Qt for Windows is built once from Debian's own qt6-base source into the
# cache folder ($PP_CACHE, /var/cache/puerto-paralelo by default) and reused.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

scripts/deps.sh windows
cache=${PP_CACHE:-/var/cache/puerto-paralelo}
qt=$cache/qt-windows-$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
mkdir -p "$cache"
packaging/windows/build_qt.sh "$qt"

out=$root/build-windows
jobs=$(nproc)
# The icon tool runs here, so it is built for this machine.
cmake -S . -B "$out/host" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$out/host" -j "$jobs" --target make_icons >/dev/null

echo "== Windows: building both programs"
"$qt/bin/qt-cmake" -S . -B "$out/program" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF -DPP_WERROR=ON -DPP_HOST_MAKE_ICONS="$out/host/resources/make_icons" \
    >"$out/configure.log" || { cat "$out/configure.log"; exit 1; }
cmake --build "$out/program" -j "$jobs"
stage=$out/stage
rm -rf "$stage"
cmake --install "$out/program" --prefix "$stage" >/dev/null
find "$stage" \( -name "*.exe" -o -name "*.dll" \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

version=$(sed -n 's/^project(PuertoParalelo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
installer=$out/puerto-paralelo-$version-instalador.exe
zip=$out/puerto-paralelo-$version-windows-x64.zip

echo "== Windows: the installer and the zip"
# The uninstaller removes exactly what was installed, folders last.
uninstall=$( (cd "$stage" && find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
    cd "$stage" && find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'))
awk -v uninstall="$uninstall" '{ if ($0 == "@uninstall_files@") print uninstall; else print }' \
    packaging/windows/installer.nsi.in |
    sed -e "s|@PROJECT_VERSION@|$version|g" -e "s|@installer@|$installer|" \
        -e "s|@stage@|$stage|" -e "s|@icon_ico@|$out/program/resources/icons/icon.ico|" \
        >"$out/installer.nsi"
makensis -V2 "$out/installer.nsi"
rm -f "$zip"
(cd "$stage" && zip -qr -X "$zip" .)
echo "== Windows: $installer"
echo "== Windows: $zip"
