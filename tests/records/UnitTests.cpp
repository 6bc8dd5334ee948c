// Units and files: record ends, end of file, creation, truncation, the screen unit, and the
// format control of write statements as it shows in the records of a file.

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tarnova {
namespace {

using testing::fileBytes;
using testing::putFile;

class Units : public ::testing::Test {
protected:
    testing::ScratchDirectory dir{"units"};
    testing::CatchRecordErrors errors;

    std::vector<std::string> recordsOf(const std::string& name)
    {
        openUnit(9, name);
        std::vector<std::string> lines;
        FixedText line(80);
        while (!atEndOfUnit(9)) {
            readRecords(9, "(A80)", {line});
            lines.emplace_back(line.trimmed());
        }
        closeUnit(9);
        return lines;
    }
};

TEST_F(Units, RecordsEndAtCrLfLfOrCr)
{
    putFile("mixed.txt", "a\rb\nc\r\nd");
    EXPECT_EQ(recordsOf("mixed.txt"), (std::vector<std::string>{"a", "b", "c", "d"}));
    putFile("blank.txt", "a\r\n\r\n");
    EXPECT_EQ(recordsOf("blank.txt"), (std::vector<std::string>{"a", ""}));   // trailing empty line is a record
    putFile("one.txt", "a\r\n");
    EXPECT_EQ(recordsOf("one.txt"), (std::vector<std::string>{"a"}));
    putFile("crcr.txt", "a\r\r\n");
    EXPECT_EQ(recordsOf("crcr.txt"), (std::vector<std::string>{"a", ""}));
}

TEST_F(Units, EmptyFileIsAtItsEndAtOnce)
{
    putFile("empty.txt", "");
    openUnit(2, "empty.txt");
    rewindUnit(2);
    EXPECT_TRUE(atEndOfUnit(2));
}

TEST_F(Units, MissingFileIsCreatedEmptyAndNameBlanksIgnored)
{
    EXPECT_FALSE(fileExists("new.dat  "));
    openUnit(5, "new.dat     ");
    EXPECT_TRUE(atEndOfUnit(5));
    closeUnit(5);
    EXPECT_TRUE(fileExists("new.dat"));
    EXPECT_EQ(fileBytes("new.dat"), "");
}

TEST_F(Units, WriteAfterRewindTruncatesTheRest)
{
    openUnit(3, "out.txt");
    writeRecords(3, "(I3)", {1});
    writeRecords(3, "(I3)", {2});
    writeRecords(3, "(I3)", {3});
    rewindUnit(3);
    writeRecords(3, "(I3)", {9});
    closeUnit(3);
    EXPECT_EQ(fileBytes("out.txt"), "  9\r\n");
}

TEST_F(Units, OpeningAndWritingRewritesAnExistingFileFromItsStart)
{
    putFile("old.txt", "line one\r\nline two\r\nline three\r\n");
    openUnit(3, "old.txt");
    writeListRecord(3, {"new"});
    closeUnit(3);
    EXPECT_EQ(fileBytes("old.txt"), " new\r\n");
}

TEST_F(Units, WriteAfterReadingKeepsTheRecordsRead)
{
    putFile("rw.txt", "first\r\nsecond\r\nthird\r\n");
    openUnit(3, "rw.txt");
    FixedText t(10);
    readRecords(3, "(A10)", {t});
    writeRecords(3, "(A)", {"new"});
    EXPECT_TRUE(atEndOfUnit(3));
    rewindUnit(3);
    readRecords(3, "(A10)", {t});
    readRecords(3, "(A10)", {t});
    EXPECT_EQ(t.trimmed(), "new");
    closeUnit(3);
    EXPECT_EQ(fileBytes("rw.txt"), "first\r\nnew\r\n");
}

TEST_F(Units, WriteThenRewindThenReadBack)
{
    openUnit(222, "nElem.txt");
    writeRecords(222, "(I4)", {17});
    rewindUnit(222);
    std::int32_t n = 0;
    readRecords(222, "(I4)", {n});
    EXPECT_EQ(n, 17);
}

TEST_F(Units, FormatControlShapesTheRecords)
{
    openUnit(4, "shape.txt");
    std::vector<float> twelve(12, 1.0f);
    writeRecords(4, "(10E9.3)", {std::span<const float>(twelve)});
    writeRecords(4, "(3F10.1,/,2F10.1)", {1.0, 2.0, 3.0, 4.0, 5.0});
    writeRecords(4, "(3F10.1)", {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f});
    writeRecords(4, "(/,/,' X')", {});
    writeRecords(4, "(' Property ',I1,' is INVALID ')", {3});
    writeRecords(4, "(I3,' a',I3,' b')", {1});
    writeRecords(4, "(I3)", {});
    writeRecords(4, "(I3)(I3)(I2)", {123, 456});
    closeUnit(4);
    std::string one = " .100E+01";
    std::string expected;
    for (int k = 0; k < 10; ++k) expected += one;
    expected += "\r\n" + one + one + "\r\n";
    expected += "       1.0       2.0       3.0\r\n       4.0       5.0\r\n";
    expected += "       1.0       2.0       3.0\r\n       4.0       5.0       6.0\r\n";
    expected += "\r\n\r\n X\r\n";
    expected += " Property 3 is INVALID \r\n";
    expected += "  1 a\r\n";
    expected += "\r\n";
    expected += "123\r\n456\r\n";
    EXPECT_EQ(fileBytes("shape.txt"), expected);
}

TEST_F(Units, LiteralMayHoldParenthesesAndApostrophes)
{
    EXPECT_EQ(testing::format("(' M ','(N.mm)',I2,' it''s')", {5}), " M (N.mm) 5 it's");
}

std::vector<std::string> screenLines;
void collect(std::string_view record) { screenLines.emplace_back(record); }

TEST_F(Units, ScreenUnitSendsEachRecordToTheSink)
{
    screenLines.clear();
    setScreenSink(collect);
    writeRecords(screenUnit, "(I2,/,A)", {7, "next"});
    writeListRecord(screenUnit, {"msg"});
    setScreenSink(nullptr);
    EXPECT_EQ(screenLines, (std::vector<std::string>{" 7", "next", " msg"}));
}

TEST_F(Units, FormatToTextPlacesFromTheLeftAndBlanksTheRest)
{
    FixedText name(12, "old contents");
    formatToText(name, "('Elem',I3.3)", {7});
    EXPECT_EQ(name.str(), "Elem007     ");
    FixedText label(6);
    EXPECT_THROW(formatToText(label, "(F9.2)", {3.5}), testing::RecordError);   // longer than the variable
    EXPECT_THROW(formatToText(label, "(I2,/,I2)", {1, 2}), testing::RecordError);   // a second record
}

// A table working in a directory of its own: plain names are that directory's, for reading and
// for writing, and the current directory is left alone; a name with a "/" keeps its own place.
TEST_F(Units, TableInADirectoryOfItsOwn)
{
    std::filesystem::create_directories("case");
    std::filesystem::create_directories("side");
    putFile("case/IN.ana", " 1\n");
    RecordUnits units;
    units.setDirectory((dir.path / "case/").string());
    units.openForReading(21, "IN.ana", 0);
    std::int32_t count = 0;
    units.readRecords(21, "(I2)", {count});
    EXPECT_EQ(count, 1);
    units.openUnit(22, "OUT.rst");
    units.writeRecords(22, "(A6)", {"report"});
    units.openUnit(23, "side/OWN.txt");
    units.writeRecords(23, "(A3)", {"own"});
    units.closeAllUnits();
    EXPECT_EQ(fileBytes("case/OUT.rst"), "report\r\n");
    EXPECT_FALSE(std::filesystem::exists("OUT.rst"));
    EXPECT_EQ(fileBytes("side/OWN.txt"), "own\r\n");
}

} // namespace
} // namespace tarnova
