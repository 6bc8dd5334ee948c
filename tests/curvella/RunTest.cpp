// Curvella run headless on hand-made cases: the files it leaves, its exit status, the image's
// size and pixels, and its handling of odd inputs.

#include "CaseFiles.hpp"
#include "PanelLayout.hpp"
#include "PlotLayout.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace tarnova {
namespace {

namespace fs = std::filesystem;
using testing::HandCase;

struct RunResult {
    int status = -1;
    std::string errors;     // standard error
};

// Runs the viewer headless in `workDirectory` with the arguments (already quoted), input exhausted.
RunResult runViewer(const fs::path& workDirectory, const std::string& arguments)
{
    const fs::path errors = workDirectory / ".stderr";
    // Without a display to open, the viewer runs headless even where a desktop session exists.
    const std::string command = "cd '" + workDirectory.string() +
                                "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 30 '" CURVELLA_PROGRAM "' " +
                                arguments + " </dev/null >/dev/null 2>'" + errors.string() + "'";
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.errors = testing::readWhole(errors);
    fs::remove(errors);
    return result;
}

std::string inQuotes(const fs::path& path)
{
    return "'" + path.string() + "'";
}

void writeHandOver(const fs::path& dir, const std::string& record)
{
    std::ofstream(dir / "nElem.txt", std::ios::binary) << record << "\r\n";
}

struct Colour {
    int r = -1, g = -1, b = -1;
    bool operator==(const Colour&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Colour& c)
{
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}
constexpr Colour black{0, 0, 0}, white{255, 255, 255}, darkCyan{0, 128, 128}, red{255, 0, 0},
    yellow{255, 255, 0};

// A bitmap file of 8, 24 or 32 bits per pixel.
struct Bitmap {
    std::string bytes;
    int width = 0, height = 0, bits = 0;
    bool bottomUp = true;

    explicit Bitmap(const fs::path& file) : bytes(testing::readWhole(file))
    {
        if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) return;
        width = s32(18);
        const int h = s32(22);
        bottomUp = h > 0;
        height = std::abs(h);
        bits = u16(28);
    }
    std::uint32_t u32(std::size_t at) const
    {
        return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8 |
               static_cast<unsigned char>(bytes[at + 2]) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
    }
    int s32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
    int u16(std::size_t at) const { return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8; }
    int byteAt(std::size_t at) const { return static_cast<unsigned char>(bytes.at(at)); }

    Colour pixel(int x, int y) const
    {
        const std::size_t rowSize = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
        const std::size_t row = bottomUp ? height - 1 - y : y;
        const std::size_t at = u32(10) + row * rowSize;
        if (bits == 8) {
            const std::size_t entry = 14 + u32(14) + 4 * static_cast<std::size_t>(byteAt(at + x));
            return {byteAt(entry + 2), byteAt(entry + 1), byteAt(entry)};
        }
        const std::size_t p = at + static_cast<std::size_t>(x) * (bits / 8);
        return {byteAt(p + 2), byteAt(p + 1), byteAt(p)};
    }
};

// Pixel of the pane at a real point of a viewport whose window starts at (0, 0) (nearest,
// halves away from zero), y upward.
std::pair<int, int> keyPlanPixel(const PanelLayout& p, double x, double y)
{
    const PixelRect& v = p.keyPlanViewport;
    const int column = static_cast<int>(std::lround(x * (v.x2 - v.x1) / p.keyPlanWidth));
    const int row = (v.y2 - v.y1) - static_cast<int>(std::lround(y * (v.y2 - v.y1) / p.keyPlanHeight));
    return {v.x1 + column, v.y1 + row};
}

class ViewerRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = testing::freshDirectory("run");
        testing::writeCase(dir, testing::threeElementCase());
    }
    fs::path dir;
};

TEST_F(ViewerRun, HeadlessRunLeavesListingAndImage)
{
    writeHandOver(dir, "   2");
    const RunResult run = runViewer(dir, inQuotes(dir / "CASE1.teA"));
    EXPECT_EQ(run.status, 0) << run.errors;

    const std::vector<std::string> r = testing::readRecordsOf(dir / "Element.002");
    ASSERT_EQ(r.size(), 68u);
    EXPECT_EQ(testing::readWhole(dir / "Element.002").substr(0, 45), "            TARNOVA - version 3.0 (1996)\r\n \r\n");
    EXPECT_EQ(r[0], "            TARNOVA - version 3.0 (1996)");
    EXPECT_EQ(r[2], " Ship name: CASE1");
    EXPECT_EQ(r[4], " Strain/Yield Strain (x)    Stress (y)");
    EXPECT_EQ(r[5], "        .100E+00            .150E+02");
    EXPECT_EQ(r[16], "        .120E+01            .235E+03");
    EXPECT_EQ(r[54], "        .500E+01            .100E+03");
    EXPECT_EQ(r[56], "Element Number  :   2");
    EXPECT_EQ(r[58], "Frame spacing   :   800.0");
    EXPECT_EQ(r[59], "Plate width     :  1000.0");
    EXPECT_EQ(r[60], "Plate thickness :    15.5");
    EXPECT_EQ(r[61], "Flange width    : *******");
    EXPECT_EQ(r[62], "Flange thickness:      .0");
    EXPECT_EQ(r[64], "Web thickness   :    11.0");
    EXPECT_EQ(r[66], "Ultimate stress :    235.00");
    EXPECT_EQ(r[67], "Ultimate strain :      1.20");

    const Bitmap image(dir / "Elem002.bmp");
    EXPECT_GT(image.width, 0);
    EXPECT_GT(image.height, 0);
    EXPECT_EQ(testing::readWhole(dir / "nElem.txt"), "   2\r\n");   // left as it was
}

TEST_F(ViewerRun, ImageThatCannotBeWrittenIsAFailureAndKeepsTheListing)
{
    writeHandOver(dir, "   2");
    fs::create_directory(dir / "Elem002.bmp");   // a folder in the image's place: the save fails
    const RunResult run = runViewer(dir, inQuotes(dir / "CASE1.teA"));
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.errors.find("Elem002.bmp could not be written"), std::string::npos) << run.errors;
    EXPECT_EQ(testing::readRecordsOf(dir / "Element.002").size(), 68u);
}

TEST_F(ViewerRun, BackslashSeparatesDirectoriesAsSlashDoes)
{
    writeHandOver(dir, "   3");
    const RunResult run = runViewer(dir.parent_path(), inQuotes(dir.filename().string() + "\\CASE1.teA"));
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(fs::exists(dir / "Element.003"));
    EXPECT_TRUE(fs::exists(dir / "Elem003.bmp"));
}

TEST_F(ViewerRun, ImageHoldsTheWholePaneInBothSchemes)
{
    writeHandOver(dir, "   2");
    for (const bool dark : {true, false}) {
        fs::remove(dir / "Elem002.bmp");
        const RunResult run = runViewer(dir, inQuotes(dir / "CASE1.teA") + (dark ? " 1" : ""));
        ASSERT_EQ(run.status, 0) << run.errors;
        const Bitmap image(dir / "Elem002.bmp");
        ASSERT_TRUE(image.bits == 8 || image.bits == 24 || image.bits == 32) << image.bits;
        const int w = image.width, h = image.height;
        ASSERT_GE(w, 640);
        ASSERT_GE(h, 480);
        // The whole pane: every row of pixels is in the file.
        EXPECT_EQ(image.bytes.size(), image.u32(10) + ((static_cast<std::size_t>(w) * image.bits + 31) / 32) * 4 * h);
        const PanelLayout panel = computePanelLayout(w, h);
        const Colour background = dark ? black : white;
        const Colour frame = dark ? darkCyan : black;

        EXPECT_EQ(image.pixel(2 * panel.w3, 100), background);     // gap between plot and panels
        EXPECT_EQ(image.pixel(w - 5, 5), background);              // banner strip, right of the text
        EXPECT_EQ(image.pixel(0, 20), frame);                       // plot pane frame corners
        EXPECT_EQ(image.pixel(2 * panel.w3 - 1, h - 1), frame);
        EXPECT_EQ(image.pixel(panel.keyPlanViewport.x1, 20), frame);
        EXPECT_EQ(image.pixel(w - 1, panel.dataViewport.y1), frame);

        // Banner text: some pixel of its strip has the banner colour.
        int bannerPixels = 0;
        for (int y = 2; y < 20; ++y)
            for (int x = bannerX(w); x < bannerX(w) + 200; ++x)
                bannerPixels += image.pixel(x, y) == (dark ? white : black);
        EXPECT_GT(bannerPixels, 20);

        // Element 2 at (1000, 0) of a 1000 x 500 section: scaled by the breadth.
        const double scale = keyPlanScale(1000, 500, panel.availableWidth, panel.availableHeight);
        const auto [discX, discY] = keyPlanPixel(panel, static_cast<int>(1000 * scale + panel.marginX),
                                                 static_cast<int>(panel.marginY));
        EXPECT_EQ(image.pixel(discX, discY), dark ? red : black);
        const auto [dotX, dotY] = keyPlanPixel(panel, static_cast<int>(1000 * scale + panel.marginX),
                                               static_cast<int>(500 * scale + panel.marginY));
        EXPECT_EQ(image.pixel(dotX, dotY), dark ? yellow : black);
    }
}

TEST_F(ViewerRun, HandOverFileGivesElementOneWhenMissingOrOutOfRange)
{
    struct Case {
        const char* record;     // nullptr: no file
        const char* listing;
    };
    for (const Case& c : {Case{nullptr, "Element.001"}, Case{"   0", "Element.001"}, Case{"  -5", "Element.001"},
                          Case{" 250", "Element.001"}, Case{"   3", "Element.003"}}) {
        fs::remove(dir / "nElem.txt");
        fs::remove(dir / "Element.001");
        fs::remove(dir / "Element.003");
        if (c.record) writeHandOver(dir, c.record);
        const RunResult run = runViewer(dir, inQuotes(dir / "CASE1.teA"));
        EXPECT_EQ(run.status, 0) << (c.record ? c.record : "missing") << run.errors;
        EXPECT_TRUE(fs::exists(dir / c.listing)) << (c.record ? c.record : "missing");
        if (!c.record) {
            EXPECT_EQ(testing::readWhole(dir / "nElem.txt"), "   1\r\n");
            // Element 1's curve is in tension: negative values fill their fields.
            EXPECT_EQ(testing::readRecordsOf(dir / "Element.001").at(5), "       -.100E-01           -.500E+01");
        }
    }
}

TEST_F(ViewerRun, FlatCurveIsDrawnAndListed)
{
    writeHandOver(dir, "   3");    // element 3: every strain ratio and stress is 0
    const RunResult run = runViewer(dir, inQuotes(dir / "CASE1.teA") + " 1");
    EXPECT_EQ(run.status, 0) << run.errors;
    const std::vector<std::string> r = testing::readRecordsOf(dir / "Element.003");
    ASSERT_EQ(r.size(), 68u);
    EXPECT_EQ(r[5], "        .000E+00            .000E+00");
    EXPECT_EQ(r[66], "Ultimate stress :       .00");
    EXPECT_EQ(r[67], "Ultimate strain :       .00");
    // The curve lies on the axes: the origin stays at the lower left of the inner area.
    const Bitmap image(dir / "Elem003.bmp");
    const PlotLayout p = computePlotLayout(StepValues{}, StepValues{}, image.width, image.height);
    EXPECT_EQ(image.pixel(static_cast<int>(p.xZero), image.height - 1 - static_cast<int>(p.yZero)), red);
}

TEST(ViewerRunSection, CoincidentPositionsGatherAtTheKeyPlanCorner)
{
    const fs::path dir = testing::freshDirectory("single");
    HandCase one = testing::threeElementCase();
    one.x = {0};
    one.y = {0};
    testing::writeCase(dir, one);
    const RunResult run = runViewer(dir, inQuotes(dir / "CASE1.teA") + " 1");
    EXPECT_EQ(run.status, 0) << run.errors;
    const Bitmap image(dir / "Elem001.bmp");
    ASSERT_GT(image.width, 0);
    const PanelLayout panel = computePanelLayout(image.width, image.height);
    const auto [x, y] = keyPlanPixel(panel, panel.marginX, panel.marginY);
    EXPECT_EQ(image.pixel(x, y), red);
}

TEST(ViewerRunSection, MoreThan600ElementsIsRefused)
{
    const fs::path dir = testing::freshDirectory("many");
    HandCase many = testing::threeElementCase();
    many.x.assign(601, 0.0);
    many.y.assign(601, 0.0);
    many.steps = 1;
    testing::writeCase(dir, many);
    const RunResult run = runViewer(dir, inQuotes(dir / "CASE1.teA"));
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.errors.find("more than 600 elements"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(dir / "Element.001"));
}

TEST_F(ViewerRun, FailuresThatEndTheRunGiveNonZeroStatus)
{
    // An extension that is not a curve file's: nothing is opened or written.
    RunResult run = runViewer(dir, inQuotes(dir / "CASE1.ANA"));
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.errors.find("CASE1.teA not found"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(dir / "nElem.txt"));
    EXPECT_FALSE(fs::exists(dir / "CASE1.ANA"));

    // A missing curve file is reported as empty (and left behind empty).
    run = runViewer(dir, inQuotes(dir / "OTHER.teA"));
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.errors.find("OTHER.teA is an empty file"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("OTHER.geo is an empty file"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(dir / "Element.001"));

    // A case directory that does not exist stops the run naming it: going on in the current
    // directory would show another case.
    run = runViewer(dir, "/nonexistent-curvella-dir/CASE1.teA");
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_NE(run.errors.find("The directory /nonexistent-curvella-dir does not exist"), std::string::npos)
        << run.errors;
    EXPECT_FALSE(fs::exists(dir / "Element.001"));
    // None at all (a bare name): the message, then the run goes on in the current directory,
    // which here holds the case. The message does not end the run, so it still ends with 0.
    run = runViewer(dir, "CASE1.teA");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("Failed to change to directory"), std::string::npos) << run.errors;
    EXPECT_TRUE(fs::exists(dir / "Element.001"));
    fs::remove(dir / "Element.001");

    // A calculation that stopped inside the case: fewer than 50 step blocks.
    HandCase cut = testing::threeElementCase();
    cut.steps = 20;
    testing::writeCurveFile(dir, cut);
    run = runViewer(dir, inQuotes(dir / "CASE1.teA"));
    EXPECT_NE(run.status, 0);
    EXPECT_FALSE(fs::exists(dir / "Element.001"));
}

} // namespace
} // namespace tarnova
