#!/usr/bin/env bash
# The include check: every #include of the sources runs down the layers.
#   check-layers.sh [SRC_DIR]
# A file may include its own folder and the folders below it. The platform's
# backends (platform/win32/, platform/sim/) are included only from within
# themselves: the layers above see the seam's headers alone. Exit 1 with one
# line per upward include; a folder missing from the order below also fails,
# so a new folder is given its place before it is used.
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"

# Lowest first; folders on one line share a rank.
order=(
  "platform"
  "base"
  "report"
  "catalog"
  "discovery"
  "engine"
  "ui res"
  "app"
)
declare -A rank
for i in "${!order[@]}"; do
  for folder in ${order[$i]}; do rank[$folder]=$i; done
done

status=0
for dir in "$src"/*/; do
  folder=$(basename "$dir")
  [ -n "${rank[$folder]+set}" ] || { echo "$folder/: a folder without a place in the layers' order"; status=1; }
done

while IFS=: read -r file line text; do
  rel=${file#"$src"/}
  own=${rel%%/*}
  [[ $text =~ \"([^\"]+)\" ]] || continue
  target=${BASH_REMATCH[1]}
  top=${target%%/*}
  [ "$top" != "$target" ] && [ -n "${rank[$top]+set}" ] || continue  # beside the file, or not ours
  if [ "${rank[$top]}" -gt "${rank[$own]:-0}" ]; then
    echo "$rel:$line: includes $target, a layer above $own/"
    status=1
  fi
  case "$target" in
    platform/win32/* | platform/sim/*)
      backend=${target#platform/}; backend=platform/${backend%%/*}/
      case "$rel" in "$backend"*) ;; *)
        echo "$rel:$line: includes $target, a backend behind the platform seam"
        status=1 ;;
      esac ;;
  esac
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$src" --include='*.h' --include='*.cpp' --include='*.rc')

[ "$status" -eq 0 ] && echo "layers: every include runs down"
exit "$status"
