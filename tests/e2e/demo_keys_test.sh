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

expect_printed_lines
salir
expect_printed_lines # and nothing more after "Salir"

# Another port, chosen with --puerto: named in each line and in the display.
start_program "$demo" --puerto 0xd010
named=
for _ in $(seq 100); do
    named=$(xdotool search --onlyvisible --name '^Display del puerto 0xD010 \(simulado\)$') || true
    [ -n "$named" ] && break
    sleep 0.05
done
[ -n "$named" ] || fail "no display window named after 0xD010"
click_at 56 136 41 25 # A
expected=("0xD010 <- 0x77  0b01110111")
wait_for_lines 1
expect_printed_lines
salir
echo "demo_keys: keys printed their lines at 0x378 and at 0xD010, Salir ended the program"
