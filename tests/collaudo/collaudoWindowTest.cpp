// Collaudo in a real window on a virtual X server: it writes its files, shows the summary, waits
// with "Finished" and ends with status 0 when Window > Exit is chosen.

#include "xSession.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace tarnova::windowtest {
namespace {

namespace fs = std::filesystem;

TEST(CollaudoWindow, WritesItsFilesAndWaitsForExit)
{
    VirtualDisplay x;
    std::string error;
    ASSERT_TRUE(x.start(1024, 768, error)) << error;
    char pattern[] = "/tmp/collaudo-window-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    for (const char* extension : {".ana", ".geo", ".pro", ".lim"})
        fs::copy_file(fs::path(EXAMPLES_DIR) / ("tanker/TANKER" + std::string(extension)),
                      dir / ("TANKER" + std::string(extension)));

    ChildProcess collaudo;
    ASSERT_TRUE(collaudo.start({COLLAUDO_PROGRAM, (dir / "TANKER.ana").string()}, x.name(), dir.string()));
    const Window frame = findWindow(x.connection(), "Assessment", 20s);
    ASSERT_NE(frame, 0u) << collaudo.output();
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!fs::exists(dir / "TANKER_interaction.png") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(fs::exists(dir / "TANKER_check.csv"));
    EXPECT_TRUE(fs::exists(dir / "TANKER_collision" / "TANKER.teB"));
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(collaudo.running()) << "waits for Exit in a window";
    xdotool(x.name(), {"windowfocus", "--sync", std::to_string(frame)});
    ASSERT_TRUE(xdotool(x.name(), {"key", "--delay", "100", "alt+w", "x"}));
    EXPECT_EQ(collaudo.waitForExit(20s), std::optional<int>(0)) << collaudo.output();
    fs::remove_all(dir);
}

} // namespace
} // namespace tarnova::windowtest
