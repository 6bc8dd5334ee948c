// Unit tables of one's own: a captured journal replayed on the program's units writes what the
// statements would have written directly, and a table's run-time errors come back as exceptions.

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <string>

namespace tarnova {
namespace {

using testing::fileBytes;
using testing::putFile;

class UnitTables : public ::testing::Test {
protected:
    testing::ScratchDirectory dir{"tables"};
    testing::CatchRecordErrors errors;
};

// The same statements on a table: open, rewind, formatted and list-form writes, reopen, close.
void statements(RecordUnits& units, int unit)
{
    units.openUnit(unit, "out.txt");
    units.rewindUnit(unit);
    units.writeRecords(unit, "(3F10.1,/,2F10.1)", {1.0f, 2.0f, 3.0f, 4.0f, 5.0f});
    units.writeListRecord(unit, {"AREA OF ELEMENT N.", 5, " IS NUL"});
    units.openUnit(unit, "second.txt");
    units.writeRecords(unit, "(I4)", {std::int32_t{7}});
    units.closeUnit(unit);
}

TEST_F(UnitTables, ReplayedJournalWritesWhatTheStatementsWriteDirectly)
{
    putFile("out.txt", "an older and longer file\r\nwith two records\r\n");
    statements(defaultUnits(), 12);
    const std::string direct = fileBytes("out.txt"), directSecond = fileBytes("second.txt");
    putFile("out.txt", "an older and longer file\r\nwith two records\r\n");
    putFile("second.txt", "");

    RecordUnits captured(RecordUnits::Mode::capture);
    statements(captured, 12);
    EXPECT_EQ(fileBytes("out.txt"), "an older and longer file\r\nwith two records\r\n");   // nothing yet
    defaultUnits().replay(captured.takeJournal());
    EXPECT_EQ(fileBytes("out.txt"), direct);
    EXPECT_EQ(fileBytes("second.txt"), directSecond);
}

TEST_F(UnitTables, OwnTableThrowsItsErrorsAndTheProgramTableLeavesThemToTheHandler)
{
    putFile("in.txt", "12\r\nab\r\n");
    RecordUnits own;
    own.openUnit(3, "in.txt");
    std::int32_t value = 0;
    own.readRecords(3, "(I2)", {value});
    EXPECT_EQ(value, 12);
    try {
        own.readRecords(3, "(I2)", {value});
        ADD_FAILURE() << "no error";
    } catch (const RecordError& error) {
        EXPECT_NE(std::string(error.what()).find("READ on unit 3, file \"in.txt\""), std::string::npos) << error.what();
        EXPECT_EQ(error.composed, error.what());
    }
    // The same unit number is free in the program's table meanwhile.
    EXPECT_THROW(readRecords(3, "(I2)", {value}), std::exception);
}

TEST_F(UnitTables, DiscardingTableDropsWritesAndKeepsNotesOncePerKey)
{
    RecordUnits nowhere(RecordUnits::Mode::discard);
    nowhere.openUnit(4, "never.txt");
    nowhere.writeRecords(4, "(I4)", {std::int32_t{1}});
    nowhere.note("first", "key");
    nowhere.note("second", "key");
    nowhere.note("third");
    EXPECT_FALSE(fileExists("never.txt"));
    EXPECT_EQ(nowhere.notes(), (std::vector<std::string>{"first", "third"}));
}

} // namespace
} // namespace tarnova
