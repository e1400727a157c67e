#!/usr/bin/env bash
# Every test: installs what is missing, builds both sides, runs the host
# unit tests (ctest), the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer, every fuzz target for a bounded time
# (KV_FUZZ_SECONDS, default 15 s each), checks the release zip and then runs
# the Wine tests. The last line is "N passed, N failed" over the Wine tests;
# the exit code is non-zero on any failure.
#
# On two cores the phases overlap where one leaves the processor idle: the
# Windows build runs beside the host builds and their tests, and the fuzz
# targets (one at a time) beside the Wine tests, which mostly wait on
# windows. The host phases run whatever becomes of Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
mkdir -p build/logs

t0=$(date +%s)
status=0
phase() {  # phase <name> <start>: one line with the phase's time
    echo "test: $1 took $(( $(date +%s) - $2 )) s"
}

t=$(date +%s)
bash scripts/setup.sh </dev/null
setup_rc=$?
[ "$setup_rc" -eq 1 ] && status=1
phase setup "$t"

# The Windows build, beside the host phases; its output is shown after them.
winlog=build/logs/build-windows.log
winbuild_pid=
if [ "$setup_rc" -ne 2 ]; then
    ( t=$(date +%s); bash scripts/build.sh win32 </dev/null; rc=$?; phase "the Windows build" "$t"; exit "$rc" ) \
        >"$winlog" 2>&1 &
    winbuild_pid=$!
fi

t=$(date +%s)
if bash scripts/build.sh host </dev/null; then
    ctest --test-dir build/host --output-on-failure --timeout 300 </dev/null || status=1
else
    echo "test: the host build failed"
    status=1
fi
phase "host build and unit tests" "$t"

# A sanitizer report ends the test that made it (no recovery), so ctest
# counts it as a failure; so does a leak at the end of a test program.
t=$(date +%s)
if bash scripts/build.sh asan </dev/null; then
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build/host-asan --output-on-failure --timeout 300 </dev/null || status=1
else
    echo "test: the sanitizer build failed"
    status=1
fi
phase "sanitizer build and unit tests" "$t"

t=$(date +%s)
fuzz_ok=1
bash scripts/build.sh fuzz </dev/null || { echo "test: the fuzz build failed"; fuzz_ok=0; status=1; }
phase "fuzz build" "$t"

win_ok=0
why=
if [ -n "$winbuild_pid" ]; then
    wait "$winbuild_pid" && win_ok=1
    cat "$winlog"
    [ "$win_ok" = 1 ] || why="the Windows build failed"
else
    why=$(cat build/setup-wine.txt 2>/dev/null || echo "Wine is not installed")
fi

# The fuzz targets one at a time, beside the Wine tests.
fuzzlog=build/logs/fuzz.log
fuzz_pid=
if [ "$fuzz_ok" = 1 ]; then
    ( t=$(date +%s); KV_FUZZ_JOBS=1 bash scripts/fuzz.sh "${KV_FUZZ_SECONDS:-15}" </dev/null; rc=$?
      phase "fuzzing" "$t"; exit "$rc" ) >"$fuzzlog" 2>&1 &
    fuzz_pid=$!
fi

winout=build/logs/wine-tests.log
if [ "$win_ok" = 1 ]; then
    t=$(date +%s)
    # The zip first: the Wine tests then start it from its unpacked folder.
    bash scripts/check-release.sh </dev/null || status=1
    bash scripts/wine-tests.sh </dev/null >"$winout" 2>&1 || status=1
    phase "release check and Wine tests" "$t"
fi

if [ -n "$fuzz_pid" ]; then
    wait "$fuzz_pid" || status=1
    cat "$fuzzlog"
fi

phase "the whole test command" "$t0"
if [ "$win_ok" = 1 ]; then
    # The Wine tests' lines, ending with their "N passed, N failed".
    cat "$winout"
else
    echo "test: the Windows tests could not run: $why"
    echo "0 passed, 1 failed"
    status=1
fi
exit "$status"
