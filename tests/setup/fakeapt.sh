#!/usr/bin/env bash
# Stand-ins for the package tools that scripts/setup.sh calls, called by the
# name they are linked as. Their state is kept in $FAKE_STATE:
#   installed       one package a line;  arches   foreign architectures
#   update.count    how often `apt-get update` ran;  calls   every call
# and they misbehave as told:
#   FAKE_UPDATE_FAILS=n    the first n updates fail outright (no list fetched)
#   FAKE_BROKEN_INDEX=1    one index fails its size check at every update
#   FAKE_REFUSE="p ..."    installing any of these packages is refused
#   FAKE_CLANG_MAJOR=n     the version of the clang++ stand-in (no fuzzer runtime)
set -u
s=$FAKE_STATE
touch "$s/installed" "$s/arches"
echo "$(basename "$0") $*" >>"$s/calls"
has() { grep -qxF "$1" "$s/installed"; }

case $(basename "$0") in
apt-get)
    [ "$1" = -q ] && shift
    case $1 in
    update)
        n=$(( $(cat "$s/update.count" 2>/dev/null || echo 0) + 1 ))
        echo "$n" >"$s/update.count"
        if [ "$n" -le "${FAKE_UPDATE_FAILS:-0}" ]; then
            echo "E: Failed to fetch http://deb.example/debian/dists/bookworm/InRelease  Temporary failure resolving"
            echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
            exit 100
        fi
        if [ "${FAKE_BROKEN_INDEX:-0}" = 1 ]; then
            echo "Err:6 http://deb.example/debian-security bookworm-security/main i386 Packages"
            echo "  File has unexpected size (374820 != 376004). Mirror sync in progress?"
            echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
            echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
            exit 100
        fi
        exit 0 ;;
    install)
        shift
        pkgs=()
        for a in "$@"; do case $a in -*) ;; *) pkgs+=("$a") ;; esac; done
        for p in "${pkgs[@]}"; do
            case " ${FAKE_REFUSE:-} " in *" $p "*)
                echo "The following packages have unmet dependencies:"
                echo " $p : Depends: libc6 (= 2.36-9+deb12u9) but 2.36-9+deb12u10 is to be installed"
                echo "E: Unable to correct problems, you have held broken packages."
                exit 100 ;;
            esac
            if [ "${p%:i386}" != "$p" ] && ! grep -qx i386 "$s/arches"; then
                echo "E: Unable to locate package $p"
                exit 100
            fi
        done
        mkdir -p "$s/wine"
        for p in "${pkgs[@]}"; do
            has "$p" || echo "$p" >>"$s/installed"
            # The loaders, where scripts/lib.sh looks for them (KV_WINE_DIR).
            case $p in wine64) loader=wine64 ;; wine32:i386) loader=wine ;; *) continue ;; esac
            printf '#!/bin/sh\necho wine-8.0\n' >"$s/wine/$loader"
        done
        chmod +x "$s"/wine/* 2>/dev/null
        exit 0 ;;
    esac
    exit 0 ;;
dpkg-query)
    p=${!#}
    has "$p" && { printf 'install ok installed'; exit 0; }
    exit 1 ;;
dpkg)
    case $1 in
    --print-foreign-architectures) cat "$s/arches" ;;
    --add-architecture) echo "$2" >>"$s/arches" ;;
    esac ;;
locale) echo C; echo zh_CN.gbk ;;
sudo)  # never the real one: it would find the real apt-get on its own PATH
    [ "${1:-}" = -n ] && shift
    exec "$@" ;;
clang++)
    case $1 in
    -print-resource-dir) echo "$s/clang" ;;
    -dumpversion) echo "${FAKE_CLANG_MAJOR:-15}.0.7" ;;
    esac ;;
esac
