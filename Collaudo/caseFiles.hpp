#pragma once
// The case an assessment works on: its options, geometry and properties read through the record
// layer, and the damaged cases written beside it as complete case folders and run with their files.

#include "Calcrun.hpp"

#include <stdexcept>
#include <string>
#include <vector>

namespace tarnova::collaudo {

// Input that cannot be used (file and record named); the program shows it and ends with status 1.
struct CaseInputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CaseInput {
    std::string directory;   // as given, "" for the current one
    std::string name;        // case name (stem of CASE.ana)
    SectionInput section;
    std::vector<CaseOptionsInput> studies;
    // The geometry file's lines as read: a damaged case keeps the records of the elements it
    // keeps byte for byte.
    std::vector<std::string> geometryLines;
    std::string propertiesText;
};

// `path` names any file of the case (CASE.ana). Throws CaseInputError.
CaseInput readCaseInput(const std::string& path);

// The files of a case holding only the elements not in `removed` (0-based, ascending) and the
// case studies `studies`: the .geo keeps the title, header and headings and the kept records,
// with the element count line rewritten; the .pro is copied.
struct CaseFileTexts {
    std::string options, geometry, properties;
};
CaseFileTexts damagedCaseTexts(const CaseInput& input, const std::vector<int>& removed,
                               const std::vector<CaseOptionsInput>& studies);

// Writes the three files into `folder` (created when missing) through replaceFile, then runs every
// case study there as the calculator does, leaving its report, results files, curve files, AT.T
// and lixo.tmp. Returns each case study's result. Throws CaseInputError when a file cannot be
// written, CaseStudyStopped or RecordError from the run.
std::vector<CaseStudyResult> writeAndRunCase(const std::string& folder, const std::string& caseName,
                                             const CaseFileTexts& texts);

} // namespace tarnova::collaudo
