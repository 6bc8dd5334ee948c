// The demonstration program and the probe in a real window on a virtual X server, driven with
// xdotool as a user would: what the frame shows, keys, menus, full screen, the close button.
#include "display/Display.hpp"
#include "display/TestHooks.hpp"
#include "display/sdl/frameLayout.hpp"
#include "xSession.hpp"
#ifdef PICKARA_PROGRAM
#include "chooserLayout.hpp"
#endif

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace tarnova::windowtest {
namespace {

using sdl::dropBorder;
using sdl::dropItemHeight;
using sdl::menuBarHeight;
using sdl::statusLineHeight;

constexpr int screenWidth = 1024;
constexpr int screenHeight = 768;
constexpr auto startTimeout = 20s;
constexpr auto screenTimeout = 20s;
constexpr auto exitTimeout = 20s;

constexpr std::uint32_t black = 0x000000, red = 0xFF0000, yellow = 0xFFFF00, cyan = 0x00FFFF, green = 0x00FF00;
constexpr std::uint32_t magenta = 0x800080;       // colour 5, the message text
constexpr std::uint32_t barColour = 0xF0F0F0;     // menu bar and status line
constexpr std::uint32_t captionColour = 0x3366CC; // message box caption

// The drop-down of "&Window": its own command, "&Full Screen  Alt+Enter", "E&xit".
enum WindowMenuItem { windowItem = 0, fullScreenItem = 1, exitItem = 2 };

// An 8-bit palette bitmap (bottom-up rows) as 0xRRGGBB values, top row first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

std::optional<Image> readBitmap(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto u32 = [&](std::size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24; };
    if (b.size() < 54 + 1024 || b[0] != 'B' || b[1] != 'M' || (b[28] | b[29] << 8) != 8) return std::nullopt;
    Image image;
    image.width = static_cast<int>(u32(18));
    image.height = static_cast<int>(u32(22));
    const std::size_t offset = u32(10);
    const std::size_t stride = (static_cast<std::size_t>(image.width) + 3) & ~std::size_t{3};
    if (b.size() < offset + stride * image.height) return std::nullopt;
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::size_t entry = 54 + 4 * std::size_t{b[offset + (image.height - 1 - y) * stride + x]};
            image.pixels[static_cast<std::size_t>(y) * image.width + x] = b[entry + 2] << 16 | b[entry + 1] << 8 | b[entry];
        }
    return image;
}

class WindowProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(x_.start(screenWidth, screenHeight, error)) << error;
        if (manager_) {
            ASSERT_TRUE(x_.startWindowManager(error)) << error;
        }
        char pattern[] = "/tmp/tarnova-window-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
    }

    void TearDown() override
    {
        if (HasFailure())
            std::fprintf(stderr, "Program output and files kept in %s\n%s\n", directory_.c_str(), program_.output().c_str());
        else if (!directory_.empty())
            std::filesystem::remove_all(directory_);
    }

    // Starts the program and waits for its frame; the pointer rests on the pane.
    void launch(const std::vector<std::string>& argv, const std::string& title)
    {
        ASSERT_TRUE(program_.start(argv, x_.name(), directory_));
        window_ = findWindow(x_.connection(), title, startTimeout);
        ASSERT_NE(window_, 0u) << "no window titled " << title << "\n" << program_.output();
        // Without a window manager the maximised frame covers the whole screen; with one, the
        // screen less the manager's title bar.
        origin_ = waitForGeometry([&](const Geometry& g) {
            return g.width == screenWidth && (manager_ ? g.height < screenHeight : g.height == screenHeight);
        });
        ASSERT_EQ(origin_.width, screenWidth);
        if (!manager_) {
            ASSERT_EQ(origin_.height, screenHeight);
        }
        ASSERT_TRUE(xdotool(x_.name(), {"mousemove", std::to_string(origin_.x + 500), std::to_string(origin_.y + 400)}));
        xdotool(x_.name(), {"windowfocus", "--sync", std::to_string(window_)});
    }

    // Waits until the frame's client area holds the test and has stayed so for a moment.
    template <typename Test>
    Geometry waitForGeometry(Test test, std::chrono::milliseconds timeout = screenTimeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        Geometry g;
        int steady = 0;
        do {
            g = windowGeometry(x_.connection(), window_);
            steady = test(g) ? steady + 1 : 0;
            if (steady == 5) return g;
            std::this_thread::sleep_for(50ms);
        } while (std::chrono::steady_clock::now() < deadline);
        ADD_FAILURE() << "the frame stands at " << g.x << ',' << g.y << ' ' << g.width << 'x' << g.height;
        return g;
    }

    // What a user does to make the frame that size: under a manager, restore it from maximised
    // first. The frame's new place is kept in origin_.
    // A manager may still be restoring the frame when the request comes, so it is repeated until
    // it holds.
    void resizeFrame(int width, int height, int x = -1, int y = -1)
    {
        if (manager_) setMaximised(x_.connection(), window_, false);
        auto sized = [&](const Geometry& g) { return g.width == width && g.height == height; };
        const auto deadline = std::chrono::steady_clock::now() + screenTimeout;
        while (std::chrono::steady_clock::now() < deadline) {
            if (x >= 0)
                moveResizeWindow(x_.connection(), window_, x, y, width, height);
            else
                resizeWindow(x_.connection(), window_, width, height);
            for (int i = 0; i < 10 && !sized(windowGeometry(x_.connection(), window_)); ++i)
                std::this_thread::sleep_for(50ms);
            if (sized(windowGeometry(x_.connection(), window_))) break;
        }
        origin_ = waitForGeometry(sized);
    }

    // Waits until the pane on screen equals, pixel for pixel, the bitmap the probe saved of it.
    std::optional<Image> expectPaneAsSaved()
    {
        std::optional<Image> pane;
        waitForScreen([&](const Screenshot& s) {
            if (!pane) pane = readBitmap(directory_ + "/pane.bmp");
            if (!pane || pane->width != origin_.width || pane->height != origin_.height - menuBarHeight - statusLineHeight)
                return false;
            for (int y = 0; y < pane->height; ++y)
                for (int x = 0; x < pane->width; ++x)
                    if (panePixel(s, x, y) != pane->pixels[static_cast<std::size_t>(y) * pane->width + x]) return false;
            return true;
        });
        return pane;
    }

    std::uint32_t panePixel(const Screenshot& shot, int x, int y) const
    {
        return shot.at(origin_.x + x, origin_.y + menuBarHeight + y);
    }

    // Takes screenshots until the test holds; returns the last one.
    template <typename Test>
    Screenshot waitForScreen(Test test, std::chrono::milliseconds timeout = screenTimeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        Screenshot shot;
        do {
            shot = takeScreenshot(x_.connection());
            if (shot.width > 0 && test(shot)) return shot;
            std::this_thread::sleep_for(100ms);
        } while (std::chrono::steady_clock::now() < deadline);
        ADD_FAILURE() << "the screen did not show what was expected";
        savePpm(shot, 0, 0, shot.width, shot.height, directory_ + "/screen.ppm");
        return shot;
    }

    Screenshot waitForPanePixel(int x, int y, std::uint32_t colour)
    {
        return waitForScreen([&](const Screenshot& s) { return panePixel(s, x, y) == colour; });
    }

    void keys(std::vector<std::string> names)
    {
        names.insert(names.begin(), {"key", "--delay", "80"});
        ASSERT_TRUE(xdotool(x_.name(), names));
    }

    // Clicks at a point of the frame (window coordinates).
    void click(int x, int y)
    {
        ASSERT_TRUE(xdotool(x_.name(), {"mousemove", "--sync", std::to_string(origin_.x + x),
                                        std::to_string(origin_.y + y), "click", "1"}));
        std::this_thread::sleep_for(150ms);
    }

    void clickWindowMenu(WindowMenuItem item)
    {
        click(14, menuBarHeight / 2);
        click(36, menuBarHeight + dropBorder + dropItemHeight * item + dropItemHeight / 2);
    }

    // The demo's "Press any key to continue " in the message rows 21 to 24.
    bool demoPrompts(const Screenshot& shot) const
    {
        for (int y = 20 * 16; y < 24 * 16; ++y)
            for (int x = 0; x < 640; ++x)
                if (panePixel(shot, x, y) == magenta) return true;
        return false;
    }

    // Starts the demo, waits for its drawing and answers its prompt.
    void demoPastItsPrompt()
    {
        launch({DISPLAY_DEMO}, "Display Demonstration");
        waitForScreen([&](const Screenshot& s) { return panePixel(s, 150, 150) == red && demoPrompts(s); });
        keys({"space"});
        waitForScreen([&](const Screenshot& s) { return !demoPrompts(s); });
    }

    std::optional<int> exitStatus() { return program_.waitForExit(exitTimeout); }

    // Under a window manager (openbox) when TARNOVA_WINDOW_MANAGER is set, as CTest's second run
    // of these tests does.
    bool manager_ = std::getenv("TARNOVA_WINDOW_MANAGER") != nullptr;
    VirtualDisplay x_;
    ChildProcess program_;
    std::string directory_;
    Window window_ = 0;
    Geometry origin_;
};

std::vector<int> integersOf(const std::string& file)
{
    std::ifstream in(file);
    std::vector<int> values;
    for (int v = 0; in >> v;) values.push_back(v);
    return values;
}

TEST_F(WindowProgram, DemoShowsItsPaneBetweenMenuBarAndStatusLineAndEndsOnExitPickedWithTheMouse)
{
    launch({DISPLAY_DEMO}, "Display Demonstration");
    // A manager may still be placing the frame: its corner is read again with every picture, and
    // the picture is taken once the demo's rectangle and the menu bar stand where they belong.
    const Screenshot shot = waitForScreen([&](const Screenshot& s) {
        origin_ = windowGeometry(x_.connection(), window_);
        if (s.at(origin_.x + 900, origin_.y + 5) != barColour) return false;
        for (int y = 100; y <= 199; ++y)
            for (int x = 100; x <= 299; ++x)
                if (panePixel(s, x, y) != red) return false;
        return true;
    });
    // The pane pixel for pixel right below the menu bar, as the demo drew it.
    int wrong = 0;
    for (int y = 100; y <= 199; ++y)
        for (int x = 100; x <= 299; ++x) wrong += panePixel(shot, x, y) != red;
    EXPECT_EQ(wrong, 0);
    for (auto [x, y] : {std::pair{90, 90}, {309, 209}, {200, 90}, {90, 150}})
        EXPECT_EQ(panePixel(shot, x, y), cyan) << x << ',' << y;
    EXPECT_EQ(panePixel(shot, 89, 89), black);
    EXPECT_EQ(panePixel(shot, 450, 150), yellow);
    EXPECT_EQ(panePixel(shot, 700, 500), black);
    EXPECT_EQ(shot.at(origin_.x + 900, origin_.y + 5), barColour);
    EXPECT_EQ(shot.at(origin_.x + 900, origin_.y + origin_.height - statusLineHeight / 2), barColour);
    if (const char* keep = std::getenv("TARNOVA_WINDOW_SCREENSHOT"))
        savePpm(shot, origin_.x, origin_.y, origin_.width, origin_.height, keep);

    keys({"space"});
    waitForScreen([&](const Screenshot& s) { return !demoPrompts(s); });
    clickWindowMenu(exitItem);
    EXPECT_EQ(exitStatus(), std::optional<int>(0));
}

TEST_F(WindowProgram, DemoEndsOnExitChosenWithTheKeyboard)
{
    demoPastItsPrompt();
    keys({"alt+w", "Up", "Return"});  // up from the first item wraps to E&xit
    EXPECT_EQ(exitStatus(), std::optional<int>(0));
}

TEST_F(WindowProgram, FullScreenFollowsAltEnterAndTheMenuAndAResizedFrameScalesThePane)
{
    demoPastItsPrompt();
    const Geometry start = origin_;
    auto wholeScreen = [](const Geometry& g) {
        return g.x == 0 && g.y == 0 && g.width == screenWidth && g.height == screenHeight;
    };
    auto asAtStart = [&](const Geometry& g) {
        return g.x == start.x && g.y == start.y && g.width == start.width && g.height == start.height;
    };
    keys({"alt+Return"});
    origin_ = waitForGeometry(wholeScreen);
    clickWindowMenu(fullScreenItem);
    origin_ = waitForGeometry(asAtStart);
    waitForPanePixel(150, 150, red);

    // Half the size: the pane is shown 1:1 from its corner, with scroll bars beside it.
    const int bars = menuBarHeight + statusLineHeight;
    resizeFrame(start.width / 2, (start.height - bars) / 2 + bars);
    waitForScreen([&](const Screenshot& s) {
        return panePixel(s, 150, 150) == red && panePixel(s, 89, 89) == black &&
               s.at(origin_.x + origin_.width - 1, origin_.y + menuBarHeight + 5) == barColour;
    });
    // "&Window" brings the default frame back.
    clickWindowMenu(windowItem);
    origin_ = waitForGeometry(asAtStart);
    waitForPanePixel(150, 150, red);

    keys({"alt+w", "x"});
    EXPECT_EQ(exitStatus(), std::optional<int>(0));
}

TEST_F(WindowProgram, CloseButtonWhileTheProgramWaitsForExitCountsAsExit)
{
    demoPastItsPrompt();
    std::this_thread::sleep_for(1s);  // from the cleared prompt into the wait for Exit
    sendCloseRequest(x_.connection(), window_);
    EXPECT_EQ(exitStatus(), std::optional<int>(0));
}

TEST_F(WindowProgram, CloseButtonWhileTheProgramWorksEndsItAtOnceKeepingWrittenRecords)
{
    launch({WINDOW_PROBE, "busy"}, "Window Probe");
    waitForScreen([&](const Screenshot& s) {
        return s.at(origin_.x + origin_.width - 45, origin_.y + origin_.height - statusLineHeight - 45) == green;
    });
    sendCloseRequest(x_.connection(), window_);
    EXPECT_EQ(exitStatus(), std::optional<int>(sdl::closedWhileRunningStatus));
    const std::vector<int> written = integersOf(directory_ + "/written.txt");
    ASSERT_EQ(written.size(), 100u);
    EXPECT_EQ(written.back(), 100);
}

TEST_F(WindowProgram, FrameOfAStoppedProgramStaysOpenAndItsCloseButtonEndsWithTheStopStatus)
{
    launch({WINDOW_PROBE, "stop"}, "Window Probe");
    waitForScreen([&](const Screenshot& s) {
        return s.at(origin_.x + origin_.width - 45, origin_.y + origin_.height - statusLineHeight - 45) == green;
    });
    EXPECT_FALSE(program_.waitForExit(1500ms).has_value()) << "the frame closed by itself";
    sendCloseRequest(x_.connection(), window_);
    const std::optional<int> status = exitStatus();
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(*status, 0);
    EXPECT_NE(program_.output().find("Stop - Program terminated."), std::string::npos);
}

TEST_F(WindowProgram, ProbeScreenMatchesItsCanvasAndTakesTheMessageBoxAndKeys)
{
    launch({WINDOW_PROBE}, "Window Probe");
    // The whole pane on screen equals the bitmap the probe saved of it.
    std::optional<Image> pane;
    waitForScreen([&](const Screenshot& s) {
        if (!pane) pane = readBitmap(directory_ + "/pane.bmp");
        if (!pane || pane->width != origin_.width) return false;
        for (int y = 0; y < pane->height; ++y)
            for (int x = 0; x < pane->width; ++x)
                if (panePixel(s, x, y) != pane->pixels[static_cast<std::size_t>(y) * pane->width + x]) return false;
        return true;
    });
    ASSERT_TRUE(pane.has_value());
    EXPECT_EQ(pane->height, origin_.height - menuBarHeight - statusLineHeight);

    // A key brings the box; its OK button is centred above its lower edge.
    keys({"b"});
    int captionX = -1, captionY = -1;
    Screenshot shot = waitForScreen([&](const Screenshot& s) {
        for (int y = 0; y < s.height; y += 2)
            for (int x = 0; x < s.width; x += 2)
                if (s.at(x, y) == captionColour && y > menuBarHeight) {
                    captionX = x;
                    captionY = y;
                    return true;
                }
        return false;
    });
    ASSERT_GE(captionX, 0);
    while (captionX > 0 && shot.at(captionX - 1, captionY) == captionColour) --captionX;
    int captionRight = captionX;
    while (shot.at(captionRight + 1, captionY) == captionColour) ++captionRight;
    int bottom = captionY;
    while (bottom + 1 < shot.height && shot.at(captionX + 1, bottom + 1) != black) ++bottom;
    click((captionX + captionRight) / 2 - origin_.x, bottom - 16 - 13 - origin_.y);
    const int markX = origin_.width - 45, markY = origin_.height - statusLineHeight - 45;
    waitForScreen([&](const Screenshot& s) { return s.at(origin_.x + markX, origin_.y + markY) == green; });

    keys({"a", "1", "Return", "BackSpace", "Escape", "Tab", "Up", "F1", "F12", "Delete", "q"});
    const std::vector<int> expected{'a', '1', 13, 8, 27, 9, 0, 72, 0, 59, 0, 134, 0, 83, 'q'};
    std::vector<int> typed;
    for (int i = 0; i < 200 && typed != expected; ++i) {
        std::this_thread::sleep_for(100ms);
        typed = integersOf(directory_ + "/keys.txt");
    }
    EXPECT_EQ(typed, expected);
    std::string fonts;
    for (int i = 0; i < 100 && fonts.empty(); ++i) {
        std::this_thread::sleep_for(50ms);
        std::ifstream in(directory_ + "/fonts.txt");
        std::getline(in, fonts);
    }
    EXPECT_EQ(fonts, "no fontconfig");   // the frame's text comes from the built-in faces
    keys({"alt+w", "x"});
    EXPECT_EQ(exitStatus(), std::optional<int>(0));
    // What the program wrote in its text window reached standard error too, as it does headless.
    EXPECT_NE(program_.output().find("Window probe 0123456789 ABC xyz"), std::string::npos);
}

// Restored from maximised by the window manager's button, the frame lies wholly on the screen,
// its status line included (it had opened at the screen's size, and went back to that below the
// title bar).
TEST_F(WindowProgram, FrameRestoredFromMaximisedFitsTheScreen)
{
    if (!manager_) GTEST_SKIP() << "only a window manager maximises and restores";
    ASSERT_NO_FATAL_FAILURE(launch({WINDOW_PROBE, "lines"}, "Window Probe"));
    const Geometry maximised = origin_;
    auto restored = [&](const Geometry& g) {
        return g.height < maximised.height && g.x >= 0 && g.y > 0 && g.x + g.width <= screenWidth &&
               g.y + g.height <= screenHeight;
    };
    // The manager may still be settling the maximised frame when the request comes, and then
    // drops it: the request is repeated until the frame is restored.
    const auto deadline = std::chrono::steady_clock::now() + screenTimeout;
    for (int tries = 0; !restored(windowGeometry(x_.connection(), window_)) &&
                        std::chrono::steady_clock::now() < deadline; ++tries) {
        if (tries % 40 == 0) setMaximised(x_.connection(), window_, false);
        std::this_thread::sleep_for(50ms);
    }
    origin_ = waitForGeometry(restored);
    EXPECT_LE(origin_.y + origin_.height, screenHeight);
    // The status line's bar is on the screen.
    waitForScreen([&](const Screenshot& s) {
        return s.at(origin_.x + origin_.width / 2, origin_.y + origin_.height - statusLineHeight / 2) == barColour;
    });
}

// The same frame with and without a window manager (openbox).
class FrameUnderManager : public WindowProgram, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        manager_ = GetParam();
        WindowProgram::SetUp();
    }
};

TEST_P(FrameUnderManager, DefaultFrameShowsThePaneOneToOneAndFullScreenTwiceRestoresASmallFrame)
{
    ASSERT_NO_FATAL_FAILURE(launch({WINDOW_PROBE, "lines"}, "Window Probe"));
    ASSERT_TRUE(expectPaneAsSaved().has_value());
    const Geometry maximised = origin_;

    resizeFrame(900, 560, 60, 80);
    const Geometry small = origin_;
    auto same = [](const Geometry& a, const Geometry& b) {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    };
    keys({"alt+Return"});
    waitForGeometry([](const Geometry& g) {
        return g.x == 0 && g.y == 0 && g.width == screenWidth && g.height == screenHeight;
    });
    keys({"alt+Return"});
    waitForGeometry([&](const Geometry& g) { return same(g, small); });

    // "&Window" brings the default frame back, the pane pixel for pixel again.
    origin_ = small;
    clickWindowMenu(windowItem);
    origin_ = waitForGeometry([&](const Geometry& g) { return same(g, maximised); });
    EXPECT_TRUE(expectPaneAsSaved().has_value());
}

INSTANTIATE_TEST_SUITE_P(WindowManager, FrameUnderManager, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "openbox" : "none"; });

// A frame smaller than the pane, from 50 to 95 % of it in 5 % steps, shows the pane 1:1 from its
// upper-left corner: every digit and line exactly as drawn, never shrunk. Dragged with the middle
// button, or by its scroll bars, the rest comes into view, 1:1 as well, up to the far corner.
TEST_F(WindowProgram, PaneShownSmallerStaysOneToOneAndScrollsToEveryPart)
{
    ASSERT_NO_FATAL_FAILURE(launch({WINDOW_PROBE, "lines"}, "Window Probe"));
    const std::optional<Image> pane = expectPaneAsSaved();
    ASSERT_TRUE(pane.has_value());
    const int paneW = pane->width, paneH = pane->height;
    auto source = [&](int x, int y) { return pane->pixels[static_cast<std::size_t>(y) * paneW + x]; };
    // Differences between the shown part and the pane at the view's offsets (at most a few listed).
    auto mismatches = [&](const Screenshot& s, const sdl::PaneView& v) {
        int wrong = 0;
        for (int y = 0; y < v.shown.h; ++y)
            for (int x = 0; x < v.shown.w; ++x)
                wrong += s.at(origin_.x + v.shown.x + x, origin_.y + v.shown.y + y) != source(v.source.x + x, v.source.y + y);
        return wrong;
    };
    const int bars = menuBarHeight + statusLineHeight;
    for (int percent = 95; percent >= 50; percent -= 5) {
        const int frameW = paneW * percent / 100, frameH = paneH * percent / 100 + bars;
        resizeFrame(frameW, frameH);
        int sx = 0, sy = 0;
        const sdl::PaneView v = sdl::paneView(frameW, frameH, paneW, paneH, sx, sy);
        int wrong = -1;
        waitForScreen([&](const Screenshot& s) { return (wrong = mismatches(s, v)) == 0; });
        EXPECT_EQ(wrong, 0) << "at " << percent << " %";
    }
    // At half the size: the middle button drags the far corner into view.
    const int frameW = origin_.width, frameH = origin_.height;
    int farX = paneW, farY = paneH;
    const sdl::PaneView far = sdl::paneView(frameW, frameH, paneW, paneH, farX, farY);
    ASSERT_GT(farX, 0);
    ASSERT_GT(farY, 0);
    auto at = [&](int x, int y) { return std::vector<std::string>{std::to_string(origin_.x + x), std::to_string(origin_.y + y)}; };
    auto drag = [&](int button, int fromX, int fromY, int toX, int toY) {
        std::vector<std::string> args{"mousemove", "--sync"};
        for (const std::string& a : at(fromX, fromY)) args.push_back(a);
        ASSERT_TRUE(xdotool(x_.name(), args));
        ASSERT_TRUE(xdotool(x_.name(), {"mousedown", std::to_string(button)}));
        for (int step = 1; step <= 4; ++step) {
            std::vector<std::string> move{"mousemove", "--sync"};
            for (const std::string& a : at(fromX + (toX - fromX) * step / 4, fromY + (toY - fromY) * step / 4)) move.push_back(a);
            ASSERT_TRUE(xdotool(x_.name(), move));
        }
        ASSERT_TRUE(xdotool(x_.name(), {"mouseup", std::to_string(button)}));
    };
    for (int twice = 0; twice < 2; ++twice)   // the offsets are held at the far edge
        drag(2, far.shown.x + far.shown.w - 5, far.shown.y + far.shown.h - 5, far.shown.x + 5, far.shown.y + 5);
    int wrong = -1;
    waitForScreen([&](const Screenshot& s) { return (wrong = mismatches(s, far)) == 0; });
    EXPECT_EQ(wrong, 0) << "dragged to the far corner";
    // The scroll bars bring the upper-left corner back: a press at each bar's start.
    click(far.horizontalBar.x + 1, far.horizontalBar.y + far.horizontalBar.h / 2);
    click(far.verticalBar.x + far.verticalBar.w / 2, far.verticalBar.y + 1);
    int nearX = 0, nearY = 0;
    const sdl::PaneView near = sdl::paneView(frameW, frameH, paneW, paneH, nearX, nearY);
    waitForScreen([&](const Screenshot& s) { return (wrong = mismatches(s, near)) == 0; });
    EXPECT_EQ(wrong, 0) << "back by the scroll bars";
}

#ifdef PICKARA_PROGRAM
// Pickara in a window on the tanker: its numbers overlap at zoom 1 along the bottom, so the user
// zooms in with the wheel, goes back with Home, zooms again and picks element 60 by its number.
TEST_F(WindowProgram, PickaraZoomsOnTheTankerBottomAndPicksElementSixtyByItsNumber)
{
    namespace fs = std::filesystem;
    for (const char* ext : {".ana", ".geo", ".pro"})
        fs::copy_file(fs::path(TANKER_EXAMPLE) / (std::string("TANKER") + ext), fs::path(directory_) / (std::string("TANKER") + ext));
    const std::string strakon = "cd '" + directory_ + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" STRAKON_PROGRAM "' '" +
                                directory_ + "/TANKER.ana' </dev/null >/dev/null 2>&1";
    ASSERT_EQ(std::system(strakon.c_str()), 0);

    // The head of the curve file: the count, then x and y of every element ("(2F10.1)").
    std::ifstream curve(directory_ + "/TANKER.teA");
    std::string line;
    std::getline(curve, line);
    const int count = std::stoi(line);
    std::vector<double> x(count), y(count);
    for (int i = 0; i < count && std::getline(curve, line); ++i) {
        x[i] = std::stod(line.substr(0, 10));
        y[i] = std::stod(line.substr(10, 10));
    }
    ASSERT_EQ(count, 297);

    ASSERT_NO_FATAL_FAILURE(launch({PICKARA_PROGRAM, directory_ + "/TANKER.teA"}, "Choose Element"));
    const int paneW = origin_.width, paneH = origin_.height - menuBarHeight - statusLineHeight;
    const pickara::SectionScale fit = pickara::fitSection(x.data(), y.data(), count, paneW, paneH);
    const pickara::PixelPlace offset = pickara::numberOffset(paneW, paneH);
    // Where element n's number is drawn at zoom 1 (upper-left corner of its four characters).
    auto place = [&](int n) {
        const pickara::ScreenPoint p = pickara::screenPoint(fit, x[n - 1], y[n - 1]);
        return pickara::ScreenPoint{p.x + offset.x, p.y + offset.y};
    };
    constexpr std::uint32_t white = 0xFFFFFF, darkBlue = 0x000080;
    auto promptShown = [&](const Screenshot& s) {
        for (int py = paneH - 40; py < paneH - 20; ++py)
            for (int px = 30; px < 250; ++px)
                if (panePixel(s, px, py) == darkBlue) return true;
        return false;
    };
    const Screenshot zoomOne = waitForScreen([&](const Screenshot& s) { return panePixel(s, 5, 5) == white && promptShown(s); });
    auto samePane = [&](const Screenshot& a, const Screenshot& b) {
        for (int py = 0; py < paneH; ++py)
            for (int px = 0; px < paneW; ++px)
                if (panePixel(a, px, py) != panePixel(b, px, py)) return false;
        return true;
    };
    // Waits until the pane has stopped changing, then returns it.
    auto settled = [&]() {
        Screenshot last = takeScreenshot(x_.connection());
        for (int i = 0; i < 100; ++i) {
            std::this_thread::sleep_for(400ms);
            Screenshot now = takeScreenshot(x_.connection());
            if (samePane(now, last)) return now;
            last = std::move(now);
        }
        ADD_FAILURE() << "the pane kept changing";
        return last;
    };
    // Where 60's number is drawn at zoom 1, and the pointer over the middle of its digits.
    const pickara::ScreenPoint sixty = place(60);
    // The middle of the digits of "  60" in the font Pickara's numbers take.
    inspect::resetDisplay(paneW, paneH);
    ASSERT_GT(loadFonts(), 0);
    selectFont("h15w8b");
    const double middle = graphicTextWidth("  60") - graphicTextWidth("60") / 2.0;
    const double pointerX = sixty.x + middle, pointerY = sixty.y + 7;
    auto movePointer = [&](double px, double py) {
        // (--sync would wait for ever when the pointer is there already.)
        ASSERT_TRUE(xdotool(x_.name(), {"mousemove", std::to_string(origin_.x + static_cast<int>(px)),
                                        std::to_string(origin_.y + menuBarHeight + static_cast<int>(py))}));
        std::this_thread::sleep_for(150ms);
    };
    constexpr int notches = 6;
    // By the wheel, or by Ctrl and + (one notch each).
    auto zoomIn = [&](bool byKeys) {
        movePointer(pointerX, pointerY);
        for (int i = 0; i < notches; ++i) {
            ASSERT_TRUE(byKeys ? xdotool(x_.name(), {"key", "ctrl+plus"}) : xdotool(x_.name(), {"click", "4"}));
            std::this_thread::sleep_for(100ms);
        }
    };
    pickara::SectionView view;
    for (int i = 0; i < notches; ++i) view = pickara::zoomedAbout(view, static_cast<int>(pointerX), static_cast<int>(pointerY), 1);

    zoomIn(false);
    const Screenshot zoomed = settled();
    EXPECT_FALSE(samePane(zoomed, zoomOne));
    // Zoomed, 59 and 61 stand clear of 60: their digits no longer overlap.
    EXPECT_GT(pickara::viewedPlace(view, place(61).x, 0).x - pickara::viewedPlace(view, place(60).x, 0).x, 32);

    keys({"Home"});
    waitForScreen([&](const Screenshot& s) { return samePane(s, zoomOne); });

    zoomIn(true);
    EXPECT_TRUE(samePane(settled(), zoomed));
    // A click on 59 enters it; a double click on 60 enters 60 instead and accepts it.
    const pickara::ScreenPoint at59 = pickara::viewedNumberPlace(view, place(59).x, place(59).y, middle, 7.5);
    movePointer(at59.x + middle, at59.y + 7);
    ASSERT_TRUE(xdotool(x_.name(), {"click", "1"}));
    std::this_thread::sleep_for(500ms);
    const pickara::ScreenPoint at60 = pickara::viewedNumberPlace(view, place(60).x, place(60).y, middle, 7.5);
    movePointer(at60.x + middle, at60.y + 7);
    ASSERT_TRUE(xdotool(x_.name(), {"click", "--repeat", "2", "--delay", "60", "1"}));
    EXPECT_EQ(exitStatus(), std::optional<int>(0));
    std::ifstream handOver(directory_ + "/nElem.txt");
    std::string record;
    std::getline(handOver, record);
    EXPECT_EQ(record.substr(0, 4), "  60");
}

// Strakon's "CALCULATIONS FINISHED" box: every file is written, so the close button there ends
// the run normally, with status 0 and the same files, to the byte, as a run without a window.
TEST_F(WindowProgram, CloseButtonAtStrakonsFinishedBoxEndsWithStatusZeroAndEveryFileWhole)
{
    namespace fs = std::filesystem;
    const std::string headless = directory_ + "/headless";
    fs::create_directory(headless);
    for (const std::string& where : {directory_, headless})
        for (const char* ext : {".ana", ".geo", ".pro"})
            fs::copy_file(fs::path(TANKER_EXAMPLE) / (std::string("TANKER") + ext), fs::path(where) / (std::string("TANKER") + ext));
    const std::string strakon = "cd '" + headless + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" STRAKON_PROGRAM "' '" +
                                headless + "/TANKER.ana' </dev/null >/dev/null 2>&1";
    ASSERT_EQ(std::system(strakon.c_str()), 0);

    ASSERT_NO_FATAL_FAILURE(launch({STRAKON_PROGRAM, directory_ + "/TANKER.ana"}, "Run"));
    // The box's caption bar on screen.
    waitForScreen([&](const Screenshot& s) {
        for (int y = menuBarHeight; y < s.height; y += 4)
            for (int x = 0; x < s.width; x += 4)
                if (s.at(x, y) == captionColour) return true;
        return false;
    }, 60s);
    sendCloseRequest(x_.connection(), window_);
    EXPECT_EQ(exitStatus(), std::optional<int>(0));
    EXPECT_EQ(program_.output().find("closed before"), std::string::npos) << program_.output();
    auto read = [](const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    int compared = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(headless)) {
        const fs::path shown = fs::path(directory_) / entry.path().filename();
        ASSERT_TRUE(fs::exists(shown)) << shown;
        EXPECT_EQ(read(shown), read(entry.path())) << shown;
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

// Ten wheel notches with the pointer on the middle of 107 keep 107 under it (the view zooms about
// the pointer, not about the number's corner), so a double click right there picks 107.
TEST_F(WindowProgram, PickaraZoomKeepsTheNumberUnderThePointerAndADoubleClickThereAfterTenNotchesPicksIt)
{
    namespace fs = std::filesystem;
    for (const char* ext : {".ana", ".geo", ".pro"})
        fs::copy_file(fs::path(TANKER_EXAMPLE) / (std::string("TANKER") + ext), fs::path(directory_) / (std::string("TANKER") + ext));
    const std::string strakon = "cd '" + directory_ + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" STRAKON_PROGRAM "' '" +
                                directory_ + "/TANKER.ana' </dev/null >/dev/null 2>&1";
    ASSERT_EQ(std::system(strakon.c_str()), 0);
    std::ifstream curve(directory_ + "/TANKER.teA");
    std::string line;
    std::getline(curve, line);
    const int count = std::stoi(line);
    std::vector<double> x(count), y(count);
    for (int i = 0; i < count && std::getline(curve, line); ++i) {
        x[i] = std::stod(line.substr(0, 10));
        y[i] = std::stod(line.substr(10, 10));
    }
    ASSERT_GE(count, 107);

    ASSERT_NO_FATAL_FAILURE(launch({PICKARA_PROGRAM, directory_ + "/TANKER.teA"}, "Choose Element"));
    const int paneW = origin_.width, paneH = origin_.height - menuBarHeight - statusLineHeight;
    const pickara::SectionScale fit = pickara::fitSection(x.data(), y.data(), count, paneW, paneH);
    const pickara::PixelPlace offset = pickara::numberOffset(paneW, paneH);
    const pickara::ScreenPoint at = pickara::screenPoint(fit, x[106], y[106]);
    // The middle of the digits "107" of " 107", drawn in the font Pickara's numbers take.
    inspect::resetDisplay(paneW, paneH);
    ASSERT_GT(loadFonts(), 0);
    selectFont("h15w8b");
    const double middle = graphicTextWidth(" 107") - graphicTextWidth("107") / 2.0;
    const int pointerX = static_cast<int>(std::lround(at.x + offset.x + middle));
    const int pointerY = static_cast<int>(std::lround(at.y + offset.y)) + 7;
    constexpr std::uint32_t white = 0xFFFFFF;
    waitForScreen([&](const Screenshot& s) { return panePixel(s, 5, 5) == white; });
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(xdotool(x_.name(), {"mousemove", "--sync", std::to_string(origin_.x + pointerX),
                                    std::to_string(origin_.y + menuBarHeight + pointerY)}));
    for (int notch = 0; notch < 10; ++notch) {
        ASSERT_TRUE(xdotool(x_.name(), {"click", "4"}));
        std::this_thread::sleep_for(100ms);
    }
    // Once the pane has settled, a double click where the pointer still is.
    Screenshot last = takeScreenshot(x_.connection());
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(400ms);
        Screenshot now = takeScreenshot(x_.connection());
        if (now.pixels == last.pixels) break;
        last = std::move(now);
    }
    ASSERT_TRUE(xdotool(x_.name(), {"click", "--repeat", "2", "--delay", "60", "1"}));
    EXPECT_EQ(exitStatus(), std::optional<int>(0));
    std::ifstream handOver(directory_ + "/nElem.txt");
    std::string record;
    std::getline(handOver, record);
    EXPECT_EQ(record.substr(0, 4), " 107");
}
#endif

} // namespace
} // namespace tarnova::windowtest

#ifdef SAGOMA_PROGRAM
namespace tarnova::windowtest {
namespace {

// Sagoma writes the case files, then shows the section; the wheel zooms it and Exit ends the run.
TEST_F(WindowProgram, SagomaShowsTheSectionZoomsWithTheWheelAndEndsOnExit)
{
    namespace fs = std::filesystem;
    fs::copy_file(SAGOMA_BOX, fs::path(directory_) / "BOX.sec");
    ASSERT_NO_FATAL_FAILURE(launch({SAGOMA_PROGRAM, directory_ + "/BOX.sec"}, "Section Builder"));
    constexpr std::uint32_t white = 0xFFFFFF;
    const int paneW = origin_.width, paneH = origin_.height - menuBarHeight - statusLineHeight;
    auto inked = [&](const Screenshot& s) {
        int n = 0;
        for (int y = 0; y < paneH; ++y)
            for (int x = 0; x < paneW; ++x) n += panePixel(s, x, y) != white;
        return n;
    };
    const Screenshot whole = waitForScreen([&](const Screenshot& s) { return panePixel(s, 5, 5) == white && inked(s) > 500; });
    EXPECT_TRUE(fs::exists(fs::path(directory_) / "BOX.geo"));
    EXPECT_TRUE(fs::exists(fs::path(directory_) / "BOX_section.png"));
    const int before = inked(whole);
    ASSERT_TRUE(xdotool(x_.name(), {"mousemove", std::to_string(origin_.x + paneW / 4),
                                    std::to_string(origin_.y + menuBarHeight + paneH / 4)}));
    std::this_thread::sleep_for(150ms);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(xdotool(x_.name(), {"click", "4"}));
    waitForScreen([&](const Screenshot& s) { return inked(s) != before; });
    clickWindowMenu(exitItem);
    EXPECT_EQ(exitStatus(), std::optional<int>(0));
}

} // namespace
} // namespace tarnova::windowtest
#endif
