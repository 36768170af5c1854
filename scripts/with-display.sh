#!/usr/bin/env bash
# Runs a command with an X display: the user's own, or a private Xvfb server.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
