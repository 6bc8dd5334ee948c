#pragma once
// Plausibility of the case files: every value of the options, geometry and properties files that
// the calculation uses is held to a range that real ships never leave and that single precision
// computes safely. One table of ranges and one set of readers serve both the run (which stops at
// the first implausible value, before any table is written) and "Strakon --check" (which lists
// every problem of the three files).
//
// The readers take the records by the rules of the record layer (a record ends at CR, LF or CR LF;
// a short record reads as padded with blanks) and convert each field with the record layer's own
// field conversions, so a field means here what it means to the run. They read the files
// directly: nothing is opened through a unit, nothing is created, nothing is written.

#include <string>
#include <string_view>
#include <vector>

namespace tarnova {
class RecordUnits;
struct SectionInput;
struct CaseOptionsInput;
}

namespace tarnova::calcrun {

// One range of the table (plausibility.cpp holds the table and the reason for each range).
struct PlausibleRange {
    const char* quantity;   // "web height"
    float lowest;
    float highest;
    bool aboveLowest;       // the lowest value itself is refused (a thickness must be above 0)
    const char* unit;       // "mm", "N/mm2", "degrees", ... ("" for a ratio)
};

// The ranges, in the order the files hold the values.
const std::vector<PlausibleRange>& plausibleRanges();

// One problem of the case files: where it stands, what the field holds, what is wrong with it and
// what is allowed.
struct InputProblem {
    std::string file;
    long record = 0;             // from 1; 0 for the file as a whole
    int firstColumn = 0;         // from 1; 0 for the record as a whole
    int lastColumn = 0;
    std::string field;           // the text of the field as it stands in the record
    std::string what;            // "web height 1e+20 of element 3 is too large"
    std::string allowed;         // "0 to 10000 mm"
    // A problem that the run meets by its classic stops (a field that is no number, a missing
    // record, element counts that differ): the run leaves it to them, check mode lists it.
    bool classic = false;

    // "CASE.geo, record 7, columns 36-42: web height ... ("   1E20"); allowed: 0 to 10000 mm",
    // control bytes of the field written as \xhh; without a file (a case in memory) only what is
    // wrong and what is allowed.
    std::string text() const;
};

// Collects the problems (check mode) or stops the run at the first one that is not classic.
class InputCheck {
public:
    enum class Mode { stopAtFirst, collectAll };
    explicit InputCheck(Mode mode) : mode_(mode) {}
    // In stopAtFirst mode a problem that is not classic ends the case study: it throws
    // CaseStudyStopped with the problem's text.
    void report(InputProblem problem);
    const std::vector<InputProblem>& problems() const { return problems_; }

private:
    Mode mode_;
    std::vector<InputProblem> problems_;
};

// The option records of "<caseName>.ana" (the case count and one record per case study).
// Returns the largest corrosion code of the records read and the case study that has it (0 when
// none), for the check of the plate thicknesses.
struct CorrosionCase {
    int corrosionCode = 0;
    int caseStudy = 0;
};
CorrosionCase checkOptionsFile(InputCheck& check, std::string_view caseName);

// "<caseName>.geo" and "<caseName>.pro": every element record, the element counts, the property
// sets that the elements name, the depth of the section; plates thinned by the corrosion code of
// the case study given (0 for none). The files are those that `units` would open (in its
// directory), or those of the current directory; problems name them as the case names them.
void checkSectionFiles(InputCheck& check, std::string_view caseName, int corrosionCode, int caseStudy,
                       const RecordUnits* units = nullptr);

// The three files of the case, as a run and check mode see them.
void checkCaseFiles(InputCheck& check, std::string_view caseName);

// A case study given in memory, by the same ranges and rules as its files: each problem names the
// element, property set or case study and the field, and what is allowed.
void checkCaseInput(InputCheck& check, const SectionInput& section, const CaseOptionsInput& options, int caseStudy);

} // namespace tarnova::calcrun
