#!/usr/bin/env bash
# Line coverage of src/ by the test suite (gcovr), in a build of its own (build-coverage).
# Run by hand, not by CI. The soak is left out: it repeats the others over a day of virtual time.
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
command -v gcovr >/dev/null || { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq gcovr; }
build=build-coverage
# -O0 without debug information compiles fastest; tools/mutation-check.py rebuilds this same
# tree once per mutant.
linker=""
command -v mold >/dev/null && linker="-fuse-ld=mold"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DLORVAN_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="--coverage" -DCMAKE_EXE_LINKER_FLAGS="--coverage $linker" >/dev/null
cmake --build "$build"
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" -j2 -E 'Soak' --output-on-failure >"$build/ctest.log" || true
tail -n 3 "$build/ctest.log"
gcovr -r . --object-directory "$build" --filter 'src/' --exclude 'src/hosts/win32/' \
  --gcov-ignore-parse-errors -s --txt "$build/coverage.txt" >/dev/null
tail -n 3 "$build/coverage.txt"
