# Sourced by the Wine scripts: picks the loader that runs a program in a prefix.
#   wine_loader ARCH [PROGRAM]   sets WINE_LOADER, or returns 77 with the reason
# Where the machine runs 32-bit programs, Debian's `wine` wrapper picks the
# loader itself. Where it cannot (Wine's 32-bit loader is a 32-bit Linux
# program, and a kernel without 32-bit support refuses it), a 64-bit prefix
# still runs 64-bit programs through the 64-bit loader alone.
# QX_WINE32_EMULATED=1 (the shipped wizard's emulated suite) also takes the
# 32-bit loader where it runs only under qemu-user.
wine64_loader=/usr/lib/wine/wine64

# True when PROGRAM is a PE32+ (x86-64) image.
pe_is_64bit() {
  local offset machine
  offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || return 1
  machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
  [ "$machine" = 8664 ]
}

wine_loader() {
  local arch="$1" program="${2:-}" reason
  local emulated=()
  [ "${QX_WINE32_EMULATED:-}" = 1 ] && emulated=(--emulated-ok)
  if reason="$("$(dirname "${BASH_SOURCE[0]}")/wine32-usable.sh" "${emulated[@]}" 2>&1)"; then
    WINE_LOADER=wine
    return 0
  fi
  if [ "$arch" = win64 ] && [ -x "$wine64_loader" ] && { [ -z "$program" ] || pe_is_64bit "$program"; }; then
    WINE_LOADER="$wine64_loader"
    export WINELOADER="$wine64_loader"
    return 0
  fi
  echo "$reason" >&2
  return 77
}
