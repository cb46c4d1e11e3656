#!/usr/bin/env bash
# The .deb as a box's owner gets it: built from the build's install rules, its polkit rule
# run by polkit's own JavaScript engine, unpacked into a scratch root where the unit is
# verified and the maintainer scripts do a first install, an upgrade and a purge.
#   tests/packaging/check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
pass() { echo "ok: $1"; }
fail() { echo "FAILED: $1"; failed=1; }
expect() {  # expect DESCRIPTION ACTUAL WANTED
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: \"$2\", wanted \"$3\""; fi
}

# --- the package, with the maintainer of the build's settings; none is refused
maintainer=$(sed -n 's/^LORVAN_PACKAGE_MAINTAINER:STRING=//p' "$build/CMakeCache.txt")
none=$(cd "$build" && cpack -G DEB -B "$work/none" -D CPACK_DEBIAN_PACKAGE_MAINTAINER= 2>&1 || true)
if grep -q "LORVAN_PACKAGE_MAINTAINER" <<<"$none" && ! ls "$work"/none/*.deb >/dev/null 2>&1; then
  pass "without a maintainer cpack refuses and names the setting"
else
  fail "a package without a maintainer: $none"
fi
extra=()
if [ -z "$maintainer" ]; then
  maintainer="Package Test <package-test@localhost>"
  extra=(-D "CPACK_DEBIAN_PACKAGE_MAINTAINER=$maintainer")
fi
if ! (cd "$build" && cpack -G DEB -B "$work/pkg" "${extra[@]}") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
deb=$(ls "$work"/pkg/lorvan_*.deb)
expect "the Maintainer field is the build's setting" "$(dpkg-deb -f "$deb" Maintainer)" "$maintainer"
root="$work/root"
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$work/control"

# --- the programs are stripped
for program in lorvan Hardstop; do
  file="$root/opt/lorvan/$program"
  if [ ! -x "$file" ]; then
    fail "/opt/lorvan/$program is in the package"
  elif readelf -S --wide "$file" | grep -qE '\.symtab|\.debug_'; then
    fail "/opt/lorvan/$program is stripped"
  else
    pass "/opt/lorvan/$program is stripped ($(stat -c %s "$file") bytes; the build's: $(stat -c %s "$build/$program"))"
  fi
done

# --- the polkit rule: only the lorvan user, only logind's power-off, suspend and hibernate
rule="$root/usr/share/polkit-1/rules.d/lorvan.rules"
granted=()
for verb in power-off suspend hibernate; do
  for variant in "" -multiple-sessions -ignore-inhibit; do granted+=("org.freedesktop.login1.$verb$variant"); done
done
if [ ! -f "$rule" ]; then
  fail "the package has /usr/share/polkit-1/rules.d/lorvan.rules"
else
  expect "the rule names exactly the granted actions" \
    "$(grep -o '"org\.[^"]*"' "$rule" | tr -d '"' | sort -u | xargs)" "$(printf '%s\n' "${granted[@]}" | sort | xargs)"
  expect "the rule names no user but lorvan" "$(grep -o '"[^"]*"' "$rule" | grep -v '^"org\.' | tr -d '"' | sort -u | xargs)" lorvan
  cases=()
  for action in "${granted[@]}"; do
    cases+=("lorvan $action yes" "pi $action none" "root $action none" "lorvan2 $action none")
  done
  for action in reboot reboot-multiple-sessions reboot-ignore-inhibit power-off-extra set-wall-message; do
    cases+=("lorvan org.freedesktop.login1.$action none")
  done
  cases+=("lorvan org.freedesktop.systemd1.manage-units none" "lorvan org.freedesktop.packagekit.upgrade-system none")
  {
    cat "$here/polkit-stand-in.js"
    cat "$rule"
    echo "check(["
    for c in "${cases[@]}"; do read -r user action want <<<"$c"; echo "  [\"$user\", \"$action\", \"$want\"],"; done
    echo "]);"
  } >"$work/rule-test.js"
  if command -v duk >/dev/null; then engine=duk; elif command -v node >/dev/null; then engine=node; else engine=; fi
  if [ -z "$engine" ]; then
    fail "a JavaScript engine runs the rule (install duktape, the engine of Debian's polkitd)"
  elif out=$("$engine" "$work/rule-test.js" 2>&1) && [ "$out" = "all ${#cases[@]} decisions as wanted" ]; then
    pass "the rule decides as wanted under $engine: ${#cases[@]} requests"
  else
    fail "the rule under $engine: $out"
  fi
fi

# --- the unit, verified by systemd against the scratch root
unit="$root/lib/systemd/system/lorvan.service"
if [ ! -f "$unit" ]; then
  fail "the package has /lib/systemd/system/lorvan.service"
else
  for line in RuntimeDirectory=lorvan RuntimeDirectoryMode=0700 Restart=on-failure User=lorvan; do
    if grep -qx "$line" "$unit"; then pass "the unit has $line"; else fail "the unit has $line"; fi
  done
  if grep -q '^ExecStart=.* --socket=/run/lorvan/[^ /]* ' "$unit"; then
    pass "the player's socket is in the runtime folder"
  else
    fail "the player's socket is in the runtime folder: $(grep ^ExecStart "$unit")"
  fi
  if ! command -v systemd-analyze >/dev/null || [ ! -e /lib/systemd/system/sysinit.target ]; then
    echo "skipped: systemd-analyze verify (no systemd units on this machine)"
  else
    cp -an /lib/systemd/system/. "$root/lib/systemd/system/"
    if out=$(systemd-analyze verify --root="$root" lorvan.service 2>&1) && [ -z "$out" ]; then
      pass "systemd-analyze verify finds nothing to say about the unit"
    else
      fail "systemd-analyze verify: $out"
    fi
  fi
fi

# --- first install, upgrade and purge by the maintainer scripts, below DPKG_ROOT
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: the maintainer scripts (they make users and owners: root only)"
elif ! command -v systemd-sysusers >/dev/null || ! command -v systemd-tmpfiles >/dev/null; then
  echo "skipped: the maintainer scripts (no systemd-sysusers or systemd-tmpfiles here)"
else
  chmod 755 "$work"  # the program runs as the service user from in here
  # An enabled service as 1.0.4 left it: the unit linked from the program folder.
  mkdir -p "$root/etc/systemd/system/multi-user.target.wants"
  ln -s /opt/lorvan/lorvan.service "$root/etc/systemd/system/lorvan.service"
  ln -s /etc/systemd/system/lorvan.service "$root/etc/systemd/system/multi-user.target.wants/lorvan.service"
  dir="$root/opt/lorvan"
  if DPKG_ROOT="$root" sh "$work/control/postinst" configure >"$work/postinst.log" 2>&1; then
    pass "postinst configures a first install"
  else
    fail "postinst configure: $(cat "$work/postinst.log")"
  fi
  ids=$(awk -F: '$1 == "lorvan" { print $3 ":" $4 }' "$root/etc/passwd" 2>/dev/null || true)
  expect "the service user lives in the program folder, without a shell" \
    "$(awk -F: '$1 == "lorvan" { print $6 " " $7 }' "$root/etc/passwd" 2>/dev/null)" "/opt/lorvan /usr/sbin/nologin"
  for group in audio input lp cdrom; do
    if grep -q "^$group:.*lorvan" "$root/etc/group" 2>/dev/null; then pass "lorvan is in $group"; else fail "lorvan is in $group"; fi
  done
  expect "the program folder belongs to lorvan, mode 755" "$(stat -c '%u:%g %a' "$dir")" "$ids 755"
  expect "the program belongs to root" "$(stat -c '%u:%g %a' "$dir/lorvan")" "0:0 755"
  expect "the settings are laid out by lorvan --setup as lorvan" "$(stat -c '%u:%g' "$dir/Lorvan.ini" 2>/dev/null)" "$ids"
  if grep -q '^mpv --idle=yes' "$dir/Lorvan.ini" 2>/dev/null; then pass "the settings' player is mpv"; else fail "the settings' player is mpv"; fi
  expect "the music folder is made" "$(stat -c '%u:%g' "$dir/Music" 2>/dev/null)" "$ids"
  if [ -e "$root/etc/systemd/system/lorvan.service" ]; then fail "the old link to the unit is removed"; else pass "the old link to the unit is removed"; fi
  expect "an enabled service stays enabled" \
    "$(readlink "$root/etc/systemd/system/multi-user.target.wants/lorvan.service")" /lib/systemd/system/lorvan.service

  printf '// my box\r\n' >>"$dir/Lorvan.ini"
  before=$(md5sum <"$dir/Lorvan.ini")
  DPKG_ROOT="$root" sh "$work/control/postinst" configure >"$work/postinst.log" 2>&1 || fail "postinst of an upgrade: $(cat "$work/postinst.log")"
  expect "an upgrade keeps the settings" "$(md5sum <"$dir/Lorvan.ini")" "$before"

  touch "$dir/Music/song.mp3"
  DPKG_ROOT="$root" sh "$work/control/postrm" purge || fail "postrm purge"
  if [ -e "$dir/Lorvan.ini" ]; then fail "a purge removes the settings"; else pass "a purge removes the settings"; fi
  if [ -e "$dir/Music/song.mp3" ]; then pass "a purge keeps the music"; else fail "a purge keeps the music"; fi
fi

if [ "$failed" -ne 0 ]; then
  echo "the package has faults"
  exit 1
fi
echo "the package is as a box needs it"
