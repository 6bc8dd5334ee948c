#!/usr/bin/env bash
# The installer installed silently under Wine (per user, its default folder), the installed
# Strakon.exe run headless on the installed box example, then the uninstaller run: it must
# remove what it installed and leave the results the run made. Wine's menu builder is off, so
# the Start menu entries do not reach the desktop of the machine running the test.
#   installTest.sh SETUP_EXE WORK [WINE]
set -euo pipefail
setup=$1 work=$2 wine=${3:-wine}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
[ -f "$setup" ] || { echo "no installer at $setup (scripts/windows.sh package makes it)"; exit 1; }
rm -rf "$work" && mkdir -p "$work"
windowsTarget=$("$wine" cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')'\Programs\TARNOVA'
target=$("$wine" winepath -u "$windowsTarget" | tr -d '\r')
# The build's own Wine prefix: what an earlier run left there (its results) goes first.
[ ! -e "$target/Uninstall.exe" ] || "$wine" "$target/Uninstall.exe" /S
for _ in $(seq 1 60); do [ -e "$target/Uninstall.exe" ] || break; sleep 1; done
rm -rf "$target"
"$wine" "$setup" /S
for f in Strakon.exe tarnovaWindow.dll Pickara.exe Curvella.exe Flexura.exe Sagoma.exe Collaudo.exe CsvToGeo.exe Uninstall.exe \
         examples/box/BOX.ana examples/tanker/TANKER.ana docs/README.md docs/man/Strakon.txt; do
  [ -f "$target/$f" ] || { echo "not installed: $f"; exit 1; }
done
box="$target/examples/box"
(cd "$box" && "$wine" "$target/Strakon.exe" --headless "$windowsTarget\\examples\\box\\BOX.ana" </dev/null) > "$work/strakon.log" 2>&1 \
  || { echo "the installed Strakon.exe failed:"; cat "$work/strakon.log"; exit 1; }
grep -q "CALCULATIONS FINISHED" "$work/strakon.log" || { echo "no finished calculation:"; cat "$work/strakon.log"; exit 1; }
[ -s "$box/BOX.rst" ] || { echo "the installed Strakon.exe wrote no BOX.rst"; exit 1; }
echo "installed Strakon.exe: BOX.rst of $(wc -c <"$box/BOX.rst") bytes"

# The uninstaller copies itself away and returns at once: wait for it to finish.
"$wine" "$target/Uninstall.exe" /S
for _ in $(seq 1 60); do [ -e "$target/Strakon.exe" ] || break; sleep 1; done
left=$(cd "$target" && find . -type f | sort)
[ ! -e "$target/Strakon.exe" ] && [ ! -e "$target/Uninstall.exe" ] || { echo "the uninstaller left the programs"; exit 1; }
[ -s "$box/BOX.rst" ] || { echo "the uninstaller removed the user's results"; exit 1; }
echo "uninstalled; the user's files stay: $(echo "$left" | wc -l) files"
