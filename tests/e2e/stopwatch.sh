#!/usr/bin/env bash
# The stopwatch as a person uses it from no settings: Start, the F2 hot key,
# the menu, the options dialog choosing F5, kept when the process is killed
# after it, and refusing a key another program holds; then reads back the hot
# key it saved.
# Needs DISPLAY and WINEPREFIX; HOLD_HOT_KEY names HoldHotKey.exe.
# Usage: stopwatch.sh path/to/Tempik-<version>-win64.zip
set -uo pipefail
source "$(dirname "$(realpath "$0")")/e2e_lib.sh"
e2e_setup "$@"
: "${HOLD_HOT_KEY:?needs HoldHotKey.exe}"

echo "== first start with no settings"
start_tempik
check "window opens at (400, 400), got ($X, $Y) ${WIDTH}x$HEIGHT" at 400 400
# The first paint may still be on its way when the window maps; a count that
# ran would never hold still.
check "readout holds still before Start" wait_for 5 readout_still
check "readout shows yellow digits on black" readout_yellow_on_black

echo "== Start, the F2 hot key, the menu"
point_at start click 1
park_pointer
check "readout counts after clicking Start" wait_for 3 readout_moves
press F2
check "F2 stops the count" wait_for 3 readout_still
sleep 0.3
check "and it stays stopped" readout_still

point_at readout click 3
MX=$CX MY=$CY
check "right click opens the popup menu at the pointer" wait_for 3 menu_at_pointer
xdotool key Escape
check "Esc closes the menu" wait_for 3 eval '! menu_at_pointer'
park_pointer

echo "== options: F5 becomes the toggle"
open_options
check "double click opens the options dialog" wait_for 5 dialog_window "Tempik Options"
park_pointer
xdotool windowfocus --sync "$DLG" 2>/dev/null
# Focus starts on OK; Shift+Tab reaches the hot-key box, whose text is selected.
xdotool key shift+Tab
xdotool type F5
xdotool key Return
check "Enter closes the options dialog with OK" wait_for 5 eval '! dialog_window "Tempik Options"'
press F2
check "F2 no longer starts the count" readout_still
press F5
check "F5 starts the count" wait_for 3 readout_moves
press F5
check "F5 stops it again" wait_for 3 readout_still

echo "== F5 is saved at once: killed, Tempik comes back with F5"
kill_tempik
hotkey=$(reg_value Options Hotkey)
check "Hotkey saved as 4 (F5) before any exit, got '$hotkey'" [ "$hotkey" = "0x4" ]
start_tempik
press F5
check "F5 starts the count" wait_for 3 readout_moves
press F5
check "and stops it" wait_for 3 readout_still

echo "== options: a key another program holds is refused, and F5 stays"
options_windows() { xdotool search --onlyvisible --name '^Tempik Options$' 2>/dev/null | wc -l; }
wine "$HOLD_HOT_KEY" 118 60 </dev/null >/dev/null 2>&1 &  # F7
HOLDER_PID=$!
sleep 1
open_options
if check "the options dialog opens" wait_for 5 dialog_window "Tempik Options"; then
    park_pointer
    xdotool windowfocus --sync "$DLG" 2>/dev/null
    xdotool key shift+Tab
    xdotool type F7
    xdotool key Return
    check "OK with F7 says it is taken: a message over the dialog" wait_for 5 eval '[ "$(options_windows)" = 2 ]'
    xdotool key Return
    check "the message closes and the dialog stays open" wait_for 5 eval '[ "$(options_windows)" = 1 ]'
    xdotool key Escape
    check "Cancel closes it" wait_for 5 eval '[ "$(options_windows)" = 0 ]'
fi
kill "$HOLDER_PID" 2>/dev/null; HOLDER_PID=""
press F5
check "F5 still starts the count" wait_for 3 readout_moves
press F5
check "and stops it" wait_for 3 readout_still

echo "== Esc ends the program and the hot key is saved"
press Escape
check "Esc ends Tempik" wait_for 15 exited || die "Tempik did not end"
hotkey=$(reg_value Options Hotkey)
check "Hotkey saved as 4 (F5), got '$hotkey'" [ "$hotkey" = "0x4" ]
finish
