// Section model: derived element quantities, corrosion, shifts, residual stress, and the input
// rejected before any table is written.

#include "CaseFiles.hpp"

#include "Utilitar.hpp"
#include "records/Records.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tarnova::calcrun {
namespace {

using test::GeoElement;
using test::RunStopped;
using test::ScratchCase;

// The stiffened element of the worked example: plate 800 x 16, web 300 x 12, flange 100 x 15.
GeoElement exampleElement()
{
    GeoElement e;
    e.plateWidth = 800;
    e.plateThickness = 16;
    e.flangeWidth = 100;
    e.flangeThickness = 15;
    e.webHeight = 300;
    e.webThickness = 12;
    return e;
}

struct SectionModelTest : EngineTest {
    ScratchCase scratch;
    void SetUp() override
    {
        scratch.writeOptions({{}});
        scratch.openRunUnits();
    }
    void read(const std::vector<GeoElement>& elements, int corrosionCode = 0, float eta = 4.5f, int declared = -1)
    {
        scratch.writeGeometry(elements, declared);
        readSectionModel("CASE", corrosionCode, eta);
    }
};

TEST_F(SectionModelTest, WorkedExampleElementQuantities)
{
    scratch.writeProperties({{235, 206000}});
    GeoElement other = exampleElement();
    other.y = 2000;
    read({exampleElement(), other});
    const Element& e = element(1);
    EXPECT_FLOAT_EQ(e.plateArea, 12800.0f);
    EXPECT_FLOAT_EQ(e.effectivePlateArea, 12800.0f);
    EXPECT_FLOAT_EQ(e.stiffenerArea, 5100.0f);
    EXPECT_NEAR(e.stiffenerCentroid, 196.32f, 0.005f);
    EXPECT_NEAR(e.stiffenerInertia / 5.329e7f, 1.0f, 1e-4f);
    EXPECT_FLOAT_EQ(e.totalDepth, 331.0f);
    EXPECT_NEAR(e.plateSlenderness, 1.689f, 0.0005f);
    EXPECT_NEAR(e.residualStressRatio, 9.0f / 41.0f, 1e-6f);
    EXPECT_EQ(section.elementCount, 2);
    EXPECT_FLOAT_EQ(section.sectionDepth, 2000.0f);
    EXPECT_FLOAT_EQ(section.maxYieldStress, 235.0f);
    EXPECT_FLOAT_EQ(section.maxYoungsModulus, 206000.0f);
}

// The cube is rounded once, as a real power: two products miss the nearest float for these depths.
TEST(RectangleInertia, CubeOfTheDepthIsRoundedOnce)
{
    for (const float depth : {1.7f, 2.3f, 2.7f, 2.9f, 12.3f, 350.7f}) {
        const double cube = static_cast<double>(depth) * depth * depth;
        EXPECT_EQ(rectangleInertia(depth, 1.0f), static_cast<float>(cube) / 12.0f) << depth;
    }
}

TEST_F(SectionModelTest, CorrosionThinsPlateWebAndTwiceTheFlangeButNotTheDepth)
{
    scratch.writeProperties({{235, 206000}});
    GeoElement e = exampleElement();
    e.plateThickness = 12;
    e.webThickness = 10;
    GeoElement high = e;
    high.y = 500;
    read({e, high}, 2);
    EXPECT_FLOAT_EQ(element(1).plateThickness, 11.0f);
    EXPECT_FLOAT_EQ(element(1).flangeThickness, 13.0f);
    EXPECT_FLOAT_EQ(element(1).webThickness, 9.0f);
    EXPECT_FLOAT_EQ(element(1).totalDepth, 327.0f);
}

TEST_F(SectionModelTest, PositionsShiftToZeroAndUnusedSetsAreZeroed)
{
    scratch.writeProperties({{235, 206000}, {0, 0}, {355, 206000}});
    GeoElement low = exampleElement();
    low.x = -300;
    low.y = -500;
    GeoElement high = exampleElement();
    high.y = 1500;
    high.propertySet = 3;
    read({low, high});
    EXPECT_EQ(element(1).y, 0.0f);
    EXPECT_EQ(element(1).x, 0.0f);
    EXPECT_EQ(element(2).x, 300.0f);
    EXPECT_FLOAT_EQ(section.sectionDepth, 2000.0f);
    EXPECT_EQ(section.propertySetCount, 3);
    EXPECT_EQ(material(2).yieldStress, 0.0f);
    EXPECT_EQ(material(3).yieldStress, 355.0f);
    EXPECT_FLOAT_EQ(section.maxYieldStress, 355.0f);
    scratch.closeRunUnits();
    // The whole trace of the section model, in order: the two extents lines hold the values as read
    // and then as found; set 2 is listed as read and then zeroed with the unused sets 4 and 5.
    const auto pad = [](std::string text) { return text.append(80 - text.size(), ' '); };
    const std::vector<std::string> expectedTrace = {
        pad("TEST SECTION"),
        "   2",
        "   2",
        "       1.0        .0        .0",
        "       1.0     300.0    2000.0",
        " CSGMP1",
        " CSGMP2",
        " Property 2 is INVALID ",
        "     235.0  206000.0",
        "        .0        .0",
        "     355.0  206000.0",
        "        .0        .0",
        "        .0        .0",
        " CSGMP-FIM",
        pad("   A      B      T     BF     TF     HW     TW"),
    };
    EXPECT_EQ(ScratchCase::lines("lixo.tmp"), expectedTrace);
    // Curve file head: count, then x, y and the yield stress of each element's set.
    const auto curve = ScratchCase::lines("CASE.teA");
    ASSERT_GE(curve.size(), 3u);
    EXPECT_EQ(curve[0], "   2");
    EXPECT_EQ(curve[1], "        .0        .0     235.0");
    EXPECT_EQ(curve[2], "     300.0    2000.0     355.0");
}

TEST_F(SectionModelTest, TensionBlocksCoveringThePlateLeaveNoResidualStress)
{
    scratch.writeProperties({{235, 206000}});
    GeoElement narrow = exampleElement();
    narrow.plateWidth = 100;  // b/t = 6.25 <= 2 x 4.5
    GeoElement high = exampleElement();
    high.y = 900;
    GeoElement narrower = narrow;
    narrower.plateWidth = 50;
    ::testing::internal::CaptureStderr();
    read({narrow, high, narrower});
    const std::string warning = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(element(1).residualStressRatio, 0.0f);
    EXPECT_EQ(element(3).residualStressRatio, 0.0f);
    // One warning for the run, naming the first such element.
    EXPECT_NE(warning.find("element 1,"), std::string::npos) << warning;
    EXPECT_EQ(warning.find("element 3"), std::string::npos) << warning;
    EXPECT_TRUE(std::isfinite(element(2).residualStressRatio));
    EXPECT_GT(element(2).residualStressRatio, 0.0f);
}

TEST_F(SectionModelTest, CountDifferingFromTheDeclaredOneStops)
{
    scratch.writeProperties({{235, 206000}});
    EXPECT_THROW(read({exampleElement()}, 0, 4.5f, 2), RunStopped);
}

// Every rejection names the file and the record, and leaves the element table as it was.
TEST_F(SectionModelTest, InvalidInputIsRejectedBeforeAnyTableIsWritten)
{
    struct Rejection {
        const char* what;
        void (*spoil)(std::vector<GeoElement>&, std::vector<std::pair<float, float>>&);
        const char* message;
    };
    const Rejection rejections[] = {
        {"property set 0", [](auto& g, auto&) { g[1].propertySet = 0; }, "CASE.geo, record 6"},
        {"property set 6", [](auto& g, auto&) { g[1].propertySet = 6; }, "CASE.geo, record 6"},
        {"zero plate width", [](auto& g, auto&) { g[0].plateWidth = 0; }, "CASE.geo, record 5"},
        {"zero frame spacing", [](auto& g, auto&) { g[1].frameSpacing = 0; }, "CASE.geo, record 6"},
        {"negative plate width", [](auto& g, auto&) { g[1].plateWidth = -800; }, "plate width -800 of element 2"},
        {"zero plate thickness", [](auto& g, auto&) { g[0].plateThickness = 0; }, "CASE.geo, record 5"},
        {"used set without modulus", [](auto&, auto& p) { p[0].second = 0; }, "CASE.pro, record 1"},
        {"more than 600 elements", [](auto& g, auto&) { g.resize(601, g[0]); }, "601 element records"},
    };
    for (const Rejection& r : rejections) {
        std::vector<GeoElement> geometry{exampleElement(), exampleElement()};
        geometry[1].y = 1000;
        std::vector<std::pair<float, float>> properties{{235, 206000}};
        r.spoil(geometry, properties);
        scratch.writeProperties(properties);
        scratch.writeGeometry(geometry);
        element(1).plateWidth = -1.0f;
        section.elementCount = -1;
        try {
            readSectionModel("CASE", 0, 4.5f);
            ADD_FAILURE() << r.what << " was accepted";
        } catch (const RunStopped& stop) {
            EXPECT_NE(std::string(stop.what()).find(r.message), std::string::npos) << r.what << ": " << stop.what();
        }
        EXPECT_EQ(element(1).plateWidth, -1.0f) << r.what;
        EXPECT_EQ(section.elementCount, -1) << r.what;
        closeUnit(geometryUnit);
        closeUnit(propertiesUnit);
    }
}

TEST_F(SectionModelTest, CorrosionThatConsumesThePlateIsRejected)
{
    scratch.writeProperties({{235, 206000}});
    GeoElement thin = exampleElement();
    thin.plateThickness = 1.0f;
    GeoElement high = exampleElement();
    high.y = 700;
    try {
        read({high, thin}, 2);
        ADD_FAILURE() << "accepted";
    } catch (const RunStopped& stop) {
        EXPECT_NE(std::string(stop.what()).find("CASE.geo, record 6"), std::string::npos) << stop.what();
        EXPECT_NE(std::string(stop.what()).find("corrosion"), std::string::npos) << stop.what();
    }
}

} // namespace
} // namespace tarnova::calcrun
