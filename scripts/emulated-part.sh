#!/usr/bin/env bash
# Runs a part of the 32-bit build's Wine tests that may take the 32-bit
# loader under qemu-user (QX_WINE32_EMULATED=1). Where it runs emulated, its
# seconds go to the table that `make test` prints, under PART.
#   emulated-part.sh TABLE PART [--emulated-only] COMMAND...
# --emulated-only: where the loader runs natively, the part is skipped (77),
# since the whole 32-bit suites take its road there.
set -uo pipefail
here="$(dirname "$0")"
table="$1" part="$2"
shift 2
only=0
[ "${1:-}" = --emulated-only ] && { only=1; shift; }
export QX_WINE32_EMULATED=1
if "$here/wine32-usable.sh" 2>/dev/null; then
  if [ "$only" = 1 ]; then
    echo "$part: the 32-bit loader runs natively here, and the 32-bit suites take this road; skipped" >&2
    exit 77
  fi
  exec "$@"
fi
exec bash "$here/timed.sh" "$table" "$part" "$@"
