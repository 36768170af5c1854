#!/usr/bin/env bash
# Exits 0 when this machine runs 32-bit Windows programs under Wine natively,
# and 77 (CTest's skip code for the Wine tests) with a one-line reason when it
# cannot: Wine's 32-bit loader is a 32-bit Linux program, and a kernel built
# without 32-bit support refuses to execute it ("Exec format error").
#   wine32-usable.sh [--emulated-ok]
# Where the loader runs only through qemu-user (a binfmt_misc entry for i386
# ELF files, which scripts/install-deps.sh registers on such a kernel), the
# whole 32-bit suites would take too long: they are skipped, and only
# --emulated-ok accepts the emulated loader.
set -uo pipefail
loader=/usr/lib/wine/wine
if [ ! -x "$loader" ]; then
  echo "wine: $loader is missing (wine32:i386 not installed); Wine tests skipped" >&2
  exit 77
fi
if ! out="$("$loader" --version 2>&1)"; then
  echo "wine: this machine cannot run 32-bit programs ($out); Wine tests skipped" >&2
  exit 77
fi

# An enabled binfmt_misc entry for i386 ELF executables comes before the
# kernel's own ELF loader: 32-bit programs then run emulated.
i386_emulated() {
  local dir=/proc/sys/fs/binfmt_misc entry
  [ "$(cat "$dir/status" 2>/dev/null)" = enabled ] || return 1
  for entry in "$dir"/*; do
    case "${entry##*/}" in register | status) continue ;; esac
    [ "$(head -n1 "$entry" 2>/dev/null)" = enabled ] || continue
    grep -q '^magic 7f454c46010101000000000000000000020003' "$entry" 2>/dev/null && return 0
  done
  return 1
}

if i386_emulated && [ "${1:-}" != --emulated-ok ]; then
  echo "wine: this machine runs 32-bit programs only under emulation (qemu-user); 32-bit Wine suites skipped" >&2
  exit 77
fi
exit 0
