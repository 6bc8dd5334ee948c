#pragma once
// The run driver of the collapse calculator: the file checks, the report head and the loop over
// the case studies of the options file, with the progress panel.

#include <string_view>

namespace tarnova {

// Unit numbers of the calculator's files.
inline constexpr int optionsUnit = 21;
inline constexpr int geometryUnit = 2;
inline constexpr int propertiesUnit = 3;
inline constexpr int reportUnit = 22;
inline constexpr int traceUnit = 24;
inline constexpr int curveUnit = 25;
inline constexpr int caseResultsUnit = 5;

// Runs every case study of the case (trimmed caseName, in the current directory). Returns the
// exit status the run deserves: 0 when the case studies ran, 1 when an input file was empty (its
// message has been shown and acknowledged; no case study ran).
int runCases(std::string_view caseName, int paneWidth, int paneHeight);

} // namespace tarnova
