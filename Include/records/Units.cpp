// Units: numbered connections to sequential text files. Files are opened in binary so that the
// record ends are exactly what is written (CR LF) and what is read (CR LF, LF or CR).

#include "records/Units.hpp"
#include "records/Records.hpp"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tarnova {

namespace {

constexpr std::size_t fileBufferSize = 1 << 16;

// Never destroyed: units stay usable while the program ends, and stdio flushes at exit.
std::vector<std::unique_ptr<records::Unit>>& unitTable()
{
    static auto* table = new std::vector<std::unique_ptr<records::Unit>>();
    return *table;
}

ScreenSink installedSink = nullptr;

std::string trimmedName(std::string_view name) { return std::string(name.substr(0, trimmedLength(name))); }

// Closes the unit's file; false (errno set) when records still buffered could not be written.
bool closeFile(records::Unit& unit)
{
    if (!unit.file) return true;
    errno = 0;
    const bool failedBefore = std::ferror(unit.file) != 0;
    const bool closed = std::fclose(unit.file) == 0;
    unit.file = nullptr;
    if (failedBefore && closed && errno == 0) errno = EIO;
    return closed && !failedBefore;
}

[[noreturn]] void raiseCloseError(records::Statement statement, const records::Unit& unit, int error)
{
    records::ErrorPlace place;
    place.statement = statement;
    place.unit = unit.number;
    place.fileName = unit.fileName;
    raiseRecordError(place, std::string("records written to the unit did not all reach the file: ") +
                                std::strerror(error));
}

} // namespace

namespace records {

Unit* findUnit(int number)
{
    for (auto& u : unitTable())
        if (u->number == number) return u.get();
    return nullptr;
}

ErrorPlace placeOf(Statement statement, int number)
{
    ErrorPlace place;
    place.statement = statement;
    place.unit = number;
    if (Unit* u = findUnit(number)) place.fileName = u->fileName;
    return place;
}

// Switching from writing to reading needs a positioning call between them (stdio rule).
static void endWriting(Unit& unit)
{
    if (unit.writing) {
        std::fflush(unit.file);
        std::fseek(unit.file, 0, SEEK_CUR);
        unit.writing = false;
    }
}

bool unitAtEnd(Unit& unit)
{
    endWriting(unit);
    int c = getc_unlocked(unit.file);
    if (c == EOF) {
        std::clearerr(unit.file);
        return true;
    }
    ungetc(c, unit.file);
    return false;
}

bool readRecordLine(Unit& unit)
{
    endWriting(unit);
    std::FILE* f = unit.file;
    int c = getc_unlocked(f);
    if (c == EOF) {
        std::clearerr(f);
        return false;
    }
    unit.line.clear();
    while (c != EOF && c != '\n' && c != '\r') {
        unit.line.push_back(static_cast<char>(c));
        c = getc_unlocked(f);
    }
    if (c == '\r') {
        int next = getc_unlocked(f);
        if (next == EOF) {
            std::clearerr(f);
        } else if (next != '\n') {
            ungetc(next, f);
        }
    }
    if (c == EOF) std::clearerr(f);
    ++unit.recordsPassed;
    return true;
}

void writeRecordLine(Unit& unit, ErrorPlace& place)
{
    if (unit.readOnly) {
        place.record = unit.recordsPassed + 1;
        raiseRecordError(place, unit.directory ? "the file is a directory"
                                               : "the file can only be read (no write permission)");
    }
    if (!unit.writing) {
        // The record written becomes the file's last: cut whatever follows the position.
        long position = std::ftell(unit.file);
        std::fseek(unit.file, position, SEEK_SET);   // also drops any read-ahead
        if (position >= 0 && ftruncate(fileno(unit.file), position) != 0) {
            place.record = unit.recordsPassed + 1;
            raiseRecordError(place, std::string("the file cannot be shortened: ") + std::strerror(errno));
        }
        unit.writing = true;
    }
    unit.out.append("\r\n");
    if (std::fwrite(unit.out.data(), 1, unit.out.size(), unit.file) != unit.out.size()) {
        place.record = unit.recordsPassed + 1;
        raiseRecordError(place, std::string("the record cannot be written: ") + std::strerror(errno));
    }
    unit.out.clear();
    ++unit.recordsPassed;
}

void writeScreenRecord(std::string_view record)
{
    if (installedSink) {
        installedSink(record);
    } else {
        std::fwrite(record.data(), 1, record.size(), stdout);
        std::fputc('\n', stdout);
    }
}

} // namespace records

using records::Unit;

void setScreenSink(ScreenSink sink) { installedSink = sink; }

void openUnit(int unit, std::string_view fileName)
{
    if (unit == screenUnit) return;
    std::string name = trimmedName(fileName);
    if (Unit* open = records::findUnit(unit)) {
        // Reconnecting a unit ends its former connection first.
        closeUnit(open->number);
    }
    auto u = std::make_unique<Unit>();
    u->number = unit;
    u->fileName = name;
    errno = 0;
    u->file = std::fopen(name.c_str(), "r+b");
    if (!u->file && errno != ENOENT) {
        int firstError = errno;
        u->file = std::fopen(name.c_str(), "rb");   // a read-only input file is still readable
        u->readOnly = u->file != nullptr;
        u->directory = u->readOnly && firstError == EISDIR;
        if (!u->file) errno = firstError;
    }
    if (!u->file && errno == ENOENT) u->file = std::fopen(name.c_str(), "w+b");
    if (!u->file) {
        int error = errno;
        records::ErrorPlace place;
        place.statement = records::Statement::open;
        place.unit = unit;
        place.fileName = name;
        raiseRecordError(place, std::string("the file cannot be opened or created: ") + std::strerror(error));
    }
    u->buffer = std::make_unique<char[]>(fileBufferSize);
    std::setvbuf(u->file, u->buffer.get(), _IOFBF, fileBufferSize);
    u->line.reserve(256);
    u->out.reserve(256);
    unitTable().push_back(std::move(u));
}

void rewindUnit(int unit)
{
    Unit* u = records::findUnit(unit);
    if (!u) return;   // rewinding a unit that is not connected has no effect
    if (std::fflush(u->file) != 0) raiseCloseError(records::Statement::rewind, *u, errno);
    std::fseek(u->file, 0, SEEK_SET);
    u->writing = false;
    u->recordsPassed = 0;
}

bool atEndOfUnit(int unit)
{
    Unit* u = records::findUnit(unit);
    if (!u) {
        records::ErrorPlace place = records::placeOf(records::Statement::eof, unit);
        raiseRecordError(place, unit == screenUnit ? "the screen unit cannot be read" : "the unit is not open");
    }
    return records::unitAtEnd(*u);
}

void closeUnit(int unit)
{
    auto& table = unitTable();
    for (auto it = table.begin(); it != table.end(); ++it) {
        if ((*it)->number == unit) {
            if (!closeFile(**it)) {
                // The report names the unit and its file, so it is composed before they go.
                const int error = errno;
                std::unique_ptr<Unit> closed = std::move(*it);
                table.erase(it);
                raiseCloseError(records::Statement::close, *closed, error);
            }
            table.erase(it);
            return;
        }
    }
}

void closeAllUnits()
{
    // Every unit is closed, and taken out of the table before any failure is raised, so the
    // error path (which closes all units again) finds nothing left to close.
    auto& table = unitTable();
    std::vector<std::unique_ptr<Unit>> closing;
    closing.swap(table);
    const Unit* failed = nullptr;
    int error = 0;
    for (auto& u : closing) {
        if (!closeFile(*u) && !failed) {
            failed = u.get();
            error = errno;
        }
    }
    std::fflush(stdout);
    if (failed) raiseCloseError(records::Statement::close, *failed, error);
}

namespace records {

std::string closeUnitsAfterError()
{
    auto& table = unitTable();
    std::string failures;
    for (auto& u : table)
        if (!closeFile(*u))
            failures += "  unit " + std::to_string(u->number) + ", file \"" + u->fileName +
                        "\": records written to it did not all reach the file: " + std::strerror(errno) + "\n";
    table.clear();
    std::fflush(stdout);
    return failures;
}

} // namespace records

bool fileExists(std::string_view fileName)
{
    std::string name = trimmedName(fileName);
    struct stat info;
    return !name.empty() && ::stat(name.c_str(), &info) == 0;
}

} // namespace tarnova
