// The element screen's layout computations on the two reference panes, the title placement
// cases, the tick intervals and labels, and the names derived from the path and element number.

#include "CaseNames.hpp"
#include "PanelLayout.hpp"
#include "PlotLayout.hpp"

#include <gtest/gtest.h>

namespace tarnova {
namespace {

StepValues ramp(double first, double last)
{
    StepValues v{};
    for (int j = 0; j < stepCount; ++j) v[j] = first + (last - first) * j / (stepCount - 1);
    return v;
}

TEST(PlotLayout, DesignGridIsThePixelGridOn640x480)
{
    const PlotLayout p = computePlotLayout(ramp(0, 2), ramp(0, 235), 640, 480);
    EXPECT_EQ(p.plotWidth, 425);
    EXPECT_EQ(p.plotHeight, 459);
    EXPECT_EQ(p.marginX, 50);
    EXPECT_EQ(p.marginY, 50);
    EXPECT_EQ(p.innerWidth, 325);
    EXPECT_EQ(p.innerHeight, 359);
    EXPECT_DOUBLE_EQ(p.titleOffset, 15);
    EXPECT_FALSE(p.largeFont);
    EXPECT_EQ(p.tickSpacing, 45);
    EXPECT_EQ(bannerX(640), 104);
    // All in compression: the axes run along the left and bottom margins.
    EXPECT_DOUBLE_EQ(p.xZero, 50);
    EXPECT_DOUBLE_EQ(p.xLeft, 50);
    EXPECT_DOUBLE_EQ(p.xRight, 375);
    EXPECT_DOUBLE_EQ(p.yZero, 50);
    EXPECT_DOUBLE_EQ(p.yTop, 409);
}

TEST(PlotLayout, MarginsAreCutTowardZeroOn1024x768)
{
    const PlotLayout p = computePlotLayout(ramp(0, 2), ramp(0, 235), 1024, 768);
    EXPECT_EQ(p.plotWidth, 681);
    EXPECT_EQ(p.plotHeight, 747);
    EXPECT_EQ(p.marginX, 80);
    EXPECT_EQ(p.marginY, 80);
    EXPECT_EQ(p.innerWidth, 521);
    EXPECT_EQ(p.innerHeight, 587);
    EXPECT_DOUBLE_EQ(p.titleOffset, 15.0 * 767 / 479);
    EXPECT_TRUE(p.largeFont);
    EXPECT_EQ(p.tickSpacing, 54);
    EXPECT_EQ(bannerX(1024), 296);
    EXPECT_TRUE(computePlotLayout(ramp(0, 2), ramp(0, 1), 641, 480).largeFont);
}

TEST(PanelLayout, ReferencePanes)
{
    const PanelLayout small = computePanelLayout(640, 480);
    EXPECT_EQ(small.keyPlanViewport.x1, 427);
    EXPECT_EQ(small.keyPlanViewport.y1, 20);
    EXPECT_EQ(small.keyPlanViewport.x2, 639);
    EXPECT_EQ(small.keyPlanViewport.y2, 179);
    EXPECT_EQ(small.keyPlanWidth, 211);
    EXPECT_EQ(small.keyPlanHeight, 158);
    EXPECT_EQ(small.marginX, 20);
    EXPECT_EQ(small.marginY, 20);
    EXPECT_EQ(small.availableWidth, 173);
    EXPECT_EQ(small.availableHeight, 120);
    EXPECT_EQ(small.dataViewport.x1, 427);
    EXPECT_EQ(small.dataViewport.y1, 181);
    EXPECT_EQ(small.dataViewport.x2, 639);
    EXPECT_EQ(small.dataViewport.y2, 479);
    EXPECT_EQ(small.dataWidth, 211);
    EXPECT_EQ(small.dataHeight, 298);

    const PanelLayout large = computePanelLayout(1024, 768);
    EXPECT_EQ(large.keyPlanViewport.x1, 683);
    EXPECT_EQ(large.keyPlanViewport.y2, 275);
    EXPECT_EQ(large.keyPlanWidth, 339);
    EXPECT_EQ(large.keyPlanHeight, 254);
    EXPECT_EQ(large.marginX, 32);   // 20 x 1023 / 639 = 32.02
    EXPECT_EQ(large.marginY, 32);   // 20 x 767 / 479 = 32.03
    EXPECT_EQ(large.availableWidth, 277);
    EXPECT_EQ(large.availableHeight, 192);
    EXPECT_EQ(large.dataViewport.y1, 277);
    EXPECT_EQ(large.dataViewport.y2, 767);
    EXPECT_EQ(large.dataHeight, 490);
}

struct PlacementCase {
    const char* name;
    double xFirst, xLast, yFirst, yLast;
    TitleCase expected;
};

void PrintTo(const PlacementCase& c, std::ostream* os)
{
    *os << c.name;
}

class TitlePlacementCases : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(TitlePlacementCases, CaseFollowsTheLargerExtremes)
{
    const PlacementCase& c = GetParam();
    const PlotLayout p = computePlotLayout(ramp(c.xFirst, c.xLast), ramp(c.yFirst, c.yLast), 640, 480);
    EXPECT_EQ(p.titleCase, c.expected) << c.name;

    const double s = p.titleOffset;
    const TitlePlacement t = placeTitles(p, 80, 15);
    switch (c.expected) {
    case TitleCase::A:
        EXPECT_DOUBLE_EQ(t.xTitle.x, p.xRight - 80);
        EXPECT_DOUBLE_EQ(t.xTitle.y, p.yZero - s);
        EXPECT_DOUBLE_EQ(t.yTitle.y, p.yTop + 2 * s);
        break;
    case TitleCase::B:
        EXPECT_DOUBLE_EQ(t.xTitle.x, p.xLeft - 15);
        EXPECT_DOUBLE_EQ(t.xTitle.y, p.yZero - s);
        EXPECT_DOUBLE_EQ(t.yTitle.y, p.yTop + 2 * s);
        break;
    case TitleCase::C:
        EXPECT_DOUBLE_EQ(t.xTitle.x, p.xLeft - 15);
        EXPECT_DOUBLE_EQ(t.xTitle.y, p.yZero + 2 * s);
        EXPECT_DOUBLE_EQ(t.yTitle.y, p.yBottom - 2 * s);
        break;
    case TitleCase::D:
        EXPECT_DOUBLE_EQ(t.xTitle.x, p.xRight - 80);
        EXPECT_DOUBLE_EQ(t.xTitle.y, p.yZero + 2 * s);
        EXPECT_DOUBLE_EQ(t.yTitle.y, p.yBottom - 2 * s);
        break;
    }
    EXPECT_DOUBLE_EQ(t.yTitle.x, p.xZero - 15);
    // Both titles start inside the plot pane, so neither is clipped away.
    EXPECT_LE(t.yTitle.y, p.plotHeight) << c.name;
    EXPECT_LE(t.xTitle.y, p.plotHeight) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TitlePlacementCases,
    ::testing::Values(PlacementCase{"AllCompression", 0, 2, 0, 235, TitleCase::A},
                      PlacementCase{"AllTension", 0, -2, 0, -235, TitleCase::C},
                      PlacementCase{"StrainTensionStressCompression", 0.5, -2, -100, 235, TitleCase::B},
                      PlacementCase{"StrainCompressionStressTension", -0.5, 2, 100, -235, TitleCase::D},
                      PlacementCase{"EqualStrainSidesMoreCompression", -1, 1, -100, 200, TitleCase::A},
                      PlacementCase{"EqualStrainSidesMoreTension", -1, 1, 100, -200, TitleCase::C}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

TEST(TickIntervals, CompressionCurveTicksOnlyTheRightAndUpperHalves)
{
    // 640 x 480: right half 325 long, upper half 359, spacing 45.
    const PlotLayout p = computePlotLayout(ramp(0, 1.37), ramp(0, 235), 640, 480);
    EXPECT_EQ(p.right.count, 7);     // 325 / 7 = 46.4 >= 45, 325 / 8 < 45
    EXPECT_EQ(p.upper.count, 7);     // 359 / 7 = 51.3, 359 / 8 = 44.9
    EXPECT_EQ(p.left.count, 0);
    EXPECT_EQ(p.lower.count, 0);
    const HalfAxisTicks right = halfAxisTicks(p.xZero, p.right, 1);
    EXPECT_NEAR(right.ticks[6].position, p.xRight, 1e-9);    // the last tick ends the axis
    EXPECT_NEAR(right.ticks[6].value, 1.37, 1e-12);
}

TEST(TickIntervals, LabelsAreTheUnroundedStepsInF92)
{
    // Five intervals, as a half-axis of 300 units gets with the spacing 54.
    HalfAxis half{5, 60, 1.37 / 5};
    const HalfAxisTicks ticks = halfAxisTicks(100, half, 1);
    const char* expected[] = {".27", ".55", ".82", "1.10", "1.37"};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(tickLabel(ticks.ticks[k].value), expected[k]);
        EXPECT_DOUBLE_EQ(ticks.ticks[k].position, 100 + 60.0 * (k + 1));
    }
    EXPECT_EQ(tickLabel(-0.25), "-.25");
    EXPECT_EQ(tickLabel(-235), "-235.00");
    const HalfAxisTicks left = halfAxisTicks(100, HalfAxis{2, 50, -1}, -1);
    EXPECT_DOUBLE_EQ(left.ticks[1].position, 0);
    EXPECT_EQ(tickLabel(left.ticks[1].value), "-2.00");
}

TEST(TickLabels, PlacementFollowsTheCase)
{
    const PlotLayout a = computePlotLayout(ramp(0, 2), ramp(0, 235), 640, 480);
    EXPECT_DOUBLE_EQ(xTickLabelAt(a, 120).y, a.yZero - 4);
    const RealPosition leftOfAxis = yTickLabelAt(a, 200, true, 30);
    EXPECT_DOUBLE_EQ(leftOfAxis.x, a.xZero - 4 - 30);
    EXPECT_DOUBLE_EQ(leftOfAxis.y, 205);
    const auto origin = originLabelsAt(a, 6);
    EXPECT_DOUBLE_EQ(origin[0].x, a.xZero);
    EXPECT_DOUBLE_EQ(origin[0].y, a.yZero - 4);
    EXPECT_DOUBLE_EQ(origin[1].x, a.xZero - 4 - 6);
    EXPECT_DOUBLE_EQ(origin[1].y, a.yZero + 5);

    const PlotLayout c = computePlotLayout(ramp(0, -2), ramp(0, -235), 640, 480);
    EXPECT_DOUBLE_EQ(xTickLabelAt(c, 120).y, c.yZero + 14);
    EXPECT_DOUBLE_EQ(yTickLabelAt(c, 200, true, 30).x, c.xZero + 4);
    EXPECT_DOUBLE_EQ(yTickLabelAt(c, 200, true, 30).y, 195);
    EXPECT_DOUBLE_EQ(yTickLabelAt(c, 100, false, 30).y, 105);
}

TEST(FlatCurve, AnAllZeroAxisKeepsTheOriginInsideAndGetsNoTicks)
{
    const StepValues zero{};
    const PlotLayout p = computePlotLayout(zero, zero, 640, 480);
    EXPECT_TRUE(p.flatX);
    EXPECT_TRUE(p.flatY);
    EXPECT_EQ(p.titleCase, TitleCase::A);
    EXPECT_DOUBLE_EQ(p.xZero, 50);
    EXPECT_DOUBLE_EQ(p.xRight, 375);
    EXPECT_DOUBLE_EQ(p.yZero, 50);
    EXPECT_DOUBLE_EQ(p.yTop, 409);
    EXPECT_EQ(p.right.count + p.left.count + p.upper.count + p.lower.count, 0);

    // Only the stress flat: the strain axis is still divided.
    const PlotLayout q = computePlotLayout(ramp(0, 2), zero, 640, 480);
    EXPECT_FALSE(q.flatX);
    EXPECT_TRUE(q.flatY);
    EXPECT_GT(q.right.count, 0);
    EXPECT_EQ(q.upper.count, 0);
}

TEST(KeyPlanScale, WideSectionsScaleByBreadthOthersByDepth)
{
    EXPECT_DOUBLE_EQ(keyPlanScale(2000, 1000, 173, 120), 173.0 / 2000);
    EXPECT_DOUBLE_EQ(keyPlanScale(1500, 1000, 173, 120), 120.0 / 1000);
    EXPECT_DOUBLE_EQ(keyPlanScale(0, 1000, 173, 120), 120.0 / 1000);
    EXPECT_DOUBLE_EQ(keyPlanScale(1000, 0, 173, 120), 173.0 / 1000);
    EXPECT_DOUBLE_EQ(keyPlanScale(0, 0, 173, 120), 0);   // coincident positions
}

TEST(UltimatePoint, FirstOfTheLargestStresses)
{
    StepValues strain = ramp(0.1, 5.0);
    StepValues stress{};
    for (int j = 0; j < stepCount; ++j) stress[j] = 100;
    stress[11] = 235;
    stress[29] = 235;
    UltimatePoint u = ultimatePoint(strain, stress);
    EXPECT_EQ(u.step, 12);
    EXPECT_DOUBLE_EQ(u.stress, 235);
    EXPECT_DOUBLE_EQ(u.strainRatio, strain[11]);

    // Unloading only: the first point. Tension only: the stress closest to zero.
    u = ultimatePoint(strain, ramp(200, 10));
    EXPECT_EQ(u.step, 1);
    u = ultimatePoint(strain, ramp(-235, -5));
    EXPECT_EQ(u.step, 50);
    EXPECT_DOUBLE_EQ(u.stress, -5);
}

TEST(CaseNames, PathSplitsAtEitherSeparator)
{
    const CasePathParts windows = splitCasePath("C:\\SHIPS\\TANKER1.teB");
    EXPECT_EQ(windows.directory, "C:/SHIPS");   // either separator reaches the same directory
    EXPECT_EQ(windows.curveFileName, "TANKER1.teB");
    const CasePathParts unix = splitCasePath("/data/ships\\x/TANKER1.teA   ");
    EXPECT_EQ(unix.directory, "/data/ships/x");
    EXPECT_EQ(unix.curveFileName, "TANKER1.teA");
    EXPECT_EQ(splitCasePath("TANKER1.teA").directory, "");
    EXPECT_EQ(splitCasePath("/TANKER1.teA").directory, "/");
    EXPECT_EQ(splitCasePath("d/VERYLONGNAME.teA").curveFileName, "VERYLONGNAME");

    EXPECT_EQ(geometryFileName("TANKER1.teB"), "TANKER1.geo");
    EXPECT_EQ(shipName("TANKER1.teB"), "TANKER1");
    EXPECT_EQ(shipName("X.teA"), "X");
    EXPECT_EQ(shipName("te"), "");
}

TEST(CaseNames, ExtensionCheck)
{
    for (const char* good : {"TANKER1.teA", "T.TEA", "T.tea", "T.Txt", "T.GEO", "T.RES"})
        EXPECT_TRUE(checkExtension(good).passes) << good;
    const ExtensionCheck bad = checkExtension("TANKER1.ANA");
    EXPECT_FALSE(bad.passes);
    EXPECT_EQ(bad.expectedName, "TANKER1.teA");
    EXPECT_FALSE(checkExtension("NAME").passes);
    EXPECT_EQ(checkExtension("NAME").expectedName, "teME");
    EXPECT_FALSE(checkExtension("ABCDEFGHIJ.").passes);
}

TEST(CaseNames, ElementDigitsHaveLeadingZeros)
{
    EXPECT_EQ(elementListingName(7), "Element.007");
    EXPECT_EQ(elementListingName(42), "Element.042");
    EXPECT_EQ(elementImageName(123), "Elem123.bmp");
    EXPECT_EQ(elementImageName(600), "Elem600.bmp");
}

} // namespace
} // namespace tarnova
