// The shared palette PNG encoder: what it writes reads back as given (size, palette entries,
// pixels, text chunk) in both compressions, the file holds the same bytes as the memory form,
// and an unusable image writes nothing.
#include "paletteImage.hpp"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using tarnova::PaletteImage;

namespace {

struct Decoded {
    int width = 0, height = 0;
    std::vector<std::array<std::uint8_t, 3>> palette;
    std::vector<std::uint8_t> pixels;
    std::vector<std::pair<std::string, std::string>> texts;
};

struct Reader {
    const std::string* bytes;
    std::size_t at = 0;
};

Decoded decode(const std::string& bytes)
{
    Decoded d;
    Reader reader{&bytes};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        ADD_FAILURE() << "libpng could not read the image";
        return {};
    }
    png_set_read_fn(png, &reader, [](png_structp p, png_bytep out, png_size_t length) {
        auto* r = static_cast<Reader*>(png_get_io_ptr(p));
        if (r->at + length > r->bytes->size()) png_error(p, "short");
        std::memcpy(out, r->bytes->data() + r->at, length);
        r->at += length;
    });
    png_read_info(png, info);
    d.width = static_cast<int>(png_get_image_width(png, info));
    d.height = static_cast<int>(png_get_image_height(png, info));
    EXPECT_EQ(png_get_color_type(png, info), PNG_COLOR_TYPE_PALETTE);
    EXPECT_EQ(png_get_bit_depth(png, info), 8);
    png_colorp colours = nullptr;
    int count = 0;
    png_get_PLTE(png, info, &colours, &count);
    for (int i = 0; i < count; ++i) d.palette.push_back({colours[i].red, colours[i].green, colours[i].blue});
    d.pixels.resize(static_cast<std::size_t>(d.width) * static_cast<std::size_t>(d.height));
    for (int y = 0; y < d.height; ++y) png_read_row(png, d.pixels.data() + static_cast<std::size_t>(y * d.width), nullptr);
    png_read_end(png, info);
    png_textp texts = nullptr;
    const int textCount = png_get_text(png, info, &texts, nullptr);
    for (int i = 0; i < textCount; ++i) d.texts.emplace_back(texts[i].key, texts[i].text);
    png_destroy_read_struct(&png, &info, nullptr);
    return d;
}

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct PaletteImageTest : ::testing::Test {
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("paletteImage." + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
};

const std::vector<std::uint8_t> pixels{0, 1, 2, 2, 1, 0, 0, 0, 2, 2, 2, 1};   // 4 × 3

TEST_F(PaletteImageTest, ReadsBackAsGivenInBothCompressionsAndTheFileMatchesMemory)
{
    for (const bool flatRuns : {false, true}) {
        for (const std::string key : {"", "Software"}) {
            SCOPED_TRACE(std::string(flatRuns ? "flat runs" : "defaults") + ", key '" + key + "'");
            PaletteImage image;
            image.width = 4;
            image.height = 3;
            image.pixels = pixels;
            image.palette = {{255, 255, 255}, {12, 34, 56}, {0, 0, 0}};
            image.textKey = key;
            image.text = "TARNOVA 1.0 (abc)";
            image.flatRuns = flatRuns;
            const std::string bytes = tarnova::encodePaletteImage(image);
            const Decoded d = decode(bytes);
            EXPECT_EQ(d.width, 4);
            EXPECT_EQ(d.height, 3);
            EXPECT_EQ(d.palette, image.palette);
            EXPECT_EQ(d.pixels, pixels);
            if (key.empty()) EXPECT_TRUE(d.texts.empty());
            else EXPECT_EQ(d.texts, (std::vector<std::pair<std::string, std::string>>{{key, image.text}}));

            const fs::path file = dir / "image.png";
            std::string reason;
            ASSERT_TRUE(tarnova::writePaletteImage(file.string(), image, &reason)) << reason;
            EXPECT_EQ(slurp(file), bytes);
        }
    }
}

TEST_F(PaletteImageTest, AnUnusableImageWritesNothingAndSaysWhy)
{
    PaletteImage good;
    good.width = 4;
    good.height = 3;
    good.pixels = pixels;
    good.palette = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}};
    PaletteImage empty = good, short_ = good, noPalette = good, hugePalette = good;
    empty.width = 0;
    short_.height = 4;
    noPalette.palette.clear();
    hugePalette.palette.resize(257);
    for (const PaletteImage* image : {&empty, &short_, &noPalette, &hugePalette}) {
        const fs::path file = dir / "image.png";
        std::string reason;
        EXPECT_FALSE(tarnova::writePaletteImage(file.string(), *image, &reason));
        EXPECT_FALSE(reason.empty());
        EXPECT_TRUE(tarnova::encodePaletteImage(*image).empty());
        EXPECT_TRUE(fs::is_empty(dir));
    }
}

} // namespace
