#!/usr/bin/env bash
# Checks that the installer is a 32-bit GUI PE that needs no MinGW runtime DLL.
#   check-pe.sh EXE
set -euo pipefail
exe="$1"
info="$(i686-w64-mingw32-objdump -p "$exe")"
fail() { echo "check-pe: $*" >&2; exit 1; }
grep -q 'file format pei-i386' <<<"$info" || fail "not PE32 (i386)"
grep -Eq 'Subsystem[[:space:]]+0*2[[:space:]]' <<<"$info" || fail "not the GUI subsystem"
dlls="$(grep 'DLL Name:' <<<"$info" | awk '{print tolower($3)}')"
for bad in libgcc libstdc++ libwinpthread; do
  grep -q "^$bad" <<<"$dlls" && fail "imports $bad"
done
manifest="$(i686-w64-mingw32-strings -e l "$exe"; i686-w64-mingw32-strings "$exe")"
for needle in 'level="requireAdministrator"' 'uiAccess="false"' '>true</dpiAware>' 'Microsoft.Windows.Common-Controls'; do
  grep -qF "$needle" <<<"$manifest" || fail "manifest lacks $needle"
done
echo "check-pe: $exe is a PE32 GUI executable importing only: $(tr '\n' ' ' <<<"$dlls")"
