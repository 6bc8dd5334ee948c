// Hostile inputs through every program, headless, each the smallest that showed a fault: files that
// are no regular files, case directories that do not exist, CsvToGeo's writes and messages, and
// Flexura's curve and geometry files. Every run must end (each is given 30 s), with status 1 and the
// file named where it refuses.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

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

struct Outcome {
    int status;
    std::string output;   // standard output and error together
};

// One program headless in `dir`, its arguments quoted, standard input from `input`; killed after 30 s.
Outcome run(const fs::path& dir, const std::vector<std::string>& arguments, const std::string& input = "")
{
    writeFile(dir / ".input", input);
    std::string command = "cd '" + dir.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 30";
    for (const std::string& a : arguments) command += " '" + a + "'";
    command += " <.input >.output 2>&1";
    const int raw = std::system(command.c_str());
    Outcome r{WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw), readFile(dir / ".output")};
    fs::remove(dir / ".input");
    fs::remove(dir / ".output");
    return r;
}

// A fresh directory holding the box example, computed by Strakon (its curve files, results and the
// hand-over file for the viewers).
class Box : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("tarnova-robust-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const char* ext : {".ana", ".geo", ".pro"})
            fs::copy_file(fs::path(EXAMPLES_DIR) / "box" / (std::string("BOX") + ext), dir / (std::string("BOX") + ext));
        ASSERT_EQ(run(dir, {STRAKON_PROGRAM, (dir / "BOX.ana").string()}).status, 0);
        writeFile(dir / "nElem.txt", "   7\r\n");
    }
    void TearDown() override { fs::remove_all(dir); }

    // Puts a directory, FIFO or link to /dev/zero where `name` stood, or makes it a sparse file
    // beyond the size limit.
    void spoil(const std::string& name, char kind)
    {
        if (kind == 'b') {
            fs::resize_file(dir / name, 300u * 1024u * 1024u);
            return;
        }
        fs::remove(dir / name);
        if (kind == 'd') fs::create_directory(dir / name);
        if (kind == 'f') ASSERT_EQ(::mkfifo((dir / name).c_str(), 0600), 0);
        if (kind == 'z') fs::create_symlink("/dev/zero", dir / name);
    }
};

TEST_F(Box, FilesThatAreNoRegularFilesAreRefusedBeforeReadingNamingThem)
{
    struct Row {
        std::vector<std::string> command;   // after the program: the argument
        std::string file;
        char kind;                          // d directory, f FIFO, z /dev/zero, b 300 MiB
        std::string words;
    };
    const std::string box = "BOX.ana";
    const std::vector<Row> rows = {
        {{STRAKON_PROGRAM, box}, "BOX.geo", 'f', "BOX.geo is a FIFO"},
        {{STRAKON_PROGRAM, box}, "BOX.pro", 'd', "BOX.pro is a directory"},
        {{STRAKON_PROGRAM, "--check", box}, "BOX.ana", 'z', "BOX.ana is a device"},
        {{STRAKON_PROGRAM, "--check", box}, "BOX.geo", 'f', "BOX.geo is a FIFO"},
        {{STRAKON_PROGRAM, box}, "BOX.ana", 'b', "BOX.ana is 314572800 bytes, more than the 268435456"},
        {{STRAKON_PROGRAM, "--check", box}, "BOX.pro", 'b', "BOX.pro is 314572800 bytes, more than the 268435456"},
        {{FLEXURA_PROGRAM, box}, "BOX.geo", 'b', "BOX.geo is 314572800 bytes, more than the 268435456"},
        {{PICKARA_PROGRAM, "BOX.teA"}, "BOX.teA", 'f', "BOX.teA is a FIFO"},
        {{CURVELLA_PROGRAM, "BOX.teA"}, "BOX.teA", 'z', "BOX.teA is a device"},
        {{CURVELLA_PROGRAM, "BOX.teA"}, "nElem.txt", 'f', "nElem.txt is a FIFO"},
        {{FLEXURA_PROGRAM, box}, "BOX.rst", 'f', "BOX.rst is a FIFO"},
        {{FLEXURA_PROGRAM, box}, "BOX.teB", 'z', "BOX.teB is a device"},
        {{CSV_TO_GEO_PROGRAM, "sheet.csv", "OUT.geo"}, "sheet.csv", 'z', "sheet.csv is a device"},
        {{SAGOMA_PROGRAM, "--force", "BOX.sec"}, "BOX.sec", 'f', "is a FIFO"},
        {{COLLAUDO_PROGRAM, box}, "BOX.lim", 'f', "is a FIFO"},
    };
    for (const Row& row : rows) {
        const std::string saved = readFile(dir / row.file);
        spoil(row.file, row.kind);
        const Outcome r = run(dir, row.command, "7\n");
        EXPECT_EQ(r.status, 1) << row.file << ": " << r.output;
        EXPECT_NE(r.output.find(row.words), std::string::npos) << row.words << "\n" << r.output;
        fs::remove_all(dir / row.file);
        writeFile(dir / row.file, saved);
    }
}

TEST_F(Box, CaseDirectoryThatDoesNotExistStopsEveryProgramNamingIt)
{
    // The box where the program stands must not be taken for the case asked for.
    const std::string missing = "/no/such/tarnova/dir";
    const auto before = fs::last_write_time(dir / "BOX.rst");
    const std::vector<std::vector<std::string>> commands = {
        {STRAKON_PROGRAM, missing + "/BOX.ana"},       {STRAKON_PROGRAM, "--check", missing + "/BOX.ana"},
        {PICKARA_PROGRAM, missing + "/BOX.teA"},       {CURVELLA_PROGRAM, missing + "/BOX.teA"},
        {FLEXURA_PROGRAM, missing + "/BOX.ana"},
    };
    for (const auto& command : commands) {
        const Outcome r = run(dir, command, "7\n");
        EXPECT_EQ(r.status, 1) << command[0] << r.output;
        EXPECT_NE(r.output.find(missing), std::string::npos) << command[0] << r.output;
        EXPECT_NE(r.output.find("not exist"), std::string::npos) << command[0] << r.output;
    }
    EXPECT_EQ(fs::last_write_time(dir / "BOX.rst"), before);
    EXPECT_FALSE(fs::exists(dir / "BOX_mk.csv"));
    EXPECT_FALSE(fs::exists(dir / "Element.007"));
}

TEST_F(Box, CsvToGeoRefusesWhatTheCalculatorCannotReadAndNeverWritesThroughALink)
{
    const std::string header = "frameSpacing,plateWidth,plateThickness,x,y,propertySet,orientation,elementKind\n";
    const std::string good = header + "4200,500,12,0,0,1,1,1\n4200,500,12,0,1000,1,1,1\n";
    struct Row {
        std::string sheet;
        std::vector<std::string> options;
        std::string words;
    };
    const std::string wide = std::string("\xFF\xFE", 2) + std::string("f\0r\0", 4);
    const std::vector<Row> rows = {
        {good, {"--header-value", "1e20"}, "--header-value 1e+20 is out of range; allowed: -9999999 to 99999992"},
        {good, {"--title", "TWO\nLINES"}, "holds a control byte at character 4"},
        {good, {"--title", "\x1b[2J"}, "\"\\x1b[2J\" holds a control byte at character 1"},
        {header + "1e400,500,12,0,0,1,1,1\n", {}, "\"1e400\" is out of range; allowed: 0.1 to 99999.9"},
        {header + "42\x1b[31m,500,12,0,0,1,1,1\n", {}, "\"42\\x1b[31m\" is not a number"},
        {header + "42\xE9,500,12,0,0,1,1,1\n", {}, "\"42\\xe9\" is not a number"},
        {header + "42\xE9,500,12,0,0,1,1,1\n", {}, "the sheet is not UTF-8 text (row 2 holds the byte \\xe9"},
        {header + std::string(100000, '7') + "x,500,12,0,0,1,1,1\n", {}, "... (100001 characters)\" is not a number"},
        {wide, {}, "the sheet is UTF-16 (little-endian) text"},
    };
    fs::create_symlink(dir / "elsewhere.geo", dir / "OUT.geo");
    writeFile(dir / "elsewhere.geo", "kept\n");
    for (const Row& row : rows) {
        writeFile(dir / "sheet.csv", row.sheet);
        std::vector<std::string> command = {CSV_TO_GEO_PROGRAM};
        command.insert(command.end(), row.options.begin(), row.options.end());
        command.insert(command.end(), {"sheet.csv", "OUT.geo"});
        const Outcome r = run(dir, command);
        EXPECT_EQ(r.status, 1) << row.words << "\n" << r.output;
        EXPECT_NE(r.output.find(row.words), std::string::npos) << row.words << "\n" << r.output;
        EXPECT_LT(r.output.size(), 2000u) << "a long cell is shortened";
        EXPECT_TRUE(fs::is_symlink(dir / "OUT.geo"));
    }
    // A good sheet replaces the link with the new file; the file it pointed to is left alone.
    writeFile(dir / "sheet.csv", good);
    const Outcome r = run(dir, {CSV_TO_GEO_PROGRAM, "sheet.csv", "OUT.geo"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_FALSE(fs::is_symlink(dir / "OUT.geo"));
    EXPECT_EQ(readFile(dir / "elsewhere.geo"), "kept\n");
    EXPECT_NE(readFile(dir / "OUT.geo").find("   2\r\n"), std::string::npos);
}

TEST_F(Box, FlexuraEndsOnACurvatureBeyondDoubleRangeAndReadsCarriageReturnRecords)
{
    // The curvature of step 1 of study A at 1.0E308: shown per km it is infinite.
    std::string curve = readFile(dir / "BOX.teA");
    const std::size_t at = curve.find("Curvatura=");
    ASSERT_NE(at, std::string::npos);
    curve.replace(at + 10, 12, "  .1000E+309");
    writeFile(dir / "BOX.teA", curve);
    Outcome r = run(dir, {FLEXURA_PROGRAM, "BOX.ana"});
    EXPECT_NE(r.status, 124) << "Flexura did not end";
    EXPECT_LE(r.status, 1) << r.output;

    // The geometry file with CR-only record ends, which the calculator reads.
    fs::remove(dir / "BOX.teA");
    ASSERT_EQ(run(dir, {STRAKON_PROGRAM, "BOX.ana"}).status, 0);
    std::string geo = readFile(dir / "BOX.geo");
    for (std::size_t p; (p = geo.find("\r\n")) != std::string::npos;) geo.erase(p + 1, 1);
    writeFile(dir / "BOX.geo", geo);
    r = run(dir, {FLEXURA_PROGRAM, "BOX.ana"});
    EXPECT_EQ(r.status, 0) << r.output;
}

} // namespace
