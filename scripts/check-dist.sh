#!/usr/bin/env bash
# Checks dist/: the wizard and the install programs (the 64-bit one always,
# the 32-bit one beside a 32-bit wizard) are console programs of their format
# with the wizard's elevation; the package beside them is checked by the
# install program itself ("/check", the rules of the installation), run as
# QuillexInstall64.exe under Wine's 64-bit loader in the test prefix.
#   check-dist.sh DIST_DIR   (QX_WINE_PREFIXES set, as CTest sets it)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
dist="$(cd "$1" && pwd)"
fail() { echo "check-dist: $*" >&2; exit 1; }
[ -f "$dist/QuillexSetup.exe" ] || fail "no QuillexSetup.exe"
check_program() {  # NAME FORMAT
  [ -f "$dist/$1" ] || fail "no $1"
  local info
  info="$(x86_64-w64-mingw32-objdump -p "$dist/$1")"
  grep -q "file format $2" <<<"$info" || fail "$1 is not $2"
  grep -Eq 'Subsystem[[:space:]]+0*3[[:space:]]' <<<"$info" || fail "$1 is not a console program"
  local strings
  strings="$(x86_64-w64-mingw32-strings "$dist/$1")"
  grep -qF 'level="requireAdministrator"' <<<"$strings" || fail "$1 lacks the elevation manifest"
}
check_program QuillexInstall64.exe pei-x86-64
if x86_64-w64-mingw32-objdump -f "$dist/QuillexSetup.exe" | grep -q 'file format pei-i386'; then
  check_program QuillexInstall.exe pei-i386
fi

# The program prints in the ANSI code page (936 under LC_ALL=zh_CN.UTF-8) to a pipe.
set +e
report="$(QX_WINE_ARCH=win64 LC_ALL=zh_CN.UTF-8 "$here/wine-run.sh" "$dist/QuillexInstall64.exe" /check \
          "Z:${dist//\//\\}" | iconv -f GBK -t UTF-8 -c)"
rc=${PIPESTATUS[0]}
set -e
[ -n "$report" ] && echo "$report"
[ "$rc" = 77 ] && exit 77  # no Wine loader for it here (reason above)
[ "$rc" = 0 ] || fail "the package check of $dist failed (exit code $rc)"
echo "check-dist: $dist is complete"
