// The options every program answers before it opens its window.

#include "commandLine.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tarnova {
namespace {

constexpr std::string_view ownOptions[] = {"--check"};
constexpr ProgramHelp help{"Demo", "Usage: Demo CASE.ana\n", ownOptions};

struct Case {
    std::vector<std::string> arguments;
    std::optional<int> status;
    std::string out;        // standard output, whole
    std::string errPart;    // a part of standard error ("" for none at all)
};

TEST(CommandLine, AnswersHelpAndVersionRefusesUnknownOptionsAndLeavesTheRest)
{
    const std::string version = "Demo (TARNOVA) " + std::string(suiteVersion()) + " (revision " +
                                std::string(buildRevision()) + ")\n";
    const Case cases[] = {
        {{}, std::nullopt, "", ""},
        {{"/ships/TANKER.ana"}, std::nullopt, "", ""},
        {{"/ships/TANKER.teA", "1"}, std::nullopt, "", ""},
        {{"-1"}, std::nullopt, "", ""},                          // one dash: the program's own argument
        {{"--check", "/ships/TANKER.ana"}, std::nullopt, "", ""},  // an option the program reads itself
        {{"--help"}, 0, "Usage: Demo CASE.ana\n", ""},
        {{"/ships/TANKER.ana", "--help"}, 0, "Usage: Demo CASE.ana\n", ""},
        {{"--version"}, 0, version, ""},
        {{"--help", "--bogus"}, 0, "Usage: Demo CASE.ana\n", ""},  // the first that decides
        {{"--bogus", "--help"}, 1, "", "Demo: unknown option \"--bogus\""},
        {{"--Help"}, 1, "", "unknown option \"--Help\""},
        {{"--"}, 1, "", "unknown option \"--\""},
        {{"--check=x"}, 1, "", "unknown option \"--check=x\""},
        {{"--headless", "/ships/TANKER.ana"}, std::nullopt, "", ""},   // every program takes it
        {{"--headless", "--help"}, 0, "Usage: Demo CASE.ana\n", ""},
        {{"--headless=yes"}, 1, "", "unknown option \"--headless=yes\""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> storage = {"Demo"};
        storage.insert(storage.end(), c.arguments.begin(), c.arguments.end());
        std::vector<char*> argv;
        for (std::string& s : storage) argv.push_back(s.data());
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const std::optional<int> status = answerCommandLine(static_cast<int>(argv.size()), argv.data(), help);
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        const std::string label = storage.size() > 1 ? storage[1] : "(none)";
        EXPECT_EQ(status, c.status) << label;
        EXPECT_EQ(out, c.out) << label;
        if (c.errPart.empty())
            EXPECT_EQ(err, "") << label;
        else
            EXPECT_NE(err.find(c.errPart), std::string::npos) << label << ": " << err;
    }
}

TEST(CommandLine, VersionIsTheProjectVersion)
{
    const std::string v(suiteVersion());
    EXPECT_EQ(std::count(v.begin(), v.end(), '.'), 2) << v;
}

} // namespace
} // namespace tarnova
