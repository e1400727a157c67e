#!/usr/bin/env bash
# Builds the host side (portable core and unit tests) into build/host and the
# Windows side (korvalin.exe and the Wine test programs) into build/win32,
# and into build/win64 too where the Wine tests need it.
# Two more host builds: the unit tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (build/host-asan), and the libFuzzer targets
# with clang (build/fuzz).
#   build.sh [host|win32|asan|fuzz|all]     (default: all = host and win32)
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

if [ "$what" = win32 ] || [ "$what" = all ]; then
    echo "build: win32"
    cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
    cmake --build build/win32 -j "$jobs"
    dirs=(build/win32)
    # Where this machine runs no 32-bit programs, the Wine tests run the
    # same sources built for x86-64 (scripts/lib.sh, kv_wine_arch).
    if [ "$(kv_wine_arch)" = win64 ]; then
        echo "build: win64 (this machine runs no 32-bit programs)"
        cmake -S . -B build/win64 -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
        cmake --build build/win64 -j "$jobs"
        dirs+=(build/win64)
    fi
    for d in "${dirs[@]}"; do
        for exe in korvalin.exe fakefm.exe kvtest.exe barewin.exe kvopen.exe kvinidiff.exe; do
            if [ ! -f "$d/$exe" ]; then
                echo "build: $d/$exe is missing" >&2
                exit 1
            fi
        done
    done
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
