#!/usr/bin/env bash
# Sets up, builds and runs the demo: the program on the simulated machine with the sample
# program folder, showing its state after start-up.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
cmake --preset default
cmake --build build --target lorvan-sim
printf 'start\nwait 100\ndump state\ndump events\n' | ./build/lorvan-sim data/sample
