// Runs of the calculator program: where its files go, its messages and its exit status.

#include "runStrakon.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace strakontest;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The numbers a record starts with, up to the first text that is not one.
std::vector<double> leadingNumbers(const std::string& record)
{
    std::vector<double> values;
    const char* at = record.c_str();
    for (char* end = nullptr;; at = end) {
        const double value = std::strtod(at, &end);
        if (end == at) break;
        values.push_back(value);
    }
    return values;
}

// Three case studies of the box girder, so that runs stay short.
void writeShortOptions(const fs::path& file)
{
    writeFile(file, " 2\r\n 3 1 0 4.50  0.0    0  0.\r\n 3 2 0 4.50180.0    0  0.\r\n");
}

TEST(StrakonRun, PosixPathRunsInTheCaseDirectoryKeepingTheStemsLetterCase)
{
    TempDir cases, elsewhere;
    const fs::path dir = cases.path() / "ships" / "Box";
    fs::create_directories(dir);
    copyExample("box/BOX", dir, "Box1");
    writeShortOptions(dir / "Box1.ana");

    const RunResult run = runStrakon(elsewhere.path(), {(dir / "Box1.ana").string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    for (const char* name : {"Box1.rst", "Box1.teA", "Box1.teB", "AT.T", "lixo.tmp",
                             "jc310400.000", "jc320400.180"})
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_FALSE(fs::exists(dir / "Box1.teC"));
    // Nothing lands in the directory the program was started from.
    EXPECT_TRUE(fs::is_empty(elsewhere.path()));
}

TEST(StrakonRun, RelativeAndBackslashPathsReachTheSameDirectory)
{
    TempDir cases;
    const fs::path dir = cases.path() / "sub" / "case";
    fs::create_directories(dir);
    copyExample("box/BOX", dir, "BOX");
    writeShortOptions(dir / "BOX.ana");

    for (const char* path : {"sub/case/BOX.ana", "sub\\case\\BOX.geo"}) {
        fs::remove(dir / "BOX.rst");
        const RunResult run = runStrakon(cases.path(), {path});
        EXPECT_EQ(run.status, 0) << path << run.errors;
        EXPECT_TRUE(fs::exists(dir / "BOX.rst")) << path;
    }
}

TEST(StrakonRun, DirectoryPathsLongerThanTheOldLimitsAreFollowedWhole)
{
    TempDir cases;
    fs::path dir = cases.path();
    while (dir.string().size() < 300)
        dir /= "a_long_directory_name_for_the_case";
    fs::create_directories(dir);
    copyExample("box/BOX", dir, "BOX");
    writeShortOptions(dir / "BOX.ana");
    // A copy at the place an 80-character cut of the path would name must not be used.
    const fs::path cut = fs::path(dir.string().substr(0, 80)).parent_path();
    copyExample("box/BOX", cut, "BOX");

    const RunResult run = runStrakon(cases.path(), {(dir / "BOX.ana").string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(fs::exists(dir / "BOX.teB"));
    EXPECT_FALSE(fs::exists(cut / "BOX.rst"));
}

TEST(StrakonRun, LongStemIsCutToEightCharacters)
{
    TempDir cases;
    copyExample("box/BOX", cases.path(), "LONGCASE");
    writeShortOptions(cases.path() / "LONGCASE.ana");
    const RunResult run =
        runStrakon(cases.path(), {(cases.path() / "LONGCASENAME.ana").string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(fs::exists(cases.path() / "LONGCASE.rst"));
}

// Missing and empty input files: each reported, the run refused, a non-zero status.
struct InputFault {
    const char* name;
    bool removeOptions, removeGeometry, removeProperties, emptyGeometry, emptyProperties;
    const char* expected[2];
    const char* absent;
};

const InputFault inputFaults[] = {
    {"geo and pro missing", false, true, true, false, false,
     {"BOX.geo      not found", "BOX.pro      not found"}, "BOX.ana"},
    {"ana missing", true, false, false, false, false, {"BOX.ana      not found", nullptr},
     "BOX.geo"},
    {"geo empty", false, false, false, true, false, {"BOX.geo is an empty file", nullptr},
     "BOX.pro is"},
    {"pro empty", false, false, false, false, true, {"BOX.pro is an empty file", nullptr},
     "BOX.geo is"},
};

TEST(StrakonRun, MissingOrEmptyInputFileIsReportedAndEndsWithFailure)
{
    for (const InputFault& f : inputFaults) {
        TempDir cases;
        copyExample("box/BOX", cases.path(), "BOX");
        if (f.removeOptions)
            fs::remove(cases.path() / "BOX.ana");
        if (f.removeGeometry)
            fs::remove(cases.path() / "BOX.geo");
        if (f.removeProperties)
            fs::remove(cases.path() / "BOX.pro");
        if (f.emptyGeometry)
            writeFile(cases.path() / "BOX.geo", "");
        if (f.emptyProperties)
            writeFile(cases.path() / "BOX.pro", "");

        const RunResult run = runStrakon(cases.path(), {(cases.path() / "BOX.ana").string()});
        EXPECT_NE(run.status, 0) << f.name;
        for (const char* line : f.expected) {
            if (line) {
                EXPECT_TRUE(contains(run.errors, line)) << f.name << ": " << run.errors;
            }
        }
        EXPECT_FALSE(contains(run.errors, f.absent)) << f.name << ": " << run.errors;
        // No case study ran.
        EXPECT_FALSE(fs::exists(cases.path() / "BOX.teA")) << f.name;
        EXPECT_FALSE(fs::exists(cases.path() / "BOX.rst")) << f.name;
    }
}

TEST(StrakonRun, WithoutArgumentTheDirectoryChangeFailsAndNoFilesAreFound)
{
    TempDir cases;
    const RunResult run = runStrakon(cases.path(), {});
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run.errors, "Failed to change to directory")) << run.errors;
    EXPECT_TRUE(contains(run.errors, ".ana         not found")) << run.errors;
}

TEST(StrakonRun, BareFileNameRunsInTheCurrentDirectoryAfterItsMessage)
{
    TempDir cases;
    copyExample("box/BOX", cases.path(), "BOX");
    writeShortOptions(cases.path() / "BOX.ana");
    const RunResult run = runStrakon(cases.path(), {"BOX.ana"});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(contains(run.errors, "Failed to change to directory")) << run.errors;
    EXPECT_TRUE(fs::exists(cases.path() / "BOX.teB"));
}

TEST(StrakonRun, CaseCountZeroWritesTheHeadsOnly)
{
    TempDir cases;
    copyExample("box/BOX", cases.path(), "BOX");
    writeFile(cases.path() / "BOX.ana", " 0\r\n");
    const RunResult run = runStrakon(cases.path(), {(cases.path() / "BOX.ana").string()});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(readRecords(cases.path() / "BOX.rst").size(), 2u);
    EXPECT_FALSE(fs::exists(cases.path() / "BOX.teA"));
    EXPECT_EQ(run.output, "");   // no case study, no summary
}

// The summary a headless run ends with: one row per case study, its moments those of the report.
TEST(StrakonRun, HeadlessRunEndsWithTheSummaryOfTheReportOnStandardOutput)
{
    TempDir cases;
    copyExample("box/BOX", cases.path(), "BOX");
    writeShortOptions(cases.path() / "BOX.ana");
    const RunResult run = runStrakon(cases.path(), {(cases.path() / "BOX.ana").string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    std::vector<std::string> lines;
    for (std::size_t at = 0, next; at < run.output.size(); at = next + 1) {
        next = run.output.find('\n', at);
        if (next == std::string::npos) next = run.output.size();
        lines.push_back(run.output.substr(at, next - at));
    }
    ASSERT_EQ(lines.size(), 4u) << run.output;
    EXPECT_EQ(lines[0], "Ultimate bending moments (from BOX.rst, N.mm):");
    // The ultimate moments and plastic moments, in report order.
    std::vector<double> ultimate, plastic;
    const std::vector<std::string> report = readRecords(cases.path() / "BOX.rst");
    for (std::size_t i = 0; i + 1 < report.size(); ++i) {
        const std::vector<double> values = leadingNumbers(report[i + 1]);
        if (contains(report[i], "Ultimate Bending Moment") && values.size() >= 3) ultimate.push_back(values[2]);
        if (contains(report[i], "PLASTIC BEND. Mom.") && !values.empty()) plastic.push_back(values[0]);
    }
    ASSERT_EQ(ultimate.size(), 2u);
    const char* expected[] = {"  A        3        SHED          0    .0", "  B        3       CONST          0 180.0"};
    for (int k = 0; k < 2; ++k) {
        const std::string& row = lines[2 + k];
        EXPECT_EQ(row.substr(0, 41), expected[k]) << row;
        double plasticMoment = 0, ultimateMoment = 0, ratio = 0;
        ASSERT_EQ(std::sscanf(row.c_str() + 41, "%lf %lf %lf", &plasticMoment, &ultimateMoment, &ratio), 3) << row;
        EXPECT_NEAR(plasticMoment, plastic[k], 1e-4 * plastic[k]);
        EXPECT_NEAR(ultimateMoment, ultimate[k], 1e-4 * ultimate[k]);
        EXPECT_NEAR(ratio, ultimate[k] / plastic[k], 0.006);
    }
}

// The files are complete either way; a summary lost on the way out is still a failure.
TEST(StrakonRun, SummaryThatCannotBeWrittenEndsWithFailure)
{
    TempDir cases;
    copyExample("box/BOX", cases.path(), "BOX");
    writeShortOptions(cases.path() / "BOX.ana");
    const std::string command = "cd '" + cases.path().string() +
                                "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER '" STRAKON_PROGRAM
                                "' BOX.ana </dev/null >/dev/full 2>errors.txt";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(raw != -1 && WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_TRUE(contains(readFile(cases.path() / "errors.txt"), "The summary could not be written"));
    int ultimate = 0;
    for (const std::string& record : readRecords(cases.path() / "BOX.rst"))
        ultimate += contains(record, "Ultimate Bending Moment") ? 1 : 0;
    EXPECT_EQ(ultimate, 2);
}

TEST(StrakonRun, MoreCaseStudiesThanPanelBoxesRunsThemAllAndTheTwentySeventhEndsInBracket)
{
    TempDir cases;
    copyExample("box/BOX", cases.path(), "BOX");
    std::string options = "27\r\n";
    for (int k = 0; k < 27; ++k)
        options += k % 2 ? " 3 1 0 4.50180.0    0  0.\r\n" : " 1 1 0 0.00  0.0    0  0.\r\n";
    writeFile(cases.path() / "BOX.ana", options);

    // Without input, and with keys for the page breaks of the panel.
    for (const std::string& keys : {std::string(), std::string("\n\n\n\n")}) {
        const RunResult run =
            runStrakon(cases.path(), {(cases.path() / "BOX.ana").string()}, keys);
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_TRUE(fs::exists(cases.path() / "BOX.teZ"));
        const fs::path last = cases.path() / "BOX.te[";
        ASSERT_TRUE(fs::exists(last));
        EXPECT_EQ(readRecords(last).size(), 1u + 28u + 50u * (2u + 3u + 3u));
        fs::remove(last);
    }
}

TEST(StrakonRun, StopInsideTheCalculationKeepsEarlierRecordsAndFails)
{
    TempDir cases;
    copyExample("box/BOX", cases.path(), "BOX");
    writeShortOptions(cases.path() / "BOX.ana");
    // The declared element count no longer matches the records.
    std::string geometry = readFile(cases.path() / "BOX.geo");
    const std::size_t countRecord = geometry.find("\r\n", geometry.find("\r\n") + 2) + 2;
    geometry.replace(countRecord, 4, "  27");
    writeFile(cases.path() / "BOX.geo", geometry);

    const RunResult run = runStrakon(cases.path(), {(cases.path() / "BOX.ana").string()});
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run.errors, "Stop - Program terminated.")) << run.errors;
    const auto report = readRecords(cases.path() / "BOX.rst");
    ASSERT_GE(report.size(), 2u);
    EXPECT_EQ(report[0], "            TARNOVA - version 3.0 (1996)");
}

TEST(StrakonRun, RecordLayerErrorEndsWithFailure)
{
    TempDir cases;
    copyExample("tanker/TANKER", cases.path(), "TANKER");
    // Two property sets are named, one record is left.
    writeFile(cases.path() / "TANKER.pro", "     235.0  206000.0\r\n");
    const RunResult run =
        runStrakon(cases.path(), {(cases.path() / "TANKER.ana").string()});
    EXPECT_NE(run.status, 0);
    EXPECT_FALSE(run.errors.empty());
    EXPECT_FALSE(fs::exists(cases.path() / "TANKER.teB"));
}

// The committed case files of the examples are what Sagoma builds from their descriptions,
// byte for byte.
TEST(Examples, CommittedCaseFilesAreWhatSagomaBuildsFromTheirDescriptions)
{
    for (const char* example : {"tanker/TANKER", "box/BOX"}) {
        TempDir generated;
        const fs::path source = fs::path(EXAMPLES_DIR) / example;
        const std::string name = source.filename().string();
        fs::copy_file(source.string() + ".sec", generated.path() / (name + ".sec"));
        const std::string command = std::string("'") + SAGOMA_PROGRAM + "' '" +
                                    (generated.path() / (name + ".sec")).string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << example;
        for (const char* extension : {".ana", ".geo", ".pro"}) {
            EXPECT_EQ(readFile(generated.path() / (name + extension)),
                      readFile(source.string() + extension))
                << example << extension;
        }
    }
}

} // namespace

// Tension-block widths 4.0 and 4.5 both give "4" in the case results file name: the second study
// rewrites the first one's file, and the run says so, naming both studies. The files stay as
// they were.
TEST(StrakonRun, RepeatedCaseResultsFileNameIsReportedNamingBothCaseStudies)
{
    TempDir cases;
    copyExample("box/BOX", cases.path(), "BOX");
    writeFile(cases.path() / "BOX.ana",
              " 3\r\n 3 1 0 4.00  0.0    0  0.\r\n 3 2 0 4.50180.0    0  0.\r\n 3 1 0 4.50  0.0    0  0.\r\n");
    const RunResult run = runStrakon(cases.path(), {"BOX.ana"});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(contains(run.errors, "case studies 1 (A) and 3 (C) share the case results file jc310400.000"))
        << run.errors;
    EXPECT_FALSE(contains(run.errors, "(B)")) << run.errors;
    EXPECT_TRUE(fs::exists(cases.path() / "jc310400.000"));
    EXPECT_TRUE(fs::exists(cases.path() / "jc320400.180"));
}
