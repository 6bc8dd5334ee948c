#pragma once
// The table of open units and record-level input and output on them.

#include "records/RunError.hpp"

#include <cstdio>
#include <memory>
#include <string>

namespace tarnova::records {

struct Unit {
    int number = 0;
    std::string fileName;
    std::FILE* file = nullptr;
    std::unique_ptr<char[]> buffer;   // stdio buffer of the file
    bool readOnly = false;
    bool directory = false;           // the name is a directory: no record to read, none to write
    bool writing = false;             // last transfer was a write (the file ends at the position)
    long recordsPassed = 0;           // records read or written since the first
    std::string line;                 // the record last read
    std::string out;                  // the record being written
};

// The open unit, or nullptr (never the screen unit).
Unit* findUnit(int number);

// Reads the next record into unit.line; false when the unit is at its end.
bool readRecordLine(Unit& unit);
// True when no record can be read from the unit's position.
bool unitAtEnd(Unit& unit);
// Writes unit.out as the next record (the file then ends after it) and clears unit.out.
// Raises a WRITE error when the file cannot be written.
void writeRecordLine(Unit& unit, ErrorPlace& place);
// Sends one record to the screen sink.
void writeScreenRecord(std::string_view record);

// Closes every unit while a run-time error is being reported; returns a line for each unit
// whose buffered records could not be written ("" when all reached their files).
std::string closeUnitsAfterError();

// An ErrorPlace naming the unit and its file.
ErrorPlace placeOf(Statement statement, int number);

} // namespace tarnova::records
