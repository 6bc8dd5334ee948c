#!/usr/bin/env bash
# The suite for 64-bit Windows, cross-built on Debian with MinGW-w64 and tested under Wine.
#   scripts/windows.sh [deps|build|test|package|all]    (default: all)
# deps     zlib, libpng, FreeType and SDL2 from their Debian source packages, built once into
#          build-windows/deps (kept while build-windows/deps/.done exists); GoogleTest for the
#          tests from the Debian googletest sources
# build    the programs, CsvToGeo, the window module and the tests into build-windows/build
# test     the tests under Wine (CTest with Wine as the cross-compiling emulator)
# package  build-windows/tarnova-VERSION-setup.exe (NSIS) and build-windows/tarnova-VERSION-windows.zip
# Source packages come through a private apt configuration under build-windows/apt (a deb-src
# entry of its own); the system's apt sources are never changed.
set -euo pipefail
shopt -s inherit_errexit
root=$(cd "$(dirname "$0")/.." && pwd)
out=${TARNOVA_WINDOWS_DIR:-$root/build-windows}
deps=$out/deps
jobs=${JOBS:-2}
triple=x86_64-w64-mingw32
step=${1:-all}

say() { printf '== %s (%s)\n' "$*" "$(date -u +%H:%M:%S)"; }

# Debian packages of the host: the cross compilers, Wine, NSIS, zip, dpkg-source.
host_packages() {
  local want=(mingw-w64 wine wine64 nsis zip dpkg-dev cmake ninja-build pkg-config groff-base fonts-liberation2 libxsimd-dev libtomlplusplus-dev xvfb xdotool) missing=()
  for p in "${want[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with: sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# apt-get with a configuration of its own under build-windows/apt: only deb-src entries, lists
# and archives kept there.
private_apt() {
  local a=$out/apt
  mkdir -p "$a/lists/partial" "$a/cache/archives/partial" "$a/etc/preferences.d" "$a/etc/apt.conf.d"
  if [ ! -f "$a/etc/sources.list" ]; then
    local suite
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    cat > "$a/etc/sources.list" <<SRC
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian $suite main
SRC
  fi
  apt-get -o Dir::Etc::SourceList="$a/etc/sources.list" -o Dir::Etc::SourceParts=/dev/null \
    -o Dir::Etc::Preferences="$a/etc/preferences" -o Dir::Etc::PreferencesParts="$a/etc/preferences.d" \
    -o Dir::State::Lists="$a/lists" -o Dir::Cache="$a/cache" -o Dir::State::status=/var/lib/dpkg/status \
    -o APT::Sandbox::User=root -o Debug::NoLocking=1 "$@"
}

# Unpacks the Debian source package into build-windows/src (once) and prints its directory.
debian_source() {
  local package=$1 src=$out/src
  mkdir -p "$src"
  local dir
  dir=$(find "$src" -maxdepth 1 -type d -name "$package-*" | head -n1)
  if [ -z "$dir" ]; then
    (cd "$src" && private_apt source -q "$package" >&2)
    dir=$(find "$src" -maxdepth 1 -type d -name "$package-*" | head -n1)
  fi
  [ -n "$dir" ] || { echo "no Debian source of $package" >&2; exit 1; }
  echo "$dir"
}

cmake_dep() {   # source directory, build name, cmake options...
  local source=$1 name=$2
  shift 2
  cmake -S "$source" -B "$out/depbuild/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DTARNOVA_WINDOWS_DEPS="$deps" \
    -DCMAKE_INSTALL_PREFIX="$deps" -DCMAKE_PREFIX_PATH="$deps" -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_POSITION_INDEPENDENT_CODE=ON "$@" >/dev/null
  cmake --build "$out/depbuild/$name" -j"$jobs" >/dev/null
  cmake --install "$out/depbuild/$name" >/dev/null
}

build_deps() {
  if [ -f "$deps/.done" ]; then say "dependencies already in $deps"; return 0; fi
  say "dependencies from Debian sources"
  private_apt update -q >/dev/null
  mkdir -p "$deps"
  local d
  d=$(debian_source zlib)
  say "zlib ($d)"
  # The library alone (Debian's source lacks zlib's own Windows makefile).
  mkdir -p "$out/depbuild/zlib"
  (cd "$out/depbuild/zlib" && for c in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback \
        inffast inflate inftrees trees uncompr zutil; do
     $triple-gcc -O2 -c "$d/$c.c" -o "$c.o"; done && rm -f libz.a && $triple-ar rcs libz.a ./*.o)
  install -D -m644 "$out/depbuild/zlib/libz.a" "$deps/lib/libz.a"
  install -D -m644 -t "$deps/include" "$d/zlib.h" "$d/zconf.h"
  mkdir -p "$deps/lib/pkgconfig"
  printf 'prefix=%s\nName: zlib\nDescription: zlib compression library\nVersion: %s\nLibs: -L${prefix}/lib -lz\nCflags: -I${prefix}/include\n' \
    "$deps" "$(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$d/zlib.h")" > "$deps/lib/pkgconfig/zlib.pc"
  d=$(debian_source libpng1.6)
  say "libpng ($d)"
  cmake_dep "$d" libpng -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY="$deps/lib/libz.a" -DZLIB_INCLUDE_DIR="$deps/include"
  d=$(debian_source freetype)
  say "FreeType ($d)"
  cmake_dep "$d" freetype -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_BROTLI=ON \
    -DFT_REQUIRE_ZLIB=ON -DFT_REQUIRE_PNG=ON \
    -DZLIB_LIBRARY="$deps/lib/libz.a" -DZLIB_INCLUDE_DIR="$deps/include" \
    -DPNG_LIBRARY="$deps/lib/libpng16.a" -DPNG_PNG_INCLUDE_DIR="$deps/include"
  d=$(debian_source libsdl2)
  say "SDL2 ($d)"
  cmake_dep "$d" sdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON
  if [ ! -f "$deps/lib/libgtest.a" ]; then
    say "GoogleTest (/usr/src/googletest)"
    cmake_dep /usr/src/googletest gtest -Dgtest_disable_pthreads=OFF
  fi
  touch "$deps/.done"
  say "dependencies done"
}

build_suite() {
  say "the suite for Windows"
  # Header-only libraries need no cross build: the host's Debian headers beside the dependencies.
  mkdir -p "$deps/include"
  cp -r /usr/include/xsimd /usr/include/toml++ "$deps/include/"
  # The Linux build (build/) gives the files the Windows runs must equal.
  local linux=${TARNOVA_LINUX_BUILD:-$root/build}
  if [ ! -x "$linux/Strakon/Strakon" ]; then
    say "the Linux programs the Windows runs are compared with ($linux)"
    cmake -S "$root" -B "$linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$linux" -j"$jobs" --target Strakon Pickara Curvella Flexura >/dev/null
  fi
  cmake -S "$root" -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DTARNOVA_WINDOWS_DEPS="$deps" \
    -DCMAKE_PREFIX_PATH="$deps" -DTARNOVA_TESTS=ON -DTARNOVA_BENCHMARKS=OFF -DTARNOVA_PYTHON=OFF \
    -DTARNOVA_LINUX_BUILD="$linux" \
    $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache) \
    >/dev/null
  WINEPREFIX=$out/wine WINEDEBUG=-all cmake --build "$out/build" -j"$jobs"
}

wine_prefix() {
  export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "Wine prefix $WINEPREFIX"
    env -u DISPLAY wineboot -i >/dev/null 2>&1 || true
  fi
}

test_suite() {
  wine_prefix
  say "tests under Wine"
  # Left out: the record-error exits, whose death tests rely on a forked child sharing the
  # parent's scratch directory and on a file size limit, neither of which Windows has; and a
  # directory opened as a unit, which Windows refuses at the opening already (with a different
  # message) where Linux opens it and refuses the first record.
  env -u DISPLAY ctest --test-dir "$out/build" -j"$jobs" --output-on-failure \
    -E '^(RecordErrorExit\.|RecordErrors\.DirectoryInPlaceOfAFileIsNamedAsOne$)'
  bash "$root/tests/windows/installTest.sh" "$(ls "$out"/tarnova-*-setup.exe | head -n1)" "$out/installTest" wine
}

# The files of the installer and the zip, staged in build-windows/stage/TARNOVA: the programs
# (their fonts built in), the examples, the documents and the manual pages as text (rendered
# from the Linux build's pages).
stage_files() {
  local version linux=${TARNOVA_LINUX_BUILD:-$root/build} s=$out/stage/TARNOVA
  version=$(sed -n 's/^project(Tarnova VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
  rm -rf "$out/stage" && mkdir -p "$s/docs/man" "$s/examples"
  for p in Strakon Pickara Curvella Flexura Sagoma Collaudo; do install -m755 "$out/build/$p/$p.exe" "$s/"; done
  install -m755 "$out/build/tools/CsvToGeo.exe" "$s/"
  install -m755 "$out/build/Strakon/tarnovaWindow.dll" "$s/"
  $triple-strip "$s"/*.exe "$s"/*.dll
  cp /usr/share/doc/fonts-liberation2/copyright "$s/docs/fonts-liberation2.copyright"
  for e in box tanker; do
    mkdir -p "$s/examples/$e"
    cp "$root/examples/$e"/*.ana "$root/examples/$e"/*.geo "$root/examples/$e"/*.pro "$root/examples/$e"/*.sec "$s/examples/$e/"
    cp "$root/examples/$e"/*.lim "$s/examples/$e/" 2>/dev/null || true
  done
  cp "$root/README.md" "$root/docs/case-files.md" "$s/docs/"
  mkdir -p "$s/docs/docs" && cp "$root"/docs/*.png "$s/docs/docs/"
  for page in "$linux"/docs/man/*.1.gz; do
    [ -e "$page" ] || continue
    zcat "$page" | groff -man -Tascii -P-cbou > "$s/docs/man/$(basename "$page" .1.gz).txt"
  done
  # Lists for the installer: every file installed, and the same files removed by the uninstaller
  # (folders only when left empty, so the user's own files stay).
  mkdir -p "$out/nsis"
  (cd "$s" && find . -type f | sed 's|^\./||' | sort) > "$out/nsis/files.txt"
  : > "$out/nsis/install.nsh"
  : > "$out/nsis/uninstall.nsh"
  local dir last=""
  while read -r f; do
    dir=$(dirname "$f")
    if [ "$dir" != "$last" ]; then
      [ "$dir" = . ] && echo 'SetOutPath "$INSTDIR"' >> "$out/nsis/install.nsh" \
                     || echo "SetOutPath \"\$INSTDIR\\${dir//\//\\}\"" >> "$out/nsis/install.nsh"
      last=$dir
    fi
    echo "File \"$s/$f\"" >> "$out/nsis/install.nsh"
    echo "Delete \"\$INSTDIR\\${f//\//\\}\"" >> "$out/nsis/uninstall.nsh"
  done < "$out/nsis/files.txt"
  (cd "$s" && find . -mindepth 1 -type d | sed 's|^\./||' | sort -r) | while read -r d; do
    echo "RMDir \"\$INSTDIR\\${d//\//\\}\"" >> "$out/nsis/uninstall.nsh"
  done
  echo "$version"
}

package_suite() {
  say "installer and zip"
  local version
  version=$(stage_files)
  rm -f "$out/tarnova-$version-windows.zip"
  (cd "$out/stage" && zip -qr "$out/tarnova-$version-windows.zip" TARNOVA)
  makensis -V2 -DVERSION="$version" -DSTAGE="$out/stage/TARNOVA" -DLISTS="$out/nsis" \
    -DOUTFILE="$out/tarnova-$version-setup.exe" "$root/scripts/windows/tarnova.nsi"
  ls -l "$out/tarnova-$version-setup.exe" "$out/tarnova-$version-windows.zip"
}

case $step in
  deps) host_packages; build_deps ;;
  build) host_packages; build_deps; wine_prefix; build_suite ;;
  package) package_suite ;;
  test) test_suite ;;
  all) host_packages; build_deps; wine_prefix; build_suite; package_suite; test_suite ;;
  *) echo "usage: $0 [deps|build|test|package|all]" >&2; exit 2 ;;
esac
