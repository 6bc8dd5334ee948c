// Speed of the collapse engine: element force evaluations per second, one by one and as arrays on
// each element kernel this processor runs, and one 600-element case of 50 steps with all its files
// on each kernel (LargeCase is the default, the widest).
//   calcrunBench --benchmark_repetitions=11 --benchmark_report_aggregates_only=true

#include "CaseFiles.hpp"

#include "records/Records.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>

namespace tarnova::calcrun {
namespace {

using test::GeoElement;

// A stiffened box girder of 600 elements, 20 m wide and 12 m deep: 4 hard corners, 148 stiffened
// panels in deck and bottom, 148 in each side.
std::vector<GeoElement> largeGirder()
{
    std::vector<GeoElement> elements;
    auto add = [&](float x, float y, float width, int orientation, int kind) {
        GeoElement e;
        e.frameSpacing = 3200;
        e.plateWidth = width;
        e.plateThickness = orientation >= 3 ? 7.5f : 14.0f;
        e.x = x;
        e.y = y;
        e.orientation = orientation;
        e.kind = kind;
        if (kind != 1) {
            e.webHeight = 250;
            e.webThickness = 11;
            e.flangeWidth = 90;
            e.flangeThickness = 14;
        }
        e.propertySet = (kind == 1 || y > 10000) ? 2 : 1;
        elements.push_back(e);
    };
    const float breadth = 20000, depth = 12000;
    add(0, 0, 400, 2, 1);
    add(breadth, 0, 400, 2, 1);
    add(0, depth, 400, 1, 1);
    add(breadth, depth, 400, 1, 1);
    const float deckSpacing = breadth / 149.0f, sideSpacing = depth / 149.0f;
    for (int i = 1; i <= 148; ++i) {
        const float x = deckSpacing * static_cast<float>(i);
        const float y = sideSpacing * static_cast<float>(i);
        add(x, depth, deckSpacing, 1, 3);
        add(x, 0, deckSpacing, 2, 3);
        add(0, y, sideSpacing, 4, 3);
        add(breadth, y, sideSpacing, 3, 3);
    }
    return elements;
}

void writeLargeCase(test::ScratchCase& scratch)
{
    scratch.writeGeometry(largeGirder());
    scratch.writeProperties({{235, 206000}, {355, 206000}});
    scratch.writeOptions({{3, 1, 0, 4.5f, 0.0f, 0.0015f}});
}

void ElementForce(benchmark::State& state)
{
    test::ScratchCase scratch;
    writeLargeCase(scratch);
    scratch.openRunUnits();
    auto run = std::make_unique<RunContext>(defaultUnits());
    float r1 = 0, r2 = 0, elastic = 0, plastic = 0;
    test::runOneCase(*run, r1, r2, elastic, plastic);
    const int count = run->section.elementCount;
    const float curvature = run->stepResults[25].curvature;
    const float xna = run->section.neutralAxisX, yna = run->section.neutralAxisY, theta = run->options.heelAngle;
    float sum = 0;
    for (auto _ : state) {
        for (int n = 1; n <= count; ++n) sum += run->elementForce(n, curvature, xna, yna, theta);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * count);
    scratch.closeRunUnits();
}
BENCHMARK(ElementForce);

// One evaluation of all 600 elements as arrays.
void ElementKernelPass(benchmark::State& state, ElementKernel kernel)
{
    test::ScratchCase scratch;
    writeLargeCase(scratch);
    scratch.openRunUnits();
    auto run = std::make_unique<RunContext>(defaultUnits());
    float r1 = 0, r2 = 0, elastic = 0, plastic = 0;
    test::runOneCase(*run, r1, r2, elastic, plastic);
    const float curvature = run->stepResults[25].curvature, theta = run->options.heelAngle;
    const KernelCall call{curvature,        run->section.neutralAxisX,  run->section.neutralAxisY,
                          std::cos(theta),  std::sin(theta),            run->options.behaviourCode,
                          run->options.sheddingCode};
    ElementKernelFunction function = elementKernelFunction(kernel);
    run->loadElementArrays();
    for (auto _ : state) {
        benchmark::DoNotOptimize(function(run->elementArrays, call));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * run->section.elementCount);
    scratch.closeRunUnits();
}

void LargeCase(benchmark::State& state, ElementKernel kernel)
{
    test::ScratchCase scratch;
    writeLargeCase(scratch);
    auto run = std::make_unique<RunContext>(defaultUnits());
    run->elementKernel = kernel;
    for (auto _ : state) {
        scratch.openRunUnits();
        float r1 = 0, r2 = 0, elastic = 0, plastic = 0;
        test::runOneCase(*run, r1, r2, elastic, plastic);
        scratch.closeRunUnits();
        benchmark::DoNotOptimize(r1);
    }
}
// The same case study from memory, no files: the calculation alone (default kernel).
void LargeCaseInMemory(benchmark::State& state)
{
    SectionInput section;
    section.title = "LARGE GIRDER";
    section.firstHeaderValue = 1;
    for (const GeoElement& e : largeGirder()) {
        section.elements.push_back({e.frameSpacing, e.plateWidth, e.plateThickness, e.flangeWidth,
                                    e.flangeThickness, e.webHeight, e.webThickness, e.propertySet, e.spare, e.depth,
                                    e.x, e.y, e.orientation, e.kind});
    }
    section.materials = {{235, 206000}, {355, 206000}};
    const CaseOptionsInput options{3, 1, 0, 4.5f, 0.0f, 0.0015f};
    for (auto _ : state) benchmark::DoNotOptimize(runCaseStudy(section, options).ultimate.moment);
}
BENCHMARK(LargeCaseInMemory)->Unit(benchmark::kMillisecond);

const bool registered = [] {
    benchmark::RegisterBenchmark("LargeCase", LargeCase, defaultElementKernel())->Unit(benchmark::kMillisecond);
    for (ElementKernel k : availableElementKernels()) {
        const std::string name(elementKernelName(k));
        benchmark::RegisterBenchmark(("LargeCase/" + name).c_str(), LargeCase, k)->Unit(benchmark::kMillisecond);
        if (k != ElementKernel::scalar)
            benchmark::RegisterBenchmark(("ElementKernelPass/" + name).c_str(), ElementKernelPass, k);
    }
    return true;
}();

} // namespace
} // namespace tarnova::calcrun

BENCHMARK_MAIN();
