// Curvella headless on a 600-element case, from start to exit, the listing and the image
// included: the time an engineer waits for the element screen (target: 100 ms).

#include "CaseFiles.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path prepareCase()
{
    const fs::path dir = tarnova::testing::freshDirectory("bench");
    tarnova::testing::HandCase c = tarnova::testing::threeElementCase();
    c.x.clear();
    c.y.clear();
    // A 20 m x 12 m box section: 600 elements round its perimeter.
    for (int i = 0; i < 600; ++i) {
        const double t = i / 600.0 * 64000.0;
        c.x.push_back(t < 20000 ? t : t < 32000 ? 20000 : t < 52000 ? 52000 - t : 0);
        c.y.push_back(t < 20000 ? 0 : t < 32000 ? t - 20000 : t < 52000 ? 12000 : 64000 - t);
    }
    c.strainRatio = [](int i, int j) { return (i % 2 ? 1 : -1) * 0.04 * j; };
    c.stress = [](int i, int j) { return (i % 2 ? 1 : -1) * 235.0 * std::sin(j / 15.0); };
    c.dimensions = [](int) { return std::vector<double>{800, 750, 15.5, 100, 12, 300, 11}; };
    tarnova::testing::writeCase(dir, c);
    std::ofstream(dir / "nElem.txt", std::ios::binary) << " 300\r\n";
    return dir;
}

void curvellaOn600Elements(benchmark::State& state)
{
    const fs::path dir = prepareCase();
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER '" CURVELLA_PROGRAM "' '" +
                                (dir / "CASE1.teA").string() +
                                "' </dev/null >/dev/null 2>&1";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("Curvella failed");
    }
    if (!fs::exists(dir / "Elem300.bmp")) state.SkipWithError("no image written");
    fs::remove_all(dir);
}
BENCHMARK(curvellaOn600Elements)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
