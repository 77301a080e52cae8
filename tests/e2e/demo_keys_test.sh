#!/usr/bin/env bash
# puerto-paralelo-demo under a real X server, clicked with real mouse input:
# each key prints its line, "Salir" ends the program.
# Usage: demo_keys_test.sh PATH/TO/puerto-paralelo-demo
. "$(dirname "$0")/xvfb.sh"

demo=$1
start_xvfb
start_program "$demo"

# Keys in window pixels (twips / 15) and the byte each must write.
keys=(
    "8 40 41 25 0x06"    # 1
    "152 40 41 25 0x39"  # C
    "56 104 41 25 0x7F"  # 8
    "8 136 41 25 0x3F"   # 0
    "56 136 41 25 0x77"  # A
    "56 136 41 25 0x77"  # A again
    "152 136 41 25 0x71" # F
)
expected=()
for key in "${keys[@]}"; do
    read -r left top width height code <<<"$key"
    click_at "$left" "$top" "$width" "$height"
    expected+=("0x378 <- $code")
    wait_for_lines "${#expected[@]}"
done

# Each line starts with exactly the address and the byte.
mapfile -t lines <"$work/stdout"
for i in "${!expected[@]}"; do
    [ "${lines[$i]:0:13}" = "${expected[$i]}" ] ||
        fail "line $((i + 1)) is '${lines[$i]}', expected '${expected[$i]}…'"
done

click_at 104 168 57 25 # Salir
wait_for_exit
[ "$status" -eq 0 ] || fail "exit status $status after Salir"
[ "$(wc -l <"$work/stdout")" -eq "${#expected[@]}" ] || fail "Salir wrote: $(cat "$work/stdout")"
echo "demo_keys: ${#expected[@]} keys printed their lines, Salir ended the program"
