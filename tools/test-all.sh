#!/usr/bin/env bash
# Sets up, builds and runs every test: the suite, the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the parser fuzzers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache finds earlier builds of the same sources in other checkouts too.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
bash tools/setup-debian.sh
cmake --preset default
cmake --build build
mkdir -p build/logs
# The integration tests run real programs (mpv, tmux) in real time on a shared machine: a
# test that fails is run once more before it counts; a fault that fails every time still does.
ctest --test-dir build --output-on-failure -j2 --repeat until-pass:2 | tee build/logs/ctest.log
bash tools/test-sanitize.sh
bash tools/run-fuzzers.sh
# The Windows program, cross-built and tested under Wine (LORVAN_SKIP_WINE=1 skips it).
bash tools/test-windows.sh | tee build/logs/wine.log
# One closing line for the whole run, counted from the main suite and the Wine tests.
summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' build/logs/ctest.log | tail -1)
failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
wine=$(sed -n -E 's/^wine: ([0-9]+) passed, ([0-9]+) failed.*/\1 \2/p' build/logs/wine.log | tail -1)
read -r wine_passed wine_failed <<<"${wine:-0 0}"
echo "tests: $((total - failed + wine_passed)) passed, $((failed + wine_failed)) failed"
