#!/usr/bin/env bash
# The checks whose pixel figures follow the display scale, at TEMPIK_E2E_DPI
# (96 by default): the window at rest (at 96 pixel for pixel the reference
# rest-96dpi.png), the readout, a hovered icon, the dialogs uncut, and at the
# other scales the window placed again where it was left, in screen pixels.
# The figures of the fonts are the Wine's, so the run at 96 measures them into
# TEMPIK_E2E_AT_96 and the other scales are held to them, on the same Wine.
# Needs DISPLAY and WINEPREFIX, and at another scale its prefix (see e2e_lib.sh).
# Screenshots go to TEMPIK_E2E_SHOTS.
# Usage: scale.sh path/to/Tempik-<version>-win64.zip
set -uo pipefail
source "$(dirname "$(realpath "$0")")/e2e_lib.sh"
e2e_setup "$@"
REFERENCE=$(dirname "$(realpath "$0")")/rest-96dpi.png

# Measured at 96 DPI by the functions below, as shell assignments: WINE_96 (the
# Wine), INK_96 (the yellow ink of 00:00:00.000), ICON_96 (the coloured pixels
# of the hovered Reset button), and of each dialog, OPTIONS, LIST (its hot-key
# list dropped down) and ABOUT, NAME_96 (its client area) and NAME_LINES_96.
AT_96=${TEMPIK_E2E_AT_96:-${TMPDIR:-/tmp}/tempik-e2e-scale-at-96dpi.sh}
if [ "$DPI" = 96 ]; then
    rm -f "$AT_96"
else
    source "$AT_96" || die "no figures from 96 DPI in $AT_96 (e2e.scale.dpi96 measures them)"
    [ "$WINE_96" = "$(wine --version)" ] || die "$AT_96 is from $WINE_96, this is $(wine --version)"
fi

# about ACTUAL EXPECTED_AT_96: ACTUAL within 12 % of EXPECTED_AT_96 at this scale.
about() { awk -v a="$1" -v e="$2" -v s="$DPI" 'BEGIN { e *= s / 96; exit !(a >= e * 0.88 && a <= e * 1.12) }'; }
# about_size WxH WxH_AT_96
about_size() { about "${1%x*}" "${2%x*}" && about "${1#*x}" "${2#*x}"; }

# The yellow ink in the readout box as connected parts: "PARTS WxH+X+Y EDGE",
# their number, the box around them all (in the readout box) and whether any
# part touches the box's edge (1) or none does (0).
readout_ink() {
    readout_image png:- |
        convert png:- -channel R -separate +channel -threshold 50% \
            -define connected-components:verbose=true -connected-components 8 null: |
        awk -v w="$RW" -v h="$RH" '$NF == "gray(255)" {
            split($2, b, /[x+]/)
            if (!n++) { x0 = b[3]; y0 = b[4]; x1 = b[3] + b[1]; y1 = b[4] + b[2] }
            if (b[3] < x0) x0 = b[3]; if (b[4] < y0) y0 = b[4]
            if (b[3] + b[1] > x1) x1 = b[3] + b[1]; if (b[4] + b[2] > y1) y1 = b[4] + b[2]
        } END { printf "%d %dx%d+%d+%d %d\n", n, x1 - x0, y1 - y0, x0, y0, n && (x0 == 0 || y0 == 0 || x1 == w || y1 == h) }'
}

# The lines of dark, grey text in an image (not the coloured focus frames), as
# WxH+X+Y: its dark parts of 3 or more pixels no taller than a line, joined
# when they share rows and lie within a space of each other; what is lower
# than a capital (a combo box's arrow) is no text. Those lengths are 96 DPI
# pixels times the ratios the dialog grew by, across and down.
text_lines() {  # text_lines IMAGE RATIO_ACROSS RATIO_DOWN
    convert "$1" \( +clone -colorspace gray -threshold 60% -negate \) \
            \( -clone 0 -colorspace HCL -channel G -separate +channel -threshold 20% -negate \) \
            -delete 0 -compose multiply -composite \
            -define connected-components:verbose=true -connected-components 8 null: |
        awk -v rw="$2" -v rh="$3" '
            BEGIN { tallest = 16 * rh; lowest = 6 * rh; space = 8 * rw }
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
# uncut NAME COUNT: the window shot as NAME (client GWxGH) shows COUNT text
# lines, none at its edge. At 96 it keeps its size and lines as NAME_96 and
# NAME_LINES_96; at another scale it is held to them. The dialog's font, which
# its size follows, may grow less than the scale: the size's ratio to the one at
# 96, per axis, is the measure, at least 1 and at most about the scale. Each
# line sits where it sat, relative to the window, and is about the ratio times
# as wide and at least 0.8 of it as tall (a bitmap font's letters may grow less
# than its lines: 9 pixels became 12 in a dialog 1.54 times as tall): a text
# cut by its control or by the window is narrower or lower, or gone, or at the
# edge. Sets PROBLEMS to what is wrong.
uncut() {
    local size=${1^^}_96 want=${1^^}_LINES_96 rw rh lines
    [ "$DPI" != 96 ] || printf -v "$size" %s "${GW}x$GH"
    read -r rw rh < <(awk -v size="${!size}" -v gw="$GW" -v gh="$GH" 'BEGIN { split(size, z, "x"); print gw / z[1], gh / z[2] }')
    lines=$(text_lines "$SHOTS/$1.png" "$rw" "$rh")
    [ "$DPI" != 96 ] || printf -v "$want" %s "$lines"
    PROBLEMS=$(awk -v s="$DPI" -v size="${!size}" -v rw="$rw" -v rh="$rh" -v gw="$GW" -v gh="$GH" \
                   -v count="$2" -v want="${!want}" -v got="$lines" '
        function parse(text, w, h, x, y,   n, i, t, b) {
            n = split(text, t, " ")
            for (i = 1; i <= n; i++) { split(t[i], b, /[x+]/); w[i] = b[1]; h[i] = b[2]; x[i] = b[3]; y[i] = b[4] }
            return n
        }
        BEGIN {
            k = parse(got, gw_, gh_, gx, gy)
            if (k != count) print k " lines, not " count ": " got
            for (j = 1; j <= k; j++)
                if (gx[j] < 1 || gy[j] < 1 || gx[j] + gw_[j] > gw - 1 || gy[j] + gh_[j] > gh - 1)
                    print "line " gw_[j] "x" gh_[j] "+" gx[j] "+" gy[j] " at the edge"
            if (s == 96) exit
            s /= 96
            if (rw < 1 || rw > s * 1.12 || rh < 1 || rh > s * 1.12)
                print "window " gw "x" gh " for " size " at 96"
            n = parse(want, w, h, x, y)
            for (i = 1; i <= n; i++) {
                cx = (x[i] + w[i] / 2) * rw; cy = (y[i] + h[i] / 2) * rh; best = 0
                for (j = 1; j <= k; j++) {
                    d = (gx[j] + gw_[j] / 2 - cx) ^ 2 + (gy[j] + gh_[j] / 2 - cy) ^ 2
                    if (!(j in used) && (!best || d < bestd)) { best = j; bestd = d }
                }
                line = w[i] "x" h[i] "+" x[i] "+" y[i]
                if (!best || bestd > (h[i] * rh) ^ 2) { print "nothing where " line " was"; continue }
                used[best] = 1
                if (gw_[best] < w[i] * rw * 0.88 || gw_[best] > w[i] * rw * 1.12 || gh_[best] < h[i] * rh * 0.8)
                    print line " became " gw_[best] "x" gh_[best] "+" gx[best] "+" gy[best]
            }
        }' | tr '\n' ';')
}

echo "== at $DPI DPI: the window at rest, the readout, a hovered icon, the dialogs"
mkdir -p "$SHOTS"
park_pointer
start_tempik
check "window opens at (400, 400), got ($X, $Y) ${WIDTH}x$HEIGHT" at 400 400
check "the window ${WIDTH}x$HEIGHT holds the readout ${RW}x$RH+$RX+$RY with as much to spare on the right" \
    eval '[ "$RX" -ge 0 ] && [ "$RY" -ge 0 ] && [ "$WIDTH" -ge $((2 * RX + RW)) ] && [ "$HEIGHT" -gt $((RY + RH)) ]'
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
INK=${ink%%+*}
[ "$DPI" != 96 ] || INK_96=$INK
check "the readout shows 00:00:00.000 whole: $parts parts of ink (14), $ink in the box (about $DPI/96 of $INK_96), at its edge: $edge" \
    eval '[ "$parts" = 14 ] && [ "$edge" = 0 ] && about_size "$INK" "$INK_96"'

ICON=""
point_at reset
wait_for 3 hovered
xdotool mousemove --sync 5 5
[ "$DPI" != 96 ] || ICON_96=$ICON
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
    uncut options 4
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
        DROPPED=${GW}x$GH
        uncut list 11
        check "the list ($DROPPED) shows every entry uncut${PROBLEMS:+: $PROBLEMS}" [ -z "$PROBLEMS" ]
    fi
    xdotool key Escape Escape
    check "Esc, Esc close the list and the dialog" wait_for 5 eval '! dialog_window "Tempik Options"'
fi
park_pointer
open_about
if check "right click, a opens 'About Tempik'" wait_for 5 dialog_window "About Tempik"; then
    shot "$DLG" about
    ABOUT=${GW}x$GH
    uncut about 3
    check "'About Tempik' ($ABOUT) shows its texts uncut${PROBLEMS:+: $PROBLEMS}" [ -z "$PROBLEMS" ]
    xdotool windowfocus --sync "$DLG" 2>/dev/null
    xdotool key Escape
    check "Esc closes it" wait_for 5 eval '! dialog_window "About Tempik"'
fi
printf 'at %3d DPI: window %s, readout %s, digit ink %s, hovered icon %s, options %s, list %s, about %s\n' \
    "$DPI" "${WIDTH}x$HEIGHT" "${RW}x$RH+$RX+$RY" "$INK" "${ICON:-none}" "${OPTIONS:-?}" "${DROPPED:-?}" "${ABOUT:-?}"

if [ "$DPI" = 96 ]; then
    end_tempik
    WINE_96=$(wine --version)
    declare -p WINE_96 INK_96 ICON_96 OPTIONS_96 OPTIONS_LINES_96 LIST_96 LIST_LINES_96 ABOUT_96 ABOUT_LINES_96 \
        >"$AT_96" || fail "the figures at 96 DPI written to $AT_96"
else
    echo "== at $DPI DPI: the window comes back where it was left, in screen pixels"
    park_pointer
    drag_and_check
    press Escape
    check "Esc ends Tempik" wait_for 15 exited || die "Tempik did not end"
    start_tempik
    check "it opens again at ($MOVED_X, $MOVED_Y), got ($X, $Y)" at $MOVED_X $MOVED_Y
    end_tempik
    read -r SW SH < <(xdotool getdisplaygeometry)
    restored_at $((SW - 4)) $((SH - 4)) $((SW - WIDTH)) $((SH - HEIGHT))
fi
finish
