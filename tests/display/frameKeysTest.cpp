// The frame (configuration, menu tree, status line), the key queue and the platform services.

#include "Utilitar.hpp"
#include "display/Backend.hpp"
#include "display/Display.hpp"
#include "display/TestHooks.hpp"
#include "fkey.hpp"
#include "records/FixedText.hpp"
#include "utilRun.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <utility>

namespace tarnova {
namespace {

// A backend that hands out scripted keys and records what it was shown.
class ScriptedBackend : public Backend {
public:
    std::deque<std::pair<int, int>> keys;       // (character, code)
    int keyCalls = 0;
    std::vector<std::string> lines;
    std::vector<std::string> boxes;

    bool open(std::string_view, int&, int&) override { return true; }
    void run() override {}
    void changed() override {}
    int messageBox(std::string_view text, std::string_view caption, int) override
    {
        boxes.push_back(std::string(caption) + "|" + std::string(text));
        return 1;
    }
    int nextKey(int& code) override
    {
        ++keyCalls;
        auto [ch, c] = keys.front();
        keys.pop_front();
        code = c;
        return ch;
    }
    void waitForExit() override {}
    void programEnded(int) override {}
    void toggleFullScreen() override {}
    void windowCommand() override {}
    void textLine(std::string_view line) override { lines.emplace_back(line); }
};

class Frame : public ::testing::Test {
protected:
    ScriptedBackend backend;
    void SetUp() override { inspect::resetDisplay(1024, 768, &backend); }
    void TearDown() override { inspect::resetDisplay(1024, 768, nullptr); }
};

TEST_F(Frame, DefaultConfigurationIsAcceptedAndReadBack)
{
    WindowConfig config;
    std::strcpy(config.title, "Run");
    ASSERT_TRUE(configureWindow(config));
    EXPECT_EQ(config.width, 1024);
    EXPECT_EQ(config.height, 768);
    EXPECT_EQ(config.textColumns, 128);
    EXPECT_EQ(config.textRows, 48);
    EXPECT_EQ(displayState().title, "Run");
    // The values the layer filled in are its own choice: handing them back is accepted.
    const WindowConfig filled = config;
    EXPECT_TRUE(configureWindow(config));
    EXPECT_EQ(config.fontSize, filled.fontSize);
    EXPECT_EQ(config.width, 1024);
}

TEST_F(Frame, RefusedFieldsBecomeDefaultsAndTheRetryStands)
{
    WindowConfig config;
    config.width = 800;
    config.textRows = 25;
    config.colourCount = 256;
    std::strcpy(config.title, "Element Behaviour");
    EXPECT_FALSE(configureWindow(config));
    EXPECT_EQ(config.width, -1);
    EXPECT_EQ(config.textRows, -1);
    EXPECT_EQ(config.colourCount, 256);
    ASSERT_TRUE(configureWindow(config));
    EXPECT_EQ(config.width, 1024);
    EXPECT_EQ(config.textRows, 48);
    EXPECT_EQ(displayState().title, "Element Behaviour");
}

TEST_F(Frame, MenuSetupBuildsTheWindowMenuWithExit)
{
    displayState().menuBar.clear();
    ASSERT_TRUE(menuSetup());
    const auto& bar = displayState().menuBar;
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_EQ(bar[0].text, "&Window");
    EXPECT_EQ(bar[0].flags, 4);
    EXPECT_EQ(bar[0].handler, &windowCommand);
    ASSERT_EQ(bar[0].items.size(), 2u);
    EXPECT_EQ(bar[0].items[0].text, "&Full Screen  Alt+Enter");
    EXPECT_EQ(bar[0].items[0].flags, 32);
    EXPECT_EQ(bar[0].items[0].handler, &fullScreenCommand);
    EXPECT_EQ(bar[0].items[1].text, "E&xit");
    resetRequests();
    bar[0].items[1].handler(false);
    bar[0].items[1].handler(false);
    EXPECT_EQ(exitRequested.load(), 1);
    resetRequests();

    EXPECT_TRUE(appendMenuItem(5, 4, "&Help", nullptr));      // beyond the last: a new menu
    EXPECT_EQ(displayState().menuBar.size(), 2u);
    EXPECT_FALSE(appendMenuItem(0, 4, "&None", nullptr));
}

TEST_F(Frame, StatusTextsAndExitBehaviourAreKept)
{
    setStatusText("Finished  ", 5);
    EXPECT_EQ(displayState().statusTexts[5], "Finished  ");
    setExitBehaviour(2);
    EXPECT_EQ(displayState().exitBehaviour, 2);
    setExitBehaviour(7);
    EXPECT_EQ(displayState().exitBehaviour, 2);
}

TEST_F(Frame, ExtendedKeyGivesZeroThenItsCodeWithoutAnotherKey)
{
    backend.keys = {{'a', 0}, {0, fkey::up}, {13, 0}};
    EXPECT_EQ(readKey(), 'a');
    EXPECT_EQ(readKey(), 0);
    EXPECT_EQ(backend.keyCalls, 2);
    EXPECT_EQ(readKey(), fkey::up);
    EXPECT_EQ(backend.keyCalls, 2);
    EXPECT_EQ(readKey(), fkey::enter);
    EXPECT_EQ(backend.keyCalls, 3);
}

TEST_F(Frame, TextWindowLinesAndMessageBoxesReachTheBackend)
{
    setTextWindow(21, 1, 24, 79);
    setTextPosition(1, 28);
    writeText("TANKER1.geo  not found");
    setTextPosition(4, 28);
    writeText("Press any key to continue ");
    EXPECT_EQ(showMessageBox("CALCULATIONS FINISHED", "CALCULATIONS", 0), 1);
    ASSERT_EQ(backend.lines.size(), 2u);
    EXPECT_EQ(backend.lines[0], "TANKER1.geo  not found");
    EXPECT_EQ(backend.lines[1], "Press any key to continue");
    ASSERT_EQ(backend.boxes.size(), 1u);
    EXPECT_EQ(backend.boxes[0], "CALCULATIONS|CALCULATIONS FINISHED");
}

TEST(Platform, ArgumentsArePaddedAndTheirLengthStaysInTheBuffer)
{
    inspect::setArguments({"/usr/bin/Strakon", "C:\\SHIPS\\TANKER1.ANA"});
    FixedText path(255);
    EXPECT_EQ(getArgument(1, path), 20);
    EXPECT_EQ(path.trimmed(), "C:\\SHIPS\\TANKER1.ANA");
    EXPECT_EQ(path.length(), 255u);
    FixedText shortBuffer(8);
    EXPECT_EQ(getArgument(1, shortBuffer), 8);
    EXPECT_EQ(shortBuffer.view(), "C:\\SHIPS");
    EXPECT_EQ(getArgument(2, path), 0);
    EXPECT_EQ(path.trimmedLength(), 0u);
    inspect::setArguments({});
}

TEST(Platform, DirectoryChangesAndReadsBack)
{
    FixedText start(255);
    const int n = getCurrentDirectory(start);
    ASSERT_GT(n, 0);
    const auto temp = std::filesystem::temp_directory_path();
    EXPECT_TRUE(changeDirectory(temp.string() + "   "));
    FixedText now(255);
    EXPECT_EQ(std::filesystem::path(std::string(now.view().substr(0, getCurrentDirectory(now)))),
              std::filesystem::canonical(temp));
    FixedText tiny(2);
    EXPECT_EQ(getCurrentDirectory(tiny), 0);
    EXPECT_FALSE(changeDirectory("   "));
    EXPECT_FALSE(changeDirectory("/no/such/directory"));
    EXPECT_TRUE(changeDirectory(start.trimmed()));
}

TEST(Platform, ClockFieldsAreInRange)
{
    const TimeOfDay t = getTimeOfDay();
    EXPECT_TRUE(t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60);
    EXPECT_TRUE(t.second >= 0 && t.second < 61 && t.hundredths >= 0 && t.hundredths < 100);
    const Date d = getDate();
    EXPECT_GE(d.year, 2024);
    EXPECT_TRUE(d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31);
}

} // namespace
} // namespace tarnova
