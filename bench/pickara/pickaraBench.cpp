// Drawing the section of a 600-element case, as Pickara does after reading the curve file: the
// fit onto a 1024 x 768 pane and 600 numbers in "(I4)" at their places. Headless, no window.
//
//   cmake -B build -DTARNOVA_BENCHMARKS=ON && cmake --build build --target pickaraBench
//   build/bench/pickara/pickaraBench --benchmark_repetitions=9 --benchmark_report_aggregates_only

#include "chooserLayout.hpp"
#include "chooserScreen.hpp"

#include "cores.hpp"
#include "display/Display.hpp"

#include <benchmark/benchmark.h>

#include <array>

namespace {

using namespace tarnova;
using namespace tarnova::pickara;

void drawSixHundredNumbers(benchmark::State& state)
{
    constexpr int paneWidth = 1024;
    constexpr int paneHeight = 768;
    // A tanker-like section: 600 points round a 40 m x 25 m outline.
    std::array<double, maxElements> x{}, y{}, screenX{}, screenY{};
    for (int i = 0; i < maxElements; ++i) {
        x[i] = 40000.0 * (i % 40) / 39.0;
        y[i] = 25000.0 * (i / 40) / 14.0;
    }
    loadPalette();
    loadFonts();
    for (auto _ : state) {
        const SectionScale fit = fitSection(x.data(), y.data(), maxElements, paneWidth, paneHeight);
        for (int i = 0; i < maxElements; ++i) {
            const ScreenPoint point = screenPoint(fit, x[i], y[i]);
            screenX[i] = point.x;
            screenY[i] = point.y;
        }
        drawSection(maxElements, screenX.data(), screenY.data(), paneWidth, paneHeight);
    }
}
BENCHMARK(drawSixHundredNumbers)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace

BENCHMARK_MAIN();
