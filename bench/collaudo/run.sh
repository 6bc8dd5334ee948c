#!/usr/bin/env bash
# Times the tanker's whole assessment as a whole process, headless: 2 conditions, 2 damages (each
# written and run as a case), 24 heel angles, every file written.
#   bench/collaudo/run.sh [buildDir] [runs]
# Reports the median wall time (target: at most 1.5 s on a 2-core machine) and the median processor
# time (user + system, which a machine busy with other work does not inflate), and the peak
# resident set.
set -euo pipefail
cd "$(dirname "$0")/../.."
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
build=${1:-build}
runs=${2:-11}
collaudo=$(realpath "$build/Collaudo/Collaudo")
[ -x "$collaudo" ] || { echo "build Collaudo first: cmake --build $build --target Collaudo"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/tanker/TANKER.ana examples/tanker/TANKER.geo examples/tanker/TANKER.pro examples/tanker/TANKER.lim "$work/"
"$collaudo" "$work/TANKER.ana" </dev/null >/dev/null 2>&1   # warm the file cache
walls=() cpus=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  /usr/bin/time -f '%U %S' -o "$work/cpu.txt" "$collaudo" "$work/TANKER.ana" </dev/null >/dev/null 2>&1
  end=$(date +%s%N)
  walls+=($(( (end - start) / 1000 )))
  cpus+=($(awk '{ printf "%d", ($1 + $2) * 1000000 }' "$work/cpu.txt"))
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {m=a[int((NR+1)/2)]; printf "%d.%03d", m/1000, m%1000}'; }
echo "Collaudo, tanker (297 elements): 2 conditions, 2 damages, 24 angles, headless, $runs runs:"
echo "  wall time median $(median "${walls[@]}") ms (best $(printf '%s\n' "${walls[@]}" | sort -n | head -1 | awk '{printf "%d.%03d", $1/1000, $1%1000}') ms; target 1500 ms)"
echo "  processor time (user + system) median $(median "${cpus[@]}") ms (10 ms resolution)"
/usr/bin/time -v -o "$work/time.txt" "$collaudo" "$work/TANKER.ana" </dev/null >/dev/null 2>&1
peak=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' "$work/time.txt")
awk -v kb="$peak" 'BEGIN { printf "  peak resident set: %d kB (%.1f MB)\n", kb, kb / 1024 }'
