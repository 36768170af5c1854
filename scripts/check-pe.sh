#!/usr/bin/env bash
# Checks that the installer is a 32-bit GUI PE that needs no MinGW runtime DLL
# and carries the wizard's resources: dialogs, the about string, every skin picture.
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
resources="$(i686-w64-mingw32-windres -i "$exe" -O rc)"
for dialog in 100 159 161 165; do
  grep -Eq "^$dialog DIALOGEX" <<<"$resources" || fail "lacks dialog $dialog"
done
for bitmap in 134 137 138 139 140 141 142 143 146 150 162 163 164 166 167 168 169 170 172 173 174 175 176; do
  grep -Eq "^$bitmap 2 /\* RT_BITMAP \*/" <<<"$resources" || fail "lacks bitmap $bitmap"
done
grep -Eq '^182 "PNG"' <<<"$resources" || fail "lacks the PNG logo 182"
grep -Eq '^  101, L"' <<<"$resources" || fail "lacks string 101"
echo "check-pe: $exe is a PE32 GUI executable importing only: $(tr '\n' ' ' <<<"$dlls")"
