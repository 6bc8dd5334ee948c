#!/usr/bin/env bash
# Installs what is missing, builds the programs and their manual pages, and writes the Debian
# package build/tarnova_VERSION_ARCH.deb (and build/tarnova-window_VERSION_ARCH.deb when the
# window backend is a module of its own). Its dependencies come from the binaries (dpkg-shlibdeps).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNOVA_TESTS=OFF -DTARNOVA_BENCHMARKS=OFF >/dev/null
cmake --build build -j "$(nproc)"
(cd build && cpack -G DEB)
ls -1 build/*.deb
