#!/usr/bin/env bash
# A window that can be found and named, a clean first frame, menus no tip covers.
# Needs DISPLAY and WINEPREFIX.
# Usage: first_frame.sh path/to/Tempik-<version>-win64.zip
set -uo pipefail
source "$(dirname "$(realpath "$0")")/e2e_lib.sh"
e2e_setup "$@"

# Three faces of one height in one row: no stale copy of a button beside it.
plain_faces() {
    local faces
    faces=$(button_faces)
    [ "$(wc -l <<<"$faces")" -eq 3 ] && [ "$(sed 's/^[0-9]*x//; s/+[0-9]*+/+/' <<<"$faces" | sort -u | wc -l)" -eq 1 ]
}
visible_windows() { [ "$(tempik_windows | wc -l)" -eq "$1" ]; }

echo "== the first frame, the window's name and icon"
park_pointer
start_tempik
wait_for 5 readout_still
check "the first frame shows the three buttons and no stale copy: $(button_faces | tr '\n' ' ')" plain_faces
check "the window manager names the window Tempik" \
    eval '[ "$(xdotool getwindowname "$WIN")" = Tempik ] && xprop -id "$WIN" _NET_WM_NAME | grep -q "\"Tempik\""'
check "it has an icon" eval 'xprop -id "$WIN" _NET_WM_ICON | grep -q "Icon ("'

echo "== no tip over the menu of a quick click on More; afterwards More follows the pointer"
# Lit and with its tip up: the two windows of Tempik are its own and the tip.
lit_with_tip() { visible_windows 2 && hovered; }
unlit() { visible_windows 1 && ! hovered; }
point_at start click 1
point_at more
sleep 0.2
xdotool click 1
check "the menu opens" wait_for 3 visible_windows 2
MENU=$(tempik_windows | grep -vx "$WIN")
sleep 1.5
check "and no tooltip shows over it" visible_windows 2
xdotool key Escape
check "Esc closes it" wait_for 3 eval '! tempik_windows | grep -qx "$MENU"'
check "with the pointer still on More, More lights and shows its tip again" wait_for 3 lit_with_tip
park_pointer
check "the pointer away, both go" wait_for 3 unlit
# As a hand moves: along the row of buttons from the window's left, in steps.
read -r w h x y <<<"${PARTS[more]}"
geometry
for i in 0 1 2 3 4; do
    xdotool mousemove --sync $((X - 10 + (x + w / 2 + 10) * i / 4)) $((Y + y + h / 2))
done
check "brought back as a hand moves, More lights and shows its tip" wait_for 3 lit_with_tip
park_pointer
wait_for 3 unlit
# Wine reports no move back to the very point where it last saw the pointer
# in its windows (it does not see the pointer elsewhere), so one move goes to
# the pixel beside it; Windows sees every move.
point_at more+1
check "brought back in one move, too" wait_for 3 lit_with_tip
park_pointer
press Escape
check "Esc ends Tempik" wait_for 15 exited || die "Tempik did not end"
finish
