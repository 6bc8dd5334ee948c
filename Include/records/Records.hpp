#pragma once
// Fixed-column records: numbered units connected to sequential text files (or to the screen's
// text window), and the small record-format notation that drives reading, writing and formatting
// numbers into names and labels.
//
//   openUnit(21, "TANKER1.ana");  rewindUnit(21);
//   int caseCount = 0;
//   readRecords(21, "(I2)", {caseCount});
//   writeRecords(22, "(3F10.1,/,2F10.1)", {a, b, c, d, e});
//   std::vector<float> ratios(n);  readRecords(1, "(10E9.3)", {std::span<float>(ratios)});
//
// A format is found by balancing parentheses from its first "(": formats may be stored back to
// back ("(I3)(I3)(I2)" names only "(I3)"). Each statement parses its format once.
//
// Errors (a field that cannot be converted, a value out of range, a read at the end of a unit, a
// file that cannot be opened) are run-time errors: the report goes to the error handler, which ends
// the program (or, for a table of its own, is thrown; see RecordUnits). Every record written before
// the error stays in its file.

#include "records/FixedText.hpp"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <stdexcept>
#include <vector>
#include <string>
#include <string_view>
#include <variant>

namespace tarnova {

// The unit that writes into the text window of the display layer.
inline constexpr int screenUnit = -1;

// Destination of one or more items of a read statement.
struct ReadItem {
    using Target = std::variant<std::int32_t*, float*, double*, FixedText*,
                                std::span<std::int32_t>, std::span<float>, std::span<double>>;
    Target target;

    ReadItem(std::int32_t& v) : target(&v) {}
    ReadItem(float& v) : target(&v) {}
    ReadItem(double& v) : target(&v) {}
    ReadItem(FixedText& v) : target(&v) {}
    ReadItem(std::span<std::int32_t> v) : target(v) {}
    ReadItem(std::span<float> v) : target(v) {}
    ReadItem(std::span<double> v) : target(v) {}
};

// Value of one or more items of a write statement (16-bit integers widen to 32 bits).
struct WriteItem {
    using Value = std::variant<std::int32_t, float, double, std::string_view,
                               std::span<const std::int32_t>, std::span<const float>,
                               std::span<const double>>;
    Value value;

    WriteItem(std::int32_t v) : value(v) {}
    WriteItem(float v) : value(v) {}
    WriteItem(double v) : value(v) {}
    WriteItem(std::string_view v) : value(v) {}
    WriteItem(const char* v) : value(std::string_view(v)) {}
    WriteItem(const std::string& v) : value(std::string_view(v)) {}
    WriteItem(const FixedText& v) : value(v.view()) {}
    WriteItem(std::span<const std::int32_t> v) : value(v) {}
    WriteItem(std::span<const float> v) : value(v) {}
    WriteItem(std::span<const double> v) : value(v) {}
};

// Item of a list-form record: a text or an integer.
struct ListItem {
    std::variant<std::int32_t, std::string_view> value;

    ListItem(std::int32_t v) : value(v) {}
    ListItem(std::string_view v) : value(v) {}
    ListItem(const char* v) : value(std::string_view(v)) {}
    ListItem(const std::string& v) : value(std::string_view(v)) {}
    ListItem(const FixedText& v) : value(v.view()) {}
};

namespace records {
struct Table;
}

// A run-time error of the record layer, thrown by a unit table that is not the program's own.
struct RecordError : std::runtime_error {
    explicit RecordError(const std::string& report) : std::runtime_error(report) {}
    // The report as composed where it happened, before the units were closed.
    std::string composed;
};

// One table of units. The program has one (defaultUnits(), used by the free functions below);
// a case study that runs beside others, or a caller that wants errors back as values, has its
// own. Two tables share nothing: the same unit number may be open in both.
//
// A table's mode says where records go:
//   files    to the files, as the free functions do;
//   capture  into a journal of the operations (open, rewind, write, close, screen records,
//            notes and marks), to be replayed later on a files table in the same order; files are
//            only ever opened to read;
//   discard  nowhere: writes are dropped before they are formatted, reads find no unit.
// Run-time errors of a table other than the program's are thrown as RecordError, after its
// units are closed; the program's table hands them to the installed handler.
class RecordUnits {
public:
    enum class Mode { files, capture, discard };

    struct JournalOp {
        enum Kind : std::uint8_t { open, rewind, write, close, screen, skip, note, mark };
        Kind kind = write;
        int unit = 0;              // mark: its code; skip: records to pass over
        std::uint32_t text = 0, textLength = 0;       // into Journal::text
        std::uint32_t format = 0, formatLength = 0;   // write: its format; note: its once-key
    };
    struct Journal {
        std::vector<JournalOp> ops;
        std::string text;
        void clear()
        {
            ops.clear();
            text.clear();
        }
    };

    explicit RecordUnits(Mode mode = Mode::files);
    // Closes any unit still open without reporting records that cannot be written out then:
    // call closeAllUnits first to have them reported.
    ~RecordUnits();
    RecordUnits(const RecordUnits&) = delete;
    RecordUnits& operator=(const RecordUnits&) = delete;

    Mode mode() const;

    // A file named without a "/" is this directory's (the current directory's when it is empty):
    // a caller can work on a case directory without changing the process's current directory.
    void setDirectory(std::string_view directory);
    // The file that a unit opened on `fileName` reads or writes.
    std::string pathOf(std::string_view fileName) const;

    void openUnit(int unit, std::string_view fileName);
    void rewindUnit(int unit);
    bool atEndOfUnit(int unit);
    void readRecords(int unit, std::string_view format, std::initializer_list<ReadItem> items);
    void readRecords(int unit, std::string_view format, std::span<const ReadItem> items);
    void writeRecords(int unit, std::string_view format, std::initializer_list<WriteItem> items);
    void writeRecords(int unit, std::string_view format, std::span<const WriteItem> items);
    void writeListRecord(int unit, std::initializer_list<ListItem> items = {});
    void writeListRecord(int unit, std::span<const ListItem> items);
    void closeUnit(int unit);
    void closeAllUnits();

    // Connects the unit to a file for reading only, after its first `records` records; nothing is
    // journaled. A case study run beside others reads its option record this way.
    void openForReading(int unit, std::string_view fileName, long records);

    // A line for standard error: a files table prints it (once per key when a key is given), a
    // capturing table journals it, a discarding one keeps it in notes().
    void note(std::string_view text, std::string_view onceKey = {});
    const std::vector<std::string>& notes() const;
    // Capture: a mark for the replay's caller (progress, for instance).
    void mark(int code);

    // Capture: the journal so far. takeJournal moves it out and starts a new one.
    Journal takeJournal();

    // Files table: carries out ops of a journal in order, as if they were being done now; marks
    // go to `onMark`. A failing op raises its error as this table raises errors.
    using MarkHandler = void (*)(void* user, int code);
    void replay(const Journal& journal, MarkHandler onMark = nullptr, void* user = nullptr);
    // Raises an error composed elsewhere (RecordError::composed) on this table: its units are
    // closed and the report goes where this table's errors go.
    [[noreturn]] void raiseComposed(const std::string& composed);

    records::Table& table() { return *table_; }

private:
    friend RecordUnits& defaultUnits();
    std::unique_ptr<records::Table> table_;
};

// The program's own table.
RecordUnits& defaultUnits();

// Connects the unit to the named file (trailing blanks ignored; relative to the current
// directory), creating a missing file empty. Positioned at the first record.
void openUnit(int unit, std::string_view fileName);
// Positions the unit at its first record.
void rewindUnit(int unit);
// True when no further record can be read from the unit's current position.
bool atEndOfUnit(int unit);
// Reads one or more records and converts their fields into the items.
void readRecords(int unit, std::string_view format, std::initializer_list<ReadItem> items);
void readRecords(int unit, std::string_view format, std::span<const ReadItem> items);
// Converts the items and writes one or more records (a record written becomes the file's last).
void writeRecords(int unit, std::string_view format, std::initializer_list<WriteItem> items);
void writeRecords(int unit, std::string_view format, std::span<const WriteItem> items);
// Writes one record without a format (list form); no items writes a blank line.
void writeListRecord(int unit, std::initializer_list<ListItem> items = {});
void writeListRecord(int unit, std::span<const ListItem> items);
// Formats the items into the text variable, which is the one record; the rest is blanked.
void formatToText(FixedText& text, std::string_view format, std::initializer_list<WriteItem> items);
void formatToText(FixedText& text, std::string_view format, std::span<const WriteItem> items);
// Ends the connection and keeps the file. Records that cannot be written out then (a full
// disk) are a run-time error, as they would be when written.
void closeUnit(int unit);
// True when a file of that name exists; nothing is created.
bool fileExists(std::string_view fileName);

// Flushes and closes every open unit (called before the program ends, normally or not); a unit
// whose records cannot be written out is a run-time error, raised once all are closed.
void closeAllUnits();

// Where records written to the screen unit go (the display layer installs the text window).
// Without a sink they go to standard output.
using ScreenSink = void (*)(std::string_view record);
void setScreenSink(ScreenSink sink);

// The text with every control byte (below 32, and 127) written as \xhh, so that no byte of a
// case file or an argument reaches a terminal raw; line feeds stay when keepLineFeeds is set.
std::string escapeControlBytes(std::string_view text, bool keepLineFeeds = false);

// Called with the full report of a run-time error of the record layer, after every unit has
// been flushed. Must not return (it ends the program with a non-zero status). The default
// prints the report to standard error and exits with status 2.
using RecordErrorHandler = void (*)(const std::string& report);
void setRecordErrorHandler(RecordErrorHandler handler);

} // namespace tarnova
