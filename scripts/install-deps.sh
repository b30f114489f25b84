#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and playing need.
# Safe to run again: it asks apt only for what is missing and stays quiet otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6svg6
  qt6-qpa-plugins libgl1-mesa-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  fonts-liberation fonts-dejavu-core
  xvfb xauth openbox x11-utils libx11-dev
  sox
  dpkg-dev file desktop-file-utils appstream librsvg2-bin xdotool
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
