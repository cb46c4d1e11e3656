#!/bin/bash
# The layer check: every #include "..." of src/, tests/ and bench/ must point down the table of
# layers (README.md, "Layout"), never up, and never from one host into another.
#   tools/check-layers.sh [SOURCE_DIR]
# Prints each include that breaks the rule as FILE:LINE: message, and fails when there is one.
#
# The rule, by the folder of the including file:
#   src/<core folder>     its own folder and the folders its row allows (ALLOWED below)
#   src/posix             platform only: the POSIX pieces that the sim and the Linux host share
#   src/hosts/<host>      the whole core, its own folder and posix; never another host
#   tests/<core folder>   what that core folder may include, plus the fakes: the simulated
#                         machine's platform (hosts/sim, but not sim_runner.h, which runs the
#                         whole window and so counts as app), posix and tests/support
#   tests/integration     the whole core, the fakes and hosts/linux
#   tests/wine            the whole core, the fakes and hosts/win32
#   other test folders, bench/: the whole core and the fakes
#   bench/web             also hosts/linux and the integration tests' helpers
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

core="platform event text lcd player navigation power cd app"
declare -A ALLOWED=(
  [platform]="platform"
  [event]="event platform"
  [text]="text"
  [lcd]="lcd platform text"
  [player]="player platform event"
  [navigation]="navigation platform event text lcd player"
  [power]="power platform event text lcd player"
  [cd]="cd platform event text lcd player"
  [app]="$core"
  [posix]="posix platform"
)
fakes="hosts/sim posix support"

# The layer an include names (into $layer): the folder below src/ (hosts/<name> for a host),
# "support" for the tests' shared helpers, "app" for the generated version header; empty
# when unknown.
target_layer() {
  local inc=$1 rest
  case $inc in
    hosts/sim/sim_runner.h) layer=app ;;
    hosts/*/*) rest=${inc#hosts/}; layer=hosts/${rest%%/*} ;;
    support/*) layer=support ;;
    version.h) layer=app ;;
    */*) layer=${inc%%/*} ;;
    *) layer="" ;;
  esac
}

# The layers a file may include (into $allowed), by its folder.
allowed_for() {
  local file=$1 top sub host
  top=${file%%/*}
  sub=${file#*/}
  sub=${sub%%/*}
  case $top in
    src)
      case $file in
        src/hosts/*/*) host=${file#src/hosts/}; allowed="$core hosts/${host%%/*} posix" ;;
        *) allowed=${ALLOWED[$sub]:-} ;;
      esac ;;
    tests)
      case $sub in
        integration) allowed="$core $fakes hosts/linux" ;;
        wine) allowed="$core $fakes hosts/win32" ;;
        *)
          if [[ -n ${ALLOWED[$sub]:-} && $sub != app ]]; then allowed="${ALLOWED[$sub]} $fakes"
          else allowed="$core $fakes"; fi ;;
      esac ;;
    # bench/web measures the Linux program itself, with the integration tests' helpers.
    bench) if [[ $file == bench/web/* ]]; then allowed="$core $fakes hosts/linux integration"
           else allowed="$core $fakes"; fi ;;
  esac
}

failures=0
mapfile -t files < <(find src tests bench -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.hpp' \) | sort)
# FILE:LINE:INCLUDE for every quoted include.
while IFS=: read -r file line inc; do
  allowed_for "$file"
  dir=${file%/*}
  test_folder=""
  [[ $file == tests/*/* ]] && { test_folder=${file#tests/}; test_folder=${test_folder%%/*}; }
  # A header beside the file, or a helper of the file's own test folder, is its own layer.
  [[ -e $dir/$inc ]] && continue
  [[ -n $test_folder && $inc == "$test_folder"/* && -e tests/$inc ]] && continue
  target_layer "$inc"
  # A test helper of another test folder counts as that folder's layer.
  if [[ $file == tests/* && $layer != support && -e tests/$inc ]]; then layer=${inc%%/*}; fi
  if [[ -z $layer ]]; then
    echo "$file:$line: #include \"$inc\" names no known layer"
    failures=$((failures + 1))
  elif [[ " $allowed " != *" $layer "* ]]; then
    echo "$file:$line: #include \"$inc\" runs up or across: $file may include only: $allowed"
    failures=$((failures + 1))
  fi
done < <(grep -H -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "${files[@]}" |
         sed -E 's/^([^:]*):([0-9]+):[^"]*"([^"]*)".*/\1:\2:\3/')

if ((failures > 0)); then
  echo "layer check: $failures include(s) break the layers" >&2
  exit 1
fi
echo "layer check: every include points down the layers"
