#!/usr/bin/env bash
# Installs what is missing, builds Vexalo and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
if [ -x build/vexalo ]; then
  exec build/vexalo "$@"
else
  exec build/vexalo-cli "$@"
fi
