// Pickara's pure rules: the argument's parts and the extension check, the fitting of the section
// onto 640 x 480 and 1024 x 768 panes, and the places of everything drawn.

#include "chooserLayout.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include <vector>

namespace tarnova::pickara {
namespace {

struct NameCase {
    const char* argument;
    const char* directory;
    const char* curveFile;
    const char* expected;
    bool passes;
};

TEST(PickaraNames, ArgumentSplitsAtLastSeparatorOfEitherKind)
{
    const NameCase cases[] = {
        {"C:\\SHIPS\\TANKER1.teB", "C:/SHIPS", "TANKER1.teB", "TANKER1.teB", true},
        {"/ships/TANKER1.teB", "/ships", "TANKER1.teB", "TANKER1.teB", true},
        {"/ships\\old/TANKER.teA", "/ships/old", "TANKER.teA", "TANKER.teA", true},
        {"C:\\ships/old\\TANKER.teA", "C:/ships/old", "TANKER.teA", "TANKER.teA", true},
        {"TANKER.teA", "", "TANKER.teA", "TANKER.teA", true},          // no directory
        {"/TANKER.teA", "/", "TANKER.teA", "TANKER.teA", true},        // the root itself
        {"/a/TANKER.TEA   ", "/a", "TANKER.TEA", "TANKER.teA", true},   // trailing blanks
    };
    for (const NameCase& c : cases) {
        const CaseNames names = splitCasePath(c.argument);
        EXPECT_EQ(names.caseDirectory, c.directory) << c.argument;
        EXPECT_EQ(names.curveFileName, c.curveFile) << c.argument;
        EXPECT_EQ(names.expectedName, c.expected) << c.argument;
        EXPECT_EQ(names.extensionPasses, c.passes) << c.argument;
    }
}

TEST(PickaraNames, ExtensionPassesOnFirstLetterTOrElseSecondLetterE)
{
    const NameCase cases[] = {
        {"C:\\SHIPS\\TANKER1.ANA", "C:\\SHIPS", "TANKER1.ANA", "TANKER1.teA", false},
        {"/s/TANKER1.GEO", "/s", "TANKER1.GEO", "TANKER1.teO", true},   // second letter E
        {"/s/TANKER1.txt", "/s", "TANKER1.txt", "TANKER1.tet", true},   // first letter t
        {"/s/TANKER1.dat", "/s", "TANKER1.dat", "TANKER1.tet", false},
        {"/s/CASE", "/s", "CASE", "teSE", false},                       // no dot: letters 1 and 2
        {"/s/CASE.", "/s", "CASE.", "CASE.", false},                    // nothing after the dot
        // Cut to twelve characters: the dot is gone, and the second letter E passes.
        {"/s/VERYLONGCASENAME.teA", "/s", "VERYLONGCASE", "teRYLONGCASE", true},
        {"/s/ABCDEFGHIJ.t", "/s", "ABCDEFGHIJ.t", "ABCDEFGHIJ.t", true},  // "e" falls past 12
    };
    for (const NameCase& c : cases) {
        const CaseNames names = splitCasePath(c.argument);
        EXPECT_EQ(names.curveFileName, c.curveFile) << c.argument;
        EXPECT_EQ(names.expectedName, c.expected) << c.argument;
        EXPECT_EQ(names.extensionPasses, c.passes) << c.argument;
    }
}

struct PaneLayout {
    int width, height;
    PixelPlace wait, reading, offset;
    Rectangle section, prompt, promptReal;
    double base, widthTarget;
};

TEST(PickaraLayout, PlacesScaleFromTheNominalScreen)
{
    const PaneLayout panes[] = {
        {640, 480, {220, 120}, {240, 360}, {30, 50}, {0, 0, 639, 430}, {0, 420, 639, 479},
         {10, 1, 630, 50}, 350.0, 560.0},
        {1024, 768, {412, 192}, {432, 576}, {48, 80}, {0, 0, 1023, 718}, {0, 708, 1023, 767},
         {10, 1, 1014, 50}, 350.0 * 767.0 / 479.0, 560.0 * 1023.0 / 639.0},
    };
    for (const PaneLayout& p : panes) {
        SCOPED_TRACE(testing::Message() << p.width << " x " << p.height);
        const PixelPlace wait = waitMessagePlace(p.width, p.height);
        EXPECT_EQ(wait.x, p.wait.x);
        EXPECT_EQ(wait.y, p.wait.y);
        const PixelPlace reading = readingMessagePlace(p.width, p.height);
        EXPECT_EQ(reading.x, p.reading.x);
        EXPECT_EQ(reading.y, p.reading.y);
        const PixelPlace offset = numberOffset(p.width, p.height);
        EXPECT_EQ(offset.x, p.offset.x);
        EXPECT_EQ(offset.y, p.offset.y);
        const Rectangle section = sectionViewport(p.width, p.height);
        EXPECT_EQ(std::vector<int>({section.x1, section.y1, section.x2, section.y2}),
                  std::vector<int>({p.section.x1, p.section.y1, p.section.x2, p.section.y2}));
        const Rectangle prompt = promptViewport(p.width, p.height);
        EXPECT_EQ(std::vector<int>({prompt.x1, prompt.y1, prompt.x2, prompt.y2}),
                  std::vector<int>({p.prompt.x1, p.prompt.y1, p.prompt.x2, p.prompt.y2}));
        const Rectangle real = promptRealWindow(p.width);
        EXPECT_EQ(std::vector<int>({real.x1, real.y1, real.x2, real.y2}),
                  std::vector<int>({p.promptReal.x1, p.promptReal.y1, p.promptReal.x2,
                                    p.promptReal.y2}));

        // A tall section is fitted by its height, a wide one by its width; base is the same.
        const double tallX[] = {0, 100, 40};
        const double tallY[] = {0, 80, 10};
        const SectionScale tall = fitSection(tallX, tallY, 3, p.width, p.height);
        EXPECT_TRUE(tall.fittedByHeight);
        EXPECT_EQ(tall.base, p.base);
        EXPECT_EQ(tall.scale, p.base / 80.0);
        const double wideX[] = {0, 200};
        const double wideY[] = {0, 80};
        const SectionScale wide = fitSection(wideX, wideY, 2, p.width, p.height);
        EXPECT_FALSE(wide.fittedByHeight);
        EXPECT_EQ(wide.scale, p.widthTarget / 200.0);
        const ScreenPoint corner = screenPoint(wide, 200, 80);
        EXPECT_EQ(corner.x, 200 * (p.widthTarget / 200.0));
        EXPECT_EQ(corner.y, p.base - 80 * (p.widthTarget / 200.0));
    }
}

TEST(PickaraLayout, WorkedFitsOnTheNominalPane)
{
    // 100 wide, 80 high: 1.5 x 80 >= 100, fitted by height; the top right corner lands at the
    // top of the pane.
    const double x1[] = {0, 100};
    const double y1[] = {0, 80};
    const SectionScale byHeight = fitSection(x1, y1, 2, 640, 480);
    EXPECT_EQ(byHeight.scale, 4.375);
    EXPECT_EQ(screenPoint(byHeight, 100, 80).x, 437.5);
    EXPECT_EQ(screenPoint(byHeight, 100, 80).y, 0.0);
    EXPECT_EQ(screenPoint(byHeight, 0, 0).y, 350.0);
    // 1.5 x height equal to the width still fits by height.
    const double x2[] = {0, 120};
    EXPECT_TRUE(fitSection(x2, y1, 2, 640, 480).fittedByHeight);
    // 200 wide, 80 high: fitted by width.
    const double x3[] = {0, 200};
    const SectionScale byWidth = fitSection(x3, y1, 2, 640, 480);
    EXPECT_EQ(byWidth.scale, 2.8);
    EXPECT_EQ(screenPoint(byWidth, 200, 80).x, 560.0);
    EXPECT_DOUBLE_EQ(screenPoint(byWidth, 200, 80).y, 126.0);
    // The points are not shifted by the smallest x: a negative x lands left of the pane.
    const double x4[] = {-50, 150};
    EXPECT_LT(screenPoint(fitSection(x4, y1, 2, 640, 480), -50, 0).x, 0.0);
}

TEST(PickaraLayout, SectionWithoutExtentLandsOnItsOriginWithoutDividingByZero)
{
    std::vector<double> x(600, 12.5), y(600, 12.5);
    for (int pane : {0, 1}) {
        const int width = pane ? 1024 : 640;
        const int height = pane ? 768 : 480;
        const SectionScale fit = fitSection(x.data(), y.data(), 600, width, height);
        EXPECT_EQ(fit.scale, 0.0);
        const ScreenPoint point = screenPoint(fit, 12.5, 12.5);
        EXPECT_EQ(point.x, 0.0);
        EXPECT_EQ(point.y, fit.base);
    }
    const double one[] = {3000.0};
    EXPECT_EQ(fitSection(one, one, 1, 640, 480).scale, 0.0);
    // Only the width collapses: the height still fits.
    const double column[] = {7, 7, 7};
    const double heights[] = {0, 10, 20};
    EXPECT_EQ(fitSection(column, heights, 3, 640, 480).scale, 17.5);
}

TEST(PickaraLayout, FarPointsAreHeldWithinPixelRange)
{
    const double x[] = {99999999.0, 99999999.1};
    const double y[] = {0, 0.1};
    const SectionScale fit = fitSection(x, y, 2, 1024, 768);
    const ScreenPoint point = screenPoint(fit, x[0], y[0]);
    EXPECT_EQ(point.x, 32767.0);
    EXPECT_LE(point.y, 32767.0);
}

TEST(PickaraLayout, RangeTextKeepsTheBlankOfTheThreeDigitField)
{
    EXPECT_EQ(elementRangeText(120), "(1 - 120)");
    EXPECT_EQ(elementRangeText(17), "(1 -  17)");
    EXPECT_EQ(elementRangeText(5), "(1 -   5)");
    EXPECT_EQ(elementRangeText(600), "(1 - 600)");
}

TEST(PickaraView, ZoomKeepsThePointerFixedAndZoomOneIsTheScreenAsDrawn)
{
    const SectionView none;
    const ScreenPoint same = viewedPlace(none, 123.5, 456.25);
    EXPECT_EQ(same.x, 123.5);  // exactly: zoom 1 draws where the screen was drawn
    EXPECT_EQ(same.y, 456.25);

    const SectionView in = zoomedAbout(none, 300, 200, 3);
    EXPECT_DOUBLE_EQ(in.zoom, zoomStep * zoomStep * zoomStep);
    const ScreenPoint fixed = viewedPlace(in, 300, 200);
    EXPECT_DOUBLE_EQ(fixed.x, 300);
    EXPECT_DOUBLE_EQ(fixed.y, 200);
    // Zooming about another point keeps that one fixed in turn.
    const SectionView again = zoomedAbout(in, 50, 60, 1);
    const ScreenPoint before = viewedPlace(in, 10, 20), after = viewedPlace(again, 10, 20);
    EXPECT_NEAR(after.x - 50, (before.x - 50) * zoomStep, 1e-9);
    EXPECT_NEAR(after.y - 60, (before.y - 60) * zoomStep, 1e-9);

    // Back out to zoom 1, or dragged at zoom 1: the screen as drawn, whatever the shift was.
    const SectionView out = zoomedAbout(dragged(in, 40, -25), 10, 10, -3);
    EXPECT_EQ(out.zoom, 1.0);
    EXPECT_EQ(out.shiftX, 0.0);
    EXPECT_EQ(out.shiftY, 0.0);
    EXPECT_EQ(dragged(none, 30, 30).shiftX, 0.0);
    EXPECT_EQ(zoomedAbout(none, 0, 0, -2).zoom, 1.0);
    EXPECT_EQ(zoomedAbout(none, 0, 0, 100).zoom, largestZoom);
    const SectionView moved = dragged(in, 40, -25);
    EXPECT_DOUBLE_EQ(moved.shiftX, in.shiftX + 40);
    EXPECT_DOUBLE_EQ(moved.shiftY, in.shiftY - 25);
}

// A number keeps its size as the view zooms: its digits' centre is what moves with the section,
// so the number under the pointer stays under it, within the pixel its drawing is rounded to,
// through any run of notches (the earlier anchor, its upper-left corner, drifted away from it).
TEST(PickaraView, NumberUnderThePointerStaysUnderItThroughAnyNotches)
{
    const double cornerX = 410, cornerY = 233;   // "  107" at zoom 1: digits centre 20, 7.5 from it
    const double centreX = 20, centreY = 7.5;
    const double pointerX = cornerX + centreX, pointerY = cornerY + centreY;
    const std::vector<std::vector<int>> runs = {
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {3, -1, 2, -2, 5}, {10, -4, 1, 1, -1}, {30, -2, 3}, {2, -5, 4}};
    for (const std::vector<int>& run : runs) {
        SectionView view;
        for (const int notches : run) {
            view = zoomedAbout(view, pointerX, pointerY, notches);
            const ScreenPoint drawn = viewedNumberPlace(view, cornerX, cornerY, centreX, centreY);
            // Drawn at the rounded point, as the display layer draws text.
            EXPECT_LE(std::abs(std::round(drawn.x) + centreX - pointerX), 1.0) << view.zoom;
            EXPECT_LE(std::abs(std::round(drawn.y) + centreY - pointerY), 1.0) << view.zoom;
        }
    }
    // Zoom 1 draws every number where the screen drew it.
    const ScreenPoint same = viewedNumberPlace(SectionView{}, cornerX, cornerY, centreX, centreY);
    EXPECT_EQ(same.x, cornerX);
    EXPECT_EQ(same.y, cornerY);
}

TEST(PickaraView, NumberUnderThePointerIsTheNearestDrawnBoxHoldingIt)
{
    // 1 and 2 overlap; 3 stands alone.
    const NumberBox boxes[] = {{100, 50, 116, 65}, {110, 50, 126, 65}, {300, 300, 324, 315}};
    struct Case {
        double x, y;
        int element;
    };
    const Case cases[] = {
        {101, 55, 1}, {115, 55, 2}, {112, 55, 1}, {113, 55, 2}, {118, 55, 2},  // nearest centre; a tie to the later drawn
        {312, 310, 3}, {324, 310, 0}, {312, 315, 0},              // right and bottom edges are outside
        {200, 200, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(numberUnder(boxes, 3, c.x, c.y), c.element) << c.x << ',' << c.y;
    EXPECT_EQ(numberUnder(boxes, 0, 101, 55), 0);
}

} // namespace
} // namespace tarnova::pickara
