#!/usr/bin/env bash
# Runs a Windows program under Wine in one of the build tree's test prefixes.
#   QX_WINE_PREFIXES  folder holding the prefixes (set by CTest)
#   QX_WINE_ARCH      win32 (default) or win64
# The user's own ~/.wine is never touched.
set -euo pipefail
"$(dirname "$0")/wine32-usable.sh" || exit
arch="${QX_WINE_ARCH:-win32}"
root="${QX_WINE_PREFIXES:?QX_WINE_PREFIXES is not set}"
export WINEPREFIX="$root/$arch" WINEARCH="$arch"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
"$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX" "$arch"
exec wine "$@"
