// Graphic-text fonts: the option text, matching against the loaded list (standard faces through
// their stand-ins), and where drawn text lands.

#include "display/Display.hpp"
#include "display/Fonts.hpp"
#include "display/Layer.hpp"
#include "display/TestHooks.hpp"

#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tarnova {
namespace {

using fonts::FontFace;
using fonts::FontRequest;
using fonts::matchFont;
using fonts::parseFontOptions;

TEST(FontOptions, EveryLetterIsRead)
{
    struct Case {
        const char* text;
        std::string face;
        int height, width, pitch, kind;
        bool italic, underline, bold, bestFit;
        int number;
    };
    const std::vector<Case> cases = {
        {"t'arial'h14w7e", "arial", 14, 7, 0, 0, false, false, true, false, 0},
        {"T'Tms Rmn'H16W10", "Times New Roman", 16, 10, 0, 0, false, false, false, false, 0},
        {"t'Helv'", "Arial", 0, 0, 0, 0, false, false, false, false, 0},
        {"t'courier'fv", "Courier New", 0, 0, 1, 2, false, false, false, false, 0},
        {"fpvr iu", "", 0, 0, 2, 1, true, true, false, false, 0},
        {"h15w8b", "", 15, 8, 0, 0, false, false, false, true, 0},
        {"x?h12*", "", 12, 0, 0, 0, false, false, false, false, 0},
        {"h9n3h5", "", 9, 0, 0, 0, false, false, false, false, 3},
    };
    for (const Case& c : cases) {
        const FontRequest r = parseFontOptions(c.text);
        SCOPED_TRACE(c.text);
        EXPECT_TRUE(r.valid);
        EXPECT_EQ(r.face, c.face);
        EXPECT_EQ(r.height, c.height);
        EXPECT_EQ(r.width, c.width);
        EXPECT_EQ(r.pitch, c.pitch);
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.italic, c.italic);
        EXPECT_EQ(r.underline, c.underline);
        EXPECT_EQ(r.bold, c.bold);
        EXPECT_EQ(r.bestFit, c.bestFit);
        EXPECT_EQ(r.number, c.number);
    }
}

TEST(FontOptions, FaceNamesMustBeClosedAndAtMost31Characters)
{
    EXPECT_FALSE(parseFontOptions("t'arial").valid);
    EXPECT_FALSE(parseFontOptions("t'" + std::string(32, 'a') + "'").valid);
    EXPECT_TRUE(parseFontOptions("t'" + std::string(31, 'a') + "'").valid);
}

FontFace raster(const char* family, std::vector<std::pair<int, int>> sizes, bool fixed = false)
{
    FontFace f;
    f.family = family;
    f.scalable = false;
    f.fixedPitch = fixed;
    f.sizes = std::move(sizes);
    return f;
}

FontFace outline(const char* family, bool fixed = false)
{
    FontFace f;
    f.family = family;
    f.fixedPitch = fixed;
    return f;
}

TEST(FontMatching, FirstAgreeingFaceWins)
{
    const std::vector<FontFace> list = {outline("Liberation Sans"), outline("Liberation Mono", true),
                                        outline("Arial"), raster("Fixed", {{13, 7}, {16, 8}}, true)};
    struct Case {
        const char* options;
        int index;
    };
    const std::vector<Case> cases = {
        {"t'arial'h16", 2},         // the face itself before its stand-in
        {"t'helv'", 2},
        {"t'Courier New'", 1},      // through the stand-in
        {"t'Tms Rmn'", -1},         // neither the face nor its stand-in is loaded
        {"t'nosuch'h12", -1},
        {"h12", 0},                 // any face
        {"fh12", 1},                // fixed pitch
        {"rh16w8", 3},              // raster, exact size
        {"rh15w8", -1},             // raster, no such size
        {"rh15w8b", 3},             // best fit
        {"n4", 3},
        {"n5", -1},
        {"t'arial", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(matchFont(list, parseFontOptions(c.options)).index, c.index) << c.options;
    const auto m = matchFont(list, parseFontOptions("rh15w9b"));
    EXPECT_EQ(m.height, 16);
    EXPECT_EQ(m.width, 8);
}

TEST(FontMatching, BestFitTakesTheLeastDifferenceBelow200AndTheEarlierOnTies)
{
    const std::vector<FontFace> list = {raster("A", {{10, 5}}), raster("B", {{20, 10}}), raster("C", {{14, 7}}),
                                        raster("D", {{16, 9}})};
    EXPECT_EQ(matchFont(list, parseFontOptions("h15w8b")).index, 2);     // C: 1 + 1 = 2; D: 1 + 1 = 2, later
    EXPECT_EQ(matchFont(list, parseFontOptions("h300w8b")).index, -1);   // every difference is 200 or more
    EXPECT_EQ(matchFont(list, parseFontOptions("h21w10b")).index, 1);
}

class DrawnText : public ::testing::Test {
protected:
    void SetUp() override
    {
        inspect::resetDisplay(640, 480);
        ASSERT_GT(loadFonts(), 0);
    }
};

// The faces are built in: the three stand-in families, each drawing in both weights, and the
// grid's fixed-pitch face, whatever fonts the machine has.
TEST_F(DrawnText, BuiltInFacesDrawInEveryWeight)
{
    const std::vector<FontFace>& list = fonts::loadedFonts();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].family, "Liberation Sans");
    EXPECT_EQ(list[1].family, "Liberation Serif");
    EXPECT_EQ(list[2].family, "Liberation Mono");
    EXPECT_TRUE(list[2].fixedPitch);
    for (const FontFace& face : list) {
        for (bool bold : {false, true}) {
            fonts::Renderer* r = fonts::renderer(face, 16, 0, bold, false, 1, 0);
            ASSERT_NE(r, nullptr) << face.family;
            const fonts::Glyph& g = r->glyph(U'A');
            EXPECT_GT(std::count(g.bits.begin(), g.bits.end(), 1), 10) << face.family << (bold ? " bold" : "");
        }
    }
    ASSERT_NE(fonts::gridRenderer(), nullptr);
    const std::uint8_t* a = layer::gridGlyph('A');
    EXPECT_TRUE(std::any_of(a, a + layer::cellHeight, [](std::uint8_t row) { return row != 0; }));
}

// The programs' texts are in the classic PC code page; the table built in is the one the C
// library converts with.
TEST(CodePage, BuiltInTableIsThatOfTheCLibrary)
{
    iconv_t cd = iconv_open("UTF-32LE", "CP850");
    if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no CP850 conversion here";
    for (int i = 0; i < 256; ++i) {
        char in = static_cast<char>(i);
        unsigned char out[4] = {};
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t inLeft = 1, outLeft = 4;
        ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1)) << i;
        const char32_t expected = out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<char32_t>(out[3]) << 24);
        EXPECT_EQ(layer::codePoint(static_cast<unsigned char>(i)), expected) << i;
    }
    iconv_close(cd);
}

TEST_F(DrawnText, EveryOptionTextOfTheProgramsSelectsAFont)
{
    for (const char* options : {"t'arial'h14w7e", "t'arial'h16w10e", "t'arial'h16w8", "t'arial'h12w6",
                                "t'arial'h10w5", "h15w8b"})
        EXPECT_GT(selectFont(options), 0) << options;
}

TEST_F(DrawnText, StandardFacesAreFoundThroughTheirStandIns)
{
    ASSERT_GT(selectFont("t'arial'h16w10e"), 0);
    auto f = inspect::selectedFont();
    EXPECT_EQ(f.family, "Liberation Sans");
    EXPECT_EQ(f.height, 16);
    EXPECT_EQ(f.width, 10);
    EXPECT_TRUE(f.bold);
    ASSERT_GT(selectFont("t'Tms Rmn'h12"), 0);
    EXPECT_EQ(inspect::selectedFont().family, "Liberation Serif");
    ASSERT_GT(selectFont("t'courier'h12"), 0);
    EXPECT_EQ(inspect::selectedFont().family, "Liberation Mono");

    const int before = inspect::selectedFont().number;
    EXPECT_EQ(selectFont("t'No Such Face'h12"), -1);
    EXPECT_EQ(inspect::selectedFont().number, before);
    EXPECT_EQ(inspect::selectedFont().family, "Liberation Mono");
}

TEST_F(DrawnText, TextHangsFromTheCurrentPointAndAdvancesByItsWidth)
{
    ASSERT_GT(selectFont("t'arial'h16w8"), 0);
    setColour(3);
    drawRectangle(3, 0, 0, 639, 479);
    setColour(15);
    moveTo(40, 50);
    const int width = graphicTextWidth("Ship");
    EXPECT_GT(width, 16);
    EXPECT_LT(width, 48);
    drawGraphicText("Ship");
    const PixelPoint after = moveTo(0, 0);
    EXPECT_EQ(after.x, 40 + width);
    EXPECT_EQ(after.y, 50);
    int ink = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const int p = inspect::pixelAt(x, y);
            ASSERT_TRUE(p == 3 || p == 15);     // the background is left as it was
            if (p == 15) {
                ++ink;
                EXPECT_TRUE(x >= 40 && x < 40 + width + 2 && y >= 50 && y < 66) << x << "," << y;
            }
        }
    EXPECT_GT(ink, 20);
}

TEST_F(DrawnText, TwoDrawsInARowSitSideBySide)
{
    ASSERT_GT(selectFont("t'arial'h14w7e"), 0);
    setColour(12);
    moveTo(10, 10);
    drawGraphicText("AB");
    drawGraphicText("CD");
    std::vector<int> twice;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) twice.push_back(inspect::pixelAt(x, y));
    inspect::resetDisplay(640, 480);
    ASSERT_GT(selectFont("t'arial'h14w7e"), 0);
    setColour(12);
    moveTo(10, 10);
    drawGraphicText("ABCD");
    std::vector<int> once;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) once.push_back(inspect::pixelAt(x, y));
    EXPECT_EQ(twice, once);
}

TEST_F(DrawnText, SizeFollowsTheAskedHeightAndWidth)
{
    ASSERT_GT(selectFont("t'arial'h16w8"), 0);
    const int narrow = graphicTextWidth("HHHHHHHHHH");
    ASSERT_GT(selectFont("t'arial'h16w16"), 0);
    const int wide = graphicTextWidth("HHHHHHHHHH");
    EXPECT_NEAR(double(wide) / narrow, 2.0, 0.25);
    ASSERT_GT(selectFont("t'courier'h16w8"), 0);
    EXPECT_EQ(graphicTextWidth("iiiiiiiiii"), graphicTextWidth("WWWWWWWWWW"));
    EXPECT_NEAR(graphicTextWidth("WWWWWWWWWW"), 80, 10);
}

} // namespace
} // namespace tarnova
