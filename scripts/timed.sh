#!/usr/bin/env bash
# Runs a command and adds how long it took to the table of a run's parts.
#   timed.sh TABLE PART COMMAND...
set -uo pipefail
table="$1" part="$2"
shift 2
start=$(date +%s)
"$@"
status=$?
mkdir -p "$(dirname "$table")"
echo "$part $(($(date +%s) - start))" >>"$table"
exit "$status"
