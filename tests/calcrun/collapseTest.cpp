// The collapse iteration: its peak search, convergence test, axis moves and iteration limit.

#include "CaseFiles.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace tarnova::calcrun {
namespace {

using CollapseIteration = EngineTest;

constexpr float yieldStress = 250.0f;

// Runs the peak search over steps 4..50 of moments m(k), with momentX = 2 m, momentY = -m and
// curvature k / 1000 so that companions can be traced back to their step.
Ultimate search(const std::function<float(int)>& m)
{
    StepTable steps{};
    for (int k = 1; k <= stepCount; ++k) {
        steps[static_cast<std::size_t>(k)] = {m(k), 2.0f * m(k), -m(k), static_cast<float>(k) / 1000.0f};
    }
    Ultimate u;
    for (int k = 4; k <= stepCount; ++k) searchPeak(u, steps, k, yieldStress);
    return u;
}

void expectCompanionsOfStep(const Ultimate& u, int step, float moment)
{
    EXPECT_FLOAT_EQ(u.moment, moment);
    EXPECT_FLOAT_EQ(u.momentX, 2.0f * moment);
    EXPECT_FLOAT_EQ(u.momentY, -moment);
    EXPECT_FLOAT_EQ(u.curvature, static_cast<float>(step) / 1000.0f);
    EXPECT_FLOAT_EQ(u.sectionModulus, moment / yieldStress);
}

TEST(PeakSearch, RisingMomentsTakeTheLastStepWithItsOwnCompanions)
{
    expectCompanionsOfStep(search([](int k) { return 100.0f * static_cast<float>(k); }), 50, 5000.0f);
}

TEST(PeakSearch, PeakIsFittedByAParabolaWithTheMiddleStepsMoments)
{
    // Parabola with its vertex at step 20.25: fitted exactly from steps 19, 20, 21.
    auto m = [](int k) {
        const float d = static_cast<float>(k) - 20.25f;
        return 10000.0f - 4.0f * d * d;
    };
    const Ultimate u = search(m);
    EXPECT_NEAR(u.moment, 10000.0f, 0.01f);
    EXPECT_NEAR(u.curvature, 0.02025f, 1e-6f);
    EXPECT_FLOAT_EQ(u.momentX, 2.0f * m(20));
    EXPECT_FLOAT_EQ(u.momentY, -m(20));
    EXPECT_FLOAT_EQ(u.sectionModulus, u.moment / yieldStress);
}

TEST(PeakSearch, LaterLargerStepMomentReplacesAFittedPeakWithItsOwnCompanions)
{
    // A peak at step 10, then a rise beyond it from step 30 on.
    auto m = [](int k) {
        if (k <= 20) return 5000.0f - 10.0f * static_cast<float>((k - 10) * (k - 10));
        return 4000.0f + 100.0f * static_cast<float>(k - 20);
    };
    expectCompanionsOfStep(search(m), 50, m(50));
}

TEST(PeakSearch, EqualMomentsTakeTheMiddlePointWithoutDividingByZero)
{
    const Ultimate u = search([](int) { return 5000.0f; });
    EXPECT_TRUE(std::isfinite(u.curvature));
    expectCompanionsOfStep(u, 49, 5000.0f);
}

TEST(PeakSearch, PeakAtStep49IsFittedAndAtStep50IsNot)
{
    auto at49 = [](int k) { return k <= 49 ? 100.0f * static_cast<float>(k) : 4850.0f; };
    const Ultimate fitted = search(at49);
    EXPECT_NEAR(fitted.moment, 4900.0f + 2500.0f / 1200.0f, 0.01f);
    EXPECT_FLOAT_EQ(fitted.momentX, 2.0f * 4900.0f);
    EXPECT_NEAR(fitted.curvature, 0.049f + 0.001f / 6.0f, 1e-6f);

    auto at50 = [](int k) { return 100.0f * static_cast<float>(k) - (k == 50 ? 40.0f : 0.0f); };
    expectCompanionsOfStep(search(at50), 50, at50(50));
}

TEST(AxisShiftConverged, RelativeToTheAxisOrInMillimetresAtHeightZero)
{
    EXPECT_TRUE(axisShiftConverged(0.00005f, 0.0f));
    EXPECT_FALSE(axisShiftConverged(0.001f, 0.0f));
    EXPECT_TRUE(axisShiftConverged(0.09f, 1000.0f));
    EXPECT_FALSE(axisShiftConverged(0.11f, 1000.0f));
    EXPECT_TRUE(axisShiftConverged(-0.09f, -1000.0f));
}

} // namespace
} // namespace tarnova::calcrun

namespace tarnova::calcrun {
namespace {

using test::GeoElement;
using test::ScratchCase;

// Iteration lines of the trace, "(2I3,4E11.3,2F8.0,F7.1)".
struct TraceIteration {
    int step, iteration;
    double curvature, axialForce, axisY, axisShift;
};
std::vector<TraceIteration> traceIterations()
{
    std::vector<TraceIteration> rows;
    for (const std::string& line : ScratchCase::lines("lixo.tmp")) {
        if (line.size() != 73 || line[2] == ' ' || line[5] == ' ') continue;
        auto field = [&](std::size_t from, std::size_t width) { return std::stod(line.substr(from, width)); };
        rows.push_back({std::stoi(line.substr(0, 3)), std::stoi(line.substr(3, 3)), field(6, 11), field(39, 11),
                        field(58, 8), field(66, 7)});
    }
    return rows;
}

// A stiffened box girder 8 m wide and 4 m deep whose deck buckles under E/B/T 3 and SHED.
std::vector<GeoElement> stiffenedBox()
{
    std::vector<GeoElement> elements;
    auto add = [&](float x, float y, float thickness, int orientation, int kind) {
        GeoElement e;
        e.frameSpacing = 3000;
        e.plateWidth = 800;
        e.plateThickness = thickness;
        e.x = x;
        e.y = y;
        e.orientation = orientation;
        e.kind = kind;
        if (kind != 1) {
            e.webHeight = 200;
            e.webThickness = 9;
            e.flangeWidth = 60;
            e.flangeThickness = 10;
        }
        elements.push_back(e);
    };
    for (int i = 0; i <= 10; ++i) {
        const int kind = i == 0 || i == 10 ? 1 : 3;
        add(800.0f * static_cast<float>(i), 4000, 11, 1, kind);
        add(800.0f * static_cast<float>(i), 0, 16, 2, kind);
    }
    for (int i = 1; i <= 4; ++i) {
        add(0, 800.0f * static_cast<float>(i), 12, 4, 3);
        add(8000, 800.0f * static_cast<float>(i), 12, 3, 3);
    }
    return elements;
}

// Within a step the first move is the elastic estimate (enlarged by k/8 from step 9 on); once the
// axial force changes sign the moves halve, reversing at every further sign change; the axis moves
// by each unconverged move.
TEST_F(CollapseIteration, AxisMovesFollowTheEstimateThenHalveAcrossSignChanges)
{
    ScratchCase scratch;
    scratch.writeOptions({{3, 1, 0, 4.5f, 0.0f, 0.0f}});
    scratch.writeGeometry(stiffenedBox());
    scratch.writeProperties({{235, 206000}});
    scratch.openRunUnits();
    float r1 = 0, r2 = 0, elastic = 0, plastic = 0;
    test::runOneCase(*this, r1, r2, elastic, plastic);
    scratch.closeRunUnits();

    const auto rows = traceIterations();
    ASSERT_GT(rows.size(), 50u);
    const double stiffness = double(section.maxYoungsModulus) * double(section.sectionArea);
    int reversals = 0, halvings = 0;
    bool bracketed = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TraceIteration& r = rows[i];
        const std::string where = "step " + std::to_string(r.step) + " iteration " + std::to_string(r.iteration);
        if (r.iteration == 1) {
            bracketed = false;
            const double curvature = double(stepResults[static_cast<std::size_t>(r.step)].curvature);
            const double estimate = std::max(1.0, r.step / 8.0) * r.axialForce / (curvature * stiffness);
            EXPECT_NEAR(r.axisShift, estimate, 0.05 + 5e-3 * std::fabs(estimate)) << where;  // force to 3 digits
            continue;
        }
        const TraceIteration& p = rows[i - 1];
        ASSERT_EQ(p.step, r.step) << where;
        ASSERT_EQ(p.iteration + 1, r.iteration) << where;
        EXPECT_NEAR(r.axisY, p.axisY + p.axisShift, 1.0) << where;
        if (r.axialForce * p.axialForce < 0) {
            bracketed = true;
            ++reversals;
            EXPECT_NEAR(r.axisShift, -p.axisShift / 2, 0.08) << where;
        } else if (bracketed) {
            ++halvings;
            EXPECT_NEAR(r.axisShift, p.axisShift / 2, 0.08) << where;
        }
    }
    EXPECT_GT(reversals, 0);
    EXPECT_GT(halvings, 0);
}

// A step that finds no equilibrium stops the run after 61 evaluations, naming case study and step;
// what was written before stays, and the report gets no ultimate-moment block.
TEST_F(CollapseIteration, StepWithoutEquilibriumStopsAfterSixtyOneEvaluations)
{
    ScratchCase scratch;
    scratch.writeOptions({{1, 1, 0, 0.0f, 0.0f, 0.0f}});
    GeoElement bottom, deck;
    bottom.orientation = deck.orientation = 0;
    deck.y = 1000;
    scratch.writeGeometry({bottom, deck});
    scratch.writeProperties({{235, 206000}});
    scratch.openRunUnits();
    readCaseOptions(options);
    readSectionModel("CASE", options.corrosionCode, options.tensionBlockWidth);
    trippingStresses(options.poissonRatio);
    float elastic = 0, plastic = 0;
    sectionProperties(elastic, plastic);
    // The steel behaves as if a thousand times softer than the section's modulus, so each elastic
    // estimate moves the axis a thousandth of the way to balance: 60 moves never get there.
    material(1).yieldStrainRoot *= std::sqrt(1000.0f);
    section.neutralAxisY += 300.0f;
    test::SilentProgress progress;
    float r1 = 0, r2 = 0;
    try {
        this->progress = &progress;
        progressiveCollapse(options.behaviourCode, options.sheddingCode, r1, r2);
        ADD_FAILURE() << "no stop";
    } catch (const test::RunStopped& stop) {
        EXPECT_NE(std::string(stop.what()).find("step 1)"), std::string::npos) << stop.what();
    }
    EXPECT_EQ(progress.lastStep, 0);
    scratch.closeRunUnits();

    const auto rows = traceIterations();
    ASSERT_EQ(rows.size(), 61u);
    EXPECT_EQ(rows.back().step, 1);
    EXPECT_EQ(rows.back().iteration, 61);
    const auto report = ScratchCase::lines("CASE.rst");
    ASSERT_FALSE(report.empty());
    EXPECT_NE(report.back().find("(mm3)"), std::string::npos) << "the plastic block ends the report";
    EXPECT_EQ(ScratchCase::lines("jc110000.000").back().substr(0, 9), "  N.     ");
}

} // namespace
} // namespace tarnova::calcrun
