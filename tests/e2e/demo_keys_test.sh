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
echo "demo_keys: ${#expected[@]} keys printed their lines, Salir ended the program"
