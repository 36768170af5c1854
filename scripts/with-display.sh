#!/usr/bin/env bash
# Runs a command with an X display: the user's own, or a private Xvfb server.
#   with-display.sh [--private] COMMAND...
# --private always starts a server of its own, so that programs run side by
# side never share a screen, a focus or a foreground window. When the command
# ran in a Wine prefix (WINEPREFIX), the prefix's processes are let go before
# their screen is.
set -euo pipefail
if [ "${1:-}" != --private ]; then
  if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
  fi
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
fi
shift
ready="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" 2>/dev/null &
server=$!
stop_server() {
  if [ -n "${WINEPREFIX:-}" ]; then
    timeout 30 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null || true
  fi
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -f "$ready"
}
trap stop_server EXIT
for _ in $(seq 100); do
  [ -s "$ready" ] && break
  kill -0 "$server" 2>/dev/null || { echo "with-display: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$ready" ] || { echo "with-display: Xvfb gave no display within 10 s" >&2; exit 1; }
status=0
DISPLAY=":$(head -n1 "$ready")" "$@" || status=$?
exit "$status"
