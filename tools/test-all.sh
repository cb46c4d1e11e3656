#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
cmake --preset default
cmake --build build
ctest --test-dir build --output-on-failure -j2
# The Windows program, cross-built and tested under Wine (LORVAN_SKIP_WINE=1 skips it).
bash tools/test-windows.sh
