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

ScreenSink installedSink = nullptr;

using records::Table;
using Op = RecordUnits::JournalOp;

std::uint32_t journalText(Table& t, std::string_view text)
{
    const auto at = static_cast<std::uint32_t>(t.journal.text.size());
    t.journal.text.append(text);
    return at;
}

Op& journal(Table& t, Op::Kind kind, int unit, std::string_view text = {})
{
    Op op;
    op.kind = kind;
    op.unit = unit;
    op.text = journalText(t, text);
    op.textLength = static_cast<std::uint32_t>(text.size());
    t.journal.ops.push_back(op);
    return t.journal.ops.back();
}

std::string trimmedName(std::string_view name) { return std::string(name.substr(0, trimmedLength(name))); }

// The trimmed name, in the table's directory when it names none of its own.
std::string pathIn(const records::Table& table, std::string_view name)
{
    std::string trimmed = trimmedName(name);
    if (table.directory.empty() || trimmed.find('/') != std::string::npos) return trimmed;
    return table.directory + "/" + trimmed;
}

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

[[noreturn]] void raiseCloseError(Table& table, records::Statement statement, const records::Unit& unit, int error)
{
    records::ErrorPlace place;
    place.table = &table;
    place.statement = statement;
    place.unit = unit.number;
    place.fileName = unit.fileName;
    raiseRecordError(place, std::string("records written to the unit did not all reach the file: ") +
                                std::strerror(error));
}

} // namespace

namespace records {

Unit* findUnit(Table& table, int number)
{
    for (auto& u : table.units)
        if (u->number == number) return u.get();
    return nullptr;
}

ErrorPlace placeOf(Table& table, Statement statement, int number)
{
    ErrorPlace place;
    place.table = &table;
    place.statement = statement;
    place.unit = number;
    if (Unit* u = findUnit(table, number)) place.fileName = u->fileName;
    return place;
}

void ensureReadable(Table& table, Unit& unit)
{
    if (table.mode != RecordUnits::Mode::capture || unit.fileTried) return;
    unit.fileTried = true;
    unit.file = std::fopen(unit.fileName.c_str(), "rb");
    if (!unit.file) unit.file = std::fopen("/dev/null", "rb");   // missing: it would be created empty
    if (unit.file) {
        unit.buffer = std::make_unique_for_overwrite<char[]>(fileBufferSize);   // stdio fills it: no zeroing
        std::setvbuf(unit.file, unit.buffer.get(), _IOFBF, fileBufferSize);
        for (long r = 0; r < unit.recordsPassed && readRecordLine(unit);) ++r;   // back to its position
    }
}

// Switching from writing to reading needs a positioning call between them (stdio rule).
static void endWriting(Unit& unit)
{
    if (unit.writing && unit.file) {
        std::fflush(unit.file);
        std::fseek(unit.file, 0, SEEK_CUR);
        unit.writing = false;
    }
}

bool unitAtEnd(Unit& unit)
{
    if (!unit.file) return true;
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
    if (!unit.file) return false;
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

void writeRecordLine(Table& table, Unit& unit, ErrorPlace& place)
{
    if (table.mode == RecordUnits::Mode::capture) {
        // A write after records were read continues after them: the replay passes them over.
        if (!unit.writing && unit.recordsPassed > 0) journal(table, Op::skip, unit.number).format =
            static_cast<std::uint32_t>(unit.recordsPassed);
        unit.writing = true;
        Op& op = journal(table, Op::write, unit.number, unit.out);
        if (place.format != table.lastFormat || table.journal.text.size() < table.lastFormatAt) {
            table.lastFormat.assign(place.format);
            table.lastFormatAt = journalText(table, place.format);
        }
        op.format = table.lastFormatAt;
        op.formatLength = static_cast<std::uint32_t>(place.format.size());
        unit.out.clear();
        ++unit.recordsPassed;
        return;
    }
    if (unit.readOnly) {
        place.record = unit.recordsPassed + 1;
        raiseRecordError(place, unit.directory ? "the file is a directory"
                                               : "the file can only be read (no write permission)");
    }
    if (!unit.writing) {
        // The record written becomes the file's last: cut whatever follows the position (a new
        // or short file has nothing to cut, and is left alone). The cut keeps one byte, which this
        // record overwrites: cutting a file to nothing makes some file systems (ext4) write it out
        // when closed, and the next cut of it then waits for the disk, a few milliseconds per file.
        long position = std::ftell(unit.file);
        std::fseek(unit.file, position, SEEK_SET);   // also drops any read-ahead
        struct stat status {};
        const bool nothingFollows = fstat(fileno(unit.file), &status) == 0 && status.st_size <= position + 1;
        if (position >= 0 && !nothingFollows && ftruncate(fileno(unit.file), position + 1) != 0) {
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

void writeScreenRecord(Table& table, std::string_view record)
{
    if (table.mode == RecordUnits::Mode::capture) {
        journal(table, Op::screen, screenUnit, record);
        return;
    }
    if (table.mode == RecordUnits::Mode::discard) return;
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

RecordUnits::RecordUnits(Mode mode) : table_(std::make_unique<Table>())
{
    table_->mode = mode;
}

RecordUnits::~RecordUnits()
{
    for (auto& u : table_->units) closeFile(*u);
}

RecordUnits::Mode RecordUnits::mode() const { return table_->mode; }

RecordUnits& defaultUnits()
{
    // Never destroyed: units stay usable while the program ends, and stdio flushes at exit.
    static RecordUnits* units = [] {
        auto* u = new RecordUnits(RecordUnits::Mode::files);
        u->table_->programTable = true;
        return u;
    }();
    return *units;
}

void RecordUnits::openUnit(int unit, std::string_view fileName)
{
    Table& t = *table_;
    if (unit == screenUnit || t.mode == Mode::discard) return;
    std::string name = pathIn(t, fileName);
    if (t.mode == Mode::capture) {
        journal(t, Op::open, unit, name);
        auto& units = t.units;
        for (auto it = units.begin(); it != units.end(); ++it)
            if ((*it)->number == unit) {
                closeFile(**it);
                units.erase(it);
                break;
            }
        auto u = std::make_unique<Unit>();
        u->number = unit;
        u->fileName = std::move(name);
        units.push_back(std::move(u));
        return;
    }
    if (Unit* open = records::findUnit(t, unit)) {
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
        place.table = &t;
        place.statement = records::Statement::open;
        place.unit = unit;
        place.fileName = name;
        raiseRecordError(place, std::string("the file cannot be opened or created: ") + std::strerror(error));
    }
    u->buffer = std::make_unique_for_overwrite<char[]>(fileBufferSize);   // stdio fills it: no zeroing
    std::setvbuf(u->file, u->buffer.get(), _IOFBF, fileBufferSize);
    u->line.reserve(256);
    u->out.reserve(256);
    t.units.push_back(std::move(u));
}

void RecordUnits::setDirectory(std::string_view directory)
{
    std::string d(directory);
    while (d.size() > 1 && d.back() == '/') d.pop_back();
    table_->directory = std::move(d);
}

std::string RecordUnits::pathOf(std::string_view fileName) const { return pathIn(*table_, fileName); }

void RecordUnits::openForReading(int unit, std::string_view fileName, long records)
{
    Table& t = *table_;
    for (auto it = t.units.begin(); it != t.units.end(); ++it)
        if ((*it)->number == unit) {
            closeFile(**it);
            t.units.erase(it);
            break;
        }
    auto u = std::make_unique<Unit>();
    u->number = unit;
    u->fileName = pathIn(t, fileName);
    u->fileTried = true;
    u->readOnly = true;
    u->file = std::fopen(u->fileName.c_str(), "rb");
    if (!u->file) u->file = std::fopen("/dev/null", "rb");
    if (u->file) {
        u->buffer = std::make_unique_for_overwrite<char[]>(fileBufferSize);   // stdio fills it: no zeroing
        std::setvbuf(u->file, u->buffer.get(), _IOFBF, fileBufferSize);
        for (long r = 0; r < records && records::readRecordLine(*u); ++r) {}
    }
    t.units.push_back(std::move(u));
}

void RecordUnits::rewindUnit(int unit)
{
    Table& t = *table_;
    if (t.mode == Mode::discard) return;
    if (t.mode == Mode::capture) journal(t, Op::rewind, unit);
    Unit* u = records::findUnit(t, unit);
    if (!u) return;   // rewinding a unit that is not connected has no effect
    if (u->file) {
        if (std::fflush(u->file) != 0) raiseCloseError(t, records::Statement::rewind, *u, errno);
        std::fseek(u->file, 0, SEEK_SET);
    }
    u->writing = false;
    u->recordsPassed = 0;
}

bool RecordUnits::atEndOfUnit(int unit)
{
    Table& t = *table_;
    Unit* u = records::findUnit(t, unit);
    if (!u) {
        records::ErrorPlace place = records::placeOf(t, records::Statement::eof, unit);
        raiseRecordError(place, unit == screenUnit ? "the screen unit cannot be read" : "the unit is not open");
    }
    records::ensureReadable(t, *u);
    return u->file ? records::unitAtEnd(*u) : true;
}

void RecordUnits::closeUnit(int unit)
{
    Table& t = *table_;
    if (t.mode == Mode::discard) return;
    if (t.mode == Mode::capture) journal(t, Op::close, unit);
    auto& units = t.units;
    for (auto it = units.begin(); it != units.end(); ++it) {
        if ((*it)->number == unit) {
            if (!closeFile(**it)) {
                // The report names the unit and its file, so it is composed before they go.
                const int error = errno;
                std::unique_ptr<Unit> closed = std::move(*it);
                units.erase(it);
                raiseCloseError(t, records::Statement::close, *closed, error);
            }
            units.erase(it);
            return;
        }
    }
}

void RecordUnits::closeAllUnits()
{
    // Every unit is closed, and taken out of the table before any failure is raised, so the
    // error path (which closes all units again) finds nothing left to close.
    Table& t = *table_;
    std::vector<std::unique_ptr<Unit>> closing;
    closing.swap(t.units);
    const Unit* failed = nullptr;
    int error = 0;
    for (auto& u : closing) {
        if (!closeFile(*u) && !failed) {
            failed = u.get();
            error = errno;
        }
    }
    std::fflush(stdout);
    if (failed) raiseCloseError(t, records::Statement::close, *failed, error);
}

void RecordUnits::note(std::string_view text, std::string_view onceKey)
{
    Table& t = *table_;
    if (t.mode == Mode::capture) {
        Op& op = journal(t, Op::note, 0, text);
        op.format = journalText(t, onceKey);
        op.formatLength = static_cast<std::uint32_t>(onceKey.size());
        return;
    }
    if (!onceKey.empty()) {
        for (const std::string& key : t.noteKeys)
            if (key == onceKey) return;
        t.noteKeys.emplace_back(onceKey);
    }
    if (t.mode == Mode::files) {
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fputc('\n', stderr);
    } else {
        t.notes.emplace_back(text);
    }
}

const std::vector<std::string>& RecordUnits::notes() const { return table_->notes; }

void RecordUnits::mark(int code)
{
    if (table_->mode == Mode::capture) journal(*table_, Op::mark, code);
}

RecordUnits::Journal RecordUnits::takeJournal()
{
    Journal taken;
    std::swap(taken, table_->journal);
    // The next batch is about as large as this one.
    table_->journal.ops.reserve(taken.ops.size());
    table_->journal.text.reserve(taken.text.size());
    table_->lastFormat.clear();
    table_->lastFormatAt = 0;
    return taken;
}

void RecordUnits::replay(const Journal& journal, MarkHandler onMark, void* user)
{
    Table& t = *table_;
    auto text = [&](std::uint32_t at, std::uint32_t length) { return std::string_view(journal.text).substr(at, length); };
    Unit* last = nullptr;   // the unit of the last write, until a unit is opened or closed
    for (const Op& op : journal.ops) {
        switch (op.kind) {
        case Op::open: last = nullptr; openUnit(op.unit, text(op.text, op.textLength)); break;
        case Op::rewind: rewindUnit(op.unit); break;
        case Op::close: last = nullptr; closeUnit(op.unit); break;
        case Op::screen: records::writeScreenRecord(t, text(op.text, op.textLength)); break;
        case Op::note: note(text(op.text, op.textLength), text(op.format, op.formatLength)); break;
        case Op::mark:
            if (onMark) onMark(user, op.unit);
            break;
        case Op::skip:
            if (Unit* u = records::findUnit(t, op.unit))
                for (std::uint32_t r = 0; r < op.format && records::readRecordLine(*u); ++r) {}
            break;
        case Op::write: {
            Unit* u = last && last->number == op.unit ? last : records::findUnit(t, op.unit);
            records::ErrorPlace place;
            place.table = &t;
            place.statement = records::Statement::write;
            place.unit = op.unit;
            if (!u) raiseRecordError(place, "the unit is not open");
            place.fileName = u->fileName;
            place.format = text(op.format, op.formatLength);
            u->out.assign(text(op.text, op.textLength));
            records::writeRecordLine(t, *u, place);
            last = u;
            break;
        }
        }
    }
}

void RecordUnits::raiseComposed(const std::string& composed) { records::finishError(*table_, composed); }

void openUnit(int unit, std::string_view fileName) { defaultUnits().openUnit(unit, fileName); }
void rewindUnit(int unit) { defaultUnits().rewindUnit(unit); }
bool atEndOfUnit(int unit) { return defaultUnits().atEndOfUnit(unit); }
void closeUnit(int unit) { defaultUnits().closeUnit(unit); }
void closeAllUnits() { defaultUnits().closeAllUnits(); }

namespace records {

std::string closeUnitsAfterError(Table& table)
{
    std::string failures;
    for (auto& u : table.units)
        if (!closeFile(*u))
            failures += "  unit " + std::to_string(u->number) + ", file \"" + u->fileName +
                        "\": records written to it did not all reach the file: " + std::strerror(errno) + "\n";
    table.units.clear();
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
