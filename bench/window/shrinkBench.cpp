// Shrinking a 1024 x 724 pane (the pane of a 1024 x 768 screen) to the sizes a smaller frame
// shows it at. The pane is a worst case for the shrink: a white ground with one-pixel lines and
// a dense field of text-like strokes, so that few blocks are of one colour.
#include "display/sdl/frameLayout.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int paneWidth = 1024;
constexpr int paneHeight = 724;

std::vector<std::uint8_t> busyPane()
{
    std::vector<std::uint8_t> pane(static_cast<std::size_t>(paneWidth) * paneHeight, 15);
    std::mt19937 random(7);
    for (int y = 0; y < paneHeight; ++y)
        for (int x = 0; x < paneWidth; ++x) {
            std::uint8_t& p = pane[static_cast<std::size_t>(y) * paneWidth + x];
            if (y % 23 == 0 || x % 41 == 0) p = static_cast<std::uint8_t>(y % 15);   // lines
            else if (y > 300 && random() % 5 == 0) p = 1;                            // strokes
        }
    return pane;
}

void shrink(benchmark::State& state)
{
    const std::vector<std::uint8_t> pane = busyPane();
    const int w = static_cast<int>(state.range(0)) * paneWidth / 100;
    const int h = static_cast<int>(state.range(0)) * paneHeight / 100;
    std::vector<std::uint8_t> shown(static_cast<std::size_t>(w) * h);
    for (auto _ : state) {
        tarnova::sdl::shrinkKeepingLines(pane.data(), paneWidth, paneHeight, shown.data(), w, h);
        benchmark::DoNotOptimize(shown.data());
    }
}
BENCHMARK(shrink)->Arg(50)->Arg(75)->Arg(90)->Unit(benchmark::kMillisecond);

} // namespace
