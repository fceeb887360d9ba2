#!/usr/bin/env bash
# Starts Tempik under Wine on $DISPLAY, clicks Start, lets it count for about
# three seconds and saves a picture of its window.
# Usage: tools/screenshot.sh path/to/Tempik.exe out.png
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/desktop.sh"

exe=${1:?usage: screenshot.sh Tempik.exe out.png}
png=${2:?usage: screenshot.sh Tempik.exe out.png}
: "${DISPLAY:?needs an X display}"
export WINEDEBUG=${WINEDEBUG:--all}

wine "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
finish() {
    # Esc ends the dialog; if it did not, end the one process started here.
    if kill -0 "$pid" 2>/dev/null; then
        sleep 2
        kill "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
}
trap finish EXIT

win=$(wait_for_window '^tempik\.exe$' 15) || { echo "screenshot: Tempik's window did not appear" >&2; exit 1; }

eval "$(xdotool getwindowgeometry --shell "$win")"   # X Y WIDTH HEIGHT
# The dialog is 128 x 36 dialog units; Start's centre is at (18, 30) of them.
xdotool mousemove --sync $((X + WIDTH * 18 / 128)) $((Y + HEIGHT * 30 / 36)) click 1
sleep 3
# Park the pointer away from the buttons so none is shown hovered.
xdotool mousemove --sync $((X + WIDTH + 40)) $((Y + HEIGHT + 40))
sleep 0.3

mkdir -p "$(dirname "$png")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$png"

xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key Escape
wait_for 5 process_gone "$pid" || true
echo "screenshot saved to $png"
