#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build for SECONDS each, over its seeds in
# fuzz/seeds/NAME (and those the build made in BUILD/seeds/NAME) and its
# growing corpus in BUILD/corpus/NAME. Fails at the
# first finding (crash, sanitizer report, leak, timeout); the input that
# found it is left in BUILD/findings/NAME.
# Inputs stay within FUZZ_MAX_LEN bytes (65536): room for an INF of thousands
# of entries, which the catalog reads in one pass.
#   run-fuzzers.sh BUILD SECONDS
set -euo pipefail
build="$1" seconds="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"

for fuzzer in "$build"/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name="${fuzzer##*/fuzz_}"
  mkdir -p "$build/corpus/$name" "$build/findings/$name"
  echo "== fuzz_$name: ${seconds}s"
  log="$build/findings/$name/last-run.log"
  status=0
  seeds=()
  [ -d "$root/fuzz/seeds/$name" ] && seeds+=("$root/fuzz/seeds/$name")
  [ -d "$build/seeds/$name" ] && seeds+=("$build/seeds/$name")
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="${FUZZ_MAX_LEN:-65536}" \
      -print_final_stats=1 -artifact_prefix="$build/findings/$name/" \
      "$build/corpus/$name" "${seeds[@]}" >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY)' "$log" || true
  echo "corpus: $(ls "$build/corpus/$name" | wc -l) inputs"
  if [ "$status" -ne 0 ]; then
    tail -40 "$log" >&2
    echo "fuzz_$name: finding (exit $status), input in $build/findings/$name" >&2
    exit 1
  fi
done
