#!/usr/bin/env bash
# Writes a spoken "_dirname.talk" (the folder's name read out by espeak-ng, as WAV) into every
# folder below a music tree that has none yet, so the box announces the folder when the
# cursor lands on it.
#   tools/make-announcements.sh [-v VOICE] [-s WORDS_PER_MINUTE] [-f] MUSIC_ROOT
# -f replaces existing announcements. Names are read as they are, with "_" and "-" as pauses
# and a leading track or disc number dropped ("01 Rock" is read "Rock").
set -euo pipefail
voice=en
speed=150
force=0
while getopts "v:s:f" opt; do
  case "$opt" in
    v) voice=$OPTARG ;;
    s) speed=$OPTARG ;;
    f) force=1 ;;
    *) echo "usage: $0 [-v VOICE] [-s WPM] [-f] MUSIC_ROOT" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 [-v VOICE] [-s WPM] [-f] MUSIC_ROOT (an existing folder)" >&2
  exit 2
fi
if ! command -v espeak-ng >/dev/null; then
  echo "$0: espeak-ng is not installed (apt-get install espeak-ng)" >&2
  exit 1
fi
root=$1
made=0
kept=0
while IFS= read -r -d '' dir; do
  talk="$dir/_dirname.talk"
  if [ -e "$talk" ] && [ "$force" -eq 0 ]; then
    kept=$((kept + 1))
    continue
  fi
  name=$(basename -- "$dir")
  words=$(printf '%s' "$name" | sed -e 's/^[0-9][0-9]*[ ._-]*//' -e 's/[_-]/ /g')
  [ -n "$words" ] || words=$name
  espeak-ng -v "$voice" -s "$speed" -w "$talk.tmp" -- "$words"
  mv -f -- "$talk.tmp" "$talk"
  made=$((made + 1))
done < <(find "$root" -mindepth 1 -type d -print0)
echo "$made announcements written, $kept kept"
