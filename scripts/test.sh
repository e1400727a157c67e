#!/usr/bin/env bash
# Every test: installs what is missing, builds both sides, runs the host
# unit tests (ctest), checks the release zip and then runs the Wine tests. The last line is the Wine
# tests' "N passed, N failed"; the exit code is non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."

status=0
bash scripts/setup.sh </dev/null || exit 1

if bash scripts/build.sh host </dev/null; then
    ctest --test-dir build/host --output-on-failure --timeout 300 </dev/null || status=1
else
    echo "test: the host build failed"
    status=1
fi

if bash scripts/build.sh win32 </dev/null; then
    # The zip first: the Wine tests then start it from its unpacked folder.
    bash scripts/check-release.sh </dev/null || status=1
    bash scripts/wine-tests.sh </dev/null || status=1
else
    echo "test: the Windows build failed, no Wine tests"
    echo "0 passed, 1 failed"
    status=1
fi
exit "$status"
