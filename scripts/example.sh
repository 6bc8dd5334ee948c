#!/usr/bin/env bash
# Installs what is missing, builds the suite and runs it on the shipped tanker example:
# Strakon calculates every case study, Pickara chooses an element, Curvella writes its listing
# and image, Flexura draws the whole section's collapse (chart, maps, tables) and writes the
# calculation report (HTML, and its PDF when Chromium is installed). The run is headless (no
# window); the results land in build/tanker/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNOVA_TESTS=OFF -DTARNOVA_BENCHMARKS=OFF >/dev/null
cmake --build build -j "$(nproc)"

element=${1:-12}
case_dir="$PWD/build/tanker"
rm -rf "$case_dir" && mkdir -p "$case_dir"
cp examples/tanker/TANKER.ana examples/tanker/TANKER.geo examples/tanker/TANKER.pro examples/tanker/TANKER.lim "$case_dir/"
headless=(env -u DISPLAY -u WAYLAND_DISPLAY)

echo "== Strakon: collapse calculation of $case_dir/TANKER.ana"
"${headless[@]}" build/Strakon/Strakon "$case_dir/TANKER.ana" </dev/null >"$case_dir/summary.txt"
echo "== Flexura: moment-curvature chart and collapse maps of every case study"
"${headless[@]}" build/Flexura/Flexura "$case_dir/TANKER.ana" </dev/null
echo "== Collaudo: the assessment against TANKER.lim (rule check, damaged cases, interaction)"
"${headless[@]}" build/Collaudo/Collaudo "$case_dir/TANKER.ana" </dev/null
echo "== Flexura: calculation report and its PDF"
if ! "${headless[@]}" build/Flexura/Flexura --report --pdf "$case_dir/TANKER.ana" </dev/null; then
  echo "   (no PDF: install chromium to print the report; TANKER_report.html is written)"
fi
echo "== Pickara: element $element of the first case study"
printf '%s\n' "$element" | "${headless[@]}" build/Pickara/Pickara "$case_dir/TANKER.teA"
echo "== Curvella: element $(tr -d ' \r\n' <"$case_dir/nElem.txt")"
"${headless[@]}" build/Curvella/Curvella "$case_dir/TANKER.teA" </dev/null

digits=$(printf '%03d' "$(tr -d ' \r\n' <"$case_dir/nElem.txt")")
echo
echo "Results in $case_dir:"
echo "  report            TANKER.rst"
echo "  case results      $(cd "$case_dir" && ls jc* | tr '\n' ' ')"
echo "  element curves    $(cd "$case_dir" && ls TANKER.te* | tr '\n' ' ')"
echo "  tripping, trace   AT.T lixo.tmp"
echo "  element listing   Element.$digits"
echo "  element image     Elem$digits.bmp"
echo "  section collapse  TANKER_mk.png TANKER_mk.csv TANKER_X_map.png TANKER_X_elements.csv (X = A ... H)"
echo "  report            TANKER_report.html TANKER_report.pdf"
echo
# The table Strakon ends a headless run with.
cat "$case_dir/summary.txt"
