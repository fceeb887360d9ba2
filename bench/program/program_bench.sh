#!/usr/bin/env bash
# What Tempik costs as a user runs it, against the floor Wine itself sets: a bare
# window with the same 27 ms timer (tempik_baseline.exe). Both run one after the
# other in this one run, on the display ./dev started, each
#   - launched five times; the time from launch to its first paint on screen
#     (Tempik's readout, the baseline's yellow window) is read off the screen,
#     and the median kept;
#   - then left stopped for a while (Tempik as it starts, the baseline with no
#     timer), then running as long (Start clicked; the baseline's timer started
#     by a click): the CPU time of the program, wineserver, Xvfb, the window
#     manager and the prefix's other Wine processes over each period, from
#     /proc/PID/stat, in % of one core; the program's resident memory at the end.
# Prints one table with Tempik's figures, the baseline's and their ratio, and
# the baseline's memory once it has loaded the common controls for a tooltip.
# Given a Wine prefix at 192 DPI (whose wineserver runs on the same display),
# it then measures both again there and prints that table too, and Tempik's
# running CPU at 192 DPI against its running CPU at 96: the readout has four
# times the pixels at 200 %.
# It asserts nothing: this machine is shared, so compare only within one run.
# Needs DISPLAY, WINEPREFIX, XVFB_PID and (if a window manager runs) WM_PID.
# Usage: program_bench.sh tempik_baseline.exe Tempik-VERSION-win64.zip screen_watch [PREFIX_AT_192_DPI]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/desktop.sh"

usage="usage: program_bench.sh tempik_baseline.exe Tempik-VERSION-win64.zip screen_watch [PREFIX_AT_192_DPI]"
BASELINE=$(realpath "${1:?$usage}")
ZIP=$(realpath "${2:?$usage}")
WATCH=$(realpath "${3:?$usage}")
PREFIX_192=${4:+$(realpath "$4")}
: "${DISPLAY:?needs an X display}" "${WINEPREFIX:?needs a Wine prefix}" "${XVFB_PID:?needs the pid of Xvfb}"
WM_PID=${WM_PID:-}
export WINEDEBUG=-all

PERIOD=${TEMPIK_BENCH_SECONDS:-20}  # seconds stopped, then as many running
LAUNCHES=5
# Where both windows open: the baseline always, Tempik without saved settings.
AREA=(400 400 300 120)
YELLOW=FFFF00
MIN_YELLOW=100  # pixels: the readout's digits are several hundred
HZ=$(getconf CLK_TCK)

UNPACKED=$(mktemp -d)
PID=""
stop_program() {
    if [ -n "$PID" ]; then
        kill "$PID" 2>/dev/null || true
        wait "$PID" 2>/dev/null || true
        PID=""
    fi
}
cleanup() {
    stop_program
    rm -rf "$UNPACKED"
}
trap cleanup EXIT

# ------------------------------------------------------------------ CPU time

ticks() {  # utime + stime of one process, in clock ticks
    local stat
    read -r stat 2>/dev/null <"/proc/$1/stat" || { echo 0; return; }
    stat=${stat##*) }  # after the command name, which may hold spaces
    # shellcheck disable=SC2086
    set -- $stat
    echo $((${12} + ${13}))
}

# "group pid" for every process measured: this prefix's wineserver and Wine
# processes (told apart from tools that merely carry WINEPREFIX by their
# executable), Xvfb and the window manager.
measured_processes() {
    local environ dir exe group
    for environ in $(grep -lsxzF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ); do
        dir=${environ%/environ}
        exe=$(readlink "$dir/exe" 2>/dev/null) || continue
        case ${exe##*/} in
            wineserver*) group=wineserver ;;
            wine*) group=wine ;;
            *) continue ;;
        esac
        [ "${dir#/proc/}" = "$PID" ] && group=program
        echo "$group ${dir#/proc/}"
    done
    echo "xvfb $XVFB_PID"
    if [ -n "$WM_PID" ]; then echo "wm $WM_PID"; fi
}

declare -A T0 T1 GROUP R
ticks_of_all() {  # ticks_of_all ARRAY: ticks of every process in GROUP
    local -n into=$1
    local p
    into=()
    for p in "${!GROUP[@]}"; do into[$p]=$(ticks "$p"); done
}

percent() {  # percent TICKS NANOSECONDS: share of one core
    awk -v t="$1" -v hz="$HZ" -v ns="$2" 'BEGIN { printf "%.2f", t / hz / (ns / 1e9) * 100 }'
}

# measure_cpu NAME PHASE: each group's share of one core over PERIOD seconds,
# into R[NAME,PHASE,group]; the program's VmRSS at the end into R[NAME,PHASE,rss].
# The processes are found once, before: none starts while a program just runs.
measure_cpu() {
    local name=$1 phase=$2 start end p group total=0
    GROUP=()
    while read -r group p; do GROUP[$p]=$group; done < <(measured_processes)
    start=$(date +%s%N)
    ticks_of_all T0
    sleep "$PERIOD"
    ticks_of_all T1
    end=$(date +%s%N)
    local -A sum=([program]=0 [wineserver]=0 [xvfb]=0 [wm]=0 [wine]=0)
    for p in "${!T1[@]}"; do
        group=${GROUP[$p]}
        # One that ended meanwhile reads 0: its last ticks are lost, not negative.
        if ((T1[$p] >= T0[$p])); then sum[$group]=$((sum[$group] + T1[$p] - T0[$p])); fi
    done
    for group in program wineserver xvfb wm wine; do
        R[$name,$phase,$group]=$(percent "${sum[$group]}" $((end - start)))
        total=$((total + sum[$group]))
    done
    R[$name,$phase,total]=$(percent "$total" $((end - start)))
    R[$name,$phase,rss]=$(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$PID/status")
}

# ------------------------------------------------------------ the programs

# launch NAME EXE [ARG]: starts the program and waits for its first paint on the
# screen; the milliseconds since launch are appended to R[NAME,launches].
launch() {
    local name=$1 exe=$2 start seen
    xdotool mousemove 5 5  # away from where the windows open
    start=$(date +%s%N)
    wine "$exe" "${@:3}" </dev/null >/dev/null 2>&1 &
    PID=$!
    if ! seen=$("$WATCH" "${AREA[@]}" "$YELLOW" "$MIN_YELLOW" 30); then
        echo "program_bench: $name painted nothing in 30 s" >&2
        exit 1
    fi
    R[$name,launches]="${R[$name,launches]:-} $(((seen - start) / 1000000))"
}

# click CLASS DLU_X DLU_Y DLU_W DLU_H: a click at (x, y) of a window w x h units large
click() {
    local win X Y WIDTH HEIGHT SCREEN
    win=$(wait_for_window "^$1\$" 5) || { echo "program_bench: no window of $1" >&2; exit 1; }
    eval "$(xdotool getwindowgeometry --shell "$win")"
    xdotool mousemove --sync $((X + WIDTH * $2 / $4)) $((Y + HEIGHT * $3 / $5)) click 1
    xdotool mousemove --sync 5 5
}

readout_checksum() {
    import -window root -crop "${AREA[2]}x${AREA[3]}+${AREA[0]}+${AREA[1]}" +repage rgb:- 2>/dev/null | md5sum
}

# measure NAME EXE CLASS START_X START_Y: launches, stopped period, click, running period
measure() {
    local name=$1 exe=$2 class=$3 i
    for i in $(seq "$LAUNCHES"); do
        [ "$i" -gt 1 ] && { stop_program; sleep 1; }
        launch "$name" "$exe"
    done
    sleep 2  # start-up work done
    measure_cpu "$name" stopped
    click "$class" "$4" "$5" 128 36
    sleep 1
    if [[ $name == tempik* ]]; then
        local a b
        a=$(readout_checksum); sleep 0.3; b=$(readout_checksum)
        [ "$a" != "$b" ] || echo "program_bench: Tempik's readout does not move after Start" >&2
    fi
    measure_cpu "$name" running
    stop_program
    sleep 1
}

(cd "$UNPACKED" && cmake -E tar xf "$ZIP")
TEMPIK=$UNPACKED/Tempik.exe
[ -f "$TEMPIK" ] || { echo "program_bench: no Tempik.exe in $ZIP" >&2; exit 1; }

# measure_both SUFFIX: the baseline, then Tempik, as baselineSUFFIX and tempikSUFFIX.
measure_both() {
    # The baseline's window is all client area: a click anywhere starts its timer.
    measure "baseline$1" "$BASELINE" 'tempik_baseline\.exe' 64 18
    # Tempik opens where it opens without settings; Start is at (18, 30) of its 128 x 36 units.
    wine reg delete 'HKCU\Software\Tempik' /f >/dev/null 2>&1 || true
    measure "tempik$1" "$TEMPIK" 'tempik\.exe' 18 30
}

scales=1
if [ -n "$PREFIX_192" ]; then scales=2; fi
echo "measuring the baseline, then Tempik: about $((scales * (4 * PERIOD + 40))) s" >&2
measure_both ""

# The part of the difference in memory that is the common controls themselves,
# which Tempik's tooltips need from the start: the baseline with them loaded.
launch tooltip "$BASELINE" tooltip
sleep 2
R[tooltip,rss]=$(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$PID/status")
stop_program

if [ -n "$PREFIX_192" ]; then
    export WINEPREFIX=$PREFIX_192
    measure_both 192
fi

# ------------------------------------------------------------------ the table

median() { tr ' ' '\n' | grep . | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for name in baseline tempik ${PREFIX_192:+baseline192 tempik192}; do
    R[$name,first]=$(median <<<"${R[$name,launches]}")
done

SUFFIX=""  # whose figures row shows: "" those at 96 DPI, 192 those at 192
row() {  # row LABEL KEY
    awk -v label="$1" -v b="${R[baseline$SUFFIX,$2]}" -v t="${R[tempik$SUFFIX,$2]}" 'BEGIN {
        ratio = (b > 0) ? sprintf("%.2f", t / b) : "-"
        printf "  %-26s %10s %10s %10s %+10.2f\n", label, b, t, ratio, t - b
    }'
}
table() {
    local phase
    printf '  %-26s %10s %10s %10s %10s\n' "" baseline Tempik ratio difference
    for phase in stopped running; do
        echo "$phase"
        row "program" "$phase,program"
        row "wineserver" "$phase,wineserver"
        row "Xvfb" "$phase,xvfb"
        row "window manager" "$phase,wm"
        row "other Wine processes" "$phase,wine"
        row "total" "$phase,total"
    done
    echo "start-up"
    row "first paint on screen, ms" first
    echo "resident memory, MB"
    row "stopped" "stopped,rss"
    row "running" "running,rss"
}

echo
echo "Tempik $(basename "$ZIP" | sed 's/^Tempik-//; s/-win64.zip$//') from the package ($(stat -c %s "$TEMPIK") bytes)" \
     "against the baseline window ($(stat -c %s "$BASELINE") bytes)"
echo "$(wine --version 2>/dev/null | head -n1), Xvfb $DISPLAY, ${PERIOD} s per period; CPU in % of one core"
echo "at 96 DPI"
table
echo "  the baseline with the common controls loaded and a tooltip: ${R[tooltip,rss]} MB"
echo "(first paint: median of $LAUNCHES launches; baseline:${R[baseline,launches]} ms, Tempik:${R[tempik,launches]} ms)"
if [ -n "$PREFIX_192" ]; then
    echo
    echo "at 192 DPI (Wine prefix $PREFIX_192)"
    SUFFIX=192 table
    echo "(first paint: baseline:${R[baseline192,launches]} ms, Tempik:${R[tempik192,launches]} ms)"
    awk -v a="${R[tempik,running,total]}" -v b="${R[tempik192,running,total]}" 'BEGIN {
        printf "Tempik running, total CPU at 192 DPI against 96 DPI: %s %% / %s %% = %s (aim: 2.00 or less)\n",
            b, a, (a > 0) ? sprintf("%.2f", b / a) : "-"
    }'
fi
