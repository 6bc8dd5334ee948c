// The section description: what it places (mirroring, corners at junctions, profiles, spacings)
// and every error it refuses, each with its line and key.

#include "sectionDescription.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace tarnova::sagoma {
namespace {

const std::string head = R"([section]
title = "TEST"
frame_spacing = 2400

[[steel]]
name = "mild"
yield = 235
)";

BuildResult build(const std::string& body) { return buildSection(head + body, "T.sec"); }

std::string allErrors(const BuildResult& r)
{
    std::string out;
    for (const Note& n : r.errors) out += n.text() + "\n";
    return out;
}

TEST(Profiles, UsualDesignationsGiveWebAndFlange)
{
    const struct {
        const char* text;
        ProfileShape shape;
    } rows[] = {
        {"FB 250x12", {250, 12, 0, 0}},
        {"fb 250x12", {0, 0, 0, 0}},   // not a designation: refused below
        {"L 300x90x11/16", {300, 11, 90, 16}},
        {"L300X90X11/16", {300, 11, 90, 16}},
        {"T 400x12+150x16", {400, 12, 150, 16}},
        {"T 450x12.5+150x20", {450, 12.5, 150, 20}},
    };
    for (const auto& row : rows) {
        ProfileShape shape;
        std::string problem;
        const bool parsed = parseProfile(row.text, shape, problem);
        if (row.shape.webHeight == 0) {
            EXPECT_FALSE(parsed) << row.text;
            continue;
        }
        ASSERT_TRUE(parsed) << row.text << ": " << problem;
        EXPECT_EQ(shape.webHeight, row.shape.webHeight) << row.text;
        EXPECT_EQ(shape.webThickness, row.shape.webThickness) << row.text;
        EXPECT_EQ(shape.flangeWidth, row.shape.flangeWidth) << row.text;
        EXPECT_EQ(shape.flangeThickness, row.shape.flangeThickness) << row.text;
    }
    for (const char* bad : {"FB 250", "FB 250x", "L 300x90x11", "T 400x12x150x16", "HP 200x10", "T 400x-12+150x16", ""}) {
        ProfileShape shape;
        std::string problem;
        EXPECT_FALSE(parseProfile(bad, shape, problem)) << bad;
        EXPECT_FALSE(problem.empty()) << bad;
    }
}

TEST(Strakes, OrientationFollowsTheSideAndTheDirection)
{
    const struct {
        const char* from;
        const char* to;
        const char* side;
        int orientation;
    } rows[] = {
        {"[0, 0]", "[1000, 0]", "left", 2},  {"[0, 0]", "[1000, 0]", "right", 1},
        {"[1000, 0]", "[0, 0]", "left", 1},  {"[0, 0]", "[0, 1000]", "left", 3},
        {"[0, 0]", "[0, 1000]", "right", 4}, {"[0, 1000]", "[0, 0]", "right", 3},
        {"[0, 0]", "[1000, 0]", "up", 2},    {"[0, 0]", "[0, 1000]", "-x", 3},
        {"[0, 0]", "[1000, 300]", "left", 2},   // 17 degrees: the nearest of the four
    };
    for (const auto& row : rows) {
        const BuildResult r = build(std::string("[[strake]]\nfrom = ") + row.from + "\nto = " + row.to +
                                    "\nthickness = 10\nsteel = \"mild\"\nprofile = \"FB 100x10\"\ncount = 1\nside = \"" +
                                    row.side + "\"\n");
        ASSERT_TRUE(r.ok()) << allErrors(r);
        ASSERT_EQ(r.section.elements.size(), 1u);
        EXPECT_EQ(r.section.elements[0].orientation, row.orientation) << row.from << row.to << row.side;
    }
}

TEST(Strakes, SpacingThatDoesNotDivideLeavesTheRemainderLastAndSharesPlating)
{
    const BuildResult r = build(R"([[strake]]
from = [0, 0]
to = [2000, 0]
thickness = 10
steel = "mild"
profile = "FB 100x10"
spacing = 700
side = "up"
corners = "both"
)");
    ASSERT_TRUE(r.ok()) << allErrors(r);
    // Corner, longitudinals at 700 and 1400 (600 left over), corner.
    ASSERT_EQ(r.section.elements.size(), 4u);
    const auto& e = r.section.elements;
    EXPECT_EQ(e[0].elementKind, 1);
    EXPECT_DOUBLE_EQ(e[1].x, 700);
    EXPECT_DOUBLE_EQ(e[2].x, 1400);
    EXPECT_DOUBLE_EQ(e[1].plateWidth, 700);
    EXPECT_DOUBLE_EQ(e[2].plateWidth, 650);   // half of 700 and half of 600
    // Corners by the rule: half the gap to the nearest longitudinal.
    EXPECT_DOUBLE_EQ(e[0].plateWidth, 350);
    EXPECT_DOUBLE_EQ(e[3].plateWidth, 300);
    // The plating is counted once: 2000 mm in all.
    double width = 0;
    for (const PlacedElement& p : e) width += p.plateWidth;
    EXPECT_DOUBLE_EQ(width, 2000);
}

TEST(Strakes, CornerAtAnLJunctionIsPlacedOnceWithHalfTheGapOfEachStrake)
{
    // Bottom and side meet at (0, 0): an L. The side's start corner is the bottom's.
    const BuildResult r = build(R"([[strake]]
from = [0, 0]
to = [3000, 0]
thickness = 12
steel = "mild"
profile = "L 200x90x10/14"
count = 5
side = "up"
corners = "start"

[[strake]]
from = [0, 0]
to = [0, 2000]
thickness = 10
steel = "mild"
profile = "T 200x10+100x12"
count = 3
side = "right"
corners = "start"
)");
    ASSERT_TRUE(r.ok()) << allErrors(r);
    int corners = 0;
    for (const PlacedElement& e : r.section.elements)
        if (e.elementKind == 1) {
            ++corners;
            EXPECT_DOUBLE_EQ(e.plateWidth, 500.0 / 2 + 500.0 / 2);
            EXPECT_DOUBLE_EQ(e.plateThickness, 12);   // the strake that places it
        }
    EXPECT_EQ(corners, 1);
    EXPECT_EQ(r.section.elements.size(), 9u);
    EXPECT_EQ(r.section.elements[1].flangeWidth, 90);
    EXPECT_EQ(r.section.elements[6].flangeWidth, 100);
}

TEST(Strakes, CornerAtATJunctionTakesTheStrakesEndingThereAndNotTheBareWeb)
{
    // Two bottom strakes meet at x = 2000 where a bare girder stands: a T.
    const BuildResult r = build(R"([[strake]]
from = [0, 0]
to = [2000, 0]
thickness = 12
steel = "mild"
profile = "FB 150x10"
count = 3
side = "up"
corners = "end"

[[strake]]
from = [2000, 0]
to = [5000, 0]
thickness = 12
steel = "mild"
profile = "FB 150x10"
count = 5
side = "up"
corners = "start"

[[strake]]
from = [2000, 0]
to = [2000, 1500]
thickness = 11
steel = "mild"
strips = 3
corners = "start"
corner_width = 999
)");
    ASSERT_TRUE(r.ok()) << allErrors(r);
    int corners = 0;
    for (const PlacedElement& e : r.section.elements)
        if (e.elementKind == 1) {
            ++corners;
            EXPECT_DOUBLE_EQ(e.plateWidth, 250 + 250);
        }
    EXPECT_EQ(corners, 1);
    EXPECT_EQ(r.section.elements.size(), 3u + 1 + 5 + 3);
}

TEST(Sections, HalfIsMirroredAboutTheCentrelineWithoutDoublingItsElements)
{
    const std::string strakes = R"(
[[strake]]
from = [0, 0]
to = [2000, 0]
thickness = 12
steel = "mild"
profile = "FB 150x10"
count = 3
side = "up"
corners = "both"

[[strake]]
from = [10, 0]
to = [10, 1000]
thickness = 12
steel = "mild"
profile = "FB 150x10"
count = 1
side = "+x"
)";
    const BuildResult whole = build(strakes);
    ASSERT_TRUE(whole.ok()) << allErrors(whole);
    // The same strakes as a half: the corner at x = 2000 stands on the centreline.
    std::string half = head;
    half.insert(half.find("\n[[steel]]"), "half = true\ncentreline = 2000\n");
    const BuildResult h = buildSection(half + strakes, "H.sec");
    ASSERT_TRUE(h.ok()) << allErrors(h);
    const std::size_t halfCount = whole.section.elements.size();   // 2 corners, 3 + 1 longitudinals
    ASSERT_EQ(halfCount, 6u);
    ASSERT_EQ(h.section.elements.size(), 2 * halfCount - 1);
    for (std::size_t i = halfCount; i < h.section.elements.size(); ++i) EXPECT_GT(h.section.elements[i].x, 2000);
    const PlacedElement& mirroredSide = h.section.elements.back();
    EXPECT_DOUBLE_EQ(mirroredSide.x, 3990);
    EXPECT_EQ(mirroredSide.orientation, 3);
    EXPECT_DOUBLE_EQ(h.section.breadth, 4000);
    EXPECT_TRUE(h.warnings.empty()) << h.warnings.front().text();

    // A strake that runs past the centreline of a half is warned of.
    std::string across = half + strakes;
    across.replace(across.find("to = [2000, 0]"), 14, "to = [2400, 0]");
    const BuildResult a = buildSection(across, "A.sec");
    ASSERT_TRUE(a.ok()) << allErrors(a);
    ASSERT_FALSE(a.warnings.empty());
    EXPECT_NE(a.warnings.front().what.find("beyond the centreline"), std::string::npos) << a.warnings.front().text();
}

TEST(Errors, EachNamesItsLineAndKey)
{
    const struct {
        const char* body;
        int line;            // line in the body (the head has 7)
        const char* key;
        const char* what;
    } rows[] = {
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = -12\nsteel = \"mild\"\nstrips = 2\n", 4, "strake[1].thickness", "above 0"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthikness = 12\nsteel = \"mild\"\nstrips = 2\n", 4, "strake[1].thikness", "\"thickness\"?"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mlid\"\nstrips = 2\n", 5, "strake[1].steel", "\"mild\"?"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nprofile = \"T 400x12\"\ncount = 2\nside = \"up\"\n", 6, "strake[1].profile", "T 400x12+150x16"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nprofile = \"FB 100x10\"\ncount = 2\n", 1, "strake[1].side", "missing"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nprofile = \"FB 100x10\"\ncount = 2\nside = \"+x\"\n", 8, "strake[1].side", "lies along"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nprofile = \"FB 100x10\"\nspacing = 1200\nside = \"up\"\n", 7, "strake[1].spacing", "no room"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nprofile = \"FB 100x10\"\ncount = 2\nspacing = 300\nside = \"up\"\n", 8, "strake[1].spacing", "not both"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\nspacing = 300\n", 7, "strake[1].spacing", "needs a \"profile\""},
        {"[[strake]]\nfrom = [0, 0]\nto = [0.5, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\n", 1, "strake[1].to", "ends where it starts"},
        {"[[strake]]\nfrom = [0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\n", 2, "strake[1].from", "[x, y]"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\ncorners = \"all\"\n", 7, "strake[1].corners", "\"both\""},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\ncorners = \"both\"\n", 1, "strake[1].corner_width", "cannot follow from the rule"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2.5\n", 6, "strake[1].strips", "whole number"},
        {"[[corner]]\nat = [0, 0]\nwidth = 500\nsteel = \"mild\"\n", 1, "corner[1].thickness", "missing"},
        {"[[strake]]\nfrom = [0, 0]\nto = [100000, 0]\nthickness = 12\nsteel = \"mild\"\nstrip_width = 0.7\n", 1, "strake[1].strip_width", "metres for millimetres?"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\n[[study]]\nname = \"sagging\"\nheel = 180\n", 9, "study[1].heel", "contradicts"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\n[[study]]\nname = \"heeled\"\n", 7, "study[1].heel", "missing"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\n[[study]]\nname = \"sagging\"\nmodes = \"X\"\n", 9, "study[1].modes", "\"E\""},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\n[[study]]\nname = \"sagging\"\ncorrosion = 0.3\n", 9, "study[1].corrosion", "multiple of 0.5"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\n[[study]]\nname = \"sagging\"\nafter_collapse = \"KEEP\"\n", 9, "study[1].after_collapse", "CONST"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\n[[steel]]\nname = \"mild\"\nyield = 355\n", 7, "steel[2].name", "named twice"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\n[[profile]]\nname = \"p\"\nweb_height = 100\n", 7, "profile[1].web_thickness", "missing"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 700\n", 6, "strake[1].strips", "1 to 600"},
        {"[[strake]]\nfrom = [0, 0]\nto = [1000, 0]\nthickness = 12\nsteel = \"mild\"\nstrips = 2\nthickness = 13\n", 7, "", "not valid TOML"},
        {"[[strak]]\nfrom = [0, 0]\n", 1, "strak", "\"strake\"?"},
    };
    constexpr int headLines = 7;
    for (const auto& row : rows) {
        const BuildResult r = build(row.body);
        ASSERT_FALSE(r.ok()) << row.body;
        bool found = false;
        for (const Note& n : r.errors) {
            const int expected = row.line + headLines;
            const bool lineMatches = n.line == expected || (row.line == 1 && n.line == 0);
            if (n.key == row.key && lineMatches && n.what.find(row.what) != std::string::npos) found = true;
        }
        EXPECT_TRUE(found) << "wanted line " << row.line + headLines << " key " << row.key << " \"" << row.what
                           << "\" for\n" << row.body << "got:\n" << allErrors(r);
        EXPECT_TRUE(r.section.elements.empty() || row.line == 1) << row.body;
    }
}

TEST(Errors, AreListedAllAtOnceAndNothingIsBuilt)
{
    const BuildResult r = buildSection(R"([section]
frame_spacing = 0

[[steel]]
name = "mild"

[[strake]]
from = [0, 0]
to = [1000, 0]
thickness = 12
steel = "AH36"
strips = 2
)",
                                       "MANY.sec");
    EXPECT_GE(r.errors.size(), 4u);   // title, frame spacing, yield, steel name
    EXPECT_TRUE(r.section.elements.empty());
    for (const Note& n : r.errors) EXPECT_EQ(n.text().rfind("MANY.sec:", 0), 0u) << n.text();
    EXPECT_NE(allErrors(r).find("MANY.sec:11: strake[1].steel: no [[steel]] is named \"AH36\""), std::string::npos)
        << allErrors(r);
}

TEST(Warnings, StrakeFarFromAnAxisIsWarnedButBuilt)
{
    const BuildResult r = build(R"([[strake]]
from = [0, 0]
to = [1000, 1000]
thickness = 12
steel = "mild"
profile = "FB 100x10"
count = 3
side = "left"
)");
    ASSERT_TRUE(r.ok()) << allErrors(r);
    ASSERT_FALSE(r.warnings.empty());
    EXPECT_NE(r.warnings[0].what.find("45 degrees"), std::string::npos) << r.warnings[0].text();
    EXPECT_EQ(r.section.elements.size(), 3u);
}

TEST(Records, OptionRecordsKeepTheClassicLayout)
{
    const BuildResult r = build(R"([[strake]]
from = [0, 0]
to = [1000, 0]
thickness = 12
steel = "mild"
strips = 2

[[study]]
name = "hogging"
corrosion = 1.5
distortion = 0.0015

[[study]]
heel = 30
modes = "E"
)");
    ASSERT_TRUE(r.ok()) << allErrors(r);
    EXPECT_EQ(optionsText(r.section), " 2\r\n 3 1 3 4.50180.0   15  0.\r\n 1 1 0 0.00 30.0    0  0.\r\n");
    EXPECT_EQ(propertiesText(r.section), "     235.0  206000.0\r\n");
    const std::string geo = geometryText(r.section);
    EXPECT_NE(geo.find(" 2400.0  500.0   12.0    0.0    0.0    0.0    0.0 1. .00 .00    250.0      0.0 2 3\r\n"),
              std::string::npos)
        << geo;
}

} // namespace
} // namespace tarnova::sagoma

namespace tarnova::sagoma {
namespace {

// Short fuzz run: the box description with bytes changed, dropped or repeated at random (fixed
// seed). Every variant either builds or reports errors with a line; none crashes or hangs.
TEST(DescriptionFuzz, MutatedDescriptionsBuildOrReportErrors)
{
    std::ifstream in(std::string(EXAMPLES_DIR) + "/box/BOX.sec", std::ios::binary);
    const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(original.empty());
    std::mt19937 random(19);
    const std::string alphabet = "0123456789.-+eE[]=\"#\n xyz_,{}";
    int built = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = original;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < edits && !text.empty(); ++k) {
            const std::size_t at = random() % text.size();
            switch (random() % 3) {
            case 0: text[at] = alphabet[random() % alphabet.size()]; break;
            case 1: text.erase(at, 1 + random() % 8); break;
            default: text.insert(at, text.substr(at, 1 + random() % 16)); break;
            }
        }
        const BuildResult r = buildSection(text, "F.sec");
        if (r.ok()) {
            ++built;
            EXPECT_LE(r.section.elements.size(), static_cast<std::size_t>(maxElements));
            EXPECT_FALSE(geometryText(r.section).empty());
        } else {
            for (const Note& n : r.errors) EXPECT_FALSE(n.what.empty());
        }
    }
    EXPECT_GT(built, 0);
}

} // namespace
} // namespace tarnova::sagoma
