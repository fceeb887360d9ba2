#!/usr/bin/env bash
# Unpacks the release zip and uses its Tempik.exe as a person would: clicks, a
# drag, the hot key, the options dialog, Esc; then reads back what it saved.
# Screenshots go to TEMPIK_E2E_SHOTS (default ./shots-dpi96).
# Needs DISPLAY and WINEPREFIX; OBJDUMP names MinGW's objdump.
# Usage: tempik_e2e.sh path/to/Tempik-<version>-win64.zip
set -uo pipefail

ZIP=$(realpath "${1:?usage: tempik_e2e.sh Tempik-VERSION-win64.zip}")
: "${DISPLAY:?needs an X display}" "${WINEPREFIX:?needs a Wine prefix}"
OBJDUMP=${OBJDUMP:-x86_64-w64-mingw32-objdump}
export WINEDEBUG=-all
KEY='HKCU\Software\Tempik'
SHOTS=$(realpath -m "${TEMPIK_E2E_SHOTS:-shots-dpi96}")
REFERENCE=$(dirname "$(realpath "$0")")/rest-96dpi.png

PID=""
NOTEPAD_PID=""
WIN=""
FAILURES=0
UNPACKED=$(mktemp -d)
EXE=$UNPACKED/Tempik.exe

cleanup() {
    # Only the programs this script started.
    local p
    for p in "$PID" "$NOTEPAD_PID"; do
        if [ -n "$p" ] && kill -0 "$p" 2>/dev/null; then kill "$p" 2>/dev/null; fi
    done
    rm -rf "$UNPACKED"
}
trap cleanup EXIT

pass() { printf 'ok    %s\n' "$*"; }
fail() { printf 'FAIL  %s\n' "$*"; FAILURES=$((FAILURES + 1)); }
check() {  # check "description" command...
    local what=$1; shift
    if "$@"; then pass "$what"; else fail "$what"; return 1; fi
}
die() { fail "$*"; exit 1; }

# Polls "$@" every 0.1 s for up to $1 seconds.
wait_for() {
    local limit=$1; shift
    local n
    for n in $(seq $((limit * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

tempik_windows() { xdotool search --onlyvisible --classname '^tempik\.exe$' 2>/dev/null; }
main_window_up() { WIN=$(tempik_windows | head -n1); [ -n "$WIN" ]; }
geometry() { eval "$(xdotool getwindowgeometry --shell "$WIN")"; }  # X Y WIDTH HEIGHT
at() { geometry; [ "$X" = "$1" ] && [ "$Y" = "$2" ]; }
exited() { ! kill -0 "$PID" 2>/dev/null; }

start_tempik() {
    wine "$EXE" </dev/null >/dev/null 2>&1 &
    PID=$!
    wait_for 20 main_window_up || die "Tempik's window appears"
    geometry
}

# Pixels of the readout strip (client 1,0 - 191,36), as a checksum.
readout() {
    import -window root -crop "190x36+$((X + 1))+$Y" +repage rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}
# Yellow text on black: both colours fill part of the strip.
readout_yellow_on_black() {
    local hist
    hist=$(import -window root -crop "190x36+$((X + 1))+$Y" +repage -depth 8 -format %c histogram:info:- 2>/dev/null)
    grep -q '#FFFF00' <<<"$hist" && grep -q '#000000' <<<"$hist"
}
readout_moves() {
    local a b
    a=$(readout); sleep 0.3; b=$(readout)
    [ "$a" != "$b" ]
}
readout_still() {
    local a b
    a=$(readout); sleep 0.5; b=$(readout)
    [ "$a" = "$b" ]
}
# Button centres from the template's dialog units (window 128 x 36 of them).
click_dlu() {
    geometry
    xdotool mousemove --sync $((X + WIDTH * $1 / 128)) $((Y + HEIGHT * $2 / 36)) click "${3:-1}"
}
# A click on the body (the readout): click_body XDOTOOL_CLICK_ARGS...
click_body() {
    geometry
    xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + 10)) click "$@"
}
# A double click on the body opens the options; the menu's "a" the About box.
open_options() { click_body --repeat 2 --delay 60 1; }
open_about() { click_body 3; sleep 0.3; xdotool key a; }
dialog_window() {  # dialog_window CAPTION -> DLG
    DLG=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1); [ -n "$DLG" ]
}
# Away from the buttons, so that no tooltip or hover look gets in the way.
# (--sync would wait for a motion that never comes if it is there already.)
park_pointer() {
    [ "$(xdotool getmouselocation 2>/dev/null | cut -d' ' -f1-2)" = "x:5 y:5" ] || xdotool mousemove --sync 5 5
}
focus_tempik() { xdotool windowfocus --sync "$WIN" 2>/dev/null; }
press() { focus_tempik; xdotool key "$1"; }
reg_value() {  # reg_value SUBKEY NAME -> the data column
    wine reg query "$KEY\\Tempik\\$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v n="$2" '$1 == n { print $3 }'
}

echo "== the release package"
(cd "$UNPACKED" && cmake -E tar xf "$ZIP") || die "$ZIP unpacks"
contents=$(cd "$UNPACKED" && find . -type f | sort | tr '\n' ' ')
check "the zip holds Tempik.exe, README.txt and LICENSE only, got: $contents" \
    [ "$contents" = "./LICENSE ./README.txt ./Tempik.exe " ]
check "SHA256SUMS beside the zip matches it" \
    bash -c 'cd "$(dirname "$1")" && sha256sum --quiet -c SHA256SUMS' _ "$ZIP"
crlf_line_ends() { ! grep -qv $'\r$' "$1"; }
check "README.txt has Windows line ends" crlf_line_ends "$UNPACKED/README.txt"
imports=$("$OBJDUMP" -p "$EXE" | awk '/DLL Name:/ { print tolower($3) }' | sort | tr '\n' ' ')
system_dlls_only() {
    local dll
    [ -n "$imports" ] || return 1
    for dll in $imports; do
        case $dll in
            advapi32.dll | comctl32.dll | gdi32.dll | kernel32.dll | msvcrt.dll | user32.dll) ;;
            *) return 1 ;;
        esac
    done
}
check "Tempik.exe imports system DLLs only, got: $imports" system_dlls_only

echo "== first start with no settings"
mkdir -p "$SHOTS"
wine reg delete "$KEY" /f >/dev/null 2>&1
park_pointer
start_tempik
check "window opens at (400, 400), got ($X, $Y) ${WIDTH}x$HEIGHT" at 400 400
# The shell comes only with a link opened, and Tempik opens none.
shell_not_loaded() { grep -q 'Tempik\.exe' "/proc/$PID/maps" && ! grep -qi 'shell32\.dll' "/proc/$PID/maps"; }
check "shell32 is not loaded at start-up" shell_not_loaded
# The first paint may still be on its way when the window maps; a count that
# ran would never hold still.
check "readout holds still before Start" wait_for 5 readout_still
# The window at rest as Tempik 1.2 showed it before it followed the display
# scale (tests/e2e/rest-96dpi.png): at 96 DPI it must stay so.
import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$SHOTS/rest.png" 2>/dev/null
echo "      $SHOTS/rest.png"
same_as_reference() {
    [ -f "$REFERENCE" ] || return 1
    local ae
    ae=$(compare -metric AE "$REFERENCE" "$SHOTS/rest.png" "$SHOTS/rest-difference.png" 2>&1 >/dev/null)
    echo "      pixels that differ from $(basename "$REFERENCE"): ${ae:-?}"
    [ "$ae" = 0 ]
}
check "the window at rest is, pixel for pixel, $REFERENCE" same_as_reference
check "readout shows yellow digits on black" readout_yellow_on_black

echo "== Start, the F2 hot key, the menu"
click_dlu 18 30   # Start
park_pointer
check "readout counts after clicking Start" wait_for 3 readout_moves
press F2
check "F2 stops the count" wait_for 3 readout_still
sleep 0.3
check "and it stays stopped" readout_still

geometry
MX=$((X + WIDTH / 2)); MY=$((Y + 10))
menu_at_pointer() {  # a popup opens with its top-left corner at the pointer
    local w
    for w in $(tempik_windows); do
        [ "$w" = "$WIN" ] && continue
        eval "$(xdotool getwindowgeometry --shell "$w" | sed 's/^/M_/')"
        [ "$M_X" = "$MX" ] && [ "$M_Y" = "$MY" ] && return 0
    done
    return 1
}
xdotool mousemove --sync $MX $MY click 3
check "right click opens the popup menu at the pointer" wait_for 3 menu_at_pointer
xdotool key Escape
check "Esc closes the menu" wait_for 3 eval '! menu_at_pointer'
park_pointer

echo "== dragging the body"
geometry
x0=$X; y0=$Y
px=$((X + WIDTH / 2)); py=$((Y + 10))
xdotool mousemove --sync $px $py mousedown 1
xdotool mousemove --sync $((px + 15)) $((py + 5))
xdotool mousemove --sync $((px + 30)) $((py + 10))
sleep 0.2
xdotool mouseup 1
park_pointer
check "drag by (30, 10) moves the window to ($((x0 + 30)), $((y0 + 10)))" wait_for 3 at $((x0 + 30)) $((y0 + 10))

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

# A window manager runs on the display (as on any desktop) unless the run was
# asked to do without one.
wm_running() {
    local w
    w=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ { print $NF }')
    [ -n "$w" ]
}
frame_extents() { xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p'; }
# The window manager's frame around a window: the window's parent, or the window itself.
frame_geometry() {  # -> FX FY FW FH
    local parent
    parent=$(xwininfo -tree -id "$1" | awk '/Parent window id/ && !/the root window/ { print $4 }')
    [ -n "$parent" ] || parent=$1
    eval "$(xwininfo -id "$parent" | awk -F: '
        /Absolute upper-left X/ { print "FX=" $2+0 } /Absolute upper-left Y/ { print "FY=" $2+0 }
        /Width/ { print "FW=" $2+0 } /Height/ { print "FH=" $2+0 }')"
}
# Pixels of the three-pixel ring just outside a rectangle, as a checksum.
ring() {  # ring X Y W H
    local x=$1 y=$2 w=$3 h=$4 r
    for r in "$((w + 6))x3+$((x - 3))+$((y - 3))" "$((w + 6))x3+$((x - 3))+$((y + h))" \
             "3x${h}+$((x - 3))+$y" "3x${h}+$((x + w))+$y"; do
        import -window root -crop "$r" +repage rgb:- 2>/dev/null
    done | md5sum | cut -d' ' -f1
}
close_with_button() {  # the frame's close button, at its top-right corner
    frame_geometry "$DLG"
    xdotool mousemove --sync $((FX + FW - 11)) $((FY + 10)) click 1
}
close_with_alt_f4() { xdotool windowactivate --sync "$DLG" 2>/dev/null; xdotool key alt+F4; }

if wm_running; then
    echo "== on the desktop: frameless, above other windows, dialogs closed by the window manager"
    geometry
    frame_geometry "$WIN"
    check "no frame around Tempik: frame ${FW}x$FH at ($FX, $FY), window ${WIDTH}x$HEIGHT at ($X, $Y)" \
        [ "$FX,$FY,$FW,$FH" = "$X,$Y,$WIDTH,$HEIGHT" ]
    check "the window manager reserves no frame for it ($(frame_extents "$WIN"))" \
        [ "$(frame_extents "$WIN")" = "0, 0, 0, 0" ]

    # wine starts notepad through start.exe: its own process is the one its window names.
    notepads_before=$(xdotool search --name 'Notepad$' 2>/dev/null)
    wine notepad </dev/null >/dev/null 2>&1 &
    new_notepad() {
        local w
        for w in $(xdotool search --onlyvisible --name 'Notepad$' 2>/dev/null); do
            grep -qx "$w" <<<"$notepads_before" && continue
            NOTEPAD=$w
            NOTEPAD_PID=$(xprop -id "$w" _NET_WM_PID 2>/dev/null | awk '{ print $NF }')
            return 0
        done
        return 1
    }
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
        kill "$NOTEPAD_PID" 2>/dev/null; NOTEPAD_PID=""
        notepad_gone() { ! xdotool getwindowname "$NOTEPAD" >/dev/null 2>&1; }
        wait_for 5 notepad_gone
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
else
    echo "== no window manager on the display: desktop checks skipped"
fi

echo "== Esc ends the program and the settings are saved"
press Escape
check "Esc ends Tempik" wait_for 15 exited || die "Tempik did not end"
hotkey=$(reg_value Options Hotkey)
position=$(reg_value Window position)
check "Hotkey saved as 4 (F5), got '$hotkey'" [ "$hotkey" = "0x4" ]
starts_with() { [[ "$1" == "$2"* ]]; }
check "position saved as 0,5,$((x0 + 30)),$((y0 + 10)),..., got '$position'" \
    starts_with "$position" "0,5,$((x0 + 30)),$((y0 + 10)),"

echo "== second start opens where it was left"
desktop=$(ring $((x0 + 30)) $((y0 + 10)) "$WIDTH" "$HEIGHT")
start_tempik
check "window opens at ($((x0 + 30)), $((y0 + 10))), got ($X, $Y)" at $((x0 + 30)) $((y0 + 10))
check "the pixels just outside it are the desktop's, as before it opened" \
    [ "$(ring "$X" "$Y" "$WIDTH" "$HEIGHT")" = "$desktop" ]
press Escape
check "Esc ends Tempik again" wait_for 15 exited

# ---- A window that can be found and named, a clean first frame, menus no tip covers

# The light areas below the readout, as WxH+X+Y, of 100 pixels or more.
button_faces() {
    import -window root -crop "${WIDTH}x$((HEIGHT - 36))+$X+$((Y + 36))" +repage png:- 2>/dev/null |
        convert png:- -threshold 75% -define connected-components:verbose=true -connected-components 4 null: |
        awk '$NF ~ /255\)$/ && $4 >= 100 { print $2 }'
}
# Three faces of one height in one row: no stale copy of a button beside it.
plain_faces() {
    local faces
    faces=$(button_faces)
    [ "$(wc -l <<<"$faces")" -eq 3 ] && [ "$(sed 's/^[0-9]*x//; s/+[0-9]*+/+/' <<<"$faces" | sort -u | wc -l)" -eq 1 ]
}
visible_windows() { [ "$(tempik_windows | wc -l)" -eq "$1" ]; }
point_at_more() { geometry; xdotool mousemove --sync $((X + WIDTH * 108 / 128)) $((Y + HEIGHT * 30 / 36)); }
u32() { echo $((($1 + 4294967296) % 4294967296)); }
# restored_at LEFT TOP X Y: a record stored at (LEFT, TOP) brings the window back at (X, Y).
restored_at() {
    wine reg add "$KEY\\Tempik\\Window" /v position /t REG_SZ /d "0,1,$(u32 "$1"),$(u32 "$2")" /f >/dev/null 2>&1
    start_tempik
    printf '      stored %5d, %4d -> restored %5d, %4d\n' "$1" "$2" "$X" "$Y"
    check "stored ($1, $2) restores at ($3, $4)" at "$3" "$4"
    press Escape
    wait_for 15 exited || die "Tempik did not end"
}

echo "== the first frame, the window's name and icon"
park_pointer
start_tempik
wait_for 5 readout_still
check "the first frame shows the three buttons and no stale copy: $(button_faces | tr '\n' ' ')" plain_faces
check "the window manager names the window Tempik" \
    eval '[ "$(xdotool getwindowname "$WIN")" = Tempik ] && xprop -id "$WIN" _NET_WM_NAME | grep -q "\"Tempik\""'
check "it has an icon" eval 'xprop -id "$WIN" _NET_WM_ICON | grep -q "Icon ("'

echo "== no tip over the menu of a quick click on More"
click_dlu 18 30   # Start
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

echo "== a window saved almost off screen comes back into view"
read -r SW SH < <(xdotool getdisplaygeometry)
W=$WIDTH; H=$HEIGHT
restored_at $((SW - 4)) $((SH - 4)) $((SW - W)) $((SH - H))
restored_at -229 -64 0 0
restored_at $((SW - 80)) 20 $((SW - W)) 20
restored_at -50 20 -50 20
restored_at 400 400 400 400

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed"
    exit 1
fi
echo "all end-to-end checks passed"
