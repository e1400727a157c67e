#!/usr/bin/env bash
# Where Korvalin's start-up time goes. Builds benchmark copies of
# korvalin.exe, barewin.exe and barewin-themed.exe that note time stamps
# (build/stamps, CMake option KORVALIN_STARTUP_STAMPS), then times them under
# Wine in interleaved rounds: the medians, the ratios and the median time of
# each stamp since the process was created.
#   startup-bench.sh [rounds]      (default: 10)
set -uo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KV_ROOT"

bash scripts/setup.sh </dev/null >/dev/null || exit 1
bash scripts/build.sh win32 </dev/null >/dev/null || exit 1
echo "build: stamps"
cmake -S . -B build/stamps -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DKORVALIN_STARTUP_STAMPS=ON -DKORVALIN_WINE_TEST_PROGRAMS=ON >/dev/null || exit 1
cmake --build build/stamps --target korvalin barewin barewin-themed -j "$(nproc 2>/dev/null || echo 2)" \
    >/dev/null || exit 1
# kvtest.exe takes its baselines from its own folder.
cp build/win32/kvtest.exe build/stamps/

kv_wine_env
kv_start_xvfb || exit 1
root=
trap 'kv_wine_down; kv_stop_xvfb; [ -z "$root" ] || rm -rf "$root"' EXIT
kv_prefix || exit 1
root=$(mktemp -d "$KV_ROOT/build/startup-bench.XXXXXX")
timeout -k 10 600 wine build/stamps/kvtest.exe --root "$(kv_winpath "$root")" --case startup-time \
    --reps "${1:-10}" </dev/null | tr -d '\r' |
    grep -a -E '^(TIME|FAIL|INFO) '
