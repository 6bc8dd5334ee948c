#!/usr/bin/env bash
# Builds the Debian packages from the build tree and checks them as a user meets them: lintian with
# no error and no warning; all of them unpacked into a fresh root (no system install), every
# relative link of the installed documents followed, the Python module imported from that root, and
# the tanker example run from the installed copy: Strakon, Pickara, Curvella (and Flexura when it
# ships). Usage: packageTest.sh BUILD_DIR VERSION SOURCE_DIR PYTHON PROGRAM...
set -euo pipefail
build=$1 version=$2 source=$3 python=$4; shift 4
# Programs not built in this tree come as empty arguments.
programs=(); for program in "$@"; do [ -n "$program" ] && programs+=("$program"); done
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log") ||
  { cat "$tmp/cpack.log"; exit 1; }
deb=$(ls "$tmp"/out/tarnova_"$version"_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q 'libc6' <<<"$depends" || { echo "no dependencies computed from the binaries"; exit 1; }
debs=("$tmp"/out/*.deb)
echo "packages: ${debs[*]##*/}"

# Errors and warnings fail; the informational tags are listed for the reader.
sanitized=${TARNOVA_SANITIZED_BUILD:-OFF}
if [ "$sanitized" = ON ]; then
  echo "lintian not run: a sanitized build"
elif command -v lintian >/dev/null; then
  lintian --info --display-info --fail-on error,warning "${debs[@]}" >"$tmp/lintian.log" 2>&1 ||
    { cat "$tmp/lintian.log"; echo "lintian: errors or warnings"; exit 1; }
  sed 's/^/lintian: /' "$tmp/lintian.log"
  grep -q '^[EW]:' "$tmp/lintian.log" && { echo "lintian: errors or warnings"; exit 1; }
else
  echo "lintian not installed: packages not checked"
fi
# No maintainer script runs ldconfig (a private module needs no cache entry).
for package in "${debs[@]}"; do
  dpkg-deb -e "$package" "$tmp/control"
  ! grep -qs ldconfig "$tmp"/control/post* || { echo "${package##*/} calls ldconfig"; exit 1; }
  rm -rf "$tmp/control"
done

root="$tmp/root"
for package in "${debs[@]}"; do dpkg-deb -x "$package" "$root"; done
for program in "${programs[@]}"; do
  [ -x "$root/usr/bin/$program" ] || { echo "usr/bin/$program missing"; exit 1; }
  [ -f "$root/usr/share/man/man1/$program.1.gz" ] || { echo "manual page of $program missing"; exit 1; }
done
for package in "${debs[@]}"; do
  name=$(dpkg-deb -f "$package" Package)
  for file in copyright changelog.gz; do
    [ -f "$root/usr/share/doc/$name/$file" ] || { echo "$name: no $file"; exit 1; }
  done
done
[ -f "$root/usr/share/doc/tarnova/fonts-liberation2.copyright" ] || { echo "licence of the built-in fonts missing"; exit 1; }
for image in $(grep -o 'docs/[A-Za-z0-9_.-]*\.png' "$root/usr/share/doc/tarnova/README.md" | sort -u); do
  [ -f "$root/usr/share/doc/tarnova/$image" ] || { echo "README's $image missing"; exit 1; }
done
[ -f "$root/usr/share/doc/tarnova/docs/case-files.md" ] || { echo "case-file guide missing"; exit 1; }
"$python" "$source/tests/install/docLinks.py" "$root"

# The module from the unpacked python3-tarnova, by Debian's interpreter, nothing else on its path.
site="$root/usr/lib/python3/dist-packages"
if ls "$tmp"/out/python3-tarnova_*.deb >/dev/null 2>&1; then
  [ -f "$root/usr/share/doc/python3-tarnova/python.md" ] || { echo "python.md missing"; exit 1; }
  ls "$root"/usr/share/doc/python3-tarnova/examples/*.py >/dev/null
  imported=$(cd "$tmp" && env -u PYTHONPATH PYTHONPATH="$site" PYTHONDONTWRITEBYTECODE=1 "$python" -c \
    'import sys, tarnova; print(tarnova.__file__); print(tarnova.run(tarnova.read_case(sys.argv[1]))[0].ultimate_moment)' \
    "$root/usr/share/tarnova/examples/box/BOX.ana")
  echo "$imported"
  [[ $(head -1 <<<"$imported") == "$site/tarnova/"* ]] || { echo "module not imported from the package"; exit 1; }
fi

case="$tmp/tanker"
cp -r "$root/usr/share/tarnova/examples/tanker" "$case"
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER)
"${headless[@]}" "$root/usr/bin/Strakon" "$case/TANKER.ana" </dev/null >/dev/null 2>"$tmp/strakon.err" ||
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
  [ -f "$root/usr/share/doc/tarnova/docs/section-files.md" ] || { echo "section-file guide missing"; exit 1; }
fi
if [ -x "$root/usr/bin/Flexura" ]; then
  "${headless[@]}" "$root/usr/bin/Flexura" "$case/TANKER.ana" </dev/null 2>/dev/null
  [ -s "$case/TANKER_mk.csv" ] || { echo "Flexura wrote no curves"; exit 1; }
fi
if [ -x "$root/usr/bin/Collaudo" ]; then
  "${headless[@]}" "$root/usr/bin/Collaudo" "$case/TANKER.ana" </dev/null 2>/dev/null
  [ -s "$case/TANKER_check.csv" ] && [ -s "$case/TANKER_collision/TANKER.rst" ] ||
    { echo "Collaudo wrote no check or damaged case"; exit 1; }
  [ -f "$root/usr/share/doc/tarnova/docs/assessment.md" ] || { echo "assessment guide missing"; exit 1; }
fi
# A display that is named but unreachable: the installed window module is found beside the
# installed programs, fails to open, and says so in exactly one line before the headless run's
# own messages; the window libraries' complaints stay off the terminal.
if [ -f "$root/usr/lib/tarnova/tarnovaWindow.so" ]; then
  for display in $(seq 171 199); do [ -e "/tmp/.X11-unix/X$display" ] || break; done
  cp -r "$root/usr/share/tarnova/examples/box" "$tmp/box-headless"
  cp -r "$root/usr/share/tarnova/examples/box" "$tmp/box-display"
  "${headless[@]}" "$root/usr/bin/Strakon" "$tmp/box-headless/BOX.ana" </dev/null >/dev/null 2>"$tmp/headless.err"
  # Under AddressSanitizer, the window libraries SDL loads and unloads leak where no suppression
  # can name them (as in the window tests).
  env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR DISPLAY=":$display" \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    "$root/usr/bin/Strakon" "$tmp/box-display/BOX.ana" </dev/null >/dev/null 2>"$tmp/display.err" ||
    { cat "$tmp/display.err"; echo "Strakon failed with an unreachable display"; exit 1; }
  first=$(head -1 "$tmp/display.err")
  [[ $first =~ ^No\ window\ \(.+\):\ running\ without\ one\.$ ]] &&
    [ "$(tail -n +2 "$tmp/display.err")" = "$(cat "$tmp/headless.err")" ] ||
    { echo "with DISPLAY=:$display unreachable, standard error was:"; cat "$tmp/display.err"; exit 1; }
  echo "unreachable display: $first"
fi
# The installed programs hold no path of the build tree.
if [ "$sanitized" != ON ]; then
  for program in "${programs[@]}"; do
    ! grep -q -F "$build" "$root/usr/bin/$program" || { echo "$program holds the build path $build"; exit 1; }
  done
fi
echo "packages ${debs[*]##*/} checked; the example runs from $root"
