#!/usr/bin/env bash
# Timings on the real file system under Wine (not part of the test run: a
# full run of 10,000 lines takes several minutes a round here).
#   wine-bench.sh [rounds [lines]]     (default: 3 rounds of 10,000 lines)
#   wine-bench.sh handback [rounds]    marking the new items in the stand-in
#                                      panel (default: 3 rounds)
#   wine-bench.sh naming [rounds [lines]]  the naming menu's operations on many
#                                      lines, each against one WM_SETTEXT of
#                                      the same final text, and building and
#                                      opening the menu (default: 5 rounds of
#                                      10,000 lines)
set -uo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KV_ROOT"

bash scripts/setup.sh </dev/null || exit 1
bash scripts/build.sh winbench </dev/null || exit 1
kv_wine_env
kv_start_xvfb || exit 1
trap 'kv_wine_down; kv_stop_xvfb' EXIT
kv_prefix || exit 1
if [ "${1:-}" = naming ]; then
    timeout -k 10 1800 wine "$KV_WINBUILD"/korvalin_namingbench.exe "${2:-5}" "${3:-10000}" </dev/null | tr -d '\r'
elif [ "${1:-}" = handback ]; then
    timeout -k 10 3600 wine "$KV_WINBUILD"/korvalin_winbench.exe handback "${2:-3}" </dev/null | tr -d '\r'
else
    timeout -k 10 7200 wine "$KV_WINBUILD"/korvalin_winbench.exe "${1:-3}" "${2:-10000}" </dev/null | tr -d '\r'
fi
