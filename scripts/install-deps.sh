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

source "$(dirname "$0")/lib/packages.sh"
need_packages "${packages[@]}"
