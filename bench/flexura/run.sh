#!/usr/bin/env bash
# Times a headless Flexura run on a case of 600 elements and 27 case studies, every image and
# table included (target: 500 ms), and the redrawing of the collapse map for a new step
# (target: 16 ms).
#   bench/flexura/run.sh [buildDir] [runs]
# Reports the median wall time and processor time of the runs.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-11}
flexura=$(realpath "$build/Flexura/Flexura")
strakon=$(realpath "$build/Strakon/Strakon")
sagoma=$(realpath "$build/Sagoma/Sagoma")
mapBench=$(realpath "$build/bench/flexura/flexuraMapBench")
for program in "$flexura" "$strakon" "$sagoma" "$mapBench"; do
  [ -x "$program" ] || { echo "build first: cmake --build $build (with -DTARNOVA_BENCHMARKS=ON)"; exit 1; }
done
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/large/LARGE.sec "$work/" && "$sagoma" --force "$work/LARGE.sec" >/dev/null 2>&1
# 27 case studies: every E/B/T and SHED/CONST with three corrosion codes, at heels 0 and 180.
{
  echo "27"
  for study in $(seq 0 26); do
    ebt=$(( study % 3 + 1 )); shed=$(( study / 3 % 2 + 1 )); corr=$(( study / 6 % 3 )); heel=$(( study % 2 * 180 ))
    printf '%2d%2d%2d%5.2f%5.1f%5s%4s\r\n' "$ebt" "$shed" "$corr" 4.5 "$heel" 15 0.
  done
} >"$work/LARGE.ana"
(cd "$work" && "${headless[@]}" "$strakon" "$work/LARGE.ana" </dev/null >/dev/null 2>&1)

run() { (cd "$work" && "${headless[@]}" "$flexura" "$work/LARGE.ana" </dev/null >/dev/null 2>&1); }
run   # warm the file cache
walls=() cpus=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  /usr/bin/time -f '%U %S' -o "$work/cpu.txt" "${headless[@]}" "$flexura" "$work/LARGE.ana" </dev/null >/dev/null 2>&1
  end=$(date +%s%N)
  walls+=($(( (end - start) / 1000 )))
  cpus+=($(awk '{ printf "%d", ($1 + $2) * 1000000 }' "$work/cpu.txt"))
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {m=a[int((NR+1)/2)]; printf "%d.%03d", m/1000, m%1000}'; }
echo "Flexura, 600 elements, 27 case studies, headless, every image and table, $runs runs:"
echo "  wall time median $(median "${walls[@]}") ms"
echo "  processor time (user + system) median $(median "${cpus[@]}") ms (10 ms resolution)"
echo "  files: $(cd "$work" && ls LARGE_* | wc -l) ($(cd "$work" && du -ch LARGE_* | tail -1 | cut -f1))"
"$mapBench" "$work/LARGE.ana" --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
