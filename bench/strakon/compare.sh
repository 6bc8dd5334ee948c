#!/usr/bin/env bash
# Whole headless Strakon processes of two builds in one sitting, runs alternating so that both see
# the same machine: the box example, one case study of 600 elements (examples/large/LARGE.sec) and
# the program start alone (--version). Reports medians of processor time (perf's task-clock:
# user + system of every thread, to 0.01 ms) and of wall time.
#   bench/strakon/compare.sh [newBuild] [oldBuild] [runs]
# With no old build, only the new one is timed. Targets: 600 elements at most 12 ms, the box at
# most 5 ms (wall time on a quiet machine).
set -euo pipefail
cd "$(dirname "$0")/../.."
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
new=$(realpath "${1:-build}")
old=${2:-}
runs=${3:-21}
command -v perf >/dev/null || { echo "perf (linux-perf) is needed"; exit 1; }
builds=("$new")
[ -n "$old" ] && builds+=("$(realpath "$old")")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for b in "${!builds[@]}"; do
  mkdir -p "$work/$b/box" "$work/$b/large"
  cp examples/box/BOX.* "$work/$b/box/"
  # The 600-element girder: from its description, or by the generator of builds older than Sagoma.
  if [ -x "${builds[$b]}/Sagoma/Sagoma" ]; then
    cp examples/large/LARGE.sec "$work/$b/large/"
    "${builds[$b]}/Sagoma/Sagoma" "$work/$b/large/LARGE.sec" </dev/null >/dev/null
  else
    "${builds[$b]}/examples/makeExamples" --large "$work/$b/large" >/dev/null
  fi
done

# One timed run: "processor-ms wall-ms".
timed() {
  local dir=$1; shift
  local start end cpu
  start=$(date +%s%N)
  cpu=$(cd "$dir" && perf stat -x, -e task-clock "$@" </dev/null 2>&1 >/dev/null | awk -F, '/task-clock/ {print $1}')
  end=$(date +%s%N)
  echo "$cpu $(( (end - start) / 1000 ))"
}
median() { sort -n | awk '{a[NR]=$1} END {printf "%.2f", (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

for what in version box large; do
  declare -A cpu=() wall=()
  for _ in $(seq "$runs"); do
    for b in "${!builds[@]}"; do
      strakon="${builds[$b]}/Strakon/Strakon"
      case $what in
        version) r=$(timed "$work/$b" "$strakon" --version) ;;
        box) r=$(timed "$work/$b/box" "$strakon" "$work/$b/box/BOX.ana") ;;
        large) r=$(timed "$work/$b/large" "$strakon" "$work/$b/large/LARGE.ana") ;;
      esac
      cpu[$b]+="${r% *} "
      wall[$b]+="$(awk -v u="${r#* }" 'BEGIN {printf "%.3f", u / 1000}') "
    done
  done
  for b in "${!builds[@]}"; do
    label=$([ "$b" = 0 ] && echo new || echo old)
    printf '%-8s %-4s processor median %7s ms   wall median %7s ms   (%s runs)\n' "$what" "$label" \
      "$(tr ' ' '\n' <<<"${cpu[$b]}" | grep . | median)" "$(tr ' ' '\n' <<<"${wall[$b]}" | grep . | median)" "$runs"
  done
  unset cpu wall
done
