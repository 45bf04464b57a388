#!/usr/bin/env bash
# Installs the Debian packages Vexalo needs to build, test and run, skipping
# those already present, and any packages given as arguments. Run by
# run.sh, test.sh and CI.
set -euo pipefail
VX_PACKAGES=(
  build-essential cmake ninja-build git
  libgtest-dev libgmock-dev libbenchmark-dev libedit-dev libeigen3-dev
  qt6-base-dev libqt6opengl6-dev libglu1-mesa-dev libgl1-mesa-dri
  fonts-dejavu-core xvfb xauth
  libboost-dev libboost-math-dev python3-mpmath python3-numpy
  scdoc python3-pexpect
  dpkg-dev file lintian desktop-file-utils appstream
  "$@"  # what a caller needs besides (CI: the fuzzing compiler)
)
missing=()
for p in "${VX_PACKAGES[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
