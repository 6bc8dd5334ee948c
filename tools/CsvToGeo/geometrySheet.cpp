// Reading and checking a spreadsheet's element rows, and writing them as a geometry file.

#include "geometrySheet.hpp"

#include "Utilitar.hpp"
#include "inputFile.hpp"
#include "records/FixedText.hpp"
#include "records/Records.hpp"
#include "replaceFile.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace tarnova::csvtogeo {

// Lengths (mm) must fit their fixed-column fields; the plate, its width and the frame spacing must
// be above 0 and the property set one of the five, as the calculator demands. The limits are what
// each field can hold once rounded to its decimals.
const std::array<FieldRule, fieldCount> fieldRules = {{
    {"frameSpacing", "FRSPAC", "F7.1", true, false, 0.1, 99999.9},
    {"plateWidth", "PLWIDT", "F7.1", true, false, 0.1, 99999.9},
    {"plateThickness", "PLTHIC", "F7.1", true, false, 0.1, 99999.9},
    {"flangeWidth", "FLWIDT", "F7.1", false, false, 0.0, 99999.9},
    {"flangeThickness", "FLTHIC", "F7.1", false, false, 0.0, 99999.9},
    {"webHeight", "WEBHEI", "F7.1", false, false, 0.0, 99999.9},
    {"webThickness", "WEBTHI", "F7.1", false, false, 0.0, 99999.9},
    {"propertySet", "PS", "F3.0", true, true, 1.0, 5.0},
    {"spareGeometryValue", "SPR", "F4.2", false, false, -0.99, 9.99},
    {"totalDepth", "DPT", "F4.2", false, false, -0.99, 9.99},   // computed by the calculator; not read
    {"x", "X", "F9.1", true, false, -999999.9, 9999999.9},
    {"y", "Y", "F9.1", true, false, -999999.9, 9999999.9},
    {"orientation", "OR", "I2", true, true, 1.0, 4.0},
    {"elementKind", "KD", "I2", true, true, -9.0, 99.0},
}};

namespace {

constexpr std::size_t maxElements = 600;
constexpr int geometryUnit = 2;

struct CsvRow {
    int number;                      // the spreadsheet's row number
    std::vector<std::string> cells;
};

// Splits the text into rows of cells. Quoted cells may hold separators, line ends and doubled
// quotes.
std::vector<CsvRow> splitRows(std::string_view text, char separator)
{
    std::vector<CsvRow> rows;
    CsvRow row{1, {}};
    std::string cell;
    bool quoted = false;
    int line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n') ++line;
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            row.cells.push_back(cell);
            cell.clear();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            row.cells.push_back(cell);
            cell.clear();
            rows.push_back(row);
            row = CsvRow{++line, {}};
        } else {
            cell += c;
        }
    }
    if (!cell.empty() || !row.cells.empty()) {
        row.cells.push_back(cell);
        rows.push_back(row);
    }
    return rows;
}

std::string trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return std::string(s.substr(first, last - first + 1));
}

bool sameName(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char p, char q) { return upperCaseChar(p) == upperCaseChar(q); });
}

// "A" for the first column, "Z" for the 26th, "AA" for the 27th, as a spreadsheet names them.
std::string columnLetters(std::size_t index)
{
    std::string letters;
    for (std::size_t n = index + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

// A limit as the field holds it: with the field's decimals ("0.1", "9999999.9", "-0.99", "5").
std::string allowedNumber(double v, std::string_view descriptor)
{
    const auto point = descriptor.find('.');
    const int decimals = point == std::string_view::npos ? 0 : descriptor[point + 1] - '0';
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

std::string allowedText(const FieldRule& rule)
{
    return allowedNumber(rule.smallest, rule.descriptor) + " to " + allowedNumber(rule.largest, rule.descriptor);
}

struct Parsed {
    double value = 0;
    bool ok = false;
    bool outOfRange = false;   // a number, beyond double range (1e400)
};

Parsed parseNumber(std::string text, bool decimalComma)
{
    if (decimalComma && std::ranges::count(text, ',') == 1 && text.find('.') == std::string::npos)
        std::ranges::replace(text, ',', '.');
    std::string_view digits = text;
    if (digits.starts_with('+')) digits.remove_prefix(1);
    Parsed p;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), p.value);
    const bool whole = end == digits.data() + digits.size() && !digits.empty();
    p.outOfRange = error == std::errc::result_out_of_range && whole;
    p.ok = error == std::errc() && whole && std::isfinite(p.value);
    return p;
}

// The value as the field will hold it: rounded to the field's decimals.
double roundedToField(double value, std::string_view descriptor)
{
    const auto point = descriptor.find('.');
    const int decimals = point == std::string_view::npos ? 0 : descriptor[point + 1] - '0';
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// "UTF-16" or "UTF-32" (with its byte order) for a sheet saved with wide characters, by its
// byte-order mark or, without one, by the NUL bytes that pad every ASCII character; else "".
std::string wideEncoding(std::string_view csv)
{
    if (csv.starts_with(std::string_view("\xFF\xFE\0\0", 4))) return "UTF-32 (little-endian)";
    if (csv.starts_with(std::string_view("\0\0\xFE\xFF", 4))) return "UTF-32 (big-endian)";
    if (csv.starts_with("\xFF\xFE")) return "UTF-16 (little-endian)";
    if (csv.starts_with("\xFE\xFF")) return "UTF-16 (big-endian)";
    const std::string_view head = csv.substr(0, 64);
    if (head.size() >= 4) {
        std::size_t even = 0, odd = 0;
        for (std::size_t i = 0; i < head.size(); ++i) (i % 2 == 0 ? even : odd) += head[i] == '\0';
        if (odd * 2 > head.size() / 2 && even == 0) return "UTF-16 (little-endian)";
        if (even * 2 > head.size() / 2 && odd == 0) return "UTF-16 (big-endian)";
    }
    return {};
}

// The first byte that is no part of a well-formed UTF-8 character, and its row; false for UTF-8.
bool firstNonUtf8(std::string_view text, unsigned char& byte, int& row)
{
    row = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto u = static_cast<unsigned char>(text[i]);
        if (u == '\n') ++row;
        if (u < 0x80) continue;
        const std::size_t n = u >= 0xf0 && u <= 0xf4 ? 4 : u >= 0xe0 && u < 0xf0 ? 3 : u >= 0xc2 && u < 0xe0 ? 2 : 0;
        bool ok = n > 0 && i + n <= text.size();
        for (std::size_t k = 1; ok && k < n; ++k) ok = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
        if (!ok) {
            byte = u;
            return true;
        }
        i += n - 1;
    }
    return false;
}

} // namespace

Sheet readSheet(std::string_view csv)
{
    Sheet sheet;
    if (const std::string encoding = wideEncoding(csv); !encoding.empty()) {
        sheet.problems.push_back("the sheet is " + encoding + " text; save it as CSV in UTF-8 (or plain ASCII)");
        return sheet;
    }
    if (csv.starts_with("\xEF\xBB\xBF")) csv.remove_prefix(3);   // the byte-order mark some exporters write
    unsigned char byte = 0;
    int byteRow = 0;
    if (firstNonUtf8(csv, byte, byteRow)) {
        static constexpr char hex[] = "0123456789abcdef";
        sheet.encodingNote = std::string("the sheet is not UTF-8 text (row ") + std::to_string(byteRow) +
                             " holds the byte \\x" + hex[byte >> 4] + hex[byte & 0xf] +
                             "; Latin-1 or a Windows code page?): such bytes are shown as \\xhh; save it as CSV UTF-8";
    }
    const std::string_view firstLine = csv.substr(0, csv.find_first_of("\r\n"));
    const bool semicolons = firstLine.find(';') != std::string_view::npos &&
                            firstLine.find(',') == std::string_view::npos;
    const std::vector<CsvRow> rows = splitRows(csv, semicolons ? ';' : ',');
    if (rows.empty()) {
        sheet.problems.push_back("row 1: the sheet is empty; it needs a header row naming the columns");
        return sheet;
    }

    // The header: which field each column holds (fieldCount for none).
    const std::vector<std::string>& header = rows.front().cells;
    std::vector<int> columnField(header.size(), fieldCount);
    std::array<int, fieldCount> fieldColumn;
    fieldColumn.fill(-1);
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::string name = trimmed(header[c]);
        const auto rule = std::ranges::find_if(fieldRules, [&](const FieldRule& r) {
            return sameName(name, r.name) || sameName(name, r.heading);
        });
        const std::string where = "row 1, column " + columnLetters(c);
        if (rule == fieldRules.end()) {
            if (!name.empty())
                sheet.problems.push_back(where + ": \"" + shownText(name) + "\" is not a column of the geometry file");
            continue;
        }
        const int f = static_cast<int>(rule - fieldRules.begin());
        if (fieldColumn[f] >= 0) {
            sheet.problems.push_back(where + ": " + std::string(rule->name) + " is named twice (also column " +
                                     columnLetters(static_cast<std::size_t>(fieldColumn[f])) + ")");
            continue;
        }
        fieldColumn[f] = static_cast<int>(c);
        columnField[c] = f;
    }
    for (int f = 0; f < fieldCount; ++f) {
        if (fieldRules[f].required && fieldColumn[f] < 0)
            sheet.problems.push_back("row 1: no column named " + std::string(fieldRules[f].name));
    }

    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        if (std::ranges::all_of(row.cells, [](const std::string& s) { return trimmed(s).empty(); }))
            continue;   // a blank row, as spreadsheets leave at the end
        const std::string rowText = "row " + std::to_string(row.number);
        for (std::size_t c = header.size(); c < row.cells.size(); ++c) {
            const std::string text = trimmed(row.cells[c]);
            if (!text.empty())
                sheet.problems.push_back(rowText + ", column " + columnLetters(c) + ": \"" + shownText(text) +
                                         "\" stands beyond the named columns");
        }
        ElementRow element;
        for (int f = 0; f < fieldCount; ++f) {
            const FieldRule& rule = fieldRules[f];
            const int c = fieldColumn[f];
            if (c < 0 || f == totalDepth) continue;
            const auto column = static_cast<std::size_t>(c);
            const std::string where =
                rowText + ", column " + columnLetters(column) + " (" + std::string(rule.name) + ")";
            const std::string text = column < row.cells.size() ? trimmed(row.cells[column]) : "";
            if (text.empty()) {
                if (rule.required) sheet.problems.push_back(where + ": the cell is empty");
                continue;   // an empty stiffener cell is no stiffener
            }
            const Parsed parsed = parseNumber(text, semicolons);
            const std::string shown = "\"" + shownText(text) + "\"";
            const std::string allowed = "; allowed: " + allowedText(rule);
            if (parsed.outOfRange) {
                sheet.problems.push_back(where + ": " + shown + " is out of range" + allowed);
                continue;
            }
            if (!parsed.ok) {
                sheet.problems.push_back(where + ": " + shown + " is not a number");
                continue;
            }
            if (rule.whole && parsed.value != std::trunc(parsed.value)) {
                sheet.problems.push_back(where + ": " + shownText(text) + " is not a whole number");
                continue;
            }
            const double held = roundedToField(parsed.value, rule.descriptor);
            if (held < rule.smallest || held > rule.largest) {
                sheet.problems.push_back(where + ": " + shownText(text) + " is outside " + allowedText(rule));
                continue;
            }
            element.values[static_cast<std::size_t>(f)] = held;
        }
        sheet.elements.push_back(element);
    }
    if (sheet.elements.empty() && rows.size() >= 1)
        sheet.problems.push_back("the sheet has no element rows below its header");
    if (sheet.elements.size() > maxElements)
        sheet.problems.push_back(std::to_string(sheet.elements.size()) + " element rows, more than the " +
                                 std::to_string(maxElements) + " a section may hold");
    return sheet;
}

std::vector<std::string> geometryFileProblems(std::string_view title, double headerValue)
{
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < title.size(); ++i) {
        const auto u = static_cast<unsigned char>(title[i]);
        if (u < 0x20 || u == 0x7f) {
            // A line feed would split the title record, an escape sequence soil every screen showing it.
            problems.push_back("--title \"" + shownText(title) + "\" holds a control byte at character " +
                               std::to_string(i + 1) + "; the title is one line of text");
            break;
        }
    }
    if (!(headerValue >= smallestHeaderValue && headerValue <= largestHeaderValue)) {
        char text[64];
        std::snprintf(text, sizeof text, "%g", headerValue);
        problems.push_back(std::string("--header-value ") + text + " is out of range; allowed: -9999999 to 99999992");
    }
    return problems;
}

std::string geometryFileText(std::string_view title, double headerValue, const std::vector<ElementRow>& elements,
                             std::vector<std::string>& problems)
{
    double smallestX = 0, largestX = 0, smallestY = 0, largestY = 0;
    if (!elements.empty()) {
        std::vector<double> xs, ys;
        for (const ElementRow& e : elements) {
            xs.push_back(e.values[x]);
            ys.push_back(e.values[y]);
        }
        rangeOfValues(xs.data(), static_cast<int>(xs.size()), smallestX, largestX);
        rangeOfValues(ys.data(), static_cast<int>(ys.size()), smallestY, largestY);
    }
    std::string headings;
    for (const FieldRule& rule : fieldRules) {
        // Each heading right-aligned over its field, as in the shipped examples.
        const std::size_t width =
            rule.descriptor[0] == 'I' ? 2 : std::stoul(std::string(rule.descriptor.substr(1)));
        const std::size_t lead = width - std::min(width, rule.heading.size() + 1);
        headings += std::string(lead, ' ') + " " + std::string(rule.heading);
    }

    // Each numeric record formatted as the calculator reads it, and checked for a field that
    // could not hold its value (asterisks) before anything is written.
    std::string text;
    const auto record = [&](std::size_t width, std::string_view format, std::initializer_list<WriteItem> items,
                            const std::string& what) {
        FixedText line(width);
        formatToText(line, format, items);
        if (line.view().find('*') != std::string_view::npos)
            problems.push_back(what + ": a value does not fit its field (\"" + std::string(line.trimmed()) + "\")");
        text += std::string(line.trimmed()) + "\r\n";
    };
    // The title as given, cut to the 80 characters the calculator reads; the headings whole.
    text += std::string(title.substr(0, 80)) + "\r\n";
    record(30, "(3F10.1)", {headerValue, largestX - smallestX, largestY - smallestY},
           "record 2 (header value, breadth, depth)");
    record(4, "(I4)", {static_cast<std::int32_t>(elements.size())}, "record 3 (element count)");
    text += headings + "\r\n";
    int n = 0;
    for (const ElementRow& e : elements) {
        const auto& v = e.values;
        ++n;
        record(82, "(7F7.1,F3.0,2F4.2,2F9.1,2I2)",
               {v[frameSpacing], v[plateWidth], v[plateThickness], v[flangeWidth], v[flangeThickness], v[webHeight],
                v[webThickness], v[propertySet], v[spareGeometryValue], 0.0, v[x], v[y],
                static_cast<std::int32_t>(v[orientation]), static_cast<std::int32_t>(v[elementKind])},
               "element " + std::to_string(n));
    }
    return text;
}

bool writeGeometryFile(const std::string& fileName, const std::string& text, std::string& reason)
{
    return replaceFile(fileName, text, &reason);
}

} // namespace tarnova::csvtogeo
