#!/usr/bin/env bash
# Whole headless Strakon processes of one build or two, runs alternating so that both see the same
# machine: the program start alone (--version), the box example and one case study of 600 elements
# (examples/large/LARGE.sec). Medians (and quartiles) of wall time and of processor time (user +
# system of every thread), from bench/strakon/processTimes.py: each run started by posix_spawn and
# reaped by wait4, nothing else in the timed path; results rewritten in place, as a rerun does.
#   bench/strakon/compare.sh [newBuild] [oldBuild] [runs]
# Targets (wall, quiet machine): 600 elements at most 12 ms, the box at most 5 ms.
set -euo pipefail
cd "$(dirname "$0")/../.."
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
new=$(realpath "${1:-build}")
old=${2:-}
runs=${3:-21}
builds=("$new")
[ -n "$old" ] && builds+=("$(realpath "$old")")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/large"
cp examples/large/LARGE.sec "$work/large/"
"$new/Sagoma/Sagoma" "$work/large/LARGE.sec" </dev/null >/dev/null 2>&1

for what in version examples/box/BOX.ana "$work/large/LARGE.ana"; do
  echo "== $(basename "$what")"
  /usr/bin/python3 bench/strakon/processTimes.py "$runs" "$what" "${builds[@]}"
done
