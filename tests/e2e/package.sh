#!/usr/bin/env bash
# The release zip as it is shipped: its files, its checksum, what Tempik.exe
# imports, and what it loads at start-up.
# Needs DISPLAY and WINEPREFIX; OBJDUMP names MinGW's objdump.
# Usage: package.sh path/to/Tempik-<version>-win64.zip
set -uo pipefail
source "$(dirname "$(realpath "$0")")/e2e_lib.sh"
e2e_setup "$@"
OBJDUMP=${OBJDUMP:-x86_64-w64-mingw32-objdump}

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

echo "== first start with no settings"
start_tempik --unasked
# The shell comes only with a link opened, and Tempik opens none.
shell_not_loaded() { grep -q 'Tempik\.exe' "/proc/$PID/maps" && ! grep -qi 'shell32\.dll' "/proc/$PID/maps"; }
check "shell32 is not loaded at start-up" shell_not_loaded
end_tempik
finish
