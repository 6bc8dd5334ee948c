#!/usr/bin/env bash
# Strakon, Pickara and Curvella headless on the box given by UNC-form paths under Wine, every
# file byte-identical to the Linux build's run:
#   \\?\Z:\...                          the extended-length prefix on a drive letter
#   \\localhost\tarnova-…\...           a UNC share
#   \\?\UNC\localhost\tarnova-…\...     the same share with the extended-length prefix
# Wine needs no share server: it finds \\SERVER\SHARE under $WINEPREFIX/dosdevices/unc/SERVER/SHARE,
# here a link to the work folder made for the test and removed after it.
#   uncPaths.sh LINUX_BUILD WINDOWS_BUILD EXAMPLES WORK [WINE]
set -euo pipefail
linux=$1 windows=$2 examples=$3 work=$4 wine=${5:-wine}
export WINEDEBUG=${WINEDEBUG:--all}
unset DISPLAY WAYLAND_DISPLAY
rm -rf "$work" && mkdir -p "$work"
work=$(cd "$work" && pwd)
prefix=${WINEPREFIX:-$HOME/.wine}
"$wine" winepath -w / >/dev/null 2>&1   # the prefix exists (made on first use)
share="tarnova-$$"
link="$prefix/dosdevices/unc/localhost/$share"
mkdir -p "$(dirname "$link")"
ln -sfn "$work" "$link"
trap 'rm -f "$link"; rmdir "$prefix/dosdevices/unc/localhost" "$prefix/dosdevices/unc" 2>/dev/null || true' EXIT

# The three programs on the box in DIR, the case named NAME (the directory's form of the path).
runAll() {
  local system=$1 dir=$2 name=$3
  cp "$examples/box/BOX.ana" "$examples/box/BOX.geo" "$examples/box/BOX.pro" "$dir/"
  if [ "$system" = linux ]; then
    (cd / && "$linux/Strakon/Strakon" --headless "$dir/BOX.ana" </dev/null &&
      printf '3\n' | "$linux/Pickara/Pickara" --headless "$dir/BOX.teA" &&
      "$linux/Curvella/Curvella" --headless "$dir/BOX.teA" </dev/null)
  else
    # From another current directory, so that the programs reach the case by the path alone.
    (cd / && "$wine" "$windows/Strakon/Strakon.exe" --headless "$name\\BOX.ana" </dev/null &&
      printf '3\n' | "$wine" "$windows/Pickara/Pickara.exe" --headless "$name\\BOX.teA" &&
      "$wine" "$windows/Curvella/Curvella.exe" --headless "$name\\BOX.teA" </dev/null)
  fi
}

status=0
mkdir -p "$work/linux/Cas box Å"
runAll linux "$work/linux/Cas box Å" "" >"$work/linux.log" 2>&1 || { echo "the Linux run failed"; cat "$work/linux.log"; exit 1; }
count=$(find "$work/linux/Cas box Å" -type f | wc -l)
zPath=$("$wine" winepath -w "$work" | tr -d '\r')
i=0
for form in "\\\\?\\$zPath\\" "\\\\localhost\\$share\\" "\\\\?\\UNC\\localhost\\$share\\"; do
  i=$((i + 1))
  dir="$work/form$i/Cas box Å"
  mkdir -p "$dir"
  name="${form}form$i\\Cas box Å"
  if ! runAll windows "$dir" "$name" >"$work/form$i.log" 2>&1; then
    echo "$name: a program failed"; cat "$work/form$i.log"; status=1; continue
  fi
  if diff -r "$work/linux/Cas box Å" "$dir" >/dev/null; then
    echo "$name: $count files byte-identical"
  else
    echo "$name: the files differ from the Linux files:"; diff -rq "$work/linux/Cas box Å" "$dir" || true; status=1
  fi
done
exit $status
