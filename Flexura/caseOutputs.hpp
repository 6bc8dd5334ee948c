#pragma once
// Every image and table of a case: CASE_mk.png (the chart), CASE_X_map.png (the map of case
// study X at its ultimate step), CASE_mk.csv and CASE_X_elements.csv. Each file is written whole
// or not at all.

#include "caseData.hpp"

#include <string>

namespace tarnova::flexura {

std::string chartImageName(const CaseData& data);
std::string mapImageName(const CaseData& data, const CaseStudy& study);
std::string chartTableName(const CaseData& data);
std::string elementTableName(const CaseData& data, const CaseStudy& study);

// Draws the screens onto the pane and writes every file into the current directory. Returns ""
// when all were written, else the name of the first file that could not be.
std::string writeOutputs(const CaseData& data, int paneWidth, int paneHeight, std::string* reason = nullptr);

} // namespace tarnova::flexura
