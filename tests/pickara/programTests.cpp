// Pickara run headless on small curve files: the hand-over file byte for byte, the exit status of
// every way the run can end, and the files a failed run leaves alone.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status = -1;
    std::string errors;  // standard error
};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The head of an element curve file: the count, then x, y and yield stress per element.
std::string curveHead(int count, double x0 = 0, double dx = 1000, double y0 = 0, double dy = 500)
{
    char line[64];
    std::snprintf(line, sizeof line, "%4d\r\n", count);
    std::string text = line;
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "%10.1f%10.1f%10.1f\r\n", x0 + dx * (i % 20),
                      y0 + dy * (i / 20), 235.0);
        text += line;
    }
    return text;
}

class PickaraRun : public testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() /
               ("pickara-" + std::to_string(getpid()) + "-" +
                std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        caseDir = root / "ships";
        fs::create_directories(caseDir);
    }
    void TearDown() override { fs::remove_all(root); }

    // Runs the chooser headless from `root` with `keys` on standard input.
    RunResult pickara(const std::string& argument, const std::string& keys, const fs::path& from = {})
    {
        writeFile(root / "keys.txt", keys);
        const fs::path where = from.empty() ? root : from;
        const std::string command = "cd '" + where.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER '" +
                                    std::string(PICKARA_PROGRAM) + "' '" + argument + "' <'" +
                                    (root / "keys.txt").string() + "' >/dev/null 2>'" +
                                    (root / "errors.txt").string() + "'";
        const int raw = std::system(command.c_str());
        RunResult run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        run.errors = readFile(root / "errors.txt");
        return run;
    }

    fs::path root;
    fs::path caseDir;
};

TEST_F(PickaraRun, ChosenNumberIsHandedOverAsOneI4Record)
{
    writeFile(caseDir / "TANKER1.teB", curveHead(120));
    struct { const char* keys; const char* record; } cases[] = {
        {"7\n", "   7\r\n"},
        {"42\n", "  42\r\n"},
        {"120\n", " 120\r\n"},
        {"+3", "   3\r\n"},        // input ends: the last line still counts as Enter
    };
    for (const auto& c : cases) {
        const RunResult run = pickara((caseDir / "TANKER1.teB").string(), c.keys);
        EXPECT_EQ(run.status, 0) << c.keys << run.errors;
        EXPECT_EQ(readFile(caseDir / "nElem.txt"), c.record) << c.keys;
    }
    EXPECT_FALSE(fs::exists(root / "nElem.txt"));  // written in the case directory only
    EXPECT_EQ(readFile(caseDir / "TANKER1.teB"), curveHead(120));
}

TEST_F(PickaraRun, RefusedEntriesAskAgainUntilOneFits)
{
    writeFile(caseDir / "CASE.teA", curveHead(17));
    const RunResult run = pickara((caseDir / "CASE.teA").string(), "0\n18\n1a\n\n-5\n4\b\n5\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(readFile(caseDir / "nElem.txt"), "   5\r\n");
}

TEST_F(PickaraRun, PathsWithBackslashesOrABareNameFindTheCase)
{
    writeFile(caseDir / "CASE.teA", curveHead(30));
    // A bare name has no directory to enter: the message, then the name is looked for in the
    // current directory and the choice is made as usual.
    RunResult run = pickara("CASE.teA", "9\n", caseDir);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("Failed to change to directory"), std::string::npos) << run.errors;
    EXPECT_EQ(readFile(caseDir / "nElem.txt"), "   9\r\n");
    // A relative directory given with a backslash as its last separator.
    run = pickara("ships\\CASE.teA", "11\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(readFile(caseDir / "nElem.txt"), "  11\r\n");
}

TEST_F(PickaraRun, DirectoryPathsOfAnyLengthAreFollowedWhole)
{
    fs::path deep = caseDir;
    while (deep.string().size() < 300) deep /= "a_long_directory_name_for_the_case";
    fs::create_directories(deep);
    writeFile(deep / "CASE.teA", curveHead(30));
    // Given as the argument, and as the directory the program starts from.
    RunResult run = pickara((deep / "CASE.teA").string(), "13\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(readFile(deep / "nElem.txt"), "  13\r\n");
    run = pickara("CASE.teA", "14\n", deep);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(readFile(deep / "nElem.txt"), "  14\r\n");
}

TEST_F(PickaraRun, InputEndingWithoutAValidNumberFailsAndWritesNothing)
{
    writeFile(caseDir / "CASE.teA", curveHead(10));
    for (const char* keys : {"", "abc\n", "0\n", "11\n99\n"}) {
        const RunResult run = pickara((caseDir / "CASE.teA").string(), keys);
        EXPECT_NE(run.status, 0) << '"' << keys << '"';
        EXPECT_FALSE(fs::exists(caseDir / "nElem.txt")) << '"' << keys << '"';
    }
    // An earlier choice stays as it was.
    writeFile(caseDir / "nElem.txt", "  12\r\n");
    EXPECT_NE(pickara((caseDir / "CASE.teA").string(), "x\n").status, 0);
    EXPECT_EQ(readFile(caseDir / "nElem.txt"), "  12\r\n");
}

TEST_F(PickaraRun, FailuresShowTheirMessageEndNonZeroAndLeaveFilesAlone)
{
    writeFile(caseDir / "EMPTY.teA", "");
    writeFile(caseDir / "nElem.txt", "   4\r\n");
    writeFile(caseDir / "TANKER1.ANA", curveHead(5));
    writeFile(caseDir / "BIG.teA", curveHead(601));
    writeFile(caseDir / "NONE.teA", curveHead(0));
    writeFile(caseDir / "SHORT.teA", curveHead(40).substr(0, 200));
    struct {
        const char* file;
        const char* message;
    } cases[] = {
        {"EMPTY.teA", "EMPTY.teA is an empty file"},
        {"MISSING.teA", "MISSING.teA not found"},
        {"TANKER1.ANA", "TANKER1.teA not found"},
        {"BIG.teA", "BIG.teA has an element count outside 1 to 600"},
        {"NONE.teA", "NONE.teA has an element count outside 1 to 600"},
        {"SHORT.teA", "SHORT.teA"},  // the record layer's report names the file
    };
    for (const auto& c : cases) {
        const RunResult run = pickara((caseDir / c.file).string(), "3\n");
        EXPECT_NE(run.status, 0) << c.file;
        EXPECT_NE(run.errors.find(c.message), std::string::npos) << c.file << ": " << run.errors;
        EXPECT_EQ(readFile(caseDir / "nElem.txt"), "   4\r\n") << c.file;
    }
    EXPECT_FALSE(fs::exists(caseDir / "MISSING.teA"));  // nothing created by looking
    EXPECT_EQ(readFile(caseDir / "EMPTY.teA"), "");
}

TEST_F(PickaraRun, MissingCaseDirectoryStopsNamingIt)
{
    // A case of the same name where the program stands is not taken for the one asked for.
    writeFile(root / "CASE.teA", curveHead(8));
    const RunResult run = pickara((root / "nowhere" / "CASE.teA").string(), "2\n");
    // The screen line wraps at its window's edge: the path and the reason, wherever they fall.
    EXPECT_NE(run.errors.find("The directory " + (root / "nowhere").string()), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("not exist"), std::string::npos) << run.errors;
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_FALSE(fs::exists(root / "nElem.txt"));
}

TEST_F(PickaraRun, SectionOfCoincidentPointsStillAsksAndHandsOver)
{
    writeFile(caseDir / "SAME.teA", curveHead(600, 250, 0, 250, 0));
    const RunResult run = pickara((caseDir / "SAME.teA").string(), "600\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(readFile(caseDir / "nElem.txt"), " 600\r\n");
}

} // namespace
