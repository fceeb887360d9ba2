# shellcheck shell=bash
# Tempik's desktops for Wine under Xvfb, written once for every script that
# needs one (dev, tools/*, bench/program/*.sh, tests/e2e/*.sh). Source it:
#   source "$(dirname "${BASH_SOURCE[0]}")/../../tools/desktop.sh"  # from tests/e2e
# It works with and without set -euo pipefail and changes no shell option.
# ROOT (the checkout) and BUILD (its build folder) are kept as the caller set
# them, else derived from where this file lies. The Wine functions need
# WINEPREFIX; what they start is recorded for desktop_cleanup
# (trap desktop_cleanup EXIT).

DESKTOP_TOOLS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${ROOT:=$(cd "$DESKTOP_TOOLS/.." && pwd)}"
: "${BUILD:=$ROOT/build}"

say() { printf '==> %s\n' "$*" >&2; }

# The display scales besides 96 DPI that the end-to-end scenarios run at, each on a
# prefix of its own (tests/e2e/CMakeLists.txt reads this line).
SCALED_DPIS="120 144 192"
# A prefix is made when its mark is there; a new number makes every prefix anew.
PREFIX_MARK=.tempik-ready-4
# prefix_made PREFIX: succeeds if PREFIX has its mark.
prefix_made() { [ -f "$1/$PREFIX_MARK" ]; }

# Debian's Wine has no preloader to reserve its fixed addresses before the
# kernel places the heap, at random anywhere in the 1 GB after wine64's image;
# when the heap lands on the page Wine maps at 0x7ffe0000 (about one Wine start
# in 4,000 here), the process exits 1 before it runs anything and, with
# WINEDEBUG=-all, says nothing. Everything dev and tools/on-desktop start, Wine
# included, runs with the heap placed right after the image instead.
# (A container may forbid it; then things stay as they are.)
# desktop_without_aslr CMD...: execs CMD with address randomization off when it
# is on and setarch may turn it off; otherwise returns 0 and the caller goes on.
desktop_without_aslr() {
    if (( (0x$(cat /proc/$$/personality) & 0x40000) == 0 )) &&  # ADDR_NO_RANDOMIZE
       setarch "$(uname -m)" --addr-no-randomize true 2>/dev/null; then
        exec setarch "$(uname -m)" --addr-no-randomize "$@"
    fi
}

# wait_for SECONDS CMD...: runs CMD every 0.1 s until it succeeds (returns 0,
# CMD's output passing through) or SECONDS have passed (returns 1).
wait_for() {
    local limit=$1; shift
    for _ in $(seq $((limit * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# process_gone PID: succeeds if PID has ended.
process_gone() { ! kill -0 "$1" 2>/dev/null; }

# up_or_gone PID CMD...: succeeds once CMD does or PID has ended; a poll for a
# process getting ready that stops early when the process dies.
up_or_gone() { local pid=$1; shift; "$@" || process_gone "$pid"; }

# first_window CLASSNAME_REGEX: prints the first visible window whose class
# name matches; fails if there is none.
first_window() {
    local w
    w=$(xdotool search --onlyvisible --classname "$1" 2>/dev/null | head -n1) || true
    [ -n "$w" ] && echo "$w"
}

# wait_for_window CLASSNAME_REGEX SECONDS: prints the X window id of the first
# visible window whose class name matches, once there is one; returns 1 if none
# came within SECONDS. Needs DISPLAY.
wait_for_window() { wait_for "$2" first_window "$1"; }

# The Wine on PATH is the host's or, through tools/wine-root, the other
# Debian's in the root TEMPIK_WINE_ROOT names. Each Wine has prefixes of its
# own, since a newer Wine updates a prefix in a way an older one cannot read:
# TEMPIK_WINE_PREFIXES, by default $BUILD/wine<major version>, holds "desktop"
# (the first desktop's, made once), "desktop-<i>" (the other desktops'
# copies), "dpi<N>" (copies at another display scale) and "bench-dpi192".
# wine_prefixes: sets and exports TEMPIK_WINE_PREFIXES for the Wine on PATH.
wine_prefixes() {
    [ -n "${TEMPIK_WINE_PREFIXES:-}" ] && return 0
    local version
    version=$(wine --version) || { say "no Wine to run"; return 1; }
    version=${version#wine-}
    export TEMPIK_WINE_PREFIXES=$BUILD/wine${version%%.*}
}

# Wine prefix inside the build folder, made once.
# wine_prefix: makes $WINEPREFIX unless its mark says it is made.
wine_prefix() {
    if ! prefix_made "$WINEPREFIX"; then
        say "creating Wine prefix in $WINEPREFIX (takes 10-20 s)"
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1 || true
        wineserver -w
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Verdana /t REG_SZ /d 'DejaVu Sans' /f >/dev/null 2>&1
        # Wine ships no "Microsoft Sans Serif"; its Tahoma has the same metrics, so
        # dialogs get the size they have on Windows. Debian's Wine does not find
        # its own fonts by itself: put them where Windows keeps fonts.
        cp "${TEMPIK_WINE_ROOT:-}"/usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft Sans Serif' /t REG_SZ /d 'Tahoma' /f >/dev/null 2>&1
        # Keyboard cues as Windows has them by default: focus rectangles and access
        # keys hidden until the keyboard is used (Wine shows them always).
        wine reg add 'HKCU\Control Panel\Desktop' /v UserPreferencesMask /t REG_BINARY /d 1000028012000000 /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/$PREFIX_MARK"
    fi
}

# copy_of_first PREFIX: PREFIX as a copy of the first prefix
# ($TEMPIK_WINE_PREFIXES/desktop), made before the first's wineserver runs, and
# again whenever the first is made anew (cp -a keeps the mark's time). Succeeds
# if it made the copy.
copy_of_first() {
    local first=$TEMPIK_WINE_PREFIXES/desktop
    prefix_made "$1" && ! [ "$1/$PREFIX_MARK" -ot "$first/$PREFIX_MARK" ] && return 1
    rm -rf "$1"
    cp -a "$first" "$1"
}

# A copy of the first prefix at another display scale: Wine reads LogPixels
# when the prefix's wineserver starts, so whoever uses it starts its own.
# scaled_prefix DPI PREFIX: makes or updates it; the mark .tempik-dpi holds DPI.
scaled_prefix() {
    local dpi=$1 prefix=$2
    if copy_of_first "$prefix" || [ "$(cat "$prefix/.tempik-dpi" 2>/dev/null)" != "$dpi" ]; then
        say "Wine prefix at $dpi DPI in $prefix"
        WINEPREFIX=$prefix wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
        WINEPREFIX=$prefix wineserver -w
        echo "$dpi" >"$prefix/.tempik-dpi"
    fi
}

# What this run started, for desktop_cleanup: every Xvfb, window manager and
# Wine prefix whose wineserver it keeps. XVFB_PID and WM_PID name the last
# display and window manager started (kept as a caller was handed them).
: "${XVFB_PID:=}" "${WM_PID:=}"
STARTED_PIDS=()
STARTED_PREFIXES=()

# start_display: an Xvfb of its own; exports DISPLAY, sets XVFB_PID; returns 1
# if it did not start within 5 s.
start_display() {
    # Xvfb picks a free display itself and writes its number once it listens,
    # so two runs side by side never share one.
    local numfile
    numfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    STARTED_PIDS+=("$XVFB_PID")
    if wait_for 5 up_or_gone "$XVFB_PID" test -s "$numfile" && [ -s "$numfile" ]; then
        export DISPLAY=":$(tr -d '[:space:]' <"$numfile")"
        rm -f "$numfile"
        say "Xvfb on $DISPLAY"
        return 0
    fi
    rm -f "$numfile"
    say "Xvfb did not start"; return 1
}

# wm_ready: succeeds if a window manager runs on DISPLAY. The window manager's
# check window: the root names it, and it names itself.
wm_ready() {
    local w
    w=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ { print $NF }')
    [ -n "$w" ] && xprop -id "$w" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "$w"
}

# A desktop like a person's: openbox on the display, before the first Wine
# process. Without a window manager Wine waits about 2 s for every hidden or
# destroyed top-level window. TEMPIK_NO_WM=1 leaves it out, for diagnosis.
# start_wm: needs DISPLAY; sets WM_PID, logs to $BUILD/openbox$DISPLAY.log;
# returns 1 if openbox was not ready within 5 s.
start_wm() {
    if [ -n "${TEMPIK_NO_WM:-}" ]; then
        say "no window manager (TEMPIK_NO_WM)"
        return 0
    fi
    mkdir -p "$BUILD"
    openbox >"$BUILD/openbox$DISPLAY.log" 2>&1 &
    WM_PID=$!
    STARTED_PIDS+=("$WM_PID")
    wait_for 5 up_or_gone "$WM_PID" wm_ready && wm_ready && return 0
    say "openbox did not start (see $BUILD/openbox$DISPLAY.log)"; return 1
}

# start_wineserver: needs DISPLAY and WINEPREFIX (made if it is not yet); starts
# its wineserver and Wine's desktop process, kept up until desktop_cleanup.
# Waits up to 5 s for the desktop process and returns 0 either way.
start_wineserver() {
    wine_prefix
    wineserver -p 2>/dev/null || true  # one may already be running for this prefix
    STARTED_PREFIXES+=("$WINEPREFIX")
    # Start Wine's background services and the desktop process now, with their
    # output going nowhere: started by a test they would inherit its pipes, and
    # ctest would wait for them (the desktop process outlives each windowed test
    # by about a second).
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    wine explorer.exe /desktop </dev/null >/dev/null 2>&1 &
    # The desktop process ends a second after the last program on the desktop
    # does; a console waiting for input that never comes keeps it up until
    # wineserver -k, as the shell keeps it up on Windows.
    local fifo fd
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    exec {fd}<>"$fifo"
    rm -f "$fifo"
    wine cmd <&"$fd" >/dev/null 2>&1 &
    wait_for 5 desktop_up || true
}

# desktop_up: succeeds if the desktop process of $WINEPREFIX runs (others may
# run beside it).
desktop_up() {
    local p
    for p in $(pgrep -f 'explorer.exe /desktop'); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && return 0
    done
    return 1
}

# start_desktop PREFIX: a desktop like a person's for Wine in PREFIX: a display,
# a window manager, the prefix's wineserver and Wine's desktop process. Leaves
# DISPLAY and WINEPREFIX naming it, XVFB_PID and WM_PID its processes.
start_desktop() {
    export WINEPREFIX=$1
    start_display
    start_wm
    start_wineserver
}

# desktop_cleanup: ends the wineservers, window managers and displays started here.
desktop_cleanup() {
    local p
    for p in "${STARTED_PREFIXES[@]}"; do WINEPREFIX=$p wineserver -k 2>/dev/null || true; done
    for p in "${STARTED_PIDS[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
    STARTED_PIDS=() STARTED_PREFIXES=()
}

# The Windows tests run two at a time, each that shows windows on a desktop of
# its own, so that nothing one test does to the focus, the pointer, the
# registry or the hot keys reaches the other. The second desktop's prefix is a
# copy of the first. TEMPIK_TEST_DESKTOPS=1: one desktop, such tests in turn.
# start_test_desktops: TEST_DESKTOPS desktops (prefixes desktop, desktop-1, ...
# in $TEMPIK_WINE_PREFIXES), exported as TEMPIK_DISPLAY_<i> and
# TEMPIK_WINEPREFIX_<i>, the scaled prefixes dpi<N>, and
# $BUILD/windows/desktops.json for ctest. Leaves DISPLAY and WINEPREFIX naming
# the first.
TEST_DESKTOPS=${TEMPIK_TEST_DESKTOPS:-2}
start_test_desktops() {
    local i desktops=""
    wine_prefixes || return 1
    # The displays and window managers first: the first Wine process (making
    # the prefix, the first time) already finds a desktop.
    for ((i = 0; i < TEST_DESKTOPS; i++)); do
        start_display
        start_wm
        local prefix=$TEMPIK_WINE_PREFIXES/desktop
        ((i == 0)) || prefix+=-$i
        export "TEMPIK_DISPLAY_$i=$DISPLAY" "TEMPIK_WINEPREFIX_$i=$prefix"
        desktops+="${desktops:+, }{\"id\": \"$i\", \"slots\": 1}"
    done
    export DISPLAY=$TEMPIK_DISPLAY_0 WINEPREFIX=$TEMPIK_WINEPREFIX_0
    wine_prefix
    # The end-to-end test at the other display scales starts their wineservers on
    # the desktop ctest gives it.
    local dpi
    for dpi in $SCALED_DPIS; do scaled_prefix "$dpi" "$TEMPIK_WINE_PREFIXES/dpi$dpi"; done
    for ((i = TEST_DESKTOPS - 1; i >= 0; i--)); do
        local display=TEMPIK_DISPLAY_$i prefix=TEMPIK_WINEPREFIX_$i
        export DISPLAY=${!display} WINEPREFIX=${!prefix}
        ((i == 0)) || copy_of_first "$WINEPREFIX" || true
        start_wineserver
    done
    # What ctest hands out (the windows test preset reads it); tests that need no
    # desktop of their own run on the first.
    printf '{"version": {"major": 1, "minor": 0}, "local": [{"desktop": [%s]}]}\n' "$desktops" \
        >"$BUILD/windows/desktops.json"
}
