#!/usr/bin/env bash
# The demo: builds the box program, lays out a program folder with `lorvan --setup` (settings
# with the mpv command line, help file, fonts, bitmaps), adds a small music tree of generated
# tracks with spoken folder names and opens the terminal main window, with the web page on
# 127.0.0.1:8480. mpv uses its null audio output where the machine has no sound device.
#   tools/make-demo.sh [--no-run] [PROGRAM_DIR]      (default build/demo)
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache finds earlier builds of the same sources in other checkouts too.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
run=1
if [ "${1:-}" = "--no-run" ]; then
  run=0
  shift
fi
dir=${1:-build/demo}

bash tools/setup-debian.sh
cmake --preset default >/dev/null
cmake --build build -j2 --target lorvan

# The program folder: fonts, bitmaps, help file and settings with mpv as the player, laid
# out once; a later run keeps what the last one left (volume, bookmark).
if [ ! -e "$dir/Lorvan.ini" ]; then
  ./build/lorvan --setup "$dir"
fi
dir=$(cd "$dir" && pwd)

# The music tree: short generated tracks, a different little tune in each.
track() {  # track FILE SECONDS NOTE...
  local file=$1 seconds=$2
  shift 2
  [ -e "$file" ] && return 0
  mkdir -p "$(dirname "$file")"
  local parts=() n
  for n in "$@"; do parts+=(synth 0.25 pluck "$n" :); done
  unset 'parts[${#parts[@]}-1]'
  sox -q -n -r 44100 -c 2 "$file.tmp.wav" "${parts[@]}"
  sox -q "$file.tmp.wav" -C 128 "$file" repeat "$(( seconds * 4 / $# ))" fade 0 "$seconds" 0.5
  rm -f "$file.tmp.wav"
}
m="$dir/Music"
track "$m/Welcome.mp3" 12 C4 E4 G4 C5
track "$m/Classic/Air.mp3" 20 D4 F#4 A4 D5 C#5 A4
track "$m/Classic/Canon.mp3" 20 D4 A3 B3 F#3 G3 D3 G3 A3
track "$m/Jazz/So What.mp3" 16 D3 A3 D4 E4 C4
track "$m/Jazz/Take Five.mp3" 18 Eb3 Bb3 Eb4 Gb4 Ab4
track "$m/Rock/01 Intro.mp3" 10 E3 E3 G3 A3
track "$m/Rock/Queen/01 Bohemian Rhapsody.mp3" 24 Bb3 D4 F4 Bb4
track "$m/Rock/Queen/02 Under Pressure.mp3" 20 D3 D3 D3 A3 D3
track "$m/Rock/Queen/03 A Very Long Title That Scrolls Along The Line.mp3" 14 C4 D4 E4 F4 G4
bash tools/make-announcements.sh "$m" >/dev/null

echo "demo program folder: $dir"
if [ "$run" -eq 1 ]; then
  # The preview draws the panel in braille characters, which need a UTF-8 locale.
  if [ "$(locale charmap 2>/dev/null)" != "UTF-8" ]; then
    export LC_ALL=C.UTF-8
  fi
  # The web page on this machine only: the panel live and the remote's keys in a browser.
  web_port=${LORVAN_WEB_PORT:-8480}
  echo "web page: http://127.0.0.1:$web_port/ (another port: LORVAN_WEB_PORT=N)"
  exec ./build/lorvan --web="127.0.0.1:$web_port" "$dir"
fi
