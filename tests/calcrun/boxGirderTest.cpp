// Physics check: a box girder with yielding only (E/B/T 1, no residual stress) against hand
// formulas for its elastic properties and plastic moment, and against the exact elastic-perfectly
// plastic moment-curvature of the same lumped section, computed here in double precision.

#include "CaseFiles.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tarnova::calcrun {
namespace {

using BoxGirder = EngineTest;

using test::GeoElement;
using test::ScratchCase;

// Box 10 m wide and 5 m deep: deck 14 mm, bottom 12 mm, sides 10 mm, one steel.
constexpr double breadth = 10000, depth = 5000, deckT = 14, bottomT = 12, sideT = 10;
constexpr double sigma0 = 235, modulus = 206000;
constexpr int panels = 10;  // deck and bottom strips of 1000 mm, side strips of 500 mm

std::vector<GeoElement> boxGirder()
{
    std::vector<GeoElement> elements;
    auto strip = [&](double width, double thickness, double x, double y, int orientation) {
        GeoElement e;
        e.plateWidth = static_cast<float>(width);
        e.plateThickness = static_cast<float>(thickness);
        e.x = static_cast<float>(x);
        e.y = static_cast<float>(y);
        e.orientation = orientation;
        elements.push_back(e);
    };
    const double panel = breadth / panels, sideStrip = depth / panels;
    for (int i = 0; i < panels; ++i) strip(panel, deckT, (i + 0.5) * panel, depth, 1);    // plating above its face
    for (int i = 0; i < panels; ++i) strip(panel, bottomT, (i + 0.5) * panel, 0, 2);      // plating below its face
    for (int i = 0; i < panels; ++i) strip(sideStrip, sideT, 0, (i + 0.5) * sideStrip, 4);
    for (int i = 0; i < panels; ++i) strip(sideStrip, sideT, breadth, (i + 0.5) * sideStrip, 3);
    return elements;
}

// Exact moment of the lumped section at curvature kappa: the axis where the yield-limited forces
// balance (bisection; the net force falls monotonically as the axis rises), and the moment of the
// forces about it.
struct ExactState {
    double axis, moment;
};
ExactState exactMomentCurvature(const RunContext& run, double kappa)
{
    const auto& element = run.element;
    const auto& section = run.section;
    const double yieldStrain = sigma0 / modulus;
    auto force = [&](int n, double axis) {
        const Element& e = element(n);
        const double area = double(e.plateArea) + double(e.stiffenerArea);
        const double phi = (double(e.y) - axis) * kappa / yieldStrain;
        return sigma0 * area * std::max(-1.0, std::min(1.0, phi));
    };
    double low = -depth, high = 2 * depth;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (low + high);
        double net = 0;
        for (int n = 1; n <= section.elementCount; ++n) net += force(n, mid);
        (net > 0 ? low : high) = mid;
    }
    const double axis = 0.5 * (low + high);
    double moment = 0;
    for (int n = 1; n <= section.elementCount; ++n) moment += force(n, axis) * (double(element(n).centroidY) - axis);
    return {axis, moment};
}

TEST_F(BoxGirder, YieldOnlyMatchesHandFormulasAndTheExactMomentCurvature)
{
    ScratchCase scratch;
    scratch.writeOptions({{1, 1, 0, 0.0f, 0.0f, 0.0f}});
    scratch.writeGeometry(boxGirder());
    scratch.writeProperties({{static_cast<float>(sigma0), static_cast<float>(modulus)}});
    scratch.openRunUnits();
    float ultimateMoment = 0, lastCurvature = 0, elastic = 0, plastic = 0;
    test::runOneCase(*this, ultimateMoment, lastCurvature, elastic, plastic);

    // Elastic properties: flanges at their mid-thickness, sides as continuous plates (the strips'
    // own second moments add up exactly); the plating's bending about its own mid-plane is left out.
    const double deckArea = breadth * deckT, bottomArea = breadth * bottomT, sideArea = 2 * sideT * depth;
    const double area = deckArea + bottomArea + sideArea;
    const double deckY = depth + deckT / 2, bottomY = -bottomT / 2;
    const double axis = (deckArea * deckY + bottomArea * bottomY + sideArea * depth / 2) / area;
    const double inertia = deckArea * std::pow(deckY - axis, 2) + bottomArea * std::pow(axis - bottomY, 2) +
                           2 * sideT * std::pow(depth, 3) / 12 + sideArea * std::pow(depth / 2 - axis, 2);
    const double firstYield = sigma0 * inertia / (depth - axis);
    EXPECT_NEAR(section.sectionArea / area, 1.0, 1e-6);
    EXPECT_NEAR(section.verticalBendingInertia / section.bottomModulus, axis, 0.01) << "hand " << axis;
    EXPECT_NEAR(section.verticalBendingInertia / inertia, 1.0, 1e-5) << "hand " << inertia;
    EXPECT_NEAR(section.bottomModulus / (inertia / axis), 1.0, 1e-5);
    EXPECT_NEAR(elastic / firstYield, 1.0, 1e-5) << "hand " << firstYield;

    // Plastic: the axis halves the yield force at 3000 mm, on a strip boundary, so the lumped sides
    // give the continuous moment; any axis in the band between the neighbouring strip centres
    // (2750..3250) gives the same moment, and the elastic axis (2639.6) is held at its lower end.
    const double plasticAxis = (breadth * (deckT - bottomT) + 2 * sideT * depth) / (4 * sideT);
    ASSERT_DOUBLE_EQ(plasticAxis, 3000.0);
    const double plasticHand = sigma0 * (deckArea * (deckY - plasticAxis) + bottomArea * (plasticAxis - bottomY) +
                                         sideT * (std::pow(depth - plasticAxis, 2) + std::pow(plasticAxis, 2)));
    EXPECT_FLOAT_EQ(section.plasticNeutralAxis, 2750.0f);
    EXPECT_NEAR(plastic / plasticHand, 1.0, 1e-6) << "hand " << plasticHand;

    // Moment-curvature, step by step, against the exact lumped section.
    double worst = 0;
    int worstStep = 0;
    for (int k = 1; k <= stepCount; ++k) {
        const StepResult& s = stepResults[static_cast<std::size_t>(k)];
        const ExactState exact = exactMomentCurvature(*this, double(s.curvature));
        const double error = std::fabs(double(s.momentX) - exact.moment) / exact.moment;
        if (error > worst) {
            worst = error;
            worstStep = k;
        }
        if (k == stepCount) {
            EXPECT_NEAR(section.neutralAxisY, exact.axis, 1.0);
            std::printf("step 50: curvature %.6g 1/mm, moment %.6e (exact %.6e), axis %.2f (exact %.2f) mm\n",
                        double(s.curvature), double(s.momentX), exact.moment, double(section.neutralAxisY), exact.axis);
        }
    }
    std::printf("first yield %.6e (hand %.6e), plastic %.6e (hand %.6e), worst step %d relative %.2e\n",
                double(elastic), firstYield, double(plastic), plasticHand, worstStep, worst);
    EXPECT_LT(worst, 2e-4) << "step " << worstStep;

    // Moments rise through all 50 steps: the ultimate is step 50's, between first yield (of the
    // bottom, the fibre farther from the axis) and the plastic moment.
    const StepResult& last = stepResults[stepCount];
    EXPECT_EQ(ultimateMoment, last.resultantMoment);
    EXPECT_EQ(ultimate.curvature, last.curvature);
    EXPECT_EQ(lastCurvature, last.curvature);
    EXPECT_GT(ultimateMoment, sigma0 * inertia / std::max(axis, depth - axis));
    EXPECT_LT(ultimateMoment, plastic);

    scratch.closeRunUnits();
    // Element curve file: head, then 50 blocks of 2 + 2 x 4 lines for 40 elements.
    const auto curve = ScratchCase::lines("CASE.teA");
    ASSERT_EQ(curve.size(), 1u + 40u + 50u * 10u);
    EXPECT_EQ(curve[41].substr(0, 14), " Itera\xE7\xE3o:   1");
    EXPECT_EQ(curve[41].size(), 47u);
    EXPECT_EQ(curve[41].substr(24, 11), " Curvatura=");
    EXPECT_EQ(curve[43].size(), 90u);
    // Case results: the last row is step 50; the report ends with the ultimate-moment block.
    const auto results = ScratchCase::lines("jc110000.000");
    EXPECT_EQ(results.back().substr(0, 4), "  50");
    const auto report = ScratchCase::lines("CASE.rst");
    ASSERT_GE(report.size(), 3u);
    EXPECT_EQ(report[report.size() - 2], "   X  Ultimate Bending Moment Y       UBM         ESModulus      Curv. UBM");
    EXPECT_EQ(report.back().size(), 75u);
    EXPECT_NEAR(std::strtod(report.back().substr(30, 15).c_str(), nullptr) / double(ultimateMoment), 1.0, 5e-6);
}

} // namespace
} // namespace tarnova::calcrun
