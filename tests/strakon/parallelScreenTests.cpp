// The run driver's screen with case studies computed side by side: the progress panel (boxes,
// page breaks, iteration box) ends as in a one-thread run, pixel for pixel outside the clock texts.

#include "StrakonRun.hpp"

#include "cores.hpp"
#include "display/Backend.hpp"
#include "display/Display.hpp"
#include "display/TestHooks.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace tarnova {
namespace {

namespace fs = std::filesystem;

// Acknowledges every key with Enter, as a user at the window would.
class EnterBackend : public Backend {
public:
    bool open(std::string_view, int&, int&) override { return true; }
    void run() override {}
    void changed() override {}
    int messageBox(std::string_view, std::string_view, int) override { return 1; }
    int nextKey(int& code) override
    {
        code = 0;
        return 13;
    }
    void waitForExit() override {}
    void programEnded(int) override {}
    void toggleFullScreen() override {}
    void windowCommand() override {}
};

constexpr int paneWidth = 1024, paneHeight = 768;

// The pane after running 15 case studies of the box girder (a page break after the 13th box).
std::vector<int> finalPane(const char* threads)
{
    const fs::path previous = fs::current_path();
    const fs::path dir = fs::temp_directory_path() / ("panel-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    for (const char* extension : {".geo", ".pro"})
        fs::copy_file(fs::path(EXAMPLES_DIR) / ("box/BOX" + std::string(extension)), dir / ("BOX" + std::string(extension)));
    {
        std::ofstream ana(dir / "BOX.ana", std::ios::binary);
        ana << "15\r\n";
        for (int k = 0; k < 15; ++k) ana << (k % 2 ? " 3 2 0 4.50180.0    0  0.\r\n" : " 3 1 1 4.50  0.0    0  0.\r\n");
    }
    fs::current_path(dir);
    EnterBackend backend;
    inspect::resetDisplay(paneWidth, paneHeight, &backend);
    loadPalette();
    ::setenv("TARNOVA_THREADS", threads, 1);
    EXPECT_EQ(runCases("BOX", paneWidth, paneHeight), 0);
    ::unsetenv("TARNOVA_THREADS");
    fs::current_path(previous);
    fs::remove_all(dir);
    std::vector<int> pixels;
    for (int y = 0; y < paneHeight; ++y)
        for (int x = 0; x < paneWidth; ++x) pixels.push_back(inspect::pixelAt(x, y));
    return pixels;
}

TEST(ParallelPanel, FinalPaneMatchesAOneThreadRunOutsideTheClockTexts)
{
    const std::vector<int> one = finalPane("1");
    const std::vector<int> two = finalPane("2");
    ASSERT_EQ(one.size(), two.size());
    int inked = 0, differing = 0;
    for (int y = 0; y < paneHeight; ++y) {
        for (int x = 0; x < paneWidth; ++x) {
            // The starting hour and each box's finishing time stand right of x = W - 120.
            if (x >= paneWidth - 120 && x < paneWidth - 40) continue;
            const std::size_t i = static_cast<std::size_t>(y) * paneWidth + static_cast<std::size_t>(x);
            inked += one[i] != 0;
            differing += one[i] != two[i];
        }
    }
    EXPECT_GT(inked, 1000) << "the panel was not drawn";
    EXPECT_EQ(differing, 0);
}

} // namespace
} // namespace tarnova
