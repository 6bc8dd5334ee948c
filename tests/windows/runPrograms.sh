#!/usr/bin/env bash
# Every program headless on the box and the tanker, once with the Linux build and once with the
# Windows build under Wine, each in a case directory whose path has a space and a non-ASCII
# letter; every file the two runs leave must be byte-identical.
#   runPrograms.sh LINUX_BUILD WINDOWS_BUILD EXAMPLES WORK [WINE]
set -euo pipefail
linux=$1 windows=$2 examples=$3 work=$4 wine=${5:-wine}
export WINEDEBUG=${WINEDEBUG:--all}
unset DISPLAY WAYLAND_DISPLAY
status=0
rm -rf "$work" && mkdir -p "$work"

# One program run: system, program, case file, then the keys on standard input.
run() {
  local system=$1 program=$2 file=$3 keys=$4 dir
  dir=$(dirname "$file")
  if [ "$system" = linux ]; then
    (cd "$dir" && printf '%b' "$keys" | "$linux/$program/$program" --headless "$file")
  else
    # The case file by its Windows name, drive letter and backslashes.
    local windowsName
    windowsName=$("$wine" winepath -w "$file" 2>/dev/null | tr -d '\r')
    (cd "$dir" && printf '%b' "$keys" | "$wine" "$windows/$program/$program.exe" --headless "$windowsName")
  fi
}

for example in box tanker; do
  name=$(echo "$example" | tr a-z A-Z)
  for system in linux windows; do
    dir="$work/$system/Cas ${example} Å"
    mkdir -p "$dir"
    cp "$examples/$example/$name.ana" "$examples/$example/$name.geo" "$examples/$example/$name.pro" "$dir/"
    {
      run $system Strakon "$dir/$name.ana" ""
      run $system Flexura "$dir/$name.ana" ""
      run $system Pickara "$dir/$name.teA" "3\n"
      run $system Curvella "$dir/$name.teA" ""
    } > "$work/$system-$example.log" 2>&1 || { echo "$system $example: a program failed"; cat "$work/$system-$example.log"; status=1; }
  done
  a="$work/linux/Cas ${example} Å" b="$work/windows/Cas ${example} Å"
  count=$(find "$a" -type f | wc -l)
  if ! diff -r "$a" "$b" >/dev/null; then
    echo "$example: the Windows files differ from the Linux files:"
    diff -rq "$a" "$b" || true
    status=1
  else
    echo "$example: $count files byte-identical"
  fi
done
exit $status
