#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Portico need.
# Does nothing when they are all present. Runs without standard input (CI runs it as root).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev clang-format-14
  qt6-base-dev qt6-base-dev-tools libgl-dev
  xvfb xauth x11-utils imagemagick xdotool fonts-dejavu-core libx11-dev python3
  wine64 libyaml-cpp-dev
  g++-mingw-w64-x86-64-posix googletest
  desktop-file-utils appstream lintian dpkg-dev file man-db
  iproute2 fping
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq </dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
