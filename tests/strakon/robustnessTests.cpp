// Absurd and hostile case files run through the built calculator: each is the smallest input that
// once hung a run, passed NaN as a result, misnamed a file or sent raw bytes to the terminal.

#include "runStrakon.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using namespace strakontest;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Puts `text`, right-justified, into columns first..last of a record (from 1) of a case file.
void setField(const fs::path& file, std::size_t record, std::size_t first, std::size_t last, const std::string& text)
{
    std::vector<std::string> records = readRecords(file);
    std::string& r = records.at(record - 1);
    if (r.size() < last) r.resize(last, ' ');
    const std::size_t width = last - first + 1;
    r.replace(first - 1, width, std::string(width - std::min(width, text.size()), ' ') + text.substr(0, width));
    std::string joined;
    for (const std::string& line : records) joined += line + "\r\n";
    writeFile(file, joined);
}

bool hasControlByte(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 0x20 && c != '\n') || u == 0x7f;
    });
}

struct Absurd {
    const char* name;
    const char* file;
    std::size_t record, first, last;
    const char* text;
    const char* named;   // what the message must name
};

// Each of these once hung the run (web height), or ended with status 0 and NaN or Inf results.
const Absurd absurdValues[] = {
    {"web height 1E20", "TANKER.geo", 6, 36, 42, "1E20", "TANKER.geo, record 6, columns 36-42"},
    {"flange width 1E20", "TANKER.geo", 6, 22, 28, "1E20", "TANKER.geo, record 6, columns 22-28"},
    {"flange width -1E38", "TANKER.geo", 6, 22, 28, "-1E38", "TANKER.geo, record 6, columns 22-28"},
    {"flange thickness 0 and width 1E20", "TANKER.geo", 5, 22, 35, "1E20       0", "columns 22-28"},
    {"yield stress 1E20", "TANKER.pro", 1, 1, 20, "99999999999999999999", "TANKER.pro, record 1, columns 1-10"},
    {"element y -1E38", "TANKER.geo", 7, 70, 78, "-1E38", "TANKER.geo, record 7, columns 70-78"},
    {"heel 1E30", "TANKER.ana", 2, 12, 16, "1E30", "TANKER.ana, record 2, columns 12-16"},
    {"tension block 1E30", "TANKER.ana", 2, 7, 11, "1E30", "TANKER.ana, record 2, columns 7-11"},
    {"distortion 1E30", "TANKER.ana", 2, 17, 21, "1E30", "TANKER.ana, record 2, columns 17-21"},
};

TEST(Robustness, AbsurdValuesAreRejectedNamingFileRecordColumnsAndRangeBeforeAnyResult)
{
    for (const Absurd& a : absurdValues) {
        TempDir cases;
        copyExample("tanker/TANKER", cases.path(), "TANKER");
        setField(cases.path() / a.file, a.record, a.first, a.last, a.text);
        const RunResult run = runStrakon(cases.path(), {(cases.path() / "TANKER.ana").string()});
        EXPECT_EQ(run.status, 1) << a.name << ": " << run.errors;
        EXPECT_TRUE(contains(run.errors, a.named)) << a.name << ": " << run.errors;
        EXPECT_TRUE(contains(run.errors, "allowed: ")) << a.name << ": " << run.errors;
        EXPECT_FALSE(fs::exists(cases.path() / "TANKER.rst")) << a.name;
        EXPECT_FALSE(fs::exists(cases.path() / "TANKER.teA")) << a.name;
    }
}

TEST(Robustness, ControlBytesOfAFieldAreEscapedAndTheWholeReportFollows)
{
    TempDir cases;
    copyExample("box/BOX", cases.path(), "BOX");
    setField(cases.path() / "BOX.pro", 1, 1, 10, std::string("23\0" "5\x1b[2J", 8));
    const RunResult run = runStrakon(cases.path(), {(cases.path() / "BOX.ana").string()});
    EXPECT_EQ(run.status, 2) << run.errors;
    EXPECT_TRUE(contains(run.errors, "23\\x005\\x1b[2J")) << run.errors;
    EXPECT_TRUE(contains(run.errors, "format (2F10.1), descriptor F10.1")) << run.errors;
    EXPECT_FALSE(hasControlByte(run.errors)) << run.errors;
}

TEST(Robustness, ControlBytesOfTheCaseNameNeverReachTheTerminal)
{
    TempDir cases;
    const RunResult run = runStrakon(cases.path(), {(cases.path() / "A\x1b[31m.ana").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.errors, "A\\x1b[31m.ana")) << run.errors;
    EXPECT_FALSE(hasControlByte(run.errors)) << run.errors;
}

TEST(Robustness, DirectoriesInPlaceOfFilesAreNamedAsDirectories)
{
    {
        TempDir cases;
        copyExample("box/BOX", cases.path(), "BOX");
        fs::remove(cases.path() / "BOX.geo");
        fs::create_directory(cases.path() / "BOX.geo");
        const RunResult run = runStrakon(cases.path(), {(cases.path() / "BOX.ana").string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(contains(run.errors, "BOX.geo is a directory")) << run.errors;
    }
    {
        TempDir cases;
        copyExample("box/BOX", cases.path(), "BOX");
        fs::create_directory(cases.path() / "lixo.tmp");
        const RunResult run = runStrakon(cases.path(), {(cases.path() / "BOX.ana").string()});
        EXPECT_NE(run.status, 0);
        EXPECT_TRUE(contains(run.errors, "the file is a directory")) << run.errors;
        EXPECT_FALSE(contains(run.errors, "can only be read")) << run.errors;
    }
}

TEST(CheckMode, CleanCaseReportsNothingAndWritesNothing)
{
    for (const char* example : {"tanker/TANKER", "box/BOX"}) {
        TempDir cases;
        copyExample(example, cases.path(), "CASE");
        const RunResult run = runStrakon(cases.path(), {"--check", (cases.path() / "CASE.ana").string()});
        EXPECT_EQ(run.status, 0) << example << ": " << run.output << run.errors;
        EXPECT_TRUE(contains(run.output, "0 problems")) << run.output;
        EXPECT_EQ(std::distance(fs::directory_iterator(cases.path()), fs::directory_iterator()), 3) << example;
    }
}

TEST(CheckMode, TenScatteredMistakesAreAllReported)
{
    TempDir cases;
    copyExample("tanker/TANKER", cases.path(), "TANKER");
    const fs::path ana = cases.path() / "TANKER.ana", geo = cases.path() / "TANKER.geo", pro = cases.path() / "TANKER.pro";
    setField(ana, 3, 12, 16, "-100.");     // heel
    setField(ana, 6, 17, 21, "-1");        // distortion
    setField(geo, 6, 36, 42, "1E20");      // web height
    setField(geo, 40, 22, 28, "-5");       // flange width
    setField(geo, 80, 70, 78, "-1E38");    // y
    setField(geo, 120, 50, 52, "7");       // property set
    setField(geo, 160, 15, 21, "1x");      // plate thickness, not a number
    setField(geo, 200, 1, 7, "0");         // frame spacing
    setField(geo, 280, 43, 49, "999");     // web thickness 99.9 is fine ...
    setField(geo, 281, 43, 49, "9999.0");  // ... 9999 is not
    setField(pro, 2, 11, 20, "1");         // modulus
    const std::string before = readFile(geo);
    const RunResult run = runStrakon(cases.path(), {"--check", ana.string()});
    EXPECT_EQ(run.status, 1);
    const auto lines = std::count(run.output.begin(), run.output.end(), '\n');
    EXPECT_EQ(lines, 11) << run.output;   // ten problems and the summary
    EXPECT_TRUE(contains(run.output, "10 problems")) << run.output;
    for (const char* where : {"TANKER.ana, record 3, columns 12-16", "TANKER.ana, record 6, columns 17-21",
                              "TANKER.geo, record 6, columns 36-42", "TANKER.geo, record 40, columns 22-28",
                              "TANKER.geo, record 80, columns 70-78", "TANKER.geo, record 120, columns 50-52",
                              "TANKER.geo, record 160, columns 15-21", "TANKER.geo, record 200, columns 1-7",
                              "TANKER.geo, record 281, columns 43-49", "TANKER.pro, record 2, columns 11-20"}) {
        EXPECT_TRUE(contains(run.output, where)) << where << "\n" << run.output;
    }
    EXPECT_EQ(readFile(geo), before);
    EXPECT_FALSE(fs::exists(cases.path() / "lixo.tmp"));
}

} // namespace

namespace {

using namespace strakontest;

// One unit of the last digit a number was printed with ("0.1234E+05" -> 1, "12.5" -> 0.1).
double lastDigitUnit(const std::string& token)
{
    const std::size_t e = token.find_first_of("Ee");
    const std::string mantissa = token.substr(0, e);
    const std::size_t point = mantissa.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
    const int exponent = e == std::string::npos ? 0 : std::stoi(token.substr(e + 1));
    return std::pow(10.0, exponent - decimals);
}

// The step blocks of an element curve file: the curvature and the three moments of each step.
std::vector<std::vector<std::string>> stepMoments(const fs::path& curveFile)
{
    std::vector<std::vector<std::string>> steps;
    const std::vector<std::string> records = readRecords(curveFile);
    for (std::size_t r = 0; r + 1 < records.size(); ++r) {
        const std::size_t at = records[r].find("Curvatura=");
        if (at == std::string::npos) continue;
        std::vector<std::string> step{records[r].substr(at + 10)};
        for (std::size_t k = 0; k < 3; ++k) step.push_back(records[r + 1].substr(12 * k, 12));
        for (std::string& t : step) t.erase(0, t.find_first_not_of(' '));
        steps.push_back(step);
    }
    return steps;
}

// An empty line after the last element record: the count says what is wrong, not the zero frame
// spacing of an element 29 that nobody wrote.
TEST(CountMessage, EmptyLineAfterTheLastElementIsNamedByTheCount)
{
    TempDir cases;
    copyExample("box/BOX", cases.path(), "BOX");
    writeFile(cases.path() / "BOX.geo", readFile(cases.path() / "BOX.geo") + "\r\n");
    const RunResult run = runStrakon(cases.path(), {(cases.path() / "BOX.ana").string()});
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run.errors, "BOX.geo declares 28 element records and holds 29")) << run.errors;
    EXPECT_FALSE(contains(run.errors, "frame spacing")) << run.errors;
    const RunResult check = runStrakon(cases.path(), {"--check", (cases.path() / "BOX.ana").string()});
    EXPECT_EQ(check.status, 1);
    EXPECT_TRUE(contains(check.output, "BOX.geo declares 28 element records and holds 29")) << check.output;
    EXPECT_FALSE(contains(check.output, "frame spacing")) << check.output;
}

// Heels from 0 to 360 degrees run on both examples and print in every file; 270 degrees gives the
// moments of -90 within one unit of the last printed digit; the two share one results file name.
TEST(HeelSweep, ZeroToThreeSixtyRunsOnBothExamplesAndTwoSeventyMatchesMinusNinety)
{
    const char* heels[] = {"  0.0", " 45.0", " 90.0", "135.0", "180.0", "225.0", "270.0", "315.0", "360.0", "-90.0"};
    for (const auto& [example, stem] : {std::pair{"box/BOX", "BOX"}, std::pair{"tanker/TANKER", "TANKER"}}) {
        TempDir cases;
        copyExample(example, cases.path(), stem);
        std::string options = "10\r\n";
        for (const char* heel : heels) options += std::string(" 3 1 0 4.50") + heel + "   15  0.\r\n";
        writeFile(cases.path() / (std::string(stem) + ".ana"), options);
        const RunResult run = runStrakon(cases.path(), {(cases.path() / (std::string(stem) + ".ana")).string()});
        ASSERT_EQ(run.status, 0) << stem << run.errors;
        // 270 and -90 are one angle: one results file, and the run says the second replaced it.
        EXPECT_TRUE(fs::exists(cases.path() / "jc310415.270")) << stem;
        EXPECT_TRUE(contains(run.errors, "share the case results file jc310415.270")) << run.errors;
        for (const auto& entry : fs::directory_iterator(cases.path())) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".ana") || name.ends_with(".geo") || name.ends_with(".pro")) continue;
            EXPECT_FALSE(contains(readFile(entry.path()), "*")) << stem << ": " << name;
        }
        const auto at270 = stepMoments(cases.path() / (std::string(stem) + ".teG"));
        const auto atMinus90 = stepMoments(cases.path() / (std::string(stem) + ".teJ"));
        ASSERT_EQ(at270.size(), 50u) << stem;
        ASSERT_EQ(atMinus90.size(), 50u) << stem;
        for (std::size_t k = 0; k < at270.size(); ++k) {
            // The components lie within a unit of the resultant's last digit (one is near zero).
            const double unit = lastDigitUnit(at270[k][1]) * 1.0001;
            EXPECT_NEAR(std::stod(at270[k][0]), std::stod(atMinus90[k][0]), lastDigitUnit(at270[k][0]) * 1.0001)
                << stem << " step " << k + 1;
            for (std::size_t c = 1; c <= 3; ++c) {
                EXPECT_NEAR(std::stod(at270[k][c]), std::stod(atMinus90[k][c]), unit)
                    << stem << " step " << k + 1 << ": " << at270[k][c] << " and " << atMinus90[k][c];
            }
        }
    }
}

} // namespace
