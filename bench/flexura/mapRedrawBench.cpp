// Redrawing the collapse map for a new step, as the Left and Right keys do, on the in-memory
// pane of 1024 x 768 pixels. The case is read once from the case directory given.
//   flexuraMapBench /path/CASE.ana [benchmark options]

#include "caseInputs.hpp"
#include "collapseMap.hpp"

#include "casePaths.hpp"
#include "display/TestHooks.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace {

using namespace tarnova;
using namespace tarnova::flexura;

constexpr int paneWidth = 1024, paneHeight = 768;
CaseData data;

void MapRedrawForANewStep(benchmark::State& state)
{
    const MapLayout layout = mapLayout(data, paneWidth, paneHeight);
    MapView view{static_cast<int>(data.studies.size()) - 1, 1, 0};
    for (auto _ : state) {
        view.step = view.step % stepCount + 1;
        drawCollapseMap(data, layout, view, paneWidth, paneHeight);
    }
    state.counters["elements"] = data.elementCount();
}
BENCHMARK(MapRedrawForANewStep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: flexuraMapBench /path/CASE.ana [benchmark options]\n");
        return 1;
    }
    const CaseLocation location = locateCase(argv[1]);
    std::filesystem::current_path(location.directory.empty() ? "." : location.directory);
    inspect::resetDisplay(paneWidth, paneHeight);
    const ReadOutcome outcome = readCase(location.caseName, data);
    if (!outcome.ok) {
        std::fprintf(stderr, "%s\n", outcome.failure.c_str());
        return 1;
    }
    argv[1] = argv[0];
    int count = argc - 1;
    benchmark::Initialize(&count, argv + 1);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
