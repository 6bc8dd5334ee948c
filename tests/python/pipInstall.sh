#!/usr/bin/env bash
# The module as a Python user installs it, with no package index: "pip install ." from the source
# tree into a fresh virtual environment, and a wheel from "python3 -m build --wheel" into another;
# in each the pytest suite runs against that installation (nothing on PYTHONPATH). The
# environments see the system's packages for NumPy and pytest (Debian's, as the module's own
# dependencies would come from an index that is not there). The CMake build directory is kept in
# BUILD_DIR/pip, so that only a changed source is compiled again.
# Usage: pipInstall.sh SOURCE_DIR BUILD_DIR PYTHON
set -euo pipefail
source=$1 build=$2 python=$3
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
unset PYTHONPATH
export PYTHONDONTWRITEBYTECODE=1 PIP_NO_INDEX=1 PIP_DISABLE_PIP_VERSION_CHECK=1
cd "$tmp"

# Runs the pytest suite with the environment's interpreter; the module must come from the
# environment.
suite() {
  local venv=$1
  local imported
  imported=$("$venv/bin/python" -c 'import tarnova; print(tarnova.__file__)')
  [[ $imported == "$venv/"* ]] || { echo "tarnova imported from $imported, not from $venv"; exit 1; }
  (cd "$tmp" && "$venv/bin/python" -m pytest -q -p no:cacheprovider -o console_output_style=classic \
      "$source/tests/python") || { echo "pytest failed against $venv"; exit 1; }
}

start=$SECONDS
"$python" -m venv --system-site-packages "$tmp/pip-venv"
"$tmp/pip-venv/bin/python" -m pip install -q --config-settings "build-dir=$build/pip" "$source"
echo "pip install . took $((SECONDS - start)) s"
suite "$tmp/pip-venv"

start=$SECONDS
"$python" -m build --wheel --outdir "$tmp/dist" --config-setting "build-dir=$build/pip" "$source" >"$tmp/build.log" 2>&1 ||
  { cat "$tmp/build.log"; exit 1; }
wheel=$(ls "$tmp"/dist/tarnova-*.whl)
echo "python3 -m build --wheel took $((SECONDS - start)) s: $(basename "$wheel")"
"$python" -m venv --system-site-packages "$tmp/wheel-venv"
"$tmp/wheel-venv/bin/python" -m pip install -q "$wheel"
suite "$tmp/wheel-venv"
