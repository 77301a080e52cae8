# What every test script that runs programs shares: waits that end, each with
# a limit and a word on what it waited for when the limit runs out, and a
# D-Bus session bus of the test's own. Source it; it sets no shell options.

# within SECONDS WHAT COMMAND...: runs COMMAND for at most SECONDS. Where it
# had to be stopped, says on standard error what it waited for and returns
# 124; otherwise returns COMMAND's status. To throw COMMAND's own output away
# and still hear why it was stopped, put "${silently[@]}" before it:
#   within 60 "the installer" "${silently[@]}" wine setup.exe /S
silently=(sh -c '"$@" >/dev/null 2>&1' silently)
within() {
    local seconds=$1 what=$2 status=0
    shift 2
    timeout -k 2 "$seconds" "$@" || status=$?
    if [ "$status" = 124 ] || [ "$status" = 137 ]; then
        echo "waited $seconds s for $what; gave up" >&2
        return 124
    fi
    return "$status"
}

# reap SECONDS PID WHAT: waits at most SECONDS for PID, a child of this shell,
# to end, and leaves its exit status in $status. Where it has not ended, says
# on standard error what it waited for, leaves it running and returns 1.
reap() {
    local seconds=$1 pid=$2 what=$3 tenth
    for ((tenth = 0; tenth < seconds * 10; tenth++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "waited $seconds s for $what to end; gave up" >&2
        return 1
    fi
    status=0
    wait "$pid" 2>/dev/null || status=$?
}

# start_session_bus DIR [RUN-AS...]: a session bus whose socket is DIR/bus,
# for the programs started next (DBUS_SESSION_BUS_ADDRESS), run as RUN-AS
# (setpriv ...) where given. A desktop session has one; a program without
# one, where dbus-x11 is installed, starts one itself through dbus-launch,
# which outlives the program and any trace of it, and a bus left to the
# caller's session would show the test's windows to its screen reader.
# stop_session_bus ends it.
# DIR may belong to RUN-AS: the shell writes nothing into it, the bus's
# process number coming through a file of its own.
session_bus_pid=
start_session_bus() {
    local dir=$1 said
    shift
    said=$(mktemp) || return 1
    "$@" dbus-daemon --session --fork --nosyslog --address="unix:path=$dir/bus" \
        --print-pid=3 3>"$said" </dev/null >/dev/null || { rm -f "$said"; return 1; }
    session_bus_pid=$(cat "$said")
    rm -f "$said"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$dir/bus
}
stop_session_bus() {
    [ -z "$session_bus_pid" ] || kill "$session_bus_pid" 2>/dev/null || true
    session_bus_pid=
}
