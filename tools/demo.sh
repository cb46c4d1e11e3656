#!/usr/bin/env bash
# The demo: sets up, builds and runs the box program on this machine: the terminal main window
# with the LCD preview, mpv as the player, a generated music tree with spoken folder names.
# Keys as on the remote: P play, N next, S stop, E equalizer, H help, X five times to leave.
set -euo pipefail
cd "$(dirname "$0")/.."
exec bash tools/make-demo.sh "$@"
