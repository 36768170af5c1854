#!/usr/bin/env bash
# Runs QuillexSetup.exe from the assembled dist folder under Wine, in a prefix
# of its own. With a display the user drives the program; without one it runs
# on a private Xvfb screen, driven through every page, with a screenshot each.
# The shipped 32-bit build runs where the machine runs 32-bit programs; where
# it cannot, the 64-bit build of the same sources stands in, with a notice.
#   demo.sh DIST32_DIR DIST64_DIR WORK_DIR
set -euo pipefail
here="$(dirname "$(realpath "$0")")"
if reason="$("$here/wine32-usable.sh" 2>&1)"; then
  dist="$(realpath "$1")"
else
  echo "demo: ${reason%; *}; showing the 64-bit build instead" >&2
  dist="$(realpath "$2")"
fi
work="$(realpath -m "$3")"
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
