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
point_at_more() { point_at more; }

echo "== the first frame, the window's name and icon"
park_pointer
start_tempik
wait_for 5 readout_still
check "the first frame shows the three buttons and no stale copy: $(button_faces | tr '\n' ' ')" plain_faces
check "the window manager names the window Tempik" \
    eval '[ "$(xdotool getwindowname "$WIN")" = Tempik ] && xprop -id "$WIN" _NET_WM_NAME | grep -q "\"Tempik\""'
check "it has an icon" eval 'xprop -id "$WIN" _NET_WM_ICON | grep -q "Icon ("'

echo "== no tip over the menu of a quick click on More"
point_at start click 1
point_at_more
sleep 0.2
xdotool click 1
check "the menu opens" wait_for 3 visible_windows 2
sleep 1.5
check "and no tooltip shows over it" visible_windows 2
xdotool key Escape
check "Esc closes it" wait_for 3 visible_windows 1
park_pointer
point_at_more
check "pointing at More shows its tip again" wait_for 3 visible_windows 2
park_pointer
press Escape
check "Esc ends Tempik" wait_for 15 exited || die "Tempik did not end"
finish
