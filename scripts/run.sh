#!/usr/bin/env bash
# The main job: builds Korvalin and runs it the way the file manager does.
# A stand-in file manager (fakefm.exe) shows a demo folder and starts
# korvalin.exe on it. Without options one short session is driven: the
# names are typed into Korvalin's text box and confirmed, a screenshot is
# saved to build/korvalin-demo.png, and what was created is printed.
#
#   run.sh                 the driven session
#   run.sh --interactive   leave Korvalin's window to the user
#   run.sh --type NAME...  the names to type (default: notes.txt docs\)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KV_ROOT"

interactive=0
names=()
while [ $# -gt 0 ]; do
    case "$1" in
        --interactive) interactive=1 ;;
        --type) shift; names+=("${1:?--type needs a name}") ;;
        -h|--help) sed -n '2,11p' "$0"; exit 0 ;;
        *) echo "run: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done
[ "${#names[@]}" -gt 0 ] || names=("notes.txt" 'docs\')

bash scripts/setup.sh </dev/null
bash scripts/build.sh >/dev/null

kv_wine_env
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "run: using the display $DISPLAY"
else
    unset DISPLAY
    kv_start_xvfb
    echo "run: started Xvfb on $DISPLAY"
    [ "$interactive" -eq 0 ] || echo "run: no display of yours, the window is on $DISPLAY"
fi
trap 'kv_wine_down; kv_stop_xvfb' EXIT
trap 'exit 130' INT TERM
kv_prefix

# A fresh demo folder with a few entries, as a panel would show them.
demo=build/demo
rm -rf "$demo"
mkdir -p "$demo/photos"
printf 'Korvalin demo\r\n' >"$demo/readme.txt"
# Under the GBK locale Wine takes host file names to be GBK bytes.
printf 'minutes\r\n' >"$demo/$(printf '会议记录' | iconv -f UTF-8 -t GBK).txt"
: >"$demo/budget 2024.xlsx"
before=$(cd "$demo" && find . -mindepth 1 | sort)

log=build/demo-fakefm.log
flag=build/demo-shot.flag
rm -f "$log" "$flag" build/korvalin-demo.png
windemo=$(kv_winpath "$demo")
winexe=$(kv_winpath build/win32/korvalin.exe)
winlog=$(kv_winpath "$log")

status=0
if [ "$interactive" -eq 1 ]; then
    echo "run: Korvalin is open on $windemo; close it to end"
    wine build/win32/fakefm.exe --dir "$windemo" --exe "$winexe" --log "$winlog" </dev/null || status=$?
else
    out=build/demo-session.out
    rm -f "$out"
    typed=()
    for n in "${names[@]}"; do
        typed+=(--type "$(printf '%s' "$n" | iconv -f UTF-8 -t GBK)")
    done
    timeout -k 5 120 wine build/win32/kvtest.exe --korvalin "$winexe" --demo "$windemo" \
        --log "$winlog" --shot-flag "$(kv_winpath "$flag")" "${typed[@]}" \
        >"$out" 2>&1 </dev/null &
    driver=$!
    for _ in $(seq 1 300); do
        grep -q '^SHOT' "$out" 2>/dev/null && break
        kill -0 "$driver" 2>/dev/null || break
        sleep 0.1
    done
    if grep -q '^SHOT' "$out"; then
        import -window root build/korvalin-demo.png && echo "run: screenshot in build/korvalin-demo.png"
    fi
    touch "$flag"
    wait "$driver" || status=$?
    tr -d '\r' <"$out" | LC_ALL=C grep -av '^SHOT'
fi

after=$(cd "$demo" && find . -mindepth 1 | sort)
echo "run: created in $windemo:"
comm -13 <(echo "$before") <(echo "$after") | while read -r p; do
    if [ -d "$demo/$p" ]; then echo "  folder ${p#./}"; else echo "  file   ${p#./}"; fi
done | iconv -f GBK -t UTF-8 -c
if [ -f "$log" ]; then
    echo "run: what the file manager's panel received:"
    tr -d '\r' <"$log" | iconv -f GBK -t UTF-8 -c | sed 's/^/  /'
fi
exit "$status"
