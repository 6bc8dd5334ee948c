// The text layer: grid size, text window, position, colours, wrapping, scrolling and clearing.

#include "display/Display.hpp"
#include "display/TestHooks.hpp"

#include <gtest/gtest.h>

#include <string>

namespace tarnova {
namespace {

class TextGrid : public ::testing::Test {
protected:
    void SetUp() override { inspect::resetDisplay(1024, 768); }

    // The characters of one grid row between two columns (absolute).
    static std::string rowText(int row, int first, int last)
    {
        std::string out;
        for (int c = first; c <= last; ++c) out.push_back(inspect::textCell(row, c).ch);
        return out;
    }
    // Pixel of the upper-left corner of a cell (absolute, from 1).
    static int cellCornerPixel(int row, int column) { return inspect::pixelAt((column - 1) * 8, (row - 1) * 16); }
};

TEST_F(TextGrid, GridHoldsTheMessageRowsAndColumns)
{
    EXPECT_EQ(inspect::textRows(), 48);
    EXPECT_EQ(inspect::textColumns(), 128);
    inspect::resetDisplay(640, 400);
    EXPECT_EQ(inspect::textRows(), 25);
    EXPECT_EQ(inspect::textColumns(), 80);
    int top = 0, left = 0, bottom = 0, right = 0;
    getTextWindow(top, left, bottom, right);
    EXPECT_EQ(top, 1);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(bottom, 25);
    EXPECT_EQ(right, 80);
}

TEST_F(TextGrid, TextWindowSwapsReversedBoundsAndClips)
{
    int top = 0, left = 0, bottom = 0, right = 0;
    setTextWindow(24, 79, 21, 1);
    getTextWindow(top, left, bottom, right);
    EXPECT_EQ(top, 21);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(bottom, 24);
    EXPECT_EQ(right, 79);
    setTextWindow(0, -3, 100, 500);
    getTextWindow(top, left, bottom, right);
    EXPECT_EQ(top, 1);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(bottom, 48);
    EXPECT_EQ(right, 128);
}

TEST_F(TextGrid, PositionIsRelativeToTheWindowAndClamped)
{
    setTextWindow(21, 1, 24, 79);
    TextPosition previous = setTextPosition(9, 100);
    EXPECT_EQ(previous.row, 1);
    EXPECT_EQ(previous.column, 1);
    EXPECT_EQ(getTextPosition().row, 4);
    EXPECT_EQ(getTextPosition().column, 79);
    previous = setTextPosition(-2, 0);
    EXPECT_EQ(previous.row, 4);
    EXPECT_EQ(previous.column, 79);
    EXPECT_EQ(getTextPosition().row, 1);
    EXPECT_EQ(getTextPosition().column, 1);
}

TEST_F(TextGrid, WriteTextUsesItsColoursAndAdvances)
{
    setTextColour(5);
    setBackgroundColour(1);
    setTextWindow(21, 21, 24, 55);
    setTextPosition(2, 3);
    writeText("AB");
    const auto a = inspect::textCell(22, 23);
    EXPECT_EQ(a.ch, 'A');
    EXPECT_EQ(a.foreground, 5);
    EXPECT_EQ(a.background, 1);
    EXPECT_EQ(inspect::textCell(22, 24).ch, 'B');
    EXPECT_EQ(getTextPosition().row, 2);
    EXPECT_EQ(getTextPosition().column, 5);
    // The cell's pixels are the glyph in colour 5 on colour 1.
    int ink = 0;
    for (int y = 21 * 16; y < 22 * 16; ++y)
        for (int x = 22 * 8; x < 23 * 8; ++x) {
            const int p = inspect::pixelAt(x, y);
            EXPECT_TRUE(p == 5 || p == 1);
            ink += p == 5;
        }
    EXPECT_GT(ink, 8);
}

TEST_F(TextGrid, TextColoursFrom16To31ActAsMinus16AndOthersAreRefused)
{
    setTextColour(7);
    EXPECT_EQ(setTextColour(21), 7);
    writeText("X");
    EXPECT_EQ(inspect::textCell(1, 1).foreground, 5);
    EXPECT_EQ(setTextColour(32), 21);
    EXPECT_EQ(setTextColour(-1), 21);
    EXPECT_EQ(setTextColour(3), 21);
}

TEST_F(TextGrid, TextWrapsAtTheWindowEdgeAndScrollsInsideIt)
{
    setTextWindow(1, 1, 48, 128);
    setTextPosition(20, 1);
    writeText("above");
    setTextPosition(25, 1);
    writeText("below");
    setTextWindow(21, 1, 24, 10);
    writeText("0123456789ABC");
    EXPECT_EQ(rowText(21, 1, 10), "0123456789");
    EXPECT_EQ(rowText(22, 1, 3), "ABC");

    clearScreen(2);
    writeText("L1\nL2\nL3\nL4\nL5");
    EXPECT_EQ(rowText(21, 1, 2), "L2");
    EXPECT_EQ(rowText(22, 1, 2), "L3");
    EXPECT_EQ(rowText(23, 1, 2), "L4");
    EXPECT_EQ(rowText(24, 1, 2), "L5");
    EXPECT_EQ(rowText(20, 1, 5), "above");
    EXPECT_EQ(rowText(25, 1, 5), "below");
    EXPECT_EQ(getTextPosition().row, 4);

    // Filling the last cell does not scroll until another character follows.
    clearScreen(2);
    setTextPosition(4, 1);
    writeText("0123456789");
    EXPECT_EQ(rowText(24, 1, 10), "0123456789");
    EXPECT_EQ(getTextPosition().column, 10);
}

TEST_F(TextGrid, ClearScreenFillsOnlyItsArea)
{
    setColour(9);
    drawRectangle(3, 0, 0, 1023, 767);
    setBackgroundColour(3);
    setTextWindow(21, 1, 24, 79);
    clearScreen(2);
    EXPECT_EQ(cellCornerPixel(21, 1), 3);
    EXPECT_EQ(inspect::pixelAt(79 * 8 - 1, 24 * 16 - 1), 3);
    EXPECT_EQ(cellCornerPixel(20, 1), 9);
    EXPECT_EQ(cellCornerPixel(25, 1), 9);
    EXPECT_EQ(cellCornerPixel(21, 80), 9);

    setBackgroundColour(4);
    setViewport(100, 50, 199, 99);
    clearScreen(1);
    EXPECT_EQ(inspect::pixelAt(100, 50), 4);
    EXPECT_EQ(inspect::pixelAt(199, 99), 4);
    EXPECT_EQ(inspect::pixelAt(200, 99), 9);
    EXPECT_EQ(inspect::pixelAt(99, 50), 9);

    setBackgroundColour(0);
    clearScreen(0);
    EXPECT_EQ(inspect::pixelAt(0, 0), 0);
    EXPECT_EQ(inspect::pixelAt(1023, 767), 0);
}

TEST_F(TextGrid, CursorStateIsReturned)
{
    EXPECT_EQ(showTextCursor(0), 1);
    EXPECT_EQ(showTextCursor(1), 0);
}

} // namespace
} // namespace tarnova
