#!/bin/bash
# Runs one scenario inside the emulated machine, as root, chrooted into the
# host's files, with the program built on the host at /run/build. Reports on
# the console in lines "PP-CHECK <what> ok|FAIL <detail>"; the host judges the
# port writes themselves from QEMU's trace. Marker bytes written to the port's
# base + 7 (0x37F), which the emulated port ignores but QEMU traces, frame the
# program's runs.
set -u
scenario=$1
program=/run/build/puerto-paralelo
program_args=() # the options of the copies started next
export DISPLAY=:0
. "$(dirname "$0")/../support/session.sh"
# The emulated port's base address in each scenario.
case $scenario in
root278 | user278 | rawonly) base=0x278 ;;
card) base=0xd010 ;;
*) base=0x378 ;;
esac

check() { # WHAT CONDITION-STATUS DETAIL
    if [ "$2" -eq 0 ]; then echo "PP-CHECK $1 ok"; else echo "PP-CHECK $1 FAIL ${3:-}"; fi
}
marker() { printf "\\x$1" | dd of=/dev/port bs=1 seek=$((base + 7)) count=1 2>/dev/null; }
data_register() { dd if=/dev/port bs=1 skip=$((base)) count=1 2>/dev/null | od -An -tx1 | tr -d ' '; }

# Waits until the data register holds $1 (two lower-case hex digits).
wait_port() {
    for _ in $(seq 300); do
        [ "$(data_register)" = "$1" ] && return 0
        sleep 0.05
    done
    echo "PP-CHECK port-holds-$1 FAIL it holds $(data_register)"
    return 1
}

# What root writes or reads back (the programs' output and traces, the
# logs, the holder's signal) stays in a folder that only root can change:
# /tmp is open to the scenarios' users, who could plant a link there.
results=$(mktemp -d)
chmod 0755 "$results"
# The unprivileged user 4242, in group lp (7) only; 4243 in no group. Each
# has a home of its own, made here before any of them runs; root's home and
# runtime folder are in $results. Root and 4242 each have a runtime folder
# and a session bus, as in a desktop session.
mkdir -m 0700 "$results/home" "$results/runtime"
export HOME=$results/home XDG_RUNTIME_DIR=$results/runtime
for folder in home-4242 home-4243 runtime-4242; do
    mkdir -m 0700 /tmp/$folder && chown "${folder#*-}:${folder#*-}" /tmp/$folder
done
as_user=(setpriv --reuid=4242 --regid=4242 --groups=7 --inh-caps=-all
    env HOME=/tmp/home-4242 XDG_RUNTIME_DIR=/tmp/runtime-4242
    DBUS_SESSION_BUS_ADDRESS=unix:path=/tmp/runtime-4242/bus)
as_outsider=(setpriv --reuid=4243 --regid=4243 --clear-groups --inh-caps=-all
    env HOME=/tmp/home-4243)
start_session_bus /tmp/runtime-4242 "${as_user[@]}"
check "session-bus-4242" $? "dbus-daemon --session did not start"
start_session_bus "$results/runtime"
check "session-bus-root" $? "dbus-daemon --session did not start"

# -noreset: a server that resets when its last client (xdotool) leaves may
# refuse the program that connects in that moment.
Xvfb :0 -screen 0 1024x768x24 -nolisten tcp -ac -noreset >"$results/xvfb.log" 2>&1 &
for _ in $(seq 200); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

declare -A pid out
windows=()
declare -A traced
# Starts copy $1 of the program ($2: "user" or "root"), with the options in
# program_args, and waits for its window. With $3 = "traced", strace records
# the copy's flock, ioctl and I/O-port permission calls in
# $results/program-$1.calls, stopping it at no other call.
start_copy() {
    local copy=$1 who=$2 window=
    out[$copy]=$results/program-$copy
    local run=()
    [ "${3:-}" = traced ] && run=(strace --seccomp-bpf -f -qq -e trace=flock,ioctl,ioperm,iopl
        -o "${out[$copy]}.calls")
    [ "$who" = user ] && run+=("${as_user[@]}")
    "${run[@]}" "$program" "${program_args[@]}" >"${out[$copy]}.out" 2>"${out[$copy]}.err" </dev/null &
    pid[$copy]=$!
    traced[$copy]=
    if [ "${3:-}" = traced ]; then
        traced[$copy]=${pid[$copy]}
        for _ in $(seq 100); do
            pid[$copy]=$(pgrep -P "${traced[$copy]}" | head -n 1)
            [ -n "${pid[$copy]}" ] && break
            sleep 0.1
        done
    fi
    for _ in $(seq 600); do
        for w in $(xdotool search --onlyvisible --name '^Puerto Paralelo$' 2>/dev/null); do
            [[ " ${windows[*]:-} " == *" $w "* ]] || window=$w
        done
        [ -n "$window" ] && break
        kill -0 "${pid[$copy]}" 2>/dev/null || break
        sleep 0.1
    done
    check "copy-$copy-window" "$([ -n "$window" ]; echo $?)" "no window: $(cat "${out[$copy]}.err")"
    # Nothing else of the scenario can be judged without the window.
    if [ -z "$window" ]; then
        tail -n 20 "$results/xvfb.log" | sed 's/^/PP-INFO xvfb: /'
        exit 0
    fi
    windows[$copy]=$window
    local exe
    exe=$(readlink "/proc/${pid[$copy]}/exe")
    check "copy-$copy-is-the-program" "$([ "$exe" = "$program" ]; echo $?)" "pid runs $exe"
}

# Key captions and their places in the window (left top, 41 x 25 pixels).
declare -A key=(
    [1]="8 40" [2]="56 40" [3]="104 40" [C]="152 40"
    [4]="8 72" [5]="56 72" [6]="104 72" [D]="152 72"
    [7]="8 104" [8]="56 104" [9]="104 104" [E]="152 104"
    [0]="8 136" [A]="56 136" [B]="104 136" [F]="152 136")
declare -A code=(
    [0]=3f [1]=06 [2]=5b [3]=4f [4]=66 [5]=6d [6]=7d [7]=07
    [8]=7f [9]=6f [A]=77 [B]=7c [C]=39 [D]=5e [E]=79 [F]=71)

click() { # COPY LEFT TOP WIDTH HEIGHT
    xdotool mousemove --window "${windows[$1]}" $(($2 + $4 / 2)) $(($3 + $5 / 2)) click 1
}
press_key() { # COPY CAPTION: clicks the key and waits for its byte
    local where=(${key[$2]})
    click "$1" "${where[0]}" "${where[1]}" 41 25
    wait_port "${code[$2]}"
}
press_key_again() { # the same byte again cannot be seen on the register
    local where=(${key[$2]})
    click "$1" "${where[0]}" "${where[1]}" 41 25
    wait_idle "$1"
}
# Waits until copy $1 is idle: a second on end waiting in poll, as its event
# loop does between events, or gone. Its progress ends the wait, however slow
# the machine; a copy still busy after a minute fails the scenario.
wait_idle() { # COPY
    local idle=0
    for _ in $(seq 600); do
        kill -0 "${pid[$1]}" 2>/dev/null || return 0
        if [ "$(cat "/proc/${pid[$1]}/wchan" 2>/dev/null)" = do_sys_poll ]; then
            idle=$((idle + 1))
            [ "$idle" -ge 10 ] && return 0
        else
            idle=0
        fi
        sleep 0.1
    done
    check "copy-$1-idle-again" 1 "still busy after a minute, in '$(cat "/proc/${pid[$1]}/wchan" 2>/dev/null)'"
}
type_and_send() { # COPY TEXT
    click "$1" 144 16 49 19
    xdotool type --delay 60 "$2"
    sleep 0.3
    click "$1" 24 168 65 25
}
dismiss_message() { # WHAT: one message box, of however many are open
    local box= open
    for _ in $(seq 300); do
        box=$(xdotool search --onlyvisible --name '^Velmarin$' 2>/dev/null | head -n 1)
        [ -n "$box" ] && break
        sleep 0.05
    done
    check "message-box-$1" "$([ -n "$box" ]; echo $?)" "no message box"
    [ -n "$box" ] || return
    open=$(xdotool search --onlyvisible --name '^Velmarin$' 2>/dev/null | wc -l)
    within 10 "the focus on the message box" xdotool windowfocus --sync "$box"
    check "message-box-$1-focused" $? "it did not take the focus"
    xdotool key Return
    for _ in $(seq 300); do
        [ "$(xdotool search --onlyvisible --name '^Velmarin$' 2>/dev/null | wc -l)" -lt "$open" ] &&
            return
        sleep 0.05
    done
}
parport_descriptors() { ls -l "/proc/${pid[$1]}/fd" 2>/dev/null | grep -c parport; }
salir() { # COPY: "Salir", then the exit status must be 0
    click "$1" 104 168 57 25
    wait_end "$1"
    check "copy-$1-salir-exit" "$([ "$status" = 0 ]; echo $?)" "status $status"
}

# Waits up to a minute for copy $1 to end, killing it if it hangs; leaves its
# exit status, or "hung", in $status, and forgets its window. A traced copy's
# status is strace's, which ends with the last process it follows: that must
# be the copy itself.
wait_end() { # COPY
    local copy=$1 hung= started=${traced[$1]:-${pid[$1]}}
    within 60 "copy $copy to end" tail --pid="${pid[$copy]}" -f /dev/null ||
        { hung=yes; kill -9 "${pid[$copy]}"; }
    if ! reap 10 "$started" "what copy $copy started"; then
        check "copy-$copy-leaves-nothing-behind" 1 "still traced: $(followed_by "$started")"
        kill -9 "$started"
        reap 5 "$started" "strace, killed" || true
    fi
    [ -z "$hung" ] || status=hung
    gone "$copy"
}
# The processes that process $1 traces, with their command lines.
followed_by() { # PID
    grep -lE "^TracerPid:[[:space:]]+$1\$" /proc/[0-9]*/status 2>/dev/null |
        while read -r file; do
            echo "${file//[^0-9]/} $(tr '\0' ' ' <"${file%status}cmdline")"
        done | paste -sd';'
}

# The first key of copy $1 must end it: the fatal message box, the message on
# standard error, a non-zero exit status.
expect_fatal() { # COPY
    press_key_again "$1" 8
    dismiss_message fatal
    wait_end "$1"
    check "fatal-exit-nonzero" "$([ "$status" != 0 ] && [ "$status" != hung ]; echo $?)" "status $status"
}
# Forgets copy $1's window once it has ended: X may give its id to the next copy's.
gone() { unset "windows[$1]"; }
expect_on_stderr() { # COPY WHAT TEXT: a fixed text in the copy's standard error
    grep -qF -- "$3" "${out[$1]}.err"
    check "$2" $? "$(cat "${out[$1]}.err")"
}
# Copy $1 made no direct I/O-port access and wrote nothing through ppdev.
expect_no_port_access() { # COPY
    local calls
    calls=$(grep -E 'ioperm|iopl|PPWDATA' "${out[$1]}.calls" | head -n 3 | paste -sd';')
    check "copy-$1-no-ioperm-no-write" "$([ -z "$calls" ]; echo $?)" "$calls"
}
# Runs `puerto-paralelo --listar` as $1 ("user", "outsider"); output in $results/listar-$1.
listar() { # WHO
    local run=(strace -f -qq -e trace=open,openat,ioperm,iopl,ioctl -o "$results/listar-$1.calls")
    [ "$1" = user ] && run+=("${as_user[@]}")
    [ "$1" = outsider ] && run+=("${as_outsider[@]}")
    local status=0
    within 30 "--listar as $1" env -u DISPLAY "${run[@]}" "$program" --listar \
        >"$results/listar-$1" 2>&1 </dev/null || status=$?
    check "listar-$1-exit-0" "$status" "status $status: $(cat "$results/listar-$1")"
    local touched
    touched=$(grep -E 'open(at)?\(.*"/dev/(parport|port)|ioperm|iopl|PP[A-Z]+' \
        "$results/listar-$1.calls" | head -n 3 | paste -sd';')
    check "listar-$1-opens-no-port" "$([ -z "$touched" ]; echo $?)" "$touched"
    sed "s/^/PP-INFO listar as $1: /" "$results/listar-$1"
}
# The list names the port at ADDRESS, whatever number the kernel gave it,
# with its own node and the verdict given.
expect_listed() { # WHO ADDRESS VERDICT
    sed -E 's;^(parport[0-9]+) en ([0-9A-Fx]+) \(/dev/\1\): ;\2 ;' "$results/listar-$1" |
        grep -qxF -- "$2 $3"
    check "listar-$1-$2" $? "no '$2 ($3)' in: $(paste -sd'|' "$results/listar-$1")"
}

# Another program holding /dev/parport0, as a lab's acquisition program does:
# perl, through ppdev (PPCLAIM 0x708b, PPRELEASE 0x708c), as the user in lp.
# It claims the port, says "held", and keeps it until $results/release appears.
hold_port() {
    rm -f "$results/release"
    "${as_user[@]}" perl -e '
        open(my $port, "+<", "/dev/parport0") or die "open: $!";
        ioctl($port, 0x708b, 0) or die "claim: $!";
        $| = 1;
        print "held\n";
        select(undef, undef, undef, 0.1) until -e $ARGV[0];
        ioctl($port, 0x708c, 0) or die "release: $!";
        print "released\n";' "$results/release" >"$results/holder.out" 2>&1 &
    holder=$!
    for _ in $(seq 100); do
        grep -q held "$results/holder.out" && return
        sleep 0.1
    done
    echo "PP-CHECK foreign-holder-claims FAIL $(cat "$results/holder.out")"
}
# Whether another program can claim the port at once, and release it.
port_is_free() {
    timeout 5 "${as_user[@]}" perl -e '
        open(my $port, "+<", "/dev/parport0") or die "open: $!";
        ioctl($port, 0x708b, 0) or die "claim: $!";
        ioctl($port, 0x708c, 0) or die "release: $!";' 2>&1
}
# The node of the parallel port that the PnP layer bound to parport_pc.
pnp_port() { ls /sys/bus/pnp/drivers/parport_pc/ | grep -m 1 ':'; }

keypad_and_typing() { # COPY: every key, two again, typed values, one refused
    local copy=$1
    check "copy-$copy-nothing-open-at-start" "$([ "$(parport_descriptors "$copy")" = 0 ]; echo $?)"
    for caption in 0 1 2 3 4 5 6 7 8 9 A B C D E F; do
        press_key "$copy" "$caption"
    done
    press_key_again "$copy" F
    press_key "$copy" A
    press_key_again "$copy" A
    type_and_send "$copy" 200 && wait_port c8
    type_and_send "$copy" '&HFF' && wait_port ff
    type_and_send "$copy" 300 && dismiss_message out-of-range
    type_and_send "$copy" 7 && wait_port 07
}

case $scenario in
driver | direct)
    marker a5
    start_copy 1 "$([ "$scenario" = driver ] && echo user || echo root)"
    keypad_and_typing 1
    if [ "$scenario" = driver ]; then
        check "one-opening" "$([ "$(parport_descriptors 1)" = 1 ]; echo $?)" \
            "$(parport_descriptors 1) descriptors"
    fi
    salir 1
    marker 5a
    ;;
idle)
    marker a5
    start_copy 1 user
    wait_idle 1
    check "nothing-open" "$([ "$(parport_descriptors 1)" = 0 ]; echo $?)"
    salir 1
    marker 5a
    ;;
twocopies)
    marker a5
    start_copy 1 user traced
    xdotool windowmove "${windows[1]}" 100 100
    start_copy 2 user traced
    xdotool windowmove "${windows[2]}" 600 100
    # Alternately, each key in the copy whose turn it is.
    turn=1
    for caption in 1 2 3 4 5 6 7 8 9 0 A B C D E F; do
        press_key "$turn" "$caption"
        turn=$((3 - turn))
    done
    marker 33
    # Bursts in both at once: 40 clicks on "8" in one and 40 on "1" in the
    # other, sent alternately without pause, so both copies write together.
    one=(${key[8]}) two=(${key[1]})
    burst=()
    for _ in $(seq 40); do
        burst+=(mousemove --window "${windows[1]}" $((one[0] + 20)) $((one[1] + 12)) click 1)
        burst+=(mousemove --window "${windows[2]}" $((two[0] + 20)) $((two[1] + 12)) click 1)
    done
    xdotool "${burst[@]}"
    # Both copies idle in their event loops: every click handled.
    for copy in 1 2; do
        wait_idle "$copy"
        echo "PP-INFO copy $copy waits in '$(cat "/proc/${pid[$copy]}/wchan" 2>/dev/null)'"
    done
    marker 44
    salir 1
    salir 2
    marker 5a
    # What each copy asked of ppdev: whole cycles only, and how many bytes.
    for copy in 1 2; do
        calls=$(grep -oE 'LOCK_EX|PPCLAIM|PPWDATA|PPRELEASE|LOCK_UN' "${out[$copy]}.calls" | paste -sd' ')
        cycles=$(grep -o PPWDATA <<<"$calls" | wc -l)
        ! sed 's/LOCK_EX PPCLAIM PPWDATA PPRELEASE LOCK_UN//g' <<<"$calls" | grep -q '[A-Z]'
        check "copy-$copy-only-whole-cycles" $? "$calls"
        failed=$(grep -E '(flock|ioctl)\(.*= -1' "${out[$copy]}.calls" | head -n 3 | paste -sd';')
        check "copy-$copy-no-failed-call" "$([ -z "$failed" ]; echo $?)" "$failed"
        echo "PP-WRITES $copy $cycles"
    done
    ;;
noport)
    marker a5
    start_copy 1 user
    expect_fatal 1
    grep -q 'No se encuentra el puerto paralelo 0x378' "${out[1]}.err"
    check "fatal-message-on-stderr" $? "$(cat "${out[1]}.err")"
    marker 5a
    ;;
root278)
    # Root, no option, the machine's only port at 0x278: nothing to write to
    # at 0x378, and the message leads to the port there is.
    marker a5
    start_copy 1 root traced
    expect_fatal 1
    expect_no_port_access 1
    expect_on_stderr 1 fatal-names-0x378 "No se encuentra el puerto paralelo 0x378 (888)."
    expect_on_stderr 1 fatal-lists-parport0 "parport0 en 0x278 (/dev/parport0)"
    expect_on_stderr 1 fatal-gives-the-command "puerto-paralelo --puerto 0x278"
    marker 5a
    ;;
user278)
    marker a5
    program_args=(--puerto 0x278)
    start_copy 1 user
    keypad_and_typing 1
    salir 1
    marker 5a
    ;;
card)
    # A port where PCI Express cards have theirs, by address and by device.
    listar user
    expect_listed user 0xD010 "sí, puede usarlo"
    marker a5
    program_args=(--puerto 0xD010)
    start_copy 1 user
    keypad_and_typing 1
    salir 1
    marker 5a
    marker b6
    program_args=(--puerto /dev/parport0)
    start_copy 2 user
    keypad_and_typing 2
    salir 2
    marker 6b
    ;;
rawonly)
    # Root without parport_pc: direct access at a parallel port's address
    # only; the real-time clock's index register is never a port.
    marker a5
    program_args=(--puerto 0x278)
    start_copy 1 root traced
    keypad_and_typing 1
    salir 1
    marker 5a
    grep -q 'ioperm(0x278, 0x1, 1) *= 0' "${out[1]}.calls"
    check copy-1-direct-at-0x278 $? "$(grep -E 'ioperm|iopl|PP' "${out[1]}.calls" | head -n 3)"
    marker b6
    program_args=(--puerto 0x70)
    start_copy 2 root traced
    expect_fatal 2
    expect_no_port_access 2
    expect_on_stderr 2 fatal-names-0x70 "No se encuentra el puerto paralelo 0x70 (112)."
    marker 6b
    ;;
foreign)
    # Another program holds the port while two copies press a key at once,
    # round after round, so that their waits overlap (one waits for the
    # other's lock while the other waits for the claim): every key waits a
    # moment, says so and writes nothing, ever, and never hangs; the holder
    # releases at once; the next key writes.
    marker a5
    start_copy 1 user
    xdotool windowmove "${windows[1]}" 100 100
    start_copy 2 user
    xdotool windowmove "${windows[2]}" 600 100
    press_key 1 8
    hold_port
    rounds=6
    for round in $(seq "$rounds"); do
        # How long the keys waited: from the clicks to both messages on
        # stderr, each printed just before its box is shown. A hang, not a
        # slow machine, is what runs out the bound.
        started=$(date +%s%N)
        click 1 ${key[1]} 41 25
        click 2 ${key[1]} 41 25
        for _ in $(seq 600); do
            [ "$(grep -c ocupado "${out[1]}.err")" -ge "$round" ] &&
                [ "$(grep -c ocupado "${out[2]}.err")" -ge "$round" ] && break
            sleep 0.05
        done
        waited=$((($(date +%s%N) - started) / 1000000))
        echo "PP-INFO round $round: both copies gave up their byte ${waited} ms after the clicks"
        check "round-$round-both-gave-up-without-hanging" \
            "$([ "$(grep -c ocupado "${out[1]}.err")" -ge "$round" ] &&
                [ "$(grep -c ocupado "${out[2]}.err")" -ge "$round" ]; echo $?)" \
            "no busy message within 30 s: $(tail -n 1 "${out[1]}.err") / $(tail -n 1 "${out[2]}.err")"
        dismiss_message busy
        dismiss_message busy
    done
    for copy in 1 2; do
        check "copy-$copy-every-key-busy" \
            "$([ "$(grep -c ocupado "${out[$copy]}.err")" = "$rounds" ]; echo $?)" \
            "$(grep -c ocupado "${out[$copy]}.err") busy messages for $rounds keys"
        expect_on_stderr "$copy" "copy-$copy-busy-names-port-and-byte" \
            "El puerto paralelo 0x378 (888) está ocupado por otro programa: no se ha escrito el byte 0x06."
    done
    expect_on_stderr 1 busy-names-the-device "otro programa a través de /dev/parport0"
    touch "$results/release"
    within 10 "the holder to release the port" tail --pid="$holder" -f /dev/null
    check "holder-released-at-once" $? "$(cat "$results/holder.out")"
    grep -q released "$results/holder.out"
    check "holder-release-succeeded" $? "$(cat "$results/holder.out")"
    # Time for a late grant to write a refused byte, if either copy had one.
    wait_idle 1
    wait_idle 2
    check "refused-byte-never-written" "$([ "$(data_register)" = 7f ]; echo $?)" \
        "the register holds $(data_register)"
    free=$(port_is_free)
    check "port-free-for-others-after-a-late-grant" $? "$free"
    press_key 1 A
    salir 1
    salir 2
    marker 5a
    ;;
removed)
    # The port goes away while the program runs (its driver unbound, as when
    # an adapter is pulled out), then comes back.
    marker a5
    start_copy 1 user
    press_key 1 8
    device=$(pnp_port)
    echo "$device" >/sys/bus/pnp/drivers/parport_pc/unbind
    check "node-gone" "$([ ! -e /dev/parport0 ]; echo $?)" "$(ls -l /dev/parport0 2>&1)"
    click 1 ${key[1]} 41 25
    dismiss_message gone
    expect_on_stderr 1 gone-names-port-and-byte \
        "El puerto paralelo 0x378 (888) ha desaparecido: no se ha escrito el byte 0x06."
    marker 5a
    echo "$device" >/sys/bus/pnp/drivers/parport_pc/bind
    for _ in $(seq 100); do [ -e /dev/parport0 ] && break; sleep 0.1; done
    chgrp 7 /dev/parport0 && chmod 0660 /dev/parport0 # as udev does
    marker b6
    press_key 1 A
    salir 1
    marker 6b
    ;;
lockdown)
    # Root on a kernel locked down (as with Secure Boot), without parport_pc:
    # ioperm is refused, and the message says why and what works instead.
    marker a5
    start_copy 1 root traced
    expect_fatal 1
    grep -q 'ioperm(0x378, 0x1, 1) *= -1 EPERM' "${out[1]}.calls"
    check "ioperm-refused-to-root" $? "$(grep -E 'ioperm|iopl' "${out[1]}.calls" | head -n 3)"
    expect_on_stderr 1 lockdown-named "está en modo de bloqueo (lockdown)"
    expect_on_stderr 1 lockdown-gives-the-driver-route "El camino que sí funciona es el controlador del núcleo"
    [ "$(grep -c 'sudo modprobe parport_pc' "${out[1]}.err")" = 1 ]
    check "lockdown-says-each-remedy-once" $? "$(cat "${out[1]}.err")"
    marker 5a
    ;;
listar)
    marker a5
    listar user
    expect_listed user 0x378 "sí, puede usarlo"
    expect_listed user 0x278 "sí, puede usarlo"
    listar outsider
    for address in 0x378 0x278; do
        expect_listed outsider $address "no, su usuario no tiene permiso: añádalo al grupo lp (sudo adduser \$USER lp) y vuelva a entrar en la sesión"
    done
    [ "$(wc -l <"$results/listar-user")" = 2 ]
    check listar-two-lines $? "$(cat "$results/listar-user")"
    marker 5a
    ;;
esac
for copy in "${!out[@]}"; do
    [ -s "${out[$copy]}.err" ] && sed "s/^/PP-STDERR $copy: /" "${out[$copy]}.err" | head -n 20
done
exit 0
