#!/usr/bin/env bash
# Builds the Debian package with Debian's own tools (dpkg-buildpackage) from a
# clean copy of the tree, twice: in two folders, under other umasks, time
# zones and locales; the two .deb files must be bit-identical. Then checks
# it: dependencies found, lintian content with the source and the binary
# package, both programs hardened, the licence and changelog in place,
# nothing setuid, and, unpacked, what the package's own tests check of the
# installed package (debian/tests/installed). With PP_AUTOPKGTEST=1 (CI's
# Debian 13 root, which may be changed) the package is also installed and its
# tests run by autopkgtest.
# Usage: package_test.sh SOURCE_DIR
. "$(dirname "$0")/../e2e/xvfb.sh"

src=$1
# The tree without what builds leave in it.
copy_tree() { # DESTINATION
    mkdir -p "$1"
    tar -C "$src" -c --exclude=./.git --exclude='./build' --exclude='./build-*' --exclude='./obj-*' \
        --exclude=./debian/.debhelper --exclude=./debian/puerto-paralelo \
        --exclude=./debian/files --exclude='./debian/*.substvars' \
        --exclude=./debian/debhelper-build-stamp . | tar -x -C "$1"
}
# Source and binary packages, with the tests the build runs.
copy_tree "$work/a/puerto-paralelo"
(cd "$work/a/puerto-paralelo" && dpkg-buildpackage -us -uc) >"$work/a.log" 2>&1 ||
    fail "dpkg-buildpackage: $(tail -n 30 "$work/a.log")"
# The binary package again, elsewhere, otherwise.
copy_tree "$work/b/otra carpeta, (2)/fuente"
(cd "$work/b/otra carpeta, (2)/fuente" && umask 0002 &&
    TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 LANGUAGE=es DEB_BUILD_OPTIONS=nocheck \
        dpkg-buildpackage -us -uc -b) >"$work/b.log" 2>&1 ||
    fail "dpkg-buildpackage, the second build: $(tail -n 30 "$work/b.log")"
deb=$(ls "$work"/a/puerto-paralelo_*.deb)
other="$work/b/otra carpeta, (2)/$(basename "$deb")"
if ! cmp "$deb" "$other"; then
    command -v diffoscope >/dev/null && diffoscope --text - "$deb" "$other" | head -n 80
    fail "two builds of the same tree differ"
fi
echo "package: two builds in different folders, umasks, time zones and locales are bit-identical"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 zlib1g libqt6widgets6 libqt6gui6 libqt6core6 $("$src/scripts/deps.sh" depends); do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

# Debian's own checker, pedantic, on the source and the binary package: no
# error and no warning. The tags that remain, and why they stay:
#  - typo-in-manual-page conector / posible, spelling-error-in-binary
#    conector: lintian's list of English misspellings read over the Spanish
#    manual page and the Spanish texts in the programs (the picture's name for
#    screen readers); the words are Spanish. On i386, spelling-error-in-binary
#    buil: the compiler stores "modules.builtin" four bytes at a time, and
#    "buil" is one of the four.
#  - very-long-line-length-in-source-file [README.md]: rows of the README's
#    tables, which Markdown cannot wrap.
#  - newer-standards-version 4.7.2 (current is 4.6.x): Debian 12's lintian
#    knows policy up to 4.6.2; the package follows Debian 13's, 4.7.2.
#  - appstream-metadata-validation-failed (Debian 13's AppStream): the one
#    warning is the home page the metainfo does not name, the program having
#    none; debian/tests/installed, below, validates the metainfo with only that
#    warning lowered, so any other fault in it still fails.
# Any other tag, whatever its severity, fails the test until it is mended or
# explained here.
explained='^[IX]: puerto-paralelo: (typo-in-manual-page (conector connector|posible possible) \[usr/share/man/man1/puerto-paralelo\.1\.gz:[0-9]+\]|spelling-error-in-binary (conector connector|buil build) \[usr/bin/puerto-paralelo(-demo)?(:[0-9]+)?\])$'
explained+='|^X: puerto-paralelo source: very-long-line-length-in-source-file [0-9]+ > 512 \[README\.md:[0-9]+\]$'
explained+='|^W: puerto-paralelo source: newer-standards-version 4\.7\.2 \(current is 4\.6\.[0-9]+\)$'
explained+='|^W: puerto-paralelo: appstream-metadata-validation-failed Problems reported by "appstreamcli validate-tree"\.$'
status=0
lintian=$(lintian --pedantic --display-info --display-experimental "$work"/a/*.changes 2>&1) || status=$?
echo "$lintian"
unexplained=$(grep -E '^[EWIPX]: ' <<<"$lintian" | grep -vE "$explained" || true)
[ -z "$unexplained" ] || fail "lintian: $unexplained"
# lintian fails when it finds an error, and also when it cannot check at all.
[ "$status" = 0 ] || fail "lintian could not check the package (status $status): $lintian"

# Both programs built with every hardening Debian's own packages get.
# (Stack-clash probes appear only in functions with a stack frame larger
# than a page, and no function here has one: hardening-check says
# "unknown" for it, not "no".)
# (Outputs are read whole before searching: grep -q would cut the pipe short.)
description=$(dpkg-deb -f "$deb" Description)
grep -q 'siete segmentos' <<<"$description" || fail "no Spanish description"
grep -q 'seven-segment' <<<"$description" || fail "no English description"
special=$(dpkg-deb -c "$deb" | awk '$1 ~ /[sS]/')
[ -z "$special" ] || fail "setuid or setgid file: $special"
[ -z "$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'postinst|preinst|prerm|postrm')" ] ||
    fail "the package runs maintainer scripts"

root=$work/root
dpkg -x "$deb" "$root"
share=$root/usr/share
# Branch protection (BTI, PAC) is AArch64's: newer hardening-check asks for it
# on every machine; on x86-64 control-flow integrity, checked below, is its
# counterpart.
not_here=()
if [ "$(uname -m)" = x86_64 ] && [[ "$(hardening-check --help 2>&1)" == *nobranchprotection* ]]; then
    not_here=(--nobranchprotection)
fi
for binary in puerto-paralelo puerto-paralelo-demo; do
    hardening=$(hardening-check "${not_here[@]}" "$root/usr/bin/$binary" 2>&1) ||
        fail "hardening-check: $hardening"
    missing=$(grep ': no' <<<"$hardening" | grep -v '(ignored)' || true)
    [ -z "$missing" ] || fail "hardening missing: $hardening"
    grep -q 'Control flow integrity: yes' <<<"$hardening" || fail "no control-flow protection"
done

# The licence, machine-readable, and the changelog, where Debian wants them.
doc=$share/doc/puerto-paralelo
head -n 1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not in Debian's machine-readable format"
grep -qx 'License: Expat' "$doc/copyright" || fail "copyright names no MIT (Expat) licence"
[ "$(zcat "$doc/changelog.gz" | head -n 1 | sed 's/ .*//')" = "$(dpkg-deb -f "$deb" Package)" ] ||
    fail "changelog does not start with the package's entry"
# One version: the package's, the program's own, and the metainfo's newest.
version=$(dpkg-deb -f "$deb" Version)
[ "$("$root/usr/bin/puerto-paralelo" --version)" = "puerto-paralelo $version" ] &&
    [ "$(grep -om 1 '<release version="[^"]*"' "$share/metainfo/"*.metainfo.xml)" = "<release version=\"$version\"" ] ||
    fail "not one version: the package's $version, $("$root/usr/bin/puerto-paralelo" --version 2>&1), the metainfo's $(grep -om 1 '<release version="[^"]*"' "$share/metainfo/"*.metainfo.xml)"

# What the package's own tests check of the installed package, on it unpacked.
bash "$src/debian/tests/installed" "$root" || fail "the unpacked package"

if [ "${PP_AUTOPKGTEST:-}" = 1 ]; then
    autopkgtest "$deb" "$work/a/puerto-paralelo/" -- null || fail "autopkgtest"
fi
echo "package: $(basename "$deb") checked"
