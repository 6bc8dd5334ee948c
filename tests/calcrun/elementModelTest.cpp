// Element load-shortening model: the worked formulas and the element force under every
// combination of collapse modes and post-collapse behaviour.

#include "CaseFiles.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tarnova::calcrun {
namespace {

using ElementModelFormulas = EngineTest;

TEST_F(ElementModelFormulas, WorkedExamples)
{
    const float residual[][2] = {{0.5f, 0.5f}, {0.9f, 0.81667f}, {1.0f, 0.83333f}, {1.5f, 0.91667f}, {2.0f, 1.0f}, {3.0f, 1.0f}};
    for (auto [phi, expected] : residual) EXPECT_NEAR(residualStressFactor(phi, 0.2f), expected, 1e-5f) << phi;

    PlateStrength p = plateStrength(1.0f, 3.0f, 2.0f, 3, 1, 3);
    EXPECT_FLOAT_EQ(p.stiffnessRatio, 0.5f);
    EXPECT_FLOAT_EQ(p.strengthRatio, 0.75f);
    p = plateStrength(1.0f, 0.8f, 2.0f, 3, 1, 3);
    EXPECT_FLOAT_EQ(p.stiffnessRatio, 0.625f);
    EXPECT_NEAR(p.strengthRatio, 0.718441f, 1e-6f);
    EXPECT_NEAR(plateStrength(1.0f, 0.8f, 2.0f, 3, 1, 2).strengthRatio, 0.154707f, 1e-6f);
    for (PlateStrength whole : {plateStrength(-0.5f, 3.0f, 2.0f, 3, 1, 3), plateStrength(1.0f, 3.0f, 2.0f, 3, 1, 1),
                                plateStrength(1.0f, 3.0f, 2.0f, 1, 1, 3)}) {
        EXPECT_EQ(whole.strengthRatio, 1.0f);
        EXPECT_EQ(whole.stiffnessRatio, 1.0f);
    }

    element(1).frameSpacing = 2400.0f;
    element(1).stiffenerArea = 100.0f;
    EXPECT_NEAR(columnStrength(1, 0.0015f, 1.0f, 1.0f, 30.0f, 2), 0.756829f, 1e-6f);
    EXPECT_NEAR(columnStrength(1, 0.0015f, 3.0f, 1.0f, 30.0f, 2), 0.756829f, 1e-6f);  // CONST holds
    EXPECT_NEAR(columnStrength(1, 0.0015f, 2.0f, 1.0f, 30.0f, 1), 0.513658f, 1e-6f);  // SHED falls
    EXPECT_FLOAT_EQ(columnStrength(1, 0.0015f, -0.4f, 10.0f, 30.0f, 1), -4.0f);       // tension: A x ratio
}

// Element 1: the worked stiffened panel (plate 800 x 16, T 300 x 12 + 100 x 15, a = 2400) 1000 mm
// above the neutral axis, with a tripping ratio below 1.
struct ElementForceTest : EngineTest {
    static constexpr float sigma0 = 235.0f;
    void SetUp() override
    {
        material(1) = {sigma0, 206000.0f, std::sqrt(sigma0 / 206000.0f), 0, 0};
        Element& e = element(1);
        e = Element{};
        e.frameSpacing = 2400;
        e.plateWidth = 800;
        e.plateThickness = 16;
        e.plateArea = 12800;
        e.stiffenerArea = 5100;
        e.stiffenerCentroid = 196.32f;
        e.stiffenerInertia = 5.329e7f;
        e.plateSlenderness = 1.689f;
        e.residualStressRatio = 0.2195f;
        e.y = 1000;
        e.centroidY = 1000 - 50.22f;
        e.materialSet = 1;
        e.elementKind = 3;
        trippingStress(1, 1) = 0.7f;
    }
    float yieldStrain() const { return material(1).yieldStrainRoot * material(1).yieldStrainRoot; }
    // Stress at the reference point's strain ratio phi (neutral axis at 0, no heel).
    float stress(float phi, int behaviour, int shedding)
    {
        options.behaviourCode = behaviour;
        options.sheddingCode = shedding;
        const float force = elementForce(1, phi * yieldStrain() / 1000.0f, 0.0f, 0.0f, 0.0f);
        EXPECT_FLOAT_EQ(element(1).elementStress, force / (12800.0f + element(1).stiffenerArea));
        return element(1).elementStress;
    }
};

TEST_F(ElementForceTest, EveryCombinationIsContinuousBoundedAndOrdered)
{
    // The wide-plate strength formula itself steps down where the wide-plate slenderness passes 1
    // (from 1 to a/b + 0.32 (1 - a/b)): one jump is allowed there when plates buckle.
    struct Variant {
        const char* name;
        float frameSpacing, stiffenerArea;
        int kind;
        bool widePlateStep;
    };
    const Variant variants[] = {{"long panel", 2400, 5100, 3, false}, {"wide plate", 640, 5100, 3, true},
                                {"wide-plate kind", 2400, 5100, 2, false}, {"hard corner", 2400, 5100, 1, false},
                                {"bare plate", 2400, 0, 3, false}};
    for (const Variant& v : variants) {
        element(1).frameSpacing = v.frameSpacing;
        element(1).stiffenerArea = v.stiffenerArea;
        element(1).elementKind = v.kind;
        trippingStress(1, 1) = v.stiffenerArea == 0 ? 1.0f : 0.7f;
        for (int shedding : {1, 2, 3}) {
            float previous[4] = {};
            int jumps[4] = {};
            for (int i = -3000; i <= 3000; ++i) {
                const float phi = static_cast<float>(i) * 0.001f;
                float s[4];
                for (int behaviour : {1, 2, 3}) {
                    s[behaviour] = stress(phi, behaviour, shedding);
                    const std::string where = std::string(v.name) + " E/B/T " + std::to_string(behaviour) +
                                              " SHED/CONST " + std::to_string(shedding) + " phi " + std::to_string(phi);
                    ASSERT_TRUE(std::isfinite(s[behaviour])) << where;
                    EXPECT_LE(std::fabs(s[behaviour]), sigma0 * (1 + 1e-6f)) << where;
                    if (i > -3000 && std::fabs(s[behaviour] - previous[behaviour]) > 0.01f * sigma0) {
                        ++jumps[behaviour];
                        EXPECT_LE(jumps[behaviour], v.widePlateStep && behaviour != 1 ? 1 : 0) << where;
                    }
                    // Tension: yield only, whatever the options.
                    if (phi <= 0) {
                        EXPECT_FLOAT_EQ(s[behaviour], sigma0 * std::max(phi, -1.0f)) << where;
                    }
                    if (v.kind == 1) {
                        EXPECT_FLOAT_EQ(s[behaviour], s[1]) << where;
                    }
                    previous[behaviour] = s[behaviour];
                }
                // Each added collapse mode can only lower the strength.
                EXPECT_LE(s[2], s[1] + std::fabs(s[1]) * 1e-6f + 1e-4f) << v.name << " phi " << phi;
                EXPECT_LE(s[3], s[2] + std::fabs(s[2]) * 1e-6f + 1e-4f) << v.name << " phi " << phi;
                // Shedding never carries more than holding the strength at yield.
                if (shedding == 1) {
                    const float held = stress(phi, 3, 2);
                    EXPECT_LE(s[3], held + std::fabs(held) * 1e-6f + 1e-4f) << v.name << " phi " << phi;
                }
            }
        }
    }
}

TEST_F(ElementForceTest, YieldOnlyWithoutResidualStressIsSymmetric)
{
    element(1).residualStressRatio = 0.0f;
    for (int i = 0; i <= 3000; i += 7) {
        const float phi = static_cast<float>(i) * 0.001f;
        for (int shedding : {1, 2}) {
            EXPECT_FLOAT_EQ(stress(phi, 1, shedding), -stress(-phi, 1, shedding)) << phi;
            EXPECT_FLOAT_EQ(stress(phi, 1, shedding), sigma0 * std::min(phi, 1.0f)) << phi;
        }
    }
}

TEST_F(ElementForceTest, ResidualStressAppliesAboveOneThousandthEvenWithoutBuckling)
{
    element(1).residualStressRatio = 2.0f;  // would lower the plate at once if applied
    const float tiny = stress(0.0009f, 1, 1);
    EXPECT_FLOAT_EQ(tiny, sigma0 * 0.0009f);
    const float applied = stress(0.5f, 1, 1);
    EXPECT_LT(applied, sigma0 * 0.5f);
}

TEST_F(ElementForceTest, HeelTurnsTheStrainLever)
{
    element(1).x = 1000;
    element(1).y = 0;
    element(1).centroidX = 1000 - 50.22f;
    element(1).centroidY = 0;
    options.behaviourCode = 3;
    options.sheddingCode = 1;
    const float theta = 3.141593f / 2.0f;
    elementForce(1, 0.5f * yieldStrain() / 1000.0f, 0.0f, 0.0f, theta);
    EXPECT_NEAR(element(1).strainRatio, 0.5f, 1e-5f);
}

TEST_F(ElementForceTest, NulAreaStopsNamingTheElement)
{
    test::ScratchCase scratch;  // installs the throwing stop handler
    element(2) = Element{};
    element(2).materialSet = 1;
    element(2).y = 100;
    element(2).frameSpacing = 2400;
    element(2).plateWidth = 800;
    element(2).elementKind = 3;
    options.behaviourCode = 2;
    options.sheddingCode = 1;
    try {
        elementForce(2, 0.001f, 0.0f, 0.0f, 0.0f);
        ADD_FAILURE() << "no stop";
    } catch (const test::RunStopped& stop) {
        EXPECT_NE(std::string(stop.what()).find("AREA OF ELEMENT N. 2 IS NUL"), std::string::npos) << stop.what();
    }
}

} // namespace
} // namespace tarnova::calcrun
