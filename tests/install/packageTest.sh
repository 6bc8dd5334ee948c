#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a fresh prefix (no system
# install) and runs the tanker example from the installed copy: Strakon, Pickara, Curvella
# (and Flexura when it ships). Usage: packageTest.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log") ||
  { cat "$tmp/cpack.log"; exit 1; }
deb=$(ls "$tmp"/out/tarnova_"$version"_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q 'libc6' <<<"$depends" || { echo "no dependencies computed from the binaries"; exit 1; }

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
for window in "$tmp"/out/tarnova-window_*.deb; do
  [ -e "$window" ] && dpkg-deb -x "$window" "$root"
done
for program in Strakon Pickara Curvella; do
  [ -x "$root/usr/bin/$program" ] || { echo "usr/bin/$program missing"; exit 1; }
  [ -f "$root/usr/share/man/man1/$program.1.gz" ] || { echo "manual page of $program missing"; exit 1; }
done
doc="$root/usr/share/doc/tarnova"
[ -f "$doc/case-files.md" ] || { echo "case-file guide missing"; exit 1; }
for image in $(grep -o 'docs/[A-Za-z0-9_.-]*\.png' "$doc/README.md" | sort -u); do
  [ -f "$doc/$image" ] || { echo "README's $image missing"; exit 1; }
done

case="$tmp/tanker"
cp -r "$root/usr/share/tarnova/examples/tanker" "$case"
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER)
"${headless[@]}" "$root/usr/bin/Strakon" "$case/TANKER.ana" </dev/null 2>"$tmp/strakon.err" ||
  { cat "$tmp/strakon.err"; exit 1; }
[ "$(grep -c 'Ultimate Bending Moment' "$case/TANKER.rst")" -eq 8 ] || { echo "TANKER.rst incomplete"; exit 1; }
printf '12\n' | "${headless[@]}" "$root/usr/bin/Pickara" "$case/TANKER.teA" 2>/dev/null
"${headless[@]}" "$root/usr/bin/Curvella" "$case/TANKER.teA" </dev/null 2>/dev/null
[ -s "$case/Element.012" ] && [ -s "$case/Elem012.bmp" ] || { echo "Curvella wrote no listing or image"; exit 1; }
if [ -x "$root/usr/bin/Sagoma" ]; then
  # The installed description rebuilds the installed case files byte for byte.
  mkdir "$tmp/built" && cp "$case/TANKER.sec" "$tmp/built/"
  "$root/usr/bin/Sagoma" "$tmp/built/TANKER.sec" >/dev/null || { echo "Sagoma failed"; exit 1; }
  for extension in ana geo pro; do
    cmp -s "$tmp/built/TANKER.$extension" "$root/usr/share/tarnova/examples/tanker/TANKER.$extension" ||
      { echo "Sagoma's TANKER.$extension differs from the installed one"; exit 1; }
  done
  [ -s "$tmp/built/TANKER_section.png" ] || { echo "Sagoma drew no picture"; exit 1; }
  [ -f "$doc/section-files.md" ] || { echo "section-file guide missing"; exit 1; }
fi
if [ -x "$root/usr/bin/Flexura" ]; then
  "${headless[@]}" "$root/usr/bin/Flexura" "$case/TANKER.ana" </dev/null 2>/dev/null
  [ -s "$case/TANKER_mk.csv" ] || { echo "Flexura wrote no curves"; exit 1; }
fi
echo "package $(basename "$deb") runs the example from $root"
