// Pickara's screens on the in-memory pane: the section drawn as numbers at their places on a
// white ground, on 640 x 480 and 1024 x 768 panes, and its menu.

#include "chooserLayout.hpp"
#include "chooserScreen.hpp"

#include "cores.hpp"
#include "display/Backend.hpp"
#include "display/Display.hpp"
#include "display/TestHooks.hpp"
#include "utilPickara.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tarnova::pickara {
namespace {

// Pixels of that colour inside the pane rectangle (inclusive).
int countColour(int index, int x1, int y1, int x2, int y2)
{
    int count = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) count += inspect::pixelAt(x, y) == index;
    return count;
}

class PickaraScreen : public testing::TestWithParam<std::pair<int, int>> {
protected:
    void SetUp() override
    {
        width = GetParam().first;
        height = GetParam().second;
        inspect::resetDisplay(width, height);
        loadPalette();
        loadFonts();
        selectFont("t'arial'h16w10e");
    }
    int width = 0;
    int height = 0;
};

TEST_P(PickaraScreen, NumbersStandAtTheirPointsOnAWhiteGround)
{
    // Two elements far apart: 1 at the section origin, 2 at its top right.
    const double x[] = {0, 20000};
    const double y[] = {0, 10000};
    const SectionScale fit = fitSection(x, y, 2, width, height);
    double sx[2], sy[2];
    for (int i = 0; i < 2; ++i) {
        const ScreenPoint p = screenPoint(fit, x[i], y[i]);
        sx[i] = p.x;
        sy[i] = p.y;
    }
    drawSection(2, sx, sy, width, height);
    const PixelPlace offset = numberOffset(width, height);

    EXPECT_EQ(inspect::pixelAt(1, 1), 15);
    EXPECT_EQ(inspect::pixelAt(width - 2, height - 2), 15);
    for (int i = 0; i < 2; ++i) {
        // "(I4)": three blanks, then the digit, whose ink starts right of the corner.
        const int left = static_cast<int>(sx[i]) + offset.x;
        const int top = static_cast<int>(sy[i]) + offset.y;
        SCOPED_TRACE(i + 1);
        EXPECT_GT(countColour(1, left, top, left + 40, top + 18), 10);
        EXPECT_EQ(countColour(1, left - 10, top - 10, left + 10, top - 1), 0);
    }
}

TEST_P(PickaraScreen, CoincidentSectionDrawsEveryNumberAtTheOrigin)
{
    std::vector<double> x(maxElements, 300.0), y(maxElements, 300.0);
    const SectionScale fit = fitSection(x.data(), y.data(), maxElements, width, height);
    std::vector<double> sx(maxElements), sy(maxElements);
    for (int i = 0; i < maxElements; ++i) {
        const ScreenPoint p = screenPoint(fit, x[i], y[i]);
        sx[i] = p.x;
        sy[i] = p.y;
    }
    drawSection(maxElements, sx.data(), sy.data(), width, height);
    const PixelPlace offset = numberOffset(width, height);
    const int left = offset.x;
    const int top = static_cast<int>(fit.base) + offset.y;
    const int inBox = countColour(1, left, top, left + 40, top + 18);
    EXPECT_GT(inBox, 10);
    EXPECT_EQ(countColour(1, 0, 0, width - 1, height - 1), inBox);
}

// A window whose every key is Enter; before answering it notes the message rows 21 and 22.
class NotingBackend : public Backend {
public:
    std::string rows[2];
    int background = -1, foreground = -1;

    bool open(std::string_view, int&, int&) override { return true; }
    void run() override {}
    void changed() override {}
    int messageBox(std::string_view, std::string_view, int) override { return 1; }
    int nextKey(int& code) override
    {
        for (int r = 0; r < 2; ++r) {
            rows[r].clear();
            for (int column = 23; column <= 55; ++column)
                rows[r] += inspect::textCell(21 + r, column).ch;
        }
        background = inspect::textCell(21, 25).background;
        foreground = inspect::textCell(21, 25).foreground;
        code = 0;
        return 13;
    }
    void waitForExit() override {}
    void programEnded(int) override {}
    void toggleFullScreen() override {}
    void windowCommand() override {}
    void textLine(std::string_view) override {}
};

TEST(PickaraMessage, DirectoryMessageStandsInColourFiveOnBlackAfterTheSection)
{
    NotingBackend backend;
    inspect::resetDisplay(640, 480, &backend);
    loadPalette();
    // The section leaves background 15 in force when the end sequence shows its message.
    const double x[] = {0}, y[] = {0};
    drawSection(1, x, y, 640, 480);
    showShortMessage(23, "  Failed to change to directory", "      Press any key to continue ");
    inspect::resetDisplay(640, 480, nullptr);

    // Written one after the other: the prompt's first two blanks end row 21.
    EXPECT_EQ(backend.rows[0], "  Failed to change to directory  ");
    EXPECT_EQ(backend.rows[1], "    Press any key to continue    ");
    EXPECT_EQ(backend.foreground, 5);
    EXPECT_EQ(backend.background, 0);
}

TEST(PickaraMenu, HasWindowAndFullScreenButNoExit)
{
    inspect::resetDisplay(640, 480);
    {
        std::lock_guard<std::mutex> guard(displayState().mutex);
        displayState().menuBar.clear();
    }
    ASSERT_TRUE(menuSetup());
    std::vector<std::pair<std::string, MenuHandler>> items;
    {
        std::lock_guard<std::mutex> guard(displayState().mutex);
        for (const MenuEntry& menu : displayState().menuBar) {
            items.emplace_back(menu.text, menu.handler);
            for (const MenuEntry& item : menu.items) items.emplace_back(item.text, item.handler);
        }
    }
    const std::vector<std::pair<std::string, MenuHandler>> expected = {
        {"&Window", &windowCommand}, {"&Full Screen  Alt+Enter", &fullScreenCommand}};
    EXPECT_EQ(items, expected);
}

INSTANTIATE_TEST_SUITE_P(Panes, PickaraScreen,
                         testing::Values(std::make_pair(640, 480), std::make_pair(1024, 768)),
                         [](const auto& info) {
                             return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

} // namespace
} // namespace tarnova::pickara
