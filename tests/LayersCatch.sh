#!/usr/bin/env bash
# tools/check-layers fails on each include that breaks a layer, naming the file: each
# case below is added to a copy of the tree, which passes before.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp "$ROOT/layers.rules" "$copy/"
for area in time framework theme controls settings stopwatch app res tests/support; do
    mkdir -p "$copy/$area"
    cp "$ROOT/$area"/*.h "$copy/$area/" 2>/dev/null || true
    cp "$ROOT/$area"/*.cpp "$copy/$area/" 2>/dev/null || true
done
"$ROOT/tools/check-layers" "$copy/layers.rules" "$copy" >/dev/null

failed=0
while read -r file include; do
    cp "$copy/$file" "$copy/saved"
    echo "#include $include" >>"$copy/$file"
    if out=$("$ROOT/tools/check-layers" "$copy/layers.rules" "$copy") || [[ $out != *"$file:"*"$include"* ]]; then
        echo "FAIL: $file including $include passed the check: $out"
        failed=1
    else
        echo "ok $file may not include $include"
    fi
    mv "$copy/saved" "$copy/$file"
done <<'CASES'
controls/IconButton.cpp "app/AboutDlg.h"
controls/IconButton.h "stopwatch/RondixDlg.h"
framework/Wnd.cpp "settings/SettingsStore.h"
stopwatch/RondixDlg.cpp "app/RondixApp.h"
time/Ticks.h <windows.h>
settings/WindowRecord.cpp "settings/SettingsStore.h"
CASES
exit $failed
