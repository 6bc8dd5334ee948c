// The section picture: written as an 8-bit palette PNG that reads back pixel for pixel, every
// element of the tanker numbered, and the neutral axis where the section's symmetry puts it.

#include "sectionDescription.hpp"
#include "sectionPicture.hpp"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace tarnova::sagoma {
namespace {

namespace fs = std::filesystem;

BuiltSection example(const char* path)
{
    const BuildResult r = buildSectionFile(std::string(EXAMPLES_DIR) + "/" + path);
    EXPECT_TRUE(r.ok()) << path;
    return r.section;
}

TEST(SectionPicture, ReadsBackAsAnEightBitPalettePng)
{
    const Picture picture = drawSection(example("box/BOX.sec"), 800);
    std::string pattern = (fs::temp_directory_path() / "pictureXXXXXX").string();
    const fs::path dir = ::mkdtemp(pattern.data());
    const std::string path = (dir / "BOX_section.png").string();
    std::string reason;
    ASSERT_TRUE(writePicture(path, picture, reason)) << reason;

    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    ASSERT_EQ(setjmp(png_jmpbuf(png)), 0);
    png_init_io(png, file);
    png_read_info(png, info);
    EXPECT_EQ(png_get_color_type(png, info), PNG_COLOR_TYPE_PALETTE);
    EXPECT_EQ(png_get_bit_depth(png, info), 8);
    ASSERT_EQ(static_cast<int>(png_get_image_width(png, info)), picture.width);
    ASSERT_EQ(static_cast<int>(png_get_image_height(png, info)), picture.height);
    png_colorp palette = nullptr;
    int colours = 0;
    png_get_PLTE(png, info, &palette, &colours);
    EXPECT_EQ(colours, static_cast<int>(picture.palette.size()));
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width));
    std::size_t differing = 0;
    for (int y = 0; y < picture.height; ++y) {
        png_read_row(png, row.data(), nullptr);
        for (int x = 0; x < picture.width; ++x)
            differing += row[static_cast<std::size_t>(x)] !=
                         picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) + static_cast<std::size_t>(x)];
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    fs::remove_all(dir);
    EXPECT_EQ(differing, 0u);
    // Something besides paper was drawn, in more than one colour.
    std::size_t inked = 0;
    for (std::uint8_t p : picture.pixels) inked += p != 0;
    EXPECT_GT(inked, 1000u);
}

TEST(SectionPicture, EveryTankerElementIsNumbered)
{
    EXPECT_EQ(drawSection(example("tanker/TANKER.sec")).unlabelled, 0);
}

TEST(SectionPicture, NeutralAxisOfTheSymmetricBoxIsAtHalfDepth)
{
    // The box is symmetric about mid-depth but for its corners (at the outer faces) and the
    // stiffened plates' reference points (on the inner faces): close to 1500, not on it.
    EXPECT_NEAR(neutralAxisHeight(example("box/BOX.sec")), 1500.0, 1.0);
}

} // namespace
} // namespace tarnova::sagoma
