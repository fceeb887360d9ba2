#!/usr/bin/env bash
# What a screen reader finds in the released Tempik.exe, asked from another process by
# AccessibilityClient.exe: the readout and the three buttons, at rest, running, stopped by
# the hot key, and an object kept across Tempik's exit.
# Needs DISPLAY, WINEPREFIX and ACCESSIBILITY_CLIENT.
# Usage: accessibility.sh path/to/Tempik-<version>-win64.zip
set -uo pipefail
source "$(dirname "$(realpath "$0")")/e2e_lib.sh"
CLIENT=${ACCESSIBILITY_CLIENT:?names AccessibilityClient.exe}
e2e_setup "$@"

loaded() { grep -qi "$1" "/proc/$PID/maps"; }

# The client's view, one line per element; DUMP keeps the last.
DUMP=""
client() { timeout 30 wine "$CLIENT" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
dump() { DUMP=$(client dump); [ -n "$DUMP" ]; }
element() { grep "^$1: " <<<"$DUMP"; }  # element CHILD_ID -> its line
field() { element "$1" | sed -n "s/.* $2=\"\([^\"]*\)\".*/\1/p"; }  # field CHILD_ID NAME
value() { dump && field 1 value; }
named() { dump && [ "$(field "$1" name)" = "$2" ]; }
VALUE=""
value_settled() {  # changed from zero, and the same on a second read half a second later
    local a b
    a=$(value); sleep 0.5; b=$(value)
    VALUE=$b
    [ -n "$a" ] && [ "$a" = "$b" ] && [ "$a" != 00:00:00.000 ]
}

# F2 is the hot key only by default: e2e_setup left no settings.
start_tempik --unasked
sleep 0.5
check "oleacc is not loaded at start-up" bash -c "grep -q 'Tempik\.exe' /proc/$PID/maps && ! grep -qi 'oleacc\.dll' /proc/$PID/maps"

echo "== at rest"
dump || die "the client reads Tempik's client object"
locate_parts "$DUMP"
printf '%s\n' "$DUMP" | sed 's/^/      /'
check "oleacc is loaded once a client asked" loaded 'oleacc\.dll'
check "four children: the readout and three buttons" grep -q '^client: .* children=4$' <<<"$DUMP"
check "the readout is a clock named \"Elapsed time\" showing 00:00:00.000" \
    grep -q '^1: role=[0-9]* (clock) name="Elapsed time" value="00:00:00.000" ' <<<"$DUMP"
geometry
check "the readout's location is its strip on screen, 190x36+$((X + 1))+$Y" \
    grep -q "^1: .* location=190x36+$((X + 1))+$Y\$" <<<"$DUMP"
for button in "2 Start Start the timer" "3 Reset Reset the timer" "4 More Display more options"; do
    read -r id name tip <<<"$button"
    check "child $id is the push button \"$name\" described \"$tip\", pressed by \"Press\"" \
        grep -q "^$id: role=[0-9]* (push button) name=\"$name\" value=\"\" description=\"$tip\" action=\"Press\" state=[^ ]*focusable" <<<"$DUMP"
done

echo "== running, started by the client"
check "the client presses Start" bash -c "timeout 30 wine '$CLIENT' press Start </dev/null >/dev/null 2>&1"
check "the Start/Stop button is named \"Stop\" while running" wait_for 5 named 2 Stop
a=$(value); sleep 0.3; b=$(value)
check "the value counts while running: $a, then $b" [ "$a" != "$b" ]

echo "== stopped by the hot key"
press F2
check "after F2 the button is named \"Start\" again" wait_for 5 named 2 Start
check "the value changed from zero and holds still" wait_for 5 value_settled
check "the readout on screen holds still with it" readout_still
check "a second read gives the same value, $VALUE" [ "$(value)" = "$VALUE" ]

echo "== reset by the client"
check "the client presses Reset" bash -c "timeout 30 wine '$CLIENT' press Reset </dev/null >/dev/null 2>&1"
zero() { [ "$(value)" = 00:00:00.000 ]; }
check "the value is 00:00:00.000 again" wait_for 5 zero

echo "== an object kept across Tempik's exit"
fifo=$(mktemp -u)
mkfifo "$fifo"
exec {TO_KEEPER}<>"$fifo"
rm -f "$fifo"
out=$(mktemp)
timeout 60 wine "$CLIENT" keep <&"$TO_KEEPER" >"$out" 2>/dev/null &
KEEPER_PID=$!
kept() { grep -q '^kept Elapsed time' "$out"; }
check "the client holds the client object" wait_for 20 kept
press Escape
check "Esc ends Tempik" wait_for 15 exited
echo >&"$TO_KEEPER"
wait "$KEEPER_PID"
rc=$?
KEEPER_PID=""
tr -d '\r' <"$out" | sed 's/^/      /'
check "the kept object answers with errors, and the client ends normally (exit $rc)" [ "$rc" -eq 0 ]
rm -f "$out"

finish
