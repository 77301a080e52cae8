#!/usr/bin/env bash
# Installs the Debian packages needed to build the program, and with the
# argument "test" or "bench" also those its tests or benchmarks need. Installs nothing that is there.
set -euo pipefail

packages=(g++ make cmake qt6-base-dev fonts-dejavu-core)
case "${1:-}" in
test) packages+=(libgtest-dev xvfb xdotool clang libclang-rt-14-dev locales clang-tidy cppcheck
          desktop-file-utils appstream dpkg-dev file) ;;
bench) packages+=(libbenchmark-dev libx11-dev xvfb bc) ;;
esac

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

echo "Instalando: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
