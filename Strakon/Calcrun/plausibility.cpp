// Plausibility of the case files: the table of ranges, the readers of the three files, and the
// rules that tie fields together (property sets, corrosion, element counts, depth).

#include "plausibility.hpp"

#include "Engine.hpp"
#include "Utilitar.hpp"
#include "inputFile.hpp"
#include "records/FieldRead.hpp"
#include "records/Records.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>

namespace tarnova::calcrun {

namespace {

// Positions in the table of ranges.
enum RangeIndex {
    frameSpacingRange,
    plateWidthRange,
    plateThicknessRange,
    flangeWidthRange,
    flangeThicknessRange,
    webHeightRange,
    webThicknessRange,
    xRange,
    yRange,
    depthRange,
    yieldStressRange,
    modulusRange,
    tensionBlockRange,
    heelRange,
    distortionRange,
    spareOptionRange,
    headerValueRange,
    spareValueRange,
};

// The ranges. Each is the intersection of what the calculation carries (no product or sum leaves
// single precision, largest 3.4E38) and what every field that echoes the value prints: the trace
// lixo.tmp, the tripping table AT.T, the case results and report files and the element curve
// files, so a value inside its range never prints as asterisks. Each is far wider than ships need.
const std::vector<PlausibleRange> rangeTable = {
    // Transverse frames and web frames stand 0.3 to 6 m apart; 20 m is beyond any ship. The trace
    // echoes it with F7.1; at 0.1 mm the tripping table's stiffness terms (squares of pi over the
    // spacing) outgrow its F8.3 fields, so the spacing starts at 10 mm.
    {"frame spacing", 10.0f, 20000.0f, false, "mm"},
    // Plate strips between stiffeners are 0.3 to 1.5 m wide; a hard corner strip a few metres.
    // F7.1 in the trace; from 10 mm for the same reason as the frame spacing.
    {"plate width", 10.0f, 20000.0f, false, "mm"},
    // Hull plating is 5 to 100 mm thick; a plate without thickness carries nothing and divides
    // its slenderness by zero. F7.1 in the trace.
    {"plate thickness", 0.0f, 500.0f, true, "mm"},
    // Flanges of longitudinals and girders: up to about 1 m wide, 100 mm thick (F7.1).
    {"flange width", 0.0f, 5000.0f, false, "mm"},
    {"flange thickness", 0.0f, 500.0f, false, "mm"},
    // Webs of longitudinals and of double-bottom girders: up to about 3 m high, 100 mm thick. The
    // trace echoes web height plus plate and flange thickness as the element's depth with F6.1
    // (at most 9999.9): 8000 leaves room for both thicknesses at their largest.
    {"web height", 0.0f, 8000.0f, false, "mm"},
    {"web thickness", 0.0f, 500.0f, false, "mm"},
    // Positions from any origin of a hull of up to 99 m breadth and depth (F9.1 in every echo).
    {"x", -99000.0f, 99000.0f, false, "mm"},
    {"y", -99000.0f, 99000.0f, false, "mm"},
    // Largest y less smallest y: the plastic neutral axis is written with F6.0 (at most 99999).
    {"section depth", 0.0f, 99000.0f, true, "mm"},
    // Structural steels yield at 235 to 1100 N/mm2, aluminium alloys at 100 to 400 (F10.1).
    {"yield stress", 1.0f, 2000.0f, false, "N/mm2"},
    // Steel 206000 N/mm2, aluminium 70000, fibre-reinforced plastics from about 7000 (F10.1).
    {"Young's modulus", 1000.0f, 1000000.0f, false, "N/mm2"},
    // Tension blocks are 3 to 6 plate thicknesses wide; the report echoes the width with F4.1.
    {"tension block width", 0.0f, 20.0f, false, "plate thicknesses"},
    // Any angle: engineers sweep 0 to 360 degrees for interaction curves. The trace echoes the
    // heel with F5.1, which holds -99.9 to 999.9.
    {"angle of heel", -99.9f, 999.9f, false, "degrees"},
    // Initial distortion coefficients are 0.0005 to 0.3; the trace echoes it with F5.4 (".9999").
    {"initial distortion coefficient", 0.0f, 0.9999f, false, ""},
    // Unused by the calculation; the trace echoes it with F4.0 ("999.", "-99.").
    {"spare option", -99.0f, 999.0f, false, ""},
    // The three header values (the first, breadth and depth) are unused by the calculation; the
    // trace echoes them with F10.1: the largest single-precision values it prints.
    {"header value", -9999999.0f, 99999992.0f, false, ""},
    // Unused by the calculation; the trace echoes it with F4.2 ("9.99", "-.99").
    {"spare value", -0.99f, 9.99f, false, ""},
};

// The plate slenderness b/t times the root of yield stress over Young's modulus: the trace
// echoes it with F5.2.
constexpr float largestSlenderness = 99.99f;

constexpr int firstElementRecord = 5;

// The shortest decimal that reads back as `v`, without an exponent for any value a field of the
// case files can hold ("1000001", "0.9999", "-99.9"); with one beyond 1E15.
std::string numberText(float v)
{
    char buffer[64];
    const bool plain = std::fabs(v) < 1e15f;
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v,
                                   plain ? std::chars_format::fixed : std::chars_format::general);
    return std::string(buffer, end.ptr);
}

std::string allowedText(const PlausibleRange& r)
{
    std::string text = r.aboveLowest ? "above " + numberText(r.lowest) + " up to " : numberText(r.lowest) + " to ";
    text += numberText(r.highest);
    if (*r.unit != '\0') text += std::string(" ") + r.unit;
    return text;
}

// The rule of one range, for a field of a file and a value in memory alike: nothing when `v` is
// inside, else what is wrong ("flange width 1e+20 of element 3 is too large").
std::optional<std::string> outsideRange(const PlausibleRange& r, float v, const std::string& owner)
{
    // Checked before any text is made: every value of every run comes through here.
    const bool finite = std::isfinite(v);
    const bool low = r.aboveLowest ? !(v > r.lowest) : !(v >= r.lowest);
    if (finite && !low && !(v > r.highest)) return std::nullopt;
    const std::string value = std::string(r.quantity) + " " + numberText(v) + owner;
    if (!finite) return value + " is not a finite number";
    return value + (low ? " is too small" : " is too large");
}

// The plate slenderness the calculation derives (width over the thickness left after the
// corrosion allowance, times the root of yield stress over Young's modulus); nothing when it
// cannot be formed.
std::optional<float> plateSlenderness(float width, float thickness, float corrosion, const MaterialRecord& m)
{
    const float t = thickness - corrosion;
    if (!(t > 0.0f) || !(m.youngsModulus > 0.0f) || !(m.yieldStress >= 0.0f)) return std::nullopt;
    return width / t * std::sqrt(m.yieldStress / m.youngsModulus);
}

std::string slendernessText(float beta, const std::string& owner, int set)
{
    return "the plate slenderness " + numberText(beta) + owner +
           " (width over thickness times the root of yield stress over modulus, property set " + std::to_string(set) +
           ") is too large";
}

// Both values of a property set inside their ranges: only then is a slenderness judged.
bool materialInside(const MaterialRecord& m)
{
    return !outsideRange(rangeTable[yieldStressRange], m.yieldStress, "") &&
           !outsideRange(rangeTable[modulusRange], m.youngsModulus, "");
}

bool wholeSetNumber(float set) { return set >= 1.0f && set <= 5.0f && set == std::trunc(set); }

// The records of a file by the record layer's rule: a record ends at CR, LF or a CR LF pair; a
// last record without its end still counts. Nothing when the file cannot be read.
std::optional<std::vector<std::string>> fileRecords(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    std::vector<std::string> records;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string::npos) {
            records.push_back(bytes.substr(i));
            break;
        }
        records.push_back(bytes.substr(i, end - i));
        i = end + 1;
        if (bytes[end] == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
    }
    return records;
}

// One field of a record: the characters in its columns that the record holds.
struct Field {
    int first, last;
    std::string_view text;
};

Field fieldOf(std::string_view record, int first, int last)
{
    const auto from = static_cast<std::size_t>(first - 1);
    const std::string_view text =
        from < record.size() ? record.substr(from, static_cast<std::size_t>(last - first + 1)) : std::string_view{};
    return {first, last, text};
}

// Reads and checks the fields of one record.
class RecordCheck {
public:
    RecordCheck(InputCheck& check, const std::string& file, long record, std::string_view text, std::string owner)
        : check_(check), file_(file), record_(record), text_(text), owner_(std::move(owner))
    {
    }

    InputProblem problem(const Field& f, std::string what, std::string allowed, bool classic = false) const
    {
        return {file_, record_, f.first, f.last, std::string(f.text), std::move(what), std::move(allowed), classic};
    }

    // A real field with `fraction` implied decimals (descriptor text for the message).
    std::optional<float> real(int first, int last, int fraction, const char* name, const char* descriptor)
    {
        const Field f = fieldOf(text_, first, last);
        float v = 0.0f;
        switch (records::readReal(f.text, fraction, v)) {
        case records::FieldStatus::ok: return v;
        case records::FieldStatus::badCharacter:
            check_.report(problem(f, std::string(name) + owner_ + " is not a number", std::string("a number of the form ") + descriptor, true));
            return std::nullopt;
        case records::FieldStatus::outOfRange:
            check_.report(problem(f, std::string(name) + owner_ + " is out of range (beyond the largest real, 3.4E38)",
                                  "a finite number", true));
            return std::nullopt;
        }
        return std::nullopt;
    }

    std::optional<std::int32_t> integer(int first, int last, const char* name, const char* descriptor)
    {
        const Field f = fieldOf(text_, first, last);
        std::int32_t v = 0;
        if (records::readInteger(f.text, v) == records::FieldStatus::ok) return v;
        check_.report(problem(f, std::string(name) + owner_ + " is not a whole number",
                              std::string("a whole number of the form ") + descriptor, true));
        return std::nullopt;
    }

    // A real field held to a range of the table; the value when it is inside.
    std::optional<float> ranged(int first, int last, int fraction, const char* descriptor, RangeIndex index,
                                const char* name = nullptr)
    {
        PlausibleRange r = rangeTable[static_cast<std::size_t>(index)];
        if (name != nullptr) r.quantity = name;
        const std::optional<float> v = real(first, last, fraction, r.quantity, descriptor);
        if (!v) return v;
        if (std::optional<std::string> what = outsideRange(r, *v, owner_)) {
            check_.report(problem(fieldOf(text_, first, last), std::move(*what), allowedText(r)));
            return std::nullopt;
        }
        return v;
    }

    void report(InputProblem p) { check_.report(std::move(p)); }

private:
    InputCheck& check_;
    const std::string& file_;
    long record_;
    std::string_view text_;
    std::string owner_;   // " of element 3", or nothing
};

// The records of an input file (read at `path`), or the problem that it has none.
std::optional<std::vector<std::string>> inputRecords(InputCheck& check, const std::string& name,
                                                     const std::string& path)
{
    // A directory, device, FIFO or socket is refused before it is opened (a FIFO would wait for a
    // writer, /dev/zero never end), and so is a file beyond the size limit.
    if (const std::string refusal = inputFileRefusal(path); !refusal.empty()) {
        check.report({name, 0, 0, 0, {}, name + " " + refusal, "a regular file of records"});
        return std::nullopt;
    }
    const char* what = nullptr;
    std::optional<std::vector<std::string>> records;
    if (!(records = fileRecords(path))) {
        what = "is not found or cannot be read";
    } else if (records->empty()) {
        what = "is an empty file";
    }
    if (what == nullptr) return records;
    check.report({name, 0, 0, 0, {}, name + " " + what, "a file of records", true});
    return std::nullopt;
}

} // namespace

const std::vector<PlausibleRange>& plausibleRanges() { return rangeTable; }

std::string InputProblem::text() const
{
    std::string t = escapeControlBytes(file);
    if (record > 0) t += ", record " + std::to_string(record);
    if (firstColumn > 0) t += ", columns " + std::to_string(firstColumn) + "-" + std::to_string(lastColumn);
    if (!t.empty()) t += ": ";
    t += escapeControlBytes(what, false);
    if (firstColumn > 0) t += " (field \"" + escapeControlBytes(field) + "\")";
    if (!allowed.empty()) t += "; allowed: " + allowed;
    return t;
}

void InputCheck::report(InputProblem problem)
{
    if (mode_ == Mode::stopAtFirst) {
        if (!problem.classic) throw CaseStudyStopped(problem.text());
        return;
    }
    problems_.push_back(std::move(problem));
}

CorrosionCase checkOptionsFile(InputCheck& check, std::string_view caseName)
{
    const std::string file = std::string(caseName) + ".ana";
    const auto records = inputRecords(check, file, file);
    CorrosionCase largest;
    if (!records) return largest;
    RecordCheck head(check, file, 1, (*records)[0], "");
    const std::int32_t caseCount = head.integer(1, 2, "case count", "I2").value_or(0);
    for (int k = 1; k <= caseCount; ++k) {
        const auto index = static_cast<std::size_t>(k);
        if (index >= records->size()) {
            check.report({file, k + 1, 0, 0, {},
                          "the option record of case study " + std::to_string(k) + " is missing",
                          std::to_string(caseCount) + " option records after the case count", true});
            break;
        }
        RecordCheck r(check, file, k + 1, (*records)[index], " of case study " + std::to_string(k));
        r.integer(1, 2, "behaviour code", "I2");
        r.integer(3, 4, "shedding code", "I2");
        const std::optional<std::int32_t> corrosion = r.integer(5, 6, "corrosion code", "I2");
        r.ranged(7, 11, 2, "F5.2", tensionBlockRange);
        r.ranged(12, 16, 1, "F5.1", heelRange);
        r.ranged(17, 21, 4, "F5.4", distortionRange);
        r.ranged(22, 25, 0, "F4.0", spareOptionRange);
        if (corrosion && *corrosion > largest.corrosionCode) largest = {*corrosion, k};
    }
    return largest;
}

void checkSectionFiles(InputCheck& check, std::string_view caseName, int corrosionCode, int caseStudy,
                       const RecordUnits* units)
{
    const auto pathOf = [units](const std::string& name) { return units ? units->pathOf(name) : name; };
    const std::string geometryFile = std::string(caseName) + ".geo";
    const std::string propertiesFile = std::string(caseName) + ".pro";
    const auto geometry = inputRecords(check, geometryFile, pathOf(geometryFile));
    if (!geometry) return;
    const auto recordText = [&](long record) -> std::string_view {
        const auto index = static_cast<std::size_t>(record - 1);
        return index < geometry->size() ? std::string_view((*geometry)[index]) : std::string_view{};
    };
    {
        RecordCheck head(check, geometryFile, 2, recordText(2), "");
        head.ranged(1, 10, 1, "F10.1", headerValueRange, "first header value");
        head.ranged(11, 20, 1, "F10.1", headerValueRange, "breadth (header value)");
        head.ranged(21, 30, 1, "F10.1", headerValueRange, "depth (header value)");
    }
    RecordCheck countRecord(check, geometryFile, 3, recordText(3), "");
    const std::optional<std::int32_t> declared = countRecord.integer(1, 4, "element count", "I4");

    const long count = std::max<long>(0, static_cast<long>(geometry->size()) - (firstElementRecord - 1));
    // The run meets a count that differs at its own stop ("declares N element records and holds
    // M"); the records beyond the declared count (an empty line at the end is an all-zero record)
    // are not held to the ranges, so that this stop, not a zero frame spacing, says what is wrong.
    if (declared && *declared != count) {
        check.report({geometryFile, 3, 1, 4, std::string(fieldOf(recordText(3), 1, 4).text),
                      geometryFile + " declares " + std::to_string(*declared) + " element records and holds " +
                          std::to_string(count) + " (an empty line at the end counts as one)",
                      "the number of element records", true});
    }
    if (count > maxElements) {
        check.report({geometryFile, maxElements + firstElementRecord, 0, 0, {},
                      std::to_string(count) + " element records, more than the " + std::to_string(maxElements) +
                          " a section may hold",
                      "1 to " + std::to_string(maxElements) + " element records"});
    }
    if (count == 0) {
        check.report({geometryFile, 3, 0, 0, {}, "the section has no element records",
                      "1 to " + std::to_string(maxElements) + " element records"});
    }

    const float corrosion = corrosionCode >= 1 ? static_cast<float>(corrosionCode) / 2.0f : 0.0f;
    bool used[materialSetCount] = {};
    int setCount = 1;
    std::optional<float> lowestY, highestY;
    bool everyYRead = true;   // the depth is known only when every y is
    long lowestRecord = 0, highestRecord = 0;
    struct Plate {
        long record;
        float width, thickness;
        int set;
    };
    std::vector<Plate> plates;   // for the slenderness, once the property sets are read
    long checked = std::min<long>(count, maxElements);
    if (declared && *declared >= 0 && *declared < checked) checked = *declared;
    for (long n = 1; n <= checked; ++n) {
        const long record = n + firstElementRecord - 1;
        RecordCheck r(check, geometryFile, record, recordText(record), " of element " + std::to_string(n));
        r.ranged(1, 7, 1, "F7.1", frameSpacingRange);
        const std::optional<float> width = r.ranged(8, 14, 1, "F7.1", plateWidthRange);
        const std::optional<float> thickness = r.ranged(15, 21, 1, "F7.1", plateThicknessRange);
        if (thickness && corrosion > 0.0f && !(*thickness - corrosion > 0.0f)) {
            r.report(r.problem(fieldOf(recordText(record), 15, 21),
                               "plate thickness " + numberText(*thickness) + " of element " + std::to_string(n) +
                                   " less the corrosion allowance " + numberText(corrosion) + " mm of case study " +
                                   std::to_string(caseStudy) + " (" + std::string(caseName) + ".ana, record " +
                                   std::to_string(caseStudy + 1) + ") leaves no plate",
                               "above " + numberText(corrosion) + " mm"));
        }
        r.ranged(22, 28, 1, "F7.1", flangeWidthRange);
        r.ranged(29, 35, 1, "F7.1", flangeThicknessRange);
        r.ranged(36, 42, 1, "F7.1", webHeightRange);
        r.ranged(43, 49, 1, "F7.1", webThicknessRange);
        if (const std::optional<float> set = r.real(50, 52, 0, "property set", "F3.0")) {
            if (!wholeSetNumber(*set)) {
                r.report(r.problem(fieldOf(recordText(record), 50, 52),
                                   "property set " + numberText(*set) + " of element " + std::to_string(n) +
                                       " is not a whole number from 1 to 5",
                                   "1, 2, 3, 4 or 5"));
            } else {
                const int k = static_cast<int>(*set);
                used[k - 1] = true;
                setCount = std::max(setCount, k);
                if (width && thickness) plates.push_back({record, *width, *thickness, k});
            }
        }
        r.ranged(53, 56, 2, "F4.2", spareValueRange);
        r.real(57, 60, 2, "total depth", "F4.2");
        r.ranged(61, 69, 1, "F9.1", xRange);
        if (const std::optional<float> y = r.ranged(70, 78, 1, "F9.1", yRange)) {
            if (!lowestY || *y < *lowestY) lowestY = *y, lowestRecord = record;
            if (!highestY || *y > *highestY) highestY = *y, highestRecord = record;
        } else {
            everyYRead = false;
        }
        r.integer(79, 80, "orientation", "I2");
        r.integer(81, 82, "element kind", "I2");
    }
    if (lowestY && highestY && everyYRead) {
        const PlausibleRange& depth = rangeTable[depthRange];
        const float extent = *highestY - *lowestY;
        if (!(extent > depth.lowest) || extent > depth.highest) {
            check.report({geometryFile, highestRecord, 70, 78, std::string(fieldOf(recordText(highestRecord), 70, 78).text),
                          extent > depth.lowest
                              ? "the section depth " + numberText(extent) + " (largest y, less the smallest y of record " +
                                    std::to_string(lowestRecord) + ") is too large"
                              : std::string("all elements stand at the same height; the section has no depth"),
                          allowedText(depth)});
        }
    }

    const auto properties = inputRecords(check, propertiesFile, pathOf(propertiesFile));
    if (!properties) return;
    for (int k = 1; k <= setCount; ++k) {
        const auto index = static_cast<std::size_t>(k - 1);
        if (index >= properties->size()) {
            check.report({propertiesFile, k, 0, 0, {},
                          "the record of property set " + std::to_string(k) + " is missing",
                          "a record for each of the sets 1 to " + std::to_string(setCount) +
                              " (the largest set an element names)",
                          true});
            break;
        }
        RecordCheck r(check, propertiesFile, k, (*properties)[index], " of property set " + std::to_string(k));
        // A set that no element names is zeroed after its trace; 0 marks it as unused.
        const auto field = [&](int first, int last, RangeIndex range) {
            const Field f = fieldOf((*properties)[index], first, last);
            float v = 0.0f;
            if (!used[k - 1] && records::readReal(f.text, 1, v) == records::FieldStatus::ok && v == 0.0f) return;
            r.ranged(first, last, 1, "F10.1", range);
        };
        field(1, 10, yieldStressRange);
        field(11, 20, modulusRange);
    }
    // The slenderness of each plate with the materials read, for the largest corrosion allowance.
    std::vector<std::optional<MaterialRecord>> materials(static_cast<std::size_t>(setCount));
    for (int k = 1; k <= setCount && static_cast<std::size_t>(k) <= properties->size(); ++k) {
        const Field yield = fieldOf((*properties)[static_cast<std::size_t>(k - 1)], 1, 10);
        const Field modulus = fieldOf((*properties)[static_cast<std::size_t>(k - 1)], 11, 20);
        MaterialRecord m;
        if (records::readReal(yield.text, 1, m.yieldStress) == records::FieldStatus::ok &&
            records::readReal(modulus.text, 1, m.youngsModulus) == records::FieldStatus::ok && materialInside(m))
            materials[static_cast<std::size_t>(k - 1)] = m;
    }
    for (const Plate& p : plates) {
        const std::optional<MaterialRecord>& m = materials[static_cast<std::size_t>(p.set - 1)];
        if (!m) continue;
        const std::optional<float> beta = plateSlenderness(p.width, p.thickness, corrosion, *m);
        if (beta && *beta > largestSlenderness) {
            const long n = p.record - firstElementRecord + 1;
            check.report({geometryFile, p.record, 8, 14, std::string(fieldOf(recordText(p.record), 8, 14).text),
                          slendernessText(*beta, " of element " + std::to_string(n), p.set),
                          "up to " + numberText(largestSlenderness)});
        }
    }
}

void checkCaseFiles(InputCheck& check, std::string_view caseName)
{
    const CorrosionCase corrosion = checkOptionsFile(check, caseName);
    checkSectionFiles(check, caseName, corrosion.corrosionCode, corrosion.caseStudy);
}

void checkCaseInput(InputCheck& check, const SectionInput& section, const CaseOptionsInput& options, int caseStudy)
{
    const auto report = [&](std::string what, std::string allowed) {
        check.report({{}, 0, 0, 0, {}, std::move(what), std::move(allowed)});
    };
    // A value held to a range of the table; false when it is outside.
    const auto ranged = [&](float v, RangeIndex index, const std::string& owner) {
        const PlausibleRange& r = rangeTable[static_cast<std::size_t>(index)];
        std::optional<std::string> what = outsideRange(r, v, owner);
        if (what) report(std::move(*what), allowedText(r));
        return !what;
    };

    const std::string study = " of case study " + std::to_string(caseStudy);
    ranged(options.tensionBlockWidth, tensionBlockRange, study);
    ranged(options.heelAngle, heelRange, study);
    ranged(options.distortionCoefficient, distortionRange, study);
    ranged(options.spareOption, spareOptionRange, study);
    ranged(section.firstHeaderValue, headerValueRange, " (the first header value)");
    ranged(section.breadth, headerValueRange, " (the breadth header value)");
    ranged(section.depth, headerValueRange, " (the depth header value)");

    const long count = static_cast<long>(section.elements.size());
    const std::string elementsAllowed = "1 to " + std::to_string(maxElements) + " elements";
    if (count > maxElements) {
        report(std::to_string(count) + " elements, more than the " + std::to_string(maxElements) +
                   " a section may hold",
               elementsAllowed);
    }
    if (count == 0) report("the section has no elements", elementsAllowed);

    const float corrosion = options.corrosionCode >= 1 ? static_cast<float>(options.corrosionCode) / 2.0f : 0.0f;
    bool used[materialSetCount] = {};
    int setCount = 1;
    bool everyYInside = true;
    long lowest = 0, highest = 0;
    for (long n = 1; n <= std::min<long>(count, maxElements); ++n) {
        const ElementRecord& e = section.elements[static_cast<std::size_t>(n - 1)];
        const std::string owner = " of element " + std::to_string(n);
        ranged(e.frameSpacing, frameSpacingRange, owner);
        ranged(e.plateWidth, plateWidthRange, owner);
        if (ranged(e.plateThickness, plateThicknessRange, owner) && corrosion > 0.0f &&
            !(e.plateThickness - corrosion > 0.0f)) {
            report("plate thickness " + numberText(e.plateThickness) + owner + " less the corrosion allowance " +
                       numberText(corrosion) + " mm" + study + " leaves no plate",
                   "above " + numberText(corrosion) + " mm");
        }
        ranged(e.flangeWidth, flangeWidthRange, owner);
        ranged(e.flangeThickness, flangeThicknessRange, owner);
        ranged(e.webHeight, webHeightRange, owner);
        ranged(e.webThickness, webThicknessRange, owner);
        ranged(e.spareGeometryValue, spareValueRange, owner);
        if (!wholeSetNumber(e.propertySet)) {
            report("property set " + numberText(e.propertySet) + owner + " is not a whole number from 1 to 5",
                   "1, 2, 3, 4 or 5");
        } else {
            const int k = static_cast<int>(e.propertySet);
            used[k - 1] = true;
            setCount = std::max(setCount, k);
        }
        ranged(e.x, xRange, owner);
        if (ranged(e.y, yRange, owner)) {
            const auto y = [&](long m) { return section.elements[static_cast<std::size_t>(m - 1)].y; };
            if (lowest == 0 || e.y < y(lowest)) lowest = n;
            if (highest == 0 || e.y > y(highest)) highest = n;
        } else {
            everyYInside = false;
        }
    }
    if (everyYInside && lowest > 0) {
        const PlausibleRange& depth = rangeTable[depthRange];
        const float extent = section.elements[static_cast<std::size_t>(highest - 1)].y -
                             section.elements[static_cast<std::size_t>(lowest - 1)].y;
        if (!(extent > depth.lowest) || extent > depth.highest) {
            report(extent > depth.lowest ? "the section depth " + numberText(extent) + " (y of element " +
                                               std::to_string(highest) + ", less the y of element " +
                                               std::to_string(lowest) + ") is too large"
                                         : std::string("all elements stand at the same height; the section has no depth"),
                   allowedText(depth));
        }
    }

    for (int k = 1; k <= setCount; ++k) {
        if (static_cast<std::size_t>(k) > section.materials.size()) {
            report("property set " + std::to_string(k) + " is named by an element and the materials hold only " +
                       std::to_string(section.materials.size()),
                   "a yield stress and a Young's modulus for each of the sets 1 to " + std::to_string(setCount));
            break;
        }
        const MaterialRecord& m = section.materials[static_cast<std::size_t>(k - 1)];
        const std::string owner = " of property set " + std::to_string(k);
        // A set that no element names may be left at 0, as in the properties file.
        if (used[k - 1] || m.yieldStress != 0.0f) ranged(m.yieldStress, yieldStressRange, owner);
        if (used[k - 1] || m.youngsModulus != 0.0f) ranged(m.youngsModulus, modulusRange, owner);
    }
    for (long n = 1; n <= std::min<long>(count, maxElements); ++n) {
        const ElementRecord& e = section.elements[static_cast<std::size_t>(n - 1)];
        if (!wholeSetNumber(e.propertySet) || static_cast<std::size_t>(e.propertySet) > section.materials.size())
            continue;
        const int set = static_cast<int>(e.propertySet);
        if (!materialInside(section.materials[static_cast<std::size_t>(set - 1)])) continue;
        const std::optional<float> beta = plateSlenderness(e.plateWidth, e.plateThickness, corrosion,
                                                           section.materials[static_cast<std::size_t>(set - 1)]);
        if (beta && *beta > largestSlenderness)
            report(slendernessText(*beta, " of element " + std::to_string(n), set), "up to " + numberText(largestSlenderness));
    }
}

} // namespace tarnova::calcrun
