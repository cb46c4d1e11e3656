#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need (run as root).
set -euo pipefail
packages=(
  build-essential cmake ninja-build ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libpng-dev zlib1g-dev libncurses-dev
  libevdev-dev libgpiod-dev libcli11-dev mpv tmux sox libsox-fmt-mp3 espeak-ng
  # the web page's server, and the browser its test drives
  libmicrohttpd-dev chromium
  clang libclang-rt-14-dev
  # the misc-fixed sources of data/Fonts and data/Bitmaps, for the generator checks
  xfonts-base
  # the package's checks: the unit, its user and folder (systemd), the polkit rule run by
  # polkit's own JavaScript engine (duktape)
  systemd duktape
  # the Windows program's cross build and its tests under Wine
  g++-mingw-w64-x86-64 wine wine64 xvfb
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
