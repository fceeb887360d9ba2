# Sourced by every end-to-end scenario: the released Tempik.exe unpacked from
# the zip, started and ended, watched through X (xdotool, xprop, ImageMagick).
# A scenario calls e2e_setup ZIP first: it starts from a fresh registry key,
# so with no settings, and on exit ends only what it started.
# Environment: DISPLAY and WINEPREFIX (tools/on-desktop gives them),
# ACCESSIBILITY_CLIENT (AccessibilityClient.exe, through which the scenarios
# find Tempik's parts); at another display scale TEMPIK_E2E_DPI: the scenario
# runs in the prefix dpi<N> of the Wine's prefixes (a copy of the desktop's
# prefix with LogPixels set, which ./dev test makes), whose wineserver and
# desktop process it starts and ends itself. Screenshots go to
# TEMPIK_E2E_SHOTS (default /tmp/tempik-e2e-<scenario>-dpi<DPI>).

# wait_for, wm_ready, start_wineserver and desktop_cleanup: the desktop library.
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/desktop.sh"

SCENARIO=$(basename "$0" .sh)
KEY='HKCU\Software\Tempik'
DPI=${TEMPIK_E2E_DPI:-96}
SCALED_PREFIX=""
if [ "$DPI" != 96 ]; then wine_prefixes && SCALED_PREFIX=$TEMPIK_WINE_PREFIXES/dpi$DPI; fi
SHOTS=$(realpath -m "${TEMPIK_E2E_SHOTS:-${TMPDIR:-/tmp}/tempik-e2e-$SCENARIO-dpi$DPI}")

# What this scenario started; cleanup ends these and nothing else.
PID=""
NOTEPAD_PID=""
HOLDER_PID=""
KEEPER_PID=""
UNPACKED=""
WIN=""
FAILURES=0

cleanup() {
    local p
    for p in "$PID" "$NOTEPAD_PID" "$HOLDER_PID" "$KEEPER_PID"; do
        if [ -n "$p" ] && kill -0 "$p" 2>/dev/null; then kill "$p" 2>/dev/null; fi
    done
    desktop_cleanup  # the scaled prefix's wineserver, if this scenario started it
    [ -z "$UNPACKED" ] || rm -rf "$UNPACKED"
}

pass() { printf 'ok    %s\n' "$*"; }
fail() { printf 'FAIL  %s\n' "$*"; FAILURES=$((FAILURES + 1)); }
check() {  # check "description" command...
    local what=$1; shift
    if "$@"; then pass "$what"; else fail "$what"; return 1; fi
}
die() { fail "$*"; exit 1; }
finish() {
    if [ "$FAILURES" -ne 0 ]; then
        echo "$FAILURES check(s) failed"
        exit 1
    fi
    echo "all $SCENARIO checks passed"
    exit 0
}

# The scaled prefix gets this scenario's own wineserver and desktop process:
# Wine reads the display scale when the prefix's wineserver starts.
start_scaled_wineserver() {  # start_scaled_wineserver PREFIX
    prefix_made "$1" || die "no Wine prefix at $1 (./dev test makes it)"
    export WINEPREFIX=$1
    start_wineserver
}

# e2e_setup ZIP: the zip unpacked (EXE is its Tempik.exe), the scaled prefix's
# wineserver if there is one, and no settings.
e2e_setup() {
    ZIP=$(realpath "${1:?usage: $SCENARIO.sh Tempik-VERSION-win64.zip ...}")
    : "${DISPLAY:?needs an X display}" "${WINEPREFIX:?needs a Wine prefix}"
    export WINEDEBUG=-all
    UNPACKED=$(mktemp -d)
    EXE=$UNPACKED/Tempik.exe
    trap cleanup EXIT
    [ -z "$SCALED_PREFIX" ] || start_scaled_wineserver "$SCALED_PREFIX"
    (cd "$UNPACKED" && cmake -E tar xf "$ZIP") || die "$ZIP unpacks"
    # The desktop's prefix keeps what earlier tests chose.
    wine reg delete "$KEY" /f >/dev/null 2>&1
}

reg_value() {  # reg_value SUBKEY NAME -> the data column
    wine reg query "$KEY\\Tempik\\$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v n="$2" '$1 == n { print $3 }'
}
reg_set() {  # reg_set SUBKEY NAME TYPE DATA
    wine reg add "$KEY\\Tempik\\$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1
}

tempik_windows() { xdotool search --onlyvisible --classname '^tempik\.exe$' 2>/dev/null; }
main_window_up() { WIN=$(first_window '^tempik\.exe$'); }
geometry() { eval "$(xdotool getwindowgeometry --shell "$WIN")"; }  # X Y WIDTH HEIGHT
at() { geometry; [ "$X" = "$1" ] && [ "$Y" = "$2" ]; }
exited() { process_gone "$PID"; }

launch_tempik() { wine "$EXE" </dev/null >/dev/null 2>&1 & PID=$!; }
# start_tempik [--unasked]: the first start also asks where the parts are,
# unless told not to (a screen reader's questions load libraries into Tempik).
start_tempik() {
    launch_tempik
    wait_for 20 main_window_up || die "Tempik's window appears"
    geometry
    [ "${1:-}" = --unasked ] || [ -n "${PARTS[*]}" ] || locate_parts
}
focus_tempik() { xdotool windowfocus --sync "$WIN" 2>/dev/null; }
press() { focus_tempik; xdotool key "$1"; }
end_tempik() {  # Esc, where no check of it is wanted
    press Escape
    wait_for 15 exited || die "Tempik did not end"
}
# Ends Tempik as Task Manager or a crash does: at once, with nothing saved on the way out.
# The process is the one its window names (wine may start it through another).
kill_tempik() {
    local pid
    pid=$(xprop -id "$WIN" _NET_WM_PID 2>/dev/null | awk '/= [0-9]+$/ { print $NF }')
    [ -n "$pid" ] || die "Tempik's window names its process"
    kill -KILL "$pid"
    wait_for 15 exited || die "Tempik did not end when killed"
    wait_for 5 eval '[ -z "$(tempik_windows)" ]' || die "Tempik's windows went with it"
}

# A figure of 96-DPI pixels at this scale: MulDiv(a, DPI, 96), for a >= 0.
scaled() { echo $((($1 * DPI + 48) / 96)); }

# Where the readout and the buttons are, as a screen reader finds them
# (ACCESSIBILITY_CLIENT names AccessibilityClient.exe; its dump gives each
# child's place on screen), kept relative to the window's corner, which moves:
# PARTS[readout|start|reset|more]="W H X Y", and the readout's as RW RH RX RY.
declare -A PARTS=()
# locate_parts [DUMP]: from the client's dump, asked now unless given.
locate_parts() {
    local dump id w h x y names=(readout start reset more)
    dump=${1-$(timeout 30 wine "${ACCESSIBILITY_CLIENT:?names AccessibilityClient.exe}" dump </dev/null 2>/dev/null)}
    geometry
    while read -r id w h x y; do
        PARTS[${names[id - 1]}]="$w $h $((x - X)) $((y - Y))"
    done < <(tr -d '\r' <<<"$dump" | sed -n 's/^\([1-4]\): .* location=\([0-9]*\)x\([0-9]*\)+\(-*[0-9]*\)+\(-*[0-9]*\)$/\1 \2 \3 \4 \5/p')
    [ "${#PARTS[@]}" = 4 ] || die "a screen reader finds the readout and the three buttons: ${PARTS[*]}"
    read -r RW RH RX RY <<<"${PARTS[readout]}"
}
# point_at PART[+DX] [XDOTOOL_ARGS...]: the pointer to the middle of PART, or
# DX pixels right of it (at CX, CY), in one move, then the rest.
point_at() {
    local w h x y dx=0
    [[ $1 != *+* ]] || dx=${1#*+}
    read -r w h x y <<<"${PARTS[${1%+*}]}"; shift
    geometry
    CX=$((X + x + w / 2 + dx)) CY=$((Y + y + h / 2))
    xdotool mousemove --sync "$CX" "$CY" "$@"
}
readout_box() { echo "${RW}x$RH+$((X + RX))+$((Y + RY))"; }
readout_image() { import -window root -crop "$(readout_box)" +repage "$@" 2>/dev/null; }  # ...OUTPUT
# Pixels of the readout strip, as a checksum.
readout() { readout_image rgb:- | md5sum | cut -d' ' -f1; }
# Yellow text on black: both colours fill part of the strip.
readout_yellow_on_black() {
    local hist
    hist=$(readout_image -depth 8 -format %c histogram:info:-)
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
# The window below the readout, the row of buttons, as an image: below_readout OUTPUT.
below_readout() {
    import -window root -crop "${WIDTH}x$((HEIGHT - RY - RH))+$X+$((Y + RY + RH))" +repage "$1" 2>/dev/null
}
# The light areas below the readout, as WxH+X+Y, of 100 pixels or more.
button_faces() {
    below_readout png:- |
        convert png:- -threshold 75% -define connected-components:verbose=true -connected-components 4 null: |
        awk '$NF ~ /255\)$/ && $4 >= 100 { print $2 }'
}

# The saturated pixels below the readout (only a hovered button shows colour;
# at rest the icons are grey), as WxH of the box around them, empty if none.
coloured_box() {
    below_readout png:- |
        convert png:- -colorspace HCL -channel G -separate +channel -threshold 25% -format '%@' info:- |
        awk -F+ '$1 != "0x0" { print $1 }'
}
hovered() { ICON=$(coloured_box); [ -n "$ICON" ]; }

# A double click on the body (the readout) opens the options; the menu's "a" the About box.
open_options() { point_at readout click --repeat 2 --delay 60 1; }
open_about() { point_at readout click 3; sleep 0.3; xdotool key a; }
dialog_window() {  # dialog_window CAPTION -> DLG
    DLG=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1); [ -n "$DLG" ]
}
# A popup of Tempik's with its top-left corner at (MX, MY).
menu_at_pointer() {
    local w
    for w in $(tempik_windows); do
        [ "$w" = "$WIN" ] && continue
        eval "$(xdotool getwindowgeometry --shell "$w" | sed 's/^/M_/')"
        [ "$M_X" = "$MX" ] && [ "$M_Y" = "$MY" ] && return 0
    done
    return 1
}
# Away from the buttons, so that no tooltip or hover look gets in the way.
# (--sync would wait for a motion that never comes if it is there already.)
park_pointer() {
    [ "$(xdotool getmouselocation 2>/dev/null | cut -d' ' -f1-2)" = "x:5 y:5" ] || xdotool mousemove --sync 5 5
}

# A drag on the body by (30, 10) screen pixels.
drag_body() {
    point_at readout mousedown 1
    xdotool mousemove --sync $((CX + 15)) $((CY + 5))
    xdotool mousemove --sync $((CX + 30)) $((CY + 10))
    sleep 0.2
    xdotool mouseup 1
    park_pointer
}
# drag_and_check: drag_body, and the check that the window followed to MOVED_X MOVED_Y.
drag_and_check() {
    geometry
    MOVED_X=$((X + 30)) MOVED_Y=$((Y + 10))
    drag_body
    check "drag by (30, 10) moves the window to ($MOVED_X, $MOVED_Y)" wait_for 3 at "$MOVED_X" "$MOVED_Y"
}
u32() { echo $((($1 + 4294967296) % 4294967296)); }
# Where Tempik's window asked to be shown: the place of its last configuration
# before the window manager took it (or, without one, before it was mapped),
# as "X Y", from the log of `xev -root -event substructure` in $1.
asked_place() {
    awk -v w="$(printf '0x%x' "$WIN")" '
        /^[A-Za-z]+ event,/ { type = $1; next }
        $4 == w "," && type == "ConfigureNotify" { split($5, p, /[(),]/); place = p[2] " " p[3] }
        $4 == w "," && (type == "ReparentNotify" || type == "MapNotify") { exit }
        END { print place }' "$1"
}
# restored_at LEFT TOP X Y: a record stored at (LEFT, TOP) has Tempik ask for
# (X, Y). The platform may move a window partly off screen wholly onto it when
# it shows it (as openbox does when Wine 10 lets it), so the window shows
# there or moved the shortest way onto the screen.
restored_at() {
    local log place sw sh
    reg_set Window position REG_SZ "0,1,$(u32 "$1"),$(u32 "$2")"
    log=$(mktemp)
    xev -root -event substructure >"$log" 2>/dev/null &
    local xev=$!
    sleep 0.2
    start_tempik
    kill "$xev"; wait "$xev" 2>/dev/null
    place=$(asked_place "$log"); rm -f "$log"
    read -r sw sh < <(xdotool getdisplaygeometry)
    local ix=$(($3 < 0 ? 0 : $3 > sw - WIDTH ? sw - WIDTH : $3)) iy=$(($4 < 0 ? 0 : $4 > sh - HEIGHT ? sh - HEIGHT : $4))
    printf '      stored %5d, %4d -> asked %9s -> shown %5d, %4d\n' "$1" "$2" "${place/ /, }" "$X" "$Y"
    check "stored ($1, $2): Tempik asks for ($3, $4)" [ "$place" = "$3 $4" ]
    check "and shows there or wholly on screen at ($ix, $iy)" eval "at $3 $4 || at $ix $iy"
    end_tempik
}

# A window's box on screen, by X (xdotool misplaces framed windows), as
# assignments: x_box WINDOW P -> PX= PY= PW= PH=
x_box() {
    xwininfo -id "$1" | awk -F: -v p="$2" '
        /Absolute upper-left X/ { print p "X=" $2+0 } /Absolute upper-left Y/ { print p "Y=" $2+0 }
        /Width/ { print p "W=" $2+0 } /Height/ { print p "H=" $2+0 }'
}
# The window's client area on screen: client_geometry WINDOW -> GX GY GW GH
client_geometry() { eval "$(x_box "$1" G)"; }
# shot WINDOW NAME: its client area to $SHOTS/NAME.png once two looks 0.1 s apart
# agree (a window just opened may still be painting), within 3 s; GX GY GW GH as
# client_geometry.
shot() {
    SHOT=$SHOTS/$2.png SHOT_SUM=""
    client_geometry "$1"
    mkdir -p "$SHOTS"
    wait_for 3 shot_settled
    echo "      $SHOT"
}
# One more look into $SHOT; succeeds if it shows what the look before showed.
shot_settled() {
    local sum
    import -window root -crop "${GW}x$GH+$GX+$GY" +repage "$SHOT" 2>/dev/null
    sum=$(convert "$SHOT" rgb:- 2>/dev/null | md5sum)
    [ "$sum" = "$SHOT_SUM" ] && return 0
    SHOT_SUM=$sum
    return 1
}

# Notepad opened beside Tempik: NOTEPAD its window, NOTEPAD_PID its process.
# wine starts it through start.exe: its own process is the one its window names.
start_notepad() {
    NOTEPADS_BEFORE=$(xdotool search --name 'Notepad$' 2>/dev/null)
    wine notepad </dev/null >/dev/null 2>&1 &
}
new_notepad() {
    local w
    for w in $(xdotool search --onlyvisible --name 'Notepad$' 2>/dev/null); do
        grep -qx "$w" <<<"$NOTEPADS_BEFORE" && continue
        NOTEPAD=$w
        NOTEPAD_PID=$(xprop -id "$w" _NET_WM_PID 2>/dev/null | awk '{ print $NF }')
        return 0
    done
    return 1
}
end_notepad() {
    kill "$NOTEPAD_PID" 2>/dev/null; NOTEPAD_PID=""
    notepad_gone() { ! xdotool getwindowname "$NOTEPAD" >/dev/null 2>&1; }
    wait_for 5 notepad_gone
}
