#pragma once
// Collaudo's files of a case, read when they are there: the interaction curve (CASE_interaction.csv)
// and the design moments of the intact check (CASE_check.csv). Flexura draws them; a file that is
// missing or cannot be read leaves its part empty.

#include "caseData.hpp"

#include <string>
#include <string_view>

namespace tarnova::flexura {

AssessmentInputs readAssessment(std::string_view caseName);
// The same from the files' texts (for the tests).
AssessmentInputs parseAssessment(std::string_view interactionCsv, std::string_view checkCsv);

} // namespace tarnova::flexura
