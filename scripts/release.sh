#!/usr/bin/env bash
# Builds the release for Windows users: dist/korvalin-<version>.zip with
# korvalin.exe, korvalin.ini, README.txt and the Templates\ folder.
#
# The same sources give the same bytes: the program has no link time stamp
# and no build path in it, every file in the zip gets the time of the last
# commit (or SOURCE_DATE_EPOCH when set), fixed permissions and a fixed
# place in the archive.
#   release.sh [output folder]      (default: dist)
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-dist}
version=$(sed -n 's/^project(Korvalin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no version on the project() line of CMakeLists.txt" >&2; exit 1; }
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 1767225600)}
for tool in zip iconv; do
    command -v "$tool" >/dev/null 2>&1 || { echo "release: $tool is missing (run scripts/setup.sh)" >&2; exit 1; }
done

bash scripts/build.sh win32 >/dev/null

stage=build/release/korvalin-$version
rm -rf "$stage"
mkdir -p "$stage/Templates"
cp build/win32/korvalin.exe "$stage/korvalin.exe"
cp resources/release/Templates/* "$stage/Templates/"
# Notepad takes a UTF-8 file for one only by its byte-order mark, and older
# Notepads want CR LF.
{ printf '\357\273\277'; sed "s/@VERSION@/$version/; s/\$/\r/" resources/release/README.txt; } >"$stage/README.txt"
# The ini is read in the ANSI code page, GBK on a Chinese Windows.
sed 's/$/\r/' resources/release/korvalin.ini | iconv -f UTF-8 -t GBK >"$stage/korvalin.ini"

find "$stage" -type f -exec chmod 644 {} + -exec touch -h -d "@$epoch" {} +
find "$stage" -type d -exec chmod 755 {} +
files=$(cd "$stage" && { printf '%s\n' korvalin.exe korvalin.ini README.txt; find Templates -type f | LC_ALL=C sort; })

mkdir -p "$out"
zipfile=$(cd "$out" && pwd)/korvalin-$version.zip
rm -f "$zipfile"
# -X: no owner ids or extra time stamps; -D: no folder entries. Zip stores
# local times: UTC makes them the same on every machine.
(cd "$stage" && printf '%s\n' "$files" | TZ=UTC zip -q -X -D -9 "$zipfile" -@)
echo "release: $zipfile ($(stat -c %s "$zipfile") bytes)"
