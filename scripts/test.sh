#!/usr/bin/env bash
# Every test: installs what is missing, builds both sides, runs the host
# unit tests (ctest), the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer, every fuzz target for a bounded time
# (KV_FUZZ_SECONDS, default 15 s each), checks the release zip and then runs
# the Wine tests. The last line is the Wine tests' "N passed, N failed"; the
# exit code is non-zero on any failure.
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

# A sanitizer report ends the test that made it (no recovery), so ctest
# counts it as a failure; so does a leak at the end of a test program.
if bash scripts/build.sh asan </dev/null; then
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build/host-asan --output-on-failure --timeout 300 </dev/null || status=1
else
    echo "test: the sanitizer build failed"
    status=1
fi

if bash scripts/build.sh fuzz </dev/null; then
    bash scripts/fuzz.sh "${KV_FUZZ_SECONDS:-15}" </dev/null || status=1
else
    echo "test: the fuzz build failed"
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
