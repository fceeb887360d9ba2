# shellcheck shell=bash
# The release zip's build and its check against a clean clone of HEAD, for
# ./dev package and ./dev bench. Sourced by dev; needs ROOT, BUILD and say.

# Builds the release zip (and the other windows targets named); ZIP names it.
build_package() {
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target tempik_package "$@"
    ZIP=$(ls "$BUILD"/dist/Tempik-*-win64.zip)
}

# Builds HEAD again in a clean clone elsewhere (only the program and the
# package, with the same SOURCE_DATE_EPOCH) and compares it with build/.
verify_package() {
    local other rc=0 f
    other=$(mktemp -d "${TMPDIR:-/tmp}/tempik-verify.XXXXXX")
    export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$ROOT" log -1 --format=%ct)}
    say "building $(git -C "$ROOT" rev-parse --short HEAD) again in $other/src (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"
    git clone -q --no-checkout "$ROOT" "$other/src"
    git -C "$other/src" checkout -q --detach "$(git -C "$ROOT" rev-parse HEAD)"
    (cd "$other/src" && cmake --preset windows >/dev/null &&
        cmake --build --preset windows --target tempik_package >/dev/null) || {
        say "the clean clone's build failed (kept in $other)"; return 1; }
    local name=${ZIP##*/}
    for f in "windows/package/stage/Tempik.exe" "dist/$name" "dist/SHA256SUMS"; do
        if cmp -s "$BUILD/$f" "$other/src/build/$f"; then
            say "same bytes: $f"
        else
            say "DIFFERENT: build/$f and $other/src/build/$f"
            rc=1
        fi
    done
    printf '%s  %s\n' "$(sha256sum <"$ZIP" | cut -d' ' -f1)" "build/dist/$name (this tree)" \
        "$(sha256sum <"$other/src/build/dist/$name" | cut -d' ' -f1)" "$other/src/build/dist/$name (clean clone)"
    if ((rc)); then
        say "the two builds differ (the clone is kept in $other)"
    else
        rm -rf "$other"
        say "reproducible: a clean clone of HEAD gives the same package"
    fi
    return $rc
}
