// Tripping stresses: the worked T-stiffener and the table "AT.T".

#include "CaseFiles.hpp"

#include <gtest/gtest.h>

namespace tarnova::calcrun {
namespace {

using TrippingStresses = EngineTest;

using test::GeoElement;
using test::ScratchCase;

TEST_F(TrippingStresses, WorkedTeeStiffenerAndItsTableLine)
{
    ScratchCase scratch;
    scratch.writeOptions({{}});
    scratch.openRunUnits();
    GeoElement tee;
    tee.plateThickness = 15;
    tee.webHeight = 300;
    tee.webThickness = 10;
    tee.flangeWidth = 100;
    tee.flangeThickness = 12;
    tee.y = 1000;
    tee.kind = 3;
    GeoElement bare;  // no stiffener: T = 1 and no line
    scratch.writeGeometry({tee, bare});
    scratch.writeProperties({{235, 206000}});
    readSectionModel("CASE", 0, 0.0f);
    EXPECT_NEAR(element(1).stiffenerCentroid, 194.571f, 0.001f);
    EXPECT_NEAR(element(1).stiffenerInertia / 4.33738e7f, 1.0f, 1e-5f);
    EXPECT_NEAR(element(1).plateSlenderness, 1.80135f, 1e-5f);

    trippingStresses(0.3f);
    EXPECT_NEAR(trippingStress(1, 2), 3.3227f, 5e-4f);
    EXPECT_NEAR(trippingStress(1, 3), 3.3227f, 5e-4f);
    EXPECT_NEAR(trippingStress(1, 4), 1.9683f, 5e-4f);
    EXPECT_NEAR(trippingStress(1, 5), 2.4016f, 5e-4f);
    EXPECT_NEAR(trippingStress(1, 6), 2.7833f, 5e-4f);
    EXPECT_NEAR(trippingStress(1, 1), 0.96034f, 5e-5f);
    EXPECT_EQ(trippingStress(2, 1), 1.0f);
    EXPECT_EQ(modeInteraction(1), 1.0f);
    EXPECT_EQ(modeInteraction(2), 0.0f);
    EXPECT_EQ(modeInteraction(3), 0.5f);

    scratch.closeRunUnits();
    const auto table = ScratchCase::lines("AT.T");
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0], " TRIPPING STRESSES");
    EXPECT_EQ(table[1], std::string(6, ' ') + " MINIMUM" + " CONST CS" + " VARIA CS" + "  M=1 " + "    M=2 " +
                            "    M=3 " + "    M=4 " + "    M=5 " + "    M=6 " + "    M=7 " + "     X   " +
                            "     Y   " + " H");
    EXPECT_EQ(table[2].substr(0, 38), "   1      .960   3.323   3.323   1.968");
    EXPECT_EQ(table[2].size(), 106u);
    EXPECT_EQ(table[2].substr(86), "       .0   1000.0 3");
    const auto trace = ScratchCase::lines("lixo.tmp");
    EXPECT_EQ(trace.at(trace.size() - 1), " Tripping-Fim");
}

} // namespace
} // namespace tarnova::calcrun
