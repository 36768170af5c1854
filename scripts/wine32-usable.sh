#!/usr/bin/env bash
# Exits 0 when this machine can run 32-bit Windows programs under Wine, and
# 77 (CTest's skip code for the Wine tests) with a one-line reason when it
# cannot: Wine's 32-bit loader is a 32-bit Linux program, and a kernel built
# without 32-bit support refuses to execute it ("Exec format error").
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
exit 0
