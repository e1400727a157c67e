#!/usr/bin/env bash
# Installs what the build and the tests need, and nothing that is already
# there. Safe to run again: with everything present it only checks.
#
# It survives a half-broken package mirror: `apt-get update` is tried a few
# times, and an index that still fails is named in one line while the lists
# that did arrive are used. Wine's 32-bit half is wanted only where the
# kernel runs 32-bit programs; where it cannot be had, the Wine tests run
# the x86-64 build of the same sources (scripts/lib.sh, kv_wine_arch).
#
# Exit code: 0 when everything is there; 2 when only Wine (or its X display)
# is missing, so that the host tests can still run; 1 when a tool of the
# host build is missing. The one-line reason for a missing Wine is also kept
# in build/setup-wine.txt for scripts/test.sh.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

export DEBIAN_FRONTEND=noninteractive
# Pause between two tries of `apt-get update`, in seconds.
update_pause=${KV_SETUP_PAUSE:-5}
status_file="$KV_ROOT/build/setup-wine.txt"

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

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# The packages of $@ that are not installed yet.
missing_of() {
    local p
    for p in "$@"; do installed "$p" || printf '%s\n' "$p"; done
}

# The first error line apt printed, for a one-line reason.
first_error() {
    grep -a -m1 -E '^E: ' "$1" | cut -c1-200
}

# `apt-get update`, tried up to three times. A mirror in the middle of its
# sync fails one index now and then while the others are fine: after the
# last try the lists that arrived are used and the failing index is named.
updated=
apt_update() {
    [ -n "$updated" ] && return 0
    updated=1
    local try log bad
    log=$(mktemp)
    for try in 1 2 3; do
        if as_root apt-get update -q >"$log" 2>&1 </dev/null &&
           ! grep -a -q -E '^(E|W): (Failed to fetch|Some index files failed)' "$log"; then
            rm -f "$log"
            return 0
        fi
        [ "$try" -lt 3 ] && sleep "$update_pause"
    done
    bad=$(grep -a -o -m1 -E 'Failed to fetch [^ ]+' "$log" | sed 's/^Failed to fetch //')
    if [ -n "$bad" ]; then
        echo "setup: apt-get update: the index $bad still fails after 3 tries; going on with the lists that arrived"
    else
        echo "setup: apt-get update failed 3 times ($(first_error "$log")); going on with the lists there are"
    fi
    rm -f "$log"
}

# Installs the packages of $@ that are missing; the reason of a failure in
# $install_error.
install_error=
install_missing() {
    local -a need
    mapfile -t need < <(missing_of "$@")
    [ "${#need[@]}" -eq 0 ] && return 0
    echo "setup: installing ${need[*]}"
    apt_update
    local log
    log=$(mktemp)
    if as_root apt-get install -y -q --no-install-recommends "${need[@]}" >"$log" 2>&1 </dev/null; then
        rm -f "$log"
        return 0
    fi
    install_error=$(first_error "$log")
    [ -n "$install_error" ] || install_error="apt-get install failed"
    tail -n 5 "$log" | sed 's/^/    /'
    rm -f "$log"
    return 1
}

mkdir -p "$KV_ROOT/build"
rm -f "$status_file"
status=0

# Wine's 32-bit half comes from the i386 architecture, which must be known
# before the package lists are fetched; where the kernel starts no 32-bit
# program it is of no use.
runs32=no
kv_runs_32bit && runs32=yes
if [ "$runs32" = yes ] && ! installed wine32:i386 &&
   ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
fi

# ---- the host build: compiler, CMake, the test libraries, clang with its
# fuzzer and sanitizer runtimes, Free Pascal for the date comparison, and zip
# for the release.
host=(zip unzip fp-compiler fp-units-rtl)
command -v cmake >/dev/null 2>&1 || host+=(cmake)
command -v g++ >/dev/null 2>&1 || host+=(g++)
[ -e /usr/include/gtest/gtest.h ] || host+=(libgtest-dev)
[ -e /usr/include/benchmark/benchmark.h ] || host+=(libbenchmark-dev)
command -v clang++ >/dev/null 2>&1 || host+=(clang)
if ! install_missing "${host[@]}"; then
    echo "setup: the host tools could not be installed: $install_error"
    status=1
fi
# libFuzzer ships apart from clang, in the runtime package of clang's own
# major version.
if command -v clang++ >/dev/null 2>&1 &&
   [ ! -e "$(clang++ -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a" ]; then
    rt="libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev"
    if ! install_missing "$rt"; then
        echo "setup: clang's fuzzer runtime $rt could not be installed: $install_error"
        status=1
    fi
fi

# ---- the Windows side: the cross compiler, Wine, a virtual X display,
# screenshots, a font with Chinese glyphs and the locales.
cross=(g++-mingw-w64-i686 mingw-w64-tools)
if ! install_missing "${cross[@]}"; then
    echo "setup: the MinGW cross compiler could not be installed: $install_error"
    status=1
fi
display=(xvfb xauth x11-utils imagemagick locales fonts-wqy-microhei)
wine=(wine wine64)
[ "$runs32" = yes ] && wine+=(wine32:i386)
wine_reason=
if ! install_missing "${display[@]}" "${wine[@]}"; then
    if [ "$runs32" = yes ] && ! installed wine32:i386; then
        # Often a mirror whose i386 index is mid-sync: the i386 libraries
        # must match amd64 twins of another version. The 64-bit half alone
        # runs the x86-64 build.
        echo "setup: wine32:i386 cannot be installed ($install_error); the Wine tests run the x86-64 build"
        wine=(wine wine64)
        install_missing "${display[@]}" "${wine[@]}" || wine_reason="Wine cannot be installed: $install_error"
    else
        wine_reason="Wine cannot be installed: $install_error"
    fi
fi
[ "$runs32" = yes ] || echo "setup: this machine runs no 32-bit programs; the Wine tests run the x86-64 build"

if [ -z "$wine_reason" ] && [ "$(kv_wine_arch)" = win64 ]; then
    install_missing g++-mingw-w64-x86-64 ||
        wine_reason="the x86-64 cross compiler for the Wine tests cannot be installed: $install_error"
fi

# The GBK locale: Wine takes its ANSI code page (936) from it.
if [ -z "$wine_reason" ] && ! locale -a 2>/dev/null | grep -qix 'zh_CN\.gbk'; then
    echo "setup: generating the zh_CN.GBK locale"
    if ! grep -qx 'zh_CN.GBK GBK' /etc/locale.gen 2>/dev/null; then
        echo "zh_CN.GBK GBK" | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null </dev/null || wine_reason="the zh_CN.GBK locale cannot be generated"
fi

if [ -n "$wine_reason" ]; then
    echo "$wine_reason" >"$status_file"
    echo "setup: $wine_reason; the Windows tests will not run"
    [ "$status" -eq 0 ] && status=2
fi
if [ "$status" -eq 0 ]; then
    echo "setup: all tools present (Wine tests: $(kv_wine_arch))"
fi
exit "$status"
