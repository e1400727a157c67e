#!/usr/bin/env bash
# The main job: builds Korvalin and runs it the way the file manager does.
# A stand-in file manager (fakefm.exe) shows a demo folder and starts
# korvalin.exe on it, from a folder laid out as the release zip is: the
# program, its nearly empty ini and the sample templates. Without options
# one short session is driven: the names are typed into Korvalin's text box,
# a screenshot is saved to build/korvalin-demo.png, and Enter confirms.
# Then it tells the story: what was typed, what was created (and from which
# template), and what the file manager's panel received.
#
#   run.sh                 the driven session
#   run.sh --interactive   leave Korvalin's window to the user; the same story at the end
#   run.sh --type NAME...  the names to type (default: notes.txt index.html README.md 周报.md docs\)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KV_ROOT"

interactive=0
names=()
while [ $# -gt 0 ]; do
    case "$1" in
        --interactive) interactive=1 ;;
        --type) shift; names+=("${1:?--type needs a name}") ;;
        -h|--help) sed -n '2,13p' "$0"; exit 0 ;;
        *) echo "run: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done
[ "${#names[@]}" -gt 0 ] || names=("notes.txt" "index.html" "README.md" "周报.md" 'docs\')

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

# Korvalin as the zip lays it out, with a fresh ini each run.
app=build/demo-app
rm -rf "$app"
mkdir -p "$app/Templates"
cp "$KV_WINBUILD/korvalin.exe" "$app/"
cp resources/release/Templates/* "$app/Templates/"
sed 's/$/\r/' resources/release/korvalin.ini | iconv -f UTF-8 -t GBK >"$app/korvalin.ini"

# A fresh demo folder with a few entries, as a panel would show them.
demo=build/demo
rm -rf "$demo"
mkdir -p "$demo/photos"
printf 'Korvalin demo\r\n' >"$demo/readme.txt"
# Under the GBK locale Wine takes host file names to be GBK bytes.
printf 'minutes\r\n' >"$demo/$(printf '会议记录' | iconv -f UTF-8 -t GBK).txt"
: >"$demo/budget 2024.xlsx"
before=$(cd "$demo" && find . -mindepth 1 | LC_ALL=C sort)

log=build/demo-fakefm.log
flag=build/demo-shot.flag
shot=build/korvalin-demo.png
out=build/demo-session.out
rm -f "$log" "$flag" "$shot" "$out"
windemo=$(kv_winpath "$demo")
drive=(wine "$KV_WINBUILD/kvtest.exe" --korvalin "$(kv_winpath "$app/korvalin.exe")" --demo "$windemo"
       --log "$(kv_winpath "$log")")

status=0
if [ "$interactive" -eq 1 ]; then
    echo "run: Korvalin is open on $windemo; type names, one a line, and press Enter (Esc cancels)"
    "${drive[@]}" --interactive >"$out" 2>&1 </dev/null || status=$?
else
    typed=()
    for n in "${names[@]}"; do
        typed+=(--type "$(printf '%s' "$n" | iconv -f UTF-8 -t GBK)")
    done
    timeout -k 5 120 "${drive[@]}" --shot-flag "$(kv_winpath "$flag")" "${typed[@]}" \
        >"$out" 2>&1 </dev/null &
    driver=$!
    for _ in $(seq 1 300); do
        grep -q '^SHOT' "$out" 2>/dev/null && break
        kill -0 "$driver" 2>/dev/null || break
        sleep 0.1
    done
    grep -q '^SHOT' "$out" && import -window root "$shot" || true
    touch "$flag"
    wait "$driver" || status=$?
fi

# ------------------------------------------------------------ the story
session=$(tr -d '\r' <"$out")
field() { printf '%s\n' "$session" | LC_ALL=C sed -n "s/^$1 //p"; }

echo
echo "run: Korvalin's window: $(field WINDOW | head -1)"
if [ "$interactive" -eq 1 ]; then
    echo "run: its text box when you closed it:"
else
    echo "run: typed into its text box, one name a line:"
fi
field LINE | sed 's/^/    /'
if [ "$interactive" -eq 0 ]; then
    if [ -f "$shot" ]; then echo "run: screenshot of the window before Enter: $shot"; else echo "run: no screenshot"; fi
fi
field BOX | sed 's/^/run: Korvalin asked (answered Yes): /'
printf '%s\n' "$session" | LC_ALL=C grep -a '^FAIL ' | sed 's/^/run: /' || true
code=$(field EXIT | head -1)
echo "run: Korvalin ended with exit code ${code:-unknown}"

after=$(cd "$demo" && find . -mindepth 1 | LC_ALL=C sort)
echo "run: created in $windemo:"
created=$(LC_ALL=C comm -13 <(echo "$before") <(echo "$after"))
[ -n "$created" ] || echo "    nothing"
while IFS= read -r p; do
    [ -n "$p" ] || continue
    name=$(printf '%s' "${p#./}" | iconv -f GBK -t UTF-8 -c)
    if [ -d "$demo/$p" ]; then
        echo "    folder            $name\\"
        continue
    fi
    size=$(stat -c %s "$demo/$p")
    from=""
    for t in "$app"/Templates/*; do
        if [ -s "$t" ] && cmp -s "$t" "$demo/$p"; then from=${t##*/}; break; fi
    done
    if [ -n "$from" ]; then
        printf '    file   %5d bytes  %s, a copy of the template %s\n' "$size" "$name" "$from"
    elif [ "$size" -eq 0 ]; then
        printf '    file   %5d bytes  %s, empty: no template fits\n' "$size" "$name"
    else
        printf '    file   %5d bytes  %s\n' "$size" "$name"
    fi
done <<<"$created"

echo "run: what the file manager's panel received (its log: $log):"
if [ -f "$log" ]; then
    tr -d '\r' <"$log" | iconv -f GBK -t UTF-8 -c >"$log.utf8"
    LC_ALL=C awk '
        NR == FNR { if ($1 == "ITEM") { s = substr($0, 6); sub(/\|.*/, "", s); item[n++] = s } next }
        function named(i) { return i == -1 ? "every item" : ((i in item) ? item[i] : "#" i) }
        function key(v) { return v == "0x73" ? "F4" : v == "0x1B" ? "Esc" : v == "0x14" ? "CapsLock" : v }
        function add(list, x) { return list == "" ? x : list ", " x }
        $1 == "LB_GETCOUNT" { counts++ }
        $1 == "LB_GETTEXT" { texts++ }
        $1 == "LB_SETSEL" && $2 != "0" { marked = add(marked, named($3)) }
        $1 == "LB_SETSEL" && $2 == "0" { unmarked = add(unmarked, named($3)) }
        $1 == "KEYDOWN" { keys = add(keys, key($2)) }
        $1 == "OPEN" { s = substr($0, 6); sub(/\t.*/, "", s); opened = add(opened, s) }
        $1 == "SELECTED" { selected = add(selected, substr($0, 10)) }
        $1 == "CARET" { caret = substr($0, 7); sub(/^[^ ]* /, "", caret) }
        END {
            if (counts + texts) printf "    read its items:     LB_GETCOUNT %d times, LB_GETTEXT %d times\n", counts, texts
            if (unmarked != "") print "    unmarked (LB_SETSEL 0): " unmarked
            if (marked != "") print "    marked (LB_SETSEL 1):   " marked
            if (keys != "") print "    keys (KEYDOWN):         " keys
            if (opened != "") print "    opened (OPEN, F4):      " opened
            if (counts + texts + keys == 0 && marked == "" && unmarked == "")
                print "    nothing: Korvalin handed nothing back to the panel"
            print "    left with:              " (selected == "" ? "nothing selected" : "selected " selected) \
                  (caret == "" ? "" : "; cursor on " caret)
        }' "$log.utf8" "$log.utf8"
    rm -f "$log.utf8"
else
    echo "    no log: the stand-in file manager did not start"
fi
exit "$status"
