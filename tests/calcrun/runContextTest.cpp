// The engine as a library: a case study from memory matches the same case study run with its
// files, two contexts run side by side without meeting, and stops and record errors come back
// to the caller as exceptions.

#include "CaseFiles.hpp"

#include "records/Records.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <thread>

namespace tarnova::calcrun {
namespace {

using test::GeoElement;
using test::ScratchCase;

// A stiffened box with a hard-corner row, in two steels; whole millimetres, so the geometry file
// holds the values exactly.
std::vector<GeoElement> stiffenedBox()
{
    std::vector<GeoElement> elements;
    for (int i = 0; i < 12; ++i) {
        for (float y : {0.0f, 4000.0f}) {
            GeoElement e;
            e.x = static_cast<float>(i) * 700.0f;
            e.y = y;
            e.plateWidth = 700;
            e.plateThickness = y > 0 ? 12 : 16;
            e.webHeight = 250;
            e.webThickness = 10;
            e.flangeWidth = 90;
            e.flangeThickness = 12;
            e.orientation = y > 0 ? 1 : 2;
            e.propertySet = y > 0 ? 2 : 1;
            elements.push_back(e);
        }
    }
    for (int j = 1; j < 8; ++j) {
        GeoElement side;
        side.y = static_cast<float>(j) * 500.0f;
        side.plateWidth = 500;
        side.plateThickness = 11;
        side.orientation = 4;
        side.kind = j == 4 ? 1 : 3;
        elements.push_back(side);
    }
    return elements;
}

SectionInput inMemory(const std::vector<GeoElement>& elements)
{
    SectionInput s;
    s.title = "TEST SECTION";
    s.firstHeaderValue = 1;
    for (const GeoElement& e : elements) {
        s.elements.push_back({e.frameSpacing, e.plateWidth, e.plateThickness, e.flangeWidth, e.flangeThickness,
                              e.webHeight, e.webThickness, e.propertySet, e.spare, e.depth, e.x, e.y, e.orientation,
                              e.kind});
    }
    s.materials = {{235, 206000}, {355, 206000}};
    return s;
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void expectSame(const CaseStudyResult& a, const CaseStudyResult& b)
{
    ASSERT_EQ(a.steps.size(), b.steps.size());
    for (std::size_t k = 0; k < a.steps.size(); ++k) {
        EXPECT_TRUE(sameBits(a.steps[k].moment, b.steps[k].moment)) << "step " << k + 1;
        EXPECT_TRUE(sameBits(a.steps[k].neutralAxisY, b.steps[k].neutralAxisY)) << "step " << k + 1;
    }
    EXPECT_TRUE(sameBits(a.ultimate.moment, b.ultimate.moment));
    EXPECT_TRUE(sameBits(a.ultimate.curvature, b.ultimate.curvature));
    EXPECT_TRUE(sameBits(a.properties.plasticMoment, b.properties.plasticMoment));
    EXPECT_TRUE(sameBits(a.properties.elasticMoment, b.properties.elasticMoment));
    EXPECT_TRUE(sameBits(a.properties.neutralAxisY, b.properties.neutralAxisY));
    ASSERT_EQ(a.elementCount, b.elementCount);
    ASSERT_EQ(a.strainRatio.size(), static_cast<std::size_t>(50 * a.elementCount));
    EXPECT_EQ(0, std::memcmp(a.strainRatio.data(), b.strainRatio.data(), a.strainRatio.size() * sizeof(float)));
    EXPECT_EQ(0, std::memcmp(a.elementStress.data(), b.elementStress.data(), a.elementStress.size() * sizeof(float)));
}

TEST(CaseStudyFromMemory, MatchesTheSameCaseStudyRunWithItsFiles)
{
    const std::vector<test::CaseOptionsText> cases = {
        {3, 1, 0, 4.5f, 0.0f, 0.0f}, {2, 2, 2, 3.0f, 180.0f, 0.0f}, {3, 1, 1, 0.0f, 30.0f, 0.0f}};
    ScratchCase scratch;
    scratch.writeGeometry(stiffenedBox());
    scratch.writeProperties({{235, 206000}, {355, 206000}});
    scratch.writeOptions(cases);
    const SectionInput section = inMemory(stiffenedBox());
    for (int k = 1; k <= static_cast<int>(cases.size()); ++k) {
        RecordUnits units;
        openCaseStudyUnits(units, "CASE", k);
        const CaseStudyResult fromFiles = runCaseStudyFiles(units, "CASE", k);
        units.closeAllUnits();
        const auto& o = cases[static_cast<std::size_t>(k - 1)];
        const CaseStudyResult fromMemory =
            runCaseStudy(section, {o.behaviour, o.shedding, o.corrosion, o.tensionBlock, o.heel, o.distortion});
        SCOPED_TRACE("case study " + std::to_string(k));
        expectSame(fromMemory, fromFiles);
        EXPECT_GT(fromMemory.ultimate.moment, 0.0f);
        EXPECT_LT(fromMemory.ultimate.moment, fromMemory.properties.plasticMoment * 1.0001f);
    }
    EXPECT_EQ(ScratchCase::lines("CASE.teC").size(), 1u + 31u + 50u * (2u + 2u * 4u));
}

TEST(CaseStudyFromMemory, ContextsOnTwoThreadsGiveWhatEachGivesAlone)
{
    const SectionInput section = inMemory(stiffenedBox());
    const CaseOptionsInput sagging{3, 1, 0, 4.5f, 0.0f}, hogging{3, 2, 1, 4.5f, 180.0f};
    const CaseStudyResult aloneSagging = runCaseStudy(section, sagging);
    const CaseStudyResult aloneHogging = runCaseStudy(section, hogging);
    CaseStudyResult sideSagging, sideHogging;
    std::thread first([&] { sideSagging = runCaseStudy(section, sagging); });
    std::thread second([&] { sideHogging = runCaseStudy(section, hogging); });
    first.join();
    second.join();
    expectSame(aloneSagging, sideSagging);
    expectSame(aloneHogging, sideHogging);
}

TEST(CaseStudyFromMemory, StopsAndRecordErrorsComeBackAsExceptions)
{
    SectionInput section = inMemory(stiffenedBox());
    section.elements[3].plateWidth = 0;
    try {
        runCaseStudy(section, {});
        ADD_FAILURE() << "no stop";
    } catch (const CaseStudyStopped& stop) {
        EXPECT_NE(std::string(stop.what()).find("plate width 0 of element 4"), std::string::npos) << stop.what();
    }

    ScratchCase scratch;
    scratch.writeGeometry(stiffenedBox());
    scratch.writeProperties({{235, 206000}, {355, 206000}});
    scratch.writeOptions({{3, 1, 0, 4.5f, 0.0f, 0.0f}});
    RecordUnits units;
    openCaseStudyUnits(units, "CASE", 2);   // the options file holds one case study only
    try {
        runCaseStudyFiles(units, "CASE", 2);
        ADD_FAILURE() << "no record error";
    } catch (const RecordError& error) {
        EXPECT_NE(std::string(error.what()).find("READ on unit 21, file \"CASE.ana\""), std::string::npos)
            << error.what();
    }
}

TEST(CaseStudyFromMemory, ImplausibleValuesAreRejectedByTheTableOfRanges)
{
    struct Bad {
        std::function<void(SectionInput&, CaseOptionsInput&)> change;
        const char* words;
    };
    const std::vector<Bad> table = {
        {[](SectionInput& s, CaseOptionsInput&) { s.elements[2].flangeWidth = 1e20f; },
         "flange width 1e+20 of element 3 is too large; allowed: 0 to 5000 mm"},
        {[](SectionInput& s, CaseOptionsInput&) { s.elements[6].x = -1e7f; },
         "x -10000000 of element 7 is too small; allowed: -99000 to 99000 mm"},
        {[](SectionInput& s, CaseOptionsInput&) { s.materials[1].yieldStress = 1e20f; },
         "yield stress 1e+20 of property set 2 is too large; allowed: 1 to 2000 N/mm2"},
        // Allowed ranges and values as the fields hold them, not rounded to six digits.
        {[](SectionInput& s, CaseOptionsInput&) { s.materials[0].youngsModulus = 1000001.0f; },
         "Young's modulus 1000001 of property set 1 is too large; allowed: 1000 to 1000000 N/mm2"},
        {[](SectionInput&, CaseOptionsInput& o) { o.distortionCoefficient = 1.0f; },
         "initial distortion coefficient 1 of case study 1 is too large; allowed: 0 to 0.9999"},
        {[](SectionInput&, CaseOptionsInput& o) { o.spareOption = 1000.0f; },
         "spare option 1000 of case study 1 is too large; allowed: -99 to 999"},
        {[](SectionInput&, CaseOptionsInput& o) { o.heelAngle = 1e30f; },
         "angle of heel 1e+30 of case study 1 is too large; allowed: -99.9 to 999.9 degrees"},
        {[](SectionInput& s, CaseOptionsInput&) { s.materials.pop_back(); },
         "property set 2 is named by an element and the materials hold only 1"},
    };
    for (const Bad& bad : table) {
        SectionInput section = inMemory(stiffenedBox());
        CaseOptionsInput options{3, 1, 0, 4.5f, 0.0f};
        bad.change(section, options);
        try {
            runCaseStudy(section, options);
            ADD_FAILURE() << "no stop for " << bad.words;
        } catch (const CaseStudyStopped& stop) {
            EXPECT_EQ(std::string(stop.what()).rfind(bad.words, 0), 0u) << stop.what();
            EXPECT_EQ(std::string(stop.what()).find("record"), std::string::npos) << stop.what();
        }
    }
}

} // namespace
} // namespace tarnova::calcrun
