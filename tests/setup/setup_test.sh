#!/usr/bin/env bash
# scripts/setup.sh against stand-ins of apt-get, dpkg and clang++ (a folder
# of fake commands first on PATH): a mirror that fails now and then, a
# machine that runs no 32-bit programs, a wine32 that cannot be installed,
# no Wine at all. Each case checks the exit code, the Wine build chosen,
# what was installed and the one line that says why.
set -u
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
passed=0
failed=0

base=$(mktemp -d)
trap 'rm -rf "$base"' EXIT

# One case on a machine of its own: name, then the environment of the
# stand-ins; the checks follow as `check` calls on the case's output, exit
# code and state. run_setup runs setup.sh on that machine (again).
run_case() {
    name=$1
    shift
    tmp=$(mktemp -d -p "$base")
    mkdir -p "$tmp/bin" "$tmp/root/scripts" "$tmp/state"
    cp "$src/scripts/setup.sh" "$src/scripts/lib.sh" "$tmp/root/scripts/"
    for c in apt-get dpkg dpkg-query locale clang++ sudo; do ln -s "$here/fakeapt.sh" "$tmp/bin/$c"; done
    run_setup "$@"
    arch=$(env KV_WINE_DIR="$tmp/state/wine" KV_WINE_ARCH= bash -c \
           "source '$tmp/root/scripts/lib.sh'; kv_wine_arch")
}
run_setup() {
    out=$(env PATH="$tmp/bin:$PATH" FAKE_STATE="$tmp/state" KV_WINE_DIR="$tmp/state/wine" \
          KV_SETUP_PAUSE=0 KV_WINE_ARCH= "$@" bash "$tmp/root/scripts/setup.sh" 2>&1 </dev/null)
    rc=$?
}

check() {
    if eval "$2"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL setup/$name: $1"
        echo "$out" | sed 's/^/    | /'
    fi
}
line() { grep -qxF -- "$1" <<<"$out"; }
got() { grep -qxF -- "$1" "$tmp/state/installed"; }

broken_index="setup: apt-get update: the index http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz still fails after 3 tries; going on with the lists that arrived"
held="E: Unable to correct problems, you have held broken packages."

run_case "update fails once" KV_RUNS_32BIT=yes FAKE_UPDATE_FAILS=1
check "exit 0" '[ $rc = 0 ]'
check "tried again" '[ "$(cat $tmp/state/update.count)" = 2 ]'
check "no index named" '! grep -q "still fails\|update failed" <<<"$out"'
check "32-bit Wine installed and chosen" 'got wine32:i386 && [ $arch = win32 ]'
check "i386 added" 'grep -qx i386 $tmp/state/arches'
check "no x86-64 cross compiler" '! got g++-mingw-w64-x86-64'
check "the fuzzer runtime of clang's own version" 'got libclang-rt-15-dev'
check "Free Pascal" 'got fp-compiler && got fp-units-rtl'
check "summary" 'line "setup: all tools present (Wine tests: win32)"'
# The same machine again: nothing to do, nothing asked of apt.
run_setup KV_RUNS_32BIT=yes
check "second run only checks" '[ $rc = 0 ] && ! grep -q installing <<<"$out" && [ "$(cat $tmp/state/update.count)" = 2 ]'

run_case "one index always fails, wine32 refused" KV_RUNS_32BIT=yes FAKE_BROKEN_INDEX=1 FAKE_REFUSE=wine32:i386
check "exit 0" '[ $rc = 0 ]'
check "three tries" '[ "$(cat $tmp/state/update.count)" = 3 ]'
check "the failing index named once" 'line "$broken_index" && [ $(grep -c "still fails" <<<"$out") = 1 ]'
check "the fallback said" 'line "setup: wine32:i386 cannot be installed ($held); the Wine tests run the x86-64 build"'
check "x86-64 build chosen" '[ $arch = win64 ] && got wine64 && got g++-mingw-w64-x86-64 && ! got wine32:i386'
check "host tools installed" 'got fp-compiler && got libclang-rt-15-dev && got zip'
check "no Wine status left" '[ ! -e $tmp/root/build/setup-wine.txt ]'

run_case "no 32-bit programs" KV_RUNS_32BIT=no FAKE_CLANG_MAJOR=16
check "exit 0" '[ $rc = 0 ]'
check "said in one line" 'line "setup: this machine runs no 32-bit programs; the Wine tests run the x86-64 build"'
check "no i386, no wine32" '! grep -q i386 $tmp/state/arches && ! grep -q wine32 $tmp/state/calls'
check "x86-64 build chosen" '[ $arch = win64 ] && got g++-mingw-w64-x86-64'
check "the fuzzer runtime follows clang" 'got libclang-rt-16-dev && ! got libclang-rt-15-dev'

run_case "no Wine at all" KV_RUNS_32BIT=yes FAKE_REFUSE="wine wine32:i386 wine64"
check "exit 2: host tools there, Wine missing" '[ $rc = 2 ]'
check "host tools installed" 'got fp-compiler && got g++-mingw-w64-i686 && got libclang-rt-15-dev'
check "one line says why" 'line "setup: Wine cannot be installed: $held; the Windows tests will not run"'
check "the reason kept for the test command" '[ "$(cat $tmp/root/build/setup-wine.txt)" = "Wine cannot be installed: $held" ]'

echo "setup script: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
