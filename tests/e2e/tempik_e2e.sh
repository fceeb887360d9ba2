#!/usr/bin/env bash
# Unpacks the release zip and uses its Tempik.exe as a person would: clicks, a
# drag, the hot key, the options dialog, Esc; then reads back what it saved.
# At a display scale other than 96 DPI (TEMPIK_E2E_DPI) only the checks whose
# pixel figures follow the scale run, in the Wine prefix TEMPIK_E2E_PREFIX (a
# copy of the desktop's with LogPixels set, which ./dev test makes), whose
# wineserver and desktop process this script starts and ends itself.
# Screenshots go to TEMPIK_E2E_SHOTS (default /tmp/tempik-e2e-dpi<DPI>).
# Needs DISPLAY and WINEPREFIX; OBJDUMP names MinGW's objdump.
# Usage: tempik_e2e.sh path/to/Tempik-<version>-win64.zip
set -uo pipefail

ZIP=$(realpath "${1:?usage: tempik_e2e.sh Tempik-VERSION-win64.zip}")
: "${DISPLAY:?needs an X display}" "${WINEPREFIX:?needs a Wine prefix}"
OBJDUMP=${OBJDUMP:-x86_64-w64-mingw32-objdump}
export WINEDEBUG=-all
KEY='HKCU\Software\Tempik'
DPI=${TEMPIK_E2E_DPI:-96}
SCALED_PREFIX=${TEMPIK_E2E_PREFIX:-}
SHOTS=$(realpath -m "${TEMPIK_E2E_SHOTS:-${TMPDIR:-/tmp}/tempik-e2e-dpi$DPI}")
REFERENCE=$(dirname "$(realpath "$0")")/rest-96dpi.png

PID=""
NOTEPAD_PID=""
OWN_WINESERVER=""
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
    if [ -n "$OWN_WINESERVER" ]; then wineserver -k 2>/dev/null; fi
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
finish() {
    if [ "$FAILURES" -ne 0 ]; then
        echo "$FAILURES check(s) failed"
        exit 1
    fi
    echo "all end-to-end checks passed"
    exit 0
}

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

# A figure of 96-DPI pixels at this scale: MulDiv(a, DPI, 96), for a >= 0.
scaled() { echo $((($1 * DPI + 48) / 96)); }
# The readout strip in client pixels: (1, 0) 190 x 36 at 96 DPI.
RX=$(scaled 1) RW=$(scaled 190) RH=$(scaled 36)
readout_box() { echo "${RW}x$RH+$((X + RX))+$Y"; }
# Pixels of the readout strip, as a checksum.
readout() {
    import -window root -crop "$(readout_box)" +repage rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}
# Yellow text on black: both colours fill part of the strip.
readout_yellow_on_black() {
    local hist
    hist=$(import -window root -crop "$(readout_box)" +repage -depth 8 -format %c histogram:info:- 2>/dev/null)
    grep -q '#FFFF00' <<<"$hist" && grep -q '#000000' <<<"$hist"
}
# The light areas below the readout, as WxH+X+Y, of 100 pixels or more.
button_faces() {
    import -window root -crop "${WIDTH}x$((HEIGHT - RH))+$X+$((Y + RH))" +repage png:- 2>/dev/null |
        convert png:- -threshold 75% -define connected-components:verbose=true -connected-components 4 null: |
        awk '$NF ~ /255\)$/ && $4 >= 100 { print $2 }'
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
    xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + $(scaled 10))) click "$@"
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

# A drag on the body by (30, 10) screen pixels.
drag_body() {
    local px py
    geometry
    px=$((X + WIDTH / 2)); py=$((Y + $(scaled 10)))
    xdotool mousemove --sync $px $py mousedown 1
    xdotool mousemove --sync $((px + 15)) $((py + 5))
    xdotool mousemove --sync $((px + 30)) $((py + 10))
    sleep 0.2
    xdotool mouseup 1
    park_pointer
}
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

if [ -n "$SCALED_PREFIX" ]; then
    # Wine reads the scale when the prefix's wineserver starts: this run's own,
    # with the desktop process kept up by a console that waits for input, as
    # ./dev keeps it for its desktops.
    [ -f "$SCALED_PREFIX/user.reg" ] || die "no Wine prefix at $SCALED_PREFIX (./dev test makes it)"
    export WINEPREFIX=$SCALED_PREFIX
    OWN_WINESERVER=1
    wineserver -p 2>/dev/null
    wine cmd /c exit </dev/null >/dev/null 2>&1
    wine explorer.exe /desktop </dev/null >/dev/null 2>&1 &
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    exec {KEEP_DESKTOP}<>"$fifo"
    rm -f "$fifo"
    wine cmd <&"$KEEP_DESKTOP" >/dev/null 2>&1 &
fi

(cd "$UNPACKED" && cmake -E tar xf "$ZIP") || die "$ZIP unpacks"
if [ "$DPI" = 96 ]; then
    echo "== the release package"
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
fi

# ---- The checks whose pixel figures follow the display scale, at every scale

# Figures measured at 96 DPI by the functions below, which every scale is held
# to, scaled (the run at 96 checks that they still hold there).
INK_96=177x20        # the yellow ink of 00:00:00.000
ICON_96=13x15        # the coloured pixels of the hovered Reset button
OPTIONS_96=278x166   # "Tempik Options": client area, then its text lines
OPTIONS_LINES_96="74x9+21+12 15x8+216+18 11x8+37+46 36x9+205+47"
LIST_96=84x158       # its hot-key list dropped down, F2 chosen (white on blue)
LIST_LINES_96="27x8+3+3 11x8+3+29 11x8+3+42 11x8+3+55 11x8+3+68 11x8+3+81 11x8+3+94 11x8+3+107 18x8+3+120 18x8+3+133 18x8+3+146"
ABOUT_96=350x65
ABOUT_LINES_96="109x11+18+17 15x8+273+34 158x11+18+37"

# about ACTUAL EXPECTED_AT_96: ACTUAL within 12 % of EXPECTED_AT_96 at this scale.
about() { awk -v a="$1" -v e="$2" -v s="$DPI" 'BEGIN { e *= s / 96; exit !(a >= e * 0.88 && a <= e * 1.12) }'; }
# about_size WxH WxH_AT_96
about_size() { about "${1%x*}" "${2%x*}" && about "${1#*x}" "${2#*x}"; }

# The yellow ink in the readout box as connected parts: "PARTS WxH+X+Y EDGE",
# their number, the box around them all (in the readout box) and whether any
# part touches the box's edge (1) or none does (0).
readout_ink() {
    import -window root -crop "$(readout_box)" +repage png:- 2>/dev/null |
        convert png:- -channel R -separate +channel -threshold 50% \
            -define connected-components:verbose=true -connected-components 8 null: |
        awk -v w="$RW" -v h="$RH" '$NF == "gray(255)" {
            split($2, b, /[x+]/)
            if (!n++) { x0 = b[3]; y0 = b[4]; x1 = b[3] + b[1]; y1 = b[4] + b[2] }
            if (b[3] < x0) x0 = b[3]; if (b[4] < y0) y0 = b[4]
            if (b[3] + b[1] > x1) x1 = b[3] + b[1]; if (b[4] + b[2] > y1) y1 = b[4] + b[2]
        } END { printf "%d %dx%d+%d+%d %d\n", n, x1 - x0, y1 - y0, x0, y0, n && (x0 == 0 || y0 == 0 || x1 == w || y1 == h) }'
}

# The saturated pixels below the readout (only a hovered button shows colour;
# at rest the icons are grey), as WxH of the box around them, empty if none.
coloured_box() {
    import -window root -crop "${WIDTH}x$((HEIGHT - RH))+$X+$((Y + RH))" +repage png:- 2>/dev/null |
        convert png:- -colorspace HCL -channel G -separate +channel -threshold 25% -format '%@' info:- |
        awk -F+ '$1 != "0x0" { print $1 }'
}
hovered() { ICON=$(coloured_box); [ -n "$ICON" ]; }

# The window's client area on screen, by X (xdotool misplaces framed windows).
client_geometry() {  # client_geometry WINDOW -> GX GY GW GH
    eval "$(xwininfo -id "$1" | awk -F: '
        /Absolute upper-left X/ { print "GX=" $2+0 } /Absolute upper-left Y/ { print "GY=" $2+0 }
        /Width/ { print "GW=" $2+0 } /Height/ { print "GH=" $2+0 }')"
}
# shot WINDOW NAME: its client area to $SHOTS/NAME.png; GX GY GW GH as client_geometry.
shot() {
    client_geometry "$1"
    import -window root -crop "${GW}x$GH+$GX+$GY" +repage "$SHOTS/$2.png" 2>/dev/null
    echo "      $SHOTS/$2.png"
}
# The lines of dark, grey text in an image (not the coloured focus frames), as
# WxH+X+Y: its dark parts of 3 or more pixels no taller than a line, joined
# when they share rows and lie within a space of each other; what is lower
# than a capital (a combo box's arrow) is no text.
text_lines() {  # text_lines IMAGE
    convert "$1" \( +clone -colorspace gray -threshold 60% -negate \) \
            \( -clone 0 -colorspace HCL -channel G -separate +channel -threshold 20% -negate \) \
            -delete 0 -compose multiply -composite \
            -define connected-components:verbose=true -connected-components 8 null: |
        awk -v tallest="$(scaled 16)" -v lowest="$(scaled 6)" -v space="$(scaled 8)" '
            $NF == "gray(255)" && $4 >= 3 {
                split($2, b, /[x+]/)
                if (b[2] > tallest) next
                n++; x0[n] = b[3]; y0[n] = b[4]; x1[n] = b[3] + b[1]; y1[n] = b[4] + b[2]
            }
            END {
                do {
                    joined = 0
                    for (i = 1; i <= n; i++) if (i in x0) for (j = i + 1; j <= n; j++) if (j in x0)
                        if (y0[j] < y1[i] && y0[i] < y1[j] && x0[j] <= x1[i] + space && x0[i] <= x1[j] + space) {
                            if (x0[j] < x0[i]) x0[i] = x0[j]; if (y0[j] < y0[i]) y0[i] = y0[j]
                            if (x1[j] > x1[i]) x1[i] = x1[j]; if (y1[j] > y1[i]) y1[i] = y1[j]
                            delete x0[j]; joined = 1
                        }
                } while (joined)
                for (i = 1; i <= n; i++) if (i in x0 && y1[i] - y0[i] >= lowest)
                    printf "%dx%d+%d+%d\n", x1[i] - x0[i], y1[i] - y0[i], x0[i], y0[i]
            }' | sort -t+ -k3,3n -k2,2n | tr '\n' ' ' | sed 's/ $//'
}
# unclipped NAME SIZE_96 "LINES_96": the window shot as NAME (client GWxGH) is
# about the scale times its size at 96 and shows the same text lines: each where
# it was, relative to the window, about the scale times as wide, at least nearly
# as tall, and inside the client area with a margin. A text cut by its control
# or by the window is narrower or lower, or gone, or at the edge. Sets PROBLEMS
# to what differs.
unclipped() {
    local lines
    lines=$(text_lines "$SHOTS/$1.png")
    PROBLEMS=$(awk -v s="$DPI" -v size="$2" -v gw="$GW" -v gh="$GH" -v m="$(scaled 2)" \
                   -v want="$3" -v got="$lines" '
        function parse(text, w, h, x, y,   n, i, t, b) {
            n = split(text, t, " ")
            for (i = 1; i <= n; i++) { split(t[i], b, /[x+]/); w[i] = b[1]; h[i] = b[2]; x[i] = b[3]; y[i] = b[4] }
            return n
        }
        BEGIN {
            s /= 96; split(size, z, "x"); rw = gw / z[1]; rh = gh / z[2]
            if (rw < s * 0.88 || rw > s * 1.12 || rh < s * 0.88 || rh > s * 1.12)
                print "window " gw "x" gh " for " size " at 96"
            n = parse(want, w, h, x, y); k = parse(got, gw_, gh_, gx, gy)
            if (k != n) print k " lines, " n " at 96"
            for (j = 1; j <= k; j++)
                if (gx[j] < m || gy[j] < m || gx[j] + gw_[j] > gw - m || gy[j] + gh_[j] > gh - m)
                    print "line " gw_[j] "x" gh_[j] "+" gx[j] "+" gy[j] " at the edge"
            for (i = 1; i <= n; i++) {
                cx = (x[i] + w[i] / 2) * rw; cy = (y[i] + h[i] / 2) * rh; best = 0
                for (j = 1; j <= k; j++) {
                    d = (gx[j] + gw_[j] / 2 - cx) ^ 2 + (gy[j] + gh_[j] / 2 - cy) ^ 2
                    if (!(j in used) && (!best || d < bestd)) { best = j; bestd = d }
                }
                line = w[i] "x" h[i] "+" x[i] "+" y[i]
                if (!best || bestd > (h[i] * s) ^ 2) { print "nothing where " line " was"; continue }
                used[best] = 1
                if (gw_[best] < w[i] * s * 0.88 || gw_[best] > w[i] * s * 1.12 || gh_[best] < h[i] * s * 0.88)
                    print line " became " gw_[best] "x" gh_[best] "+" gx[best] "+" gy[best]
            }
        }' | tr '\n' ';')
}

echo "== at $DPI DPI: the window at rest, the readout, a hovered icon, the dialogs"
mkdir -p "$SHOTS"
wine reg delete "$KEY" /f >/dev/null 2>&1
park_pointer
start_tempik
check "window opens at (400, 400), got ($X, $Y) ${WIDTH}x$HEIGHT" at 400 400
check "the window holds the readout box $RX,0 ${RW}x$RH with $RX to spare: ${WIDTH}x$HEIGHT" \
    eval '[ "$WIDTH" -ge $((2 * RX + RW)) ] && [ "$HEIGHT" -gt "$RH" ]'
# The first paint may still be on its way when the window maps; a count that
# ran would never hold still.
check "readout holds still before Start" wait_for 5 readout_still
REST=$(readout)
import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$SHOTS/rest.png" 2>/dev/null
echo "      $SHOTS/rest.png"
if [ "$DPI" = 96 ]; then
    same_as_reference() {
        [ -f "$REFERENCE" ] || return 1
        local ae
        ae=$(compare -metric AE "$REFERENCE" "$SHOTS/rest.png" "$SHOTS/rest-difference.png" 2>&1 >/dev/null)
        echo "      pixels that differ from $(basename "$REFERENCE"): ${ae:-?}"
        [ "$ae" = 0 ]
    }
    check "the window at rest is, pixel for pixel, $REFERENCE" same_as_reference
fi
read -r parts ink edge < <(readout_ink)
check "the readout shows 00:00:00.000 whole: $parts parts of ink (14), $ink in the box, at its edge: $edge" \
    eval '[ "$parts" = 14 ] && [ "$edge" = 0 ]'
INK=${ink%%+*}
check "the digits' ink $INK is about $DPI/96 of $INK_96" about_size "$INK" "$INK_96"

ICON=""
geometry
xdotool mousemove --sync $((X + WIDTH * 63 / 128)) $((Y + HEIGHT * 30 / 36))  # Reset
wait_for 3 hovered
xdotool mousemove --sync 5 5
icon_fits() {
    local size big w=${ICON%x*} h=${ICON#*x}
    size=$(scaled 16); big=$((w > h ? w : h))
    [ -n "$ICON" ] && [ "$big" -le "$size" ] && [ $((big * 10)) -ge $((size * 6)) ] && about_size "$ICON" "$ICON_96"
}
check "hovered, Reset shows its $(scaled 16)-pixel icon in colour: ${ICON:-none} (${ICON_96} at 96)" icon_fits

echo "== at $DPI DPI: a run started and stopped by the hot key"
press F2
sleep 1
press F2
check "F2, a second, F2: the readout holds still" wait_for 3 readout_still
read -r parts ink edge < <(readout_ink)
check "and shows a time, not the rest, whole: $parts parts (12 or more), $ink in the box, at its edge: $edge" \
    eval '[ "$(readout)" != "$REST" ] && [ "$parts" -ge 12 ] && [ "$edge" = 0 ]'

echo "== at $DPI DPI: the dialogs"
park_pointer
open_options
if check "double click opens 'Tempik Options'" wait_for 5 dialog_window "Tempik Options"; then
    shot "$DLG" options
    OPTIONS=${GW}x$GH
    unclipped options "$OPTIONS_96" "$OPTIONS_LINES_96"
    check "'Tempik Options' ($OPTIONS) shows its texts uncut${PROBLEMS:+: $PROBLEMS}" [ -z "$PROBLEMS" ]
    xdotool windowfocus --sync "$DLG" 2>/dev/null
    xdotool key shift+Tab alt+Down
    dropped_list() {
        local w
        for w in $(tempik_windows); do
            [ "$w" != "$WIN" ] && [ "$w" != "$DLG" ] && LIST=$w && return 0
        done
        return 1
    }
    if check "Alt+Down drops the hot-key list" wait_for 3 dropped_list; then
        sleep 0.2
        shot "$LIST" list
        unclipped list "$LIST_96" "$LIST_LINES_96"
        check "the list (${GW}x$GH) shows every entry uncut${PROBLEMS:+: $PROBLEMS}" [ -z "$PROBLEMS" ]
    fi
    xdotool key Escape Escape
    check "Esc, Esc close the list and the dialog" wait_for 5 eval '! dialog_window "Tempik Options"'
fi
park_pointer
open_about
if check "right click, a opens 'About Tempik'" wait_for 5 dialog_window "About Tempik"; then
    shot "$DLG" about
    ABOUT=${GW}x$GH
    unclipped about "$ABOUT_96" "$ABOUT_LINES_96"
    check "'About Tempik' ($ABOUT) shows its texts uncut${PROBLEMS:+: $PROBLEMS}" [ -z "$PROBLEMS" ]
    xdotool windowfocus --sync "$DLG" 2>/dev/null
    xdotool key Escape
    check "Esc closes it" wait_for 5 eval '! dialog_window "About Tempik"'
fi
printf 'at %3d DPI: window %s, readout %d,0 %dx%d, digit ink %s (height %s), hovered icon %s, options %s, about %s\n' \
    "$DPI" "${WIDTH}x$HEIGHT" "$RX" "$RW" "$RH" "$INK" "${INK#*x}" "${ICON:-none}" "${OPTIONS:-?}" "${ABOUT:-?}"

if [ "$DPI" != 96 ]; then
    echo "== at $DPI DPI: the window comes back where it was left, in screen pixels"
    park_pointer
    geometry
    x0=$X; y0=$Y
    drag_body
    check "drag by (30, 10) moves the window to ($((x0 + 30)), $((y0 + 10)))" wait_for 3 at $((x0 + 30)) $((y0 + 10))
    press Escape
    check "Esc ends Tempik" wait_for 15 exited || die "Tempik did not end"
    start_tempik
    check "it opens again at ($((x0 + 30)), $((y0 + 10))), got ($X, $Y)" at $((x0 + 30)) $((y0 + 10))
    press Escape
    wait_for 15 exited || die "Tempik did not end"
    read -r SW SH < <(xdotool getdisplaygeometry)
    restored_at $((SW - 4)) $((SH - 4)) $((SW - WIDTH)) $((SH - HEIGHT))
    finish
fi
press Escape
wait_for 15 exited || die "Tempik did not end"

echo "== first start with no settings"
wine reg delete "$KEY" /f >/dev/null 2>&1
start_tempik
check "window opens at (400, 400), got ($X, $Y) ${WIDTH}x$HEIGHT" at 400 400
# The shell comes only with a link opened, and Tempik opens none.
shell_not_loaded() { grep -q 'Tempik\.exe' "/proc/$PID/maps" && ! grep -qi 'shell32\.dll' "/proc/$PID/maps"; }
check "shell32 is not loaded at start-up" shell_not_loaded
# The first paint may still be on its way when the window maps; a count that
# ran would never hold still.
check "readout holds still before Start" wait_for 5 readout_still
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
MX=$((X + WIDTH / 2)); MY=$((Y + $(scaled 10)))
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

echo "== the keyboard: focus cues once it is used, the menu at the focused button"
# The row of buttons below the readout, as a checksum.
buttons_row() {
    import -window root -crop "${WIDTH}x$((HEIGHT - RH))+$X+$((Y + RH))" +repage rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
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
MX=$((X + fx)); MY=$((Y + RH + fy + fh))
xdotool key shift+F10
check "Shift+F10 opens the menu at Start's bottom-left ($MX, $MY), not the screen's corner" \
    wait_for 3 menu_at_pointer
xdotool key Escape
check "Esc closes it" wait_for 3 eval '! menu_at_pointer'

echo "== dragging the body"
geometry
x0=$X; y0=$Y
drag_body
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
kill "$HOLDER_PID" 2>/dev/null
press F5
check "F5 still starts the count" wait_for 3 readout_moves
press F5
check "and stops it" wait_for 3 readout_still

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

# Three faces of one height in one row: no stale copy of a button beside it.
plain_faces() {
    local faces
    faces=$(button_faces)
    [ "$(wc -l <<<"$faces")" -eq 3 ] && [ "$(sed 's/^[0-9]*x//; s/+[0-9]*+/+/' <<<"$faces" | sort -u | wc -l)" -eq 1 ]
}
visible_windows() { [ "$(tempik_windows | wc -l)" -eq "$1" ]; }
point_at_more() { geometry; xdotool mousemove --sync $((X + WIDTH * 108 / 128)) $((Y + HEIGHT * 30 / 36)); }

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
finish
