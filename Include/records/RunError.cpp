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
    std::fwrite(report.data(), 1, report.size(), stderr);
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

std::string escapeControlBytes(std::string_view text, bool keepLineFeeds)
{
    static constexpr char hex[] = "0123456789abcdef";
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && !(keepLineFeeds && c == '\n')) || u == 0x7f) {
            shown += "\\x";
            shown += hex[u >> 4];
            shown += hex[u & 0xf];
        } else {
            shown += c;
        }
    }
    return shown;
}

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
        r += escapeControlBytes(place.fileName);
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
            r += escapeControlBytes(place.field);   // the whole field, NUL and ESC included
            r += '"';
        }
        r += '\n';
    }
    if (!place.format.empty()) {
        r += "  format ";
        r += escapeControlBytes(place.format);
        if (!place.descriptor.empty()) {
            r += ", descriptor ";
            r += escapeControlBytes(place.descriptor);
        }
        if (place.item > 0) r += ", item " + std::to_string(place.item);
        r += '\n';
    }
    r += "  ";
    r += escapeControlBytes(problem);
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
