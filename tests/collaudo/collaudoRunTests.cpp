// Collaudo and Strakon run headless on copies of the tanker: the files of the assessment with
// their agreed headers, the damaged cases as complete case folders, a faulty CASE.lim that
// leaves nothing written, and the calculator's peak-not-reached warnings.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status = -1;
    std::string errors;
};

std::string readWhole(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

RunResult runHeadless(const std::string& program, const fs::path& caseFile)
{
    const fs::path errors = caseFile.parent_path() / "stderr.txt";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY '" + program + "' '" + caseFile.string() +
                                "' </dev/null >/dev/null 2>'" + errors.string() + "'";
    RunResult r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.errors = readWhole(errors);
    fs::remove(errors);
    return r;
}

fs::path tankerCopy(const std::string& name)
{
    const fs::path dir = fs::temp_directory_path() / ("collaudo_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* ext : {".ana", ".geo", ".pro", ".lim"})
        fs::copy_file(fs::path(EXAMPLES_DIR) / "tanker" / (std::string("TANKER") + ext), dir / (std::string("TANKER") + ext));
    return dir;
}

std::string firstLine(const fs::path& file)
{
    const std::string text = readWhole(file);
    return text.substr(0, text.find("\r\n"));
}

#ifdef COLLAUDO_PROGRAM
TEST(CollaudoRun, TankerWritesTheFilesAndTheDamagedCases)
{
    const fs::path dir = tankerCopy("files");
    const RunResult r = runHeadless(COLLAUDO_PROGRAM, dir / "TANKER.ana");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(firstLine(dir / "TANKER_check.csv"),
              "case,condition,direction,Msw (kN.m),Mwv (kN.m),gamma_S,gamma_W,gamma_M,gamma_DB,M (kN.m),Mu (kN.m),"
              "Mu/gamma_R (kN.m),utilisation,verdict");
    EXPECT_EQ(firstLine(dir / "TANKER_interaction.csv"), "angle (deg),Mu (kN.m),Mv (kN.m),Mh (kN.m),peak step,peak reached");
    const std::string check = readWhole(dir / "TANKER_check.csv");
    EXPECT_EQ(std::count(check.begin(), check.end(), '\n'), 1 + 2 * 2 * 3);   // intact and two damages
    EXPECT_EQ(check.find('e'), check.find("case") + 3) << "no E-notation";
    const std::string interaction = readWhole(dir / "TANKER_interaction.csv");
    EXPECT_EQ(std::count(interaction.begin(), interaction.end(), '\n'), 1 + 24);
    EXPECT_GT(fs::file_size(dir / "TANKER_interaction.png"), 1000u);
    EXPECT_NE(readWhole(dir / "TANKER_check.txt").find("gDB"), std::string::npos);
    for (const char* damage : {"TANKER_collision", "TANKER_grounding"}) {
        for (const char* file : {"TANKER.ana", "TANKER.geo", "TANKER.pro", "TANKER.rst", "TANKER.teA", "TANKER.teB",
                                 "AT.T", "lixo.tmp"})
            EXPECT_TRUE(fs::exists(dir / damage / file)) << damage << "/" << file;
    }
    // The collision's hogging study ends still rising: said on standard error and in the table.
    EXPECT_NE(r.errors.find("collision hogging: largest moment at the last step"), std::string::npos) << r.errors;
    fs::remove_all(dir);
}

TEST(CollaudoRun, FaultyLimitsAreAllListedAndNothingIsWritten)
{
    const fs::path dir = tankerCopy("faults");
    {
        std::ofstream lim(dir / "TANKER.lim", std::ios::trunc);
        lim << "[[condition]]\nname = \"s\"\nmsw_hogging = 1\nmsw_sagging = 1\nmwv_hogging = 1\nmwv_sagging = -1\n"
               "gamma_x = 1\n[interaction]\nangles = 1000\n";
    }
    const RunResult r = runHeadless(COLLAUDO_PROGRAM, dir / "TANKER.ana");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.errors.find("TANKER.lim:7: condition[1].gamma_x: unknown key"), std::string::npos) << r.errors;
    EXPECT_NE(r.errors.find("TANKER.lim:6: condition[1].mwv_sagging: must not be below 0"), std::string::npos);
    EXPECT_NE(r.errors.find("TANKER.lim:9: interaction.angles"), std::string::npos);
    int entries = 0;
    for (const auto& e : fs::directory_iterator(dir)) entries += e.path().filename() != "stderr.txt";
    EXPECT_EQ(entries, 4) << "only the four inputs";
    fs::remove(dir / "TANKER.lim");
    const RunResult missing = runHeadless(COLLAUDO_PROGRAM, dir / "TANKER.ana");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.errors.find("TANKER.lim not found"), std::string::npos);
    fs::remove_all(dir);
}
#endif

#ifdef STRAKON_PROGRAM
TEST(StrakonRun, WarnsWhenThePeakIsNotReachedAndKeepsItsFiles)
{
    const fs::path dir = tankerCopy("strakon");
    const RunResult r = runHeadless(STRAKON_PROGRAM, dir / "TANKER.ana");
    ASSERT_EQ(r.status, 0) << r.errors;
    for (int k : {3, 4, 8})
        EXPECT_NE(r.errors.find("case study " + std::to_string(k) + ": the largest moment is at the last step"),
                  std::string::npos)
            << r.errors;
    for (int k : {1, 2, 5, 6, 7})
        EXPECT_EQ(r.errors.find("case study " + std::to_string(k) + ": the largest"), std::string::npos);
    EXPECT_EQ(readWhole(dir / "TANKER.rst").find("peak"), std::string::npos);
    fs::remove_all(dir);
}
#endif

} // namespace
