#!/usr/bin/env bash
# Tempik on a desktop with a window manager: no frame, above another program's
# window, its hot key heard while that one has the focus, and its dialogs
# closed by the window manager without keeping what was chosen in them.
# Needs DISPLAY and WINEPREFIX.
# Usage: desktop.sh path/to/Tempik-<version>-win64.zip
set -uo pipefail
source "$(dirname "$(realpath "$0")")/e2e_lib.sh"
e2e_setup "$@"

frame_extents() { xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p'; }
# The window manager's frame around a window: the window's parent, or the window itself.
frame_geometry() {  # -> FX FY FW FH
    local parent
    parent=$(xwininfo -tree -id "$1" | awk '/Parent window id/ && !/the root window/ { print $4 }')
    [ -n "$parent" ] || parent=$1
    eval "$(x_box "$parent" F)"
}
close_with_button() {  # the frame's close button, at its top-right corner
    frame_geometry "$DLG"
    xdotool mousemove --sync $((FX + FW - 11)) $((FY + 10)) click 1
}
close_with_alt_f4() { xdotool windowactivate --sync "$DLG" 2>/dev/null; xdotool key alt+F4; }

if ! wm_ready; then
    echo "== no window manager on the display: desktop checks skipped"
    finish
fi

echo "== on the desktop: frameless, above other windows, dialogs closed by the window manager"
reg_set Options Hotkey REG_DWORD 4  # F5, as the options would choose it
park_pointer
start_tempik
frame_geometry "$WIN"
check "no frame around Tempik: frame ${FW}x$FH at ($FX, $FY), window ${WIDTH}x$HEIGHT at ($X, $Y)" \
    [ "$FX,$FY,$FW,$FH" = "$X,$Y,$WIDTH,$HEIGHT" ]
check "the window manager reserves no frame for it ($(frame_extents "$WIN"))" \
    [ "$(frame_extents "$WIN")" = "0, 0, 0, 0" ]

start_notepad
if check "notepad opens" wait_for 20 new_notepad; then
    xdotool windowactivate --sync "$NOTEPAD" 2>/dev/null
    xdotool windowmove --sync "$NOTEPAD" $((X - 50)) $((Y - 20))
    notepad_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$NOTEPAD" ]; }
    check "notepad has the focus, moved over Tempik" wait_for 3 notepad_active
    geometry
    check "Tempik's readout stays on top: yellow on black" readout_yellow_on_black
    xdotool key F5
    check "the hot key F5 starts the count while notepad has the focus" wait_for 3 readout_moves
    xdotool key F5
    check "and F5 stops it" wait_for 3 readout_still
    check "notepad kept the focus" notepad_active
    end_notepad
fi

for dialog in "Tempik Options:open_options" "About Tempik:open_about"; do
    caption=${dialog%%:*}
    for how in close_with_button close_with_alt_f4; do
        park_pointer
        ${dialog#*:}
        if check "'$caption' opens with its caption" wait_for 5 dialog_window "$caption"; then
            extents=$(frame_extents "$DLG")
            check "the window manager frames '$caption' with a title bar ($extents)" \
                [ "${extents:-0, 0, 0, 0}" != "0, 0, 0, 0" ]
            # A new hot key chosen but not confirmed must not be kept.
            [ "$caption" = "Tempik Options" ] && { xdotool key shift+Tab; xdotool type F6; }
            $how
            check "$how closes '$caption'" wait_for 5 eval "! dialog_window '$caption'"
            check "and Tempik goes on running" eval '! exited && main_window_up'
        fi
    done
done
park_pointer
press F6
check "F6, typed but cancelled, does not start the count" readout_still
press F5
check "F5 still starts the count" wait_for 3 readout_moves
press F5
check "F5 stops it" wait_for 3 readout_still
end_tempik
finish
