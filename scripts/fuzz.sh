#!/usr/bin/env bash
# Runs the libFuzzer targets of tests/fuzz (built by scripts/build.sh fuzz),
# each for a bounded time, starting from its seed corpus in
# tests/fuzz/corpus/<target> and what earlier runs kept in build/fuzz/corpus.
# Any crash, sanitizer report, leak, broken property or input that takes
# over 2 s is a failure; its input is kept in build/fuzz/artifacts.
# One PASS or FAIL line per target, with the executions it reached.
#   fuzz.sh [seconds [target...]]     (default: 600 s, every target)
# KV_FUZZ_JOBS targets run at once (default: the number of cores).
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true
bin=build/fuzz/tests/fuzz
targets="$*"
[ -n "$targets" ] || targets=$(cd tests/fuzz && ls -1 fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//')
jobs=${KV_FUZZ_JOBS:-$(nproc 2>/dev/null || echo 2)}
mkdir -p build/fuzz/logs build/fuzz/artifacts

run_one() {
    local t=$1 log=build/fuzz/logs/$1.log work=build/fuzz/corpus/$1 rc
    mkdir -p "$work"
    if [ ! -x "$bin/fuzz_$t" ]; then
        echo "FAIL fuzz $t: $bin/fuzz_$t is missing (run scripts/build.sh fuzz)"
        return 1
    fi
    # A dictionary of the format's pieces, where the target has one.
    local -a dict=()
    case $t in
        inifile|inioptions) dict=(-dict=tests/fuzz/ini.dict) ;;
        commandline|panel) dict=(-dict=tests/fuzz/commandline.dict) ;;
    esac
    # New inputs go to the first folder; the seeds in the repository stay as
    # they are.
    timeout -k 10 $((seconds + 120)) "$bin/fuzz_$t" "${dict[@]}" -max_total_time="$seconds" -timeout=2 \
        -rss_limit_mb=1024 -print_final_stats=1 -artifact_prefix="build/fuzz/artifacts/$t-" \
        "$work" "tests/fuzz/corpus/$t" >"$log" 2>&1 </dev/null
    rc=$?
    local runs
    runs=$(grep -a -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    if [ "$rc" -eq 0 ]; then
        echo "PASS fuzz $t: ${runs:-?} executions in $seconds s"
        return 0
    fi
    local what
    what=$(grep -a -m1 -E 'property failed|ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer)|runtime error:' "$log")
    echo "FAIL fuzz $t: ${what:-exit code $rc} (log $log)"
    grep -a -m1 'Test unit written to' "$log" | sed 's/^/    /'
    return 1
}

names=()
for t in $targets; do
    # At most $jobs at once; each writes its line to a file of its own.
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
    run_one "$t" >"build/fuzz/logs/$t.result" &
    names+=("$t")
done
wait
failed=0
for t in "${names[@]}"; do
    cat "build/fuzz/logs/$t.result"
    grep -q '^PASS ' "build/fuzz/logs/$t.result" || failed=$((failed + 1))
done
echo "fuzz: ${#names[@]} targets, $failed failed"
[ "$failed" -eq 0 ]
