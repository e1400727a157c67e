#!/usr/bin/env bash
# Builds the host side (portable core and unit tests) into build/host and the
# Windows side (korvalin.exe and the Wine test programs) into build/win32.
#   build.sh [host|win32|all]     (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."

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
    for exe in korvalin.exe fakefm.exe kvtest.exe barewin.exe kvopen.exe; do
        if [ ! -f "build/win32/$exe" ]; then
            echo "build: build/win32/$exe is missing" >&2
            exit 1
        fi
    done
fi
echo "build: done"
