// Flexura in a real window on a virtual X server, driven with xdotool as a user would: the keys
// choose the map and an element, File > Save images and tables writes the files, Enter hands the
// element to Curvella (which opens its own window), so does a double click on an element of the
// map, and Window > Exit ends with status 0.

#include "caseInputs.hpp"
#include "collapseMap.hpp"
#include "xSession.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace tarnova::windowtest {
namespace {

using flexura::CaseData;
using flexura::MapLayout;
using flexura::elementAt;
using flexura::mapLayout;
using flexura::readCase;

namespace fs = std::filesystem;

std::string readWhole(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool waitFor(const std::function<bool()>& test, std::chrono::milliseconds timeout = 20s)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        if (test()) return true;
        std::this_thread::sleep_for(100ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return test();
}

TEST(FlexuraWindow, KeysMenuAndEnterDoWhatTheySay)
{
    VirtualDisplay x;
    std::string error;
    ASSERT_TRUE(x.start(1024, 768, error)) << error;
    char pattern[] = "/tmp/flexura-window-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    for (const char* extension : {".ana", ".geo", ".pro"})
        fs::copy_file(fs::path(EXAMPLES_DIR) / ("box/BOX" + std::string(extension)), dir / ("BOX" + std::string(extension)));
    const std::string calculate = "cd '" + dir.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" STRAKON_PROGRAM
                                  "' '" + (dir / "BOX.ana").string() + "' </dev/null >/dev/null 2>&1";
    ASSERT_EQ(std::system(calculate.c_str()), 0);

    ChildProcess flexura;
    ASSERT_TRUE(flexura.start({FLEXURA_PROGRAM, (dir / "BOX.ana").string()}, x.name(), dir.string()));
    const Window frame = findWindow(x.connection(), "Section Collapse", 20s);
    ASSERT_NE(frame, 0u) << flexura.output();
    auto keys = [&](std::vector<std::string> names) {
        xdotool(x.name(), {"windowfocus", "--sync", std::to_string(frame)});
        names.insert(names.begin(), {"key", "--delay", "100"});
        ASSERT_TRUE(xdotool(x.name(), names));
    };
    std::this_thread::sleep_for(500ms);

    // Nothing is written until asked; then every image and table.
    EXPECT_FALSE(fs::exists(dir / "BOX_mk.csv"));
    keys({"Tab", "Down", "Down", "alt+f", "s"});
    EXPECT_TRUE(waitFor([&] { return fs::exists(dir / "BOX_mk.csv") && fs::exists(dir / "BOX_D_elements.csv"); }))
        << flexura.output();
    EXPECT_TRUE(fs::exists(dir / "BOX_mk.png"));
    EXPECT_TRUE(fs::exists(dir / "BOX_A_map.png"));

    // File > Write calculation report: the report, and its PDF from the browser (deps.sh test).
    keys({"alt+f", "r"});
    EXPECT_TRUE(waitFor([&] { return fs::exists(dir / "BOX_report.pdf"); }, 60s)) << flexura.output();
    EXPECT_TRUE(fs::exists(dir / "BOX_report.html"));

    // Enter: element 2 handed over and Curvella started on case study A's curve file.
    keys({"Return"});
    EXPECT_TRUE(waitFor([&] { return readWhole(dir / "nElem.txt") == "   2\r\n"; })) << readWhole(dir / "nElem.txt");
    const Window curvella = findWindow(x.connection(), "Element Behaviour", 20s);
    EXPECT_NE(curvella, 0u) << flexura.output();
    EXPECT_TRUE(waitFor([&] { return fs::exists(dir / "Element.002"); }));
    if (curvella != 0) sendCloseRequest(x.connection(), curvella);

    // On the map a double click on element 3 hands it over as well.
    CaseData data;
    {
        const fs::path here = fs::current_path();
        fs::current_path(dir);
        ASSERT_TRUE(readCase("BOX", data).ok);
        fs::current_path(here);
    }
    const Geometry client = windowGeometry(x.connection(), frame);
    const int paneW = client.width, paneH = client.height - 44;  // less the menu bar and status line
    const MapLayout layout = mapLayout(data, paneW, paneH);
    int atX = -1, atY = -1;
    for (int py = 0; py < paneH && atX < 0; ++py)
        for (int px = 0; px < paneW && atX < 0; ++px)
            if (elementAt(data, layout, px, py) == 2) {
                atX = px;
                atY = py;
            }
    ASSERT_GE(atX, 0);
    ASSERT_TRUE(xdotool(x.name(), {"mousemove", std::to_string(client.x + atX + 1), std::to_string(client.y + 22 + atY + 1),
                                   "click", "--repeat", "2", "--delay", "60", "1"}));
    EXPECT_TRUE(waitFor([&] { return readWhole(dir / "nElem.txt") == "   3\r\n"; })) << readWhole(dir / "nElem.txt");
    const Window second = findWindow(x.connection(), "Element Behaviour", 20s);
    EXPECT_NE(second, 0u) << flexura.output();
    EXPECT_TRUE(waitFor([&] { return fs::exists(dir / "Element.003"); }));
    if (second != 0) sendCloseRequest(x.connection(), second);

    keys({"alt+w", "x"});
    EXPECT_EQ(flexura.waitForExit(20s), std::optional<int>(0)) << flexura.output();
    if (!HasFailure()) fs::remove_all(dir);
}

// Zombies among the children of a process.
int zombiesOf(int parent)
{
    int zombies = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string stat = readWhole(entry.path() / "stat");
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream fields(stat.substr(close + 1));
        char state = 0;
        int ppid = 0;
        fields >> state >> ppid;
        zombies += ppid == parent && state == 'Z';
    }
    return zombies;
}

// The status line of the frame, as shown.
std::vector<std::uint32_t> statusLine(Display* display, const Geometry& client)
{
    const Screenshot shot = takeScreenshot(display);
    std::vector<std::uint32_t> pixels;
    for (int y = client.y + client.height - 20; y < client.y + client.height - 2; ++y)
        for (int x = client.x; x < client.x + client.width; ++x) pixels.push_back(shot.at(x, y));
    return pixels;
}

// Without a window manager nobody gives the keyboard back when Curvella's window closes: Flexura
// takes it itself, as it does when clicked. Curvella's run is collected as it ends and its
// message leaves the status line. Idle, Flexura ends with status 0 by the close button.
class FlexuraFrame : public ::testing::TestWithParam<bool> {};

TEST_P(FlexuraFrame, KeyboardComesBackAfterCurvellaAndOnAClickAndTheCloseButtonEndsTheIdleRunWithStatusZero)
{
    VirtualDisplay x;
    std::string error;
    ASSERT_TRUE(x.start(1024, 768, error)) << error;
    if (GetParam()) {
        ASSERT_TRUE(x.startWindowManager(error)) << error;
    }
    char pattern[] = "/tmp/flexura-focus-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    for (const char* extension : {".ana", ".geo", ".pro"})
        fs::copy_file(fs::path(EXAMPLES_DIR) / ("box/BOX" + std::string(extension)), dir / ("BOX" + std::string(extension)));
    const std::string calculate = "cd '" + dir.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" STRAKON_PROGRAM
                                  "' '" + (dir / "BOX.ana").string() + "' </dev/null >/dev/null 2>&1";
    ASSERT_EQ(std::system(calculate.c_str()), 0);

    ChildProcess flexura;
    ASSERT_TRUE(flexura.start({FLEXURA_PROGRAM, (dir / "BOX.ana").string()}, x.name(), dir.string()));
    const Window frame = findWindow(x.connection(), "Section Collapse", 20s);
    ASSERT_NE(frame, 0u) << flexura.output();
    Geometry client;
    ASSERT_TRUE(waitFor([&] {
        client = windowGeometry(x.connection(), frame);
        return client.width == 1024;
    }));
    xdotool(x.name(), {"windowfocus", "--sync", std::to_string(frame)});
    // Keys as typed, to whichever window has the keyboard.
    auto keys = [&](std::vector<std::string> names) {
        names.insert(names.begin(), {"key", "--delay", "100"});
        ASSERT_TRUE(xdotool(x.name(), names));
    };
    auto steadyStatus = [&] {
        std::vector<std::uint32_t> last = statusLine(x.connection(), client);
        for (int i = 0; i < 50; ++i) {
            std::this_thread::sleep_for(200ms);
            std::vector<std::uint32_t> now = statusLine(x.connection(), client);
            if (now == last) break;
            last = std::move(now);
        }
        return last;
    };
    auto handOverAndClose = [&](const std::string& record) {
        EXPECT_TRUE(waitFor([&] { return readWhole(dir / "nElem.txt") == record; })) << readWhole(dir / "nElem.txt");
        const Window curvella = findWindow(x.connection(), "Element Behaviour", 20s);
        ASSERT_NE(curvella, 0u) << flexura.output();
        std::this_thread::sleep_for(300ms);
        sendCloseRequest(x.connection(), curvella);
    };

    keys({"Tab", "Down", "Down"});
    const std::vector<std::uint32_t> described = steadyStatus();
    keys({"Return"});
    ASSERT_NO_FATAL_FAILURE(handOverAndClose("   2\r\n"));
    EXPECT_TRUE(waitFor([&] {
        return zombiesOf(flexura.pid()) == 0 && statusLine(x.connection(), client) == described &&
               focusedWindow(x.connection()) == frame;
    })) << "zombies " << zombiesOf(flexura.pid()) << ", focus " << focusedWindow(x.connection());

    // The keys reach Flexura again without anything done to its window.
    keys({"Down", "Return"});
    ASSERT_NO_FATAL_FAILURE(handOverAndClose("   3\r\n"));
    EXPECT_TRUE(waitFor([&] { return zombiesOf(flexura.pid()) == 0 && focusedWindow(x.connection()) == frame; }));

    // A click on the frame takes the keyboard as well.
    dropFocus(x.connection());
    ASSERT_TRUE(xdotool(x.name(), {"mousemove", "--sync", std::to_string(client.x + client.width - 60),
                                   std::to_string(client.y + 10), "click", "1"}));
    EXPECT_TRUE(waitFor([&] { return focusedWindow(x.connection()) == frame; }));

    sendCloseRequest(x.connection(), frame);
    EXPECT_EQ(flexura.waitForExit(20s), std::optional<int>(0)) << flexura.output();
    EXPECT_EQ(flexura.output().find("closed before"), std::string::npos) << flexura.output();
    if (!HasFailure()) fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(WindowManager, FlexuraFrame, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "openbox" : "none"; });

} // namespace
} // namespace tarnova::windowtest
