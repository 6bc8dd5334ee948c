// Sagoma and Strakon --check as an engineer runs them, on temporary case directories.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path path;
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "sagomaXXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path); }
};

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

// Runs `program` with `arguments` (already quoted) headless, with no input.
ProgramRun run(const std::string& program, const std::string& arguments, const fs::path& directory)
{
    const fs::path out = directory / "stdout.txt", err = directory / "stderr.txt";
    const std::string command = "cd '" + directory.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" + program + "' " +
                                arguments + " </dev/null >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    ProgramRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = readFile(out);
    r.err = readFile(err);
    fs::remove(out);
    fs::remove(err);
    return r;
}

TEST(Sagoma, ExistingCaseFilesAreReplacedOnlyWithForce)
{
    TempDir dir;
    fs::copy_file(fs::path(EXAMPLES_DIR) / "box" / "BOX.sec", dir.path / "BOX.sec");
    const ProgramRun first = run(SAGOMA_PROGRAM, "BOX.sec", dir.path);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(readFile(dir.path / "BOX.geo"), readFile(fs::path(EXAMPLES_DIR) / "box" / "BOX.geo"));

    writeFile(dir.path / "BOX.geo", "kept\n");
    const ProgramRun refused = run(SAGOMA_PROGRAM, "BOX.sec", dir.path);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("BOX.geo exists"), std::string::npos) << refused.err;
    EXPECT_EQ(readFile(dir.path / "BOX.geo"), "kept\n");

    const ProgramRun forced = run(SAGOMA_PROGRAM, "--force BOX.sec", dir.path);
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(readFile(dir.path / "BOX.geo"), readFile(fs::path(EXAMPLES_DIR) / "box" / "BOX.geo"));
    for (const auto& entry : fs::directory_iterator(dir.path))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST(Sagoma, InvalidDescriptionWritesNothingAndListsEveryError)
{
    TempDir dir;
    std::string text = readFile(fs::path(EXAMPLES_DIR) / "box" / "BOX.sec");
    text.replace(text.find("thickness = 12\nsteel = \"mild\"\nprofile"), 14, "thickness = -12");
    text.replace(text.find("count = 5"), 9, "count = 0");
    writeFile(dir.path / "BOX.sec", text);
    const ProgramRun r = run(SAGOMA_PROGRAM, "BOX.sec", dir.path);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("BOX.sec:27: strake[1].thickness: must be above 0"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("strake[2].count"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("2 errors; no case file written"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir.path / "BOX.geo"));
    EXPECT_FALSE(fs::exists(dir.path / "BOX.pro"));
    EXPECT_FALSE(fs::exists(dir.path / "BOX.ana"));
}

TEST(Sagoma, DescriptionNotNamedSecIsRefused)
{
    TempDir dir;
    fs::copy_file(fs::path(EXAMPLES_DIR) / "box" / "BOX.sec", dir.path / "BOX.toml");
    const ProgramRun r = run(SAGOMA_PROGRAM, "BOX.toml", dir.path);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ends in .sec"), std::string::npos) << r.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

// The newcomer's slips of a hand-typed box, each flagged by Strakon --check; warnings leave the
// status alone unless --strict.
TEST(StrakonCheck, FlagsEachSlipAndStrictCountsThem)
{
    TempDir dir;
    for (const char* extension : {".ana", ".geo", ".pro"})
        fs::copy_file(fs::path(EXAMPLES_DIR) / "box" / (std::string("BOX") + extension),
                      dir.path / (std::string("BOX") + extension));
    const ProgramRun clean = run(STRAKON_PROGRAM, "--check BOX.ana", dir.path);
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_EQ(clean.out.find("warning"), std::string::npos) << clean.out;

    std::string geo = readFile(dir.path / "BOX.geo");
    // Element 2 typed at ten times its x, element 4 on element 3's spot, element 6 with orientation 5.
    auto line = [&](int element) {
        std::size_t at = 0;
        for (int i = 0; i < element + 3; ++i) at = geo.find('\n', at) + 1;
        return at;
    };
    geo.replace(line(2) + 60, 9, "   5000.0");
    geo.replace(line(4) + 60, 9, "   1000.0");
    geo.replace(line(6) + 78, 2, " 5");
    writeFile(dir.path / "BOX.geo", geo);
    writeFile(dir.path / "BOX.pro", "      35.5   20600.0\r\n");

    const ProgramRun r = run(STRAKON_PROGRAM, "--check BOX.ana", dir.path);
    for (const char* expected : {"element 2: x 5000", "element 3 and element 4 stand on one spot", "element 6: orientation 5",
                                 "35.5: a decimal point one place off", "20600: a decimal point one place off"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
    EXPECT_NE(r.err.find("warning"), std::string::npos) << r.err;

    const ProgramRun strict = run(STRAKON_PROGRAM, "--check --strict BOX.ana", dir.path);
    EXPECT_EQ(strict.status, 1) << strict.out;
    EXPECT_NE(strict.out.find("counted as problems"), std::string::npos) << strict.out;
}

} // namespace
