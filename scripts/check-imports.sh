#!/usr/bin/env bash
# Checks that a program imports statically only DLLs that Windows takes from
# its system folder whatever lies beside the program: the known DLLs that
# Windows 7 to 11 all list (HKLM\SYSTEM\CurrentControlSet\Control\Session
# Manager\KnownDLLs; their own imports come from there too), and COMCTL32
# when the manifest binds it to the common-controls assembly. Any other DLL,
# and any delay-loaded one, fails the check.
#   check-imports.sh EXE
set -euo pipefail
exe="$1"
fail() { echo "check-imports: $*" >&2; exit 1; }

known="advapi32 clbcatq comdlg32 difxapi gdi32 imagehlp imm32 kernel32 msctf msvcrt normaliz nsi
       ole32 oleaut32 psapi rpcrt4 sechost setupapi shell32 shlwapi user32 wldap32 ws2_32"

objdump=i686-w64-mingw32-objdump
$objdump -f "$exe" >/dev/null 2>&1 || objdump=x86_64-w64-mingw32-objdump
info="$($objdump -p "$exe")" || fail "$exe is not a PE image"

delay="$(awk '/Delay Import Directory/ {print $3}' <<<"$info")"
[ -z "$delay" ] || [ "$((16#$delay))" -eq 0 ] || fail "$exe delay-loads DLLs"

manifest="$(i686-w64-mingw32-strings -e l "$exe"; i686-w64-mingw32-strings "$exe")"
allowed=" $(tr -s ' \n' ' ' <<<"$known") "
grep -qF 'Microsoft.Windows.Common-Controls' <<<"$manifest" && allowed+="comctl32 "

imports="$(grep 'DLL Name:' <<<"$info" | awk '{print tolower($3)}' | sort -u)"
[ -n "$imports" ] || fail "no import table in $exe"
bad=""
for dll in $imports; do
  [[ "$allowed" == *" ${dll%.dll} "* ]] || bad+="$dll "
done
[ -z "$bad" ] || fail "$exe imports DLLs that may be taken from its own folder: $bad"
echo "check-imports: $exe imports only $(tr '\n' ' ' <<<"$imports")"
