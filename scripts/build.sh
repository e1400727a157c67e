#!/usr/bin/env bash
# Builds the host side (portable core and unit tests) into build/host and the
# Windows side (korvalin.exe and the Wine test programs) into build/win32,
# and into build/win64 too where the Wine tests need it.
# Two more host builds: the unit tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (build/host-asan), and the libFuzzer targets
# with clang (build/fuzz).
#   build.sh [host|win32|asan|fuzz|winbench|all]   (default: all = host and win32)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KV_ROOT"

what=${1:-all}
jobs=$(nproc 2>/dev/null || echo 2)

if [ "$what" = host ] || [ "$what" = all ]; then
    echo "build: host"
    cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/host -j "$jobs"
fi

# What the tests run under Wine; the benchmarks are built by their scripts
# (build.sh winbench).
test_targets=(korvalin fakefm kvtest barewin kvopen kvinidiff kvconform)
# A Windows build in folder $1 with toolchain $2 of the targets after them.
win_build() {
    local dir=$1 toolchain=$2
    shift 2
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
    cmake --build "$dir" -j "$jobs" --target "$@"
}

if [ "$what" = win32 ] || [ "$what" = all ]; then
    # Where this machine runs no 32-bit Wine, the Wine tests run the same
    # sources built for x86-64 (scripts/lib.sh, kv_wine_arch), and the
    # 32-bit build gives the product alone.
    if [ "$(kv_wine_arch)" = win64 ]; then
        echo "build: win32 (the product)"
        win_build build/win32 cmake/mingw-i686.cmake korvalin
        echo "build: win64 (the Wine tests run it: no 32-bit Wine here)"
        win_build build/win64 cmake/mingw-x86_64.cmake "${test_targets[@]}"
        dir=build/win64
    else
        echo "build: win32"
        win_build build/win32 cmake/mingw-i686.cmake "${test_targets[@]}"
        dir=build/win32
    fi
    for exe in korvalin.exe fakefm.exe kvtest.exe barewin.exe kvopen.exe kvinidiff.exe kvconform.exe; do
        if [ ! -f "$dir/$exe" ]; then
            echo "build: $dir/$exe is missing" >&2
            exit 1
        fi
    done
fi

if [ "$what" = winbench ]; then
    # The timings under Wine, in the build the Wine tests run.
    dir=build/$(kv_wine_arch)
    echo "build: benchmarks in $dir"
    win_build "$dir" "$(kv_wine_toolchain)" korvalin_winbench korvalin_namingbench "${test_targets[@]}"
fi
if [ "$what" = asan ]; then
    echo "build: host-asan"
    # No benchmarks here: timings under the sanitizers mean nothing.
    cmake -S . -B build/host-asan -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
        -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=TRUE >/dev/null
    cmake --build build/host-asan -j "$jobs"
fi

if [ "$what" = fuzz ]; then
    echo "build: fuzz"
    cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DKORVALIN_FUZZ=ON >/dev/null
    cmake --build build/fuzz -j "$jobs"
fi
echo "build: done"
