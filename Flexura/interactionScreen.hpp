#pragma once
// Screen 3, when Collaudo has assessed the case: the interaction of vertical and horizontal
// bending at Mu over the heel angles (CASE_interaction.csv), with the design moments of each
// condition (CASE_check.csv) on the vertical axis, sagging up and hogging down.

#include "caseData.hpp"

namespace tarnova::flexura {

void drawInteractionScreen(const CaseData& data, int paneWidth, int paneHeight);

} // namespace tarnova::flexura
