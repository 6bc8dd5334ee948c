#pragma once
// Run-time errors of the record layer: where it happened, in enough detail for an engineer to
// find the record and the columns in the file.

#include <string>
#include <string_view>

namespace tarnova::records {

struct Table;

enum class Statement { read, write, open, close, rewind, eof };

struct ErrorPlace {
    Statement statement = Statement::read;
    int unit = 0;
    std::size_t textLength = 0;        // formatToText: the length of the text variable
    bool toText = false;               // formatToText instead of a unit
    std::string_view fileName;         // empty when the unit has no file
    long record = 0;                   // from 1; 0 when no record is involved
    std::size_t firstColumn = 0;       // from 1; 0 when no field is involved
    std::size_t lastColumn = 0;
    std::string_view field;            // the field's text as it stands in the record
    std::string_view format;
    std::size_t item = 0;              // from 1; 0 when no item is involved
    std::string_view descriptor;       // e.g. "F10.3"
    Table* table = nullptr;            // whose units; nullptr: the program's
};

// The report for `place` and `problem` (one line per piece of information).
std::string composeReport(const ErrorPlace& place, std::string_view problem);

// Composes the report, flushes and closes every unit of the place's table and hands the report
// to the installed error handler, which ends the program (a table other than the program's
// throws RecordError instead).
[[noreturn]] void raiseRecordError(const ErrorPlace& place, std::string_view problem);
// The same for a report already composed.
[[noreturn]] void finishError(Table& table, const std::string& composed);

} // namespace tarnova::records
