// The tanker example run whole: every file of every case study, their record layouts, and
// ultimate moments that make engineering sense against the plastic moment.

#include "runStrakon.hpp"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

namespace {

using namespace strakontest;

constexpr int tankerElements = 297;
constexpr int stepCount = 50;

struct CaseMoments {
    double plasticMoment = 0;
    double ultimateMoment = 0;
};

// Date line of the report head as the run of that moment writes it.
std::string dateText(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[16];
    std::strftime(text, sizeof text, "%d/%m/%y", &local);
    return text;
}

class TankerExample : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new TempDir;
        copyExample("tanker/TANKER", dir_->path(), "TANKER");
        before_ = std::time(nullptr);
        run_ = runStrakon(dir_->path(), {(dir_->path() / "TANKER.ana").string()});
        after_ = std::time(nullptr);
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }

    // Plastic and ultimate moment of each case study, in report order.
    static std::vector<CaseMoments> reportMoments()
    {
        const auto report = readRecords(dir_->path() / "TANKER.rst");
        std::vector<CaseMoments> moments;
        for (std::size_t i = 0; i + 1 < report.size(); ++i) {
            if (report[i].find("PLASTIC BEND. Mom.") != std::string::npos)
                moments.push_back({field(report[i + 1], 1, 13), 0});
            if (report[i].find("Ultimate Bending Moment") != std::string::npos && !moments.empty())
                moments.back().ultimateMoment = field(report[i + 1], 31, 45);
        }
        return moments;
    }

    static TempDir* dir_;
    static RunResult run_;
    static std::time_t before_, after_;
};

TempDir* TankerExample::dir_ = nullptr;
RunResult TankerExample::run_;
std::time_t TankerExample::before_ = 0;
std::time_t TankerExample::after_ = 0;

TEST_F(TankerExample, RunEndsWithSuccessAndWritesEveryFile)
{
    ASSERT_EQ(run_.status, 0) << run_.errors;
    for (const char* name :
         {"TANKER.rst", "AT.T", "lixo.tmp", "jc310415.000", "jc310415.180", "jc320415.000",
          "jc320415.180", "jc312415.000", "jc312415.180", "jc310415.030", "jc110015.000"})
        EXPECT_TRUE(fs::exists(dir_->path() / name)) << name;
    for (char letter = 'A'; letter <= 'H'; ++letter)
        EXPECT_TRUE(fs::exists(dir_->path() / (std::string("TANKER.te") + letter))) << letter;
    EXPECT_FALSE(fs::exists(dir_->path() / "TANKER.teI"));
}

TEST_F(TankerExample, ReportHeadCarriesTheBannerAndTheDate)
{
    const auto report = readRecords(dir_->path() / "TANKER.rst");
    ASSERT_GE(report.size(), 2u);
    // List form adds its blank to the eleven of the banner.
    EXPECT_EQ(report[0], "            TARNOVA - version 3.0 (1996)");
    const std::string head = " " + std::string(11, ' ') + "File name : " + "TANKER.rst  " +
                             std::string(22, ' ');
    ASSERT_EQ(report[1].size(), 66u);
    EXPECT_EQ(report[1].substr(0, head.size()), head);
    const std::string date = report[1].substr(head.size());
    EXPECT_TRUE(date == dateText(before_) || date == dateText(after_)) << date;
    // Every record of the files the calculator writes ends with carriage return and line feed.
    const std::string raw = readFile(dir_->path() / "TANKER.rst");
    EXPECT_EQ(raw.substr(0, 42), report[0] + "\r\n");
}

TEST_F(TankerExample, CurveFilesHoldTheHeadAndFiftyStepBlocks)
{
    const int lines = (tankerElements + 9) / 10;
    for (char letter = 'A'; letter <= 'H'; ++letter) {
        const auto curve = readRecords(dir_->path() / (std::string("TANKER.te") + letter));
        ASSERT_EQ(curve.size(), 1u + tankerElements + stepCount * (2u + 2u * lines)) << letter;
        EXPECT_EQ(curve[0], " 297");
        EXPECT_EQ(curve[1].size(), 30u);
        for (int k = 1; k <= stepCount; ++k) {
            const std::string& stepLine = curve[1 + tankerElements + (k - 1) * (2 + 2 * lines)];
            ASSERT_EQ(stepLine.size(), 47u) << letter << k;
            EXPECT_EQ(stepLine.substr(0, 10), " Itera\xE7\xE3o:");
            EXPECT_EQ(field(stepLine, 11, 14), k);
            EXPECT_EQ(stepLine.substr(24, 11), " Curvatura=");
        }
        // The last list line of a step holds the remaining seven values.
        EXPECT_EQ(curve[1 + tankerElements + 2 + lines - 1].size(), 7u * 9u);
    }
}

TEST_F(TankerExample, CaseResultsFilesHoldFiftyStepRows)
{
    const auto rows = readRecords(dir_->path() / "jc310415.000");
    int step = 0;
    for (const std::string& row : rows) {
        if (row.size() == 72 && field(row, 1, 4) == step + 1)
            ++step;
    }
    EXPECT_EQ(step, stepCount);
}

TEST_F(TankerExample, TripsTableAndTraceAreWritten)
{
    const auto trippingTable = readRecords(dir_->path() / "AT.T");
    ASSERT_GE(trippingTable.size(), 3u);
    EXPECT_EQ(trippingTable[0], " TRIPPING STRESSES");
    EXPECT_EQ(trippingTable[2].size(), 106u);
    const std::string trace = readFile(dir_->path() / "lixo.tmp");
    std::size_t markers = 0;
    for (std::size_t at = trace.find(" CSGMP-FIM"); at != std::string::npos;
         at = trace.find(" CSGMP-FIM", at + 1))
        ++markers;
    EXPECT_EQ(markers, 8u);
}

// Every ultimate moment lies below the fully plastic moment and not far beneath it; buckling
// lowers it, corrosion lowers it further, and yielding alone comes close to the plastic moment.
TEST_F(TankerExample, UltimateMomentsAreSensibleAgainstThePlasticMoment)
{
    const std::vector<CaseMoments> m = reportMoments();
    ASSERT_EQ(m.size(), 8u);
    for (std::size_t i = 0; i < m.size(); ++i) {
        EXPECT_GT(m[i].plasticMoment, 0);
        EXPECT_LT(m[i].ultimateMoment, m[i].plasticMoment) << "case " << i + 1;
        EXPECT_GT(m[i].ultimateMoment, 0.5 * m[i].plasticMoment) << "case " << i + 1;
    }
    // Cases: 1 sag SHED, 2 hog SHED, 3 sag CONST, 4 hog CONST, 5 sag corroded, 6 hog corroded,
    // 7 heel 30, 8 yield only.
    EXPECT_LT(m[0].ultimateMoment, m[1].ultimateMoment);   // the deck buckles first
    EXPECT_GE(m[2].ultimateMoment, m[0].ultimateMoment);
    EXPECT_GE(m[3].ultimateMoment, m[1].ultimateMoment);
    EXPECT_LT(m[4].ultimateMoment, m[0].ultimateMoment);
    EXPECT_LT(m[5].ultimateMoment, m[1].ultimateMoment);
    EXPECT_LT(m[4].plasticMoment, m[0].plasticMoment);
    EXPECT_GT(m[7].ultimateMoment, 0.85 * m[7].plasticMoment);
    EXPECT_GT(m[7].ultimateMoment, m[1].ultimateMoment);
}

} // namespace
