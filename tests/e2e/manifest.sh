#!/usr/bin/env bash
# What the manifest's DPI declaration does, at 192 DPI on one desktop: Tempik,
# and beside it the same program without the declaration. A Wine that honours
# it, as Windows does (Wine 10), stretches the undeclared one: its window is
# exactly twice its 96-DPI size. Tempik lays itself out at the scale: its
# window is its own size, not that, and its readout's ink about twice the ink
# at 96 DPI. Wine 8 treats every program as aware and stretches neither.
# Needs DISPLAY and WINEPREFIX (at 96 DPI), and the prefix at 192 (see e2e_lib.sh).
# Usage: manifest.sh path/to/Tempik-<version>-win64.zip path/to/TempikUnaware.exe
set -uo pipefail
source "$(dirname "$(realpath "$0")")/e2e_lib.sh"
UNAWARE=$(realpath "${2:?usage: manifest.sh ZIP TempikUnaware.exe}")
PREFIX_96=$WINEPREFIX
e2e_setup "$@"
WINE_MAJOR=$(wine --version | sed 's/^wine-\([0-9]*\).*/\1/')

# The box around the readout's yellow ink in an image, as WxH.
ink() {
    convert "$1" -channel B -negate +channel -separate -evaluate-sequence Min -threshold 50% -format '%@' info: |
        cut -d+ -f1
}
# start_program EXE CLASS LEFT TOP: EXE shown with its window record at
# (LEFT, TOP); its window in PROGRAM_WIN.
start_program() {
    reg_set Window position REG_SZ "0,1,$3,$4"
    wine "$1" </dev/null >/dev/null 2>&1 &
    PROGRAM_PIDS+=("$!")
    PROGRAM_WIN=$(wait_for_window "$2" 20) || die "$(basename "$1")'s window appears"
}
PROGRAM_PIDS=()
end_programs() {
    local p
    for p in "${PROGRAM_PIDS[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${PROGRAM_PIDS[@]}"; do wait_for 15 process_gone "$p"; done
    PROGRAM_PIDS=()
}
trap 'end_programs; cleanup' EXIT

echo "== at 96 DPI"
PREFIX_192=$WINEPREFIX
export WINEPREFIX=$PREFIX_96
wine reg delete "$KEY" /f >/dev/null 2>&1
park_pointer
start_program "$UNAWARE" '^tempikunaware\.exe$' 100 100
shot "$PROGRAM_WIN" unaware-96
UNAWARE_96=${GW}x$GH
INK_96=$(ink "$SHOTS/unaware-96.png")
end_programs
echo "      without the declaration: window $UNAWARE_96, ink $INK_96"

echo "== at 192 DPI, side by side"
export WINEPREFIX=$PREFIX_192
start_program "$EXE" '^tempik\.exe$' 100 100
TEMPIK_WIN=$PROGRAM_WIN
# Below it: the system doubles the stretched program's place, too.
start_program "$UNAWARE" '^tempikunaware\.exe$' 100 250
shot "$TEMPIK_WIN" tempik-192
TEMPIK_192=${GW}x$GH
shot "$PROGRAM_WIN" unaware-192
UNAWARE_192=${GW}x$GH
import -window root "$SHOTS/side-by-side-192.png" 2>/dev/null
echo "      $SHOTS/side-by-side-192.png"
TEMPIK_INK=$(ink "$SHOTS/tempik-192.png") UNAWARE_INK=$(ink "$SHOTS/unaware-192.png")
printf '      Tempik: window %s, ink %s; without the declaration: window %s, ink %s\n' \
    "$TEMPIK_192" "$TEMPIK_INK" "$UNAWARE_192" "$UNAWARE_INK"
end_programs

twice() { [ "$1" = "$((2 * ${2%x*}))x$((2 * ${2#*x}))" ]; }
about_twice() { awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, "x"); split(b, y, "x")
    exit !(x[1] >= 1.76 * y[1] && x[1] <= 2.24 * y[1] && x[2] >= 1.76 * y[2] && x[2] <= 2.24 * y[2]) }'; }
check "Tempik draws its readout itself: ink $TEMPIK_INK about twice $INK_96" about_twice "$TEMPIK_INK" "$INK_96"
if [ "$WINE_MAJOR" -ge 10 ]; then
    check "Wine $WINE_MAJOR stretches the program without the declaration to exactly twice $UNAWARE_96: $UNAWARE_192" \
        twice "$UNAWARE_192" "$UNAWARE_96"
    check "and not Tempik, whose window $TEMPIK_192 is its own layout" eval '! twice "$TEMPIK_192" "$UNAWARE_96"'
else
    check "Wine $WINE_MAJOR stretches no program: without the declaration it lays itself out as Tempik: $UNAWARE_192" \
        [ "$UNAWARE_192" = "$TEMPIK_192" ]
fi
finish
