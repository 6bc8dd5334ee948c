// The element kernel on every instruction set this processor runs: every file, the exit status
// and the messages are those of the one-element code, on both examples, the 600-element case and
// fifty generated sections with random options.

#include "elementArrays.hpp"
#include "generatedCases.hpp"
#include "runStrakon.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using namespace strakontest;
using tarnova::calcrun::ElementKernel;

TEST(ElementKernelTargets, EveryFileStatusAndMessageIsThatOfTheOneElementCode)
{
    std::vector<Case> all = {{"tanker", {}, "tanker/TANKER"}, {"box", {}, "box/BOX"}};
    std::mt19937 random(20261209);
    for (int i = 0; i < 50; ++i) all.push_back(generatedCase(random, "generated" + std::to_string(i)));
    const std::vector<ElementKernel> kernels = tarnova::calcrun::availableElementKernels();
    ASSERT_EQ(kernels.front(), ElementKernel::scalar);
    for (const Case& c : all) {
        SCOPED_TRACE(c.name);
        const Outcome scalar = runCaseWith(c, "TARNOVA_ELEMENT_KERNEL", "scalar");
        for (std::size_t k = 1; k < kernels.size(); ++k) {
            const std::string name(tarnova::calcrun::elementKernelName(kernels[k]));
            SCOPED_TRACE(name);
            const Outcome vector = runCaseWith(c, "TARNOVA_ELEMENT_KERNEL", name.c_str());
            EXPECT_EQ(scalar.run.status, vector.run.status);
            EXPECT_EQ(scalar.run.errors, vector.run.errors);
            EXPECT_EQ(scalar.run.output, vector.run.output);
            ASSERT_EQ(scalar.files.size(), vector.files.size());
            for (const auto& [file, text] : scalar.files) {
                auto other = vector.files.find(file);
                ASSERT_NE(other, vector.files.end()) << file;
                EXPECT_TRUE(text == other->second) << file << " differs";
            }
        }
    }
}

} // namespace
