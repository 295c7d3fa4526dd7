#!/usr/bin/env bash
# Builds every fuzz target with clang and runs each for a bounded time on its
# committed corpus (fuzz/corpus/<target>); new findings are not kept.
# FUZZ_SECONDS sets the time per target (default 60).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
CXX=clang++ cmake -S "$root/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
status=0
for target in "$build"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$root/fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  echo "== $name (${FUZZ_SECONDS:-60} s)"
  if ! "$target" -max_total_time="${FUZZ_SECONDS:-60}" -timeout=5 -rss_limit_mb=2048 \
      -print_final_stats=1 "$work" "$corpus" 2>"$work.log"; then
    tail -40 "$work.log"
    status=1
  else
    grep -E 'stat::number_of_executed_units|Done' "$work.log" | tail -2
  fi
  rm -rf "$work" "$work.log"
done
exit $status
