#!/usr/bin/env bash
# Prints the table timed.sh kept: each part's seconds (a part timed in
# several steps is summed), then the run's wall-clock time, which is less
# than their sum where parts ran side by side.
#   print-times.sh TABLE STARTED_AT_EPOCH_SECONDS
set -euo pipefail
table="$1" started="$2"
[ -f "$table" ] || exit 0
echo "== time per part (seconds)"
awk '!($1 in s) { order[n++] = $1 } { s[$1] += $2 }
     END { for (i = 0; i < n; i++) printf "  %-18s %5d\n", order[i], s[order[i]] }' "$table"
wall=$(($(date +%s) - started))
printf '  %-18s %5d  (%d min %02d s)\n' "wall clock" "$wall" $((wall / 60)) $((wall % 60))
