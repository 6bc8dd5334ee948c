// The palette (standard colours, then the 39-colour table) and bitmap files read back.

#include "cores.hpp"
#include "display/Backend.hpp"
#include "display/Display.hpp"
#include "display/TestHooks.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace tarnova {
namespace {

TEST(Palette, StandardColoursUntilTheTableIsLoaded)
{
    inspect::resetDisplay(320, 200);
    const auto& palette = displayState().palette;
    EXPECT_EQ(palette[12], 0x0000FFu);     // red
    EXPECT_EQ(palette[1], 0x800000u);      // dark blue
    EXPECT_EQ(palette[20], 0u);
    EXPECT_EQ(loadPalette(), 0);
    for (int i = 0; i < colourTableSize; ++i) EXPECT_EQ(palette[i], colourTable()[i]) << i;
    EXPECT_EQ(palette[17], 0x0066FFu);     // 255, 102, 0
    EXPECT_EQ(palette[30], 0xFF0088u);     // 136, 0, 255
    EXPECT_EQ(palette[38], 0xE0E0E0u);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(palette[i], colourTable()[i]);
}

TEST(Palette, SixteenColourDisplayKeepsTheStandardColours)
{
    inspect::resetDisplay(320, 200);
    WindowConfig config;
    config.colourCount = 16;
    ASSERT_TRUE(configureWindow(config));
    EXPECT_EQ(loadPalette(), -1);
    EXPECT_EQ(displayState().palette[17], 0u);
}

std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

TEST(Bitmap, SavedRectangleReadsBack)
{
    inspect::resetDisplay(320, 200);
    loadPalette();
    setColour(12);
    drawRectangle(3, 10, 8, 14, 10);
    setColour(9);
    setPixelReal(5, 6);
    setViewport(5, 6, 100, 100);   // integer coordinates now count from (5, 6)
    const auto path = std::filesystem::temp_directory_path() / "displayTestImage.bmp";
    std::filesystem::remove(path);
    ASSERT_EQ(saveImage(path.string() + "   ", 9, 6, 0, 0), 0);   // corners in any order

    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(b.size(), 54u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 2), b.size());
    const std::uint32_t offset = le32(b, 10);
    const std::uint32_t width = le32(b, 18);
    const std::uint32_t height = le32(b, 22);
    EXPECT_EQ(width, 10u);
    EXPECT_EQ(height, 7u);
    EXPECT_EQ(b[28], 8);               // bits per pixel
    // Palette entry 12 as blue, green, red.
    EXPECT_EQ(b[54 + 4 * 12 + 2], 255);
    EXPECT_EQ(b[54 + 4 * 12 + 1], 0);
    const std::uint32_t stride = (width + 3) & ~3u;
    ASSERT_EQ(b.size(), offset + stride * height);
    for (std::uint32_t row = 0; row < height; ++row)
        for (std::uint32_t col = 0; col < width; ++col) {
            const int x = 5 + static_cast<int>(col);
            const int y = 6 + static_cast<int>(height - 1 - row);     // rows are stored bottom-up
            EXPECT_EQ(b[offset + row * stride + col], inspect::pixelAt(x, y)) << x << "," << y;
        }
    EXPECT_EQ(b[offset + (height - 1) * stride], 9);    // (5, 6) at the top left
    in.close();   // Windows removes no open file
    std::filesystem::remove(path);
}

TEST(Bitmap, FailedSaveReportsAndLeavesNoFile)
{
    inspect::resetDisplay(320, 200);
    const auto dir = std::filesystem::temp_directory_path() / "displayTestNoSuchDir";
    std::filesystem::remove_all(dir);
    EXPECT_NE(saveImage((dir / "x.bmp").string(), 0, 0, 10, 10), 0);
    EXPECT_FALSE(std::filesystem::exists(dir));
    EXPECT_NE(saveImage("", 0, 0, 10, 10), 0);
    EXPECT_NE(saveImage((std::filesystem::temp_directory_path() / "outside.bmp").string(), 400, 300, 500, 400), 0);
}

} // namespace
} // namespace tarnova
