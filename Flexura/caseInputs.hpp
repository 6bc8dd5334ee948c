#pragma once
// Reading a calculated case: the options file, every case study's element curve file, its case
// results file or the trace, the report and the geometry file. Everything is read and checked
// before anything is written.

#include "caseData.hpp"

#include <string>
#include <string_view>

namespace tarnova::flexura {

struct ReadOutcome {
    bool ok = false;
    std::string failure;    // names the file and what is missing
};

// Reads the case `caseName` from the current directory into `data`. A missing or short file
// gives ok false and the failure; a field that does not convert ends the program with the record
// layer's report (status 2).
ReadOutcome readCase(std::string_view caseName, CaseData& data);

// The steps of study k come from its curve file; its neutral axis from its case results file
// when that file's option echo and step rows are the study's own, else from the trace.
// Both exposed for the tests. Takes the neutral axis of every step from `resultsText` (a case
// results file) when its option echo and step rows are the study's own; false otherwise.
bool axisFromResultsFile(std::string_view resultsText, CaseStudy& study);
// Neutral axis of every step of case study `number` from the trace text; false when a step is
// missing.
bool axisFromTrace(std::string_view traceText, int number, CaseStudy& study);

} // namespace tarnova::flexura
