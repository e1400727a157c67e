# Shared by the scripts that run Windows programs under Wine: the Wine
# environment, the build's own prefix and a private virtual X display.
# Source it; it defines functions only (and KV_ROOT).

KV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KV_XVFB_PID=

# Whether the kernel starts 32-bit x86 programs: some are built or booted
# without 32-bit emulation, and Wine's 32-bit loader is such a program. Asked
# of the kernel itself, with the smallest static i386 program (93 bytes: it
# calls exit(0)), before anything is installed. KV_RUNS_32BIT=yes|no says it.
kv_runs_32bit() {
    case ${KV_RUNS_32BIT:-} in yes) return 0 ;; no) return 1 ;; esac
    local probe rc
    probe=$(mktemp) || return 1
    printf '%s' 'f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAAAAAAAIAECACABAhdAAAAXQAAAAUAAAAAEAAAuAEAAAAx282A' |
        base64 -d >"$probe" && chmod +x "$probe" && "$probe" 2>/dev/null
    rc=$?
    rm -f "$probe"
    return "$rc"
}

# Which Windows build the Wine tests run: build/win32, the product, where
# Wine's 32-bit loader is installed and starts; else build/win64, the same
# sources built for x86-64, under Wine's 64-bit loader (no 32-bit emulation
# in the kernel, or a wine32 that could not be installed).
# KV_WINE_ARCH=win32|win64 overrides the choice; KV_WINE_DIR is where the
# loaders are looked for.
kv_wine_arch() {
    local dir=${KV_WINE_DIR:-/usr/lib/wine}
    if [ -n "${KV_WINE_ARCH:-}" ]; then
        printf '%s' "$KV_WINE_ARCH"
    elif [ -x "$dir/wine64" ] &&
         { [ ! -x "$dir/wine" ] || ! "$dir/wine" --version >/dev/null 2>&1; }; then
        printf 'win64'
    else
        printf 'win32'
    fi
}

# The MinGW toolchain file of the build the Wine tests run.
kv_wine_toolchain() {
    if [ "$(kv_wine_arch)" = win64 ]; then printf 'cmake/mingw-x86_64.cmake'
    else printf 'cmake/mingw-i686.cmake'; fi
}

kv_wine_env() {
    KV_WINBUILD=build/$(kv_wine_arch)
    export WINEPREFIX="$KV_ROOT/build/wineprefix"
    if [ "$KV_WINBUILD" = build/win64 ]; then
        # A prefix of its own, and "wine" (also as wineboot and the other
        # helper scripts call it) goes straight to the 64-bit loader.
        WINEPREFIX="$KV_ROOT/build/wineprefix64"
        local shim="$KV_ROOT/build/wine64-bin"
        mkdir -p "$shim"
        printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$shim/wine"
        chmod +x "$shim/wine"
        ln -sf wine "$shim/wine-stable"
        case ":$PATH:" in *":$shim:"*) ;; *) export PATH="$shim:$PATH" ;; esac
    fi
    export WINEDEBUG=${KV_WINEDEBUG:--all}
    # The ANSI code page follows the locale: GBK (936) is what Korvalin's
    # users have.
    export LC_ALL=zh_CN.GBK LANG=zh_CN.GBK
    # No Mono or Gecko installer dialogs when the prefix is made.
    export WINEDLLOVERRIDES="mscoree=;mshtml="
}

# Starts Xvfb on a free display number and exports DISPLAY. The server picks
# the number itself (-displayfd), so that two lanes started at once cannot
# both take the same one.
kv_start_xvfb() {
    local nfile i n
    nfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$nfile" >/dev/null 2>&1 </dev/null &
    KV_XVFB_PID=$!
    for i in $(seq 1 100); do
        n=$(tr -dc 0-9 <"$nfile")
        if [ -n "$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
            rm -f "$nfile"
            export DISPLAY=":$n"
            return 0
        fi
        kill -0 "$KV_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$nfile"
    kill "$KV_XVFB_PID" 2>/dev/null
    wait "$KV_XVFB_PID" 2>/dev/null
    KV_XVFB_PID=
    echo "no X display" >&2
    return 1
}

# Stops the Xvfb that kv_start_xvfb started, and nothing else.
kv_stop_xvfb() {
    if [ -n "${KV_XVFB_PID:-}" ]; then
        kill "$KV_XVFB_PID" 2>/dev/null
        wait "$KV_XVFB_PID" 2>/dev/null
        KV_XVFB_PID=
    fi
}

# Makes the prefix on first use (about 15 s), later only checks it.
kv_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine: creating the prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        timeout -k 10 300 wineboot -i >/dev/null 2>&1 </dev/null || true
        timeout -k 5 60 wineserver -w 2>/dev/null || true
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "wine: could not create the prefix" >&2
            return 1
        fi
    fi
    # Without a window manager, Wine waits about 2 s for the manager's answer
    # each time a managed window is hidden or closed. Unmanaged windows are
    # still real windows, and closing them costs nothing.
    if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
        timeout -k 5 60 wineserver -w 2>/dev/null || true
    fi
    # The shell's "open" of a .kvopen file runs our recorder kvopen.exe, so
    # that a test sees which files Korvalin opened, in which working folder.
    # The .reg file doubles each backslash of the stored command.
    local opener="Z:${KV_ROOT//\//\\}\\${KV_WINBUILD//\//\\}\\kvopen.exe"
    if ! grep -qF "${opener//\\/\\\\}\\\" \\\"%1\\\"" "$WINEPREFIX/system.reg" 2>/dev/null; then
        wine reg add 'HKCR\.kvopen' /ve /t REG_SZ /d KorvalinTest.kvopen /f >/dev/null 2>&1 </dev/null
        wine reg add 'HKCR\KorvalinTest.kvopen\shell\open\command' /ve /t REG_SZ \
            /d "\"$opener\" \"%1\"" /f >/dev/null 2>&1 </dev/null
        timeout -k 5 60 wineserver -w 2>/dev/null || true
    fi
}

# Ends this prefix's Wine server once our programs are done.
kv_wine_down() {
    timeout 15 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null || true
}

# Maps the drive K: of the prefix to a host folder and prints its Windows
# name (K:). Wine reads the drive links of dosdevices at each path lookup.
kv_map_drive() {
    local dev="$WINEPREFIX/dosdevices"
    [ -d "$dev" ] || return 1
    ln -sfn "$1" "$dev/k:" || return 1
    printf 'K:'
}

# A host path as Wine names it (drive Z: is the host's root).
kv_winpath() {
    local p
    p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    printf 'Z:%s' "${p//\//\\}"
}
