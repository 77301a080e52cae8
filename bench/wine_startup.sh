#!/usr/bin/env bash
# Under Wine, the time from starting puerto-paralelo-demo.exe to its window
# shown, for each folder given (a Windows build as installed), alternating
# the folders over RUNS runs each in one 64-bit prefix under a private Xvfb,
# with Wine's server kept running; the window is looked for every 20 ms.
# Reported as medians, and each against the first folder's.
# Usage: bench/wine_startup.sh RUNS FOLDER...   (with Wine, xdotool and Xvfb)
. "$(dirname "$0")/../tests/e2e/xvfb.sh"

runs=$1
shift
start_xvfb
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
within 120 "wineboot to make the prefix" "${silently[@]}" wine wineboot --init || fail "no Wine prefix"
within 60 "Wine to settle" wineserver -w || fail "Wine did not settle"
# Wine's server and services kept running between the runs, as Windows' are:
# what is timed is the program's own start.
wineserver -p || fail "Wine's server did not stay"
before_cleanup() { wineserver -k 2>/dev/null || true; }
within 60 "Wine's services to start" "${silently[@]}" wine cmd /c exit || fail "Wine's services did not start"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
once() { # FOLDER: milliseconds to the window
    local begun shown pid
    begun=$(date +%s%N)
    wine "$1/puerto-paralelo-demo.exe" >/dev/null 2>&1 </dev/null &
    pid=$!
    for _ in $(seq 3000); do
        xdotool search --onlyvisible --name '^Puerto Paralelo$' >/dev/null 2>&1 && break
        sleep 0.02
    done
    shown=$(date +%s%N)
    xdotool search --onlyvisible --name '^Puerto Paralelo$' >/dev/null 2>&1 || fail "no window from $1 in a minute"
    kill "$pid" 2>/dev/null
    reap 30 "$pid" "the demo" || fail "the demo did not end"
    echo $(((shown - begun) / 1000000))
}
# One run of each first, not counted, so that all start from warm caches.
for folder; do once "$folder" >/dev/null; done
for _ in $(seq "$runs"); do
    for folder; do once "$folder" >>"$work/$(echo "$folder" | md5sum | cut -c1-8)"; done
done
first=
for folder; do
    ms=$(median <"$work/$(echo "$folder" | md5sum | cut -c1-8)")
    first=${first:-$ms}
    awk -v folder="$folder" -v ms="$ms" -v runs="$runs" -v first="$first" \
        'BEGIN { printf "%s: window shown in %s ms (median of %d runs), %.2f of the first\n", folder, ms, runs, ms / first }'
done
