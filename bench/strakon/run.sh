#!/usr/bin/env bash
# Times a headless run of the calculator on one case study of 600 elements and 50 steps, files
# included, and measures the peak memory of such a run.
#   bench/strakon/run.sh [buildDir] [runs]
# Reports the median wall time and processor time of the runs (target: 20 ms) and the peak
# resident set (target: under 40 MB); then 27 case studies of the same section with one thread and
# with two (target: two threads take at most 0.6 of the one-thread time, peak under 40 MB).
# On a machine busy with other work, `nice -n -20 bash bench/strakon/run.sh` (as root) comes close to the
# figures of a quiet one.
set -euo pipefail
cd "$(dirname "$0")/../.."
# Headless, and each run started straight from this shell (no `env` in the timed command).
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
build=${1:-build}
runs=${2:-21}
strakon=$(realpath "$build/Strakon/Strakon")
sagoma=$(realpath "$build/Sagoma/Sagoma")
[ -x "$strakon" ] || { echo "build Strakon first: cmake --build $build --target Strakon"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/large/LARGE.sec "$work/" && "$sagoma" --force "$work/LARGE.sec" >/dev/null 2>&1
cd "$work"
run() { "$strakon" "$work/LARGE.ana" </dev/null >/dev/null 2>&1; }
run   # warm the file cache
# Wall time from the clock; processor time (user + system) from the process accounting, which a
# busy machine does not inflate.
walls=() cpus=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  /usr/bin/time -f '%U %S' -o "$work/cpu.txt" "$strakon" \
    "$work/LARGE.ana" </dev/null >/dev/null 2>&1
  end=$(date +%s%N)
  walls+=($(( (end - start) / 1000 )))
  cpus+=($(awk '{ printf "%d", ($1 + $2) * 1000000 }' "$work/cpu.txt"))
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {m=a[int((NR+1)/2)]; printf "%d.%03d", m/1000, m%1000}'; }
echo "Strakon, 600 elements, 50 steps, headless, $runs runs:"
echo "  wall time median $(median "${walls[@]}") ms (best $(printf '%s\n' "${walls[@]}" | sort -n | head -1 | awk '{printf "%d.%03d", $1/1000, $1%1000}') ms)"
echo "  processor time (user + system) median $(median "${cpus[@]}") ms (10 ms resolution)"

/usr/bin/time -v -o "$work/time.txt" "$strakon" "$work/LARGE.ana" \
  </dev/null >/dev/null 2>&1
peak=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' "$work/time.txt")
awk -v kb="$peak" 'BEGIN { printf "Strakon peak resident set: %d kB (%.1f MB)\n", kb, kb / 1024 }'

# 27 case studies of the 600-element section: sagging and hogging, SHED and CONST, corrosion,
# heel, yielding only.
cp LARGE.geo L27.geo
cp LARGE.pro L27.pro
{
  printf '27\r\n'
  records=(' 3 1 0 4.50  0.0   15  0.' ' 3 1 0 4.50180.0   15  0.' ' 3 2 0 4.50  0.0   15  0.'
           ' 3 2 0 4.50180.0   15  0.' ' 3 1 2 4.50  0.0   15  0.' ' 3 1 2 4.50180.0   15  0.'
           ' 3 1 0 4.50 30.0   15  0.' ' 1 1 0 4.50  0.0   15  0.' ' 2 1 1 3.00 90.0   15  0.')
  for i in $(seq 0 26); do printf '%s\r\n' "${records[$((i % 9))]}"; done
} > L27.ana
runs27=${3:-7}
time27() {
  local threads=$1 all=()
  for _ in $(seq "$runs27"); do
    start=$(date +%s%N)
    TARNOVA_THREADS="$threads" "$strakon" "$work/L27.ana" </dev/null >/dev/null 2>&1
    end=$(date +%s%N)
    all+=($(( (end - start) / 1000 )))
  done
  median "${all[@]}"
}
one=$(time27 1)
two=$(time27 2)
echo "Strakon, 27 case studies of 600 elements, headless, $runs27 runs each:"
echo "  one thread median $one ms, two threads median $two ms, ratio $(awk -v a="$two" -v b="$one" 'BEGIN { printf "%.2f", a / b }')"
TARNOVA_THREADS=2 /usr/bin/time -v -o "$work/time27.txt" "$strakon" "$work/L27.ana" </dev/null >/dev/null 2>&1
peak=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' "$work/time27.txt")
awk -v kb="$peak" 'BEGIN { printf "  peak resident set with two threads: %d kB (%.1f MB)\n", kb, kb / 1024 }'
