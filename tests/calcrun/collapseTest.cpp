// The peak search of the collapse iteration and its convergence test.

#include "CaseFiles.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace tarnova::calcrun {
namespace {

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
