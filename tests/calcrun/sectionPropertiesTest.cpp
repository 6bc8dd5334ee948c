// Section properties: the worked examples, the exact plastic neutral axis of the lumped section
// and second moments that rounding would make negative.

#include "CaseFiles.hpp"

#include "records/Records.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace tarnova::calcrun {
namespace {

using RadiusOfGyration = EngineTest;

using test::GeoElement;
using test::ScratchCase;

struct SectionPropertiesTest : EngineTest {
    ScratchCase scratch;
    float elastic = 0, plastic = 0;
    void SetUp() override
    {
        scratch.writeOptions({{}});
        scratch.openRunUnits();
        openUnit(caseResultsUnit, "jc.tmp");
    }
    void compute(const std::vector<GeoElement>& elements, const std::vector<std::pair<float, float>>& sets = {{235, 206000}})
    {
        scratch.writeGeometry(elements);
        scratch.writeProperties(sets);
        readSectionModel("CASE", 0, 0.0f);
        sectionProperties(elastic, plastic);
    }
};

// A bare plate strip of the given area whose centroid stays at its reference point.
GeoElement lump(float area, float y, float propertySet = 1)
{
    GeoElement e;
    e.plateWidth = area / 10.0f;
    e.plateThickness = 10.0f;
    e.y = y;
    e.orientation = 0;
    e.propertySet = propertySet;
    return e;
}

TEST_F(SectionPropertiesTest, TwoLumpsGiveTheWorkedExample)
{
    compute({lump(1000, 0), lump(1000, 1000)});
    EXPECT_FLOAT_EQ(section.neutralAxisY, 500.0f);
    EXPECT_FLOAT_EQ(section.verticalBendingInertia, 5e8f);
    EXPECT_FLOAT_EQ(section.plasticNeutralAxis, 500.0f);
    EXPECT_FLOAT_EQ(plastic, 2.35e8f);
    EXPECT_FLOAT_EQ(elastic, 235.0f * 5e8f / 500.0f);
    scratch.closeRunUnits();
    closeUnit(caseResultsUnit);
    const auto report = ScratchCase::lines("CASE.rst");
    ASSERT_EQ(report.size(), 6u);
    EXPECT_EQ(report[1], " AREA     X EL.N.AXIS Y SECT. MOD.   EL.B.MOM VER. 2.MOM HOR. 2.MOM S.M.BOTTOM");
    EXPECT_EQ(report[4], "  PLASTIC BEND. Mom.    PL. NEUTRAL AXIS     Pl. S. Modulus");
    EXPECT_EQ(report[5], "  .235000E+09(N.mm)" + std::string(8, ' ') + "  500.(mm)" + std::string(5, ' ') + "  .100000E+07(mm3)");
    EXPECT_EQ(ScratchCase::lines("jc.tmp").at(1), "SECTION PROPERTIES");
}

TEST_F(SectionPropertiesTest, StiffenedElementCentroidAndOwnSecondMoments)
{
    GeoElement stiffened;
    stiffened.plateWidth = 800;
    stiffened.plateThickness = 16;
    stiffened.flangeWidth = 100;
    stiffened.flangeThickness = 15;
    stiffened.webHeight = 300;
    stiffened.webThickness = 12;
    stiffened.y = 1000;
    stiffened.orientation = 1;
    compute({stiffened, lump(1000, 0)});
    const Element& e = element(1);
    EXPECT_FLOAT_EQ(e.plateArea + e.stiffenerArea, 17900.0f);
    EXPECT_NEAR(e.centroidY, 949.78f, 0.01f);
    EXPECT_NEAR(e.inertiaAboutHorizontal / 2.0555e8f, 1.0f, 1e-4f);
    EXPECT_NEAR(e.inertiaAboutVertical / 6.8396e8f, 1.0f, 1e-4f);

    // Pointing the other way puts the centroid above the reference point by the same offset.
    stiffened.orientation = 2;
    compute({stiffened, lump(1000, 0)});
    EXPECT_NEAR(element(1).centroidY, 1050.22f, 0.01f);
}

TEST_F(SectionPropertiesTest, SymmetricSectionKeepsThePlasticAxisOnTheElasticOne)
{
    compute({lump(5000, 0), lump(800, 250), lump(800, 500), lump(800, 750), lump(5000, 1000)});
    EXPECT_FLOAT_EQ(section.neutralAxisY, 500.0f);
    EXPECT_EQ(section.plasticNeutralAxis, section.neutralAxisY);
}

// The plastic axis of a lumped section halves the yield force and minimises sum w |y - axis|.
TEST_F(SectionPropertiesTest, PlasticAxisIsTheWeightedMedianOfTheYieldForces)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> area(200.0f, 20000.0f), height(0.0f, 20000.0f);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<GeoElement> elements;
        elements.push_back(lump(std::round(area(random)), 0));
        elements.push_back(lump(std::round(area(random)), 20000, 2));
        for (int i = 0; i < 40; ++i) {
            elements.push_back(lump(std::round(area(random)), std::round(height(random)), static_cast<float>(1 + i % 2)));
        }
        compute(elements, {{235, 206000}, {355, 206000}});
        const float axis = section.plasticNeutralAxis;
        double above = 0, below = 0, total = 0;
        auto momentAbout = [&](double y) {
            double m = 0;
            for (int n = 1; n <= section.elementCount; ++n) {
                const Element& e = element(n);
                m += double(material(e.materialSet).yieldStress) * double(e.plateArea) * std::fabs(double(e.centroidY) - y);
            }
            return m;
        };
        for (int n = 1; n <= section.elementCount; ++n) {
            const Element& e = element(n);
            const double w = double(material(e.materialSet).yieldStress) * double(e.plateArea);
            total += w;
            if (e.centroidY > axis) above += w;
            if (e.centroidY < axis) below += w;
        }
        EXPECT_LE(above, total / 2) << trial;
        EXPECT_LE(below, total / 2) << trial;
        const double best = momentAbout(axis);
        EXPECT_NEAR(section.plasticMoment / best, 1.0, 1e-6) << trial;
        for (int n = 1; n <= section.elementCount; ++n) {
            EXPECT_LE(best, momentAbout(element(n).centroidY) * (1 + 1e-12)) << trial;
        }
    }
}

TEST_F(RadiusOfGyration, BarePlateNeverGivesANaN)
{
    for (float t : {5.5f, 11.3f, 12.7f, 16.1f, 23.9f, 31.7f}) {
        for (float b : {333.3f, 700.1f, 815.7f, 999.9f}) {
            const float r = radiusOfGyration(b * t, b * t, -t / 2.0f, 0.0f, 0.0f, 0.0f, 1);
            EXPECT_TRUE(std::isfinite(r)) << t << " " << b;
            EXPECT_GE(r, 0.0f);
        }
    }
}

} // namespace
} // namespace tarnova::calcrun
