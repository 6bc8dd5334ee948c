// Utilitar: text and number routines, pixel scaling, and the exit request flag.

#include "Utilitar.hpp"

#include <gtest/gtest.h>

#include <string>

#include <chrono>
#include <future>
#include <limits>
#include <thread>

namespace tarnova {
namespace {

TEST(TextToInteger, AcceptsOneSignAndDigitsOverTheTrimmedText)
{
    struct Case {
        const char* text;
        std::int32_t value;
        bool ok;
    };
    const Case cases[] = {
        {"42", 42, true},   {"-7", -7, true},  {"+3", 3, true},   {"42   ", 42, true}, {"0", 0, true},
        {"4 2", 0, false},  {"--1", 0, false}, {"3-", 0, false},  {"1a", 0, false},   {"    ", 0, false},
        {" 5", 0, false},   {"", 0, false},    {"-", 0, false},   {"+-1", 0, false},
    };
    for (const auto& c : cases) {
        ParsedInteger p = textToInteger(c.text);
        EXPECT_EQ(p.ok, c.ok) << "[" << c.text << "]";
        if (c.ok) {
            EXPECT_EQ(p.value, c.value) << c.text;
        }
    }
    EXPECT_EQ(textToInteger("-2147483648").value, std::numeric_limits<std::int32_t>::min());
}

TEST(UpperCaseChar, LettersAndFourCodePageLetters)
{
    EXPECT_EQ(upperCaseChar('t'), 'T');
    EXPECT_EQ(upperCaseChar('T'), 'T');
    EXPECT_EQ(upperCaseChar('.'), '.');
    EXPECT_EQ(upperCaseChar('z'), 'Z');
    EXPECT_EQ(upperCaseChar('{'), '{');
    const std::pair<int, int> accented[] = {{132, 142}, {135, 128}, {130, 144}, {148, 153}};
    for (auto [from, to] : accented)
        EXPECT_EQ(static_cast<unsigned char>(upperCaseChar(static_cast<char>(from))), to) << from;
    EXPECT_EQ(static_cast<unsigned char>(upperCaseChar(static_cast<char>(200))), 200);
}

TEST(FirstNonBlank, PositionFromOne)
{
    EXPECT_EQ(firstNonBlank("abc"), 1);
    EXPECT_EQ(firstNonBlank("   x "), 4);
}

TEST(PixelScaling, NominalGridToPane)
{
    EXPECT_EQ(scaleToHeight(350, 479), 350.0);
    EXPECT_EQ(scaleToWidth(560, 639), 560.0);
    EXPECT_EQ(static_cast<int>(scaleToWidth(560, 1023)), 896);
    EXPECT_DOUBLE_EQ(mapLinear(5.0, 10.0, 0.0, 200, 20), 120.0);
    EXPECT_DOUBLE_EQ(mapLinear(-1.0, 1.0, -1.0, 100, 7), 7.0);
}

TEST(DivisionCount, ChoosesTheLargestCountWhoseStepFits)
{
    EXPECT_EQ(divisionCount(100, 12), 8);
    EXPECT_EQ(divisionCount(100, 40), 2);
    EXPECT_EQ(divisionCount(100, 60), 0);
    EXPECT_EQ(divisionCount(100, 10), 10);
    EXPECT_EQ(divisionCount(5.2, 5.9), 1);
    EXPECT_EQ(divisionCount(5.2, 6.1), 0);
    EXPECT_EQ(divisionCount(-0.5, 0.5), 1);   // both cut to 0
}

TEST(SplitPath, EitherSeparatorEndsTheDirectoryAndNothingIsCut)
{
    struct Case {
        const char* path;
        const char* directory;
        const char* fileName;
    };
    const std::string longDirectory = "/" + std::string(300, 'd');
    const std::string longPath = longDirectory + "/CASE.ana";
    const Case cases[] = {
        {"C:\\SHIPS\\TANKER1.ANA", "C:/SHIPS", "TANKER1.ANA"},
        {"/home/naval/ships/TANKER1.ana  ", "/home/naval/ships", "TANKER1.ana"},
        {"ships\\old/sub\\CASE.teA", "ships/old/sub", "CASE.teA"},   // mixed, nested
        {"CASE.ana", "", "CASE.ana"},                                // bare name
        {"/CASE.ana", "/", "CASE.ana"},                              // the root
        {"\\CASE.ana", "/", "CASE.ana"},
        {"", "", ""},
        {longPath.c_str(), longDirectory.c_str(), "CASE.ana"},
    };
    for (const Case& c : cases) {
        const PathParts parts = splitPath(c.path);
        EXPECT_EQ(parts.directory, c.directory) << c.path;
        EXPECT_EQ(parts.fileName, c.fileName) << c.path;
    }
}

TEST(ExitRequest, HandlerSetsTheFlagOnceAndForAll)
{
    resetRequests();
    EXPECT_EQ(exitRequested.load(), 0);
    exitHandler(false);
    exitHandler(true);
    EXPECT_EQ(exitRequested.load(), 1);
    EXPECT_TRUE(waitForExitRequest());   // already requested: returns at once
    resetRequests();
    EXPECT_EQ(exitRequested.load(), 0);
}

TEST(ExitRequest, WaiterWakesOnExitFromAnotherThread)
{
    resetRequests();
    auto waiter = std::async(std::launch::async, [] { return waitForExitRequest(); });
    EXPECT_EQ(waiter.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    std::thread([] { exitHandler(false); }).join();
    ASSERT_EQ(waiter.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_TRUE(waiter.get());
    resetRequests();
}

TEST(ExitRequest, StopWaitingWakesWithoutSettingTheFlag)
{
    resetRequests();
    auto waiter = std::async(std::launch::async, [] { return waitForExitRequest(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stopWaitingForExit();
    ASSERT_EQ(waiter.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(waiter.get());
    EXPECT_EQ(exitRequested.load(), 0);
    resetRequests();
}

} // namespace
} // namespace tarnova
