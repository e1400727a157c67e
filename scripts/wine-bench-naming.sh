#!/usr/bin/env bash
# Timings of the naming menu under Wine: three operations on many lines,
# each against one WM_SETTEXT of the same final text, and building and
# opening the menu (not part of the test run).
#   wine-bench-naming.sh [rounds [lines]]     (default: 5 rounds of 10,000 lines)
set -uo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KV_ROOT"

bash scripts/setup.sh </dev/null || exit 1
bash scripts/build.sh win32 </dev/null || exit 1
kv_wine_env
kv_start_xvfb || exit 1
trap 'kv_wine_down; kv_stop_xvfb' EXIT
kv_prefix || exit 1
timeout -k 10 1800 wine build/win32/korvalin_namingbench.exe "${1:-5}" "${2:-10000}" </dev/null | tr -d '\r'
