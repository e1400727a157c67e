#!/usr/bin/env bash
# Host timings (tests/bench): the confirm step and the pattern matcher, each
# as a ratio to a baseline measured in the same run. Not part of the test
# command: timings on a shared machine vary, and a run takes about a minute.
# Fails when a pair does not do the same work or a measurement is missing.
#   host-bench.sh [benchmark options...]   (e.g. --benchmark_repetitions=5)
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh host </dev/null >/dev/null || exit 1
if [ ! -x build/host/korvalin_bench ]; then
    echo "bench: build/host/korvalin_bench was not built (Google Benchmark missing?)" >&2
    exit 1
fi
build/host/korvalin_bench "$@"
