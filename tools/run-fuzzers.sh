#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time on its seed corpus.
# LORVAN_FUZZ_SECONDS sets the time per target (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache finds earlier builds of the same sources in other checkouts too.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
seconds="${LORVAN_FUZZ_SECONDS:-60}"
cmake --preset fuzz >/dev/null
cmake --build build-fuzz
status=0
for target in build-fuzz/fuzz_*; do
  name="${target##*/fuzz_}"
  corpus="tests/fuzz/corpus/$name"
  work="build-fuzz/corpus-$name"
  mkdir -p "$work"
  echo "== fuzzing $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=5 -max_len=8192 -print_final_stats=1 \
      "$work" "$corpus" 2>"build-fuzz/$name.log"; then
    status=1
    tail -40 "build-fuzz/$name.log"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "build-fuzz/$name.log" || true
done
exit "$status"
