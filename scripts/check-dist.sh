#!/usr/bin/env bash
# Checks dist/: the wizard and the install programs (the 64-bit one always,
# the 32-bit one beside a 32-bit wizard; console programs with the wizard's
# elevation) beside a package tree that holds every file the copy
# lists name, an INF and a data file per model, and a monitor DLL that exports
# its entry point undecorated; each architecture folder holds DLLs of its own
# architecture.
#   check-dist.sh DIST_DIR
set -euo pipefail
dist="$1"
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
for f in PrinterInfo.ini USB驱动安装说明.txt; do
  [ -f "$dist/$f" ] || fail "no $f"
  iconv -f GBK -t UTF-8 "$dist/$f" >/dev/null 2>&1 || fail "$f is not GBK text"
done
ls "$dist/字体/"* >/dev/null 2>&1 || fail "no font in 字体"
need_24="QX24RES.DLL STDNAMES.GPD unidrv.hlp unidrvui.dll unidrv.dll unires.dll STDDTYPE.GDL STDSCHEM.GDL STDSCHMX.GDL QxSet.ini QxSetUI.dll QxSetUni.dll QXLMON.dll 24Pin.inf QX-630K.GPD QX-730K.GPD"
need_9="UNIDRV.DLL UNIDRVUI.DLL UNIDRV.HLP UNIRES.DLL STDNAMES.GPD STDDTYPE.GDL STDSCHEM.GDL STDSCHMX.GDL QXMPUI.dll QXMPUNI.dll QXMPdll.ini QX9res.dll 9Pin.inf QX-300.GPD QX-350.GPD"
declare -A format=([i386]=pei-i386 [X64]=pei-x86-64)
for arch in i386 X64; do
  for f in $need_24; do [ -f "$dist/24Pin/$arch/$f" ] || fail "missing 24Pin/$arch/$f"; done
  for f in $need_9; do [ -f "$dist/9Pin/$arch/$f" ] || fail "missing 9Pin/$arch/$f"; done
  # Read the whole listing first: grep -q stopping early would break the pipe under pipefail.
  monitor="$(x86_64-w64-mingw32-objdump -p "$dist/24Pin/$arch/QXLMON.dll")"
  grep -q "file format ${format[$arch]}" <<<"$monitor" || fail "24Pin/$arch/QXLMON.dll is not ${format[$arch]}"
  grep -Eq '\] InitializePrintMonitor2$' <<<"$monitor" \
    || fail "24Pin/$arch/QXLMON.dll does not export InitializePrintMonitor2"
  ui="$(x86_64-w64-mingw32-objdump -p "$dist/24Pin/$arch/unidrvui.dll")"
  grep -Eq '\] DrvDocumentPropertySheets$' <<<"$ui" \
    || fail "24Pin/$arch/unidrvui.dll does not export DrvDocumentPropertySheets"
done
echo "check-dist: $dist is complete"
