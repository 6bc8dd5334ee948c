// Pixel geometry of the graphics layer: lines, rectangles, ellipses, single pixels, the viewport
// and the real-coordinate window.

#include "display/Display.hpp"
#include "display/TestHooks.hpp"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <utility>

namespace tarnova {
namespace {

using Pixels = std::set<std::pair<int, int>>;

class Geometry : public ::testing::Test {
protected:
    static constexpr int width = 120;
    static constexpr int height = 80;
    void SetUp() override { inspect::resetDisplay(width, height); }

    // Every pixel of the pane that is not background 0.
    static Pixels inked()
    {
        Pixels out;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (inspect::pixelAt(x, y) != 0) out.insert({x, y});
        return out;
    }
    static Pixels box(int x1, int y1, int x2, int y2)
    {
        Pixels out;
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x) out.insert({x, y});
        return out;
    }
};

TEST_F(Geometry, LineDrawsBothEndsAndOnePixelPerStep)
{
    setColour(5);
    moveTo(2, 3);
    lineToReal(9, 6);
    const Pixels p = inked();
    EXPECT_EQ(p.size(), 8u);
    EXPECT_TRUE(p.count({2, 3}));
    EXPECT_TRUE(p.count({9, 6}));
    for (int x = 2; x <= 9; ++x) {
        int inColumn = 0;
        for (int y = 0; y < height; ++y) inColumn += p.count({x, y}) ? 1 : 0;
        EXPECT_EQ(inColumn, 1) << "column " << x;
    }
    EXPECT_EQ(inspect::pixelAt(9, 6), 5);
    // The end became the current point.
    const PixelPoint previous = moveTo(0, 0);
    EXPECT_EQ(previous.x, 9);
    EXPECT_EQ(previous.y, 6);
}

TEST_F(Geometry, SteepAndDegenerateLines)
{
    setColour(3);
    moveTo(4, 4);
    lineToReal(4, 4);
    EXPECT_EQ(inked(), box(4, 4, 4, 4));
    lineToReal(6, 20);
    const Pixels p = inked();
    EXPECT_EQ(p.size(), 17u);       // one pixel per row from 4 to 20
    EXPECT_TRUE(p.count({6, 20}));
}

TEST_F(Geometry, RectanglesFillOrOutlineWithCornersInAnyOrder)
{
    const std::array<std::array<int, 4>, 4> orders = {{
        {10, 20, 30, 25}, {30, 25, 10, 20}, {10, 25, 30, 20}, {30, 20, 10, 25},
    }};
    for (const auto& c : orders) {
        inspect::resetDisplay(width, height);
        setColour(9);
        drawRectangle(3, c[0], c[1], c[2], c[3]);
        EXPECT_EQ(inked(), box(10, 20, 30, 25));

        inspect::resetDisplay(width, height);
        setColour(9);
        drawRectangle(2, c[0], c[1], c[2], c[3]);
        Pixels border = box(10, 20, 30, 25);
        for (const auto& p : box(11, 21, 29, 24)) border.erase(p);
        EXPECT_EQ(inked(), border);
    }
}

// Rows nothing has reached are left alone when cleared to 0: they must still be zero, and a
// pane made again (smaller, then larger) must not show what the old one held.
TEST_F(Geometry, ClearingAndRemakingThePaneLeaveNothingBehind)
{
    setColour(9);
    drawRectangle(3, 10, 20, 30, 25);
    clearScreen(0);
    EXPECT_EQ(inked(), Pixels{});

    setBackgroundColour(4);
    clearScreen(0);
    EXPECT_EQ(inked(), box(0, 0, width - 1, height - 1));
    for (int y = 0; y < height; ++y) EXPECT_EQ(inspect::pixelAt(width - 1, y), 4) << y;

    inspect::resetDisplay(width / 2, height / 2);
    setColour(9);
    drawRectangle(3, 0, 0, width / 2 - 1, height / 2 - 1);
    inspect::resetDisplay(width, height);
    EXPECT_EQ(inked(), Pixels{});
}

TEST_F(Geometry, FilledEllipseIsInscribedAndSymmetric)
{
    setColour(14);
    drawEllipseReal(3, 10, 10, 30, 20);
    const Pixels p = inked();
    // Touches the middle of every side of its box, stays inside it, misses the corners.
    for (const auto& q : {std::pair{20, 10}, {20, 20}, {10, 15}, {30, 15}}) EXPECT_TRUE(p.count(q));
    for (const auto& [x, y] : p) {
        EXPECT_TRUE(x >= 10 && x <= 30 && y >= 10 && y <= 20);
        EXPECT_TRUE(p.count({40 - x, y}) && p.count({x, 30 - y})) << x << "," << y;
    }
    EXPECT_FALSE(p.count({10, 10}));
    EXPECT_FALSE(p.count({30, 20}));
    // Rows are solid.
    for (int x = 10; x <= 30; ++x) EXPECT_TRUE(p.count({x, 15}));
}

TEST_F(Geometry, EllipseOutlineIsTheRimOfTheFilledOne)
{
    setColour(14);
    drawEllipseReal(3, 10, 10, 40, 30);
    const Pixels filled = inked();
    inspect::resetDisplay(width, height);
    setColour(14);
    drawEllipseReal(2, 10, 10, 40, 30);
    const Pixels outline = inked();
    EXPECT_LT(outline.size(), filled.size());
    for (const auto& q : outline) EXPECT_TRUE(filled.count(q));
    EXPECT_FALSE(outline.count({25, 20}));
    for (const auto& q : {std::pair{25, 10}, {25, 30}, {10, 20}, {40, 20}}) EXPECT_TRUE(outline.count(q));
    // Every rim pixel has a neighbour outside the filled ellipse.
    for (const auto& [x, y] : outline) {
        const bool rim = !filled.count({x - 1, y}) || !filled.count({x + 1, y}) || !filled.count({x, y - 1})
                      || !filled.count({x, y + 1});
        EXPECT_TRUE(rim) << x << "," << y;
    }
}

TEST_F(Geometry, OnePixelBoxSetsOnePixel)
{
    for (int fill : {2, 3}) {
        inspect::resetDisplay(width, height);
        setColour(6);
        drawEllipseReal(fill, 7, 9, 7, 9);
        EXPECT_EQ(inked(), box(7, 9, 7, 9));
    }
}

TEST_F(Geometry, SetPixelRealReturnsThePreviousIndex)
{
    setColour(4);
    EXPECT_EQ(setPixelReal(5, 5), 0);
    setColour(9);
    EXPECT_EQ(setPixelReal(5, 5), 4);
    EXPECT_EQ(inspect::pixelAt(5, 5), 9);
    EXPECT_EQ(setPixelReal(-1, 5), -1);
    EXPECT_EQ(setPixelReal(width, 5), -1);
    EXPECT_EQ(inked().size(), 1u);
}

TEST_F(Geometry, ViewportClipsAndOffsetsIntegerCoordinates)
{
    setViewport(29, 19, 10, 10);    // reversed corners are swapped
    setColour(2);
    drawRectangle(3, -5, -5, 200, 200);
    EXPECT_EQ(inked(), box(10, 10, 29, 19));

    inspect::resetDisplay(width, height);
    setViewport(10, 10, 29, 19);
    setColour(2);
    drawRectangle(3, 0, 0, 1, 2);
    EXPECT_EQ(inked(), box(10, 10, 11, 12));
    moveTo(0, 5);
    lineToReal(100, 5);             // clipped at the viewport's right edge
    const Pixels p = inked();
    EXPECT_TRUE(p.count({29, 15}));
    EXPECT_FALSE(p.count({30, 15}));
}

TEST_F(Geometry, RealWindowMapsOntoTheViewportWithYUp)
{
    setViewport(10, 10, 110, 60);   // 100 x 50 between its bounds
    ASSERT_TRUE(setRealWindow(true, 0, 0, 1000, 500));
    setColour(1);
    setPixelReal(0, 0);
    setPixelReal(1000, 500);
    EXPECT_EQ(inspect::pixelAt(10, 60), 1);     // (x1, y1) lower-left
    EXPECT_EQ(inspect::pixelAt(110, 10), 1);    // (x2, y2) upper-right

    // Halves round away from zero: 5 -> 0.5 -> 1, 4.99 -> 0.
    setColour(2);
    setPixelReal(5, 250);
    setPixelReal(24.99, 250);
    EXPECT_EQ(inspect::pixelAt(11, 35), 2);
    EXPECT_EQ(inspect::pixelAt(12, 35), 2);
    // y = 5 -> row 0.5 -> 1, inverted -> 49.
    setColour(3);
    setPixelReal(0, 5);
    EXPECT_EQ(inspect::pixelAt(10, 59), 3);
}

TEST_F(Geometry, RealWindowWithYDownAndReversedPairs)
{
    setViewport(10, 10, 110, 60);
    ASSERT_TRUE(setRealWindow(false, 1000, 500, 0, 0));
    setColour(1);
    setPixelReal(0, 0);
    setPixelReal(1000, 500);
    EXPECT_EQ(inspect::pixelAt(10, 10), 1);
    EXPECT_EQ(inspect::pixelAt(110, 60), 1);
    drawRectangleReal(2, 100, 100, 300, 200);
    EXPECT_EQ(inspect::pixelAt(20, 20), 1);
    EXPECT_EQ(inspect::pixelAt(40, 30), 1);
    EXPECT_EQ(inspect::pixelAt(30, 25), 0);
}

TEST_F(Geometry, EmptyRealRangeIsRefusedAndKeepsTheMapping)
{
    setViewport(0, 0, 100, 50);
    ASSERT_TRUE(setRealWindow(false, 0, 0, 10, 5));
    EXPECT_FALSE(setRealWindow(true, 3, 0, 3, 5));
    EXPECT_FALSE(setRealWindow(true, 0, 2, 10, 2));
    setColour(7);
    setPixelReal(1, 1);
    EXPECT_EQ(inspect::pixelAt(10, 10), 7);
}

TEST_F(Geometry, FarCoordinatesAreClippedNotWalked)
{
    setColour(8);
    moveTo(-1000000000, 40);
    lineToReal(1.0e12, 40);
    EXPECT_EQ(inked(), box(0, 40, width - 1, 40));
    drawEllipseReal(3, -1.0e15, -1.0e15, 1.0e15, 1.0e15);
    EXPECT_EQ(inked().size(), static_cast<std::size_t>(width * height));
}

} // namespace
} // namespace tarnova
