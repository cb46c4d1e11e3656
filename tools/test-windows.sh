#!/usr/bin/env bash
# Cross-builds the Windows program (Lorvan.exe, Hardstop.exe) with MinGW-w64 and runs its
# tests under Wine on a virtual X display: the platform layer, the program end to end against
# the stand-in player and port library, and Hardstop.exe ending the Wine session.
# LORVAN_SKIP_WINE=1 skips the whole step; an argument runs only the tests whose name has it.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache finds earlier builds of the same sources in other checkouts too.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
if [ "${LORVAN_SKIP_WINE:-0}" = 1 ]; then
  echo "test-windows: skipped (LORVAN_SKIP_WINE=1)"
  exit 0
fi
filter="${1:-}"
for tool in x86_64-w64-mingw32-g++ wine wineserver Xvfb; do
  if ! command -v "$tool" >/dev/null; then
    echo "test-windows: $tool is missing; bash tools/setup-debian.sh installs it" >&2
    exit 1
  fi
done
root="$PWD"
build="$root/build-mingw"
started=$(date +%s)

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2
built=$(date +%s)

work=$(mktemp -d /tmp/lorvan-wine.XXXXXX)
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  if [ "${keep_work:-0}" = 1 ]; then
    echo "test-windows: the test folders are kept in $work"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT

# A Windows path of this machine's file, through Wine's drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# The whole lines of a file another process is writing: a last line without its line end is
# left out until it is complete.
whole_lines() { [ -f "$1" ] && head -n "$(wc -l <"$1")" "$1"; }
# Polls (every 0.1 s, for at most $1 tenths) until the command succeeds; its status.
wait_until() {
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  "$@"
}

# A virtual display of its own, its number chosen by the server.
exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display_known() { whole_lines "$work/display" | grep -x '[0-9][0-9]*' >/dev/null; }
if ! wait_until 300 display_known; then
  echo "test-windows: Xvfb gave no display number:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
timeout 180 wineboot -i >/dev/null 2>&1
# Windows without a window manager's frame: closing one then takes no extra wait.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
timeout 60 wineserver -w
prefixed=$(date +%s)

mkdir -p "$work/tests"
status=0
# Into a file, not a pipe: a player left running after a time-out would hold a pipe open.
LORVAN_WINE_BIN=$(winpath "$build") LORVAN_WINE_DATA=$(winpath "$root/data") LORVAN_WINE_WORK=$(winpath "$work/tests") \
  timeout 600 wine "$build/lorvan-wine-tests.exe" ${filter:+"--gtest_filter=*$filter*"} </dev/null \
  >"$work/tests.out" 2>&1 || status=1
tr -d '\r' <"$work/tests.out" | tee "$work/tests.log"
# GoogleTest's own count of the tests that ran to their end; a run cut short counts as a failure.
passed=$(grep -c '^\[       OK \]' "$work/tests.log" || true)
failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below:$/\1/p' "$work/tests.log")
grep -q '^\[==========\] .* ran\.' "$work/tests.log" || failed=$((${failed:-0} + 1))
failed=${failed:-0}

# Hardstop.exe ends the Wine session as it would shut Windows down: the running player is
# asked to end its session and ends.
if [ -z "$filter" ] || [[ "Hardstop" == *"$filter"* ]]; then
  echo "[ RUN      ] Hardstop.EndsTheSession"
  hs="$work/hardstop"
  mkdir -p "$hs"
  cp "$build/Winamp.exe" "$build/Hardstop.exe" "$hs/"
  wine "$hs/Winamp.exe" </dev/null >/dev/null 2>&1 &
  player_pid=$!
  # An event of the stand-in player: a whole line of its log, after the process id.
  player_logged() { whole_lines "$hs/player.log" | grep -x "[0-9]* $1" >/dev/null; }
  player_gone() { ! kill -0 "$player_pid" 2>/dev/null; }
  hs_ok=1
  if ! wait_until 300 player_logged window; then echo "    the stand-in player did not start"; hs_ok=0; fi
  timeout 60 wine "$hs/Hardstop.exe" </dev/null >/dev/null 2>&1 || true
  # The session's end ends the player: its log is complete once its process is gone.
  if ! wait_until 300 player_gone; then echo "    the player did not end"; hs_ok=0; fi
  for event in queryendsession 'endsession 1'; do
    if ! player_logged "$event"; then echo "    the player got no $event"; hs_ok=0; fi
  done
  if [ "$hs_ok" = 1 ]; then
    passed=$((passed + 1))
    echo "[       OK ] Hardstop.EndsTheSession"
  else
    failed=$((failed + 1))
    status=1
    echo "[  FAILED  ] Hardstop.EndsTheSession"
    sed 's/^/    player.log: /' "$hs/player.log" 2>/dev/null || true
  fi
fi

ended=$(date +%s)
echo "test-windows: build $((built - started)) s, Wine prefix $((prefixed - built)) s, tests $((ended - prefixed)) s"
[ "$failed" = 0 ] || status=1
[ "$status" = 0 ] || keep_work=1
echo "wine: $passed passed, $failed failed"
exit "$status"
