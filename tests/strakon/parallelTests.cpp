// Case studies computed side by side: every file, the exit status and the messages are those of
// a one-thread run, on the examples and on generated sections with random options, including a
// stop in a middle case study and a record error in the last one.

#include "generatedCases.hpp"
#include "runStrakon.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

namespace {

using namespace strakontest;

std::vector<Case> cases()
{
    std::vector<Case> all = {{"tanker", {}, "tanker/TANKER"}, {"box", {}, "box/BOX"}};
    std::mt19937 random(20261208);
    for (int i = 0; i < 22; ++i) all.push_back(generatedCase(random, "generated" + std::to_string(i)));
    // A stop in the middle case study (a corrosion allowance of 20 mm leaves no plate), and a
    // field that cannot be read in the last one's option record.
    Case stop = all[2];
    stop.name = "stopInTheMiddle";
    stop.files["CASE.ana"] = " 3\r\n" + optionRecord(3, 1, 0, 4.5, 0, 0) + optionRecord(3, 1, 40, 4.5, 0, 0) +
                             optionRecord(3, 2, 0, 4.5, 180, 0);
    all.push_back(stop);
    Case error = all[3];
    error.name = "recordErrorInTheLast";
    error.files["CASE.ana"] = " 3\r\n" + optionRecord(3, 1, 0, 4.5, 0, 0) + optionRecord(2, 2, 1, 3.0, 180, 0) +
                              " x 1 0 4.50  0.0    0   0\r\n";
    all.push_back(error);
    return all;
}

Outcome runWith(const Case& c, const char* threads) { return runCaseWith(c, "TARNOVA_THREADS", threads); }

TEST(ParallelCaseStudies, EveryFileStatusAndMessageIsThatOfAOneThreadRun)
{
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const Outcome one = runWith(c, "1");
        const Outcome two = runWith(c, "2");
        EXPECT_EQ(one.run.status, two.run.status);
        EXPECT_EQ(one.run.errors, two.run.errors);
        ASSERT_EQ(one.files.size(), two.files.size());
        for (const auto& [name, text] : one.files) {
            auto other = two.files.find(name);
            ASSERT_NE(other, two.files.end()) << name;
            EXPECT_TRUE(text == other->second) << name << " differs";
        }
        if (c.name == "stopInTheMiddle") {
            EXPECT_EQ(one.run.status, 1);
            EXPECT_TRUE(one.files.count("CASE.teB") && !one.files.count("CASE.teC"));
        }
        if (c.name == "recordErrorInTheLast") {
            EXPECT_EQ(one.run.status, 2);
            EXPECT_NE(one.run.errors.find("READ on unit 21"), std::string::npos) << one.run.errors;
        }
    }
}

} // namespace

namespace {

// A headless run maps none of the window-system, audio or sound-file libraries (the window
// module is loaded only when a display is reachable), nor the font configuration library: the
// fonts are built in.
TEST(HeadlessStart, MapsNoWindowOrSoundLibrary)
{
    TempDir dir;
    copyExample("box/BOX", dir.path(), "BOX");
    ::setenv("LD_DEBUG", "files", 1);
    const RunResult run = runStrakon(dir.path(), {(dir.path() / "BOX.ana").string()});
    ::unsetenv("LD_DEBUG");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_NE(run.errors.find("file=libstdc++"), std::string::npos) << "no loader trace";
    for (const char* library : {"libSDL2", "libpulse", "libasound", "libX11", "libsndfile", "tarnovaWindow", "libfontconfig"})
        EXPECT_EQ(run.errors.find(library), std::string::npos) << library << " was loaded";
}

} // namespace
