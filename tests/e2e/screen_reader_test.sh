#!/usr/bin/env bash
# puerto-paralelo-demo as a blind student meets it: on a real AT-SPI bus of
# the test's own, with the Orca screen reader listening (its speech off, what
# it would say written to a file), the controls are found and read through
# AT-SPI, keys are pressed through its action interface, and Orca must say
# each byte the display shows, once, while the focus stays where it was.
# Usage: screen_reader_test.sh PATH/TO/puerto-paralelo-demo
# Exits 77 (skipped) only where Orca or AT-SPI's Python bindings are missing.
. "$(dirname "$0")/xvfb.sh"

demo=$1
launcher=/usr/libexec/at-spi-bus-launcher
python=/usr/bin/python3 # Debian's, with its gi, whatever python3 is first on PATH
[ -x "$launcher" ] && [ -x /usr/bin/orca ] &&
    "$python" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null || {
    echo "SKIPPED: no AT-SPI bus, Orca or AT-SPI for Python (Debian packages at-spi2-core, orca, python3-gi, gir1.2-atspi-2.0); nothing was proven."
    exit 77
}

start_xvfb
# Orca and the bus keep their settings and files here, in a UTF-8 locale.
mkdir -p "$work/home" "$work/orca" "$work/python" "$work/bin" "$work/runtime"
chmod 0700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime GSETTINGS_BACKEND=memory LC_ALL=C.UTF-8
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME

started=() # every process started here, stopped by its id
stop_all() {
    local all=("${started[@]}")
    [ "${#started[@]}" -eq 0 ] || all+=($(pgrep -P "${started[0]}" || true)) # the launcher's bus
    { [ "${#all[@]}" -eq 0 ] || kill -9 "${all[@]}"; wait "${started[@]}"; } 2>/dev/null || true
    cleanup
}
trap stop_all EXIT

# The accessibility bus, on the test's session bus.
"$launcher" --launch-immediately --a11y=1 >"$work/launcher.log" 2>&1 &
started+=($!)

# Orca, silent: its speech module cannot be imported, so it starts no speech
# server, and it writes what it would say to its debug file, here a terminal
# so that it writes each line at once. It sees no other Orca, so that it
# neither refuses to start beside the user's own nor stops it.
echo 'raise ImportError("no speech in the tests")' >"$work/python/speechd.py"
printf '#!/bin/sh\n' >"$work/bin/pgrep" && chmod +x "$work/bin/pgrep"
PATH=$work/bin:$PATH PYTHONPATH=$work/python script -qfec \
    "exec /usr/bin/orca -u '$work/orca' --debug-file /dev/tty" /dev/null \
    </dev/null >"$work/orca.said" 2>&1 &
started+=($!)
orca=
for _ in $(seq 100); do
    orca=$(pgrep -P "${started[-1]}" || true)
    [ -n "$orca" ] && grep -q "SPEECH OUTPUT: " "$work/orca.said" && break
    sleep 0.1
done
[ -n "$orca" ] || fail "Orca did not start: $(tail -n 5 "$work/orca.said")"
started+=("$orca")

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program "$demo"
started+=("$program_pid")

within 90 "the checks through AT-SPI" "$python" - "$work/orca.said" "$work/registry" <<'CHECKS' ||
import sys, time
import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi

said, registry = sys.argv[1], sys.argv[2]
failures = 0

def fail(what):
    global failures
    failures += 1
    print("FALLO:", what)

def waited(seconds, what, condition):
    """condition() within SECONDS, else says what was awaited."""
    for _ in range(seconds * 10):
        result = condition()
        if result:
            return result
        time.sleep(0.1)
    fail("waited %d s for %s" % (seconds, what))
    return None

def tree(node):
    yield node
    for index in range(node.get_child_count()):
        child = node.get_child_at_index(index)
        if child is not None:
            yield from tree(child)

def find(role, name):
    return next((n for n in tree(app) if n.get_role() == role and n.get_name() == name), None)

def focused():
    return [n.get_name() for n in tree(app) if n.get_state_set().contains(Atspi.StateType.FOCUSED)]

def spoken(text):
    """How often Orca has said text."""
    with open(said, encoding="utf-8", errors="replace") as lines:
        return sum(1 for line in lines if "SPEECH OUTPUT: '" in line and text in line)

desktop = Atspi.get_desktop(0)
with open(registry, "w") as out:
    out.write("%d\n" % desktop.get_process_id())
app = waited(20, "the demo on the accessibility bus", lambda: next(
    (a for a in (desktop.get_child_at_index(i) for i in range(desktop.get_child_count()))
     if a is not None and a.get_name() == "puerto-paralelo-demo"), None))
if app is None:
    sys.exit(1)
waited(20, "Orca to speak the focused button", lambda: spoken("Sacar Dato"))

# Role, name, and the name of the control that labels it.
READING = "%s. Segmentos encendidos: %s. Líneas altas: %s."
CONTROLS = [
    (Atspi.Role.TEXT, "Introdusca el dato a sacar", "Introdusca el dato a sacar"),
    (Atspi.Role.IMAGE, "Icono de Puerto Paralelo: el conector de un cable de puerto paralelo", None),
    (Atspi.Role.LABEL, READING % ("0x00", "ninguno", "ninguna"), None),
]
for role, name, label in CONTROLS:
    control = find(role, name)
    if control is None:
        fail("no %s named '%s'" % (role.value_nick, name))
        continue
    labels = [r.get_target(0).get_name() for r in control.get_relation_set()
              if r.get_relation_type() == Atspi.RelationType.LABELLED_BY]
    if labels != ([label] if label else []):
        fail("%s '%s' is labelled by %s" % (role.value_nick, name, labels))
    print("screen_reader: %s '%s'%s" % (role.value_nick, name,
                                       " labelled by '%s'" % label if label else ""))
if spoken("Segmentos encendidos"):
    fail("Orca announced a byte before any was written")

# Each key pressed through AT-SPI: the display's value, and Orca says it once
# more than before, the focus left on "Sacar Dato".
KEYS = [
    ("A", 0x77, READING % ("0x77, muestra A", "a b c e f g", "D0 D1 D2 D4 D5 D6")),
    ("8", 0x7F, READING % ("0x7F, muestra 8", "a b c d e f g", "D0 D1 D2 D3 D4 D5 D6")),
    ("A", 0x77, READING % ("0x77, muestra A", "a b c e f g", "D0 D1 D2 D4 D5 D6")),
]
display = find(Atspi.Role.LABEL, READING % ("0x00", "ninguno", "ninguna"))
for key, byte, words in KEYS:
    before = spoken(words)
    Atspi.Action.do_action(find(Atspi.Role.PUSH_BUTTON, key), 0)
    if waited(10, "Orca to say '%s'" % words, lambda: spoken(words) > before):
        time.sleep(0.5)
        if spoken(words) != before + 1:
            fail("Orca said '%s' %d times for one key" % (words, spoken(words) - before))
        print("screen_reader: key %s, Orca said: '%s'" % (key, words))
    if focused() != ["Sacar Dato"]:
        fail("after key %s the focus is on %s" % (key, focused()))
    value = Atspi.Value.get_current_value(display) if display else None
    if value != byte:
        fail("after key %s the display's value is %s, not %d" % (key, value, byte))
sys.exit(1 if failures else 0)
CHECKS
    fail "the checks through AT-SPI failed"
# The accessibility registry, started on demand by the bus, goes too.
started+=($(cat "$work/registry" 2>/dev/null))

expected=("0x378 <- 0x77" "0x378 <- 0x7F" "0x378 <- 0x77")
expect_printed_lines
salir
echo "screen_reader: Orca read Text1 by its prompt and named Picture1; it said each byte the display showed, once, the focus left on Sacar Dato"
