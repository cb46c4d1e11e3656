#!/usr/bin/env bash
# Sets up, builds and runs every test: the suite, the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the parser fuzzers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
cmake --preset default
cmake --build build
mkdir -p build/logs
ctest --test-dir build --output-on-failure -j2 | tee build/logs/ctest.log
bash tools/test-sanitize.sh
bash tools/run-fuzzers.sh
# One closing line for the whole run, counted from the main suite.
summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' build/logs/ctest.log | tail -1)
failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
echo "tests: $((total - failed)) passed, ${failed} failed"
