#!/usr/bin/env bash
# puerto-paralelo-demo under a real X server, clicked with real mouse input:
# each key prints its line, "Salir" ends the program.
# Usage: demo_keys_test.sh PATH/TO/puerto-paralelo-demo
. "$(dirname "$0")/xvfb.sh"

demo=$1
start_xvfb
start_program "$demo"

# The window class is the one the demo's desktop entry names (StartupWMClass).
entry=$(dirname "$0")/../../packaging/org.puertoparalelo.PuertoParaleloDemo.desktop
class=$(sed -n 's/^StartupWMClass=//p' "$entry")
xdotool search --class "^$class\$" | grep -qx "$window" ||
    fail "Form1's window class is not '$class' of $entry"

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

# Another port, chosen with --puerto: named in each line and in the display;
# Qt's own options, as a session manager passes them, go to Qt.
start_program "$demo" --puerto 0xd010 -platform xcb -style Fusion -session 10a2b_3c4d
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

# A reader that goes away (puerto-paralelo-demo | head -n 1): the demo loses
# its lines but goes on, and its window still works.
mkfifo "$work/pipe"
head -n 1 <"$work/pipe" >"$work/head" &
reader=$!
program_out=$work/pipe start_program "$demo"
click_at 56 104 41 25 # 8
reap 5 "$reader" "the reader of the pipe (head -n 1)" || fail "the demo's first line never reached the pipe"
click_at 56 136 41 25 # A, into the closed pipe
click_at 152 136 41 25 # F
sleep 0.5
kill -0 "$program_pid" 2>/dev/null || fail "the demo ended when its reader went away: $(cat "$work/stderr")"
[ "$(cat "$work/head")" = "$(printf '0x378 <- 0x7F  0b01111111  líneas altas: D0 D1 D2 D3 D4 D5 D6')" ] ||
    fail "the reader got: $(cat "$work/head")"
salir

# Under a window manager, which frames the window: the whole window, frame
# included, stands centred on the screen (1024 x 768), not just its inside.
start_window_manager
start_program "$demo"
centred=
for _ in $(seq 50); do
    read -r x y width height < <(frame_geometry "$window")
    if [ "$height" -gt 255 ] && [ $((2 * x + width - 1024)) -ge -2 ] && [ $((2 * x + width - 1024)) -le 2 ] &&
        [ $((2 * y + height - 768)) -ge -2 ] && [ $((2 * y + height - 768)) -le 2 ]; then
        centred=1
        break
    fi
    sleep 0.1
done
[ -n "$centred" ] || fail "Form1's frame is not centred: at $x,$y, $width x $height"
salir
echo "demo_keys: keys printed their lines at 0x378 and at 0xD010, Qt's options went to Qt, a closed pipe did not end the demo, Salir ended it; under a window manager the framed window ($width x $height) is centred"
