// Read and write statements: format control over the list of items (repeat counts, record ends,
// literals, reversion to the format's start and the end-of-list rules).

#include "records/FieldRead.hpp"
#include "records/FieldWrite.hpp"
#include "records/Format.hpp"
#include "records/Records.hpp"
#include "records/RunError.hpp"
#include "records/Units.hpp"

#include <algorithm>
#include <charconv>
#include <functional>
#include <memory>

namespace tarnova {

namespace {

using namespace records;
using records::Table;

// ---------------------------------------------------------------- items

enum class ItemKind { integer, single, twice, text };

const char* kindName(ItemKind k)
{
    switch (k) {
    case ItemKind::integer: return "an integer";
    case ItemKind::single: return "a single precision real";
    case ItemKind::twice: return "a double precision real";
    case ItemKind::text: return "a text";
    }
    return "?";
}

bool accepts(Edit e, ItemKind k)
{
    switch (e) {
    case Edit::integer: return k == ItemKind::integer;
    case Edit::fixed:
    case Edit::exponent: return k == ItemKind::single || k == ItemKind::twice;
    case Edit::text: return k == ItemKind::text;
    default: return false;
    }
}

struct WriteValue {
    ItemKind kind = ItemKind::integer;
    std::int32_t integer = 0;
    double real = 0.0;   // float values widen exactly
    std::string_view text;
};

const WriteItem::Value& alternatives(const WriteItem& item) { return item.value; }
const ReadItem::Target& alternatives(const ReadItem& item) { return item.target; }

// Walks a list of items with arrays expanded (alternatives 4 to 6 of an item are arrays).
template <typename Item>
class ListCursor {
public:
    explicit ListCursor(std::span<const Item> items) : items_(items) {}

    bool done()
    {
        while (index_ < items_.size()) {
            const auto& v = alternatives(items_[index_]);
            std::size_t size = 0;
            switch (v.index()) {
            case 4: size = std::get<4>(v).size(); break;
            case 5: size = std::get<5>(v).size(); break;
            case 6: size = std::get<6>(v).size(); break;
            default: return false;
            }
            if (inner_ < size) return false;
            ++index_;
            inner_ = 0;
        }
        return true;
    }

    std::size_t taken() const { return taken_; }

protected:
    std::span<const Item> items_;
    std::size_t index_ = 0;
    std::size_t inner_ = 0;
    std::size_t taken_ = 0;
};

class WriteCursor : public ListCursor<WriteItem> {
public:
    using ListCursor::ListCursor;

    // Only after done() returned false.
    WriteValue take()
    {
        ++taken_;
        WriteValue w;
        const auto& v = items_[index_].value;
        switch (v.index()) {
        case 0: w.kind = ItemKind::integer; w.integer = std::get<0>(v); ++index_; break;
        case 1: w.kind = ItemKind::single; w.real = std::get<1>(v); ++index_; break;
        case 2: w.kind = ItemKind::twice; w.real = std::get<2>(v); ++index_; break;
        case 3: w.kind = ItemKind::text; w.text = std::get<3>(v); ++index_; break;
        case 4: w.kind = ItemKind::integer; w.integer = std::get<4>(v)[inner_++]; break;
        case 5: w.kind = ItemKind::single; w.real = std::get<5>(v)[inner_++]; break;
        case 6: w.kind = ItemKind::twice; w.real = std::get<6>(v)[inner_++]; break;
        }
        return w;
    }
};

struct ReadTarget {
    ItemKind kind = ItemKind::integer;
    void* where = nullptr;
};

class ReadCursor : public ListCursor<ReadItem> {
public:
    using ListCursor::ListCursor;

    // Only after done() returned false.
    ReadTarget take()
    {
        ++taken_;
        ReadTarget t;
        const auto& v = items_[index_].target;
        switch (v.index()) {
        case 0: t = {ItemKind::integer, std::get<0>(v)}; ++index_; break;
        case 1: t = {ItemKind::single, std::get<1>(v)}; ++index_; break;
        case 2: t = {ItemKind::twice, std::get<2>(v)}; ++index_; break;
        case 3: t = {ItemKind::text, std::get<3>(v)}; ++index_; break;
        case 4: t = {ItemKind::integer, &std::get<4>(v)[inner_++]}; break;
        case 5: t = {ItemKind::single, &std::get<5>(v)[inner_++]}; break;
        case 6: t = {ItemKind::twice, &std::get<6>(v)[inner_++]}; break;
        }
        return t;
    }
};

// ---------------------------------------------------------------- shared pieces

// The calculator writes the same few formats tens of thousands of times per run, so each thread
// keeps the descriptions of recent formats, keyed by their text. A hit copies only the parsed
// descriptors into the statement's own ParsedFormat, so a statement never depends on the cache
// after this call (a screen sink may run further statements while one is in progress).
struct CachedFormat {
    std::string key;
    ParsedFormat parsed;
    bool valid = false;
};
constexpr std::size_t formatCacheSize = 32;

bool parseCached(std::string_view format, ParsedFormat& parsed)
{
#ifdef _WIN32
    // MinGW-w64 frees a thread's emulated thread-local storage before running the destructors
    // of its thread_local objects; the cache is left to the end of the process instead.
    thread_local CachedFormat* cache = new CachedFormat[formatCacheSize];
#else
    thread_local std::unique_ptr<CachedFormat[]> cache(new CachedFormat[formatCacheSize]);
#endif
    std::size_t slot = (std::hash<const void*>{}(format.data()) ^ format.size() * 31) % formatCacheSize;
    CachedFormat& entry = cache[slot];
    if (!entry.valid || entry.key != format) {
        entry.valid = false;
        entry.key.assign(format);
        const char* problem = "";
        std::size_t offset = 0;
        if (!parseFormat(entry.key, entry.parsed, problem, offset)) return false;
        entry.valid = true;
    }
    const ParsedFormat& cached = entry.parsed;
    parsed.source = format;   // the same text, so literal offsets hold
    parsed.text = format.substr(static_cast<std::size_t>(cached.text.data() - cached.source.data()), cached.text.size());
    parsed.count = cached.count;
    parsed.hasData = cached.hasData;
    std::copy_n(cached.items.begin(), cached.count, parsed.items.begin());
    return true;
}

void parseOrRaise(std::string_view format, ParsedFormat& parsed, ErrorPlace& place)
{
    if (parseCached(format, parsed)) {
        place.format = parsed.text;
        return;
    }
    const char* problem = "";
    std::size_t offset = 0;
    if (!parseFormat(format, parsed, problem, offset)) {
        place.format = format.substr(0, 120);
        std::string message = "the format cannot be used: ";
        message += problem;
        message += " (at character " + std::to_string(offset + 1) + ")";
        raiseRecordError(place, message);
    }
    place.format = parsed.text;
}

[[noreturn]] void raiseItemMismatch(ErrorPlace& place, const Descriptor& d, ItemKind kind, std::size_t item,
                                    bool reading)
{
    char name[32];
    place.descriptor = describe(d, name, sizeof name);
    place.item = item;
    std::string message = "item " + std::to_string(item) + " is " + kindName(kind) + ", which " +
                          std::string(place.descriptor) + (reading ? " cannot read" : " cannot write");
    raiseRecordError(place, message);
}

void appendLiteral(std::string& record, const ParsedFormat& f, const Descriptor& d)
{
    std::string_view text = literalText(f, d);
    if (!d.doubledQuotes) {
        record.append(text);
        return;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        record.push_back(text[i]);
        if (text[i] == '\'') ++i;   // '' stands for one apostrophe
    }
}

std::size_t literalWidth(const ParsedFormat& f, const Descriptor& d)
{
    std::string_view text = literalText(f, d);
    if (!d.doubledQuotes) return text.size();
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i, ++n)
        if (text[i] == '\'') ++i;
    return n;
}

// ---------------------------------------------------------------- writing

// Runs the format over the items into `record`, calling endRecord() at every record end
// (endRecord consumes and clears the record). `firstRecord` numbers records in reports.
template <typename EndRecord>
void runWrite(const ParsedFormat& f, std::span<const WriteItem> items, std::string& record, ErrorPlace& place,
              long firstRecord, EndRecord&& endRecord)
{
    WriteCursor cursor(items);
    long recordsEnded = 0;
    auto end = [&] {
        place.record = firstRecord > 0 ? firstRecord + recordsEnded : 0;
        endRecord();
        ++recordsEnded;
    };
    if (!f.hasData && !cursor.done()) {
        place.record = firstRecord;
        raiseRecordError(place, "the format has no data descriptor for the items of the list");
    }
    for (;;) {
        for (int i = 0; i < f.count; ++i) {
            const Descriptor& d = f.items[i];
            switch (d.edit) {
            case Edit::literal: appendLiteral(record, f, d); break;
            case Edit::skip: record.append(static_cast<std::size_t>(d.width), ' '); break;
            case Edit::recordEnd:
                for (int r = 0; r < d.repeat; ++r) end();
                break;
            default:
                for (int r = 0; r < d.repeat; ++r) {
                    if (cursor.done()) goto finished;
                    WriteValue v = cursor.take();
                    if (!accepts(d.edit, v.kind)) {
                        place.record = firstRecord > 0 ? firstRecord + recordsEnded : 0;
                        place.firstColumn = record.size() + 1;
                        place.lastColumn = record.size() + static_cast<std::size_t>(d.width > 0 ? d.width : 1);
                        raiseItemMismatch(place, d, v.kind, cursor.taken(), false);
                    }
                    switch (d.edit) {
                    case Edit::integer: writeInteger(record, v.integer, d.width, d.digits); break;
                    case Edit::fixed: writeFixed(record, v.real, d.width, d.digits); break;
                    case Edit::exponent: writeExponent(record, v.real, d.width, d.digits); break;
                    default: writeText(record, v.text, d.width); break;
                    }
                }
            }
        }
        if (cursor.done()) break;
        end();   // reversion: the format starts again on a new record
    }
finished:
    end();
}

// ---------------------------------------------------------------- reading

[[noreturn]] void raiseFieldError(ErrorPlace& place, const Descriptor& d, std::string_view line, std::size_t pos,
                                  std::size_t width, std::size_t item, FieldStatus status, ItemKind kind)
{
    char name[32];
    place.descriptor = describe(d, name, sizeof name);
    place.item = item;
    place.firstColumn = pos + 1;
    place.lastColumn = pos + width;
    place.field = pos < line.size() ? line.substr(pos, width) : std::string_view();
    std::string message;
    if (status == FieldStatus::outOfRange) {
        message = std::string("the value is beyond the range of ") + kindName(kind);
    } else if (d.edit == Edit::integer) {
        message = "the field is not an integer (only blanks, one sign and digits may stand in it)";
    } else {
        message = "the field is not a number (only blanks, one sign, digits, one point and an exponent may stand in it)";
    }
    raiseRecordError(place, message);
}

void runRead(Unit& unit, const ParsedFormat& f, std::span<const ReadItem> items, ErrorPlace& place)
{
    ReadCursor cursor(items);
    if (!f.hasData && !cursor.done())
        raiseRecordError(place, "the format has no data descriptor for the items of the list");
    std::size_t pos = 0;
    auto nextRecord = [&] {
        if (!readRecordLine(unit)) {
            place.record = unit.recordsPassed + 1;
            raiseRecordError(place, unit.recordsPassed == 0
                                        ? std::string("the file has no record to read (it is empty)")
                                        : "no record left to read: the file ends after record " +
                                              std::to_string(unit.recordsPassed));
        }
        place.record = unit.recordsPassed;
        pos = 0;
    };
    nextRecord();
    for (;;) {
        for (int i = 0; i < f.count; ++i) {
            const Descriptor& d = f.items[i];
            switch (d.edit) {
            case Edit::literal: pos += literalWidth(f, d); break;
            case Edit::skip: pos += static_cast<std::size_t>(d.width); break;
            case Edit::recordEnd:
                for (int r = 0; r < d.repeat; ++r) nextRecord();
                break;
            default:
                for (int r = 0; r < d.repeat; ++r) {
                    if (cursor.done()) return;
                    ReadTarget t = cursor.take();
                    if (!accepts(d.edit, t.kind)) {
                        place.firstColumn = pos + 1;
                        place.lastColumn = pos + static_cast<std::size_t>(d.width > 0 ? d.width : 1);
                        raiseItemMismatch(place, d, t.kind, cursor.taken(), true);
                    }
                    std::size_t width = static_cast<std::size_t>(d.width);
                    if (d.edit == Edit::text && width == 0) width = static_cast<FixedText*>(t.where)->length();
                    const std::string& line = unit.line;
                    std::string_view field = pos < line.size() ? std::string_view(line).substr(pos, width)
                                                               : std::string_view();
                    FieldStatus status = FieldStatus::ok;
                    switch (t.kind) {
                    case ItemKind::integer: status = readInteger(field, *static_cast<std::int32_t*>(t.where)); break;
                    case ItemKind::single: status = readReal(field, d.digits, *static_cast<float*>(t.where)); break;
                    case ItemKind::twice: status = readReal(field, d.digits, *static_cast<double*>(t.where)); break;
                    case ItemKind::text: readText(field, width, *static_cast<FixedText*>(t.where)); break;
                    }
                    if (status != FieldStatus::ok)
                        raiseFieldError(place, d, line, pos, width, cursor.taken(), status, t.kind);
                    pos += width;
                }
            }
        }
        if (cursor.done()) return;
        nextRecord();   // reversion: the format starts again on the next record
    }
}

Unit& openUnitOrRaise(Table& table, int number, Statement statement)
{
    Unit* u = findUnit(table, number);
    if (!u) {
        ErrorPlace place = placeOf(table, statement, number);
        raiseRecordError(place, number == screenUnit ? "the screen unit cannot be read" : "the unit is not open");
    }
    ensureReadable(table, *u);
    return *u;
}

// The unit a write goes to. A capturing table journals writes to a unit it has not opened
// itself (the report or the trace of the run); the replay finds whether it is open.
Unit* writeUnit(Table& table, int number)
{
    Unit* u = findUnit(table, number);
    if (u || table.mode != RecordUnits::Mode::capture) return u;
    auto unit = std::make_unique<Unit>();
    unit->number = number;
    unit->fileTried = true;
    table.units.push_back(std::move(unit));
    return table.units.back().get();
}

thread_local std::string screenRecord;

} // namespace

void RecordUnits::readRecords(int unit, std::string_view format, std::initializer_list<ReadItem> items)
{
    readRecords(unit, format, std::span<const ReadItem>(items.begin(), items.size()));
}

void RecordUnits::readRecords(int unit, std::string_view format, std::span<const ReadItem> items)
{
    Table& t = table();
    Unit& u = openUnitOrRaise(t, unit, Statement::read);
    ErrorPlace place = placeOf(t, Statement::read, unit);
    ParsedFormat parsed;
    parseOrRaise(format, parsed, place);
    runRead(u, parsed, items, place);
}

void RecordUnits::writeRecords(int unit, std::string_view format, std::initializer_list<WriteItem> items)
{
    writeRecords(unit, format, std::span<const WriteItem>(items.begin(), items.size()));
}

void RecordUnits::writeRecords(int unit, std::string_view format, std::span<const WriteItem> items)
{
    Table& t = table();
    if (t.mode == Mode::discard) return;
    ErrorPlace place = placeOf(t, Statement::write, unit);
    ParsedFormat parsed;
    if (unit == screenUnit) {
        parseOrRaise(format, parsed, place);
        screenRecord.clear();
        runWrite(parsed, items, screenRecord, place, 0, [&t] {
            writeScreenRecord(t, screenRecord);
            screenRecord.clear();
        });
        return;
    }
    Unit* u = writeUnit(t, unit);
    if (!u) raiseRecordError(place, "the unit is not open");
    parseOrRaise(format, parsed, place);
    u->out.clear();
    runWrite(parsed, items, u->out, place, u->recordsPassed + 1, [&] { writeRecordLine(t, *u, place); });
}

void RecordUnits::writeListRecord(int unit, std::initializer_list<ListItem> items)
{
    writeListRecord(unit, std::span<const ListItem>(items.begin(), items.size()));
}

void RecordUnits::writeListRecord(int unit, std::span<const ListItem> items)
{
    Table& t = table();
    if (t.mode == Mode::discard) return;
    ErrorPlace place = placeOf(t, Statement::write, unit);
    Unit* u = nullptr;
    if (unit != screenUnit) {
        u = writeUnit(t, unit);
        if (!u) raiseRecordError(place, "the unit is not open");
    }
    std::string& record = u ? u->out : screenRecord;
    record.assign(1, ' ');
    bool afterNumber = false;
    for (const ListItem& item : items) {
        if (const auto* text = std::get_if<std::string_view>(&item.value)) {
            record.append(*text);
            afterNumber = false;
        } else {
            if (afterNumber) record.push_back(' ');
            writeInteger(record, std::get<std::int32_t>(item.value), 11, -1);
            afterNumber = true;
        }
    }
    if (u) {
        writeRecordLine(t, *u, place);
    } else {
        writeScreenRecord(t, record);
        record.clear();
    }
}

void readRecords(int unit, std::string_view format, std::initializer_list<ReadItem> items)
{
    defaultUnits().readRecords(unit, format, items);
}
void readRecords(int unit, std::string_view format, std::span<const ReadItem> items)
{
    defaultUnits().readRecords(unit, format, items);
}
void writeRecords(int unit, std::string_view format, std::initializer_list<WriteItem> items)
{
    defaultUnits().writeRecords(unit, format, items);
}
void writeRecords(int unit, std::string_view format, std::span<const WriteItem> items)
{
    defaultUnits().writeRecords(unit, format, items);
}
void writeListRecord(int unit, std::initializer_list<ListItem> items) { defaultUnits().writeListRecord(unit, items); }
void writeListRecord(int unit, std::span<const ListItem> items) { defaultUnits().writeListRecord(unit, items); }

void formatToText(FixedText& text, std::string_view format, std::initializer_list<WriteItem> items)
{
    formatToText(text, format, std::span<const WriteItem>(items.begin(), items.size()));
}

void formatToText(FixedText& text, std::string_view format, std::span<const WriteItem> items)
{
    thread_local std::string record;
    ErrorPlace place;
    place.statement = Statement::write;
    place.toText = true;
    place.textLength = text.length();
    ParsedFormat parsed;
    parseOrRaise(format, parsed, place);
    record.clear();
    int recordsEnded = 0;
    runWrite(parsed, items, record, place, 1, [&] {
        if (recordsEnded++ > 0)
            raiseRecordError(place, "a text variable holds one record, and the format ends a record before its end");
        if (record.size() > text.length())
            raiseRecordError(place, "the record (" + std::to_string(record.size()) +
                                        " characters) is longer than the text variable");
        text = record;
        record.clear();
    });
}

} // namespace tarnova
