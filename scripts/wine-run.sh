#!/usr/bin/env bash
# Runs a Windows program under Wine in one of the build tree's test prefixes.
#   QX_WINE_PREFIXES  folder holding the prefixes (set by CTest)
#   QX_WINE_ARCH      win32 (default) or win64
#   QX_PRIVATE_DISPLAY=1  on an X server of its own (suites run side by side)
#   QX_WINE_DPI       the screen's DPI, in a prefix of its own (ARCH-dpiDPI)
# The user's own ~/.wine is never touched.
set -euo pipefail
here="$(dirname "$0")"
. "$here/wine-loader.sh"
arch="${QX_WINE_ARCH:-win32}"
root="${QX_WINE_PREFIXES:?QX_WINE_PREFIXES is not set}"
wine_loader "$arch" "$1" || exit
dpi="${QX_WINE_DPI:-}"
export WINEPREFIX="$root/$arch${dpi:+-dpi$dpi}" WINEARCH="$arch"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
windows=managed
[ "${QX_PRIVATE_DISPLAY:-}" = 1 ] && windows=unmanaged  # the test suites' prefixes
"$here/wine-prefix.sh" "$WINEPREFIX" "$arch" "$windows" $dpi
if [ "${QX_PRIVATE_DISPLAY:-}" = 1 ]; then
  exec "$here/with-display.sh" --private "$WINE_LOADER" "$@"
fi
exec "$WINE_LOADER" "$@"
