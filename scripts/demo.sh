#!/usr/bin/env bash
# Runs QuillexSetup.exe from the assembled dist folder under Wine, in a prefix
# of its own. With a display the user drives the program; without one it runs
# on a private Xvfb screen, driven through every page, with a screenshot each.
#   demo.sh DIST_DIR WORK_DIR
set -euo pipefail
dist="$(realpath "$1")"
work="$(realpath -m "$2")"
here="$(dirname "$(realpath "$0")")"
mkdir -p "$work"
export QX_WINE_PREFIXES="$work/wine" QX_WINE_ARCH="${QX_WINE_ARCH:-win64}" LC_ALL=zh_CN.UTF-8

if [ -n "${DISPLAY:-}" ]; then
  exec "$here/wine-run.sh" "$dist/QuillexSetup.exe"
fi

"$here/wine-prefix.sh" "$QX_WINE_PREFIXES/$QX_WINE_ARCH" "$QX_WINE_ARCH"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1/wine-run.sh" "$2/QuillexSetup.exe" &
  "$1/demo-drive.sh" "$3"
  WINEPREFIX="$QX_WINE_PREFIXES/$QX_WINE_ARCH" wineserver -k || true
  wait || true
' _ "$here" "$dist" "$work"
