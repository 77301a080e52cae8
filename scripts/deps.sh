#!/usr/bin/env bash
# Installs the Debian packages needed to build and run the program, and with
# the argument "test" or "bench" also those its tests or benchmarks need
# ("windows" and "arm64": the builds for Windows and for arm64; "wine": the
# Windows builds' tests; "roots": CI's Debian roots of other releases and
# architectures). "depends" installs nothing: it prints what the programs
# need to run, one name a line.
# Installs nothing that is there. Every name is one that Debian 12 and 13
# both have, none pinned to a version.
set -euo pipefail

# What the build needs is the source package's list (Build-Depends in
# debian/control), installed with apt-get build-dep. Beyond it, what the
# programs need to run: the package's own Depends there, but for the
# libraries, which dpkg-shlibdeps finds (${shlibs:Depends}).
root=$(cd "$(dirname "$0")/.." && pwd)
# (Of alternatives, the first.)
mapfile -t packages < <(awk '
    /^#/ { next }
    /^Package: / { binary = 1 }
    binary && /^[A-Za-z-]+:/ { field = $1 }
    binary && field == "Depends:" {
        sub(/^Depends:/, ""); gsub(/\([^)]*\)|\[[^]]*\]/, ""); gsub(/\|[^,]*/, "")
        gsub(/,/, " ")
        for (i = 1; i <= NF; i++) if ($i !~ /^\$\{/) print $i
    }' "$root/debian/control")
[ "${#packages[@]}" -gt 0 ] || { echo "deps.sh: no Depends read from debian/control" >&2; exit 1; }
if [ "${1:-}" = depends ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi
foreign= # another architecture whose packages are needed
builds=yes # whether the program is built here (and its Build-Depends needed)
optional=() # the tests that need these skip, saying so, where they cannot be had
case "${1:-}" in
test)
    # dbus-daemon: the tests' programs run with a session bus of their own.
    packages+=(xvfb xdotool dbus-daemon clang libclang-rt-dev locales clang-tidy cppcheck
        desktop-file-utils appstream dpkg-dev file cpio xz-utils strace procps man-db lintian
        devscripts fonts-dejavu-core fonts-cantarell fonts-noto-core librsvg2-bin netpbm openbox x11-utils
        autopkgtest diffoscope)
    optional+=(qemu-system-x86 sway wtype jq at-spi2-core gir1.2-atspi-2.0 python3-gi orca)
    ;;
bench) packages+=(libbenchmark-dev libx11-dev xvfb bc) ;;
# The logic and the port layer for arm64: Debian's cross compiler, GoogleTest's
# source and QEMU's user-mode emulator to run the tests.
arm64) packages+=(g++-aarch64-linux-gnu googletest qemu-user-static) ;;
# The Windows builds: MinGW-w64's -win32 compilers for x64 and for 32-bit x86,
# Ninja, NSIS, zip.
windows)
    packages+=(g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 ninja-build nsis zip unzip file)
    ;;
# Their tests under Wine, in an Xvfb of their own: Wine 64-bit and 32-bit (the
# installer and the 32-bit build are 32-bit programs; wine32 is i386's, hence
# that architecture added to dpkg's), and MinGW-w64's C compilers for the
# stand-in DLLs.
wine)
    packages=(gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix wine wine64 wine32:i386 xvfb
        xdotool dbus-daemon procps file unzip)
    foreign=i386
    builds=no
    ;;
roots)
    packages=(debootstrap)
    builds=no
    ;;
esac

missing() {
    for package in "$@"; do
        [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" = 'install ok installed' ] ||
            echo "$package"
    done
}
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
install() {
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "$@"
}

# Whether the Build-Depends are all there (dpkg-checkbuilddeps comes with
# dpkg-dev, which debhelper brings).
build_depends_met() {
    [ "$builds" = no ] && return 0
    command -v dpkg-checkbuilddeps >/dev/null && (cd "$root" && dpkg-checkbuilddeps) >/dev/null 2>&1
}

mapfile -t needed < <(missing "${packages[@]}" "${optional[@]}")
met=yes
build_depends_met || met=no
[ "${#needed[@]}" -eq 0 ] && [ "$met" = yes ] && exit 0
if [ "$met" = yes ]; then
    echo "Instalando: ${needed[*]}"
else
    echo "Instalando: lo que pide debian/control para compilar${needed[*]:+, y ${needed[*]}}"
fi
if [ -n "$foreign" ] && ! dpkg --print-foreign-architectures | grep -qx "$foreign"; then
    "${as_root[@]}" dpkg --add-architecture "$foreign"
fi
"${as_root[@]}" apt-get update
[ "$met" = yes ] || "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get build-dep -y --no-install-recommends "$root"
mapfile -t needed < <(missing "${packages[@]}")
[ "${#needed[@]}" -eq 0 ] || install "${needed[@]}"
mapfile -t needed < <(missing "${optional[@]}")
if [ "${#needed[@]}" -gt 0 ] && ! install "${needed[@]}"; then
    echo "AVISO: no se pudo instalar ${needed[*]}; las pruebas que lo necesitan se saltarán." >&2
fi
