#!/usr/bin/env bash
# Builds the programs and the tests with AddressSanitizer and UndefinedBehaviorSanitizer (Ninja,
# build-asan) and runs the tests; any sanitizer finding ends its test with a failure. The Python
# module stays out: an extension built with the sanitizers cannot load into the plain interpreter
# (its tests run in the ordinary build).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNOVA_TESTS=ON -DTARNOVA_BENCHMARKS=OFF -DTARNOVA_PYTHON=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  -DCMAKE_C_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build build-asan -j "$(nproc)"
source scripts/sanitizerEnv.sh
ctest --test-dir build-asan --output-on-failure -j "$(nproc)" -LE window
# The window tests without leak detection: SDL unloads the X11 libraries it loaded, so their leaks
# show no module ("<unknown module>") and no suppression can name them. Memory errors and undefined
# behaviour still halt these tests; a leak of our own code would show in every other test.
ASAN_OPTIONS="${ASAN_OPTIONS}:detect_leaks=0" ctest --test-dir build-asan --output-on-failure -j "$(nproc)" -L window
