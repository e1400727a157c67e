#!/usr/bin/env bash
# Installs what the build and the Wine tests need, and nothing that is
# already there. Safe to run again: with everything present it only checks.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo -n "$@"
    else
        echo "setup: need root to run: $*" >&2
        return 1
    fi
}

# Debian packages: the MinGW cross compiler, Wine with its 32-bit half, a
# virtual X display, screenshots, a font with Chinese glyphs, the locales,
# and zip for the release.
wanted=(g++-mingw-w64-i686 mingw-w64-tools wine wine32:i386 wine64
        xvfb xauth x11-utils imagemagick locales fonts-wqy-microhei zip unzip)
# The host compiler and test libraries are normally present already.
command -v cmake >/dev/null 2>&1 || wanted+=(cmake)
command -v g++ >/dev/null 2>&1 || wanted+=(g++)
[ -e /usr/include/gtest/gtest.h ] || wanted+=(libgtest-dev)
[ -e /usr/include/benchmark/benchmark.h ] || wanted+=(libbenchmark-dev)
# clang with libFuzzer and the sanitizer runtimes, for the fuzz targets.
command -v clang++ >/dev/null 2>&1 || wanted+=(clang)
if ! command -v clang++ >/dev/null 2>&1 ||
   [ ! -e "$(clang++ -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a" ]; then
    wanted+=(libclang-rt-14-dev)
fi

missing=()
for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    as_root apt-get update -q </dev/null
    as_root apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
fi

# Where this machine runs no 32-bit programs, the Wine tests run an x86-64
# build (scripts/lib.sh, kv_wine_arch): its cross compiler too.
source "$(dirname "$0")/lib.sh"
if [ "$(kv_wine_arch)" = win64 ] &&
   ! dpkg-query -W -f='${Status}' g++-mingw-w64-x86-64 2>/dev/null | grep -q 'install ok installed'; then
    echo "setup: this machine runs no 32-bit programs; installing g++-mingw-w64-x86-64"
    as_root apt-get install -y -q --no-install-recommends g++-mingw-w64-x86-64 </dev/null || {
        as_root apt-get update -q </dev/null
        as_root apt-get install -y -q --no-install-recommends g++-mingw-w64-x86-64 </dev/null
    }
fi

# The GBK locale: Wine takes its ANSI code page (936) from it.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN\.gbk'; then
    echo "setup: generating the zh_CN.GBK locale"
    if ! grep -qx 'zh_CN.GBK GBK' /etc/locale.gen 2>/dev/null; then
        echo "zh_CN.GBK GBK" | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen </dev/null
fi

echo "setup: all tools present"
