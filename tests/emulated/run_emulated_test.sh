#!/usr/bin/env bash
# The real puerto-paralelo on a real Linux kernel: a Debian kernel booted under
# QEMU with an emulated ISA parallel port at 0x378, the program run inside it
# under Xvfb and clicked with real X input, and every write to the port read
# back from QEMU's own trace.
# Usage: run_emulated_test.sh SOURCE_DIR BUILD_DIR [SCENARIO...]
#        run_emulated_test.sh SOURCE_DIR BUILD_DIR --prepare
#        run_emulated_test.sh --scenarios
# Scenarios: those --scenarios prints, all by default, each in a machine of
# its own; --prepare only makes the machine (the kernel, its modules and the
# initramfs, kept in BUILD_DIR/emulated), which the scenarios otherwise make
# where it is missing. Several of these may run at once once the machine is
# made: each run keeps its files in a folder of its own, removed when it ends.
# Exits 77 (skipped) only where QEMU is not installed.
set -euo pipefail
. "$(dirname "$0")/../support/session.sh"

all_scenarios=(driver direct idle twocopies noport root278 user278 card rawonly listar foreign
    removed lockdown)
if [ "${1:-}" = --scenarios ]; then
    printf '%s\n' "${all_scenarios[@]}"
    exit 0
fi
src=$(realpath "$1")
build=$(realpath "$2")
shift 2
prepare_only=
[ "${1:-}" != --prepare ] || { prepare_only=yes; shift; }
scenarios=("$@")
[ "${#scenarios[@]}" -gt 0 ] || scenarios=("${all_scenarios[@]}")
cache=$build/emulated
mkdir -p "$cache"

if ! command -v qemu-system-x86_64 >/dev/null; then
    echo "SKIPPED: QEMU is not installed (Debian package qemu-system-x86); nothing was proven."
    exit 77
fi

# The tools' output (apt-cache's "Depends:") is read in English, whatever the
# caller's language.
export LC_ALL=C.UTF-8
# Whatever stops this script early says where and why.
trap 'echo "FAILED: line $LINENO: $BASH_COMMAND (status $?)"' ERR
# The runs' folders and machines go with the script, however it ends.
runs=()
qemu_pid=
# PP_EMULATED_KEEP=1 keeps the folders, to read the consoles and traces.
finish() {
    [ -z "$qemu_pid" ] || kill -9 "$qemu_pid" 2>/dev/null || true
    [ "${#runs[@]}" -eq 0 ] && return
    if [ -n "${PP_EMULATED_KEEP:-}" ]; then
        echo "emulated: the runs are kept in ${runs[*]}"
    else
        rm -rf "${runs[@]}"
    fi
}
trap finish EXIT
trap 'exit 143' TERM INT

# --- The machine: the kernel that Debian's metapackage for this machine's
# architecture currently points to (linux-image-amd64, linux-image-686-pae),
# unpacked here (never installed), and a busybox initramfs.
case $(dpkg --print-architecture) in
amd64) flavour=amd64 ;;
i386) flavour=686-pae ;;
*)
    echo "FAILED: no kernel for $(dpkg --print-architecture) here: the emulated PC is an x86 one"
    exit 1
    ;;
esac
kernel_version() {
    { apt-cache depends "linux-image-$flavour" 2>/dev/null || true; } |
        sed -n "s/.*Depends: linux-image-\(.*-$flavour\)\$/\1/p" | head -n 1
}
download() { # PACKAGE...: into $cache/debs, refreshing the lists once if needed
    mkdir -p "$cache/debs"
    (cd "$cache/debs" && apt-get download "$@" >/dev/null 2>&1) ||
        { apt-get update >/dev/null && (cd "$cache/debs" && apt-get download "$@" >/dev/null); }
}

# One run at a time makes or mends the machine; the others wait for it.
exec 9>"$cache/prepare.lock"
within 1800 "another run to finish making the machine" flock 9
version=$(kernel_version)
if [ -z "$version" ]; then
    apt-get update >/dev/null
    version=$(kernel_version)
fi
[ -n "$version" ] || { echo "FAILED: cannot resolve the kernel behind linux-image-$flavour"; exit 1; }
machine=$cache/$version
# Takes kernel module $1 out of the kernel package, unpacked (Debian 13
# compresses them: .ko.xz) into the initramfs, after the modules it depends
# on (its .modinfo says which), and adds it to $loads; a module the listing
# lacks is built in.
declare -A taken
loads=()
take_module() { # NAME
    local name=$1 member file dep
    [ -z "${taken[$name]:-}" ] || return 0
    taken[$name]=1
    member=$(grep -m 1 -E "/${name//_/[-_]}\.ko(\.xz)?\$" "$machine/listing") || return 0
    tar -xf "$machine/kernel.tar" -C "$machine/kernel" "$member"
    file=$machine/initrd/modules/$name.ko
    case $member in
    *.xz) xz -dc "$machine/kernel/$member" >"$file" ;;
    *) cp "$machine/kernel/$member" "$file" ;;
    esac
    for dep in $(tr '\0' '\n' <"$file" | sed -n 's/^depends=//p' | tr ',' ' '); do
        take_module "$dep"
    done
    loads+=("$name")
}
if [ ! -f "$machine/initrd.gz" ] || [ ! -f "$machine/initrd/modules/order" ]; then
    [ -n "$prepare_only" ] || echo "The machine is made first (run_emulated_test.sh --prepare makes it alone)."
    rm -rf "$machine" && mkdir -p "$machine/kernel" "$machine/busybox" "$machine/initrd/modules"
    download "linux-image-$version-unsigned" busybox-static
    dpkg-deb --fsys-tarfile "$(ls "$cache/debs/linux-image-$version-unsigned_"*.deb)" \
        >"$machine/kernel.tar"
    tar -tf "$machine/kernel.tar" | grep '\.ko' >"$machine/listing"
    tar -xf "$machine/kernel.tar" -C "$machine/kernel" --wildcards './boot/vmlinuz-*'
    # 9p over virtio for the host's files, and the parallel-port drivers;
    # init.sh loads parport_pc and ppdev itself, as each scenario asks.
    for module in virtio_pci 9pnet_virtio 9p parport parport_pc ppdev; do
        take_module "$module"
    done
    printf '%s\n' "${loads[@]}" | grep -vx -e parport_pc -e ppdev >"$machine/initrd/modules/order"
    rm "$machine/kernel.tar"
    # /bin/busybox, or /usr/bin/busybox where the release has merged /usr.
    dpkg-deb --fsys-tarfile "$(ls -t "$cache"/debs/busybox-static_*.deb | head -n 1)" |
        tar -x -C "$machine/busybox" --wildcards '*bin/busybox'
    cp "$machine"/kernel/boot/vmlinuz-* "$machine/vmlinuz"
    mkdir -p "$machine/initrd/bin" "$machine/initrd/proc" "$machine/initrd/sys" "$machine/initrd/dev"
    find "$machine/busybox" -name busybox -type f -exec cp {} "$machine/initrd/bin/busybox" \;
    cp "$src/tests/emulated/init.sh" "$machine/initrd/init"
    chmod +x "$machine/initrd/init"
    (cd "$machine/initrd" && find . | cpio -o -H newc --quiet | gzip -1) >"$machine/initrd.gz.part"
    mv "$machine/initrd.gz.part" "$machine/initrd.gz"
fi
# The /init script may have changed since the cached initramfs was made (a
# new one replaces it whole, for runs that may have it open; init.used says
# which /init the initramfs in place has, written once it is in place).
if ! cmp -s "$src/tests/emulated/init.sh" "$machine/init.used"; then
    cp "$src/tests/emulated/init.sh" "$machine/initrd/init"
    (cd "$machine/initrd" && find . | cpio -o -H newc --quiet | gzip -1) >"$machine/initrd.gz.part"
    mv "$machine/initrd.gz.part" "$machine/initrd.gz"
    cp "$src/tests/emulated/init.sh" "$machine/init.used"
fi
flock -u 9 && exec 9>&-
if [ -n "$prepare_only" ]; then
    echo "emulated: the machine for kernel $version is ready in $machine"
    exit 0
fi

# --- One boot per scenario. A machine that stops making progress (nothing
# new on its console for stall_limit seconds: a hang, not a slow host) is
# stopped, said so, and the next one runs; machine_limit bounds a boot
# whatever it prints.
stall_limit=180 machine_limit=1200
declare -A run_dir
# PORTS: the base addresses of the emulated ISA parallel ports, blank-separated,
# or "none"; KERNEL: more kernel parameters for init.sh.
run_machine() { # NAME PPDEV PORTS [KERNEL]
    local name=$1 ppdev=$2 ports=$3 dir old
    # Folders of runs that were killed (ctest stops a test out of time with
    # SIGKILL, which leaves no trap to run) go first: each names its run's
    # process, no longer there.
    for old in "$cache"/run-*.*; do
        [ -f "$old/owner" ] && ! kill -0 "$(cat "$old/owner")" 2>/dev/null && rm -rf "$old"
    done
    dir=$(mktemp -d "$cache/run-$name.XXXXXX")
    runs+=("$dir")
    run_dir[$name]=$dir
    # Written whole at once: another run's clean-up never reads it half made.
    echo $$ >"$dir/owner.part" && mv "$dir/owner.part" "$dir/owner"
    mkdir "$dir/share"
    # The tree's and the build's paths reach the guest through a folder it
    # mounts, whatever they hold: the kernel's command line splits at blanks.
    # In QEMU's options a comma is written twice.
    printf '%s' "$src" >"$dir/share/src"
    printf '%s' "$build" >"$dir/share/build"
    local qemu_dir=${dir//,/,,}
    # Two processors where two copies of the program run at once, one
    # elsewhere (a second one slows every boot), all emulated by one of the
    # host's (one thread, each processor a slice in turn: to the guest's
    # scheduler they still run at once): two machines run side by side on
    # two cores, each nearly as fast as alone.
    local cpus=1
    case $name in twocopies | foreign) cpus=2 ;; esac
    local args=(-accel tcg,thread=single -m 1024 -smp "$cpus" -nographic -no-reboot -nic none
        -kernel "$machine/vmlinuz" -initrd "$machine/initrd.gz"
        -append "console=ttyS0 panic=-1 quiet pp.scenario=$name pp.ppdev=$ppdev ${4:-}"
        -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap
        -virtfs "local,path=$qemu_dir/share,mount_tag=paths,security_model=none,readonly=on"
        -parallel none -trace parallel_ioport_write -D "$dir/trace.log")
    local n=0 iobase
    for iobase in $ports; do
        [ "$iobase" = none ] && continue
        args+=(-chardev "file,id=lpt$n,path=$qemu_dir/lpt$n.out"
            -device "isa-parallel,chardev=lpt$n,iobase=$iobase,irq=$((7 - 2 * n))")
        n=$((n + 1))
    done
    # QEMU's software CPUs have been seen to abort on an assertion of their
    # own while the firmware remaps memory ("iotlb_to_section"), before the
    # kernel starts: a machine QEMU itself ended by a signal, that the
    # watchdog did not stop, is started once more, and said so.
    local attempt
    for attempt in 1 2; do
        rm -f "$dir"/lpt*.out
        : >"$dir/console.log"
        : >"$dir/trace.log"
        start_machine "$dir" "${args[@]}"
        [ -z "$stopped" ] && [ "$status" -gt 128 ] && [ "$attempt" = 1 ] || break
        echo "  (QEMU itself ended by signal $((status - 128)); its console ends:" \
            "$(tail -n 1 "$dir/console.log" | tr -d '\r' | cut -c 1-200); the machine starts once more)"
    done
    if [ -n "$stopped" ]; then
        judge "$name" "the machine kept making progress" 1 "it was stopped: $stopped; its console ends:"
        tail -n 30 "$dir/console.log" | tr -d '\r' | sed 's/^/      /'
    fi
    # "ADDR VAL" per write, offsets from 0x378, in the order QEMU saw them.
    grep -o 'parallel_ioport_write write \[SW\] addr 0x[0-9a-f]* val 0x[0-9a-f]*' "$dir/trace.log" |
        while read -r _ _ _ _ addr _ val; do printf '%02x %02x\n' "$addr" "$val"; done \
            >"$dir/writes" || true
}

# One boot of QEMU with ARGS, watched: sets stopped (why the watchdog
# stopped it, or empty) and status (QEMU's exit status).
stopped=
start_machine() { # DIR ARGS...
    local dir=$1
    shift
    # QEMU ends with this script, even where nothing can trap its end
    # (ctest stops a test out of time with SIGKILL).
    setpriv --pdeathsig KILL qemu-system-x86_64 "$@" </dev/null >"$dir/console.log" 2>&1 &
    qemu_pid=$!
    # Progress: its console or its port writes (QEMU's trace) grow.
    local size=-1 now still=0 changed=$SECONDS began=$SECONDS
    stopped=
    while kill -0 "$qemu_pid" 2>/dev/null; do
        # Every 5 s, or at once when QEMU ends.
        timeout 5 tail --pid="$qemu_pid" -f /dev/null || true
        now=$(($(stat -c %s "$dir/console.log") + $(stat -c %s "$dir/trace.log")))
        [ "$now" = "$size" ] || size=$now changed=$SECONDS
        still=$((SECONDS - changed))
        if [ "$still" -ge "$stall_limit" ]; then
            stopped="nothing new on its console or its port for $still s, after $((SECONDS - began)) s"
        elif [ $((SECONDS - began)) -ge "$machine_limit" ]; then
            stopped="still running after $machine_limit s, the most a boot may take"
        fi
        if [ -n "$stopped" ]; then
            kill -9 "$qemu_pid" 2>/dev/null || true
            break
        fi
    done
    status=0
    reap 10 "$qemu_pid" "QEMU, ended or killed" || true
    qemu_pid=
}

# The writes between marker $2 and marker $3 (bytes written to offset 7).
between() { # NAME FROM TO
    awk -v from="$2" -v to="$3" '
        $1 == "07" && $2 == from { on = 1; next }
        $1 == "07" && $2 == to { on = 0; next }
        on' "${run_dir[$1]}/writes"
}
data_writes() { between "$@" | awk '$1 == "00" { print $2 }' | paste -sd' '; }

failures=0
passes=0
judge() { # NAME WHAT CONDITION-STATUS DETAIL
    if [ "$3" -eq 0 ]; then
        echo "  ok    $2"
    else
        echo "  FAIL  $2: $4"
        failures=$((failures + 1))
    fi
}
console_checks() { # NAME: the guest's own checks, and that it ran to the end
    local console=${run_dir[$1]}/console.log
    judge "$1" "the scenario ran to its end in the guest" \
        "$(grep -q "PP-END $1" "$console"; echo $?)" \
        "its console ends: $(tail -n 15 "$console" | tr -d '\r' | paste -sd'|')"
    while read -r _ what verdict detail; do
        judge "$1" "guest: $what" "$([ "$verdict" = ok ]; echo $?)" "$detail"
    done < <(grep -a '^PP-CHECK' "$console" | tr -d '\r')
    if grep -aq '^PP-INIT' "$console"; then
        judge "$1" "guest set-up" 1 "$(grep -a '^PP-INIT' "$console" | tr -d '\r' | paste -sd';')"
    fi
}

keypad="3f 06 5b 4f 66 6d 7d 07 7f 6f 77 7c 39 5e 79 71 71 77 77 c8 ff 07"
keypad_run() { # NAME PPDEV [PORTS [KERNEL]]: boots, runs the keypad and typing, checks the data register
    run_machine "$1" "$2" "${3:-0x378}" "${4:-}"
    console_checks "$1"
    keypad_judge "$1" a5 5a
}
keypad_judge() { # NAME FROM TO: the program's bytes exact and in order between two markers
    local got
    got=$(data_writes "$1" "$2" "$3")
    judge "$1" "data register got exactly the program's bytes (markers $2-$3)" \
        "$([ "$got" = "$keypad" ]; echo $?)" "got '$got'"
}
nothing_written() { # NAME FROM TO
    local any
    any=$(between "$@" | paste -sd' ')
    judge "$1" "nothing written between markers $2 and $3" "$([ -z "$any" ]; echo $?)" "$any"
}

for scenario in "${scenarios[@]}"; do
    started=$(date +%s)
    case $scenario in
    driver)
        echo "driver: unprivileged user in group lp, through ppdev"
        keypad_run driver 1
        status=$(between driver a5 5a | awk '$1 == "01"' | wc -l)
        judge driver "no write to the status register" "$([ "$status" = 0 ]; echo $?)" "$status writes"
        # Each claim restores the port's control register: the kernel's own
        # writes, all of one value, two per claim, one claim per byte.
        control=$(between driver a5 5a | awk '$1 == "02" { print $2 }' | sort | uniq -c | paste -sd' ')
        bytes=$(wc -w <<<"$keypad")
        judge driver "control register written only by the claims" \
            "$([[ "$control" =~ ^[[:space:]]*$((2 * bytes))\ [0-9a-f]{2}$ ]]; echo $?)" \
            "control writes: '$control' for $bytes bytes"
        ;;
    direct)
        echo "direct: root, no ppdev device node, through ioperm and outb"
        keypad_run direct 0
        others=$(between direct a5 5a | awk '$1 != "00"' | paste -sd' ')
        judge direct "nothing but the data register written" "$([ -z "$others" ]; echo $?)" "$others"
        ;;
    idle)
        echo "idle: start, then Salir"
        run_machine idle 1 0x378
        console_checks idle
        nothing_written idle a5 5a
        ;;
    twocopies)
        echo "twocopies: two copies as the same user, alternately and in bursts"
        run_machine twocopies 1 0x378
        console_checks twocopies
        got=$(data_writes twocopies a5 33)
        want="06 5b 4f 66 6d 7d 07 7f 6f 3f 77 7c 39 5e 79 71"
        judge twocopies "alternate keys reached the port in order" \
            "$([ "$got" = "$want" ]; echo $?)" "got '$got'"
        # X may drop some of the burst's clicks under emulation, the more the
        # busier the host; every byte that a copy handed to ppdev must reach
        # the port, and the two copies' bytes must interleave: neither copy
        # was held off for the whole of the other's burst.
        burst=$(data_writes twocopies 33 5a)
        turns=$(tr ' ' '\n' <<<"$burst" | { grep -E '^(7f|06)$' || true; } | uniq | wc -l)
        judge twocopies "the two copies' bytes interleaved in the bursts" \
            "$([ "$turns" -ge 3 ]; echo $?)" "$turns runs of one copy's bytes: '$burst'"
        for copy in 1 2; do
            byte=$([ "$copy" = 1 ] && echo 7f || echo 06)
            cycles=$(tr -d '\r' <"${run_dir[twocopies]}/console.log" | sed -n "s/^PP-WRITES $copy //p")
            handed=$((${cycles:-0} - 8))
            arrived=$(tr ' ' '\n' <<<"$burst" | grep -c "^$byte$" || true)
            echo "  copy $copy handled $handed of its 40 burst clicks; $arrived of its bytes arrived"
            judge twocopies "copy $copy: every byte handed to ppdev in the burst reached the port" \
                "$([ "$arrived" = "$handed" ]; echo $?)" "$handed handed, $arrived arrived"
        done
        others=$(tr ' ' '\n' <<<"$burst" | grep -vcE '^(7f|06)$' || true)
        judge twocopies "nothing else written during the bursts" "$([ "$others" = 0 ]; echo $?)" \
            "$others other bytes"
        { grep -a '^PP-INFO' "${run_dir[twocopies]}/console.log" || true; } | tr -d '\r' | sed 's/^/  /'
        ;;
    noport)
        echo "noport: no parallel port in the machine, unprivileged user"
        run_machine noport 1 none
        console_checks noport
        any=$(paste -sd' ' "${run_dir[noport]}/writes")
        judge noport "nothing written" "$([ -z "$any" ]; echo $?)" "$any"
        ;;
    root278)
        echo "root278: the only port at 0x278, parport_pc and ppdev loaded, root, no option"
        run_machine root278 1 0x278
        console_checks root278
        nothing_written root278 a5 5a
        ;;
    user278)
        echo "user278: the port at 0x278, unprivileged user in group lp, --puerto 0x278"
        keypad_run user278 1 0x278
        ;;
    card)
        echo "card: a port at 0xD010 given to parport_pc, user in lp, by address and by device"
        run_machine card 1 0xd010 pp.io=0xd010
        console_checks card
        keypad_judge card a5 5a
        keypad_judge card b6 6b
        ;;
    rawonly)
        echo "rawonly: root without parport_pc: --puerto 0x278 direct, --puerto 0x70 refused"
        run_machine rawonly 0 0x278 pp.parport_pc=0
        console_checks rawonly
        keypad_judge rawonly a5 5a
        others=$(between rawonly a5 5a | awk '$1 != "00"' | paste -sd' ')
        judge rawonly "nothing but the data register written" "$([ -z "$others" ]; echo $?)" "$others"
        nothing_written rawonly b6 6b
        ;;
    listar)
        echo "listar: ports at 0x378 and 0x278, --listar as a user in lp and as one outside it"
        run_machine listar 1 "0x378 0x278"
        console_checks listar
        nothing_written listar a5 5a
        ;;
    foreign)
        echo "foreign: another program holds the port while two copies press keys at once, then releases it"
        run_machine foreign 1 0x378
        console_checks foreign
        got=$(data_writes foreign a5 5a)
        judge foreign "only the bytes written while the port was free" \
            "$([ "$got" = "7f 77" ]; echo $?)" "got '$got'"
        ;;
    removed)
        echo "removed: the port's driver unbound while the program runs, then bound again"
        run_machine removed 1 0x378
        console_checks removed
        got="$(data_writes removed a5 5a) / $(data_writes removed b6 6b)"
        judge removed "the byte before and the byte after, nothing while it was gone" \
            "$([ "$got" = "7f / 77" ]; echo $?)" "got '$got'"
        ;;
    lockdown)
        echo "lockdown: root, kernel booted with lockdown=integrity, no parport_pc"
        run_machine lockdown 0 0x378 "pp.parport_pc=0 lockdown=integrity"
        console_checks lockdown
        nothing_written lockdown a5 5a
        ;;
    *)
        echo "unknown scenario $scenario"
        failures=$((failures + 1))
        ;;
    esac
    echo "  ($(($(date +%s) - started)) s)"
done

[ "$failures" -eq 0 ] && echo "emulated: every check passed" || echo "emulated: $failures checks failed"
exit $((failures > 0))
