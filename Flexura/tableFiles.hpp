#pragma once
// The tables: CSV files (RFC 4180: comma-separated, CR LF line ends, a header row naming the
// units, fields quoted only when they must be). Every value is the text of its field as read,
// with its "." decimal point, so a spreadsheet, pandas or MATLAB reads what the calculator wrote.

#include "caseData.hpp"

#include <string>
#include <string_view>

namespace tarnova::flexura {

// CASE_mk.csv: case study, step, curvature, Mx, My, M, neutral axis x and y; one row per case
// study and step.
std::string momentCurvatureTable(const CaseData& data);
// CASE_X_elements.csv: element, step, strain ratio, stress, state; one row per element and step.
std::string elementTable(const CaseData& data, const CaseStudy& study);

// Writes the text beside the target and renames it over it; false when it cannot be written
// (nothing half-written is left).
bool writeWholeFile(const std::string& fileName, std::string_view text, std::string* reason = nullptr);

// One CSV field: quoted (with doubled quotes) when it holds a comma, a quote or a line end.
void appendField(std::string& out, std::string_view field);

} // namespace tarnova::flexura
