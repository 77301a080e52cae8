# Sourced: Debian's archive as this machine reaches it, for what the tree
# fetches from it beside the machine's own apt configuration (Debian roots,
# source packages, a newer release's package), which it leaves untouched.

# The first source of this machine's own release with its main component:
# Debian's archive as this machine reaches it, not a security or a third
# party's archive. One-line lists first, then deb822 ones, in apt's order.
host_mirror() {
    local release
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    {
        for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
            [ -f "$list" ] || continue
            awk -v release="$release" '$1 == "deb" {
                i = 2
                if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
                for (j = i + 2; j <= NF; j++) if ($(i + 1) == release && $j == "main") print $i
            }' "$list"
        done
        for list in /etc/apt/sources.list.d/*.sources; do
            [ -f "$list" ] || continue
            awk -v release="$release" 'BEGIN { RS = ""; FS = "\n" }
            {
                delete field
                for (i = 1; i <= NF; i++) {
                    if ($i ~ /^[[:space:]]*#/ || index($i, ":") == 0) continue
                    key = tolower(substr($i, 1, index($i, ":") - 1))
                    value = " " substr($i, index($i, ":") + 1) " "
                    gsub(/[[:space:]]+/, " ", value)
                    field[key] = value
                }
                if (field["enabled"] ~ / no /) next
                if (field["types"] ~ / deb / && field["suites"] ~ (" " release " ") &&
                    field["components"] ~ / main /) {
                    split(field["uris"], uris, " ")
                    print uris[1]
                }
            }' "$list"
        done
    } | grep -E -m 1 '^(https?|ftp|file):' || true
}

# Downloads the binary package PACKAGE of Debian's RELEASE (trixie, say) for
# ARCHITECTURE (this machine's by default) into FOLDER, through a private apt
# configuration naming only that release of the machine's Debian archive
# ($PP_DEBIAN_MIRROR overrides it), and prints the file's path.
# Usage: download_from_release RELEASE PACKAGE FOLDER [ARCHITECTURE]
download_from_release() {
    local release=$1 package=$2 folder=$3 architecture=${4:-$(dpkg --print-architecture)} mirror work
    local status=0
    mirror=${PP_DEBIAN_MIRROR:-$(host_mirror)}
    [ -n "$mirror" ] || {
        echo "no Debian archive in this machine's apt sources; name one in PP_DEBIAN_MIRROR" >&2
        return 1
    }
    work=$(mktemp -d)
    mkdir -p "$work/lists/partial" "$work/sources" "$folder"
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $release main" \
        >"$work/release.list"
    local apt=(-o "Dir::Etc::SourceList=$work/release.list" -o "Dir::Etc::SourceParts=$work/sources"
        -o "Dir::State::Lists=$work/lists" -o "Debug::NoLocking=true"
        -o "APT::Architecture=$architecture" -o "APT::Architectures::=$architecture")
    if ! apt-get "${apt[@]}" update >"$work/update.log" 2>&1; then
        cat "$work/update.log" >&2
        status=1
    elif ! (cd "$folder" && apt-get "${apt[@]}" download "$package" >"$work/download.log" 2>&1); then
        cat "$work/download.log" >&2
        status=1
    fi
    rm -rf "$work"
    [ "$status" = 0 ] && ls -t "$folder/${package}"_*.deb | head -n 1
    return "$status"
}
