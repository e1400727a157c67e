#!/usr/bin/env bash
# Every test: installs what is missing, builds both sides, runs the host
# unit tests (ctest), the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer, every fuzz target for a bounded time
# (KV_FUZZ_SECONDS, default 15 s each), checks the release zip and then runs
# the Wine tests. The last line is "N passed, N failed" over the Wine tests;
# the exit code is non-zero on any failure.
#
# Two chains run side by side on two cores: the host chain (build, unit
# tests, the sanitizer build and its tests, the fuzz build and the fuzz
# targets one at a time) and the Windows chain (build, release check, Wine
# tests). The Wine tests mostly wait on windows, so the host chain's
# compiling fills the time. The host chain runs whatever becomes of Wine.
# Each chain's output is shown when it ends, the Wine tests' last.
set -uo pipefail
cd "$(dirname "$0")/.."
mkdir -p build/logs

t0=$(date +%s)
phase() {  # phase <name> <start>: one line with the phase's time
    echo "test: $1 took $(( $(date +%s) - $2 )) s"
}

t=$(date +%s)
bash scripts/setup.sh </dev/null
setup_rc=$?
phase setup "$t"

# One host phase: `build.sh <what>`, then the command after it; one line
# with the phase's time.  phase_run <what> <name> <command...>
phase_run() {
    local what=$1 name=$2 t rc=0
    shift 2
    t=$(date +%s)
    if bash scripts/build.sh "$what" </dev/null; then
        "$@" </dev/null || rc=1
    else
        echo "test: the $what build failed"
        rc=1
    fi
    phase "$name" "$t"
    return "$rc"
}

host_chain() {
    local status=0
    phase_run host "host build and unit tests" \
        ctest --test-dir build/host -j2 --output-on-failure --timeout 300 || status=1
    # A sanitizer report ends the test that made it (no recovery), so ctest
    # counts it as a failure; so does a leak at the end of a test program.
    phase_run asan "sanitizer build and unit tests" \
        env ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build/host-asan -j2 --output-on-failure --timeout 300 || status=1
    phase_run fuzz "fuzz build and fuzzing" \
        env KV_FUZZ_JOBS=1 bash scripts/fuzz.sh "${KV_FUZZ_SECONDS:-15}" || status=1
    return "$status"
}

hostlog=build/logs/host.log
host_chain >"$hostlog" 2>&1 &
host_pid=$!

status=0
[ "$setup_rc" -eq 1 ] && status=1
winlog=build/logs/windows.log
winout=build/logs/wine-tests.log
win_ran=0
why=
if [ "$setup_rc" -eq 2 ]; then
    why=$(cat build/setup-wine.txt 2>/dev/null || echo "Wine is not installed")
else
    t=$(date +%s)
    if bash scripts/build.sh win32 </dev/null >"$winlog" 2>&1; then
        phase "the Windows build" "$t" >>"$winlog"
        t=$(date +%s)
        # The zip first: the Wine tests then start it from its unpacked folder.
        bash scripts/check-release.sh </dev/null >>"$winlog" 2>&1 || status=1
        bash scripts/wine-tests.sh </dev/null >"$winout" 2>&1 || status=1
        phase "release check and Wine tests" "$t" >>"$winlog"
        win_ran=1
    else
        why="the Windows build failed"
        status=1
    fi
fi

wait "$host_pid" || status=1
cat "$hostlog" "$winlog" 2>/dev/null
phase "the whole test command" "$t0"
if [ "$win_ran" = 1 ]; then
    # The Wine tests' lines, ending with their "N passed, N failed".
    cat "$winout"
else
    echo "test: the Windows tests could not run: $why"
    echo "0 passed, 1 failed"
    status=1
fi
exit "$status"
