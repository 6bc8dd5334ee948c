#pragma once
// A section's elements as a spreadsheet exports them (CSV, one element per row, the columns named
// in a header row), read and checked cell by cell into element records of the geometry file.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tarnova::csvtogeo {

// The fields of an element record, in the order of its columns.
enum Field {
    frameSpacing, plateWidth, plateThickness, flangeWidth, flangeThickness, webHeight, webThickness,
    propertySet, spareGeometryValue, totalDepth, x, y, orientation, elementKind, fieldCount
};

struct FieldRule {
    std::string_view name;       // the column name in the sheet
    std::string_view heading;    // the short heading of the geometry file's fourth record
    std::string_view descriptor; // its field in the element record
    bool required;               // the column must be there and every cell filled
    bool whole;                  // a whole number
    double smallest, largest;    // the values the field or the program accepts
};
extern const std::array<FieldRule, fieldCount> fieldRules;

struct ElementRow {
    std::array<double, fieldCount> values{};
};

struct Sheet {
    std::vector<ElementRow> elements;
    std::vector<std::string> problems;   // one line per bad cell or header, in sheet order
    // "the sheet is not UTF-8 text (row 3 holds the byte \xe9) ...", or "" for a UTF-8 sheet.
    std::string encodingNote;
};

// Reads the CSV text. Cells are separated by commas, or by semicolons when the header row holds
// semicolons and no commas; a semicolon sheet may write a decimal comma. Cells may be quoted.
// Rows are counted as the spreadsheet counts them: the header is row 1.
Sheet readSheet(std::string_view csv);

// The header value's range: the calculator echoes it with F10.1 in single precision.
inline constexpr double smallestHeaderValue = -9999999.0, largestHeaderValue = 99999992.0;

// What stops the writing before the sheet is formatted: a control byte in the title, a header
// value out of range. One line each; empty when none.
std::vector<std::string> geometryFileProblems(std::string_view title, double headerValue);

// The geometry file's records (title, header values, count, headings, element records, each ended
// by CR LF). The breadth and depth of the second record are the extents of x and y. A record with
// a field that cannot hold its value adds a line to `problems`.
std::string geometryFileText(std::string_view title, double headerValue, const std::vector<ElementRow>& elements,
                             std::vector<std::string>& problems);

// Replaces the file whole (a fresh temporary beside it, renamed over it; a link is replaced, never
// written through). False with the system's reason when it could not be written.
bool writeGeometryFile(const std::string& fileName, const std::string& text, std::string& reason);

} // namespace tarnova::csvtogeo
