// Whole-file replacement: the old file survives a failed write, links are replaced rather than
// written through, and no temporary is left behind.
#include "replaceFile.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct ReplaceFileTest : ::testing::Test {
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("replaceFile." + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
};

TEST_F(ReplaceFileTest, NewAndExistingFilesGetExactlyTheBytes)
{
    const std::string target = (dir / "A.csv").string();
    ASSERT_TRUE(tarnova::replaceFile(target, "first\r\n"));
    ASSERT_TRUE(tarnova::replaceFile(target, std::string_view("x\0y", 3)));
    EXPECT_EQ(slurp(target), std::string("x\0y", 3));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(ReplaceFileTest, FailedWriterKeepsTheOldFileAndLeavesNoTemporary)
{
    const std::string target = (dir / "A.png").string();
    ASSERT_TRUE(tarnova::replaceFile(target, "old"));
    std::string reason;
    EXPECT_FALSE(tarnova::replaceFileWith(target, [](std::FILE* f) {
        std::fputs("half", f);
        return false;
    }, &reason));
    EXPECT_EQ(slurp(target), "old");
    EXPECT_EQ(entries(), 1u);
    EXPECT_FALSE(reason.empty());
}

TEST_F(ReplaceFileTest, SymbolicLinkTargetIsReplacedNotWrittenThrough)
{
    const fs::path outside = dir / "outside.txt";
    ASSERT_TRUE(tarnova::replaceFile(outside.string(), "keep"));
    fs::create_symlink(outside, dir / "A.csv");
    ASSERT_TRUE(tarnova::replaceFile((dir / "A.csv").string(), "new"));
    EXPECT_EQ(slurp(outside), "keep");
    EXPECT_FALSE(fs::is_symlink(dir / "A.csv"));
    EXPECT_EQ(slurp(dir / "A.csv"), "new");
}

TEST_F(ReplaceFileTest, MissingDirectoryGivesTheSystemsReason)
{
    std::string reason;
    EXPECT_FALSE(tarnova::replaceFile((dir / "no" / "A.csv").string(), "x", &reason));
    EXPECT_NE(reason.find("No such file or directory"), std::string::npos) << reason;
}

} // namespace
