#!/usr/bin/env bash
# puerto-paralelo-demo under a real X server with real keyboard and mouse
# input: typed values and "Sacar Dato" print their bytes; an empty or
# out-of-range entry shows its message box and writes nothing.
# Usage: demo_typed_test.sh PATH/TO/puerto-paralelo-demo
. "$(dirname "$0")/xvfb.sh"

demo=$1
start_xvfb
start_program "$demo"

text1=(144 16 49 19)
sacar_dato=(24 168 65 25)

type_value() {
    click_at "${text1[@]}"
    xdotool type --delay 20 "$1"
}

# Waits for the message box, checks it, and dismisses it with Enter.
dismiss_message() {
    local box=
    for _ in $(seq 100); do
        box=$(xdotool search --onlyvisible --name '^Velmarin$' 2>/dev/null | head -n 1) || true
        [ -n "$box" ] && break
        sleep 0.05
    done
    [ -n "$box" ] || fail "no message box after $1"
    within 10 "the focus on the message box after $1" xdotool windowfocus --sync "$box" ||
        fail "the message box after $1 did not take the focus"
    xdotool key Return
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^Velmarin$' >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    fail "the message box did not go away"
}

expected=()
for entry in "200 0xC8" "&HFF 0xFF" "2.55E2 0xFF" "12abc 0x0C"; do
    read -r value code <<<"$entry"
    type_value "$value"
    click_at "${sacar_dato[@]}"
    expected+=("0x378 <- $code")
    wait_for_lines "${#expected[@]}"
done

# Empty entry: a message, nothing written.
click_at "${sacar_dato[@]}"
dismiss_message "an empty entry"

# Out of range: a message, nothing written, and the text box is left empty,
# so that the 7 typed next reads as 7 and not as 3007.
type_value "300"
click_at "${sacar_dato[@]}"
dismiss_message "300"
[ "$(wc -l <"$work/stdout")" -eq "${#expected[@]}" ] || fail "a refused entry wrote: $(cat "$work/stdout")"
type_value "7"
click_at "${sacar_dato[@]}"
expected+=("0x378 <- 0x07")
wait_for_lines "${#expected[@]}"

expect_printed_lines
salir
echo "demo_typed: ${#expected[@]} typed bytes printed, empty and out-of-range entries refused"
