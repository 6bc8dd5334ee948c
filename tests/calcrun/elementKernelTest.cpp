// The element kernel against the one-element code, bit for bit, on every instruction set this
// processor runs: random elements of every kind, both sides of the neutral axis, every option.

#include "CaseFiles.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace tarnova::calcrun {
namespace {

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct ElementKernelTest : EngineTest {
    std::mt19937 random{20261209};
    float pick(float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); }

    // 37 elements (the arrays' last group only partly used): plates, stiffened panels with some
    // bare of stiffener, hard corners, wide plates and the plate-only kind 2.
    void randomSection()
    {
        material(1) = {235.0f, 206000.0f, std::sqrt(235.0f / 206000.0f), 0, 0};
        material(2) = {355.0f, 206000.0f, std::sqrt(355.0f / 206000.0f), 0, 0};
        section.elementCount = 37;
        for (int n = 1; n <= section.elementCount; ++n) {
            Element& e = element(n);
            e = Element{};
            e.elementKind = 1 + static_cast<int>(random() % 3);
            e.frameSpacing = pick(400, 5000);
            e.plateWidth = pick(300, 1500);
            e.plateThickness = pick(6, 30);
            e.plateArea = e.plateWidth * e.plateThickness;
            e.stiffenerArea = random() % 4 == 0 ? 0.0f : pick(500, 9000);
            e.stiffenerCentroid = pick(20, 400);
            e.stiffenerInertia = pick(1e5f, 2e8f);
            e.plateSlenderness = pick(0.2f, 4.0f);
            e.residualStressRatio = pick(0.0f, 0.4f);
            e.materialSet = 1 + static_cast<int>(random() % 2);
            e.x = pick(-15000, 15000);
            e.y = pick(-2000, 25000);
            e.centroidX = e.x + pick(-5, 5);
            e.centroidY = e.y - pick(0, 200);
            trippingStress(n, 1) = pick(0.2f, 1.4f);
        }
    }
};

TEST_F(ElementKernelTest, EveryLaneGivesTheBitsOfTheOneElementCode)
{
    for (int section = 0; section < 8; ++section) {
        randomSection();
        loadElementArrays();
        for (ElementKernel k : availableElementKernels()) {
            ElementKernelFunction kernel = elementKernelFunction(k);
            if (kernel == nullptr) continue;
            SCOPED_TRACE(std::string(elementKernelName(k)));
            for (int trial = 0; trial < 40; ++trial) {
                const float theta = trial % 4 == 0 ? 0.0f : (trial % 4 == 1 ? pi : pick(-1.0f, 1.0f));
                const float curvature = pick(0.0f, 4e-6f) * (trial % 7 == 0 ? 0.0f : 1.0f);
                const float xna = pick(-3000, 3000), yna = pick(0, 20000);
                const int behaviour = 1 + trial % 3, shedding = 1 + (trial / 3) % 2;
                options.behaviourCode = behaviour;
                options.sheddingCode = shedding;
                ASSERT_EQ(-1, kernel(elementArrays, {curvature, xna, yna, std::cos(theta), std::sin(theta),
                                                     behaviour, shedding}));
                for (int n = 1; n <= this->section.elementCount; ++n) {
                    const std::size_t i = static_cast<std::size_t>(n - 1);
                    const float force = elementForce(n, curvature, xna, yna, theta);
                    const Element& e = element(n);
                    SCOPED_TRACE("element " + std::to_string(n) + ", trial " + std::to_string(trial));
                    EXPECT_TRUE(sameBits(force, elementArrays.force[i])) << force << " " << elementArrays.force[i];
                    EXPECT_TRUE(sameBits(e.strainRatio, elementArrays.strainRatio[i]));
                    EXPECT_TRUE(sameBits(e.effectivePlateArea, elementArrays.effectivePlateArea[i]));
                    EXPECT_TRUE(sameBits(e.stiffnessPlateArea, elementArrays.stiffnessPlateArea[i]));
                    EXPECT_TRUE(sameBits(e.elementStress, elementArrays.elementStress[i]));
                    EXPECT_TRUE(sameBits(force * (e.centroidY - yna), elementArrays.momentX[i]));
                    EXPECT_TRUE(sameBits(force * (e.centroidX - xna), elementArrays.momentY[i]));
                }
            }
        }
    }
}

// An element with no stiffened area on the column path: the kernel names the first such element
// and leaves it to the one-element code, which stops there.
TEST_F(ElementKernelTest, NamesTheFirstElementTheOneElementCodeStopsOn)
{
    randomSection();
    for (int n = 1; n <= section.elementCount; ++n) {
        element(n).elementKind = 3;
        element(n).y = 5000.0f;   // all in compression below
    }
    element(21).stiffenerArea = -element(21).plateArea * 2.0f;
    element(30).stiffenerArea = -element(30).plateArea * 2.0f;
    loadElementArrays();
    for (ElementKernel k : availableElementKernels()) {
        ElementKernelFunction kernel = elementKernelFunction(k);
        if (kernel == nullptr) continue;
        SCOPED_TRACE(std::string(elementKernelName(k)));
        EXPECT_EQ(20, kernel(elementArrays, {1e-6f, 0.0f, 0.0f, 1.0f, 0.0f, 3, 1}));
    }
    options.behaviourCode = 3;
    options.sheddingCode = 1;
    EXPECT_THROW(elementForce(21, 1e-6f, 0.0f, 0.0f, 0.0f), test::RunStopped);
}

} // namespace
} // namespace tarnova::calcrun
