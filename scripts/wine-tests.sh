#!/usr/bin/env bash
# Runs the Windows-side tests under Wine: kvtest.exe drives korvalin.exe
# through the stand-in file manager, one case group per Wine process so that
# one stuck group cannot take the others with it; then kvinidiff.exe
# compares Korvalin's ini reader with the system's (group "ini-diff"). Ends
# with the line "N passed, N failed"; the exit code is non-zero when
# anything failed.
#   wine-tests.sh [group...]      (default: every group kvtest.exe lists, and ini-diff)
set -uo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KV_ROOT"

passed=0
failed=0
root=

finish() {
    kv_wine_down
    kv_stop_xvfb
    if [ -n "$root" ] && [ -d "$root" ]; then
        # A case that failed half-way may have left its ini immutable.
        chattr -R -i "$root" 2>/dev/null
        if [ "$failed" -eq 0 ]; then rm -rf "$root"; else echo "case folders kept in $root"; fi
    fi
    echo "$passed passed, $failed failed"
}

kv_wine_env
bin=$KV_WINBUILD
[ "$bin" = build/win32 ] || echo "INFO the Wine tests run $bin, the same sources built for x86-64 (no 32-bit programs run here, or KV_WINE_ARCH=win64)"
for exe in kvtest.exe fakefm.exe barewin.exe kvopen.exe korvalin.exe kvinidiff.exe; do
    if [ ! -f "$bin/$exe" ]; then
        echo "FAIL setup: $bin/$exe is missing (run scripts/build.sh)"
        echo "0 passed, 1 failed"
        exit 1
    fi
done

if ! kv_start_xvfb; then
    echo "FAIL setup: no X display"
    echo "0 passed, 1 failed"
    exit 1
fi
trap 'finish; trap - EXIT' EXIT
trap 'exit 130' INT TERM
if ! kv_prefix; then
    echo "FAIL setup: no Wine prefix"
    failed=1
    exit 1
fi

chattr -R -i build/wine-cases.* 2>/dev/null
rm -rf build/wine-cases.*
root=$(mktemp -d "$KV_ROOT/build/wine-cases.XXXXXX")
# The case folders are reached through a drive letter of their own, so that
# the paths Korvalin sees are as short wherever the checkout lies: a case
# about names near MAX_PATH must not depend on the checkout's depth.
winroot=$(kv_map_drive "$root") || { echo "FAIL setup: no drive for the case folders"; failed=1; exit 1; }

groups="$*"
if [ -z "$groups" ]; then
    groups=$(timeout -k 5 60 wine "$bin/kvtest.exe" --list 2>/dev/null </dev/null | tr -d '\r')
fi
if [ -z "$groups" ]; then
    echo "FAIL setup: kvtest.exe --list gave nothing"
    failed=1
    exit 1
fi

# One group in a Wine process of its own, its lines shown and counted.
#   run_group <group> <label> <Windows root of its case folders> [program]
run_group() {
    local g=$1 label=$2 out="$root/$2.out" rc p f
    local -a cmd=("$bin/kvtest.exe" --root "$3\\$label" --case "$g")
    [ -n "${4:-}" ] && cmd=("$bin/$4" --root "$3\\$label")
    # The release group starts the zip that scripts/check-release.sh unpacked.
    if [ "$g" = release ] && [ -f build/release/unpacked/korvalin.exe ]; then
        local unpacked=build/release/unpacked
        if [ "$bin" != build/win32 ]; then
            # The zip's folder as it is, with the program of the build run here.
            unpacked=build/release/unpacked-${bin#build/}
            rm -rf "$unpacked" && cp -r build/release/unpacked "$unpacked" && cp "$bin/korvalin.exe" "$unpacked/"
            echo "INFO release: the unpacked zip is started with $bin/korvalin.exe in place of its own"
        fi
        cmd+=(--release "$(kv_winpath "$unpacked")")
    fi
    echo "== $label"
    timeout -k 10 240 wine "${cmd[@]}" >"$out" 2>"$root/$label.err" </dev/null
    rc=$?
    # -a: a line may hold GBK bytes, which grep would take for binary data.
    tr -d '\r' <"$out" | grep -a -E '^(PASS|FAIL|TIME|INFO) '
    p=$(tr -d '\r' <"$out" | grep -a -c '^PASS ')
    f=$(tr -d '\r' <"$out" | grep -a -c '^FAIL ')
    passed=$((passed + p))
    failed=$((failed + f))
    if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
        echo "FAIL $label: did not finish within 240 s"
        failed=$((failed + 1))
    elif [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then
        echo "FAIL $label: kvtest.exe ended with code $rc"
        sed 's/^/    /' "$root/$label.err" | head -20
        failed=$((failed + 1))
    fi
}

for g in $groups; do
    [ "$g" = ini-diff ] && continue
    run_group "$g" "$g" "$winroot"
done
if [ -z "$*" ] || [[ " $* " == *" ini-diff "* ]]; then
    run_group ini-diff ini-diff "$winroot" kvinidiff.exe
fi

# The cases about names near MAX_PATH once more, with the drive on a folder
# 160 bytes deeper: they must pass wherever the checkout lies.
if [ -z "$*" ] || [[ " $* " == *" long-names "* ]]; then
    deep="$root/deep"
    for i in 1 2 3 4; do deep="$deep/$(printf '%038d' "$i")"; done
    mkdir -p "$deep"
    if kv_map_drive "$deep" >/dev/null; then
        echo "(K: is now a folder of ${#deep} bytes)"
        run_group long-names long-names-deep "$winroot"
    else
        echo "FAIL long-names-deep: cannot map the drive"
        failed=$((failed + 1))
    fi
    kv_map_drive "$root" >/dev/null
fi

[ "$failed" -eq 0 ]
