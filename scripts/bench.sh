#!/usr/bin/env bash
# Runs the Windows builds' benchmarks under Wine and prints their figures
# beside their goals (no verdict): the 32-bit build where the machine runs
# 32-bit programs (else it says why not), then the 64-bit one.
# The start-up and paint figures come from the build tree's test prefixes;
# the installation runs twice in a fresh prefix of its own, so that its
# first run is a first installation and the test prefixes stay untouched.
#   bench.sh BUILD_DIR
set -euo pipefail
here="$(dirname "$(realpath "$0")")"
export LC_ALL=zh_CN.UTF-8

run_build() {  # BUILD ARCH
  local build="$1" arch="$2" tests="$1/tests/wine"
  echo "== $arch, $(basename "$build") build =="
  export QX_WINE_ARCH="$arch"
  for bench in progress_paint_bench model_page_calls_bench startup_bench; do
    QX_WINE_PREFIXES="$build/wine" "$here/with-display.sh" "$here/wine-run.sh" "$tests/$bench.exe"
  done
  # The install page's paint and the start-up again at 200 % display
  # scaling, in the 192-DPI prefix of the scaling tests.
  for bench in progress_paint_bench startup_bench; do
    echo "-- at 192 DPI --"
    QX_WINE_DPI=192 QX_WINE_PREFIXES="$build/wine" "$here/with-display.sh" "$here/wine-run.sh" "$tests/$bench.exe"
  done
  rm -rf "$build/bench-wine"
  QX_WINE_PREFIXES="$build/bench-wine" "$here/with-display.sh" "$here/wine-run.sh" "$tests/install_bench.exe"
}

root="$(realpath "$1")"
if reason="$("$here/wine32-usable.sh" 2>&1)"; then
  run_build "$root/windows" win32
else
  echo "bench: ${reason%; *}; no figures of the 32-bit build" >&2
fi
run_build "$root/windows64" win64
