#!/usr/bin/env bash
# Strakon.exe in a window under Wine on a virtual X server: it opens its frame, finishes the box,
# the message box is answered and Window > Exit ends it with status 0; the case results equal
# those of the Linux build's headless run.
#   windowTest.sh LINUX_BUILD WINDOWS_BUILD EXAMPLES WORK [WINE]
set -euo pipefail
linux=$1 windows=$2 examples=$3 work=$4 wine=${5:-wine}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="winemenubuilder.exe=d"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
rm -rf "$work" && mkdir -p "$work/linux" "$work/windows"
for d in linux windows; do cp "$examples"/box/BOX.ana "$examples"/box/BOX.geo "$examples"/box/BOX.pro "$work/$d/"; done
(cd "$work/linux" && env -u DISPLAY "$linux/Strakon/Strakon" --headless "$work/linux/BOX.ana" </dev/null >/dev/null 2>&1)

server="" program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  return 0
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"

caseName=$("$wine" winepath -w "$work/windows/BOX.ana" | tr -d '\r')
(cd "$work/windows" && exec "$wine" "$windows/Strakon/Strakon.exe" "$caseName" >"$work/strakon.log" 2>&1) &
program=$!
# The frame, then the end of the calculation (every case study's results and the report written).
frame=""
for _ in $(seq 600); do
  frame=$(xdotool search --name '.' 2>/dev/null | while read -r w; do
            [ "$(xdotool getwindowname "$w" 2>/dev/null)" != "Default IME" ] && echo "$w"; done | tail -n1 || true)
  if [ -n "$frame" ]; then
    missing=0
    for f in "$work"/linux/jc* "$work/linux/BOX.rst"; do [ -s "$work/windows/$(basename "$f")" ] || missing=1; done
    [ $missing = 0 ] && break
  fi
  sleep 0.1
done
[ -n "$frame" ] || { echo "no frame appeared"; cat "$work/strakon.log"; exit 1; }
sleep 3
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
xdotool key --delay 200 Return
sleep 1
xdotool key --delay 200 alt+w x
status=""
for _ in $(seq 300); do
  if ! kill -0 "$program" 2>/dev/null; then wait "$program" && status=0 || status=$?; break; fi
  sleep 0.1
done
program=""
[ "$status" = 0 ] || { echo "Strakon.exe did not end with status 0 (${status:-still running})"; cat "$work/strakon.log"; exit 1; }
for f in "$work"/linux/*; do
  cmp -s "$f" "$work/windows/$(basename "$f")" || { echo "differs from the Linux run: $(basename "$f")"; exit 1; }
done
echo "Strakon.exe in a window: ended with status 0, $(ls "$work/linux" | wc -l) files as the Linux run's"
