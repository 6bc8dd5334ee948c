// Run-time error report of the record layer and the installed error handler.

#include "records/RunError.hpp"
#include "records/Records.hpp"
#include "records/Units.hpp"

#include <cstdio>
#include <cstdlib>

namespace tarnova {

namespace {

void defaultErrorHandler(const std::string& report)
{
    std::fputs(report.c_str(), stderr);
    std::fflush(stderr);
    std::exit(2);
}

RecordErrorHandler installedHandler = defaultErrorHandler;

const char* statementName(records::Statement s)
{
    switch (s) {
    case records::Statement::read: return "READ";
    case records::Statement::write: return "WRITE";
    case records::Statement::open: return "OPEN";
    case records::Statement::close: return "CLOSE";
    case records::Statement::rewind: return "REWIND";
    case records::Statement::eof: return "EOF";
    }
    return "?";
}

} // namespace

void setRecordErrorHandler(RecordErrorHandler handler)
{
    installedHandler = handler ? handler : defaultErrorHandler;
}

namespace records {

std::string composeReport(const ErrorPlace& place, std::string_view problem)
{
    std::string r = "Run-time error in ";
    r += statementName(place.statement);
    if (place.toText) {
        r += " to a text variable of length " + std::to_string(place.textLength);
    } else if (place.unit == screenUnit) {
        r += " on the screen unit";
    } else {
        r += " on unit " + std::to_string(place.unit);
    }
    if (!place.fileName.empty()) {
        r += ", file \"";
        r += place.fileName;
        r += '"';
    }
    r += '\n';
    if (place.record > 0 || place.firstColumn > 0) {
        r += "  ";
        if (place.record > 0) r += "record " + std::to_string(place.record);
        if (place.firstColumn > 0) {
            if (place.record > 0) r += ", ";
            r += "columns " + std::to_string(place.firstColumn) + " to " + std::to_string(place.lastColumn);
            r += ": \"";
            r += place.field;
            r += '"';
        }
        r += '\n';
    }
    if (!place.format.empty()) {
        r += "  format ";
        r += place.format;
        if (!place.descriptor.empty()) {
            r += ", descriptor ";
            r += place.descriptor;
        }
        if (place.item > 0) r += ", item " + std::to_string(place.item);
        r += '\n';
    }
    r += "  ";
    r += problem;
    r += '\n';
    return r;
}

[[noreturn]] void finishError(Table& table, const std::string& composed)
{
    const std::string report = composed + closeUnitsAfterError(table);
    if (table.programTable) {
        installedHandler(report);
        std::exit(2);   // a handler must not return; end the program all the same
    }
    RecordError error(report);
    error.composed = composed;
    throw error;
}

void raiseRecordError(const ErrorPlace& place, std::string_view problem)
{
    // Composed before the units (and their names) go.
    finishError(place.table ? *place.table : defaultUnits().table(), composeReport(place, problem));
}

} // namespace records
} // namespace tarnova
