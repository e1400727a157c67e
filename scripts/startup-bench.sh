#!/usr/bin/env bash
# Where Korvalin's start-up time goes. Builds benchmark copies of
# korvalin.exe, barewin.exe and barewin-themed.exe that note time stamps
# (build/stamps, CMake option KORVALIN_STARTUP_STAMPS), and
# korvalin-classic.exe, the same program without the themed controls
# (KORVALIN_CLASSIC_CONTROLS); then times them under Wine in interleaved
# rounds: the medians, the ratios and the median time of each stamp since
# the process was created.
#   startup-bench.sh [rounds]      (default: 10)
set -uo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KV_ROOT"

bash scripts/setup.sh </dev/null >/dev/null || exit 1
bash scripts/build.sh win32 </dev/null >/dev/null || exit 1
kv_wine_env
# The stamps build is of the same width as the build the Wine tests run.
toolchain=$(kv_wine_toolchain) stamps=build/stamps
[ "$KV_WINBUILD" = build/win32 ] || stamps=build/stamps64
echo "build: stamps ($toolchain)"
# A stamps build in folder $1 of the targets $2, with the options after them.
stamps_build() {
    local dir=$1 targets=$2
    shift 2
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DKORVALIN_STARTUP_STAMPS=ON "$@" >/dev/null &&
        cmake --build "$dir" --target $targets -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
}
stamps_build "$stamps" "korvalin barewin barewin-themed" -DKORVALIN_WINE_TEST_PROGRAMS=ON || exit 1
# The same program with the classic controls, to weigh the themed ones.
stamps_build "$stamps-classic" korvalin -DKORVALIN_CLASSIC_CONTROLS=ON || exit 1
cp "$stamps-classic/korvalin.exe" "$stamps/korvalin-classic.exe"
# kvtest.exe takes its baselines from its own folder.
cp "$KV_WINBUILD/kvtest.exe" "$stamps/"

kv_start_xvfb || exit 1
root=
trap 'kv_wine_down; kv_stop_xvfb; [ -z "$root" ] || rm -rf "$root"' EXIT
kv_prefix || exit 1
root=$(mktemp -d "$KV_ROOT/build/startup-bench.XXXXXX")
timeout -k 10 600 wine "$stamps/kvtest.exe" --root "$(kv_winpath "$root")" --case startup-time \
    --reps "${1:-10}" </dev/null | tr -d '\r' |
    grep -a -E '^(TIME|FAIL|INFO) '
