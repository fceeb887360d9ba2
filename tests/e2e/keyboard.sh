#!/usr/bin/env bash
# The keyboard on Tempik's buttons: no focus cues until it is used, then a
# focus rectangle, and Shift+F10's menu at the focused button.
# Needs DISPLAY and WINEPREFIX.
# Usage: keyboard.sh path/to/Tempik-<version>-win64.zip
set -uo pipefail
source "$(dirname "$(realpath "$0")")/e2e_lib.sh"
e2e_setup "$@"

echo "== the keyboard: focus cues once it is used, the menu at the focused button"
park_pointer
start_tempik
wait_for 5 readout_still
# The row of buttons below the readout, as a checksum.
buttons_row() {
    below_readout rgb:- | md5sum | cut -d' ' -f1
}
geometry
start_face=$(button_faces | sort -t+ -k2 -n | head -n1)  # WxH+X+Y below the readout: Start's
row_at_rest=$(buttons_row)
focus_tempik
sleep 0.3
check "the focused Start button looks the same before the keyboard is used" [ "$(buttons_row)" = "$row_at_rest" ]
xdotool key Tab
check "Tab shows a focus rectangle (the buttons' pixels change)" \
    wait_for 3 eval '[ "$(buttons_row)" != "$row_at_rest" ]'
xdotool key shift+Tab
sleep 0.3
check "it stays shown on Start after Shift+Tab" [ "$(buttons_row)" != "$row_at_rest" ]
IFS='x+' read -r fw fh fx fy <<<"$start_face"
MX=$((X + fx)); MY=$((Y + RY + RH + fy + fh))
xdotool key shift+F10
check "Shift+F10 opens the menu at Start's bottom-left ($MX, $MY), not the screen's corner" \
    wait_for 3 menu_at_pointer
xdotool key Escape
check "Esc closes it" wait_for 3 eval '! menu_at_pointer'
end_tempik
finish
