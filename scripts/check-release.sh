#!/usr/bin/env bash
# Checks the release zip, as scripts/test.sh runs it: makes it twice
# (scripts/release.sh) and compares the bytes, checks its file list, that
# its korvalin.exe is the one built in build/win32 (stripped, under 1 MiB, no
# link time stamp), and the encodings of README.txt and korvalin.ini. Then
# unpacks it to build/release/unpacked, where the Wine group "release" of
# scripts/wine-tests.sh starts it. One PASS or FAIL line per check, then
# "release: N passed, N failed"; the exit code is non-zero on a failure.
set -uo pipefail
cd "$(dirname "$0")/.."

passed=0
failed=0
check() {  # check <what> <command...>
    local what=$1
    shift
    if "$@" >/dev/null 2>&1; then
        echo "PASS release/$what"
        passed=$((passed + 1))
    else
        echo "FAIL release/$what"
        failed=$((failed + 1))
    fi
}
finish() {
    echo "release: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

unpacked=build/release/unpacked
rm -rf "$unpacked" build/release/again
version=$(sed -n 's/^project(Korvalin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zipfile=dist/korvalin-$version.zip
check "release.sh makes $zipfile" bash scripts/release.sh
[ -f "$zipfile" ] || finish
check "a second zip has the same bytes" bash -c "bash scripts/release.sh build/release/again && cmp '$zipfile' build/release/again/korvalin-$version.zip"

want='korvalin.exe
korvalin.ini
README.txt
Templates/%.html
Templates/%.md
Templates/Makefile
Templates/readme%.md
Templates/template.bat
Templates/test__.py'
check "file list" test "$(unzip -Z1 "$zipfile")" = "$want"
check "every file has the same time" bash -c \
    "unzip -Z -T '$zipfile' | awk '\$1 ~ /^-/ {print \$7}' | sort -u | wc -l | grep -qx 1"

check "unpacks" unzip -q "$zipfile" -d "$unpacked"
exe=$unpacked/korvalin.exe
check "korvalin.exe is the one built" cmp "$exe" build/win32/korvalin.exe
check "korvalin.exe under 1 MiB" test "$(stat -c %s "$exe")" -lt 1048576
check "korvalin.exe stripped" bash -c "! i686-w64-mingw32-objdump -h '$exe' | grep -q debug && i686-w64-mingw32-nm '$exe' 2>&1 | grep -q 'no symbols'"
check "korvalin.exe has no link time stamp" bash -c "i686-w64-mingw32-objdump -p '$exe' | grep -q 'Time/Date.*1970'"

readme=$unpacked/README.txt
check "README.txt: UTF-8 with a byte-order mark" bash -c "head -c 3 '$readme' | od -An -tx1 | grep -q 'ef bb bf' && iconv -f UTF-8 -t UTF-8 '$readme'"
check "README.txt: CR LF line ends" bash -c "! LC_ALL=C grep -qv \$'\\r\$' '$readme'"
check "README.txt: the version and the parameters" bash -c \
    "grep -qF 'Version $version' '$readme' && grep -qF -- '-OnlyDir %P%S' '$readme' && ! grep -qF '@VERSION@' '$readme'"
ini=$unpacked/korvalin.ini
check "korvalin.ini: GBK, CR LF, a [FileList] section" bash -c \
    "iconv -f GBK -t UTF-8 '$ini' && ! LC_ALL=C grep -qv \$'\\r\$' '$ini' && grep -qx \$'\\[FileList\\]\\r' '$ini'"
finish
