// The calculator's screen on the in-memory pane: its messages as they stand while a key is
// awaited, and the progress panel with its page break.

#include "StrakonScreen.hpp"

#include "cores.hpp"
#include "display/Backend.hpp"
#include "display/Display.hpp"
#include "display/TestHooks.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tarnova {
namespace {

// A window that answers every key with Enter and lets the test look at the pane meanwhile.
class WaitingBackend : public Backend {
public:
    std::function<void()> onKey;
    int keyCalls = 0;

    bool open(std::string_view, int&, int&) override { return true; }
    void run() override {}
    void changed() override {}
    int messageBox(std::string_view, std::string_view, int) override { return 1; }
    int nextKey(int& code) override
    {
        ++keyCalls;
        if (onKey)
            onKey();
        code = 0;
        return 13;
    }
    void waitForExit() override {}
    void programEnded(int) override {}
    void toggleFullScreen() override {}
    void windowCommand() override {}
    void textLine(std::string_view) override {}
};

// The characters of a text row, columns first to last (absolute, from 1).
std::string rowText(int row, int first, int last)
{
    std::string text;
    for (int column = first; column <= last; ++column)
        text += inspect::textCell(row, column).ch;
    return text;
}

int countColour(int index, int x1, int y1, int x2, int y2)
{
    int count = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            count += inspect::pixelAt(x, y) == index;
    return count;
}

class StrakonScreen : public testing::Test {
protected:
    void SetUp() override
    {
        inspect::resetDisplay(640, 480, &backend);
        loadPalette();
        loadFonts();
        selectFont("t'arial'h14w7e");
    }
    void TearDown() override { inspect::resetDisplay(640, 480, nullptr); }
    WaitingBackend backend;
};

// The two texts of a directory message are written one after the other; the text layer carries
// the second on to the next row at the window's edge.
struct ShortMessage {
    int left;
    const char* text;
    const char* prompt;
    const char* firstRow;
    const char* secondRow;
};

const ShortMessage shortMessages[] = {
    {21, "  Failed to get current directory", "       Press any key to continue ",
     "  Failed to get current directory  ", "     Press any key to continue "},
    {23, "  Failed to change to directory", "      Press any key to continue ",
     "  Failed to change to directory  ", "    Press any key to continue "},
    {23, " Failed to change to subdirectory", "    Press any key to continue ",
     " Failed to change to subdirectory", "    Press any key to continue "},
};

TEST_F(StrakonScreen, DirectoryMessagesRunOnAcrossTheWindowEdgeInColourFive)
{
    for (const ShortMessage& m : shortMessages) {
        SCOPED_TRACE(m.text);
        std::string first, second;
        int foreground = -1, background = -1;
        backend.onKey = [&] {
            first = rowText(21, m.left, 55);
            const int length = static_cast<int>(std::string(m.secondRow).size());
            second = rowText(22, m.left, m.left + length - 1);
            foreground = inspect::textCell(21, m.left + 3).foreground;
            background = inspect::textCell(21, m.left + 3).background;
        };
        setTextWindow(1, 1, 30, 80);
        setBackgroundColour(15);
        setTextColour(2);
        showShortMessage(m.left, m.text, m.prompt);

        EXPECT_EQ(first, m.firstRow);
        EXPECT_EQ(second, m.secondRow);
        EXPECT_EQ(foreground, 5);
        EXPECT_EQ(background, 0);
        // Cleared afterwards, the previous text window back, text colour 7 on 0.
        EXPECT_EQ(rowText(21, m.left, 55), std::string(56 - m.left, ' '));
        int top = 0, left = 0, bottom = 0, right = 0;
        getTextWindow(top, left, bottom, right);
        EXPECT_EQ(top * 1000 + left, 1001);
        EXPECT_EQ(bottom * 1000 + right, 30080);
        EXPECT_EQ(setTextColour(7), 7);
        EXPECT_EQ(setBackgroundColour(0), 0);
    }
}

TEST_F(StrakonScreen, PanelBoxesGoDownTheRightEdgeAndStartAgainAfterAPageBreak)
{
    const int w = 640, h = 480;
    ProgressPanel panel(w, h);
    panel.drawHead(TimeOfDay{14, 5, 9, 0});
    // Head box: filled in 1, framed in 11, texts in 11.
    EXPECT_EQ(inspect::pixelAt(w - 264, 20), 11);
    EXPECT_EQ(inspect::pixelAt(w - 40, 62), 11);
    EXPECT_EQ(inspect::pixelAt(w - 262, 22), 1);
    EXPECT_EQ(inspect::pixelAt(w - 265, 40), 0);
    EXPECT_GT(countColour(11, w - 257, 34, w - 120, 50), 20);

    // Boxes at 76, 132, ... 412; the eighth would start below h - 30 and goes to the top.
    int pageBreakInk = -1, pageBreakLeft = -1;
    backend.onKey = [&] {
        pageBreakInk = countColour(7, 0, h - 25, w - 1, h - 1);
        for (int x = w - 1; x >= 0; --x)
            if (countColour(7, x, h - 25, x, h - 1) > 0)
                pageBreakLeft = x;
    };
    for (int k = 1; k <= 7; ++k) {
        panel.boxStarted();
        panel.stepShown(1);
        panel.advance();
        panel.drawCase(k, TimeOfDay{15, 0, static_cast<std::int16_t>(k), 0});
        const int top = 20 + 56 * k;
        EXPECT_EQ(inspect::pixelAt(w - 264, top), 11) << k;
        EXPECT_EQ(inspect::pixelAt(w - 40, top + 42), 11) << k;
        EXPECT_GT(countColour(11, w - 257, top + 14, w - 150, top + 30), 20) << k;
        // The iteration box is gone.
        EXPECT_EQ(countColour(11, 40, h - 132, 145, h - 90), 0) << k;
    }
    EXPECT_EQ(backend.keyCalls, 0);

    panel.advance();
    EXPECT_EQ(backend.keyCalls, 1);
    EXPECT_GT(pageBreakInk, 50);
    // "Press any key to continue " starts at (paneWidth - 182) / 2.
    EXPECT_GE(pageBreakLeft, (w - 182) / 2);
    EXPECT_LE(pageBreakLeft, (w - 182) / 2 + 4);
    EXPECT_EQ(countColour(7, 0, h - 25, w - 1, h - 1), 0);   // erased after the key
    panel.drawCase(8, TimeOfDay{15, 1, 0, 0});
    EXPECT_EQ(inspect::pixelAt(w - 264, 20), 11);
    EXPECT_EQ(inspect::pixelAt(w - 40, 62), 11);
}

} // namespace
} // namespace tarnova
