#!/usr/bin/env bash
# Installs the Debian packages the suite needs (as root), or prints the apt line and stops.
# Usage: scripts/deps.sh [build|test]
set -euo pipefail
# fonts-liberation2: its faces are built into the programs and their window frames.
want=(cmake g++ make pkg-config libxsimd-dev libsdl2-dev libx11-dev libfreetype-dev libpng-dev fonts-liberation2)
# Collaudo reads its design limits (CASE.lim) with toml++.
want+=(libtomlplusplus-dev)
# The Python module (tarnova) is built with the rest.
want+=(python3-dev pybind11-dev python3-numpy)
# Sagoma reads section descriptions in TOML.
want+=(libtomlplusplus-dev)
if [ "${1:-build}" = test ]; then
  want+=(libgtest-dev libgmock-dev libbenchmark-dev gfortran xvfb xauth xdotool openbox clang libclang-rt-dev ninja-build python3)
  # The Python module's tests and its examples (plots, Dask cluster).
  want+=(python3-pytest python3-matplotlib python3-distributed)
  # The calculation report opened and printed in a real browser, its HTML validated, its PDF's pages counted.
  want+=(chromium python3-html5lib tidy poppler-utils)
fi
# The manual pages (help2man), the Debian package (dpkg-shlibdeps from dpkg-dev; CPack needs file)
# and, for the tests, man to check the manual pages.
want+=(help2man dpkg-dev file)
if [ "${1:-build}" = test ]; then want+=(man-db); fi
# The packages' checks (lintian) and the module installed by pip into a fresh virtual environment
# (python3-venv; python3-build makes the wheel; both work offline with the in-tree build backend).
if [ "${1:-build}" = test ]; then want+=(lintian python3-venv python3-pip python3-build); fi
missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
