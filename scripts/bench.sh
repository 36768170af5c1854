#!/usr/bin/env bash
# Runs the Windows build's benchmarks under Wine and prints their figures (no
# verdict): the 32-bit build where the machine runs 32-bit programs, else the
# 64-bit one, saying so.
#   bench.sh BUILD_DIR
set -euo pipefail
here="$(dirname "$(realpath "$0")")"
if reason="$("$here/wine32-usable.sh" 2>&1)"; then
  build="$(realpath "$1/windows")" arch=win32
else
  echo "bench: ${reason%; *}; measuring the 64-bit build instead" >&2
  build="$(realpath "$1/windows64")" arch=win64
fi
export QX_WINE_PREFIXES="$build/wine" QX_WINE_ARCH="$arch" LC_ALL=zh_CN.UTF-8
"$here/with-display.sh" bash -c '"$1" "$2/tests/wine/progress_paint_bench.exe" && "$1" "$2/tests/wine/startup_bench.exe"' \
  _ "$here/wine-run.sh" "$build"
