#!/usr/bin/env bash
# Creates a Wine prefix (win32 or win64) unless it exists already.
#   wine-prefix.sh PREFIX ARCH
set -euo pipefail
prefix="$1" arch="$2"
. "$(dirname "$0")/wine-loader.sh"
wine_loader "$arch" || exit
[ -f "$prefix/system.reg" ] && exit 0
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The lock keeps two tests from creating the same prefix at once.
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/system.reg" ] && exit 0
"$WINE_LOADER" wineboot.exe -i >/dev/null 2>&1
wineserver -w
