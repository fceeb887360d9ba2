#!/usr/bin/env bash
# Where Tempik's window goes: moved by a drag on its body, saved and opened
# there again, also after the process was killed right after the drag, a saved
# place off screen brought back into view, and a saved window state that is
# not the normal one opened normal.
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

echo "== a drag is saved at once: killed right after it, Tempik opens where it was dragged"
drag_and_check
kill_tempik
position=$(reg_value Window position)
check "position saved as 0,5,$MOVED_X,$MOVED_Y,..., got '$position'" \
    starts_with "$position" "0,5,$MOVED_X,$MOVED_Y,"
start_tempik
check "window opens at ($MOVED_X, $MOVED_Y), got ($X, $Y)" at $MOVED_X $MOVED_Y
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

echo "== whatever state a record names, the window opens normal and is saved normal"
# RECORD X Y: earlier versions wrote 2,3 (maximised) and 0,7 or 2,7 (minimised);
# hidden, minimised of every kind, a token that is no number, fields missing.
opens_normal() {
    local saved
    reg_set Window position REG_SZ "$1"
    launch_tempik
    if check "$1: the window shows" wait_for 20 main_window_up; then
        geometry
        check "$1: ${WIDTH}x$HEIGHT at ($X, $Y), normal is ${W}x$H at ($2, $3)" \
            [ "$WIDTH,$HEIGHT,$X,$Y" = "$W,$H,$2,$3" ]
        end_tempik
        saved=$(reg_value Window position)
        check "$1: saved as 0,5,$2,$3,..., got '$saved'" starts_with "$saved" "0,5,$2,$3,"
    else
        kill "$PID"; wait "$PID"
    fi
}
for row in "0,0,300,200,0,0 300 200" "0,2,300,200,0,0 300 200" "2,3,310,210,508,275 310 210" \
           "0,6,320,220,0,0 320 220" "2,7,330,230,0,0 330 230" "0,11,340,240,0,0 340 240" \
           "0,max,350,250,0,0 350 250" "2,3 0 0"; do
    read -r record x y <<<"$row"
    opens_normal "$record" "$x" "$y"
done
finish
