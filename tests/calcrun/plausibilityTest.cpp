// Plausibility ranges of the case files, and the guards behind them: loops that end and results
// that stop the run rather than be written when they are not finite, and file names built
// without undefined conversions.

#include "CaseFiles.hpp"
#include "plausibility.hpp"

#include "records/Records.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>

namespace tarnova::calcrun {
namespace {

using test::GeoElement;
using test::RunStopped;
using test::ScratchCase;

constexpr float nan = std::numeric_limits<float>::quiet_NaN();

// Puts `text`, right-justified, into columns first..last of record `record` of a file.
void setField(const std::string& file, std::size_t record, std::size_t first, std::size_t last, const std::string& text)
{
    std::vector<std::string> records = ScratchCase::lines(file);
    std::string& r = records.at(record - 1);
    if (r.size() < last) r.resize(last, ' ');
    const std::size_t width = last - first + 1;
    r.replace(first - 1, width, std::string(width - text.size(), ' ') + text);
    std::ofstream out(file, std::ios::binary);
    for (const std::string& line : records) out << line << "\r\n";
}

struct Limit {
    const char* file;
    std::size_t record, first, last;
    const char* inside[2];    // the two ends of the range, accepted
    const char* outside[2];   // just beyond them, refused
};

// One row per range of the table; a text of an F7.1 field without its point has one implied decimal.
// Every inside value also prints in every field that echoes it (the campaign's edge stage runs them).
const Limit limits[] = {
    {"CASE.geo", 5, 1, 7, {"10.0", "20000.0"}, {"9.9", "20000.1"}},         // frame spacing
    {"CASE.geo", 5, 8, 14, {"10.0", "20000.0"}, {"9.9", "20000.1"}},        // plate width
    // 0.1 mm is inside the range; with the 800 mm plate its slenderness is not (see below).
    {"CASE.geo", 5, 15, 21, {"0.5", "500.0"}, {"0", "500.1"}},              // plate thickness
    {"CASE.geo", 5, 22, 28, {"0", "5000.0"}, {"-0.1", "5000.1"}},           // flange width
    {"CASE.geo", 5, 29, 35, {"0", "500.0"}, {"-0.1", "500.1"}},             // flange thickness
    {"CASE.geo", 5, 36, 42, {"0", "8000.0"}, {"-0.1", "8000.1"}},           // web height
    {"CASE.geo", 5, 43, 49, {"0", "500.0"}, {"-0.1", "500.1"}},             // web thickness
    {"CASE.geo", 5, 50, 52, {"1", "1."}, {"0", "1.5"}},                      // property set
    {"CASE.geo", 5, 53, 56, {"-.99", "9.99"}, {"-1.0", "10.0"}},            // spare value
    {"CASE.geo", 5, 61, 69, {"-99000.0", "99000.0"}, {"-99000.1", "1E20"}}, // x
    {"CASE.geo", 6, 70, 78, {"0.1", "99000.0"}, {"-1E38", "99000.1"}},      // y
    {"CASE.geo", 2, 1, 10, {"-9999999.", "99999992."}, {"-1.0E7", "1.0E8"}}, // first header value
    {"CASE.geo", 2, 11, 20, {"-9999999.", "99999992."}, {"-1.0E7", "1E20"}}, // breadth
    {"CASE.geo", 2, 21, 30, {"-9999999.", "99999992."}, {"-1E20", "1.0E8"}}, // depth
    {"CASE.pro", 1, 1, 10, {"1.0", "2000.0"}, {"0.9", "1E19"}},             // yield stress
    {"CASE.pro", 1, 11, 20, {"1000.0", "1000000.0"}, {"999.9", "1000001."}}, // Young's modulus
    {"CASE.ana", 2, 7, 11, {"0", "20.00"}, {"-0.01", "20.01"}},             // tension block width
    {"CASE.ana", 2, 12, 16, {"-99.9", "999.9"}, {"-100.", "1E30"}},         // heel
    {"CASE.ana", 2, 12, 16, {"360.0", "270.0"}, {"-1000", "-1E3"}},         // heel: a sweep to 360
    {"CASE.ana", 2, 17, 21, {"0", ".9999"}, {"-1", "1.0"}},                 // distortion
    {"CASE.ana", 2, 22, 25, {"-99.", "999."}, {"-100", "1000"}},            // spare option
};

TEST(Plausibility, EachRangeAcceptsItsEndsAndRefusesWhatLiesBeyondNamingFieldAndRange)
{
    for (const Limit& l : limits) {
        for (int bad = 0; bad <= 1; ++bad) {
            for (const char* text : bad ? l.outside : l.inside) {
                ScratchCase scratch;
                scratch.writeOptions({{}});
                GeoElement low, high;
                high.y = 1000;
                scratch.writeGeometry({low, high});
                scratch.writeProperties({{235, 206000}});
                setField(l.file, l.record, l.first, l.last, text);
                InputCheck check(InputCheck::Mode::collectAll);
                checkCaseFiles(check, "CASE");
                const std::string where = std::string(l.file) + " columns " + std::to_string(l.first) + ": " + text;
                if (!bad) {
                    EXPECT_TRUE(check.problems().empty()) << where << ": " << check.problems().front().text();
                    continue;
                }
                ASSERT_EQ(check.problems().size(), 1u) << where;
                const InputProblem& p = check.problems().front();
                EXPECT_EQ(p.file, l.file) << where;
                EXPECT_EQ(p.record, static_cast<long>(l.record)) << where;
                EXPECT_EQ(p.firstColumn, static_cast<int>(l.first)) << where;
                EXPECT_NE(p.field.find(text), std::string::npos) << where;
                EXPECT_FALSE(p.allowed.empty()) << where;
                EXPECT_FALSE(p.classic) << where;
                // The run stops at the same problem, with the same text.
                InputCheck run(InputCheck::Mode::stopAtFirst);
                try {
                    checkCaseFiles(run, "CASE");
                    ADD_FAILURE() << where << " accepted by the run";
                } catch (const RunStopped& stop) {
                    EXPECT_EQ(stop.what(), p.text()) << where;
                }
            }
        }
    }
}

TEST(Plausibility, FieldsThatAreNoNumberAreLeftToTheRecordLayerInARunAndListedInCheckMode)
{
    ScratchCase scratch;
    scratch.writeOptions({{}});
    GeoElement low, high;
    high.y = 1000;
    scratch.writeGeometry({low, high});
    scratch.writeProperties({{235, 206000}});
    setField("CASE.geo", 5, 36, 42, std::string("1\0" "2", 3));
    InputCheck check(InputCheck::Mode::collectAll);
    checkCaseFiles(check, "CASE");
    ASSERT_EQ(check.problems().size(), 1u);
    EXPECT_TRUE(check.problems().front().classic);
    EXPECT_NE(check.problems().front().text().find("\"    1\\x002\""), std::string::npos)
        << check.problems().front().text();
    InputCheck run(InputCheck::Mode::stopAtFirst);
    EXPECT_NO_THROW(checkCaseFiles(run, "CASE"));
}

TEST(Plausibility, PlateSlendernessBeyondItsEchoIsRefusedInTheFilesAndInMemory)
{
    // Width 20000 mm over 10 mm with yield 2000 over modulus 1000: 2828, where the trace holds 99.99.
    ScratchCase scratch;
    scratch.writeOptions({{}});
    GeoElement low, high;
    low.plateWidth = 20000;
    low.plateThickness = 10;
    high.y = 1000;
    scratch.writeGeometry({low, high});
    scratch.writeProperties({{2000, 1000}});
    InputCheck check(InputCheck::Mode::collectAll);
    checkCaseFiles(check, "CASE");
    ASSERT_EQ(check.problems().size(), 1u);
    const std::string text = check.problems().front().text();
    EXPECT_NE(text.find("CASE.geo, record 5, columns 8-14: the plate slenderness 2828.4"), std::string::npos) << text;
    EXPECT_NE(text.find("allowed: up to 99.99"), std::string::npos) << text;
}

// A centroid that is NaN once made the search for the plastic axis loop for ever.
struct PlasticAxis : EngineTest {};

TEST_F(PlasticAxis, SearchEndsForNaNHeights)
{
    section.elementCount = 3;
    for (int n = 1; n <= 3; ++n) {
        element(n).centroidY = n == 2 ? nan : static_cast<float>(n);
        element(n).plateArea = 100.0f;
        element(n).stiffenerArea = 0.0f;
        element(n).materialSet = 1;
    }
    material(1).yieldStress = 235.0f;
    plasticProperties();   // returns
    SUCCEED();
}

struct GuardTest : EngineTest {
    ScratchCase scratch;
    void SetUp() override
    {
        scratch.writeOptions({{3, 1, 0, 4.5f, 0.0f, 0.0f}});
        GeoElement low, high;
        high.y = 1000;
        scratch.writeGeometry({low, high});
        scratch.writeProperties({{235, 206000}});
        scratch.openRunUnits();
        place = {1, 0};
        readCaseOptions(options);
        readSectionModel("CASE", 0, 4.5f);
        trippingStresses(0.3f);
    }
    std::string stopOf(const std::function<void()>& run)
    {
        try {
            run();
        } catch (const RunStopped& stop) {
            return stop.what();
        }
        return "no stop";
    }
};

TEST_F(GuardTest, SectionPropertyThatIsNotFiniteStopsNamingQuantity)
{
    element(2).stiffenerCentroid = nan;
    const std::string stop = stopOf([this] {
        float elastic = 0, plastic = 0;
        sectionProperties(elastic, plastic);
    });
    EXPECT_NE(stop.find("centroid y of element 2 is not a number (case study"), std::string::npos) << stop;
}

TEST_F(GuardTest, StepForceThatIsNotFiniteStopsAtOnceNamingStep)
{
    float elastic = 0, plastic = 0;
    sectionProperties(elastic, plastic);
    material(1).yieldStress = std::numeric_limits<float>::infinity() * 0.0f;
    const std::string stop = stopOf([this] {
        float r1 = 0, r2 = 0;
        progressiveCollapse(options.behaviourCode, options.sheddingCode, r1, r2);
    });
    EXPECT_NE(stop.find("axial force of the section is not a number (case study 1, step 1)"), std::string::npos)
        << stop;
    scratch.closeRunUnits();
    // Nothing that is not a number was written as a step.
    EXPECT_EQ(ScratchCase::read("CASE.rst").find("NaN"), std::string::npos);
}

TEST(CaseResultsFileName, ValuesWithoutACodeTakeDashesWithoutOverflow)
{
    const float huge = 1e20f, inf = std::numeric_limits<float>::infinity();
    struct Row {
        float tension, distortion, heel;
        const char* name;
    };
    const Row rows[] = {
        {huge, 0.0015f, 30.0f, "jc310-15.030"},
        {nan, 0.0015f, 30.0f, "jc310-15.030"},
        {4.5f, huge, 30.0f, "jc3104--.030"},
        {4.5f, -inf, 30.0f, "jc3104--.030"},
        {4.5f, 0.0015f, huge, "jc310415.---"},
        {4.5f, 0.0015f, -huge, "jc310415.---"},
        {4.5f, 0.0015f, nan, "jc310415.---"},
        {4.5f, 0.0015f, -30.0f, "jc310415.330"},
    };
    for (const Row& r : rows) {
        CaseOptions o;
        o.behaviourCode = 3;
        o.sheddingCode = 1;
        o.corrosionCode = 0;
        o.tensionBlockWidth = r.tension;
        o.distortionCoefficient = r.distortion;
        o.heelAngle = r.heel;
        EXPECT_EQ(caseResultsFileName(o), r.name);
    }
    FixedText text(10);
    int value = INT_MIN;
    zeroPaddedDigits(text, value, 3);
    EXPECT_EQ(text.trimmed(), "-214748364");   // the ten characters the text holds
}

} // namespace
} // namespace tarnova::calcrun
