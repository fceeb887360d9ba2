#!/usr/bin/env bash
# Where Tempik's window goes: moved by a drag on its body, saved and opened
# there again, and a saved place off screen brought back into view.
# Needs DISPLAY and WINEPREFIX.
# Usage: placement.sh path/to/Tempik-<version>-win64.zip
set -uo pipefail
source "$(dirname "$(realpath "$0")")/e2e_lib.sh"
e2e_setup "$@"

echo "== dragging the body"
park_pointer
start_tempik
drag_and_check

echo "== Esc ends the program and the position is saved"
end_tempik
position=$(reg_value Window position)
starts_with() { [[ "$1" == "$2"* ]]; }
check "position saved as 0,5,$MOVED_X,$MOVED_Y,..., got '$position'" \
    starts_with "$position" "0,5,$MOVED_X,$MOVED_Y,"

# Pixels of the three-pixel ring just outside a rectangle, as a checksum.
ring() {  # ring X Y W H
    local x=$1 y=$2 w=$3 h=$4 r
    for r in "$((w + 6))x3+$((x - 3))+$((y - 3))" "$((w + 6))x3+$((x - 3))+$((y + h))" \
             "3x${h}+$((x - 3))+$y" "3x${h}+$((x + w))+$y"; do
        import -window root -crop "$r" +repage rgb:- 2>/dev/null
    done | md5sum | cut -d' ' -f1
}

echo "== second start opens where it was left"
desktop=$(ring $MOVED_X $MOVED_Y "$WIDTH" "$HEIGHT")
start_tempik
check "window opens at ($MOVED_X, $MOVED_Y), got ($X, $Y)" at $MOVED_X $MOVED_Y
check "the pixels just outside it are the desktop's, as before it opened" \
    [ "$(ring "$X" "$Y" "$WIDTH" "$HEIGHT")" = "$desktop" ]
press Escape
check "Esc ends Tempik again" wait_for 15 exited

echo "== a window saved almost off screen comes back into view"
read -r SW SH < <(xdotool getdisplaygeometry)
W=$WIDTH; H=$HEIGHT
restored_at $((SW - 4)) $((SH - 4)) $((SW - W)) $((SH - H))
restored_at -229 -64 0 0
restored_at $((SW - 80)) 20 $((SW - W)) 20
restored_at -50 20 -50 20
restored_at 400 400 400 400
finish
