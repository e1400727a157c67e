#!/usr/bin/env bash
# Runs the Windows-side tests under Wine: kvtest.exe drives korvalin.exe
# through the stand-in file manager, one case group per Wine process so that
# one stuck group cannot take the others with it; kvinidiff.exe compares
# Korvalin's ini reader with the system's (group "ini-diff"); kvconform.exe
# runs the headless backend's table of file-system calls against the Win32
# backend (group "conformance"); the cases
# about names near MAX_PATH run once more on a folder 160 bytes deeper
# ("long-names-deep"). Ends with the line "N passed, N failed"; the exit code
# is non-zero when anything failed.
#
# The groups share nothing but the machine, so they run in lanes (two by
# default, KV_WINE_LANES): each lane has its own virtual display, its own
# Wine prefix (a copy of the first one) and its own case folders, and takes
# the next group that no other lane has taken, the longest first. A group's
# lines are shown together when it ends, in the order the groups finish.
#   wine-tests.sh [--repeat N] [group...]
#       (default: every group kvtest.exe lists but the start-up timing, which
#       scripts/startup-bench.sh runs, and ini-diff, conformance and
#       long-names-deep)
#   --repeat N   the same selection N times in a row, with a line for each
#                round; the last line counts all rounds
# The case folders (with each group's output and Wine's messages) are kept
# when a check failed, or always with KV_KEEP_CASES=1.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KV_ROOT"

repeat=1
if [ "${1:-}" = --repeat ]; then
    repeat=${2:?--repeat needs a count}
    shift 2
fi

kv_wine_env
bin=$KV_WINBUILD
lanes=${KV_WINE_LANES:-2}
[ "$bin" = build/win32 ] || echo "INFO the Wine tests run $bin, the same sources built for x86-64 (no 32-bit Wine here, or KV_WINE_ARCH=win64)"
for exe in kvtest.exe fakefm.exe barewin.exe kvopen.exe korvalin.exe kvinidiff.exe kvconform.exe; do
    if [ ! -f "$bin/$exe" ]; then
        echo "FAIL setup: $bin/$exe is missing (run scripts/build.sh)"
        echo "0 passed, 1 failed"
        exit 1
    fi
done

root=
failed_total=0
finish() {
    kv_wine_down
    kv_stop_xvfb
    if [ -n "$root" ] && [ -d "$root" ]; then
        # A case that failed half-way may have left its ini immutable.
        chattr -R -i "$root" 2>/dev/null
        if [ "$failed_total" -eq 0 ] && [ -z "${KV_KEEP_CASES:-}" ]; then rm -rf "$root"
        else echo "case folders kept in $root"; fi
    fi
}
trap 'finish; trap - EXIT' EXIT
trap 'exit 130' INT TERM

# The first lane's prefix is made (or checked) once; the others are copies
# of it: its libraries hard-linked, its registry copied, since each Wine
# server rewrites its own.
base=$WINEPREFIX
kv_start_xvfb || { echo "FAIL setup: no X display"; echo "0 passed, 1 failed"; exit 1; }
if ! kv_prefix; then
    echo "FAIL setup: no Wine prefix"
    echo "0 passed, 1 failed"
    exit 1
fi
groups="$*"
if [ -z "$groups" ]; then
    groups=$(timeout -k 5 60 wine "$bin/kvtest.exe" --list 2>/dev/null </dev/null | tr -d '\r' |
             grep -vx startup-time | tr '\n' ' ')
    groups="$groups ini-diff conformance long-names-deep"
fi
kv_wine_down
kv_stop_xvfb
if [ -z "${groups// /}" ]; then
    echo "FAIL setup: kvtest.exe --list gave nothing"
    echo "0 passed, 1 failed"
    exit 1
fi
for l in $(seq 2 "$lanes"); do
    copy="$base.lane$l"
    if [ ! -f "$copy/system.reg" ] || [ "$base/system.reg" -nt "$copy/system.reg" ] ||
       [ "$base/user.reg" -nt "$copy/user.reg" ]; then
        rm -rf "$copy"
        cp -al "$base" "$copy" && for r in "$base"/*.reg; do rm -f "$copy/${r##*/}"; cp -p "$r" "$copy/"; done
    fi
done

# The longest groups first, so that the lanes end together; a group not
# named here comes after them, in the order given.
heavy="config handback naming create focus ini-diff bad-input initlist release templates questions"
ordered=()
for g in $heavy; do [[ " $groups " == *" $g "* ]] && ordered+=("$g"); done
for g in $groups; do [[ " $heavy " == *" $g "* ]] || ordered+=("$g"); done

chattr -R -i build/wine-cases.* 2>/dev/null
rm -rf build/wine-cases.*
root=$(mktemp -d "$KV_ROOT/build/wine-cases.XXXXXX")

# One group in a Wine process of its own; its lines and counts go to
# $out/<label>.{lines,count}.
#   run_group <group> <label> <Windows root of the case folders>
run_group() {
    local g=$1 label=$2 out="$work/$2" rc p f start
    local -a cmd=("$bin/kvtest.exe" --root "$3\\$label" --case "$g")
    [ "$g" = ini-diff ] && cmd=("$bin/kvinidiff.exe" --root "$3\\$label")
    [ "$g" = conformance ] && cmd=("$bin/kvconform.exe" --root "$3\\$label")
    # The release group starts the zip that scripts/check-release.sh unpacked.
    if [ "$g" = release ] && [ -f build/release/unpacked/korvalin.exe ]; then
        local unpacked=build/release/unpacked
        if [ "$bin" != build/win32 ]; then
            # The zip's folder as it is, with the program of the build run here.
            unpacked=build/release/unpacked-${bin#build/}
            rm -rf "$unpacked" && cp -r build/release/unpacked "$unpacked" && cp "$bin/korvalin.exe" "$unpacked/"
        fi
        cmd+=(--release "$(kv_winpath "$unpacked")")
    fi
    start=$(date +%s)
    timeout -k 10 240 wine "${cmd[@]}" >"$out.out" 2>"$out.err" </dev/null
    rc=$?
    {
        echo "== $label ($(( $(date +%s) - start )) s, lane $lane)"
        [ "$g" = release ] && [ "$bin" != build/win32 ] &&
            echo "INFO release: the unpacked zip is started with $bin/korvalin.exe in place of its own"
        # -a: a line may hold GBK bytes, which grep would take for binary data.
        tr -d '\r' <"$out.out" | grep -a -E '^(PASS|FAIL|TIME|INFO) '
    } >"$out.lines"
    p=$(tr -d '\r' <"$out.out" | grep -a -c '^PASS ')
    f=$(tr -d '\r' <"$out.out" | grep -a -c '^FAIL ')
    # The program's own last line must agree with the lines that arrived: a
    # lost output handle would otherwise pass as a short, clean group.
    local summary
    summary=$(tr -d '\r' <"$out.out" | grep -a -E '^[0-9]+ passed, [0-9]+ failed$' | tail -1)
    if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
        echo "FAIL $label: did not finish within 240 s" >>"$out.lines"
        f=$((f + 1))
    elif [ "$summary" != "$p passed, $f failed" ]; then
        echo "FAIL $label: the output ended early: $p PASS and $f FAIL lines, the program said '${summary:-nothing}'" \
            >>"$out.lines"
        f=$((f + 1))
    elif [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then
        { echo "FAIL $label: kvtest.exe ended with code $rc"; sed 's/^/    /' "$out.err" | head -20; } >>"$out.lines"
        f=$((f + 1))
    fi
    echo "$p $f" >"$out.count"
}

# One lane: its display, its prefix, its case folders on its own drive K:;
# it runs every group that no other lane has claimed yet.
run_lane() {
    lane=$1
    [ "$lane" -gt 1 ] && export WINEPREFIX="$base.lane$lane"
    local cases="$round_root/lane$lane" winroot g
    mkdir -p "$cases"
    kv_start_xvfb || { echo "1" >"$work/lane$lane.broken"; return; }
    # The case folders are reached through a drive letter of their own, so
    # that the paths Korvalin sees are as short wherever the checkout lies:
    # a case about names near MAX_PATH must not depend on its depth.
    winroot=$(kv_map_drive "$cases") || { echo "1" >"$work/lane$lane.broken"; kv_stop_xvfb; return; }
    for g in "${ordered[@]}"; do
        mkdir "$work/claim.$g" 2>/dev/null || continue
        if [ "$g" = long-names-deep ]; then
            local deep="$cases/deep"
            for i in 1 2 3 4; do deep="$deep/$(printf '%038d' "$i")"; done
            mkdir -p "$deep"
            kv_map_drive "$deep" >/dev/null && run_group long-names long-names-deep "$winroot"
            kv_map_drive "$cases" >/dev/null
        else
            run_group "$g" "$g" "$winroot"
        fi
        cat "$work/$g.lines"
    done
    kv_wine_down
    kv_stop_xvfb
}

for round in $(seq 1 "$repeat"); do
    round_root="$root/round$round"
    work="$round_root/out"
    mkdir -p "$work"
    [ "$repeat" -gt 1 ] && echo "=== round $round of $repeat"
    started=$(date +%s)
    for l in $(seq 1 "$lanes"); do run_lane "$l" & done
    wait
    passed=0
    failed=0
    for g in "${ordered[@]}"; do
        if [ -f "$work/$g.count" ]; then
            read -r p f <"$work/$g.count"
        else
            echo "FAIL $g: did not run (no lane took it)"
            p=0 f=1
        fi
        passed=$((passed + p))
        failed=$((failed + f))
    done
    if ls "$work"/lane*.broken >/dev/null 2>&1; then
        echo "FAIL setup: a lane had no display or no drive for its case folders"
        failed=$((failed + 1))
    fi
    passed_total=$(( ${passed_total:-0} + passed ))
    failed_total=$((failed_total + failed))
    [ "$repeat" -gt 1 ] && echo "round $round: $passed passed, $failed failed in $(( $(date +%s) - started )) s"
done
echo "$passed_total passed, $failed_total failed"
[ "$failed_total" -eq 0 ]
