#!/usr/bin/env bash
# Times a headless run of the calculator on one case study of 600 elements and 50 steps, files
# included, and measures the peak memory of such a run.
#   bench/strakon/run.sh [buildDir] [runs]
# Reports the median wall time of the runs (target: 50 ms) and the peak resident set (target:
# under 40 MB).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-21}
strakon=$(realpath "$build/Strakon/Strakon")
makeExamples=$(realpath "$build/examples/makeExamples")
[ -x "$strakon" ] || { echo "build Strakon first: cmake --build $build --target Strakon"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$makeExamples" --large "$work"
cd "$work"
run() { env -u DISPLAY -u WAYLAND_DISPLAY "$strakon" "$work/LARGE.ana" </dev/null >/dev/null 2>&1; }

run   # warm the file cache
times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  run
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
best=$(printf '%s\n' "${times[@]}" | sort -n | head -1)
printf 'Strakon, 600 elements, 50 steps, headless: median %d.%03d ms, best %d.%03d ms over %d runs\n' \
  $((median / 1000)) $((median % 1000)) $((best / 1000)) $((best % 1000)) "$runs"

/usr/bin/time -v -o "$work/time.txt" env -u DISPLAY -u WAYLAND_DISPLAY "$strakon" "$work/LARGE.ana" \
  </dev/null >/dev/null 2>&1
peak=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' "$work/time.txt")
awk -v kb="$peak" 'BEGIN { printf "Strakon peak resident set: %d kB (%.1f MB)\n", kb, kb / 1024 }'
