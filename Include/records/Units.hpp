#pragma once
// A table of open units and record-level input and output on them.

#include "records/Records.hpp"
#include "records/RunError.hpp"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace tarnova::records {

struct Unit {
    int number = 0;
    std::string fileName;
    std::FILE* file = nullptr;
    std::unique_ptr<char[]> buffer;   // stdio buffer of the file
    bool readOnly = false;
    bool directory = false;           // the name is a directory: no record to read, none to write
    bool writing = false;             // last transfer was a write (the file ends at the position)
    bool fileTried = false;           // capture: the file has been looked for (it is opened to read only)
    long recordsPassed = 0;           // records read or written since the first
    std::string line;                 // the record last read
    std::string out;                  // the record being written
};

// The state behind a RecordUnits.
struct Table {
    RecordUnits::Mode mode = RecordUnits::Mode::files;
    bool programTable = false;        // errors go to the installed handler (the program's table)
    std::vector<std::unique_ptr<Unit>> units;
    RecordUnits::Journal journal;
    std::string lastFormat;           // capture: the format of the last write op,
    std::uint32_t lastFormatAt = 0;   // and where the journal holds it
    std::vector<std::string> noteKeys;
    std::vector<std::string> notes;
    std::string directory;            // where names without a "/" are; "" for the current one
};

// The open unit, or nullptr (never the screen unit).
Unit* findUnit(Table& table, int number);

// Reads the next record into unit.line; false when the unit is at its end.
bool readRecordLine(Unit& unit);
// True when no record can be read from the unit's position.
bool unitAtEnd(Unit& unit);
// Writes unit.out as the next record (the file then ends after it) and clears unit.out.
// Raises a WRITE error when the file cannot be written. In a capturing table the record goes to
// the journal.
void writeRecordLine(Table& table, Unit& unit, ErrorPlace& place);
// Sends one record to the screen sink (a capturing table journals it).
void writeScreenRecord(Table& table, std::string_view record);
// Capture: the unit's file opened to read, when it exists (a missing file reads as empty).
void ensureReadable(Table& table, Unit& unit);

// Closes every unit while a run-time error is being reported; returns a line for each unit
// whose buffered records could not be written ("" when all reached their files).
std::string closeUnitsAfterError(Table& table);

// An ErrorPlace naming the unit and its file.
ErrorPlace placeOf(Table& table, Statement statement, int number);

} // namespace tarnova::records
