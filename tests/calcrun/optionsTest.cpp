// Case results file names built from the options, and the option record's reading and echoes.

#include "CaseFiles.hpp"

#include <gtest/gtest.h>

namespace tarnova::calcrun {
namespace {

using ReadCaseOptions = EngineTest;

struct NameCase {
    int behaviour, shedding, corrosion;
    float tensionBlock, heel, distortion;
    const char* name;
};

TEST(CaseResultsFileName, DigitsFollowTheSinglePrecisionOptions)
{
    const NameCase cases[] = {
        {3, 1, 0, 4.5f, 30.0f, 0.0015f, "jc310415.030"},
        {3, 1, 0, 4.5f, 30.0f, 0.0007f, "jc310406.030"},  // 0.0007f x 10000 lies just below 7
        {3, 1, 0, 4.5f, 30.0f, 0.0050f, "jc310449.030"},  // just below 50
        {3, 1, 0, 4.5f, 30.0f, 0.0150f, "jc310414.030"},  // leading two of 149
        {2, 2, 1, 0.0f, 0.0f, 0.0f, "jc221000.000"},
        {1, 2, 3, 10.0f, 5.9f, 0.0f, "jc123:00.005"},     // width 10 gives the character after 9
        {3, 1, 0, 4.5f, 180.0f, 0.0015f, "jc310415.180"},
        // Negative codes keep the name in this directory and distinct; a negative heel takes
        // the name of its equivalent angle from 0 to 360, so -130 to -139.9 no longer share one.
        {3, 1, -1, 4.5f, -30.0f, 0.0015f, "jc31-415.330"},
        {3, 1, 0, 4.5f, -90.0f, 0.0015f, "jc310415.270"},
        {3, 1, 0, 4.5f, 270.0f, 0.0015f, "jc310415.270"},
        {3, 1, 0, 4.5f, -130.0f, 0.0015f, "jc310415.230"},
        {3, 1, 0, 4.5f, -135.5f, 0.0015f, "jc310415.224"},
        {3, 1, 0, 4.5f, -99.9f, 0.0015f, "jc310415.260"},
        {3, 1, 0, 4.5f, -0.5f, 0.0015f, "jc310415.359"},
        {3, 1, 0, 4.5f, 999.9f, 0.0015f, "jc310415.999"},
        // Absurd widths never put NUL, "/" or a control byte into the name.
        {3, 1, 0, 78.0f, 0.0f, 0.0f, "jc310~00.000"},
        {3, 1, 0, 79.0f, 0.0f, 0.0f, "jc310-00.000"},
        {3, 1, 0, 208.0f, 0.0f, 0.0f, "jc310-00.000"},
        {3, 1, 0, 255.0f, 0.0f, 0.0f, "jc310-00.000"},
    };
    for (const NameCase& c : cases) {
        CaseOptions o;
        o.behaviourCode = c.behaviour;
        o.sheddingCode = c.shedding;
        o.corrosionCode = c.corrosion;
        o.tensionBlockWidth = c.tensionBlock;
        o.heelAngle = c.heel;
        o.distortionCoefficient = c.distortion;
        EXPECT_EQ(caseResultsFileName(o), c.name) << c.name;
    }
}

TEST(ZeroPaddedDigits, PadsToTheMinimumAndConsumesTheValue)
{
    FixedText text(10);
    int value = 7;
    zeroPaddedDigits(text, value, 3);
    EXPECT_EQ(text.view(), "007       ");
    EXPECT_EQ(value, 0);
    value = 12345;
    zeroPaddedDigits(text, value, 2);
    EXPECT_EQ(text.view(), "12345     ");
    value = 1000;
    zeroPaddedDigits(text, value, 1);
    EXPECT_EQ(text.view(), "1000      ");
}

TEST_F(ReadCaseOptions, EchoesTheRecordAndConvertsTheHeelToRadians)
{
    test::ScratchCase scratch;
    scratch.writeOptions({{3, 1, 0, 4.5f, 30.0f, 0.0015f}});
    scratch.openRunUnits();
    CaseOptions o;
    readCaseOptions(o);
    EXPECT_EQ(o.behaviourCode, 3);
    EXPECT_EQ(o.sheddingCode, 1);
    EXPECT_FLOAT_EQ(o.tensionBlockWidth, 4.5f);
    EXPECT_EQ(o.heelAngle, 30.0f * 3.141593f / 180.0f);
    scratch.closeRunUnits();
    const auto results = test::ScratchCase::lines("jc310415.030");
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[0], "");
    EXPECT_EQ(results[2], "E/B/T 3          SHED/CONST 1          CORR/NO COR 0");
    EXPECT_EQ(results[3], "TENS.BLOCK WIDTH= 4.5  INITIAL DISTORSION= .0015   ANGLE OF HEEL=  30.0 DEGREE");
    EXPECT_EQ(test::ScratchCase::lines("CASE.rst"), results);
    EXPECT_EQ(test::ScratchCase::lines("lixo.tmp").at(0), " 3 1 0 4.50 30.0.0015  0.");
}

} // namespace
} // namespace tarnova::calcrun
