#!/usr/bin/env bash
# Makes the README's pictures of the suite's own windows on a virtual X server (Xvfb, 1024 x 768):
#   docs/strakon.png   Strakon's progress panel when the tanker's case studies are done
#   docs/pickara.png   Pickara's section of the tanker, asking for an element
#   docs/curvella.png  Curvella's screen of the element chosen there (20, a stiffened deck panel)
# Usage: scripts/screenshots.sh [element]
set -euo pipefail
cd "$(dirname "$0")/.."
element="${1:-20}"
bash scripts/deps.sh test
cmake -S . -B build -DTARNOVA_TESTS=ON >/dev/null
cmake --build build -j "$(nproc)" --target Strakon Pickara Curvella windowShot >/dev/null

work="$(mktemp -d)"
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display number and writes it to the file.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

cp examples/tanker/TANKER.ana examples/tanker/TANKER.geo examples/tanker/TANKER.pro "$work/"
shot() { build/tests/window/windowShot "$DISPLAY" "$1" "docs/$2"; echo "docs/$2"; }
# Waits for a program to end by itself (at most 60 s; then it is stopped and the script fails).
finish() {
  for _ in $(seq 600); do kill -0 "$1" 2>/dev/null || { wait "$1"; return; }; sleep 0.1; done
  kill "$1"; echo "a program did not end" >&2; exit 1
}
# Ends a program that waits for Window > Exit, as a user would.
leave() {
  xdotool key --delay 100 alt+w x
  finish "$1"
}

build/Strakon/Strakon "$work/TANKER.ana" </dev/null >/dev/null 2>&1 &
program=$!
shot Run strakon.png
xdotool key Return   # acknowledges "CALCULATIONS FINISHED"
leave "$program"

build/Pickara/Pickara "$work/TANKER.teA" </dev/null >/dev/null 2>&1 &
program=$!
shot "Choose Element" pickara.png
xdotool type --delay 100 "$element"
xdotool key Return
finish "$program"

build/Curvella/Curvella "$work/TANKER.teA" </dev/null >/dev/null 2>&1 &
program=$!
shot "Element Behaviour" curvella.png
leave "$program"
