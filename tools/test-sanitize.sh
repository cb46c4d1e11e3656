#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache finds earlier builds of the same sources in other checkouts too.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake --preset sanitize >/dev/null
cmake --build build-sanitize
LORVAN_SOAK_HOURS=1 ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j2 --repeat until-pass:2
