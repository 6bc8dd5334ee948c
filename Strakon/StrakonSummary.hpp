#pragma once
// The table a headless run ends with on standard output: per case study its letter, its options
// in short, the plastic and ultimate bending moments and their ratio, as the report states them.

#include <istream>
#include <string>

namespace tarnova {

// The summary of a complete or partial report ("CASE.rst"); a heading and one row per case study
// with an ultimate moment. Empty when the report holds none.
std::string runSummary(std::istream& report, const std::string& reportName);

} // namespace tarnova
