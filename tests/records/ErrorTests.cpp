// Run-time errors of the record layer: what the report names, that the program ends with a
// non-zero status, and that records written before the error stay in their files.

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <cstdlib>
#include <sys/resource.h>

namespace tarnova {
namespace {

using testing::putFile;
using testing::RecordError;

class RecordErrors : public ::testing::Test {
protected:
    testing::ScratchDirectory dir{"errors"};
    testing::CatchRecordErrors errors;

    // The report of the error that reading `bytes` with `fmt` into a real raises ("" if none).
    template <typename Item>
    std::string readReport(const std::string& bytes, const char* fmt, Item item)
    {
        putFile("bad.txt", bytes);
        openUnit(21, "bad.txt");
        try {
            readRecords(21, fmt, {item});
        } catch (const RecordError& e) {
            return e.what();
        }
        closeUnit(21);
        return "";
    }
};

TEST_F(RecordErrors, AsterisksReadBackNameStatementUnitFileRecordAndColumns)
{
    std::string report = readReport("  1.5\r\n ****\r\n", "(/,F5.2)", 0.0f);
    EXPECT_NE(report.find("READ"), std::string::npos) << report;
    EXPECT_NE(report.find("unit 21"), std::string::npos) << report;
    EXPECT_NE(report.find("\"bad.txt\""), std::string::npos) << report;
    EXPECT_NE(report.find("record 2"), std::string::npos) << report;
    EXPECT_NE(report.find("columns 1 to 5: \" ****\""), std::string::npos) << report;
    EXPECT_NE(report.find("F5.2"), std::string::npos) << report;
}

TEST_F(RecordErrors, BadCharactersAreRefused)
{
    const char* realFields[] = {"1.2.3", "12a", "1.5E", "--1", "E5", "1.5E+", "1,5", "1.5 x", "\t1", "1-"};
    for (const char* f : realFields) EXPECT_NE(readReport(std::string(f) + "\r\n", "(F8.2)", 0.0), "") << f;
    const char* integerFields[] = {"1.0", "1-", "-", "1e2", "**"};
    for (const char* f : integerFields) EXPECT_NE(readReport(std::string(f) + "\r\n", "(I4)", std::int32_t{}), "") << f;
}

TEST_F(RecordErrors, ValuesBeyondTheItemAreRefused)
{
    EXPECT_NE(readReport("2147483648\r\n", "(I11)", std::int32_t{}).find("beyond the range"), std::string::npos);
    EXPECT_EQ(readReport("-2147483648\r\n", "(I11)", std::int32_t{}), "");
    EXPECT_NE(readReport("1.E39\r\n", "(E9.3)", 0.0f).find("beyond the range"), std::string::npos);
    EXPECT_EQ(readReport("1.E39\r\n", "(E9.3)", 0.0), "");
}

// A NUL once cut the report short, losing the format and the reason; an ESC reached the terminal.
TEST_F(RecordErrors, ControlBytesOfAFieldAreEscapedAndEveryLineOfTheReportFollows)
{
    const std::string report = readReport(std::string("1\0" "2\x1b[2J\r\n", 9), "(F8.2)", 0.0f);
    EXPECT_NE(report.find("\"1\\x002\\x1b[2J\""), std::string::npos) << report;
    EXPECT_NE(report.find("format (F8.2), descriptor F8.2"), std::string::npos) << report;
    EXPECT_EQ(report.find('\0'), std::string::npos);
    EXPECT_EQ(report.find('\x1b'), std::string::npos);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 4) << report;
}

TEST_F(RecordErrors, DirectoryInPlaceOfAFileIsNamedAsOne)
{
    std::filesystem::create_directory("folder.txt");
    openUnit(3, "folder.txt");
    try {
        writeRecords(3, "(I2)", {1});
        ADD_FAILURE() << "written";
    } catch (const RecordError& e) {
        EXPECT_NE(std::string(e.what()).find("the file is a directory"), std::string::npos) << e.what();
    }
}

TEST_F(RecordErrors, ReadAtTheEndNamesTheLastRecord)
{
    std::string report = readReport("12\r\n", "(I2,/,I2)", std::int32_t{});
    EXPECT_NE(report.find("READ"), std::string::npos);
    EXPECT_NE(report.find("ends after record 1"), std::string::npos) << report;
    EXPECT_NE(readReport("", "(I2)", std::int32_t{}).find("empty"), std::string::npos);
}

TEST_F(RecordErrors, ItemsMustSuitTheirDescriptor)
{
    openUnit(3, "w.txt");
    EXPECT_THROW(writeRecords(3, "(F5.1)", {3}), RecordError);
    openUnit(3, "w.txt");
    EXPECT_THROW(writeRecords(3, "(I5)", {3.0}), RecordError);
    openUnit(3, "w.txt");
    EXPECT_THROW(writeRecords(3, "(' no data')", {3}), RecordError);
}

TEST_F(RecordErrors, FormatsOutsideTheNotationAreReported)
{
    const char* formats[] = {"I3", "(I3", "(2(I3))", "(G10.3)", "(F10)", "(E9.0)", "(I0)", "(0I3)", "('open)"};
    for (const char* f : formats) EXPECT_THROW(testing::format(f, {1}), RecordError) << f;
}

TEST_F(RecordErrors, UnitsThatAreNotOpenAreReported)
{
    EXPECT_THROW(atEndOfUnit(77), RecordError);
    EXPECT_THROW(writeRecords(77, "(I2)", {1}), RecordError);
    std::int32_t n = 0;
    EXPECT_THROW(readRecords(77, "(I2)", {n}), RecordError);
    EXPECT_THROW(readRecords(screenUnit, "(I2)", {n}), RecordError);
    rewindUnit(77);   // no effect, no error
    closeUnit(77);
}

TEST(RecordErrorExit, DefaultHandlerReportsAndExitsWithStatusTwoKeepingRecords)
{
    testing::ScratchDirectory dir("exit");
    auto failingRun = [] {
        openUnit(22, "report.rst");
        writeRecords(22, "(A)", {"kept one"});
        writeRecords(22, "(A)", {"kept two"});
        openUnit(21, "input.ana");   // missing: created empty
        std::int32_t n = 0;
        readRecords(21, "(I2)", {n});
    };
    EXPECT_EXIT(failingRun(), ::testing::ExitedWithCode(2), "READ on unit 21, file \"input.ana\"");
    EXPECT_EQ(testing::fileBytes("report.rst"), "kept one\r\nkept two\r\n");
}


// Records still buffered when a unit is closed reach the file only then: a file that cannot take
// them (here: beyond the process's file size limit) is a CLOSE error, not a silent success.
void limitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);   // a write past the limit then fails with EFBIG
    rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

void writeMoreThanTheLimit(int unit)
{
    openUnit(unit, "full.txt");
    for (int i = 0; i < 10; ++i) writeRecords(unit, "(A)", {"a record of some forty characters ......"});
}

TEST(RecordErrorExit, RecordsThatCannotReachTheFileAtCloseEndWithACloseError)
{
    testing::ScratchDirectory dir("close");
    auto closeOne = [] {
        limitFileSize(100);
        writeMoreThanTheLimit(25);
        closeUnit(25);
        std::exit(0);
    };
    EXPECT_EXIT(closeOne(), ::testing::ExitedWithCode(2), "CLOSE on unit 25, file \"full.txt\"");
    auto closeAll = [] {
        limitFileSize(100);
        writeMoreThanTheLimit(24);
        closeAllUnits();
        std::exit(0);
    };
    EXPECT_EXIT(closeAll(), ::testing::ExitedWithCode(2), "CLOSE on unit 24, file \"full.txt\"");
    auto rewindOne = [] {
        limitFileSize(100);
        writeMoreThanTheLimit(3);
        rewindUnit(3);
        std::exit(0);
    };
    EXPECT_EXIT(rewindOne(), ::testing::ExitedWithCode(2), "REWIND on unit 3, file \"full.txt\"");
}

} // namespace
} // namespace tarnova
