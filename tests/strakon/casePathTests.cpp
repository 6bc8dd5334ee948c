// The case directory and case name taken from the command-line path.

#include "casePaths.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PathCase {
    const char* path;
    const char* directory;
    const char* caseName;
};

const PathCase pathCases[] = {
    {"C:\\SHIPS\\TANKER1.ANA", "C:/SHIPS", "TANKER1"},
    {"/home/naval/ships/Tanker1.ana", "/home/naval/ships", "Tanker1"},
    {"ships/box/BOX.geo", "ships/box", "BOX"},
    {"/mixed\\dirs/CASE.pro", "/mixed/dirs", "CASE"},
    {"/work/run\\sub\\CASE.ana", "/work/run/sub", "CASE"},
    {"/TANKER.ana", "/", "TANKER"},
    {"\\TANKER.ana", "/", "TANKER"},
    {"TANKER.ana", "", "TANKER"},
    {"/ships/TANKER.teA", "/ships", "TANKER"},
    {"/ships/VERYLONGNAME.ana", "/ships", "VERYLONG"},
    {"/ships/MY CASE 2.ana", "/ships", "MY CASE"},   // the blank at the cut is trimmed
    {"/ships/TANKER.ana   ", "/ships", "TANKER"},
    // A path without an extension names the case whole ("TANKER" once became "TA").
    {"/ships/AB", "/ships", "AB"},
    {"/ships/TANKER", "/ships", "TANKER"},
    {"TANKER", "", "TANKER"},
    {"/ships/VERYLONGNAME", "/ships", "VERYLONG"},
    {"", "", ""},
};

TEST(CasePath, DirectoryAndNameFollowTheLastSeparatorOfEitherKind)
{
    for (const PathCase& c : pathCases) {
        const tarnova::CaseLocation location = tarnova::locateCase(c.path);
        EXPECT_EQ(location.directory, c.directory) << c.path;
        EXPECT_EQ(location.caseName, c.caseName) << c.path;
    }
}

TEST(CasePath, LongDirectoryIsNeverCut)
{
    std::string directory = "/tmp";
    while (directory.size() < 400)
        directory += "/a_rather_long_directory_name";
    const tarnova::CaseLocation location = tarnova::locateCase(directory + "/TANKER.ana");
    EXPECT_EQ(location.directory, directory);
    EXPECT_EQ(location.caseName, "TANKER");
}

} // namespace
