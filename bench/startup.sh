#!/usr/bin/env bash
# Start-up time (process start to window mapped) and peak resident memory of
# puerto-paralelo-demo against a bare Qt window with the same 22 widgets,
# alternating the two over RUNS runs each under a private Xvfb.
# Usage: bench/startup.sh BUILD_DIR [RUNS]
. "$(dirname "$0")/../tests/e2e/xvfb.sh"

build=$1
runs=${2:-20}
start_xvfb

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$work/demo" && : >"$work/bare"
# One run of each first, not counted, so that both start from warm caches.
"$build/bench/map_timer" 300 "$build/puerto-paralelo-demo" >/dev/null 2>&1
"$build/bench/map_timer" 300 "$build/bench/bare_window" >/dev/null 2>&1
for _ in $(seq "$runs"); do
    "$build/bench/map_timer" 300 "$build/puerto-paralelo-demo" >>"$work/demo" 2>/dev/null
    "$build/bench/map_timer" 300 "$build/bench/bare_window" >>"$work/bare" 2>/dev/null
done

demo_us=$(cut -d' ' -f1 "$work/demo" | median)
bare_us=$(cut -d' ' -f1 "$work/bare" | median)
demo_kb=$(cut -d' ' -f2 "$work/demo" | median)
bare_kb=$(cut -d' ' -f2 "$work/bare" | median)
printf 'runs each:                 %d\n' "$runs"
printf 'start to mapped (median):  demo %.1f ms, bare %.1f ms, ratio %.2f\n' \
    "$(echo "$demo_us / 1000" | bc -l)" "$(echo "$bare_us / 1000" | bc -l)" "$(echo "$demo_us / $bare_us" | bc -l)"
printf 'peak resident (median):    demo %d KiB, bare %d KiB, ratio %.2f\n' \
    "$demo_kb" "$bare_kb" "$(echo "$demo_kb / $bare_kb" | bc -l)"
