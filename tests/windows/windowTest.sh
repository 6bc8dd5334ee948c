#!/usr/bin/env bash
# The programs in a window under Wine on virtual X servers.
# 1. No window manager: Strakon.exe opens its frame, finishes the box, the "calculations
#    finished" box is answered and Window > Exit ends it with status 0; the case results equal
#    those of the Linux build's headless run.
# 2. Under a window manager (openbox), the Linux build's Strakon and Strakon.exe, each maximised
#    by the manager: the pictures of the two frames at the "calculations finished" box are equal
#    pixel for pixel but for the clock times (samePicture.py). Wine needs the manager to
#    maximise the frame: without one it falls back to a smaller default size.
# 3. Under openbox, Flexura hands an element to Curvella (Linux build, then Windows build): the
#    files of both hand-overs are equal, and every program ends with status 0.
# The Linux and the Windows runs under openbox each on an X server of their own: a client of a
# server where the other system's program had its windows may name one of them later and end on
# an X error (seen with SDL and with Wine).
#   windowTest.sh LINUX_BUILD WINDOWS_BUILD EXAMPLES WORK [WINE]
set -euo pipefail
linux=$1 windows=$2 examples=$3 work=$4 wine=${5:-wine}
here=$(cd "$(dirname "$0")" && pwd)
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="winemenubuilder.exe=d"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
rm -rf "$work" && mkdir -p "$work/linux"
cp "$examples"/box/BOX.ana "$examples"/box/BOX.geo "$examples"/box/BOX.pro "$work/linux/"
(cd "$work/linux" && env -u DISPLAY "$linux/Strakon/Strakon" --headless "$work/linux/BOX.ana" </dev/null >/dev/null 2>&1)

server="" program="" manager=""
# Ends the X session: the program if still there, the manager, the server, Wine's session.
endSession() {
  set +e
  [ -n "$program" ] && kill "$program" 2>/dev/null && wait "$program" 2>/dev/null
  [ -n "$manager" ] && kill "$manager" 2>/dev/null && wait "$manager" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  # Wine's processes of that display (its desktop) end with it; the next run starts afresh.
  timeout 20 wineserver -w >/dev/null 2>&1
  program="" manager="" server=""
  set -e
  return 0
}
trap endSession EXIT

# A new virtual X server (DISPLAY), with openbox when asked ("openbox").
newSession() {
  endSession
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -1 "$work/display")"
  if [ "${1:-}" = openbox ]; then
    openbox --sm-disable >/dev/null 2>&1 &
    manager=$!
    for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
  fi
}

# Starts PROGRAM (Strakon by default) of one system in a window on the box in DIR.
start() {
  local system=$1 dir=$2 name=${3:-Strakon}
  if [ "$system" = linux ]; then
    (cd "$dir" && exec "$linux/$name/$name" "$dir/BOX.ana" >"$dir.log" 2>&1) &
  else
    local caseName
    caseName=$("$wine" winepath -w "$dir/BOX.ana" | tr -d '\r')
    (cd "$dir" && exec "$wine" "$windows/$name/$name.exe" "$caseName" >"$dir.log" 2>&1) &
  fi
  program=$!
}

# The frame titled TITLE ("Run" by default), once mapped; empty after 60 s.
frameOf() {
  local frame="" title=${1:-Run} until=$((SECONDS + 60))
  while [ $SECONDS -lt $until ]; do
    frame=$(timeout 5 xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | tail -n1 || true)
    [ -n "$frame" ] && break
    sleep 0.1
  done
  echo "$frame"
}

# Waits until the calculation in DIR has written every case study's results (the report is
# complete only once the "calculations finished" box is answered).
calculated() {
  local dir=$1 missing=1
  for _ in $(seq 300); do
    missing=0
    for f in "$work"/linux/jc*; do [ -s "$dir/$(basename "$f")" ] || missing=1; done
    [ $missing = 0 ] && return 0
    sleep 0.1
  done
  echo "the calculation in $dir did not finish within 30 s"; cat "$dir.log"; exit 1
}

# Keys to FRAME, made the active window first.
keys() {
  local frame=$1
  shift
  timeout 10 xdotool windowactivate --sync "$frame" >/dev/null 2>&1 ||
    timeout 10 xdotool windowfocus --sync "$frame" >/dev/null 2>&1 || true
  timeout 20 xdotool key --delay 200 "$@"
}

# Return for the "calculations finished" box (unless told "exit"), then Window > Exit; the
# program must end with status 0 within 30 s.
finish() {
  local frame=$1 what=$2 status=""
  if [ "${3:-}" != exit ]; then
    keys "$frame" Return
    sleep 1
  fi
  keys "$frame" alt+w x
  for _ in $(seq 300); do
    if ! kill -0 "$program" 2>/dev/null; then wait "$program" && status=0 || status=$?; break; fi
    sleep 0.1
  done
  [ -n "$status" ] && program=""
  [ "$status" = 0 ] || { echo "$what did not end with status 0 (${status:-still running})"; cat "$dir.log"; exit 1; }
}

# 1. Without a window manager: the run's status and files.
dir="$work/windows"
mkdir -p "$dir" && cp "$examples"/box/BOX.ana "$examples"/box/BOX.geo "$examples"/box/BOX.pro "$dir/"
newSession
start windows "$dir"
frame=$(frameOf)
[ -n "$frame" ] || { echo "no frame appeared"; cat "$dir.log"; exit 1; }
calculated "$dir"
sleep 1
finish "$frame" Strakon.exe
for f in "$work"/linux/*; do
  cmp -s "$f" "$dir/$(basename "$f")" || { echo "differs from the Linux run: $(basename "$f")"; exit 1; }
done
echo "Strakon.exe in a window: ended with status 0, $(ls "$work/linux" | wc -l) files as the Linux run's"

if ! command -v openbox >/dev/null || [ ! -x "$linux/tests/window/windowShot" ]; then
  echo "openbox or the Linux build's windowShot missing: the frames and the hand-over are not compared"
  exit 0
fi

# 2. and 3. Under openbox, one X server per system: the picture of Strakon's frame, then
# Flexura on the case Strakon left: Tab (the map), Down twice (element 2) and Return hand
# element 2 to Curvella, which Flexura starts beside itself (posix_spawn on Linux, CreateProcessW
# on Windows); Curvella writes its listing and picture, is closed, and Window > Exit ends Flexura.
for system in linux windows; do
  newSession openbox
  dir="$work/$system-shot"
  mkdir -p "$dir" && cp "$examples"/box/BOX.ana "$examples"/box/BOX.geo "$examples"/box/BOX.pro "$dir/"
  start $system "$dir"
  frame=$(frameOf)
  [ -n "$frame" ] || { echo "$system: no frame appeared under openbox"; cat "$dir.log"; exit 1; }
  calculated "$dir"
  # windowShot waits until the picture has stayed the same for a second: the box is shown.
  timeout 90 "$linux/tests/window/windowShot" "$DISPLAY" Run "$work/$system.ppm" ||
    { echo "$system: no picture of the frame"; exit 1; }
  finish "$frame" "Strakon ($system) under openbox"

  dir="$work/$system-handover"
  mkdir -p "$dir" && cp "$work"/linux/* "$dir/"
  start $system "$dir" Flexura
  frame=$(frameOf "Section Collapse")
  [ -n "$frame" ] || { echo "$system: Flexura showed no frame"; cat "$dir.log"; exit 1; }
  sleep 1
  keys "$frame" Tab Down Down Return
  curvella=$(frameOf "Element Behaviour")
  [ -n "$curvella" ] || { echo "$system: Flexura started no Curvella"; cat "$dir.log"; exit 1; }
  for _ in $(seq 300); do [ -s "$dir/Element.002" ] && [ -s "$dir/Elem002.bmp" ] && break; sleep 0.1; done
  sleep 1
  keys "$curvella" alt+w x
  gone=0
  for _ in $(seq 200); do
    [ -z "$(timeout 5 xdotool search --onlyvisible --name '^Element Behaviour$' 2>/dev/null || true)" ] && gone=1 && break
    sleep 0.1
  done
  [ $gone = 1 ] || { echo "$system: Curvella's frame stayed after Window > Exit"; cat "$dir.log"; exit 1; }
  finish "$frame" "Flexura ($system)" exit
done
python3 "$here/samePicture.py" "$work/linux.ppm" "$work/windows.ppm"
endSession
if diff -r "$work/linux-handover" "$work/windows-handover" >/dev/null; then
  echo "Flexura to Curvella: $(ls "$work/windows-handover" | wc -l) files as the Linux hand-over's" \
       "($(cd "$work/windows-handover" && ls Element.* Elem*.bmp nElem.txt | tr '\n' ' '))"
else
  echo "Flexura to Curvella: the Windows files differ from the Linux files:"
  diff -rq "$work/linux-handover" "$work/windows-handover" || true
  exit 1
fi
