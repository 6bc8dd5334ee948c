#!/usr/bin/env bash
# Installs what is missing, builds the programs, their manual pages and the Python module with
# Debian's hardening flags, and writes the Debian packages into build/: tarnova_VERSION_ARCH.deb,
# tarnova-window_VERSION_ARCH.deb (when the window backend is a module of its own) and
# python3-tarnova_VERSION_ARCH.deb (when the module is built). Their dependencies come from the
# binaries (dpkg-shlibdeps).
# Usage: scripts/package.sh [-j N]   (or JOBS=N; the default is every processor)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
while getopts "j:h" option; do
  case $option in
    j) jobs=$OPTARG ;;
    h) sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "usage: scripts/package.sh [-j N]" >&2; exit 1 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -eq 0 ] || { echo "usage: scripts/package.sh [-j N]" >&2; exit 1; }
[[ $jobs =~ ^[1-9][0-9]*$ ]] || { echo "package.sh: the number of jobs must be a positive integer, not \"$jobs\"" >&2; exit 1; }
bash scripts/deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNOVA_TESTS=OFF -DTARNOVA_BENCHMARKS=OFF \
  -DTARNOVA_HARDENING=ON >/dev/null
cmake --build build -j "$jobs"
(cd build && cpack -G DEB)
ls -1 build/*.deb
