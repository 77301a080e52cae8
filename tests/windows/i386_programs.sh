# Sourced by wine_test.sh: how this machine runs 32-bit x86 (i386) Linux
# programs, 32-bit Wine among them. Natively where the kernel runs them;
# where it does not (IA-32 emulation off, as some virtual machines have it),
# or where PP_WINE32=emulated asks for it, through QEMU's user-mode emulator
# (qemu-i386, 10 or later: older ones ignore the MAP_FIXED_NOREPLACE Wine
# reserves its memory with), registered with binfmt_misc for i386 programs
# for the run only. QEMU comes from Debian's archive (Debian 13's qemu-user,
# whose qemu-i386 is a static program) and is kept in the cache folder
# ($PP_CACHE, /var/cache/puerto-paralelo by default). Needs root to register.
#
#   i386_programs_start   removes a registration a killed run left, then
#                         chooses the path, leaves it in $i386_path (native or
#                         emulated) and $slow (how many times longer to wait)
#   i386_programs_end     removes the registration, where one was made
#   i386_program_proof PID  fails unless process PID runs the path chosen

binfmt=/proc/sys/fs/binfmt_misc
i386_entry=pp-qemu-i386
i386_registered=
qemu_i386=

# This project's own registration, where a run killed by SIGKILL (CI's time
# limit, the out-of-memory killer: no EXIT trap) left it: removed before
# anything is asked, whatever path is taken next. Left there, it would answer
# for the kernel and run every i386 program of the machine through QEMU (a
# chroot does not isolate binfmt_misc).
i386_programs_forget() {
    [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || return 0
    [ ! -e "$binfmt/$i386_entry" ] || echo -1 >"$binfmt/$i386_entry" || {
        echo "cannot remove $binfmt/$i386_entry, which a killed run left (as root: echo -1 >$binfmt/$i386_entry)" >&2
        return 1
    }
}

# Whether the kernel itself runs an i386 program: the 32-bit dynamic loader
# that wine32 brings, asked its version, with no registration of ours left
# to answer instead.
kernel_runs_i386() {
    [ -n "$i386_registered" ] || i386_programs_forget || return 3
    [ -x /lib/ld-linux.so.2 ] || { echo "no /lib/ld-linux.so.2 (libc6:i386)" >&2; return 2; }
    /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

# QEMU's qemu-i386, fetched once into the cache folder.
fetch_qemu_i386() {
    local cache=${PP_CACHE:-/var/cache/puerto-paralelo} release deb version
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    # Debian 12's QEMU is 7.2: Debian 13's, then.
    [ "$release" = bookworm ] && release=trixie
    local folder=$cache/qemu-user-$release
    if [ ! -x "$folder/usr/bin/qemu-i386" ]; then
        . "$here/../../scripts/debian_archive.sh"
        deb=$(download_from_release "$release" qemu-user "$folder/deb") || return 1
        dpkg-deb -x "$deb" "$folder"
    fi
    qemu_i386=$folder/usr/bin/qemu-i386
    version=$("$qemu_i386" --version | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p')
    [ "${version:-0}" -ge 10 ] || { echo "qemu-i386 is not 10 or later: $("$qemu_i386" --version)" >&2; return 1; }
}

i386_programs_start() {
    local wanted=${PP_WINE32:-auto} native=yes
    i386_programs_forget || return 1
    kernel_runs_i386 || native=no
    case $wanted in
    native)
        [ "$native" = yes ] || { echo "PP_WINE32=native, but this kernel does not run i386 programs" >&2; return 1; }
        ;;
    emulated) ;;
    auto) [ "$native" = yes ] && wanted=native || wanted=emulated ;;
    *) echo "PP_WINE32 is native, emulated or auto, not '$wanted'" >&2; return 1 ;;
    esac
    i386_path=$wanted slow=1
    [ "$i386_path" = native ] && return 0
    slow=3
    fetch_qemu_i386 && i386_register || return 1
    # QEMU's default CPU model made a Qt 5 program die at its first key with an
    # illegal instruction; Nehalem (no AVX) runs what Wine runs here.
    export QEMU_CPU=Nehalem
}

# Registers $qemu_i386 for i386 programs.
i386_register() {
    [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" || return 1
    # i386 ELF executables and shared objects; F: QEMU opened now, so that it
    # serves in any root. binfmt_misc's handlers come before the kernel's own
    # ELF loader, also where that could run them.
    printf '%s' ":$i386_entry:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$qemu_i386:F" \
        >"$binfmt/register" || return 1
    i386_registered=yes
}

i386_programs_end() {
    if [ -n "$i386_registered" ] && [ -e "$binfmt/$i386_entry" ]; then
        echo -1 >"$binfmt/$i386_entry" || true
    fi
    i386_registered=
}

i386_program_proof() { # PID
    local exe
    exe=$(readlink "/proc/$1/exe") || { echo "no process $1 to look at" >&2; return 1; }
    if [ "$i386_path" = emulated ]; then
        [ "$exe" = "$qemu_i386" ] || { echo "process $1 runs $exe, not QEMU ($qemu_i386)" >&2; return 1; }
    else
        case $exe in *qemu*) echo "process $1 runs $exe, an emulator" >&2; return 1 ;; esac
    fi
}
